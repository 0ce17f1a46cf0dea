// ImguiDebugWindow: the debug window and its information windows drawn with Dear ImGui.
#include "platform/sdl2/imgui_debug_window.h"

#include "support/win1252.h"

#include <imgui.h>
#include <imgui_stdlib.h>

#include <algorithm>

namespace quillon::platform {

namespace {

constexpr int INFO_LEFT = 500;      // the first information window's place, right of the debug window
constexpr int INFO_TOP = 10;
constexpr int INFO_STEP = 24;      // later ones step down and right
constexpr int INFO_WIDTH = 420;
constexpr int INFO_HEIGHT = 480;

// The menus of the main menu and the actions in each.
struct Menu {
    const char* title;                    // the menu's caption
    std::vector<DebugAction> actions;     // in order
};

const Menu MENUS[] = {
    {"Game", {DebugAction::run, DebugAction::pause, DebugAction::step, DebugAction::restart, DebugAction::stop,
                 DebugAction::set_speed}},
    {"Watches", {DebugAction::watch_add, DebugAction::watch_change, DebugAction::watch_delete,
                    DebugAction::watch_clear, DebugAction::watch_load, DebugAction::watch_save}},
    {"Tools", {DebugAction::execute_code, DebugAction::show_globals, DebugAction::show_instances,
                  DebugAction::show_locals, DebugAction::show_messages}},
};

// A caption as shown: the ampersand that marks the access key is not drawn ("&&" is one ampersand).
std::string shown_caption(std::string_view caption)
{
    std::string shown;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        shown += caption[i];
    }
    return shown;
}

std::string label(const DebugActionView& action, DebugAction id)
{
    return shown_caption(action.caption) + "##" + std::to_string(static_cast<int>(id));
}

}  // namespace

bool ImguiDebugWindow::open()
{
    if (!m_main.open("Debug Information", LEFT, TOP, WIDTH, HEIGHT))
        return false;
    m_main.set_visible(true);
    return true;
}

void ImguiDebugWindow::close()
{
    m_info.clear();
    m_main.close();
}

void ImguiDebugWindow::update(const DebugView& view, std::vector<DebugRequest>& requests)
{
    if (!m_main.is_open())
        return;
    // Closing the debug window ends the game.
    if (m_main.take_close_request())
        requests.push_back({DebugAction::stop, -1, {}});
    draw_main(view, requests);
    update_info_windows(view, requests);
}

void ImguiDebugWindow::draw_main(const DebugView& view, std::vector<DebugRequest>& requests)
{
    m_main.begin_frame();
    const ImGuiViewport* screen = ImGui::GetMainViewport();
    ImGui::SetNextWindowPos(screen->Pos);
    ImGui::SetNextWindowSize(screen->Size);
    ImGui::Begin("##debug", nullptr,
        ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_MenuBar
            | ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoBringToFrontOnFocus);
    draw_menus(view, requests);
    draw_tool_bar(view, requests);
    draw_watch_grid(view, requests);
    draw_status_bar(view);
    draw_question(requests);
    ImGui::End();
    m_main.end_frame();
}

// A menu item or tool bar button with its hint; true when chosen.
bool ImguiDebugWindow::action_item(const DebugView& view, DebugAction action, bool button)
{
    const DebugActionView& shown = view.actions[static_cast<std::size_t>(action)];
    std::string text = label(shown, action);
    bool chosen = false;
    ImGui::BeginDisabled(!shown.enabled || m_asking);
    chosen = button ? ImGui::Button(text.c_str()) : ImGui::MenuItem(text.c_str());
    ImGui::EndDisabled();
    if (!shown.hint.empty() && ImGui::IsItemHovered(ImGuiHoveredFlags_AllowWhenDisabled))
        ImGui::SetTooltip("%s", win1252_to_utf8(shown.hint).c_str());
    return chosen;
}

