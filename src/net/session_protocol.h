// The packets runners exchange to find, join and keep a session, around the message records.
#pragma once

#include "net/wire.h"
#include "platform/net_transport.h"

#include <array>
#include <cstdint>
#include <string>

namespace quillon::net {

using Guid = std::array<std::uint8_t, 16>;

// The first byte of a packet over a connection.
enum class PacketType : std::uint8_t {
    join = 1, // joiner to host: game, session key, player name
    rejoin = 2, // player to the host that took over: session key, player id
    welcome = 3, // host to joiner: the joiner's id, the session's name, flags and players
    refuse = 4, // host to joiner: no place (full, another game, another session)
    player_joined = 5, // host to players: a player's id, address and name
    player_left = 6, // host to players: a player's id
    post = 7, // player to host: target id (0: all), then a record
    deliver = 8, // host to player: sender id, then a record
};

// The first byte of a datagram outside the connections.
enum class DatagramType : std::uint8_t {
    probe = 'P', // finder to everyone: game
    answer = 'A', // host to finder: game, session key, player count and maximum, session name
};

// Names longer than this are refused, so that a session's answer fits in one datagram.
constexpr std::size_t MAX_NAME_BYTES = 1000;

// A player as the session knows it.
struct PlayerInfo {
    std::uint32_t id = 0; // unique in the session, never 0
    std::string name; // the player's name
    platform::NetAddress address; // where the host sees the player; 0 for the host itself
};

inline void write_player(WireWriter& writer, const PlayerInfo& player)
{
    writer.u32(player.id);
    writer.u32(player.address.ipv4);
    writer.u16(player.address.port);
    writer.text(player.name);
}

inline PlayerInfo read_player(WireReader& reader)
{
    PlayerInfo player;
    player.id = reader.u32();
    player.address.ipv4 = reader.u32();
    player.address.port = reader.u16();
    player.name = reader.text();
    return player;
}

inline void write_guid(WireWriter& writer, const Guid& guid)
{
    writer.bytes(guid);
}

inline Guid read_guid(WireReader& reader)
{
    Guid guid {};
    std::span<const std::uint8_t> bytes = reader.bytes(guid.size());
    std::copy(bytes.begin(), bytes.end(), guid.begin());
    return guid;
}

} // namespace quillon::net
