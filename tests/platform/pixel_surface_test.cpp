// PixelSurface: fills and blits cut to both surfaces, the colour key on unscaled and stretched blits.
#include "platform/pixel_surface.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quillon::platform;

namespace {

constexpr std::uint32_t KEY = 0xFF00FF;

std::uint32_t at(const PixelSurface& surface, int x, int y)
{
    return reinterpret_cast<const std::uint32_t*>(reinterpret_cast<const char*>(surface.pixels()) + y * surface.pitch())[x];
}

// A 19x3 source (19 is not a multiple of the eight pixels copied at once): pixel (x, y) is 100 * y + x + 1,
// except every third pixel, which is the key.
std::unique_ptr<PixelSurface> numbered_source()
{
    auto source = PixelSurface::create(19, 3);
    for (int y = 0; y < 3; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(reinterpret_cast<char*>(source->pixels()) + y * source->pitch());
        for (int x = 0; x < 19; ++x)
            row[x] = x % 3 == 0 ? KEY : std::uint32_t(100 * y + x + 1);
    }
    return source;
}

}  // namespace

TEST(PixelSurface, RefusesEmptySizes)
{
    EXPECT_EQ(PixelSurface::create(0, 5), nullptr);
    EXPECT_EQ(PixelSurface::create(5, -1), nullptr);
}

TEST(PixelSurface, KeyedCopiesSkipTheKeyAcrossWholeAndPartialRuns)
{
    auto source = numbered_source();
    auto target = PixelSurface::create(24, 4);
    for (bool keyed : {false, true}) {
        target->fill({0, 0, 24, 4}, 7);
        source->set_color_key(keyed ? std::optional<std::uint32_t>(KEY) : std::nullopt);
        target->blit(*source, {0, 0, 19, 3}, {2, 1, 19, 3});
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 19; ++x) {
                std::uint32_t expected = x % 3 == 0 ? (keyed ? 7 : KEY) : 100 * y + x + 1;
                ASSERT_EQ(at(*target, x + 2, y + 1), expected) << keyed << " " << x << "," << y;
            }
        }
        EXPECT_EQ(at(*target, 1, 1), 7u);
        EXPECT_EQ(at(*target, 21, 3), 7u);
    }
}

TEST(PixelSurface, BlitsAreCutToBothSurfaces)
{
    struct Case {
        PixelRect from, to;       // the source rectangle and where it goes
        int probe_x, probe_y;     // a target pixel
        std::uint32_t expected;   // its value afterwards
    };
    const Case cases[] = {
        {{0, 0, 19, 3}, {-5, -1, 19, 3}, 0, 0, 100 + 5 + 1},    // off the target's top-left
        {{0, 0, 19, 3}, {5, 2, 19, 3}, 9, 3, 100 + 4 + 1},       // off its bottom-right
        {{-4, 0, 10, 3}, {0, 0, 10, 3}, 3, 0, 7},                // source columns before 0 are not copied
        {{-4, 0, 10, 3}, {0, 0, 10, 3}, 5, 0, 2},
        {{15, 1, 10, 2}, {0, 0, 10, 2}, 4, 0, 7},                // nor those past the source's end
        {{15, 1, 10, 2}, {0, 0, 10, 2}, 1, 0, 117},
        {{0, 0, 19, 3}, {30, 0, 19, 3}, 9, 0, 7},                // wholly outside
    };
    auto source = numbered_source();
    for (const Case& c : cases) {
        auto target = PixelSurface::create(10, 4);
        target->fill({0, 0, 10, 4}, 7);
        target->blit(*source, c.from, c.to);
        EXPECT_EQ(at(*target, c.probe_x, c.probe_y), c.expected) << c.to.x << "," << c.to.y << " " << c.from.x;
    }
}

TEST(PixelSurface, StretchedBlitsKeepTheKeyAndFillsStayOnTheSurface)
{
    auto source = PixelSurface::create(2, 1);
    source->fill({0, 0, 1, 1}, KEY);
    source->fill({1, 0, 1, 1}, 0x123456);
    source->set_color_key(KEY);
    auto target = PixelSurface::create(4, 2);
    target->fill({-3, -3, 100, 100}, 7);
    target->blit(*source, {0, 0, 2, 1}, {0, 0, 4, 2});
    EXPECT_EQ(at(*target, 1, 1), 7u);
    EXPECT_EQ(at(*target, 2, 0), 0x123456u);
    EXPECT_EQ(at(*target, 3, 1), 0x123456u);
}
