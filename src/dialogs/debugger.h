// Debugger: the debug window's state and actions, apart from any toolkit: game control through the loop,
// watches, executed code, the game speed, and the information windows with their texts.
#pragma once

#include "dialogs/debug_info_texts.h"
#include "dialogs/debug_watches.h"
#include "platform/debug_view.h"
#include "world/game_loop.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class Debugger {
public:
    static constexpr std::size_t MAX_LOCAL_WINDOWS = 100;
    // The messages window keeps its newest text only, dropping whole lines from the front beyond this size.
    static constexpr std::size_t MAX_MESSAGES_BYTES = 4 * 1024 * 1024;

    // A short message for the user (a compile error of executed code, a watch file that cannot be read).
    using ShowMessage = std::function<void(std::string_view text)>;

    Debugger(GameLoop& loop, World& world, ShowMessage show_message);

    // The window is shown: game steps refresh everything.
    bool shown() const { return m_shown; }
    void set_shown(bool shown) { m_shown = shown; }
    // Called after every refresh (to write the texts somewhere, say).
    void set_refreshed_hook(std::function<void()> hook) { m_refreshed = std::move(hook); }

    // Carries out one request of the window or of a script; an action that cannot act now does nothing.
    void perform(const platform::DebugRequest& request);
    bool can_perform(platform::DebugAction action) const;

    // 1. Status bar, 2. watches, 3. global variables, 4. local variables, 5. all instances.
    void refresh();
    // The timer's share: the mouse panel and the actions' enabling.
    void refresh_timer();
    // `show_debug_message`: the text and an empty line go to the messages window, made (hidden) when needed.
    void debug_message(std::string_view text);

    // What a window shows; kept current by the refreshes.
    const platform::DebugView& view() const { return m_view; }
    const DebugWatches& watches() const { return m_watches; }

private:
    enum class WindowKind { globals, instances, messages, locals };
    struct InfoWindow {
        WindowKind kind;        // what it shows
        InstanceChoice choice;  // for local variables: the instance looked for
    };

    void control(platform::DebugAction action);
    void watch_request(const platform::DebugRequest& request);
    void execute_code(const std::string& code);
    void set_speed(const std::string& answer);
    void show_window(WindowKind kind);
    void show_local_variables(const std::string& answer);
    int find_window(WindowKind kind) const;
    int make_window(WindowKind kind, std::string_view caption);
    void refresh_window(int index);
    void refresh_status();
    void refresh_watch_rows();

    GameLoop& m_loop;                  // the game controlled
    World& m_world;                    // the game inspected
    ShowMessage m_show_message;        // messages for the user
    std::function<void()> m_refreshed; // told after each refresh
    DebugWatches m_watches;            // the watch rows
    std::vector<InfoWindow> m_windows; // by index, as in m_view.windows
    platform::DebugView m_view;        // the texts shown
    bool m_shown = false;              // the debug window is on screen
};

}  // namespace quillon
