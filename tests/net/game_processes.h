// GameProcesses: tiny game projects written to a folder and played by separate headless runners, each with
// its debug messages on its own standard output; a free UDP port for their sessions.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quillon::testing {

class GameProcesses {
public:
    GameProcesses();
    ~GameProcesses(); // stops what still runs and removes the folder

    // A game of one instance with this Create and Step code. "PORT" in the code stands for the session port.
    void write_game(const std::string& name, const std::string& create_code, const std::string& step_code);
    // Starts a runner on the game; its output goes to <name>.out.
    void start(const std::string& name);
    // Waits until the game's output holds the line, or the time runs out.
    bool wait_for_line(const std::string& name, const std::string& line, int timeout_ms = 15000);
    // Waits for every started runner to end; false when one is still running after the time (it is killed).
    bool wait_all(int timeout_ms = 30000);
    // The exit status of a game's runner after wait_all, -1 when it did not end by itself.
    int exit_status(const std::string& name) const;
    std::vector<std::string> lines(const std::string& name) const;

    std::uint16_t port() const { return m_port; }
    const std::filesystem::path& folder() const { return m_folder; }

private:
    struct Running {
        std::string name; // the game
        int pid = 0; // its runner
        int status = -1; // its exit status once ended
    };

    std::filesystem::path m_folder; // projects and outputs
    std::uint16_t m_port = 0; // the sessions' port
    std::vector<Running> m_running; // runners started
};

// A UDP port that was free a moment ago.
std::uint16_t free_udp_port();

} // namespace quillon::testing
