// FolderWatcher through inotify: one watch per folder, and folders made later are added as they appear.
#include "platform/folder_watcher.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>
#include <unordered_map>
#include <utility>

namespace quillon::platform {

namespace {

constexpr std::uint32_t WATCHED_EVENTS =
    IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MODIFY;

class InotifyFolderWatcher : public FolderWatcher {
public:
    InotifyFolderWatcher(int descriptor, std::filesystem::path root) : m_descriptor(descriptor), m_root(std::move(root)) {}
    ~InotifyFolderWatcher() override { ::close(m_descriptor); }

    // Watches a folder below the root (the root itself when relative is empty) and everything below it.
    void watch_tree(const std::string& relative)
    {
        std::filesystem::path folder = relative.empty() ? m_root : m_root / relative;
        add_watch(folder, relative);
        std::error_code error;
        auto options = std::filesystem::directory_options::skip_permission_denied;
        for (std::filesystem::recursive_directory_iterator it(folder, options, error), end; !error && it != end;
             it.increment(error)) {
            if (it->is_directory(error) && !it->is_symlink(error))
                add_watch(it->path(), join(relative, std::filesystem::relative(it->path(), folder).string()));
        }
    }

    bool has_changes() override { return wait(std::chrono::milliseconds(0)); }

    bool wait(std::chrono::milliseconds timeout) override
    {
        read_events();
        if (!m_changes.empty())
            return true;
        pollfd waiting {m_descriptor, POLLIN, 0};
        if (::poll(&waiting, 1, static_cast<int>(timeout.count())) > 0)
            read_events();
        return !m_changes.empty();
    }

    std::vector<std::string> take_changes() override
    {
        read_events();
        return std::exchange(m_changes, {});
    }

private:
    static std::string join(const std::string& folder, const std::string& name)
    {
        return folder.empty() ? name : name.empty() ? folder : folder + "/" + name;
    }

    void add_watch(const std::filesystem::path& folder, const std::string& relative)
    {
        int watch = inotify_add_watch(m_descriptor, folder.c_str(), WATCHED_EVENTS | IN_ONLYDIR | IN_DONT_FOLLOW);
        if (watch >= 0)
            m_folders[watch] = relative;
    }

    // Takes every event that is waiting, without blocking.
    void read_events()
    {
        alignas(inotify_event) std::array<char, 16384> buffer;
        for (;;) {
            ssize_t length = ::read(m_descriptor, buffer.data(), buffer.size());
            if (length <= 0)
                return;
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
                handle(*event);
            }
        }
    }

    void handle(const inotify_event& event)
    {
        if (event.mask & IN_Q_OVERFLOW) {
            note("(too many changes to list)");
            return;
        }
        auto folder = m_folders.find(event.wd);
        if (folder == m_folders.end())
            return;
        if (event.mask & IN_IGNORED) {
            m_folders.erase(folder);
            return;
        }
        std::string name = join(folder->second, event.len > 0 ? std::string(event.name) : std::string());
        if ((event.mask & IN_ISDIR) && (event.mask & (IN_CREATE | IN_MOVED_TO)))
            watch_tree(name);
        if (!name.empty())
            note(name);
    }

    void note(const std::string& name)
    {
        if (std::find(m_changes.begin(), m_changes.end(), name) == m_changes.end())
            m_changes.push_back(name);
    }

    int m_descriptor;                                  // the inotify instance
    std::filesystem::path m_root;                      // the watched folder
    std::unordered_map<int, std::string> m_folders;    // each watch's folder, relative to the root
    std::vector<std::string> m_changes;                // changed files not yet taken
};

}  // namespace

std::unique_ptr<FolderWatcher> FolderWatcher::open(const std::filesystem::path& folder, std::string& error)
{
    std::error_code status;
    if (!std::filesystem::is_directory(folder, status)) {
        error = "'" + folder.string() + "' is not a folder";
        return nullptr;
    }
    int descriptor = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (descriptor < 0) {
        error = std::string("cannot watch '") + folder.string() + "': " + std::strerror(errno);
        return nullptr;
    }
    auto watcher = std::make_unique<InotifyFolderWatcher>(descriptor, folder);
    watcher->watch_tree("");
    return watcher;
}

}  // namespace quillon::platform
