// Watching a project folder, and every folder below it, for files that change.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace quillon::platform {

class FolderWatcher {
public:
    // Starts watching the folder and the folders below it (symbolic links are not followed, so a link that
    // loops back is harmless); none when the folder cannot be watched, with the reason in error.
    static std::unique_ptr<FolderWatcher> open(const std::filesystem::path& folder, std::string& error);
    virtual ~FolderWatcher() = default;

    // Whether a change is waiting to be taken, without waiting.
    virtual bool has_changes() = 0;
    // Waits up to the timeout for a change; true when one is waiting.
    virtual bool wait(std::chrono::milliseconds timeout) = 0;
    // The files that changed since the last call, relative to the folder, each once and in the order they first
    // changed. A new folder below is watched from then on.
    virtual std::vector<std::string> take_changes() = 0;
};

}  // namespace quillon::platform
