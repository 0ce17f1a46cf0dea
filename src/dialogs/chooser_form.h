// ChooserForm: what the colour, file and directory choosers have in common as forms: a fixed size centred on
// the screen, painting only after a change, the time for double clicks, the Shift key for Shift+Tab, and the
// way their headless answers read.
#pragma once

#include "dialogs/form.h"
#include "dialogs/form_widgets.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

class ChooserForm : public Form {
public:
    platform::WindowPlacement placement(platform::ScreenSize screen) const override;
    int tick(std::int64_t elapsed_ms) override;
    bool needs_paint() const override { return m_changed; }
    bool finished() const override { return m_finished; }
    void handle(const platform::Event& event) final;
    std::string answer_note() const override { return m_note; }

protected:
    ChooserForm(int width, int height);

    // The event, after Shift has been followed; every event counts as a change to paint.
    virtual void handle_event(const platform::Event& event) = 0;
    void finish() { m_finished = true; }
    void painted() { m_changed = false; }
    void set_note(std::string note) { m_note = std::move(note); }
    bool shift_held() const { return m_shift; }
    // Milliseconds since the form opened, as the last tick told.
    std::int64_t now_ms() const { return m_now_ms; }

    int width() const { return m_width; }
    int height() const { return m_height; }

private:
    int m_width;              // the client area, pixels
    int m_height;
    bool m_finished = false;  // the form has its answer
    bool m_changed = true;    // something changed since the last paint
    bool m_shift = false;     // a Shift key is down
    std::int64_t m_now_ms = 0;
    std::string m_note;       // a remark on an answer line that could not be used
};

// A push button of a chooser.
PushButton chooser_button(const SurfaceRect& bounds, std::string caption);

// A headless answer line that names a file or folder: the line (UTF-8, spaces around it left out) in the
// game's code page; an empty line, or none, keeps the offered name; "<cancel>" gives the empty string.
std::string chosen_name_answer(const std::optional<std::string>& line, std::string_view offered);
// Whether the answer is "<cancel>", letter case ignored.
bool is_cancel_answer(std::string_view answer);

}  // namespace quillon
