// FileChooser: the runner's own open and save dialogs: the folder's path, its folders and filtered files, a
// file name field, the filter's choices and the buttons, with keys, mouse and, for saving over an existing
// file, a question whether to replace it.
#pragma once

#include "dialogs/chooser_form.h"
#include "dialogs/folder_browser.h"
#include "dialogs/form_widgets.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

enum class FileChoice { open, save };

class FileChooser final : public ChooserForm {
public:
    // The filter and the offered name are the game's ("label|pattern|...", Windows-1252); browsing starts in
    // the folder.
    FileChooser(FileChoice kind, std::string_view filter, std::string_view name, const std::filesystem::path& folder);

    // Once finished: the chosen file's whole path (Windows-1252 bytes), or empty when cancelled.
    const std::string& result() const { return m_result; }

    // What the form shows, for tests and the keyboard's sake.
    enum class Focus { list, name, filter, ok, cancel, up };
    Focus focus() const { return m_focus; }
    const FolderBrowser& browser() const { return m_browser; }
    const std::string& typed_name() const { return m_name.text(); }
    const std::string& status() const { return m_status; }
    bool asking_to_replace() const { return m_replace.has_value(); }

    std::string caption() const override;
    void paint(SurfaceCanvas& canvas) override;
    std::string transcript() const override { return caption(); }
    void answer(const std::optional<std::string>& line) override;

private:
    void handle_event(const platform::Event& event) override;
    void type(const platform::Event& event, char character);
    void key(const platform::Event& event);
    void mouse(const platform::Event& event);
    void press_button(PushButton& button);
    void move_focus(int step);
    void enter();
    void accept();
    void choose(const std::filesystem::path& path);
    void keep_existing_file();
    void cancel();
    void go_up();
    void open_folder(const std::filesystem::path& folder);
    void folder_changed();
    void next_filter(int step);
    void take_selected_name();
    void paint_filter(SurfaceCanvas& canvas) const;
    void paint_status(SurfaceCanvas& canvas);
    void sync_focus();

    FileChoice m_kind;                        // open or save
    std::string m_offered;                    // the name the game offered
    std::vector<FileFilter> m_filters;        // the filter's choices; none lets every file through
    std::size_t m_filter = 0;                 // the choice in use
    FolderBrowser m_browser;                  // the folder and its list
    TextField m_name;                         // the file name typed or picked
    PushButton m_ok, m_cancel, m_up;          // the form's buttons
    PushButton m_yes, m_no;                   // the answers to the question whether to replace
    Focus m_focus = Focus::name;              // where keys go
    std::string m_status;                     // a line on what went wrong, empty when all is well
    std::optional<std::filesystem::path> m_replace;  // the existing file that saving would replace
    std::string m_result;                     // the answer
};

}  // namespace quillon
