// MemoryClipboard: the headless clipboard, which keeps its text for the run and starts empty.
#pragma once

#include "platform/clipboard.h"

namespace quillon::platform {

class MemoryClipboard final : public Clipboard {
public:
    bool has_text() override { return m_has_text; }
    std::string text() override { return m_text; }
    void set_text(std::string_view text) override
    {
        m_text = text;
        m_has_text = true;
    }

private:
    std::string m_text; // the text put on the clipboard
    bool m_has_text = false; // set_text was called
};

} // namespace quillon::platform
