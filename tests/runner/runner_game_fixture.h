// A fixture that plays a built game through the runner, headless, and gives what it printed and the texts of
// the message boxes it showed.
#pragma once

#include "game_builder.h"
#include "platform/headless/headless_dialog_host.h"
#include "runner/runner.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>

namespace quillon::testing {

class RunnerGameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = std::filesystem::temp_directory_path()
            / (std::string(::testing::UnitTest::GetInstance()->current_test_suite()->name()) + "_"
                + std::to_string(::getpid()));
        std::filesystem::create_directories(m_folder);
        m_platform = platform::create_platform("headless");
        m_platform->dialogs = std::make_unique<platform::HeadlessDialogHost>(m_messages);
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    // Plays the game headless for some steps and gives what it printed.
    std::string play(const GameBuilder& builder, std::int64_t steps = 1)
    {
        CommandLine command_line;
        command_line.game = m_folder / "game.bin";
        builder.write(*command_line.game);
        command_line.headless = true;
        command_line.steps = steps;
        command_line.seed = 7;
        Runner runner(*m_platform, command_line);
        ::testing::internal::CaptureStdout();
        runner.run();
        return ::testing::internal::GetCapturedStdout();
    }

    std::filesystem::path m_folder;                    // the game file
    std::ostringstream m_messages;                     // the message boxes' texts
    std::unique_ptr<platform::Platform> m_platform;    // headless services
};

}  // namespace quillon::testing
