// NetTransport: one UDP endpoint with connections to peers that carry reliable, ordered packets and unreliable
// ones, plus raw datagrams for finding sessions; and the machine's IPv4 addresses.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::platform {

// An IPv4 endpoint.
struct NetAddress {
    std::uint32_t ipv4 = 0; // the address in network byte order, as sockets keep it
    std::uint16_t port = 0; // the UDP port in host byte order
    friend bool operator==(const NetAddress&, const NetAddress&) = default;
};

// Names one connection of a transport; 0 never names one.
using PeerHandle = std::uint32_t;

// What a transport reports while it is serviced.
class NetEvents {
public:
    virtual ~NetEvents() = default;
    // A connection that this side or the other side asked for is ready.
    virtual void on_connected(PeerHandle peer) = 0;
    // The connection is gone: closed by either side, refused or timed out. Its handle is not used again.
    virtual void on_disconnected(PeerHandle peer) = 0;
    // A packet over a connection; the bytes are valid only during the call.
    virtual void on_received(PeerHandle peer, std::span<const std::uint8_t> data, bool reliable) = 0;
    // A datagram outside every connection (session probes and their answers).
    virtual void on_datagram(const NetAddress& from, std::span<const std::uint8_t> data) = 0;
};

class NetTransport {
public:
    virtual ~NetTransport() = default;

    // Binds the endpoint to this UDP port on every interface (0: a free port) for up to max_peers
    // connections; false when the port is taken or the socket cannot be made.
    virtual bool open(std::uint16_t port, std::size_t max_peers) = 0;
    // The port the endpoint is bound to.
    virtual std::uint16_t local_port() const = 0;
    // Starts a connection; on_connected or on_disconnected follows. 0 when it cannot start.
    virtual PeerHandle connect(const NetAddress& address) = 0;
    // Queues a packet for the peer: reliable ones arrive once and in order, others may be lost.
    virtual bool send(PeerHandle peer, std::span<const std::uint8_t> data, bool reliable) = 0;
    // Closes the connection after what is queued has gone; on_disconnected is not reported for it.
    virtual void disconnect(PeerHandle peer) = 0;
    // Where the peer's packets come from.
    virtual NetAddress peer_address(PeerHandle peer) const = 0;
    // Sends one datagram outside the connections, also to a broadcast address.
    virtual bool send_datagram(const NetAddress& address, std::span<const std::uint8_t> data) = 0;
    // Sends what is queued and reports what arrived, waiting up to wait_ms for the first event.
    virtual void service(NetEvents& events, std::uint32_t wait_ms) = 0;
    // Sends what is queued at once.
    virtual void flush() = 0;
    // The connections that are up or still closing.
    virtual std::size_t connection_count() const = 0;
};

// The ENet transport: a reliable channel and an unreliable one over UDP.
std::unique_ptr<NetTransport> create_enet_transport();

// The host's IPv4 address: a dotted-decimal literal, or a name looked up (which may wait for the resolver).
std::optional<std::uint32_t> resolve_ipv4(std::string_view host);
// Where a probe for sessions on the local network goes: each interface's broadcast address, and loopback.
std::vector<std::uint32_t> broadcast_addresses();
// The first IPv4 address of an interface other than loopback, in dotted decimal; empty when there is none.
std::string first_ipv4_address();
// Dotted decimal of an address in network byte order.
std::string dotted_decimal(std::uint32_t ipv4);

} // namespace quillon::platform
