// Session: the host's side: joining players, passing records on, players leaving, answering probes.
#include "net/message_codec.h"
#include "net/session.h"

#include <algorithm>

namespace quillon::net {

void Session::host_received(platform::PeerHandle peer, std::span<const std::uint8_t> data, bool reliable)
{
    WireReader reader(data);
    auto type = static_cast<PacketType>(reader.byte());
    auto link = std::find_if(m_links.begin(), m_links.end(), [&](const Link& l) { return l.peer == peer; });
    if (link == m_links.end()) {
        // Only joining and rejoining are heard from a connection that is no player yet.
        if (type == PacketType::join)
            accept_join(peer, reader);
        else if (type == PacketType::rejoin)
            accept_rejoin(peer, reader);
        return;
    }
    if (type == PacketType::post)
        relay(link->id, reader, reliable);
}

void Session::accept_join(platform::PeerHandle peer, WireReader& reader)
{
    Guid game = read_guid(reader);
    Guid key = read_guid(reader);
    std::string_view name = reader.text();
    bool full = m_max_players > 0 && m_players.size() >= m_max_players;
    if (!reader.finished() || game != m_game || key != m_key || full || name.size() > MAX_NAME_BYTES) {
        m_packet.clear();
        WireWriter(m_packet).byte(static_cast<std::uint8_t>(PacketType::refuse));
        send_packet(peer, true);
        m_transport->disconnect(peer);
        return;
    }
    PlayerInfo player { next_id(), std::string(name), m_transport->peer_address(peer) };
    m_players.push_back(player);
    m_links.push_back({ player.id, peer, {} });
    welcome(peer, player.id);
    m_packet.clear();
    WireWriter writer(m_packet);
    writer.byte(static_cast<std::uint8_t>(PacketType::player_joined));
    write_player(writer, player);
    send_to_players(player.id, true);
    m_transport->flush();
}

void Session::accept_rejoin(platform::PeerHandle peer, WireReader& reader)
{
    Guid key = read_guid(reader);
    std::uint32_t id = reader.u32();
    auto link = std::find_if(m_links.begin(), m_links.end(), [&](const Link& l) { return l.id == id && !l.peer; });
    if (!reader.finished() || key != m_key || link == m_links.end()) {
        m_transport->disconnect(peer);
        return;
    }
    link->peer = peer;
    welcome(peer, id);
    WireReader reader_held(link->held);
    while (reader_held.remaining() > 0) {
        bool reliable = reader_held.byte() != 0;
        std::span<const std::uint8_t> packet = reader_held.bytes(reader_held.u32());
        if (!reader_held.ok())
            break;
        m_transport->send(peer, packet, reliable);
    }
    link->held.clear();
    m_transport->flush();
}

void Session::welcome(platform::PeerHandle peer, std::uint32_t id)
{
    m_packet.clear();
    WireWriter writer(m_packet);
    writer.byte(static_cast<std::uint8_t>(PacketType::welcome));
    writer.u32(id);
    writer.byte(m_migrate ? 1 : 0);
    writer.u32(m_max_players);
    writer.text(m_name);
    writer.u32(static_cast<std::uint32_t>(m_players.size()));
    for (const PlayerInfo& player : m_players)
        write_player(writer, player.id == m_local_id ? PlayerInfo { player.id, player.name, {} } : player);
    send_packet(peer, true);
}

void Session::relay(std::uint32_t sender, WireReader& reader, bool reliable)
{
    std::uint32_t target = reader.u32();
    std::span<const std::uint8_t> record = reader.rest();
    MessageRecord decoded;
    if (!reader.ok() || !decode_record(record, decoded))
        return;
    if (target == 0 || target == m_local_id)
        deliver_locally(sender, record);
    if (target == m_local_id)
        return;
    Link* link = target == 0 ? nullptr : link_of(target);
    if (target != 0 && !link)
        return;
    m_packet.clear();
    WireWriter writer(m_packet);
    writer.byte(static_cast<std::uint8_t>(PacketType::deliver));
    writer.u32(sender);
    writer.bytes(record);
    if (target == 0)
        send_to_players(sender, reliable);
    else
        send_to_link(*link, reliable);
}

void Session::remove_player(std::uint32_t id)
{
    int index = index_of(id);
    if (index < 0 || id == m_local_id)
        return;
    m_players.erase(m_players.begin() + index);
    std::erase_if(m_links, [&](const Link& link) { return link.id == id; });
    m_packet.clear();
    WireWriter writer(m_packet);
    writer.byte(static_cast<std::uint8_t>(PacketType::player_left));
    writer.u32(id);
    send_to_players(0, true);
    m_transport->flush();
}

void Session::send_to_players(std::uint32_t except, bool reliable)
{
    for (Link& link : m_links)
        if (link.id != except)
            send_to_link(link, reliable);
}

// A player that has not reconnected to this new host yet gets the packet once it has.
bool Session::send_to_link(Link& link, bool reliable)
{
    if (link.peer)
        return m_transport->send(link.peer, m_packet, reliable);
    WireWriter held(link.held);
    held.byte(reliable ? 1 : 0);
    held.u32(static_cast<std::uint32_t>(m_packet.size()));
    held.bytes(m_packet);
    return true;
}

Session::Link* Session::link_of(std::uint32_t id)
{
    for (Link& link : m_links)
        if (link.id == id)
            return &link;
    return nullptr;
}

void Session::answer_probe(const platform::NetAddress& from, WireReader& reader)
{
    if (read_guid(reader) != m_game || !reader.finished())
        return;
    m_packet.clear();
    WireWriter writer(m_packet);
    writer.byte(static_cast<std::uint8_t>(DatagramType::answer));
    write_guid(writer, m_game);
    write_guid(writer, m_key);
    writer.u32(static_cast<std::uint32_t>(m_players.size()));
    writer.u32(m_max_players);
    writer.text(m_name);
    m_transport->send_datagram(from, m_packet);
}

// After a migration, players that have not reconnected in time are gone.
void Session::drop_missing_players()
{
    if (Clock::now() < m_deadline)
        return;
    for (std::size_t i = m_links.size(); i-- > 0;)
        if (!m_links[i].peer)
            remove_player(m_links[i].id);
}

} // namespace quillon::net
