// Other programs that a game starts, through posix_spawn.
#include "platform/process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

extern char** environ;

namespace quillon::platform {

namespace {

// Processes started and not yet collected.
std::vector<pid_t>& running_processes()
{
    static std::vector<pid_t> s_processes;
    return s_processes;
}

void collect_ended()
{
    std::erase_if(running_processes(), [](pid_t process) { return waitpid(process, nullptr, WNOHANG) != 0; });
}

std::optional<int> spawn(const std::string& file, const std::vector<std::string>& words, bool search_path)
{
    collect_ended();
    std::vector<char*> argv;
    for (const std::string& word : words)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    pid_t process = 0;
    int status = search_path ? posix_spawnp(&process, file.c_str(), nullptr, nullptr, argv.data(), environ)
                             : posix_spawn(&process, file.c_str(), nullptr, nullptr, argv.data(), environ);
    if (status != 0)
        return std::nullopt;
    running_processes().push_back(process);
    return process;
}

}  // namespace

std::optional<int> start_program(const std::filesystem::path& program, const std::vector<std::string>& arguments)
{
    std::vector<std::string> words {program.string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    return spawn(program.string(), words, false);
}

bool program_ended(int process)
{
    auto& processes = running_processes();
    auto entry = std::find(processes.begin(), processes.end(), process);
    if (entry == processes.end())
        return true;
    if (waitpid(process, nullptr, WNOHANG) == 0)
        return false;
    processes.erase(entry);
    return true;
}

bool open_with_desktop(const std::string& target)
{
    return spawn("xdg-open", {"xdg-open", target}, true).has_value();
}

}  // namespace quillon::platform
