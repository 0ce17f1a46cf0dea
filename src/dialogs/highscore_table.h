// The highscore table of a game: ten ranks of a name and a value, kept in the player's registry store so that
// it lasts between runs. Rank 1 holds the highest value; a missing rank reads as "<nobody>" with 0.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon::platform {
class RegistryStore;
}

namespace quillon {

class HighscoreTable {
public:
    static constexpr int RANKS = 10;

    HighscoreTable(platform::RegistryStore& store, std::int32_t game_id);

    // Names are Windows-1252 bytes, as the game has them. A rank outside 1 to 10 reads as missing.
    std::string name(int rank) const;
    std::int32_t value(int rank) const;

    // The first rank whose value is below the new one (strictly), so that an equal value goes after the
    // existing ones; none when the value does not reach the table.
    std::optional<int> place_for(std::int32_t value) const;
    // Moves the ranks from the place down by one (rank 10 falls out) and stores the entry there; the rank used.
    std::optional<int> insert(std::string_view name, std::int32_t value);
    void set_name(int rank, std::string_view name);
    // Every rank becomes "<nobody>" with 0.
    void clear();

    // The table as text lines: the caption, ten rows "rank. name value", and the hint to close. The row of
    // new_rank shows the typed text followed by a "|" cursor.
    std::string text(std::optional<int> new_rank = std::nullopt, std::string_view typed = {}) const;

private:
    void store(int rank, std::string_view name, std::int32_t value);

    platform::RegistryStore& m_store;
    std::string m_key;  // the game's key in the store
};

}  // namespace quillon
