// Multiplayer: what game code sees of the network: connection, session, players, messages and shared data.
#include "net/multiplayer.h"

#include "net/message_codec.h"

#include <charconv>

namespace quillon::net {

namespace {

// The port part of an address: 1 to 65535 in decimal digits, or the default when empty.
std::optional<std::uint16_t> parse_port(std::string_view text)
{
    if (text.empty())
        return DEFAULT_PORT;
    std::uint32_t port = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (error != std::errc() || end != text.data() + text.size() || port == 0 || port > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(port);
}

} // namespace

Multiplayer::Multiplayer()
    : m_factory(platform::create_enet_transport)
    , m_shared(MAX_DATA_INDEX + 1)
{
}

Multiplayer::~Multiplayer()
{
    end();
}

bool Multiplayer::init_tcpip(std::string_view address)
{
    if (m_kind != ConnectionKind::none || !m_factory)
        return false;
    std::size_t colon = address.find(':');
    std::string_view host = address.substr(0, colon);
    std::optional<std::uint16_t> port = parse_port(colon == address.npos ? "" : address.substr(colon + 1));
    if (!port)
        return false;
    std::optional<std::uint32_t> resolved;
    if (!host.empty() && !(resolved = platform::resolve_ipv4(host)))
        return false;
    m_host = resolved;
    m_port = *port;
    m_session = std::make_unique<Session>(m_factory, m_game);
    m_kind = ConnectionKind::tcpip;
    return true;
}

void Multiplayer::end()
{
    if (m_kind == ConnectionKind::none)
        return;
    m_session.reset();
    m_status = SessionStatus::none;
    m_found.clear();
    m_player_list.clear();
    m_kind = ConnectionKind::none;
}

bool Multiplayer::in_session() const
{
    return m_session && m_status != SessionStatus::none && m_session->active();
}

SessionStatus Multiplayer::session_status() const
{
    return in_session() ? m_status : SessionStatus::none;
}

bool Multiplayer::create_session(std::string_view name, std::int32_t max_players, std::string_view player_name)
{
    if (!m_session || in_session())
        return false;
    std::uint32_t limit = max_players > 0 ? static_cast<std::uint32_t>(max_players) : 0;
    if (!m_session->create(m_port, name, limit, m_migrate, player_name))
        return false;
    m_status = SessionStatus::created;
    return true;
}

std::int32_t Multiplayer::find_sessions()
{
    if (!m_session)
        return 0;
    m_found = m_session->find(m_host, m_port);
    return static_cast<std::int32_t>(m_found.size());
}

std::string Multiplayer::session_name(std::int32_t index) const
{
    if (!m_session || index < 0 || index >= static_cast<std::int32_t>(m_found.size()))
        return {};
    return m_found[index].name;
}

bool Multiplayer::join_session(std::int32_t index, std::string_view player_name)
{
    if (!m_session || in_session() || index < 0 || index >= static_cast<std::int32_t>(m_found.size()))
        return false;
    if (!m_session->join(m_found[index], player_name))
        return false;
    m_status = SessionStatus::joined;
    return true;
}

void Multiplayer::end_session()
{
    if (!in_session())
        return;
    m_session->leave();
    m_status = SessionStatus::none;
}

std::int32_t Multiplayer::find_players()
{
    m_player_list.clear();
    if (!in_session())
        return 0;
    m_session->service();
    for (const PlayerInfo& player : m_session->players())
        if (player.id == m_session->local_id())
            m_player_list.insert(m_player_list.begin(), player);
        else
            m_player_list.push_back(player);
    return static_cast<std::int32_t>(m_player_list.size());
}

std::string Multiplayer::player_name(std::int32_t index) const
{
    return index >= 0 && index < static_cast<std::int32_t>(m_player_list.size()) ? m_player_list[index].name : "";
}

std::uint32_t Multiplayer::player_id(std::int32_t index) const
{
    return index >= 0 && index < static_cast<std::int32_t>(m_player_list.size()) ? m_player_list[index].id : 0;
}

std::optional<std::uint32_t> Multiplayer::player_named(std::string_view name)
{
    find_players();
    for (const PlayerInfo& player : m_player_list)
        if (player.name == name)
            return player.id;
    return std::nullopt;
}

bool Multiplayer::write_data(std::int32_t index, const Value& value)
{
    if (!in_session() || index < 0 || index > MAX_DATA_INDEX)
        return false;
    m_record.clear();
    if (!encode_record(KIND_SHARED_DATA, index, value, m_record) || !m_session->post(0, m_record, m_guaranteed_data))
        return false;
    m_shared[index] = value;
    return true;
}

Value Multiplayer::read_data(std::int32_t index)
{
    if (!in_session())
        return Value {};
    fetch_waiting();
    return index >= 0 && index <= MAX_DATA_INDEX ? m_shared[index] : Value {};
}

bool Multiplayer::send_message(std::uint32_t player, std::int32_t id, const Value& value, bool guaranteed)
{
    if (!in_session())
        return false;
    m_record.clear();
    return encode_record(KIND_MESSAGE, id, value, m_record) && m_session->post(player, m_record, guaranteed);
}

bool Multiplayer::receive_message(std::uint32_t player)
{
    if (!in_session())
        return false;
    fetch_waiting();
    return m_queue.take(player, m_current);
}

std::int32_t Multiplayer::message_count(std::uint32_t player)
{
    if (!in_session())
        return 0;
    fetch_waiting();
    return static_cast<std::int32_t>(m_queue.count(player));
}

void Multiplayer::clear_messages(std::uint32_t player)
{
    if (!in_session())
        return;
    fetch_waiting();
    m_queue.clear(player);
}

std::string Multiplayer::current_sender_name()
{
    find_players();
    for (const PlayerInfo& player : m_player_list)
        if (player.id == m_current.player)
            return player.name;
    return "(unknown)";
}

void Multiplayer::service()
{
    if (m_session)
        m_session->service();
}

void Multiplayer::fetch_waiting()
{
    m_session->drain([this](std::uint32_t sender, std::span<const std::uint8_t> bytes) {
        MessageRecord record;
        if (sender == 0 || !decode_record(bytes, record))
            return;
        if (record.kind == KIND_MESSAGE)
            m_queue.append(sender, record.id, std::move(record.value));
        else if (record.kind == KIND_SHARED_DATA && record.id >= 0 && record.id <= MAX_DATA_INDEX)
            m_shared[record.id] = std::move(record.value);
    });
}

Multiplayer& multiplayer()
{
    static Multiplayer s_multiplayer;
    return s_multiplayer;
}

} // namespace quillon::net
