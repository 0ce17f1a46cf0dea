// CPath: control points and the polyline that instances follow, with position and speed at a fraction.
#include "world/path.h"

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

PathPoint midpoint(const PathPoint& a, const PathPoint& b)
{
    return {(a.x + b.x) / 2, (a.y + b.y) / 2, (a.speed + b.speed) / 2};
}

ComputedPoint entry(const PathPoint& point) { return {point.x, point.y, point.speed, 0}; }

}  // namespace

bool CPath::read_record(CStream& stream)
{
    if (stream.ReadInt() != PATH_VERSION)
        return false;
    smooth = stream.ReadInt();
    end_mode = stream.ReadInt();
    precision = stream.ReadInt();
    std::int32_t count = stream.ReadInt();
    points.clear();
    for (std::int32_t i = 0; i < count; ++i) {
        PathPoint point;
        point.x = stream.ReadReal();
        point.y = stream.ReadReal();
        point.speed = stream.ReadReal();
        points.push_back(point);
    }
    compute();
    return true;
}

void CPath::write_record(CStream& stream) const
{
    stream.WriteInt(PATH_VERSION);
    stream.WriteInt(smooth);
    stream.WriteInt(end_mode);
    stream.WriteInt(precision);
    stream.WriteInt(static_cast<std::int32_t>(points.size()));
    for (const PathPoint& point : points) {
        stream.WriteReal(point.x);
        stream.WriteReal(point.y);
        stream.WriteReal(point.speed);
    }
}

// Adds the interior points of one quadratic piece by midpoint subdivision: left half, middle, right half.
void CPath::add_curve(const PathPoint& start, const PathPoint& control, const PathPoint& end, int depth)
{
    if (depth <= 0)
        return;
    PathPoint middle {(start.x + 2 * control.x + end.x) / 4, (start.y + 2 * control.y + end.y) / 4,
        (start.speed + 2 * control.speed + end.speed) / 4};
    add_curve(start, midpoint(start, control), middle, depth - 1);
    m_computed.push_back(entry(middle));
    add_curve(middle, midpoint(control, end), end, depth - 1);
}

void CPath::compute()
{
    m_computed.clear();
    m_length = 0;
    auto n = static_cast<std::int64_t>(points.size());
    if (n == 0)
        return;
    bool closed = end_mode == PATH_END_CLOSED;
    // 1. The points of the polyline, straight or smoothed.
    if (smooth == 0) {
        for (const PathPoint& point : points)
            m_computed.push_back(entry(point));
    } else {
        std::int64_t segments = closed ? n : n - 2;
        int depth = std::clamp(precision, 0, PATH_MAX_PRECISION);
        while (depth > 0 && segments << depth > PATH_MAX_CURVE_POINTS)
            --depth;
        if (!closed)
            m_computed.push_back(entry(points.front()));
        for (std::int64_t k = 0; k < segments; ++k) {
            const PathPoint& a = points[k % n];
            const PathPoint& b = points[(k + 1) % n];
            const PathPoint& c = points[(k + 2) % n];
            add_curve(midpoint(a, b), b, midpoint(b, c), depth);
        }
        if (!closed)
            m_computed.push_back(entry(points.back()));
    }
    // 2. The ends.
    if (closed && !m_computed.empty()) {
        m_computed.push_back(m_computed.front());
    } else if (end_mode == PATH_END_RETURN) {
        for (auto i = static_cast<std::int64_t>(m_computed.size()) - 2; i >= 0; --i)
            m_computed.push_back(m_computed[i]);
    }
    // 3. Distances along the polyline; a closed smooth path without subdivision has no points at all.
    if (m_computed.empty())
        return;
    m_computed.front().distance = 0;
    for (std::size_t i = 1; i < m_computed.size(); ++i) {
        const ComputedPoint& previous = m_computed[i - 1];
        ComputedPoint& current = m_computed[i];
        current.distance = previous.distance + std::hypot(current.x - previous.x, current.y - previous.y);
    }
    m_length = m_computed.back().distance;
}

PathSample CPath::PathPosition(double f) const
{
    if (m_computed.empty())
        return {0, 0, 100};
    const ComputedPoint& first = m_computed.front();
    const ComputedPoint& last = m_computed.back();
    if (m_computed.size() == 1 || m_length == 0)
        return {first.x, first.y, first.speed};
    double shift_x = 0, shift_y = 0;
    if (end_mode == PATH_END_CONTINUE && (f < 0 || f > 1)) {
        double laps = std::floor(f);
        shift_x = laps * (last.x - first.x);
        shift_y = laps * (last.y - first.y);
    }
    if (end_mode == PATH_END_STOP)
        f = std::clamp(f, 0.0, 1.0);
    if (f < 0 || f > 1)
        f -= std::floor(f);
    if (f <= 0)
        return {first.x + shift_x, first.y + shift_y, first.speed};
    if (f >= 1)
        return {last.x + shift_x, last.y + shift_y, last.speed};
    double d = f * m_length;
    std::size_t i = 0;
    while (i + 2 < m_computed.size() && d >= m_computed[i + 1].distance)
        ++i;
    const ComputedPoint& a = m_computed[i];
    const ComputedPoint& b = m_computed[i + 1];
    double span = b.distance - a.distance;
    if (span == 0)
        return {a.x + shift_x, a.y + shift_y, a.speed};
    double share = (d - a.distance) / span;
    return {a.x + (b.x - a.x) * share + shift_x, a.y + (b.y - a.y) * share + shift_y,
        a.speed + (b.speed - a.speed) * share};
}

}  // namespace quillon
