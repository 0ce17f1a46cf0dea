// FormHost: runs the runner's own dialogs modally, in a form window when there is a window system, or
// headless through the answers script.
#pragma once

#include "dialogs/form.h"
#include "platform/dialog_host.h"
#include "platform/form_window.h"

#include <functional>
#include <memory>

namespace quillon {

class FormHost {
public:
    // Forms open in windows made by make_window; without it (headless) their transcripts go to the dialog
    // host's log and the answers come from its script.
    FormHost(platform::DialogHost& dialogs, std::function<std::unique_ptr<platform::FormWindow>()> make_window);

    // Shows the form and returns when it has finished.
    void run(Form& form);

    // Hears of every form as it opens, before it shows or takes its answer, with its number in the run (from 1).
    using OpenObserver = std::function<void(int number, Form& form)>;
    void set_open_observer(OpenObserver observer) { m_open_observer = std::move(observer); }

    // Whether the game shows the mouse pointer over its window, for the forms that follow it; shown when unset.
    void set_game_pointer(std::function<bool()> shown) { m_game_pointer = std::move(shown); }

private:
    void run_in_window(Form& form, platform::FormWindow& window);

    platform::DialogHost& m_dialogs;                                         // the log and answers when headless
    std::function<std::unique_ptr<platform::FormWindow>()> m_make_window;    // empty when headless
    OpenObserver m_open_observer;                                            // may be empty
    std::function<bool()> m_game_pointer;                                    // may be empty
    int m_opened = 0;                                                        // forms run so far
};

}  // namespace quillon
