// The script record of the game file: the text of one script, compiled later by the language.
#pragma once

#include "support/stream.h"

#include <string>

namespace quillon {

constexpr std::int32_t SCRIPT_LIST_VERSION = 400;
constexpr std::int32_t SCRIPT_VERSION = 400;

struct ScriptSource {
    std::string code;  // the script's text

    bool read_record(CStream& stream)
    {
        if (stream.ReadInt() != SCRIPT_VERSION)
            return false;
        code = stream.ReadString();
        return true;
    }
    void write_record(CStream& stream) const
    {
        stream.WriteInt(SCRIPT_VERSION);
        stream.WriteString(code);
    }
};

}  // namespace quillon
