// Collisions: when two instances meet or an instance covers a point, the place tests on the current room, the
// moves that stop at or leave contact, and bouncing.
#include "world/collision.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quillon {

namespace {

constexpr int MOVE_LIMIT = 1000; // pixels moved when no maximum is given
constexpr int BOUNCE_TRIES = 35; // directions tried on each side by an advanced bounce

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

PixelBox box_of(const CInstance& instance)
{
    return { instance.bbox_left(), instance.bbox_top(), instance.bbox_right(), instance.bbox_bottom() };
}

int move_steps(double maximum)
{
    return maximum > 0 ? static_cast<int>(std::min<std::int64_t>(round_to_int64(maximum), INT32_MAX)) : MOVE_LIMIT;
}

} // namespace

Collisions::Collisions(World& world, const ResourceList<CSprite>& sprites, const CollisionMasks& masks)
    : m_world(world)
    , m_sprites(sprites)
    , m_masks(masks)
{
}

Collisions::MaskImage Collisions::mask_image(const CInstance& instance) const
{
    std::int32_t index = instance.mask_index() >= 0 ? instance.mask_index() : instance.sprite_index();
    MaskImage image;
    image.sprite = m_sprites.get(index);
    if (!image.sprite)
        return image;
    image.mask = &m_masks.mask(index);
    int count = image.sprite->frame_count();
    if (count == 0)
        return image;
    std::int64_t shown = round_to_int64(instance.image_single >= 0 ? instance.image_single : instance.image_index);
    image.frame = static_cast<int>(((shown % count) + count) % count);
    return image;
}

// Instances without a sprite all share the box far outside the room; they never meet anything (two of them
// would otherwise meet each other wherever they are).
bool Collisions::collide(const CInstance& a, const CInstance& b) const
{
    if (&a == &b || a.m_destroyed || b.m_destroyed)
        return false;
    if (a.bbox_right() < b.bbox_left() || b.bbox_right() < a.bbox_left() || a.bbox_bottom() < b.bbox_top()
        || b.bbox_bottom() < a.bbox_top())
        return false;
    if (!m_sprites.get(a.mask_index() >= 0 ? a.mask_index() : a.sprite_index())
        || !m_sprites.get(b.mask_index() >= 0 ? b.mask_index() : b.sprite_index()))
        return false;
    if (!a.precise() && !b.precise())
        return true;
    return pixel_test(a, b);
}

bool Collisions::pixel_test(const CInstance& a, const CInstance& b) const
{
    MaskImage image_a = mask_image(a);
    MaskImage image_b = mask_image(b);
    if (image_a.frame < 0 || image_b.frame < 0)
        return false;
    // A room pixel maps back to the frame through the instance's rounded position, its scale and the origin.
    auto solid = [](const CInstance& instance, const MaskImage& image, int x, int y) {
        if (!instance.precise())
            return true;
        double scale = instance.image_scale();
        double frame_x = (x - round_to_int64(instance.x())) / scale + image.sprite->origin_x;
        double frame_y = (y - round_to_int64(instance.y())) / scale + image.sprite->origin_y;
        return image.mask->point_test(image.frame, frame_x, frame_y);
    };
    int left = std::max(a.bbox_left(), b.bbox_left());
    int right = std::min(a.bbox_right(), b.bbox_right());
    int top = std::max(a.bbox_top(), b.bbox_top());
    int bottom = std::min(a.bbox_bottom(), b.bbox_bottom());
    for (int x = left; x <= right; ++x)
        for (int y = top; y <= bottom; ++y)
            if (solid(a, image_a, x, y) && solid(b, image_b, x, y))
                return true;
    return false;
}

bool Collisions::point_inside(const CInstance& instance, double x, double y) const
{
    if (!instance.box_covers(x, y))
        return false;
    if (!instance.precise())
        return true;
    MaskImage image = mask_image(instance);
    if (image.frame < 0)
        return false;
    double scale = instance.image_scale();
    double frame_x = (round_to_int64(x) - round_to_int64(instance.x())) / scale + image.sprite->origin_x;
    double frame_y = (round_to_int64(y) - round_to_int64(instance.y())) / scale + image.sprite->origin_y;
    return image.mask->point_test(image.frame, frame_x, frame_y);
}

bool Collisions::selected(const CInstance& instance, std::int32_t selector) const
{
    if (selector == SELECTOR_ALL)
        return true;
    const std::vector<std::int32_t>& chain = m_world.tree().chain(instance.object_index);
    return std::find(chain.begin(), chain.end(), selector) != chain.end();
}

// The grid gives the instances whose boxes meet self's box in array order, which is the order of a walk over
// the whole array (and of each object's with-descendants list).
template<typename Accept> CInstance* Collisions::first_meeting(CInstance& self, double x, double y, Accept accept)
{
    LiveRoom* room = m_world.current_room();
    if (!room)
        return nullptr;
    // 1. Self stands at the place, 2. the first accepted instance that meets it is found, 3. self goes back.
    double saved_x = self.x();
    double saved_y = self.y();
    self.set_position(x, y);
    CInstance* found = nullptr;
    m_grid.query(*room, box_of(self), m_slots);
    for (int slot : m_slots) {
        CInstance& other = *room->instance(slot);
        if (accept(other) && collide(self, other)) {
            found = &other;
            break;
        }
    }
    self.set_position(saved_x, saved_y);
    return found;
}

