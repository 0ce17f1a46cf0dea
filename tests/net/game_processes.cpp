// GameProcesses: tiny game projects played by separate headless runners.
#include "game_processes.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

namespace quillon::testing {

namespace fs = std::filesystem;

std::uint16_t free_udp_port()
{
    int socket_fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    ::bind(socket_fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(socket_fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(socket_fd);
    return ntohs(address.sin_port);
}

GameProcesses::GameProcesses()
    : m_port(free_udp_port())
{
    static int s_count = 0;
    m_folder
        = fs::temp_directory_path() / ("net_games_" + std::to_string(::getpid()) + "_" + std::to_string(++s_count));
    fs::create_directories(m_folder);
}

GameProcesses::~GameProcesses()
{
    for (Running& running : m_running)
        if (running.pid > 0) {
            ::kill(running.pid, SIGKILL);
            ::waitpid(running.pid, nullptr, 0);
        }
    fs::remove_all(m_folder);
}

void GameProcesses::write_game(const std::string& name, const std::string& create_code, const std::string& step_code)
{
    auto with_port = [this](std::string code) {
        for (std::size_t at = code.find("PORT"); at != std::string::npos; at = code.find("PORT", at))
            code.replace(at, 4, std::to_string(m_port));
        return code;
    };
    fs::path project = m_folder / name;
    fs::create_directories(project / "objects");
    fs::create_directories(project / "rooms");
    nlohmann::json game = { { "game_id", 4242 }, { "guid", "0f1e2d3c4b5a69788796a5b4c3d2e1f0" },
        { "objects", { "main" } }, { "rooms", { "play" } } };
    std::ofstream(project / "game.json") << game.dump(1);
    nlohmann::json room = { { "width", 64 }, { "height", 48 }, { "instances", { { { "object", "main" } } } } };
    std::ofstream(project / "rooms" / "play.json") << room.dump(1);
    nlohmann::json object = { { "events",
        { { { "event", "create" }, { "actions", { { { "code", with_port(create_code) } } } } },
            { { "event", "step" }, { "actions", { { { "code", with_port(step_code) } } } } } } } };
    std::ofstream(project / "objects" / "main.json") << object.dump(1);
}

void GameProcesses::start(const std::string& name)
{
    fs::path project = m_folder / name;
    std::string output = (m_folder / (name + ".out")).string();
    std::string errors = (m_folder / (name + ".err")).string();
    int pid = ::fork();
    if (pid == 0) {
        int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::execl(QUILLON_RUNNER, QUILLON_RUNNER, "--headless", project.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    m_running.push_back({ name, pid, -1 });
}

std::vector<std::string> GameProcesses::lines(const std::string& name) const
{
    std::ifstream file(m_folder / (name + ".out"));
    std::vector<std::string> result;
    for (std::string line; std::getline(file, line);)
        result.push_back(line);
    return result;
}

bool GameProcesses::wait_for_line(const std::string& name, const std::string& line, int timeout_ms)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (std::chrono::steady_clock::now() < deadline) {
        for (const std::string& seen : lines(name))
            if (seen == line)
                return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

bool GameProcesses::wait_all(int timeout_ms)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    bool all_ended = true;
    for (Running& running : m_running) {
        while (running.pid > 0) {
            int status = 0;
            if (::waitpid(running.pid, &status, WNOHANG) == running.pid) {
                running.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
                running.pid = 0;
            } else if (std::chrono::steady_clock::now() >= deadline) {
                ::kill(running.pid, SIGKILL);
                ::waitpid(running.pid, nullptr, 0);
                running.pid = 0;
                all_ended = false;
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        }
    }
    return all_ended;
}

int GameProcesses::exit_status(const std::string& name) const
{
    for (const Running& running : m_running)
        if (running.name == name)
            return running.status;
    return -1;
}

} // namespace quillon::testing
