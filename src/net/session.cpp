// Session: finding, creating, joining and leaving, and the player's side of a session.
#include "net/session.h"

#include "net/message_codec.h"

#include <algorithm>
#include <random>

namespace quillon::net {

Session::Session(TransportFactory factory, const Guid& game)
    : m_factory(std::move(factory))
    , m_game(game)
{
}

Session::~Session()
{
    leave();
}

bool Session::ensure_transport(std::uint16_t port, std::size_t connections)
{
    if (m_transport && (port == 0 || m_transport->local_port() == port))
        return true;
    m_transport.reset();
    if (!m_factory)
        return false;
    m_transport = m_factory();
    if (m_transport && m_transport->open(port, connections))
        return true;
    m_transport.reset();
    return false;
}

void Session::service(std::uint32_t wait_ms)
{
    if (!m_transport)
        return;
    m_transport->service(*this, wait_ms);
    if (m_role == Role::host)
        drop_missing_players();
    else if (m_role == Role::rejoining && Clock::now() >= m_deadline)
        end_locally();
}

void Session::wait_until(Clock::time_point deadline, const std::function<bool()>& done)
{
    while (!done()) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || !m_transport)
            return;
        // Short slices, so that a finished wait is noticed at once.
        service(static_cast<std::uint32_t>(std::min<long long>(left, 10)));
    }
}

std::vector<FoundSession> Session::find(std::optional<std::uint32_t> host, std::uint16_t port)
{
    std::vector<FoundSession> found;
    if (!ensure_transport(0))
        return found;
    m_packet.clear();
    WireWriter writer(m_packet);
    writer.byte(static_cast<std::uint8_t>(DatagramType::probe));
    write_guid(writer, m_game);
    std::vector<std::uint32_t> targets = host ? std::vector<std::uint32_t> { *host } : platform::broadcast_addresses();
    for (std::uint32_t target : targets)
        m_transport->send_datagram({ target, port }, m_packet);
    m_found = &found;
    auto deadline = Clock::now() + std::chrono::milliseconds(host ? FIND_HOST_WAIT_MS : FIND_WAIT_MS);
    wait_until(deadline, [&] { return host && !found.empty(); });
    m_found = nullptr;
    return found;
}

bool Session::create(
    std::uint16_t port, std::string_view name, std::uint32_t max_players, bool migrate, std::string_view player_name)
{
    if (m_role != Role::none || name.size() > MAX_NAME_BYTES || player_name.size() > MAX_NAME_BYTES)
        return false;
    // A socket left from finding listens on another port.
    if (m_transport && m_transport->local_port() != port)
        m_transport.reset();
    std::size_t connections = max_players > 0 ? std::min<std::size_t>(max_players + SPARE_CONNECTIONS, MAX_CONNECTIONS)
                                              : DEFAULT_CONNECTIONS;
    if (!ensure_transport(port, connections))
        return false;
    std::random_device random;
    for (std::uint8_t& byte : m_key)
        byte = static_cast<std::uint8_t>(random());
    m_name = name;
    m_max_players = max_players;
    m_migrate = migrate;
    // Ids start at a random point so that those of different sessions seldom meet.
    m_last_id = random() % 0x40000000u;
    m_local_id = next_id();
    m_players = { { m_local_id, std::string(player_name), {} } };
    m_links.clear();
    m_role = Role::host;
    return true;
}

bool Session::join(const FoundSession& session, std::string_view player_name)
{
    if (m_role != Role::none || player_name.size() > MAX_NAME_BYTES || !ensure_transport(0))
        return false;
    m_host_peer = m_transport->connect(session.address);
    if (!m_host_peer)
        return false;
    m_host_address = session.address;
    m_key = session.key;
    m_name = session.name;
    m_joining_name = player_name;
    m_refused = false;
    m_role = Role::joining;
    wait_until(Clock::now() + std::chrono::milliseconds(JOIN_WAIT_MS),
        [this] { return m_role != Role::joining || m_refused; });
    if (m_role == Role::player)
        return true;
    end_locally();
    return false;
}

void Session::leave()
{
    if (!m_transport)
        return;
    if (m_role == Role::host) {
        for (const Link& link : m_links)
            if (link.peer)
                m_transport->disconnect(link.peer);
    } else if (m_host_peer) {
        m_transport->disconnect(m_host_peer);
    }
    m_role = Role::none;
    auto deadline = Clock::now() + std::chrono::milliseconds(LEAVE_WAIT_MS);
    wait_until(deadline, [this] { return m_transport->connection_count() == 0; });
    m_transport->flush();
    m_transport.reset();
    end_locally();
}

