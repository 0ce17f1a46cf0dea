// Multiplayer: what game code sees of the network: the connection, the session, the players, the message
// queue and the shared data. Received records reach the queue and the shared data only when game code asks
// for messages or data; the network itself is serviced more often, so that connections stay alive.
#pragma once

#include "code/value.h"
#include "net/message_queue.h"
#include "net/session.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillon::net {

// The port of a session when the address names none.
constexpr std::uint16_t DEFAULT_PORT = 24510;
// Indices 0 to this of the shared data exist.
constexpr std::int32_t MAX_DATA_INDEX = 10000;

enum class ConnectionKind : std::int32_t { none = 0, ipx = 1, tcpip = 2, modem = 3, serial = 4 };
enum class SessionStatus : std::int32_t { none = 0, created = 1, joined = 2 };

class Multiplayer {
public:
    Multiplayer();
    ~Multiplayer();

    // The game's GUID keys its sessions; the factory makes the transport (ENet unless a test says otherwise).
    void set_game(const Guid& game) { m_game = game; }
    void set_transport_factory(Session::TransportFactory factory) { m_factory = std::move(factory); }

    // "host:port", "host", ":port" or "": a host to ask for sessions (none: the local network) and the port.
    // False when connected already, or the host does not resolve, or the port is not 1 to 65535.
    bool init_tcpip(std::string_view address);
    ConnectionKind connection_kind() const { return m_kind; }
    // Leaves the session, if any, and drops the connection.
    void end();

    void set_migration(bool migrate) { m_migrate = migrate; }
    bool create_session(std::string_view name, std::int32_t max_players, std::string_view player_name);
    std::int32_t find_sessions();
    // The name of found session i, while connected; empty otherwise.
    std::string session_name(std::int32_t index) const;
    bool join_session(std::int32_t index, std::string_view player_name);
    // Created or joined; none again once the session ended, by this runner or by its host leaving.
    SessionStatus session_status() const;
    void end_session();

    // Rebuilds the players list (the local player first) and gives its length.
    std::int32_t find_players();
    std::string player_name(std::int32_t index) const;
    std::uint32_t player_id(std::int32_t index) const;
    // The id of the first player in a rebuilt list with exactly this name.
    std::optional<std::uint32_t> player_named(std::string_view name);

    bool write_data(std::int32_t index, const Value& value);
    Value read_data(std::int32_t index);
    void set_data_mode(bool guaranteed) { m_guaranteed_data = guaranteed; }

    bool send_message(std::uint32_t player, std::int32_t id, const Value& value, bool guaranteed);
    bool receive_message(std::uint32_t player);
    std::int32_t message_count(std::uint32_t player);
    void clear_messages(std::uint32_t player);
    const QueuedMessage& current_message() const { return m_current; }
    // The current message's sender by name, from a rebuilt players list; "(unknown)" when the sender is gone.
    std::string current_sender_name();

    // Keeps the connections alive between script calls; records stay waiting for a script to fetch them.
    void service();

private:
    bool in_session() const;
    void fetch_waiting();

    Session::TransportFactory m_factory; // makes transports
    Guid m_game {}; // the sessions of this game only
    ConnectionKind m_kind = ConnectionKind::none; // the connection made by an init function
    std::optional<std::uint32_t> m_host; // the host to ask for sessions; none: broadcast
    std::uint16_t m_port = DEFAULT_PORT; // where sessions listen
    std::unique_ptr<Session> m_session; // the network side, while connected
    SessionStatus m_status = SessionStatus::none; // what this runner did last
    bool m_migrate = false; // sessions created outlive their host
    bool m_guaranteed_data = false; // shared data goes guaranteed
    std::vector<FoundSession> m_found; // the last find's sessions
    std::vector<PlayerInfo> m_player_list; // the last rebuilt players list, local player first
    MessageQueue m_queue; // received messages
    std::vector<Value> m_shared; // the shared data, indices 0 to MAX_DATA_INDEX
    QueuedMessage m_current; // the message taken last
    std::vector<std::uint8_t> m_record; // a record being encoded, kept for its capacity
};

// The runner's one multiplayer state.
Multiplayer& multiplayer();

} // namespace quillon::net
