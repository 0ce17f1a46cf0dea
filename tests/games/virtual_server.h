// A private X server for tests of real windows: Xvfb on a free display, and the environment that points SDL at it.
#pragma once

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace quillon::testing {

inline std::optional<std::filesystem::path> find_program(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    for (std::size_t start = 0; start <= folders.size();) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        std::filesystem::path candidate = std::filesystem::path(folders.substr(start, end - start)) / name;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return std::nullopt;
}

// An environment variable set for the test's length and put back afterwards.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable()
    {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;                 // the variable
    std::optional<std::string> m_old;   // its value before, if it had one
};

// Xvfb on the first free display number, which it reports through a pipe; stopped when this goes.
class VirtualServer {
public:
    // The screen is WIDTHxHEIGHTxDEPTH.
    explicit VirtualServer(const std::filesystem::path& program, const std::string& screen = "320x240x24")
    {
        int report[2];
        if (pipe(report) != 0)
            return;
        m_pid = fork();
        if (m_pid == 0) {
            close(report[0]);
            std::string fd = std::to_string(report[1]);
            // -noreset: by default the server resets when its last client goes and refuses connections meanwhile,
            // so a test that connects twice in a row could find it away.
            execl(program.c_str(), "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
                "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(report[1]);
        // The server may write the number and its newline apart, and ends if the pipe closes before both.
        std::string number;
        char got = 0;
        while (m_pid > 0 && read(report[0], &got, 1) == 1 && got != '\n')
            number += got;
        close(report[0]);
        if (got == '\n' && !number.empty())
            m_display = ":" + number;
    }
    ~VirtualServer()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    // ":N" once the server is up, empty when it did not start.
    const std::string& display() const { return m_display; }

private:
    pid_t m_pid = -1;        // the server's process
    std::string m_display;   // its display name
};

}  // namespace quillon::testing