void Session::end_locally()
{
    if (m_transport && m_host_peer)
        m_transport->disconnect(m_host_peer);
    m_role = Role::none;
    m_players.clear();
    m_links.clear();
    m_host_peer = 0;
    m_local_id = 0;
    m_outbox.clear();
    m_early_rejoins.clear();
}

int Session::index_of(std::uint32_t id) const
{
    for (std::size_t i = 0; i < m_players.size(); ++i)
        if (m_players[i].id == id)
            return static_cast<int>(i);
    return -1;
}

std::uint32_t Session::next_id()
{
    if (++m_last_id == 0)
        ++m_last_id;
    return m_last_id;
}

bool Session::send_packet(platform::PeerHandle peer, bool reliable)
{
    return m_transport && m_transport->send(peer, m_packet, reliable);
}

bool Session::post(std::uint32_t target, std::span<const std::uint8_t> record, bool reliable)
{
    if (!active() || (target != 0 && !has_player(target)))
        return false;
    if (target == m_local_id) {
        deliver_locally(m_local_id, record);
        return true;
    }
    m_packet.clear();
    WireWriter writer(m_packet);
    if (m_role == Role::rejoining) {
        // Held until the new host has taken this player back.
        WireWriter held(m_outbox);
        held.byte(reliable ? 1 : 0);
        held.u32(target);
        held.u32(static_cast<std::uint32_t>(record.size()));
        held.bytes(record);
        return true;
    }
    bool sent = true;
    if (m_role == Role::host) {
        writer.byte(static_cast<std::uint8_t>(PacketType::deliver));
        writer.u32(m_local_id);
        writer.bytes(record);
        if (target == 0)
            send_to_players(0, reliable);
        else
            sent = send_to_link(*link_of(target), reliable);
    } else {
        writer.byte(static_cast<std::uint8_t>(PacketType::post));
        writer.u32(target);
        writer.bytes(record);
        sent = send_packet(m_host_peer, reliable);
    }
    m_transport->flush();
    return sent;
}

void Session::deliver_locally(std::uint32_t sender, std::span<const std::uint8_t> record)
{
    if (m_inbox.size() + record.size() + 8 > MAX_INBOX_BYTES)
        return;
    WireWriter writer(m_inbox);
    writer.u32(sender);
    writer.u32(static_cast<std::uint32_t>(record.size()));
    writer.bytes(record);
}

void Session::drain(const std::function<void(std::uint32_t, std::span<const std::uint8_t>)>& visit)
{
    service();
    WireReader reader(m_inbox);
    while (reader.remaining() > 0) {
        std::uint32_t sender = reader.u32();
        std::span<const std::uint8_t> record = reader.bytes(reader.u32());
        if (!reader.ok())
            break;
        visit(sender, record);
    }
    m_inbox.clear();
}

void Session::on_connected(platform::PeerHandle peer)
{
    if (peer != m_host_peer || (m_role != Role::joining && m_role != Role::rejoining))
        return;
    m_packet.clear();
    WireWriter writer(m_packet);
    if (m_role == Role::joining) {
        writer.byte(static_cast<std::uint8_t>(PacketType::join));
        write_guid(writer, m_game);
        write_guid(writer, m_key);
        writer.text(m_joining_name);
    } else {
        writer.byte(static_cast<std::uint8_t>(PacketType::rejoin));
        write_guid(writer, m_key);
        writer.u32(m_local_id);
    }
    send_packet(peer, true);
    m_transport->flush();
}

void Session::on_disconnected(platform::PeerHandle peer)
{
    std::erase_if(m_early_rejoins, [&](const auto& early) { return early.first == peer; });
    if (m_role == Role::host) {
        for (const Link& link : m_links)
            if (link.peer == peer) {
                remove_player(link.id);
                return;
            }
        return;
    }
    if (peer != m_host_peer)
        return;
    m_host_peer = 0;
    if (m_role == Role::player)
        host_lost();
    else
        end_locally();
}

void Session::on_received(platform::PeerHandle peer, std::span<const std::uint8_t> data, bool reliable)
{
    if (m_role == Role::host)
        host_received(peer, data, reliable);
    else if (peer == m_host_peer && m_role != Role::none)
        player_received(data);
    else if (m_role == Role::player && m_migrate && !data.empty() && data[0] == std::uint8_t(PacketType::rejoin)
        && m_early_rejoins.size() < MAX_EARLY_REJOINS)
        m_early_rejoins.emplace_back(peer, std::vector<std::uint8_t>(data.begin(), data.end()));
}

