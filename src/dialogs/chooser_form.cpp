// ChooserForm: placement, painting, time and answers shared by the choosers.
#include "dialogs/chooser_form.h"

#include "platform/dialog_host.h"
#include "support/ascii_case.h"
#include "support/win1252.h"

namespace quillon {

ChooserForm::ChooserForm(int width, int height)
    : m_width(width)
    , m_height(height)
{
}

platform::WindowPlacement ChooserForm::placement(platform::ScreenSize screen) const
{
    platform::WindowPlacement placement;
    placement.width = m_width;
    placement.height = m_height;
    placement.left = std::max((screen.width - m_width) / 2, 0);
    placement.top = std::max((screen.height - m_height) / 2, 0);
    placement.caption_buttons = false;
    return placement;
}

int ChooserForm::tick(std::int64_t elapsed_ms)
{
    m_now_ms = elapsed_ms;
    return -1;
}

void ChooserForm::handle(const platform::Event& event)
{
    if ((event.kind == platform::EventKind::key_down || event.kind == platform::EventKind::key_up)
        && event.virtual_key == KEY_SHIFT)
        m_shift = event.kind == platform::EventKind::key_down;
    if (event.kind == platform::EventKind::focus_lost)
        m_shift = false;
    if (event.kind == platform::EventKind::window_close) {
        m_changed = true;
        handle_event(platform::Event {.kind = platform::EventKind::text, .text = std::string(1, CHAR_ESCAPE)});
        return;
    }
    m_changed = true;
    handle_event(event);
}

PushButton chooser_button(const SurfaceRect& bounds, std::string caption)
{
    PushButton button;
    button.bounds = bounds;
    button.caption = std::move(caption);
    return button;
}

bool is_cancel_answer(std::string_view answer) { return equal_ignoring_ascii_case(answer, "<cancel>"); }

std::string chosen_name_answer(const std::optional<std::string>& line, std::string_view offered)
{
    std::string_view answer = line ? platform::trimmed_answer(*line) : std::string_view();
    if (answer.empty())
        return std::string(offered);
    return is_cancel_answer(answer) ? std::string() : utf8_to_win1252(answer);
}

}  // namespace quillon
