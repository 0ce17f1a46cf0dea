// The runner's command line: accepted forms, their values, and the one-line usage errors.
#include "runner/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quillon;

namespace {

std::variant<CommandLine, UsageError> parse(const std::vector<const char*>& arguments)
{
    return parse_command_line(arguments);
}

}  // namespace

TEST(CommandLine, DefaultsWithoutArguments)
{
    auto result = parse({});
    ASSERT_TRUE(std::holds_alternative<CommandLine>(result));
    const auto& line = std::get<CommandLine>(result);
    EXPECT_FALSE(line.game);
    EXPECT_FALSE(line.headless);
    EXPECT_FALSE(line.steps);
    EXPECT_FALSE(line.seed);
    EXPECT_TRUE(line.screenshots.empty());
    EXPECT_TRUE(line.game_arguments.empty());
    EXPECT_FALSE(line.secure_mode);
}

TEST(CommandLine, EveryOptionIsKept)
{
    auto result = parse({"--headless", "--steps", "120", "--no-sleep", "--seed=4294967295", "--input", "keys.txt",
        "--answers=answers.txt", "--screenshot", "0:first.png", "--screenshot=60:shots/Last.PNG", "--screenshot",
        "7.20:fade.png", "--screenshot", "dialog:2:dialogs/second.png", "game.dat", "--secure-mode", "off",
        "--", "--steps", "level2"});
    ASSERT_TRUE(std::holds_alternative<CommandLine>(result)) << std::get<UsageError>(result).message;
    const auto& line = std::get<CommandLine>(result);
    EXPECT_EQ(line.game, std::filesystem::path("game.dat"));
    EXPECT_TRUE(line.headless);
    EXPECT_EQ(line.steps, 120);
    EXPECT_TRUE(line.no_sleep);
    EXPECT_EQ(line.seed, 4294967295u);
    EXPECT_EQ(line.input_file, std::filesystem::path("keys.txt"));
    EXPECT_EQ(line.answers_file, std::filesystem::path("answers.txt"));
    EXPECT_EQ(line.screenshots, (std::vector<ScreenshotRequest> {{0, "first.png", 0}, {60, "shots/Last.PNG", 0},
                                    {7, "fade.png", 20}, {0, "dialogs/second.png", 0, 2}}));
    EXPECT_EQ(line.game_arguments, (std::vector<std::string> {"--steps", "level2"}));
    EXPECT_EQ(line.secure_mode, false);
    EXPECT_FALSE(line.help);
    EXPECT_FALSE(line.version);
}

TEST(CommandLine, HelpAndVersion)
{
    for (const char* option : {"--help", "-h"})
        EXPECT_TRUE(std::get<CommandLine>(parse({option})).help) << option;
    EXPECT_TRUE(std::get<CommandLine>(parse({"--version"})).version);
    EXPECT_TRUE(std::get<CommandLine>(parse({"--functions"})).functions);
    EXPECT_NE(usage_text().find("\n  --functions "), std::string::npos);
    EXPECT_EQ(version_text(), "quillon-runner 0.1.0");
    EXPECT_TRUE(usage_text().starts_with("Usage: quillon-runner [options] [GAME] [-- GAME-ARGS...]\n"));
}

