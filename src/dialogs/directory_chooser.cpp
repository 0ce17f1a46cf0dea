// DirectoryChooser: layout, keys, mouse and answers of the folder selection.
#include "dialogs/directory_chooser.h"

#include <algorithm>
#include <array>

namespace quillon {

namespace fs = std::filesystem;

namespace {

constexpr int WIDTH = 360;
constexpr int HEIGHT = 326;
constexpr SurfaceRect PATH_BOX {10, 8, 296, 30};
constexpr SurfaceRect UP_BUTTON {302, 8, 350, 30};
constexpr SurfaceRect LIST_BOX {10, 38, 350, 280};
constexpr SurfaceRect OK_BUTTON {190, 292, 265, 316};
constexpr SurfaceRect CANCEL_BUTTON {275, 292, 350, 316};
constexpr int STATUS_TOP = 296;

constexpr std::string_view DEFAULT_CAPTION = "Select Directory";
constexpr std::string_view UNREADABLE = "This folder cannot be read.";

constexpr std::array FOCUS_ORDER {DirectoryChooser::Focus::list, DirectoryChooser::Focus::ok,
    DirectoryChooser::Focus::cancel, DirectoryChooser::Focus::up};

}  // namespace

DirectoryChooser::DirectoryChooser(
    std::string_view caption, std::string_view offered, const fs::path& start, const fs::path& root)
    : ChooserForm(WIDTH, HEIGHT)
    , m_caption(caption.empty() ? DEFAULT_CAPTION : caption)
    , m_offered(offered)
    , m_browser(false, root)
{
    m_ok = chooser_button(OK_BUTTON, "OK");
    m_cancel = chooser_button(CANCEL_BUTTON, "Cancel");
    m_up = chooser_button(UP_BUTTON, "Up");
    m_browser.list().set_bounds(LIST_BOX);
    m_browser.open(start);
}

void DirectoryChooser::answer(const std::optional<std::string>& line)
{
    m_result = chosen_name_answer(line, m_offered);
    finish();
}

void DirectoryChooser::handle_event(const platform::Event& event)
{
    using platform::EventKind;
    if (event.kind == EventKind::text) {
        for (char character : event.text)
            type(character);
    } else if (event.kind == EventKind::key_down) {
        key(event.virtual_key);
    } else {
        mouse(event);
    }
    m_ok.focused = m_focus == Focus::ok;
    m_cancel.focused = m_focus == Focus::cancel;
    m_up.focused = m_focus == Focus::up;
}

void DirectoryChooser::type(char character)
{
    if (character == CHAR_TAB) {
        auto at = std::ranges::find(FOCUS_ORDER, m_focus) - FOCUS_ORDER.begin();
        int count = static_cast<int>(FOCUS_ORDER.size());
        m_focus = FOCUS_ORDER[(at + (shift_held() ? -1 : 1) + count) % count];
    } else if (character == CHAR_ENTER) {
        enter();
    } else if (character == CHAR_ESCAPE) {
        cancel();
    } else if (character == CHAR_BACKSPACE) {
        m_browser.up();
    } else if (m_focus == Focus::list && static_cast<unsigned char>(character) > 32) {
        m_browser.list().find_first_letter(character);
    }
}

void DirectoryChooser::key(int virtual_key)
{
    if (m_focus != Focus::list)
        return;
    if (virtual_key == KEY_RIGHT)
        m_browser.open_selected();
    else if (virtual_key == KEY_LEFT)
        m_browser.up();
    else
        m_browser.list().key(virtual_key);
}

void DirectoryChooser::mouse(const platform::Event& event)
{
    using platform::EventKind;
    if (m_ok.handle_mouse(event))
        return choose();
    if (m_cancel.handle_mouse(event))
        return cancel();
    if (m_up.handle_mouse(event)) {
        m_browser.up();
        return;
    }
    ListView& list = m_browser.list();
    if (event.kind == EventKind::mouse_wheel)
        list.wheel(event.wheel);
    else if (event.kind == EventKind::mouse_move)
        list.mouse_move(event.x, event.y);
    else if (event.kind == EventKind::mouse_up)
        list.mouse_up();
    else if (event.kind == EventKind::mouse_down && event.button == platform::MOUSE_LEFT
        && list.bounds().contains(event.x, event.y)) {
        m_focus = Focus::list;
        if (list.mouse_down(event.x, event.y, now_ms()) == ListView::Click::activated)
            m_browser.open_selected();
    }
}

// In the list, Enter goes into the selected folder; with no folder to go into it chooses the one shown.
void DirectoryChooser::enter()
{
    switch (m_focus) {
    case Focus::cancel: return cancel();
    case Focus::up: m_browser.up(); return;
    case Focus::list:
        if (!m_browser.open_selected())
            choose();
        return;
    case Focus::ok: return choose();
    }
}

void DirectoryChooser::choose()
{
    m_result = game_name_of(m_browser.folder());
    finish();
}

void DirectoryChooser::cancel()
{
    m_result.clear();
    finish();
}

void DirectoryChooser::paint(SurfaceCanvas& canvas)
{
    TextEngine& engine = text_engine();
    fill_box(canvas, {0, 0, WIDTH, HEIGHT}, DIALOG_FACE);
    m_browser.paint_path(canvas, PATH_BOX);
    m_browser.list().paint(canvas, m_focus == Focus::list);
    if (!m_browser.readable()) {
        SurfaceCanvas cut = canvas;
        cut.clip = {0, 0, OK_BUTTON.left - 8, HEIGHT};
        engine.draw(cut, engine.font(DIALOG_FONT), DIALOG_TEXT, 0, PATH_BOX.left, STATUS_TOP, UNREADABLE);
    }
    for (const PushButton* button : {&m_ok, &m_cancel, &m_up})
        paint_push_button(canvas, engine, DIALOG_FONT, *button);
    painted();
}

}  // namespace quillon
