// Headless drivers: frames kept in memory and saved as PNG, virtual time and timers, queued input, scripted answers.
#include "platform/drivers.h"
#include "platform/headless/headless_dialog_host.h"
#include "platform/headless/headless_display.h"
#include "platform/headless/headless_input.h"
#include "platform/headless/virtual_clock.h"
#include "platform/interval_timer.h"

#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace quillon::platform;

TEST(HeadlessDisplay, KeepsTheLastFrameAcrossPitchAndClose)
{
    HeadlessDisplay display({800, 600});
    // Presenting needs an open window.
    std::array<std::uint32_t, 8> pixels {0x112233, 0x445566, 0xDEAD, 0xDEAD, 0x778899, 0xAABBCC, 0xDEAD, 0xDEAD};
    EXPECT_FALSE(display.present({pixels.data(), 2, 2, 16}));

    ASSERT_TRUE(display.open({10, 20, 64, 48, false}, "Caf\xe9"));
    EXPECT_FALSE(display.visible());
    display.set_visible(true);
    EXPECT_TRUE(display.visible());
    EXPECT_EQ(display.placement(), (WindowPlacement {10, 20, 64, 48, false}));
    EXPECT_EQ(display.caption(), "Caf\xe9");
    EXPECT_EQ(display.screen_size(), (ScreenSize {800, 600}));

    EXPECT_FALSE(display.present({pixels.data(), 2, 2, 4}));  // rows may not overlap
    // Rows are 16 bytes apart; the two padding pixels of each row are not part of the frame.
    ASSERT_TRUE(display.present({pixels.data(), 2, 2, 16}));
    display.close();
    EXPECT_FALSE(display.visible());
    const Frame& frame = display.last_frame();
    EXPECT_EQ(frame.width, 2);
    EXPECT_EQ(frame.height, 2);
    EXPECT_EQ(frame.pixels, (std::vector<std::uint32_t> {0x112233, 0x445566, 0x778899, 0xAABBCC}));
    EXPECT_EQ(display.frame_count(), 1);
}

TEST(HeadlessDisplay, SavesTheFrameAsPng)
{
    HeadlessDisplay display;
    auto path = std::filesystem::temp_directory_path() / "quillon_headless_frame.png";
    EXPECT_FALSE(display.save_png(path.string()));  // nothing presented yet

    std::array<std::uint32_t, 6> pixels {0xFF0000, 0x00FF00, 0x0000FF, 0x000000, 0xFFFFFF, 0x123456};
    ASSERT_TRUE(display.open({0, 0, 3, 2, true}, ""));
    ASSERT_TRUE(display.present({pixels.data(), 3, 2, 12}));
    ASSERT_TRUE(display.save_png(path.string()));

    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 2u);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        std::uint32_t read = std::uint32_t(rgb[i * 3]) << 16 | std::uint32_t(rgb[i * 3 + 1]) << 8 | rgb[i * 3 + 2];
        EXPECT_EQ(read, pixels[i]) << i;
    }
    std::filesystem::remove(path);
    EXPECT_FALSE(display.save_png("/nonexistent-folder/frame.png"));
}

TEST(VirtualClock, OnlySleepingMovesTime)
{
    VirtualClock clock;
    EXPECT_EQ(clock.ticks_ms(), 0u);
    clock.sleep_ms(30);
    clock.sleep_ms(3);
    EXPECT_EQ(clock.ticks_ms(), 33u);
    EXPECT_EQ(clock.ticks_ms(), 33u);
}

TEST(IntervalTimer, FiresOncePerIntervalWithoutCatchingUp)
{
    VirtualClock clock;
    IntervalTimer timer(clock, 100, true);
    clock.sleep_ms(99);
    EXPECT_FALSE(timer.fired());
    clock.sleep_ms(1);
    EXPECT_TRUE(timer.fired());
    EXPECT_FALSE(timer.fired());
    // Three intervals slept through give one firing, and the next interval starts then.
    clock.sleep_ms(300);
    EXPECT_TRUE(timer.fired());
    EXPECT_FALSE(timer.fired());
    clock.sleep_ms(100);
    EXPECT_TRUE(timer.fired());

    // Disabled timers never fire; enabling one starts its interval anew.
    timer.set_enabled(false);
    clock.sleep_ms(500);
    EXPECT_FALSE(timer.fired());
    timer.set_enabled(true);
    EXPECT_FALSE(timer.fired());
    clock.sleep_ms(100);
    EXPECT_TRUE(timer.fired());

    IntervalTimer idle(clock, 100, false);
    clock.sleep_ms(1000);
    EXPECT_FALSE(idle.fired());
}

