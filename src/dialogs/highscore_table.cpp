// The highscore table, read from and written to the registry store at every use.
#include "dialogs/highscore_table.h"

#include "platform/registry_store.h"
#include "support/win1252.h"

#include <cstdio>

namespace quillon {

namespace {

using platform::RegistryRoot;

constexpr std::string_view NOBODY = "<nobody>";

std::string name_value(int rank) { return "Name" + std::to_string(rank); }
std::string value_value(int rank) { return "Value" + std::to_string(rank); }

bool is_rank(int rank) { return rank >= 1 && rank <= HighscoreTable::RANKS; }

}  // namespace

HighscoreTable::HighscoreTable(platform::RegistryStore& store, std::int32_t game_id)
    : m_store(store)
    , m_key("\\Software\\Quillon\\Scores\\" + std::to_string(game_id))
{
}

std::string HighscoreTable::name(int rank) const
{
    if (!is_rank(rank))
        return std::string(NOBODY);
    std::optional<std::string> stored = m_store.read_string(RegistryRoot::current_user, m_key, name_value(rank));
    return stored ? utf8_to_win1252(*stored) : std::string(NOBODY);
}

std::int32_t HighscoreTable::value(int rank) const
{
    if (!is_rank(rank))
        return 0;
    return m_store.read_integer(RegistryRoot::current_user, m_key, value_value(rank)).value_or(0);
}

std::optional<int> HighscoreTable::place_for(std::int32_t new_value) const
{
    for (int rank = 1; rank <= RANKS; ++rank) {
        if (value(rank) < new_value)
            return rank;
    }
    return std::nullopt;
}

std::optional<int> HighscoreTable::insert(std::string_view new_name, std::int32_t new_value)
{
    std::optional<int> place = place_for(new_value);
    if (!place)
        return std::nullopt;
    for (int rank = RANKS - 1; rank >= *place; --rank)
        store(rank + 1, name(rank), value(rank));
    store(*place, new_name, new_value);
    return place;
}

void HighscoreTable::set_name(int rank, std::string_view new_name)
{
    if (is_rank(rank))
        m_store.write_string(RegistryRoot::current_user, m_key, name_value(rank), win1252_to_utf8(new_name));
}

void HighscoreTable::clear()
{
    for (int rank = 1; rank <= RANKS; ++rank)
        store(rank, NOBODY, 0);
}

void HighscoreTable::store(int rank, std::string_view new_name, std::int32_t new_value)
{
    set_name(rank, new_name);
    m_store.write_integer(RegistryRoot::current_user, m_key, value_value(rank), new_value);
}

std::string HighscoreTable::text(std::optional<int> new_rank, std::string_view typed) const
{
    std::string lines = "Top Ten Players\n";
    for (int rank = 1; rank <= RANKS; ++rank) {
        std::string shown = rank == new_rank ? std::string(typed) + "|" : name(rank);
        char number[16];
        std::snprintf(number, sizeof number, "%3d. ", rank);
        char points[16];
        std::snprintf(points, sizeof points, " %11d", static_cast<int>(value(rank)));
        lines += number;
        lines += shown;
        if (shown.size() < 24)
            lines.append(24 - shown.size(), ' ');
        lines += points;
        lines += '\n';
    }
    lines += "press <Escape> to close";
    return lines;
}

}  // namespace quillon
