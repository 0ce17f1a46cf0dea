// The error routine and its formatters.
#include "code/errors.h"

#include "code/host.h"
#include "support/terminal_text.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace quillon {

void ErrorReporter::reset()
{
    m_error_last.clear();
    m_error_occurred = false;
    m_pending = false;
    m_prefixes.clear();
    m_aborted = false;
    m_first_log_write = true;
    m_code_error.clear();
}

std::string ErrorReporter::code_error_text() const
{
    std::string text;
    for (auto prefix = m_prefixes.rbegin(); prefix != m_prefixes.rend(); ++prefix)
        text += *prefix;
    return text + m_code_error;
}

void ErrorReporter::report(const std::string& text, bool fatal)
{
    // 1. After a fatal error everything is ignored.
    if (m_aborted)
        return;
    // 2. The game may make every error fatal.
    fatal = fatal || m_settings.abort_on_errors;
    // 3. The dialog, unless exclusive mode hides it while the game runs; Abort makes the error fatal.
    if (m_settings.display_errors && (!m_settings.exclusive_mode || !host().game_running()))
        show(text, fatal);
    // 4. The log.
    if (m_settings.log_errors)
        log(text);
    // 5. The error variables.
    m_error_last = text;
    m_error_occurred = true;
    // 6. A fatal error ends the game.
    if (fatal) {
        m_aborted = true;
        host().end_game();
    }
}

void ErrorReporter::show(const std::string& text, bool& fatal)
{
    if (!m_dialog) {
        write_terminal_line(stderr, text);
        return;
    }
    if (m_dialog(text, fatal) == ErrorChoice::abort)
        fatal = true;
}

void ErrorReporter::log(const std::string& text)
{
    std::ofstream file(m_log_path, std::ios::binary | (m_first_log_write ? std::ios::trunc : std::ios::app));
    if (file)
        file << text << "\r\n\r\n\r\n";
    m_first_log_write = false;
}

std::string ErrorReporter::context_text(const std::string& text, bool fatal) const
{
    std::string number = std::to_string(m_context.action + 1);
    std::string prefix = fatal ? "FATAL ERROR in\r\naction number " : "ERROR in\r\naction number ";
    prefix += number + "\r\n";
    if (m_context.event_type == ErrorContext::TIME_LINE_EVENT)
        prefix += "at time step " + std::to_string(m_context.event_number) + "\r\nof time line " +
                  host().timeline_name(m_context.object);
    else
        prefix += "of " + host().event_name(m_context.event_type, m_context.event_number) + "\r\nfor object " +
                  host().object_name(m_context.object);
    return prefix + ":\r\n\r\n" + text;
}

void ErrorReporter::report_in_context(const std::string& text, bool fatal)
{
    report(context_text(text, fatal), fatal);
}

void ErrorReporter::code_error(std::string_view text, bool expression, std::int32_t position, std::string_view message)
{
    if (m_pending)
        return;
    m_pending = true;
    m_prefixes.clear();
    // 1. Clamp the position into the text.
    std::size_t at = static_cast<std::size_t>(std::max<std::int32_t>(position, 1));
    at = std::min(at, text.size());
    // 2. Line and column: carriage returns among the first `at` characters.
    std::string_view before = text.substr(0, at);
    std::size_t line = 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\r'));
    std::size_t last_return = before.rfind('\r');
    std::size_t line_start = last_return == std::string_view::npos ? 0 : last_return + 1;
    std::size_t column = at - line_start;
    // 3. The line's text runs to the next carriage return.
    std::size_t line_end = text.find('\r', line_start);
    std::string_view line_text = text.substr(line_start, line_end == std::string_view::npos ? text.npos : line_end - line_start);
    m_spot = {static_cast<std::int32_t>(line), static_cast<std::int32_t>(column), std::string(message)};
    // 4. The two layouts.
    if (expression)
        m_code_error = "Error in expression:" + std::string(text) + "\r position " + std::to_string(column) + ": " +
                       std::string(message);
    else
        m_code_error = "Error in code at line " + std::to_string(line) + ":\r   " + std::string(line_text) +
                       "\r\rat position " + std::to_string(column) + ": " + std::string(message);
}

}  // namespace quillon