void ImguiDebugWindow::draw_menus(const DebugView& view, std::vector<DebugRequest>& requests)
{
    if (!ImGui::BeginMenuBar())
        return;
    for (const Menu& menu : MENUS) {
        if (!ImGui::BeginMenu(menu.title))
            continue;
        for (DebugAction action : menu.actions)
            if (action_item(view, action, false))
                choose(view, action, requests);
        ImGui::EndMenu();
    }
    ImGui::EndMenuBar();
}

void ImguiDebugWindow::draw_tool_bar(const DebugView& view, std::vector<DebugRequest>& requests)
{
    bool first = true;
    for (std::size_t i = 0; i < DEBUG_ACTION_COUNT; ++i) {
        auto action = static_cast<DebugAction>(i);
        if (!view.actions[i].on_tool_bar)
            continue;
        if (!first)
            ImGui::SameLine(0, action == DebugAction::watch_add ? 16.0f : -1.0f);
        first = false;
        if (action_item(view, action, true))
            choose(view, action, requests);
    }
}

void ImguiDebugWindow::draw_watch_grid(const DebugView& view, std::vector<DebugRequest>& requests)
{
    int rows = static_cast<int>(view.expressions.size());
    m_selected = std::clamp(m_selected, 0, rows);
    float status_height = ImGui::GetFrameHeightWithSpacing();
    ImGuiTableFlags flags = ImGuiTableFlags_Borders | ImGuiTableFlags_RowBg | ImGuiTableFlags_Resizable
        | ImGuiTableFlags_ScrollY;
    if (!ImGui::BeginTable("watches", 2, flags, ImVec2(0, -status_height)))
        return;
    ImGui::TableSetupScrollFreeze(0, 1);
    ImGui::TableSetupColumn("Expression");
    ImGui::TableSetupColumn("Value");
    ImGui::TableHeadersRow();
    // Every watch, then the empty last row, which Change turns into a new watch.
    for (int row = 0; row <= rows; ++row) {
        ImGui::TableNextRow();
        ImGui::TableNextColumn();
        ImGui::PushID(row);
        std::string expression = row < rows ? win1252_to_utf8(view.expressions[row]) : std::string();
        if (ImGui::Selectable((expression + "##row").c_str(), m_selected == row,
                ImGuiSelectableFlags_SpanAllColumns | ImGuiSelectableFlags_AllowDoubleClick)) {
            m_selected = row;
            if (ImGui::IsMouseDoubleClicked(ImGuiMouseButton_Left) && !m_asking)
                choose(view, DebugAction::watch_change, requests);
        }
        ImGui::PopID();
        ImGui::TableNextColumn();
        if (row < rows)
            ImGui::TextUnformatted(win1252_to_utf8(view.values[row]).c_str());
    }
    ImGui::EndTable();
}

void ImguiDebugWindow::draw_status_bar(const DebugView& view)
{
    ImGui::Separator();
    float panel = ImGui::GetContentRegionAvail().x / 3;
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            ImGui::SameLine(panel * i);
        ImGui::TextUnformatted(win1252_to_utf8(view.status[i]).c_str());
    }
}

// Carries out a chosen action, asking its question first when it has one.
void ImguiDebugWindow::choose(const DebugView& view, DebugAction action, std::vector<DebugRequest>& requests)
{
    const DebugActionView& shown = view.actions[static_cast<std::size_t>(action)];
    bool on_watch_row = action == DebugAction::watch_change || action == DebugAction::watch_delete;
    int row = on_watch_row ? m_selected : -1;
    int rows = static_cast<int>(view.expressions.size());
    if (shown.question_caption.empty()) {
        requests.push_back({action, row, {}});
        return;
    }
    m_asking = true;
    m_open_question = true;
    m_question_action = action;
    m_question_row = row;
    m_question_caption = win1252_to_utf8(shown.question_caption) + "##question";
    m_question_prompt = win1252_to_utf8(shown.question_prompt);
    m_answer.clear();
    if (action == DebugAction::watch_change && row < rows)
        m_answer = win1252_to_utf8(view.expressions[row]);
    else if (action == DebugAction::execute_code)
        m_answer = win1252_to_utf8(view.remembered_code);
    else if (action == DebugAction::set_speed)
        m_answer = win1252_to_utf8(view.speed);
}