TEST(HeadlessInput, HandsOutPushedEventsOnceInOrder)
{
    HeadlessInput input;
    input.push({.kind = EventKind::key_down, .virtual_key = 65, .sided_key = 65});
    input.push({.kind = EventKind::text, .text = "a"});
    input.push({.kind = EventKind::mouse_down, .x = 5, .y = 6, .button = MOUSE_RIGHT});
    std::vector<Event> events;
    input.poll(events);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].kind, EventKind::key_down);
    EXPECT_EQ(events[0].virtual_key, 65);
    EXPECT_EQ(events[1].text, "a");
    EXPECT_EQ(events[2].button, MOUSE_RIGHT);
    EXPECT_EQ(events[2].x, 5);
    events.clear();
    input.poll(events);
    EXPECT_TRUE(events.empty());
}

TEST(HeadlessDialogHost, AnswersFromTheQueueThenTheDefault)
{
    const std::vector<std::string> buttons {"Abort", "Ignore"};
    struct Case {
        const char* answer;   // the scripted answer
        int pressed;          // the button it presses, the default being 1
    };
    const Case cases[] = {
        {"0", 0}, {"1", 1}, {"Abort", 0}, {"  aBoRt \r", 0}, {"ignore", 1}, {"", 1},
        {"2", 1}, {"-1", 1}, {"Retry", 1}, {"0x", 1},
    };
    std::ostringstream log;
    HeadlessDialogHost host(log);
    for (const Case& c : cases)
        host.push_answer(c.answer);
    for (const Case& c : cases)
        EXPECT_EQ(host.message_box("Error", "boom", buttons, 1), c.pressed) << '"' << c.answer << '"';
    EXPECT_EQ(host.pending_answers(), 0u);
    EXPECT_EQ(host.message_box("Error", "boom", buttons, 1), 1);
    EXPECT_EQ(host.message_box("Error", "boom", buttons, 0), 0);

    // Each box writes its text; an answer that names no button adds a note.
    std::string written = log.str();
    EXPECT_EQ(written.find("boom\nboom\nboom\nboom\nboom\nboom\nboom\n"), 0u);
    EXPECT_NE(written.find("\"Retry\" names no button"), std::string::npos);
}

TEST(HeadlessDialogHost, WritesTextAsUtf8AndLoadsAnswerFiles)
{
    auto path = std::filesystem::temp_directory_path() / "quillon_answers.txt";
    std::ofstream(path, std::ios::binary) << "Ignore\r\n\n0\n";
    std::ostringstream log;
    HeadlessDialogHost host(log);
    ASSERT_TRUE(host.load_answers(path));
    std::filesystem::remove(path);
    EXPECT_EQ(host.pending_answers(), 3u);
    const std::vector<std::string> buttons {"Abort", "Ignore"};
    EXPECT_EQ(host.message_box("", "Caf\xe9 \x80", buttons, 0), 1);
    EXPECT_EQ(host.message_box("", "x", buttons, 0), 0);
    EXPECT_EQ(host.message_box("", "y", buttons, 1), 0);
    EXPECT_EQ(log.str(), "Caf\xc3\xa9 \xe2\x82\xac\nx\ny\n");
    EXPECT_FALSE(host.load_answers("/nonexistent-folder/answers.txt"));
}

TEST(Drivers, PlatformsAreChosenByName)
{
    for (auto drivers : {display_drivers().size(), input_drivers().size(), clock_drivers().size(),
             dialog_host_drivers().size(), audio_device_drivers().size()})
        EXPECT_EQ(drivers, 2u);
    EXPECT_EQ(create_platform("directx"), nullptr);

    auto platform = create_platform("headless");
    ASSERT_NE(platform, nullptr);
    EXPECT_EQ(platform->name, "headless");
    EXPECT_NE(dynamic_cast<HeadlessDisplay*>(platform->display.get()), nullptr);
    EXPECT_NE(dynamic_cast<HeadlessInput*>(platform->input.get()), nullptr);
    EXPECT_NE(dynamic_cast<VirtualClock*>(platform->clock.get()), nullptr);
    EXPECT_NE(dynamic_cast<HeadlessDialogHost*>(platform->dialogs.get()), nullptr);
    auto second = platform->create_display();
    EXPECT_NE(dynamic_cast<HeadlessDisplay*>(second.get()), nullptr);
    EXPECT_NE(second.get(), platform->display.get());
    platform->audio->open();
    EXPECT_TRUE(platform->audio->is_open());
    EXPECT_TRUE(platform->audio->is_silent());
}
