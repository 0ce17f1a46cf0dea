// DirectoryChooser: the runner's own folder selection: the folder's path, its subfolders and the buttons;
// Enter or a double click goes into a folder, Backspace goes up (never above the root), OK chooses the folder
// shown.
#pragma once

#include "dialogs/chooser_form.h"
#include "dialogs/folder_browser.h"
#include "dialogs/form_widgets.h"

#include <filesystem>
#include <string>

namespace quillon {

class DirectoryChooser final : public ChooserForm {
public:
    // The caption is the game's (empty: "Select Directory"); `offered` is the folder as the game named it, the
    // headless answer when no other is given; browsing starts in `start` and cannot leave `root`.
    DirectoryChooser(std::string_view caption, std::string_view offered, const std::filesystem::path& start,
        const std::filesystem::path& root);

    // Once finished: the chosen folder's whole path (Windows-1252 bytes), or empty when cancelled.
    const std::string& result() const { return m_result; }

    enum class Focus { list, ok, cancel, up };
    Focus focus() const { return m_focus; }
    const FolderBrowser& browser() const { return m_browser; }

    std::string caption() const override { return m_caption; }
    void paint(SurfaceCanvas& canvas) override;
    std::string transcript() const override { return m_caption; }
    void answer(const std::optional<std::string>& line) override;

private:
    void handle_event(const platform::Event& event) override;
    void type(char character);
    void key(int virtual_key);
    void mouse(const platform::Event& event);
    void enter();
    void choose();
    void cancel();

    std::string m_caption;               // the window's caption
    std::string m_offered;               // the folder the game named
    FolderBrowser m_browser;             // the folder shown and its subfolders
    PushButton m_ok, m_cancel, m_up;     // the form's buttons
    Focus m_focus = Focus::list;         // where keys go
    std::string m_result;                // the answer
};

}  // namespace quillon
