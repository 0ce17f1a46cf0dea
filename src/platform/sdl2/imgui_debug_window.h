// ImguiDebugWindow: the debug window and its information windows drawn with Dear ImGui in SDL windows of their own.
#pragma once

#include "platform/debug_view.h"
#include "platform/sdl2/imgui_window_host.h"

#include <memory>
#include <string>
#include <vector>

namespace quillon::platform {

class ImguiDebugWindow final : public DebugWindow {
public:
    static constexpr int LEFT = 10;     // the window's place on the screen
    static constexpr int TOP = 10;
    static constexpr int WIDTH = 480;
    static constexpr int HEIGHT = 360;

    bool open() override;
    void close() override;
    void update(const DebugView& view, std::vector<DebugRequest>& requests) override;

private:
    // An information window and the UTF-8 form of what it shows.
    struct InfoWindow {
        ImguiWindowHost host;     // its SDL window
        std::string caption;      // the caption set, in the game's bytes
        std::string source;       // the text converted last, in the game's bytes
        std::string text;         // that text in UTF-8
    };

    void draw_main(const DebugView& view, std::vector<DebugRequest>& requests);
    void draw_menus(const DebugView& view, std::vector<DebugRequest>& requests);
    void draw_tool_bar(const DebugView& view, std::vector<DebugRequest>& requests);
    void draw_watch_grid(const DebugView& view, std::vector<DebugRequest>& requests);
    void draw_status_bar(const DebugView& view);
    void draw_question(std::vector<DebugRequest>& requests);
    bool action_item(const DebugView& view, DebugAction action, bool button);
    void choose(const DebugView& view, DebugAction action, std::vector<DebugRequest>& requests);
    void update_info_windows(const DebugView& view, std::vector<DebugRequest>& requests);

    ImguiWindowHost m_main;                            // the debug window itself
    std::vector<std::unique_ptr<InfoWindow>> m_info;   // by index, as in the view; none until first shown
    int m_selected = 0;                                // the selected watch row (the count: the empty last row)
    // The question being asked: for which action, its caption and prompt, the answer typed so far (UTF-8).
    bool m_asking = false;
    bool m_open_question = false;
    DebugAction m_question_action = DebugAction::run;
    int m_question_row = -1;
    std::string m_question_caption;
    std::string m_question_prompt;
    std::string m_answer;
};

}  // namespace quillon::platform
