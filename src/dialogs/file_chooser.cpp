// FileChooser: layout, keys, mouse and answers of the open and save dialogs.
#include "dialogs/file_chooser.h"

#include "platform/dialog_host.h"
#include "support/game_path.h"

#include <algorithm>
#include <array>

namespace quillon {

namespace fs = std::filesystem;

namespace {

constexpr int WIDTH = 460;
constexpr int HEIGHT = 344;
constexpr SurfaceRect PATH_BOX {72, 8, 396, 30};
constexpr SurfaceRect UP_BUTTON {402, 8, 450, 30};
constexpr SurfaceRect LIST_BOX {10, 38, 450, 238};
constexpr SurfaceRect NAME_BOX {92, 246, 360, 268};
constexpr SurfaceRect OK_BUTTON {370, 246, 450, 268};
constexpr SurfaceRect FILTER_BOX {92, 276, 360, 298};
constexpr SurfaceRect CANCEL_BUTTON {370, 276, 450, 298};
constexpr SurfaceRect YES_BUTTON {290, 310, 360, 332};
constexpr SurfaceRect NO_BUTTON {370, 310, 450, 332};
constexpr int LABEL_LEFT = 10;
constexpr int STATUS_TOP = 314;
constexpr std::size_t LONGEST_LABEL = 260;  // drawn of a filter's label: more never fits

constexpr std::array FOCUS_ORDER {FileChooser::Focus::list, FileChooser::Focus::name, FileChooser::Focus::filter,
    FileChooser::Focus::ok, FileChooser::Focus::cancel, FileChooser::Focus::up};

constexpr std::string_view NOT_FOUND = "File not found.";
constexpr std::string_view NO_FOLDER = "Folder not found.";
constexpr std::string_view UNREADABLE = "This folder cannot be read.";
constexpr std::string_view REPLACE = " already exists. Replace it?";

void draw_text(SurfaceCanvas& canvas, int x, int y, std::string_view text)
{
    TextEngine& engine = text_engine();
    engine.draw(canvas, engine.font(DIALOG_FONT), DIALOG_TEXT, 0, x, y, text);
}

// The top of a label that stands beside a box, centred on it.
int label_top(const SurfaceRect& box)
{
    return box.top + (box.height() - text_engine().line_height(text_engine().font(DIALOG_FONT))) / 2;
}

platform::Event text_event(char character)
{
    return {.kind = platform::EventKind::text, .text = std::string(1, character)};
}

}  // namespace

FileChooser::FileChooser(FileChoice kind, std::string_view filter, std::string_view name, const fs::path& folder)
    : ChooserForm(WIDTH, HEIGHT)
    , m_kind(kind)
    , m_offered(name)
    , m_filters(parse_file_filter(filter))
    , m_browser(true, "/")
{
    m_ok = chooser_button(OK_BUTTON, kind == FileChoice::open ? "Open" : "Save");
    m_cancel = chooser_button(CANCEL_BUTTON, "Cancel");
    m_up = chooser_button(UP_BUTTON, "Up");
    m_yes = chooser_button(YES_BUTTON, "Yes");
    m_no = chooser_button(NO_BUTTON, "No");
    m_yes.focused = true;
    m_browser.list().set_bounds(LIST_BOX);
    m_browser.set_filter(m_filters.empty() ? nullptr : &m_filters[0]);
    m_name.set_text(m_offered, true);
    open_folder(folder);
    sync_focus();
}

std::string FileChooser::caption() const { return m_kind == FileChoice::open ? "Open" : "Save As"; }

void FileChooser::answer(const std::optional<std::string>& line)
{
    m_result = chosen_name_answer(line, m_offered);
    finish();
}

void FileChooser::handle_event(const platform::Event& event)
{
    using platform::EventKind;
    if (event.kind == EventKind::text) {
        for (char character : event.text)
            type(event, character);
    } else if (event.kind == EventKind::key_down) {
        key(event);
    } else {
        mouse(event);
    }
    sync_focus();
}

void FileChooser::type(const platform::Event& event, char character)
{
    if (m_replace) {
        if (character == CHAR_ENTER || character == 'y' || character == 'Y')
            choose(*m_replace);
        else if (character == CHAR_ESCAPE || character == 'n' || character == 'N')
            keep_existing_file();
        return;
    }
    if (character == CHAR_TAB)
        return move_focus(shift_held() ? -1 : 1);
    if (character == CHAR_ENTER)
        return enter();
    if (character == CHAR_ESCAPE)
        return cancel();
    if (m_focus == Focus::list && character == CHAR_BACKSPACE)
        return go_up();
    if (m_focus == Focus::name) {
        m_name.handle(event.text.size() == 1 ? event : text_event(character));
    } else if (m_focus == Focus::list && static_cast<unsigned char>(character) > 32) {
        if (m_browser.list().find_first_letter(character))
            take_selected_name();
    }
}

void FileChooser::key(const platform::Event& event)
{
    if (m_replace)
        return;
    int key = event.virtual_key;
    if (m_focus == Focus::list && m_browser.list().key(key))
        take_selected_name();
    else if (m_focus == Focus::name)
        m_name.handle(event);
    else if (m_focus == Focus::filter && (key == KEY_UP || key == KEY_LEFT))
        next_filter(-1);
    else if (m_focus == Focus::filter && (key == KEY_DOWN || key == KEY_RIGHT))
        next_filter(1);
}

void FileChooser::mouse(const platform::Event& event)
{
    using platform::EventKind;
    if (m_replace) {
        if (m_yes.handle_mouse(event))
            choose(*m_replace);
        else if (m_no.handle_mouse(event))
            keep_existing_file();
        return;
    }
    for (PushButton* button : {&m_ok, &m_cancel, &m_up}) {
        if (button->handle_mouse(event))
            return press_button(*button);
    }
    ListView& list = m_browser.list();
    if (event.kind == EventKind::mouse_wheel)
        return list.wheel(event.wheel);
    if (event.kind == EventKind::mouse_move)
        return list.mouse_move(event.x, event.y);
    if (event.kind == EventKind::mouse_up)
        return list.mouse_up();
    if (event.kind != EventKind::mouse_down || event.button != platform::MOUSE_LEFT)
        return;
    if (list.bounds().contains(event.x, event.y)) {
        m_focus = Focus::list;
        ListView::Click click = list.mouse_down(event.x, event.y, now_ms());
        take_selected_name();
        if (click == ListView::Click::activated)
            enter();
    } else if (NAME_BOX.contains(event.x, event.y)) {
        m_focus = Focus::name;
    } else if (FILTER_BOX.contains(event.x, event.y)) {
        m_focus = Focus::filter;
        next_filter(1);
    }
}

void FileChooser::press_button(PushButton& button)
{
    if (&button == &m_ok)
        accept();
    else if (&button == &m_cancel)
        cancel();
    else
        go_up();
}

void FileChooser::move_focus(int step)
{
    auto at = std::ranges::find(FOCUS_ORDER, m_focus) - FOCUS_ORDER.begin();
    int count = static_cast<int>(FOCUS_ORDER.size());
    m_focus = FOCUS_ORDER[(at + step + count) % count];
    if (m_focus == Focus::name)
        m_name.set_text(m_name.text(), true);
}

void FileChooser::enter()
{
    switch (m_focus) {
    case Focus::cancel: return cancel();
    case Focus::up: return go_up();
    case Focus::list:
        if (m_browser.open_selected())
            return folder_changed();
        return accept();
    default: return accept();
    }
}

// 1. An empty name opens the folder selected in the list, if any.
// 2. A name of a folder (relative to the folder shown, or whole) opens it.
// 3. Opening wants an existing file; saving wants an existing folder, and asks before replacing a file.
void FileChooser::accept()
{
    std::string_view typed = platform::trimmed_answer(m_name.text());
    if (typed.empty()) {
        if (m_browser.open_selected())
            folder_changed();
        return;
    }
    fs::path path = find_game_path_in(m_browser.folder(), typed).lexically_normal();
    std::error_code error;
    if (fs::is_directory(path, error)) {
        open_folder(path);
        m_name.set_text("", false);
        return;
    }
    if (m_kind == FileChoice::open) {
        if (!fs::is_regular_file(path, error)) {
            m_status = NOT_FOUND;
            return;
        }
        return choose(path);
    }
    if (!fs::is_directory(path.parent_path(), error)) {
        m_status = NO_FOLDER;
        return;
    }
    if (fs::exists(path, error)) {
        m_replace = path;
        m_status = game_name_of(path.filename()) + std::string(REPLACE);
        return;
    }
    choose(path);
}

void FileChooser::choose(const fs::path& path)
{
    m_result = game_name_of(path);
    finish();
}

void FileChooser::keep_existing_file()
{
    m_replace.reset();
    m_status.clear();
}

void FileChooser::cancel()
{
    m_result.clear();
    finish();
}

void FileChooser::go_up()
{
    if (m_browser.up())
        folder_changed();
}

void FileChooser::open_folder(const fs::path& folder)
{
    m_browser.open(folder);
    folder_changed();
}

void FileChooser::folder_changed() { m_status = m_browser.readable() ? "" : std::string(UNREADABLE); }

void FileChooser::next_filter(int step)
{
    if (m_filters.empty())
        return;
    int count = static_cast<int>(m_filters.size());
    m_filter = static_cast<std::size_t>((static_cast<int>(m_filter) + step % count + count) % count);
    m_browser.set_filter(&m_filters[m_filter]);
    m_browser.refresh();
}

void FileChooser::take_selected_name()
{
    const FolderEntry* entry = m_browser.selected();
    if (entry && !entry->folder)
        m_name.set_text(entry->name, false);
}

void FileChooser::sync_focus()
{
    m_ok.focused = m_focus == Focus::ok;
    m_cancel.focused = m_focus == Focus::cancel;
    m_up.focused = m_focus == Focus::up;
}

void FileChooser::paint(SurfaceCanvas& canvas)
{
    TextEngine& engine = text_engine();
    fill_box(canvas, {0, 0, WIDTH, HEIGHT}, DIALOG_FACE);
    draw_text(canvas, LABEL_LEFT, label_top(PATH_BOX), m_kind == FileChoice::open ? "Look in:" : "Save in:");
    m_browser.paint_path(canvas, PATH_BOX);
    m_browser.list().paint(canvas, m_focus == Focus::list);
    draw_text(canvas, LABEL_LEFT, label_top(NAME_BOX), "File name:");
    paint_text_field(canvas, engine, NAME_BOX, m_name, {.focused = m_focus == Focus::name && !m_replace});
    draw_text(canvas, LABEL_LEFT, label_top(FILTER_BOX), "Files of type:");
    paint_filter(canvas);
    for (const PushButton* button : {&m_ok, &m_cancel, &m_up})
        paint_push_button(canvas, engine, DIALOG_FONT, *button);
    paint_status(canvas);
    painted();
}

// The choice in use in a box, with a mark that tells that it can be changed.
void FileChooser::paint_filter(SurfaceCanvas& canvas) const
{
    TextField shown;
    paint_text_field(canvas, text_engine(), FILTER_BOX, shown, {.focused = false});
    SurfaceRect inner {FILTER_BOX.left + 4, FILTER_BOX.top + 1, FILTER_BOX.right - 18, FILTER_BOX.bottom - 1};
    if (m_focus == Focus::filter)
        frame_box(canvas, inner, DIALOG_TEXT);
    if (!m_filters.empty()) {
        SurfaceCanvas cut = canvas;
        cut.clip = {std::max(canvas.clip.left, inner.left), std::max(canvas.clip.top, inner.top),
            std::min(canvas.clip.right, inner.right - 1), std::min(canvas.clip.bottom, inner.bottom)};
        std::string_view label = m_filters[m_filter].label;
        draw_text(cut, inner.left + 2, label_top(FILTER_BOX), label.substr(0, LONGEST_LABEL));
    }
    // A small triangle pointing down.
    int middle = FILTER_BOX.right - 10;
    int top = FILTER_BOX.top + FILTER_BOX.height() / 2 - 2;
    for (int row = 0; row < 4; ++row)
        fill_box(canvas, {middle - 3 + row, top + row, middle + 4 - row, top + row + 1}, DIALOG_TEXT);
}

void FileChooser::paint_status(SurfaceCanvas& canvas)
{
    if (m_status.empty())
        return;
    SurfaceCanvas cut = canvas;
    int right = m_replace ? YES_BUTTON.left - 8 : WIDTH - LABEL_LEFT;
    cut.clip = {std::max(canvas.clip.left, 0), std::max(canvas.clip.top, 0), std::min(canvas.clip.right, right),
        std::min(canvas.clip.bottom, HEIGHT)};
    draw_text(cut, LABEL_LEFT, STATUS_TOP, m_status);
    if (!m_replace)
        return;
    for (const PushButton* button : {&m_yes, &m_no})
        paint_push_button(canvas, text_engine(), DIALOG_FONT, *button);
}

}  // namespace quillon
