// Instance queries of the built-in functions: grid snapping, distances, and finding and counting instances.
#include "world/instance_queries.h"

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

// The nearest multiple of the snap value, halves to even as every rounding of the game does.
double snapped(double coordinate, double snap)
{
    return snap * std::nearbyint(coordinate / snap);
}

// The distance of two spans on one axis: 0 when they overlap.
double gap(double low_a, double high_a, double low_b, double high_b)
{
    if (high_a < low_b)
        return low_b - high_a;
    if (high_b < low_a)
        return high_b - low_a;
    return 0;
}

bool is_id(std::int32_t selector)
{
    return selector >= FIRST_INSTANCE_ID;
}

// Calls visit for every selected instance not marked destroyed, in array order, while it returns true.
template<typename Visit> void for_each_selected(const LiveRoom& room, std::int32_t selector, Visit visit)
{
    if (selector == SELECTOR_ALL) {
        for (int i = 0; i < room.instance_count(); ++i)
            if (CInstance* instance = room.instance(i); !instance->m_destroyed && !visit(*instance))
                return;
    } else if (selector >= 0 && !is_id(selector)) {
        for (int i = 0; i < room.descendants_count(selector); ++i)
            if (CInstance* instance = room.descendant_instance(selector, i);
                !instance->m_destroyed && !visit(*instance))
                return;
    }
}

// The kept instance of a search over positions: better tells whether a squared distance beats the best so far.
template<typename Better>
CInstance* best_selected(const LiveRoom& room, double x, double y, std::int32_t selector, double start, Better better)
{
    CInstance* found = nullptr;
    double best = start;
    for_each_selected(room, selector, [&](CInstance& instance) {
        double dx = instance.x() - x;
        double dy = instance.y() - y;
        double squared = dx * dx + dy * dy;
        if (better(squared, best)) {
            best = squared;
            found = &instance;
        }
        return true;
    });
    return found;
}

} // namespace

CInstance* live_instance(const LiveRoom& room, std::int32_t id)
{
    CInstance* first = room.find_instance(id);
    if (!first || !first->m_destroyed)
        return first;
    for (int i = 0; i < room.instance_count(); ++i)
        if (CInstance* instance = room.instance(i); instance->m_id == id && !instance->m_destroyed)
            return instance;
    return nullptr;
}

void snap_to_grid(CInstance& instance, double hsnap, double vsnap)
{
    double x = hsnap > 0 ? snapped(instance.x(), hsnap) : instance.x();
    double y = vsnap > 0 ? snapped(instance.y(), vsnap) : instance.y();
    instance.set_position(x, y);
}

bool is_on_grid(const CInstance& instance, double hsnap, double vsnap)
{
    auto aligned = [](double coordinate, double snap) {
        return snap <= 0 || std::abs(coordinate - snapped(coordinate, snap)) < 0.001;
    };
    return aligned(instance.x(), hsnap) && aligned(instance.y(), vsnap);
}

void move_towards(CInstance& instance, double x, double y, double speed)
{
    instance.set_hspeed(x - instance.x());
    instance.set_vspeed(y - instance.y());
    instance.set_speed(speed);
}

double distance_to_point(const CInstance& self, double x, double y)
{
    double dx = self.bbox_right() >= x ? 0 : x - self.bbox_right();
    if (x < self.bbox_left())
        dx = x - self.bbox_left();
    double dy = self.bbox_bottom() >= y ? 0 : y - self.bbox_bottom();
    if (y < self.bbox_top())
        dy = y - self.bbox_top();
    return std::sqrt(dx * dx + dy * dy);
}

double distance_to_object(const LiveRoom& room, const CInstance& self, const CInstance* other, std::int32_t selector)
{
    double nearest = 1000000;
    for (int i = 0; i < room.instance_count(); ++i) {
        const CInstance& instance = *room.instance(i);
        if (instance.m_destroyed || &instance == &self)
            continue;
        bool matches = selector == SELECTOR_ALL || (selector == -2 && &instance == other)
            || selector == instance.object_index || selector == instance.m_id;
        if (!matches)
            continue;
        double dx = gap(self.bbox_left(), self.bbox_right(), instance.bbox_left(), instance.bbox_right());
        double dy = gap(self.bbox_top(), self.bbox_bottom(), instance.bbox_top(), instance.bbox_bottom());
        nearest = std::min(nearest, std::sqrt(dx * dx + dy * dy));
    }
    return nearest;
}

CInstance* find_selected(const LiveRoom& room, std::int32_t selector, std::int32_t n)
{
    if (is_id(selector))
        return n == 0 ? live_instance(room, selector) : nullptr;
    CInstance* found = nullptr;
    for_each_selected(room, selector, [&](CInstance& instance) {
        if (n-- == 0)
            found = &instance;
        return !found;
    });
    return found;
}

int count_selected(const LiveRoom& room, std::int32_t selector)
{
    if (is_id(selector))
        return find_selected(room, selector, 0) ? 1 : 0;
    int count = 0;
    for_each_selected(room, selector, [&](CInstance&) {
        ++count;
        return true;
    });
    return count;
}

CInstance* nearest_selected(const LiveRoom& room, double x, double y, std::int32_t selector)
{
    return best_selected(room, x, y, selector, 1e10, [](double squared, double best) { return squared < best; });
}

CInstance* furthest_selected(const LiveRoom& room, double x, double y, std::int32_t selector)
{
    return best_selected(room, x, y, selector, -1, [](double squared, double best) { return squared > best; });
}

} // namespace quillon