bool Collisions::place_free(CInstance& self, double x, double y)
{
    return !first_meeting(self, x, y, [](const CInstance& other) { return other.solid; });
}

bool Collisions::place_empty(CInstance& self, double x, double y)
{
    return !first_meeting(self, x, y, [](const CInstance&) { return true; });
}

CInstance* Collisions::instance_place(CInstance& self, double x, double y, std::int32_t selector)
{
    LiveRoom* room = m_world.current_room();
    if (!room || (selector < 0 && selector != SELECTOR_ALL))
        return nullptr;
    if (selector >= FIRST_INSTANCE_ID) {
        CInstance* wanted = live_instance(*room, selector);
        return wanted && first_meeting(self, x, y, [wanted](const CInstance& other) { return &other == wanted; })
            ? wanted
            : nullptr;
    }
    return first_meeting(self, x, y, [&](const CInstance& other) { return selected(other, selector); });
}

CInstance* Collisions::instance_position(double x, double y, std::int32_t selector)
{
    LiveRoom* room = m_world.current_room();
    if (!room || (selector < 0 && selector != SELECTOR_ALL))
        return nullptr;
    if (selector >= FIRST_INSTANCE_ID) {
        CInstance* wanted = live_instance(*room, selector);
        return wanted && point_inside(*wanted, x, y) ? wanted : nullptr;
    }
    // The point's own pixel is the box to ask for; point inside rounds nothing for the box part.
    std::int32_t left = static_cast<std::int32_t>(std::clamp(std::floor(x), -2e9, 2e9));
    std::int32_t top = static_cast<std::int32_t>(std::clamp(std::floor(y), -2e9, 2e9));
    m_grid.query(*room,
        { left, top, static_cast<std::int32_t>(std::clamp(std::ceil(x), -2e9, 2e9)),
            static_cast<std::int32_t>(std::clamp(std::ceil(y), -2e9, 2e9)) },
        m_slots);
    for (int slot : m_slots) {
        CInstance& other = *room->instance(slot);
        if (selected(other, selector) && point_inside(other, x, y))
            return &other;
    }
    return nullptr;
}

void Collisions::destroy_at(double x, double y)
{
    LiveRoom* room = m_world.current_room();
    if (!room)
        return;
    int count = room->instance_count();
    for (int i = 0; i < count; ++i)
        if (CInstance& instance = *room->instance(i); point_inside(instance, x, y))
            m_world.destroy_instance(instance);
}

void Collisions::change_at(double x, double y, std::int32_t object, bool perform_events)
{
    LiveRoom* room = m_world.current_room();
    if (!m_world.can_change_into(object) || !room)
        return;
    int count = room->instance_count();
    for (int i = 0; i < count; ++i)
        if (CInstance& instance = *room->instance(i); point_inside(instance, x, y))
            m_world.change_instance(instance, object, perform_events);
}

void Collisions::move_contact(CInstance& self, double direction, double maximum, bool all)
{
    if (!free_at(self, self.x(), self.y(), all))
        return;
    double dx = std::cos(radians(direction));
    double dy = -std::sin(radians(direction));
    int steps = move_steps(maximum);
    for (int i = 0; i < steps; ++i) {
        double x = self.x() + dx;
        double y = self.y() + dy;
        if (!free_at(self, x, y, all))
            return;
        self.set_position(x, y);
    }
}

bool Collisions::move_outside(CInstance& self, double direction, double maximum, bool all)
{
    double dx = std::cos(radians(direction));
    double dy = -std::sin(radians(direction));
    int steps = move_steps(maximum);
    bool free = free_at(self, self.x(), self.y(), all);
    for (int i = 0; !free && i < steps; ++i) {
        self.set_position(self.x() + dx, self.y() + dy);
        free = free_at(self, self.x(), self.y(), all);
    }
    return free;
}

void Collisions::bounce(CInstance& self, bool advanced, bool all)
{
    // 1. Out of the way first: back to where the step began.
    if (!free_at(self, self.x(), self.y(), all))
        self.set_position(self.xprevious, self.yprevious);
    // 2. Plain: each blocked part of the motion reverses; with nothing blocked, the whole motion reverses.
    if (!advanced) {
        bool h = free_at(self, self.x() + self.hspeed(), self.y(), all);
        bool v = free_at(self, self.x(), self.y() + self.vspeed(), all);
        if (h && v) {
            self.set_hspeed(-self.hspeed());
            self.set_vspeed(-self.vspeed());
        }
        if (!h)
            self.set_hspeed(-self.hspeed());
        if (!v)
            self.set_vspeed(-self.vspeed());
        return;
    }
    // 3. Advanced: the nearest free direction on each side, in steps of ten degrees; the motion leaves
    // mirrored about the middle between them.
    self.set_direction(10 * round_to_int64(self.direction() / 10));
    double heading = self.direction();
    auto free_towards = [&](double angle) {
        return free_at(self, self.x() + std::cos(radians(angle)) * self.speed(),
            self.y() - std::sin(radians(angle)) * self.speed(), all);
    };
    double clockwise = heading;
    for (int i = 0; i < BOUNCE_TRIES; ++i) {
        clockwise -= 10;
        if (free_towards(clockwise))
            break;
    }
    double counter_clockwise = heading;
    for (int i = 0; i < BOUNCE_TRIES; ++i) {
        counter_clockwise += 10;
        if (free_towards(counter_clockwise))
            break;
    }
    self.set_direction(clockwise + counter_clockwise + 180 - heading);
}

} // namespace quillon
