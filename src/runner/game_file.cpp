// The game file: where a game's data sits, its header and scrambling, and its blocks read and written in order.
#include "runner/game_file.h"

namespace quillon {

namespace {

// 1. Two tables: forward F and its inverse G, identity to begin with.
// 2. For a positive seed, 10000 exchanges of neighbouring entries of F at ((i * seed) mod 254) + 1. The
//    product is taken in 64 bits so that large seeds stay inside the table; for every seed whose products fit
//    in 32 bits the tables are the same as with 32-bit arithmetic.
// 3. G is the inverse of F; entry 0 never moves.
struct ScrambleTables {
    std::array<std::uint8_t, 256> forward;  // F
    std::array<std::uint8_t, 256> inverse;  // G
};

ScrambleTables make_tables(std::int32_t seed)
{
    ScrambleTables tables;
    for (int i = 0; i < 256; ++i)
        tables.forward[i] = tables.inverse[i] = static_cast<std::uint8_t>(i);
    if (seed <= 0)
        return tables;
    for (std::int64_t i = 1; i <= 10000; ++i) {
        auto j = static_cast<std::size_t>((i * seed) % 254 + 1);
        std::swap(tables.forward[j], tables.forward[j + 1]);
    }
    for (int i = 1; i < 256; ++i)
        tables.inverse[tables.forward[i]] = static_cast<std::uint8_t>(i);
    return tables;
}

void substitute(CStream& stream, const std::array<std::uint8_t, 256>& table, std::size_t start, std::int64_t length)
{
    auto& bytes = stream.bytes();
    if (start >= bytes.size())
        return;
    std::size_t end = length <= 0 ? bytes.size() : std::min(bytes.size(), start + static_cast<std::size_t>(length));
    for (std::size_t i = start; i < end; ++i)
        bytes[i] = table[bytes[i]];
}

template<typename T>
auto record_reader()
{
    return [](CStream& stream, T& item) { return item.read_record(stream); };
}

template<typename T>
auto record_writer()
{
    return [](CStream& stream, const T& item) { item.write_record(stream); };
}

LoadOutcome failure(std::string message) { return {false, std::move(message)}; }

// The blocks after the settings, in file order, with their progress reports and failure messages.
struct BlockStep {
    int percent;                      // progress reported before the block; -1 reports nothing
    const char* caption;              // progress caption
    const char* failure;              // the message when the block is refused
    bool (*read)(CStream&, GameFile&);  // the block reader
};

bool read_room_list(CStream& stream, GameFile& game)
{
    if (!read_resource_list(stream, ROOM_LIST_VERSION, game.rooms, record_reader<CRoom>()))
        return false;
    game.last_instance_id = stream.ReadInt();
    game.last_tile_id = stream.ReadInt();
    return true;
}

bool read_action_libraries(CStream& stream, GameFile& game)
{
    game.action_libraries_version = stream.ReadInt();
    if (game.action_libraries_version != ACTION_LIBRARIES_VERSION)
        return false;
    std::int32_t count = stream.ReadInt();
    game.action_library_code.clear();
    for (std::int32_t i = 0; i < count; ++i)
        game.action_library_code.push_back(stream.ReadString());
    return true;
}

bool read_room_order(CStream& stream, GameFile& game)
{
    game.room_order_version = stream.ReadInt();
    if (game.room_order_version < 400 || game.room_order_version > ROOM_ORDER_VERSION)
        return false;
    std::int32_t count = stream.ReadInt();
    if (count < 1)
        return false;
    game.room_order.clear();
    for (std::int32_t i = 0; i < count; ++i)
        game.room_order.push_back(stream.ReadInt());
    return true;
}

constexpr BlockStep BLOCK_STEPS[] = {
    {5, "Loading sounds", "Error loading sounds.",
        [](CStream& s, GameFile& g) { return read_resource_list(s, SOUND_LIST_VERSION, g.sounds, record_reader<CSound>()); }},
    {10, "Loading sprites", "Error loading sprites.",
        [](CStream& s, GameFile& g) { return read_resource_list(s, SPRITE_LIST_VERSION, g.sprites, record_reader<CSprite>()); }},
    // The collision masks are built from the sprites here; they belong to the running game, not to the file.
    {18, "Collision structure", "", nullptr},
    {23, "Loading backgrounds", "Error loading backgrounds.",
        [](CStream& s, GameFile& g) { return read_resource_list(s, BACKGROUND_LIST_VERSION, g.backgrounds, record_reader<CBackground>()); }},
    {30, "Loading paths", "Error loading paths.",
        [](CStream& s, GameFile& g) { return read_resource_list(s, PATH_LIST_VERSION, g.paths, record_reader<CPath>()); }},
    {32, "Loading scripts", "Error loading scripts.",
        [](CStream& s, GameFile& g) { return read_resource_list(s, SCRIPT_LIST_VERSION, g.scripts, record_reader<ScriptSource>()); }},
    {34, "Loading data files", "Error loading data files.",
        [](CStream& s, GameFile& g) { return read_resource_list(s, DATA_FILE_VERSION, g.data_files, record_reader<CDataFile>()); }},
    {36, "Loading time lines", "Error loading time lines.",
        [](CStream& s, GameFile& g) { return read_resource_list(s, TIME_LINE_LIST_VERSION, g.time_lines, record_reader<CTimeLine>()); }},
    {38, "Loading objects", "Error loading objects.",
        [](CStream& s, GameFile& g) { return read_resource_list(s, OBJECT_LIST_VERSION, g.objects, record_reader<CObject>()); }},
    {41, "Loading rooms", "Error loading rooms.", read_room_list},
    {45, "Loading help", "Error loading game information.",
        [](CStream& s, GameFile& g) { return g.information.read_record(s); }},
    {-1, "", "Error loading action libraries.", read_action_libraries},
    {49, "Loading room order", "Error loading room order. Game has no rooms?", read_room_order},
};

}  // namespace

void Unscramble(CStream& stream, std::int32_t seed, std::size_t start, std::int64_t length)
{
    substitute(stream, make_tables(seed).inverse, start, length);
}

void Scramble(CStream& stream, std::int32_t seed, std::size_t start, std::int64_t length)
{
    substitute(stream, make_tables(seed).forward, start, length);
}

LoadOutcome read_game_header(CStream& stream, GameFile& game)
{
    // 1. The data follows the runner executable.
    if (stream.size() < GAME_DATA_OFFSET)
        return failure("Not a valid quillon file.");
    game.prefix.assign(stream.bytes().begin(), stream.bytes().begin() + GAME_DATA_OFFSET);
    stream.set_position(GAME_DATA_OFFSET);
    // 2. The first magic number.
    if (stream.ReadInt() != GAME_MAGIC)
        return failure("Not a valid quillon 5 game.");
    // 3. Everything from one byte past the seed's end is scrambled; the first byte of the filler is not.
    game.seed = stream.ReadInt();
    Unscramble(stream, game.seed, stream.position() + 1, 0);
    // 4. Two ignored strings.
    game.filler_1 = stream.ReadString();
    game.filler_2 = stream.ReadString();
    // 5. and 6. The second magic number and the format version.
    if (stream.ReadInt() != GAME_SECOND_MAGIC)
        return failure("Not a valid quillon game.");
    if (stream.ReadInt() != GAME_FORMAT_VERSION)
        return failure("Wrong version number.");
    // 7. Debug flag, game id, game GUID.
    game.debug_value = stream.ReadInt();
    game.game_id = stream.ReadInt();
    auto guid = stream.ReadBytes(game.guid.size());
    std::copy(guid.begin(), guid.end(), game.guid.begin());
    return {true, {}};
}

LoadOutcome read_game_settings(CStream& stream, GameFile& game)
{
    if (!read_settings(stream, game.settings))
        return failure("Error loading options.");
    return {true, {}};
}

LoadOutcome read_game_blocks(CStream& stream, GameFile& game, const LoadProgress& progress)
{
    for (const BlockStep& step : BLOCK_STEPS) {
        if (step.percent >= 0 && progress)
            progress(step.percent, step.caption);
        if (step.read && !step.read(stream, game))
            return failure(step.failure);
    }
    return {true, {}};
}

LoadOutcome read_game_file(CStream& stream, GameFile& game, const LoadProgress& progress)
{
    LoadOutcome outcome = read_game_header(stream, game);
    if (outcome.ok)
        outcome = read_game_settings(stream, game);
    return outcome.ok ? read_game_blocks(stream, game, progress) : outcome;
}

std::vector<std::uint8_t> write_game_file(const GameFile& game)
{
    CStream s;
    s.WriteBytes(game.prefix);
    s.bytes().resize(GAME_DATA_OFFSET);
    s.set_position(GAME_DATA_OFFSET);
    s.WriteInt(GAME_MAGIC);
    s.WriteInt(game.seed);
    std::size_t scrambled_from = s.position() + 1;
    s.WriteString(game.filler_1);
    s.WriteString(game.filler_2);
    s.WriteInt(GAME_SECOND_MAGIC);
    s.WriteInt(GAME_FORMAT_VERSION);
    s.WriteInt(game.debug_value);
    s.WriteInt(game.game_id);
    s.WriteBytes(game.guid);
    write_settings(s, game.settings);
    write_resource_list(s, SOUND_LIST_VERSION, game.sounds, record_writer<CSound>());
    write_resource_list(s, SPRITE_LIST_VERSION, game.sprites, record_writer<CSprite>());
    write_resource_list(s, BACKGROUND_LIST_VERSION, game.backgrounds, record_writer<CBackground>());
    write_resource_list(s, PATH_LIST_VERSION, game.paths, record_writer<CPath>());
    write_resource_list(s, SCRIPT_LIST_VERSION, game.scripts, record_writer<ScriptSource>());
    write_resource_list(s, DATA_FILE_VERSION, game.data_files, record_writer<CDataFile>());
    write_resource_list(s, TIME_LINE_LIST_VERSION, game.time_lines, record_writer<CTimeLine>());
    write_resource_list(s, OBJECT_LIST_VERSION, game.objects, record_writer<CObject>());
    write_resource_list(s, ROOM_LIST_VERSION, game.rooms, record_writer<CRoom>());
    s.WriteInt(game.last_instance_id);
    s.WriteInt(game.last_tile_id);
    game.information.write_record(s);
    s.WriteInt(game.action_libraries_version);
    s.WriteInt(static_cast<std::int32_t>(game.action_library_code.size()));
    for (const std::string& code : game.action_library_code)
        s.WriteString(code);
    s.WriteInt(game.room_order_version);
    s.WriteInt(static_cast<std::int32_t>(game.room_order.size()));
    for (std::int32_t room : game.room_order)
        s.WriteInt(room);
    Scramble(s, game.seed, scrambled_from, 0);
    return s.take_bytes();
}

}  // namespace quillon
