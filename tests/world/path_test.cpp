// Paths: the computed polyline in every end mode, and position and speed at a fraction.
#include "world/path.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

CPath make_path(int smooth, int end_mode, std::vector<PathPoint> points, int precision = 4)
{
    CPath path;
    path.smooth = smooth;
    path.end_mode = end_mode;
    path.precision = precision;
    path.points = std::move(points);
    path.compute();
    return path;
}

const std::vector<PathPoint> CORNER = {{0, 0, 100}, {100, 0, 100}, {100, 100, 100}};

}  // namespace

TEST(Path, ComputedListsPerEndModeAndSmoothing)
{
    CPath closed = make_path(0, PATH_END_CLOSED, CORNER);
    ASSERT_EQ(closed.computed().size(), 4u);
    EXPECT_EQ(closed.computed().back().x, 0);
    EXPECT_NEAR(closed.length(), 341.42, 0.005);

    CPath back = make_path(0, PATH_END_RETURN, CORNER);
    std::vector<double> xs;
    for (const ComputedPoint& point : back.computed())
        xs.push_back(point.x + point.y / 1000);
    EXPECT_EQ(xs, (std::vector<double> {0, 100, 100.1, 100, 0}));

    EXPECT_EQ(make_path(1, PATH_END_STOP, CORNER).computed().size(), 17u);
    EXPECT_EQ(make_path(1, 1, {{0, 0, 100}, {50, 50, 100}}).computed().size(), 2u);
    // Precision is capped, negative precision acts as 0, and a closed curve without subdivision is empty.
    EXPECT_EQ(make_path(1, PATH_END_STOP, CORNER, 40).computed().size(), 2u + (1u << 16) - 1);
    EXPECT_EQ(make_path(1, PATH_END_STOP, CORNER, -3).computed().size(), 2u);
    CPath empty_closed = make_path(1, PATH_END_CLOSED, CORNER, 0);
    EXPECT_TRUE(empty_closed.computed().empty());
    EXPECT_EQ(empty_closed.PathPosition(0.5).speed, 100);
}

TEST(Path, PositionsAtFractionsPerEndMode)
{
    struct Case {
        int end_mode;
        double fraction;
        double x, y;
    };
    // A straight line from (0,0) to (100,0) and on to (100,100): length 200.
    const Case cases[] = {
        {PATH_END_STOP, 1.25, 100, 100},
        {1, 1.25, 50, 0},
        {PATH_END_CONTINUE, 1.25, 150, 100},
        {1, -0.25, 100, 50},
        {PATH_END_STOP, -1, 0, 0},
        {1, 0.5, 100, 0},
    };
    for (const Case& c : cases) {
        CPath path = make_path(0, c.end_mode, CORNER);
        PathSample sample = path.PathPosition(c.fraction);
        EXPECT_NEAR(sample.x, c.x, 1e-9) << c.end_mode << " " << c.fraction;
        EXPECT_NEAR(sample.y, c.y, 1e-9) << c.end_mode << " " << c.fraction;
    }
    CPath speeds = make_path(0, PATH_END_STOP, {{0, 0, 100}, {100, 0, 50}});
    EXPECT_DOUBLE_EQ(speeds.PathSpeed(0.5), 75);
    EXPECT_EQ(CPath().PathSpeed(0.3), 100);
}
