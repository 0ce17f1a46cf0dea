// The game information page that the game file carries: rich text with a background colour.
#include "dialogs/game_information.h"

namespace quillon {

bool GameInformation::read_record(CStream& stream)
{
    version = stream.ReadInt();
    if (version != GAME_INFORMATION_VERSION_OLD && version != GAME_INFORMATION_VERSION)
        return false;
    background_color = stream.ReadInt();
    show_in_game_window = version == GAME_INFORMATION_VERSION && stream.ReadBool();
    auto text = stream.ReadBlockBytes();
    rich_text.assign(text.begin(), text.end());
    return true;
}

void GameInformation::write_record(CStream& stream) const
{
    stream.WriteInt(version);
    stream.WriteInt(background_color);
    if (version == GAME_INFORMATION_VERSION)
        stream.WriteBool(show_in_game_window);
    stream.WriteBlock({reinterpret_cast<const std::uint8_t*>(rich_text.data()), rich_text.size()});
}

}  // namespace quillon
