// Clipboard: the text of the window system's clipboard, or a clipboard of the run's own when headless.
#pragma once

#include <string>
#include <string_view>

namespace quillon::platform {

class Clipboard {
public:
    virtual ~Clipboard() = default;

    // Whether the clipboard holds text.
    virtual bool has_text() = 0;
    // The clipboard's text as Windows-1252 bytes; empty when it holds none.
    virtual std::string text() = 0;
    // Puts the text (Windows-1252 bytes) on the clipboard.
    virtual void set_text(std::string_view text) = 0;
};

} // namespace quillon::platform
