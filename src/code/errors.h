// The error routine of game code: dialog, log file, error variables, fatal errors, and the two formatters.
#pragma once

#include "code/language_settings.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

enum class ErrorChoice { abort, ignore };

// Shows an error; a fatal one offers Abort alone, any other Abort and Ignore. Installed by the runner
// with the platform's message box; the default writes to standard error and ignores.
using ErrorDialog = std::function<ErrorChoice(const std::string& text, bool fatal)>;

// Where in the game code runs, kept by the event and time line machinery.
struct ErrorContext {
    static constexpr std::int32_t TIME_LINE_EVENT = 100000;  // event type of a time line moment

    std::int32_t object = -1;      // current object index, or the time line's index for a moment
    std::int32_t event_type = 0;   // current event type, or TIME_LINE_EVENT
    std::int32_t event_number = 0; // current event number, or the time line step
    std::int32_t action = 0;       // current action index, 0-based
};

class ErrorReporter {
public:
    LanguageSettings m_settings;   // filled by the runner from the game settings
    ErrorContext m_context;        // the place reported by report_in_context
    std::string m_error_last;      // `error_last`: the text of the last reported error
    bool m_error_occurred = false; // `error_occurred`: set by every reported error

    void set_dialog(ErrorDialog dialog) { m_dialog = std::move(dialog); }
    void set_log_path(std::filesystem::path path) { m_log_path = std::move(path); }

    // Shows, logs and records the text; a fatal error ends the game and silences every later error.
    void report(const std::string& text, bool fatal);
    // Prefixes the place in the game (action, event or time line step, object) and reports.
    void report_in_context(const std::string& text, bool fatal);
    std::string context_text(const std::string& text, bool fatal) const;

    // Formats an error at a 1-based position of code text; kept until reported. While one is pending
    // later ones are ignored, so only the first error of a compilation or run is reported.
    void code_error(std::string_view code_text, bool expression, std::int32_t position, std::string_view message);
    bool code_error_pending() const { return m_pending; }
    // Where the pending error is: the 1-based line and column of its text, and the bare message.
    struct CodeErrorSpot {
        std::int32_t line = 0;
        std::int32_t column = 0;
        std::string message;
    };
    const CodeErrorSpot& code_error_spot() const { return m_spot; }
    // The pending error with its prefixes, outermost first.
    std::string code_error_text() const;
    void clear_code_error()
    {
        m_pending = false;
        m_prefixes.clear();
    }
    // Puts text in front of the pending code error (the "In script" lines of nested failures); the
    // prefixes are kept apart so that a failure deep in recursion costs linear time.
    void prefix_code_error(std::string prefix) { m_prefixes.push_back(std::move(prefix)); }

    bool aborted() const { return m_aborted; }
    // Back to the state of a fresh run: nothing pending, not aborted, log not yet written.
    void reset();

private:
    void show(const std::string& text, bool& fatal);
    void log(const std::string& text);

    ErrorDialog m_dialog;                               // the dialog hook, or none for the default
    std::filesystem::path m_log_path = "game_errors.log";  // the log file
    std::string m_code_error;                           // the pending code error's text
    CodeErrorSpot m_spot;                               // its place and message
    std::vector<std::string> m_prefixes;                // its prefixes, innermost first
    bool m_pending = false;                             // a code error waits to be reported
    bool m_aborted = false;                             // a fatal error happened
    bool m_first_log_write = true;                      // the log is created afresh at its first write
};

// The one error routine of the process.
inline ErrorReporter& errors()
{
    static ErrorReporter s_errors;
    return s_errors;
}

}  // namespace quillon
