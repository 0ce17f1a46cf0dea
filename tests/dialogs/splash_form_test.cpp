// The splash window: where it goes, when it closes, what it paints.
#include "dialogs/splash_form.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quillon;

namespace {

// A splash whose content is one white pixel at its top-left corner.
class DotSplash : public SplashForm {
public:
    using SplashForm::SplashForm;
    std::string transcript() const override { return "dot"; }

protected:
    void paint_content(SurfaceCanvas& canvas) override { canvas.at(0, 0) = 0xFFFFFF; }
};

platform::Event event_of(platform::EventKind kind)
{
    platform::Event event;
    event.kind = kind;
    return event;
}

}  // namespace

TEST(SplashForm, CoversTheScreenOrIsCentredBorderlessAndOnTop)
{
    platform::ScreenSize screen {1024, 768};
    struct Case {
        SplashForm::Size size;
        platform::WindowPlacement expected;
    };
    const Case cases[] = {
        {{true, 0, 0}, {0, 0, 1024, 768}},
        {{false, 200, 100}, {412, 334, 200, 100}},
        {{false, 2048, 1000}, {-512, -116, 2048, 1000}},
    };
    for (const Case& c : cases) {
        platform::WindowPlacement placement = DotSplash(c.size, 0, 0).placement(screen);
        platform::WindowPlacement expected = c.expected;
        expected.border = false;
        expected.caption_buttons = false;
        expected.stay_on_top = true;
        EXPECT_EQ(placement, expected) << c.size.width;
    }
}

TEST(SplashForm, ClosesAfterItsDelayOrNeverByItselfWithoutOne)
{
    DotSplash timed({}, 0, 500);
    EXPECT_EQ(timed.tick(0), 500);
    EXPECT_EQ(timed.tick(380), 120);
    EXPECT_FALSE(timed.finished());
    timed.tick(500);
    EXPECT_TRUE(timed.finished());

    for (std::int64_t delay : {0, -5}) {
        DotSplash waiting({}, 0, delay);
        EXPECT_EQ(waiting.tick(100000), -1);
        EXPECT_FALSE(waiting.finished());
    }
}

TEST(SplashForm, AnyKeyClickCloseOrAnswerClosesItButNotMovesOrReleases)
{
    using platform::EventKind;
    for (EventKind kind : {EventKind::mouse_move, EventKind::key_up, EventKind::mouse_up, EventKind::text,
             EventKind::focus_lost}) {
        DotSplash splash({}, 0, 0);
        splash.handle(event_of(kind));
        EXPECT_FALSE(splash.finished()) << int(kind);
    }
    for (EventKind kind : {EventKind::key_down, EventKind::mouse_down, EventKind::window_close}) {
        DotSplash splash({}, 0, 0);
        splash.handle(event_of(kind));
        EXPECT_TRUE(splash.finished()) << int(kind);
    }
    for (std::optional<std::string> line : {std::optional<std::string>(), std::optional<std::string>("x")}) {
        DotSplash splash({}, 0, 0);
        splash.answer(line);
        EXPECT_TRUE(splash.finished());
    }
}

TEST(SplashForm, PaintsItsBackgroundThenItsContent)
{
    std::vector<std::uint32_t> pixels(6, 0x123456);
    SurfaceCanvas canvas {pixels.data(), 3, 2, 12, {0, 0, 3, 2}};
    DotSplash({false, 3, 2}, make_color(255, 0, 0), 0).paint(canvas);
    EXPECT_EQ(pixels, (std::vector<std::uint32_t> {0xFFFFFF, 0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000}));
}
