// CPath: control points and the polyline that instances follow, with position and speed at a fraction.
#pragma once

#include "support/stream.h"

#include <vector>

namespace quillon {

constexpr std::int32_t PATH_LIST_VERSION = 420;
constexpr std::int32_t PATH_VERSION = 420;

// End modes.
constexpr std::int32_t PATH_END_STOP = 0;      // fractions are clamped
constexpr std::int32_t PATH_END_CLOSED = 2;    // the first point is repeated at the end
constexpr std::int32_t PATH_END_RETURN = 3;    // the way back is appended
constexpr std::int32_t PATH_END_CONTINUE = 4;  // each lap shifts the position by last minus first

// Subdivision depths beyond this make millions of points per segment; negative depths act as 0. A path
// whose curve would exceed PATH_MAX_CURVE_POINTS in all is subdivided less deeply, so that a hostile file
// cannot demand gigabytes.
constexpr std::int32_t PATH_MAX_PRECISION = 16;
constexpr std::int64_t PATH_MAX_CURVE_POINTS = 1 << 20;

struct PathPoint {
    double x = 0;      // position
    double y = 0;
    double speed = 100;  // percent of the normal speed
    bool operator==(const PathPoint&) const = default;
};

struct ComputedPoint {
    double x = 0;         // position
    double y = 0;
    double speed = 100;   // percent of the normal speed
    double distance = 0;  // along the polyline from its first point
};

// Where an instance on the path is, and how fast it goes there.
struct PathSample {
    double x;      // position
    double y;
    double speed;  // percent
};

class CPath {
public:
    std::int32_t smooth = 0;              // 0 straight, else a smooth curve
    std::int32_t end_mode = PATH_END_CLOSED;  // what lies beyond the ends
    std::int32_t precision = 4;           // curve subdivision depth of smooth paths
    std::vector<PathPoint> points;        // the control points in order

    bool read_record(CStream& stream);
    void write_record(CStream& stream) const;

    // Rebuilds the polyline from the points; called after reading and after any change of the fields above.
    void compute();

    const std::vector<ComputedPoint>& computed() const { return m_computed; }
    double length() const { return m_length; }
    PathSample PathPosition(double fraction) const;
    double PathSpeed(double fraction) const { return PathPosition(fraction).speed; }

private:
    void add_curve(const PathPoint& start, const PathPoint& control, const PathPoint& end, int depth);

    std::vector<ComputedPoint> m_computed;  // the polyline actually followed
    double m_length = 0;                    // total length of the polyline
};

}  // namespace quillon