void Session::on_datagram(const platform::NetAddress& from, std::span<const std::uint8_t> data)
{
    WireReader reader(data);
    auto type = static_cast<DatagramType>(reader.byte());
    if (type == DatagramType::probe && m_role == Role::host) {
        answer_probe(from, reader);
        return;
    }
    if (type != DatagramType::answer || !m_found || read_guid(reader) != m_game)
        return;
    FoundSession session;
    session.key = read_guid(reader);
    std::uint32_t players = reader.u32();
    std::uint32_t max_players = reader.u32();
    session.name = reader.text();
    session.address = from;
    bool full = max_players > 0 && players >= max_players;
    bool own = m_role != Role::none && session.key == m_key;
    bool known
        = std::any_of(m_found->begin(), m_found->end(), [&](const FoundSession& s) { return s.key == session.key; });
    if (reader.finished() && !full && !own && !known)
        m_found->push_back(std::move(session));
}

void Session::player_received(std::span<const std::uint8_t> data)
{
    WireReader reader(data);
    switch (static_cast<PacketType>(reader.byte())) {
    case PacketType::welcome:
        if (m_role == Role::joining || m_role == Role::rejoining)
            take_welcome(reader);
        break;
    case PacketType::refuse:
        m_refused = true;
        break;
    case PacketType::player_joined: {
        PlayerInfo player = read_player(reader);
        if (reader.finished() && player.id != 0 && !has_player(player.id)) {
            m_last_id = std::max(m_last_id, player.id);
            m_players.push_back(std::move(player));
        }
        break;
    }
    case PacketType::player_left: {
        int index = index_of(reader.u32());
        if (reader.finished() && index >= 0 && m_players[index].id != m_local_id)
            m_players.erase(m_players.begin() + index);
        break;
    }
    case PacketType::deliver: {
        std::uint32_t sender = reader.u32();
        if (reader.ok() && m_role == Role::player)
            deliver_locally(sender, reader.rest());
        break;
    }
    default:
        break;
    }
}

void Session::take_welcome(WireReader& reader)
{
    std::uint32_t id = reader.u32();
    bool migrate = reader.byte() != 0;
    std::uint32_t max_players = reader.u32();
    std::string name(reader.text());
    std::uint32_t count = reader.u32();
    std::vector<PlayerInfo> players;
    for (std::uint32_t i = 0; i < count && reader.ok(); ++i)
        players.push_back(read_player(reader));
    bool listed = std::any_of(players.begin(), players.end(), [&](const PlayerInfo& p) { return p.id == id; });
    if (!reader.finished() || id == 0 || players.empty() || !listed)
        return;
    if (m_role == Role::rejoining && id != m_local_id)
        return;
    // The host's own entry carries no address: it is where this player reached it.
    players.front().address = m_host_address;
    m_local_id = id;
    m_migrate = migrate;
    m_max_players = max_players;
    m_name = std::move(name);
    m_players = std::move(players);
    for (const PlayerInfo& player : m_players)
        m_last_id = std::max(m_last_id, player.id);
    m_role = Role::player;
    flush_outbox();
}

void Session::host_lost()
{
    if (!m_migrate || m_players.empty()) {
        end_locally();
        return;
    }
    // The host is the first player; the next in joining order takes over.
    m_players.erase(m_players.begin());
    m_deadline = Clock::now() + std::chrono::milliseconds(MIGRATION_WAIT_MS);
    const PlayerInfo& successor = m_players.front();
    if (successor.id == m_local_id) {
        m_role = Role::host;
        m_links.clear();
        for (const PlayerInfo& player : m_players)
            if (player.id != m_local_id)
                m_links.push_back({ player.id, 0, {} });
        // Players that saw the host go before this one did are taken back now.
        auto early_rejoins = std::move(m_early_rejoins);
        m_early_rejoins.clear();
        for (const auto& [peer, packet] : early_rejoins)
            host_received(peer, packet, true);
        return;
    }
    m_host_address = successor.address;
    m_host_peer = m_transport->connect(successor.address);
    m_role = m_host_peer ? Role::rejoining : Role::none;
    if (!m_host_peer)
        end_locally();
}

void Session::flush_outbox()
{
    std::vector<std::uint8_t> held;
    held.swap(m_outbox);
    WireReader reader(held);
    while (reader.remaining() > 0) {
        bool reliable = reader.byte() != 0;
        std::uint32_t target = reader.u32();
        std::span<const std::uint8_t> record = reader.bytes(reader.u32());
        if (!reader.ok())
            break;
        post(target, record, reliable);
    }
}

} // namespace quillon::net
