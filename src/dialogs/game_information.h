// The game information page that the game file carries: rich text with a background colour.
#pragma once

#include "support/stream.h"

#include <string>

namespace quillon {

constexpr std::int32_t GAME_INFORMATION_VERSION_OLD = 400;  // without the in-game-window flag
constexpr std::int32_t GAME_INFORMATION_VERSION = 430;

class GameInformation {
public:
    std::int32_t version = GAME_INFORMATION_VERSION;  // 400 or 430, as stored
    std::int32_t background_color = 0xFFFFFF;         // of the page
    bool show_in_game_window = false;                 // the page takes the game window's place
    std::string rich_text;                            // the page, in the rich-text format

    bool read_record(CStream& stream);
    void write_record(CStream& stream) const;
};

}  // namespace quillon
