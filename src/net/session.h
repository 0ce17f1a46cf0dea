// Session: this runner's place in a network session: finding sessions, creating one as its host, joining
// one, the players, carrying records between players, and a host that leaves.
//
// Every player is connected to the host only; the host passes records on and stamps each with the id of the
// player it came from, so nobody can send in another player's name. When the host goes and the session allows
// it, the player who joined first after it becomes the host and the others connect to it.
#pragma once

#include "net/session_protocol.h"
#include "platform/net_transport.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace quillon::net {

// A session that answered a probe.
struct FoundSession {
    Guid key {}; // the session's own identity, made by its host
    std::string name; // the session's name
    platform::NetAddress address; // where its host listens
};

// How long calls may wait for the network. Finding without a host named waits the whole time for answers.
constexpr std::uint32_t FIND_WAIT_MS = 300; // answers from the local network
constexpr std::uint32_t FIND_HOST_WAIT_MS = 1000; // the named host's answer, returned as soon as it comes
constexpr std::uint32_t JOIN_WAIT_MS = 2000; // connecting and being welcomed
constexpr std::uint32_t LEAVE_WAIT_MS = 200; // what is queued goes out before the connections close
constexpr std::uint32_t MIGRATION_WAIT_MS = 5000; // players reconnecting to the host that took over
// Records delivered but not yet fetched by a script are kept up to this size; later ones are dropped.
constexpr std::size_t MAX_INBOX_BYTES = 16u << 20;
// Rejoins kept for a player that has not yet seen the host go, when the others saw it first.
constexpr std::size_t MAX_EARLY_REJOINS = 64;
// Connections an endpoint keeps room for: a session without a player maximum takes up to 255 players besides
// the host. The transport walks every slot each time it is serviced, so the room is not made larger than needed.
constexpr std::size_t DEFAULT_CONNECTIONS = 255;
// The transport's own limit.
constexpr std::size_t MAX_CONNECTIONS = 4095;
// Slots beyond a session's maximum, so that a full session can still turn players away politely.
constexpr std::size_t SPARE_CONNECTIONS = 8;

class Session final : public platform::NetEvents {
public:
    using TransportFactory = std::function<std::unique_ptr<platform::NetTransport>()>;

    Session(TransportFactory factory, const Guid& game);
    ~Session() override;

    // Asks the host, or every host on the local network, for sessions of this game and gives those that
    // are not full.
    std::vector<FoundSession> find(std::optional<std::uint32_t> host, std::uint16_t port);
    // Opens a session on the port with this runner as host and its first player. A maximum of 0 means no limit.
    bool create(std::uint16_t port, std::string_view name, std::uint32_t max_players, bool migrate,
        std::string_view player_name);
    // Joins a found session as a new player.
    bool join(const FoundSession& session, std::string_view player_name);
    // Leaves the session, telling the others; the players stay in their session or, if this was the host
    // and the session does not migrate, it ends for everyone.
    void leave();

    // Whether this runner is in a session; false once the session ended, whoever ended it.
    bool active() const { return m_role != Role::none && m_role != Role::joining; }
    // Sends what is queued and handles what arrived (players, records, a host leaving), waiting up to wait_ms.
    void service(std::uint32_t wait_ms = 0);

    // Every player in joining order (the host first); the local player is among them.
    const std::vector<PlayerInfo>& players() const { return m_players; }
    std::uint32_t local_id() const { return m_local_id; }
    bool has_player(std::uint32_t id) const { return index_of(id) >= 0; }

    // Sends an encoded record to a player, or to every other player with target 0; false when not in a session,
    // the target is not a player, or the transport refuses.
    bool post(std::uint32_t target, std::span<const std::uint8_t> record, bool reliable);
    // Hands every record delivered since the last call to visit(sender, record), oldest first.
    void drain(const std::function<void(std::uint32_t sender, std::span<const std::uint8_t> record)>& visit);

    // platform::NetEvents
    void on_connected(platform::PeerHandle peer) override;
    void on_disconnected(platform::PeerHandle peer) override;
    void on_received(platform::PeerHandle peer, std::span<const std::uint8_t> data, bool reliable) override;
    void on_datagram(const platform::NetAddress& from, std::span<const std::uint8_t> data) override;

private:
    enum class Role { none, host, joining, player, rejoining };
    using Clock = std::chrono::steady_clock;

    // A player's connection as the host sees it.
    struct Link {
        std::uint32_t id = 0; // the player
        platform::PeerHandle peer = 0; // 0 while the player has not reconnected after a migration
        std::vector<std::uint8_t> held; // packets for it until it reconnects: flag, length, bytes
    };

    bool ensure_transport(std::uint16_t port, std::size_t connections = DEFAULT_CONNECTIONS);
    void wait_until(Clock::time_point deadline, const std::function<bool()>& done);
    void end_locally();
    int index_of(std::uint32_t id) const;
    std::uint32_t next_id();
    void deliver_locally(std::uint32_t sender, std::span<const std::uint8_t> record);
    bool send_packet(platform::PeerHandle peer, bool reliable);

    // Host side (session_host.cpp).
    void host_received(platform::PeerHandle peer, std::span<const std::uint8_t> data, bool reliable);
    void accept_join(platform::PeerHandle peer, WireReader& reader);
    void accept_rejoin(platform::PeerHandle peer, WireReader& reader);
    void relay(std::uint32_t sender, WireReader& reader, bool reliable);
    void welcome(platform::PeerHandle peer, std::uint32_t id);
    void remove_player(std::uint32_t id);
    void send_to_players(std::uint32_t except, bool reliable);
    bool send_to_link(Link& link, bool reliable);
    Link* link_of(std::uint32_t id);
    void answer_probe(const platform::NetAddress& from, WireReader& reader);
    void drop_missing_players();

    // Player side.
    void player_received(std::span<const std::uint8_t> data);
    void take_welcome(WireReader& reader);
    void host_lost();
    void flush_outbox();

    TransportFactory m_factory; // makes the transport when one is needed
    Guid m_game {}; // sessions of other games are not seen
    std::unique_ptr<platform::NetTransport> m_transport; // the socket, while finding or in a session
    Role m_role = Role::none; // what this runner is in the session
    Guid m_key {}; // the session's identity
    std::string m_name; // the session's name
    std::uint32_t m_max_players = 0; // 0: no limit
    bool m_migrate = false; // the session outlives its host
    std::vector<PlayerInfo> m_players; // joining order, the host first
    std::vector<Link> m_links; // host side: each other player's connection
    std::uint32_t m_local_id = 0; // this runner's player
    std::uint32_t m_last_id = 0; // the highest id issued in the session
    platform::PeerHandle m_host_peer = 0; // player side: the connection to the host
    platform::NetAddress m_host_address; // player side: where the host was reached
    std::string m_joining_name; // the player name sent while joining
    bool m_refused = false; // the host turned the join down
    Clock::time_point m_deadline {}; // end of a migration's wait
    std::vector<FoundSession>* m_found = nullptr; // while finding: where answers go
    std::vector<std::uint8_t> m_inbox; // delivered records: sender, length, bytes
    std::vector<std::uint8_t> m_outbox; // posts held while reconnecting: flag, length, bytes
    std::vector<std::uint8_t> m_packet; // the packet being built, kept for its capacity
    // Player side: rejoins that came before this player saw the host go (at most MAX_EARLY_REJOINS).
    std::vector<std::pair<platform::PeerHandle, std::vector<std::uint8_t>>> m_early_rejoins;
};

} // namespace quillon::net