void ImguiDebugWindow::draw_question(std::vector<DebugRequest>& requests)
{
    if (!m_asking)
        return;
    if (m_open_question) {
        ImGui::OpenPopup(m_question_caption.c_str());
        m_open_question = false;
    }
    ImGui::SetNextWindowSize(ImVec2(ImGui::GetMainViewport()->Size.x * 0.9f, 0));
    if (!ImGui::BeginPopupModal(m_question_caption.c_str(), nullptr, ImGuiWindowFlags_NoSavedSettings)) {
        m_asking = false;
        return;
    }
    ImGui::TextUnformatted(m_question_prompt.c_str());
    if (ImGui::IsWindowAppearing())
        ImGui::SetKeyboardFocusHere();
    bool done = false;
    if (m_question_action == DebugAction::execute_code)
        ImGui::InputTextMultiline("##answer", &m_answer, ImVec2(-1, ImGui::GetTextLineHeight() * 8));
    else
        done = ImGui::InputText("##answer", &m_answer, ImGuiInputTextFlags_EnterReturnsTrue);
    done = ImGui::Button("OK") || done;
    ImGui::SameLine();
    bool cancelled = ImGui::Button("Cancel") || ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Escape));
    if (done) {
        // Game code separates lines with carriage returns.
        std::string answer = utf8_to_win1252(m_answer);
        if (m_question_action == DebugAction::execute_code)
            std::replace(answer.begin(), answer.end(), '\n', '\r');
        requests.push_back({m_question_action, m_question_row, std::move(answer)});
    }
    if (done || cancelled) {
        m_asking = false;
        ImGui::CloseCurrentPopup();
    }
    ImGui::EndPopup();
}

void ImguiDebugWindow::update_info_windows(const DebugView& view, std::vector<DebugRequest>& requests)
{
    if (m_info.size() < view.windows.size())
        m_info.resize(view.windows.size());
    for (std::size_t i = 0; i < view.windows.size(); ++i) {
        const DebugInfoView& shown = view.windows[i];
        // A window is made the first time it is shown.
        if (!m_info[i]) {
            if (!shown.shown)
                continue;
            auto window = std::make_unique<InfoWindow>();
            int offset = INFO_STEP * static_cast<int>(i % 10);
            if (!window->host.open(win1252_to_utf8(shown.caption), INFO_LEFT + offset, INFO_TOP + offset,
                    INFO_WIDTH, INFO_HEIGHT))
                continue;
            window->caption = shown.caption;
            m_info[i] = std::move(window);
        }
        InfoWindow& info = *m_info[i];
        if (info.host.take_close_request()) {
            requests.push_back({DebugAction::hide_window, static_cast<int>(i), {}});
            info.host.set_visible(false);
            continue;
        }
        info.host.set_visible(shown.shown);
        if (!shown.shown)
            continue;
        if (info.caption != shown.caption) {
            info.caption = shown.caption;
            info.host.set_caption(win1252_to_utf8(shown.caption));
        }
        if (info.source != shown.text) {
            info.source = shown.text;
            info.text = win1252_to_utf8(shown.text);
        }
        info.host.begin_frame();
        const ImGuiViewport* screen = ImGui::GetMainViewport();
        ImGui::SetNextWindowPos(screen->Pos);
        ImGui::SetNextWindowSize(screen->Size);
        ImGui::Begin("##info", nullptr, ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove
                | ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_AlwaysVerticalScrollbar);
        ImGui::TextUnformatted(info.text.data(), info.text.data() + info.text.size());
        ImGui::End();
        info.host.end_frame();
    }
}

}  // namespace quillon::platform
