// A game played headless with scripted input reads the keyboard, the mouse and a plugged joystick through its
// functions and events, types keys of its own and waits for a key.
#include "game_builder.h"
#include "platform/headless/headless_dialog_host.h"
#include "runner/runner.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>

using namespace quillon;
namespace fs = std::filesystem;

TEST(InputGame, ScriptedKeysButtonsAndAJoystickReachTheFunctionsAndEvents)
{
    fs::path folder = fs::temp_directory_path() / ("input_game_test_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    GameBuilder builder;
    builder.object("pad")
        .on("create", "n = 0")
        .on({ { "event", "mouse" }, { "number", "joystick1_left" } }, "show_debug_message('left')")
        .on({ { "event", "mouse" }, { "number", "joystick1_button3" } }, "show_debug_message('button3')")
        .on("step",
            "n += 1; var s; s = string(n) + ':';\n"
            "if (n == 1) s += string(keyboard_check(65)) + string(keyboard_check(0)) + string(keyboard_check(-1))"
            "  + string(keyboard_check_direct(65));\n"
            "if (n == 2) s += string(keyboard_check(65)) + string(mouse_check_button(3))"
            "  + string(mouse_check_button(-1)) + string(mouse_check_button(0));\n"
            "if (n == 3) { s += string(joystick_exists(1)) + joystick_name(1) + string(joystick_xpos(1))"
            "  + string(joystick_check_button(1, 3)) + string(joystick_pov(1)) + string(joystick_direction(1));"
            "  keyboard_key_press(ord('B')) }\n"
            "if (n == 4) { s += string(joystick_exists(1)) + string(joystick_direction(1))"
            "  + string(keyboard_check(66)) + keyboard_string; keyboard_wait();"
            "  s += ' waited ' + string(keyboard_lastkey) }\n"
            "if (n == 5) { s += string(keyboard_check(90)); keyboard_wait();"
            "  s += ' waited ' + string(keyboard_lastkey) }\n"
            "show_debug_message(s)");
    builder.room("main").instance("pad", 0, 0);

    CommandLine command_line;
    command_line.game = folder / "game.bin";
    builder.write(*command_line.game);
    command_line.headless = true;
    command_line.steps = 5;
    command_line.seed = 7;
    std::unique_ptr<platform::Platform> platform = platform::create_platform("headless");
    std::ostringstream messages;
    platform->dialogs = std::make_unique<platform::HeadlessDialogHost>(messages);
    Runner runner(*platform, command_line);
    std::string error;
    auto input = ScriptedInput::parse("1 key_down A\n"
                                      "1 key_up A\n"
                                      "2 mouse_move 5 5\n"
                                      "2 mouse_down middle\n"
                                      "3 joystick_plug 1 Pad 4 12 pov\n"
                                      "3 joystick_axis 1 x -1\n"
                                      "3 joystick_button_down 1 3\n"
                                      "3 joystick_pov 1 90\n"
                                      "4 joystick_unplug 1\n"
                                      "9 key_down Z\n",
        "input", error);
    ASSERT_TRUE(input) << error;
    runner.set_scripted_input(std::move(*input));
    testing::internal::CaptureStdout();
    runner.run();
    std::string printed = testing::internal::GetCapturedStdout();
    fs::remove_all(folder);
    // Step 4 waits and gets the key of step 9 at once; step 5 waits with nothing left and goes on.
    EXPECT_EQ(printed,
        "1:1011\n"
        "2:0110\n"
        "left\n"
        "button3\n"
        "3:1Pad-1190100\n"
        "4:01011b waited 90\n"
        "5:1 waited 0\n");
    EXPECT_EQ(messages.str(), "");
}