TEST(CommandLine, BadLinesNameTheProblem)
{
    struct Case {
        std::vector<const char*> arguments;  // after the program name
        std::string message;                 // the whole usage error
    };
    const Case cases[] = {
        {{"--steps"}, "quillon-runner: --steps needs a number"},
        {{"--steps", "ten"}, "quillon-runner: --steps needs a number, not 'ten'"},
        {{"--steps=-1"}, "quillon-runner: --steps needs a number, not '-1'"},
        {{"--steps", "12x"}, "quillon-runner: --steps needs a number, not '12x'"},
        {{"--seed", "4294967296"}, "quillon-runner: --seed needs a number, not '4294967296'"},
        {{"game.dat", "--input"}, "quillon-runner: --input needs a file name"},
        {{"--answers="}, "quillon-runner: --answers needs a file name, not ''"},
        {{"--screenshot", "shot.png"}, "quillon-runner: --screenshot needs STEP[.N]:FILE.png or dialog:N:FILE.png, not 'shot.png'"},
        {{"--screenshot", "5:shot.bmp"}, "quillon-runner: --screenshot needs STEP[.N]:FILE.png or dialog:N:FILE.png, not '5:shot.bmp'"},
        {{"--screenshot", "x:shot.png"}, "quillon-runner: --screenshot needs STEP[.N]:FILE.png or dialog:N:FILE.png, not 'x:shot.png'"},
        {{"--screenshot", "5:.png"}, "quillon-runner: --screenshot needs STEP[.N]:FILE.png or dialog:N:FILE.png, not '5:.png'"},
        {{"--screenshot", "5.0:shot.png"}, "quillon-runner: --screenshot needs STEP[.N]:FILE.png or dialog:N:FILE.png, not '5.0:shot.png'"},
        {{"--screenshot", "5.:shot.png"}, "quillon-runner: --screenshot needs STEP[.N]:FILE.png or dialog:N:FILE.png, not '5.:shot.png'"},
        {{"--screenshot", "dialog:0:d.png"}, "quillon-runner: --screenshot needs STEP[.N]:FILE.png or dialog:N:FILE.png, not 'dialog:0:d.png'"},
        {{"--screenshot", "dialog:d.png"}, "quillon-runner: --screenshot needs STEP[.N]:FILE.png or dialog:N:FILE.png, not 'dialog:d.png'"},
        {{"--headless=yes"}, "quillon-runner: --headless takes no value"},
        {{"--secure-mode", "yes"}, "quillon-runner: --secure-mode needs on or off, not 'yes'"},
        {{"--fullscreen"}, "quillon-runner: unknown option '--fullscreen' (see --help)"},
        {{"-x"}, "quillon-runner: unknown option '-x' (see --help)"},
        {{"one.dat", "two.dat"}, "quillon-runner: only one game can be given, not 'one.dat' and 'two.dat'"},
    };
    for (const Case& test : cases) {
        auto result = parse(test.arguments);
        ASSERT_TRUE(std::holds_alternative<UsageError>(result)) << test.message;
        EXPECT_EQ(std::get<UsageError>(result).message, test.message);
    }
}

TEST(CommandLine, ScreenshotFolderMustExist)
{
    auto result = parse({"--screenshot", "5:frame.png", "--screenshot", "6:/tmp/frame6.png"});
    ASSERT_TRUE(std::holds_alternative<CommandLine>(result));
    EXPECT_FALSE(check_output_folders(std::get<CommandLine>(result)));

    result = parse({"--screenshot", "5:frame.png", "--screenshot", "6:no-such-folder/frame6.png"});
    ASSERT_TRUE(std::holds_alternative<CommandLine>(result));
    auto error = check_output_folders(std::get<CommandLine>(result));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message,
        "quillon-runner: the folder of the screenshot 'no-such-folder/frame6.png' does not exist");
}

TEST(CommandLine, TheDebuggerOptionsEachTurnDebugModeOn)
{
    EXPECT_FALSE(std::get<CommandLine>(parse({"game.dat"})).debug);
    EXPECT_TRUE(std::get<CommandLine>(parse({"--debug"})).debug);
    auto line = std::get<CommandLine>(parse({"--debug-commands", "cmds.txt"}));
    EXPECT_TRUE(line.debug);
    EXPECT_EQ(line.debug_commands_file, std::filesystem::path("cmds.txt"));
    line = std::get<CommandLine>(parse({"--debug-output=texts.txt"}));
    EXPECT_TRUE(line.debug);
    EXPECT_EQ(line.debug_output_file, std::filesystem::path("texts.txt"));
    EXPECT_EQ(std::get<UsageError>(parse({"--debug-commands"})).message,
        "quillon-runner: --debug-commands needs a file name");
    EXPECT_EQ(std::get<UsageError>(parse({"--debug=1"})).message, "quillon-runner: --debug takes no value");
}
