// The ENet transport: channel 0 carries reliable packets in order, channel 1 unreliable ones; datagrams that
// are not ENet's own are taken off the socket before ENet sees them.
#include "platform/net_transport.h"

#include <enet/enet.h>

#include <cstring>
#include <unordered_map>

namespace quillon::platform {

namespace {

constexpr enet_uint8 RELIABLE_CHANNEL = 0;
constexpr enet_uint8 UNRELIABLE_CHANNEL = 1;
constexpr std::size_t CHANNEL_COUNT = 2;
// A peer that answers nothing for this long is given up (ENet's defaults are 5 and 30 seconds). A game held in a
// message box or paused in the debugger does not service its connections, and should find them still there.
constexpr enet_uint32 TIMEOUT_MINIMUM_MS = 30000;
constexpr enet_uint32 TIMEOUT_MAXIMUM_MS = 90000;
// Our datagrams start with these two bytes. Read as ENet's header they carry the compression flag, and ENet
// drops compressed packets when no compressor is set, as here, so no packet of ENet's own looks like ours.
constexpr std::uint8_t DATAGRAM_MARK[2] = { 0xD1, 0x51 };

bool enet_started()
{
    static const bool s_started = enet_initialize() == 0;
    return s_started;
}

class EnetTransport;

// The transport being serviced, for the intercept callback, which gets only the ENet host.
thread_local EnetTransport* s_servicing = nullptr;
thread_local NetEvents* s_events = nullptr;

class EnetTransport final : public NetTransport {
public:
    ~EnetTransport() override
    {
        if (!m_host)
            return;
        for (auto& [handle, peer] : m_peers)
            enet_peer_disconnect_now(peer, 0);
        enet_host_flush(m_host);
        enet_host_destroy(m_host);
    }

    bool open(std::uint16_t port, std::size_t max_peers) override
    {
        if (m_host || !enet_started())
            return false;
        ENetAddress address {};
        address.host = ENET_HOST_ANY;
        address.port = port;
        m_host = enet_host_create(&address, max_peers, CHANNEL_COUNT, 0, 0);
        if (!m_host)
            return false;
        m_host->intercept = intercept;
        enet_socket_set_option(m_host->socket, ENET_SOCKOPT_BROADCAST, 1);
        ENetAddress bound {};
        m_port = enet_socket_get_address(m_host->socket, &bound) == 0 ? bound.port : port;
        return true;
    }

    std::uint16_t local_port() const override { return m_port; }

    PeerHandle connect(const NetAddress& to) override
    {
        if (!m_host)
            return 0;
        ENetAddress address { to.ipv4, to.port };
        ENetPeer* peer = enet_host_connect(m_host, &address, CHANNEL_COUNT, 0);
        return peer ? adopt(peer) : 0;
    }

    bool send(PeerHandle handle, std::span<const std::uint8_t> data, bool reliable) override
    {
        ENetPeer* peer = find(handle);
        if (!peer)
            return false;
        enet_uint32 flags = reliable ? ENET_PACKET_FLAG_RELIABLE : ENET_PACKET_FLAG_UNRELIABLE_FRAGMENT;
        ENetPacket* packet = enet_packet_create(data.data(), data.size(), flags);
        if (!packet)
            return false;
        if (enet_peer_send(peer, reliable ? RELIABLE_CHANNEL : UNRELIABLE_CHANNEL, packet) != 0) {
            enet_packet_destroy(packet);
            return false;
        }
        return true;
    }

    void disconnect(PeerHandle handle) override
    {
        ENetPeer* peer = find(handle);
        if (!peer)
            return;
        enet_peer_disconnect_later(peer, 0);
        forget(peer);
    }

    NetAddress peer_address(PeerHandle handle) const override
    {
        auto found = m_peers.find(handle);
        return found == m_peers.end() ? NetAddress {}
                                      : NetAddress { found->second->address.host, found->second->address.port };
    }

    bool send_datagram(const NetAddress& to, std::span<const std::uint8_t> data) override
    {
        if (!m_host)
            return false;
        ENetAddress address { to.ipv4, to.port };
        ENetBuffer buffers[2];
        buffers[0].data = const_cast<std::uint8_t*>(DATAGRAM_MARK);
        buffers[0].dataLength = sizeof DATAGRAM_MARK;
        buffers[1].data = const_cast<std::uint8_t*>(data.data());
        buffers[1].dataLength = data.size();
        return enet_socket_send(m_host->socket, &address, buffers, 2) > 0;
    }

    void service(NetEvents& events, std::uint32_t wait_ms) override
    {
        if (!m_host)
            return;
        EnetTransport* outer = s_servicing;
        NetEvents* outer_events = s_events;
        s_servicing = this;
        s_events = &events;
        ENetEvent event;
        int result = enet_host_service(m_host, &event, wait_ms);
        while (result > 0) {
            dispatch(event, events);
            result = enet_host_check_events(m_host, &event);
        }
        s_servicing = outer;
        s_events = outer_events;
    }

    void flush() override
    {
        if (m_host)
            enet_host_flush(m_host);
    }

    std::size_t connection_count() const override { return m_host ? m_host->connectedPeers : 0; }

private:
    void dispatch(ENetEvent& event, NetEvents& events)
    {
        switch (event.type) {
        case ENET_EVENT_TYPE_CONNECT:
            if (!event.peer->data)
                adopt(event.peer);
            events.on_connected(handle_of(event.peer));
            break;
        case ENET_EVENT_TYPE_DISCONNECT: {
            PeerHandle handle = handle_of(event.peer);
            forget(event.peer);
            if (handle)
                events.on_disconnected(handle);
            break;
        }
        case ENET_EVENT_TYPE_RECEIVE: {
            PeerHandle handle = handle_of(event.peer);
            bool reliable = (event.packet->flags & ENET_PACKET_FLAG_RELIABLE) != 0;
            if (handle)
                events.on_received(handle, { event.packet->data, event.packet->dataLength }, reliable);
            enet_packet_destroy(event.packet);
            break;
        }
        case ENET_EVENT_TYPE_NONE:
            break;
        }
    }

    static int intercept(ENetHost* host, ENetEvent*)
    {
        if (host->receivedDataLength < sizeof DATAGRAM_MARK
            || std::memcmp(host->receivedData, DATAGRAM_MARK, sizeof DATAGRAM_MARK) != 0)
            return 0;
        if (s_servicing && s_servicing->m_host == host && s_events) {
            NetAddress from { host->receivedAddress.host, host->receivedAddress.port };
            s_events->on_datagram(
                from, { host->receivedData + sizeof DATAGRAM_MARK, host->receivedDataLength - sizeof DATAGRAM_MARK });
        }
        return 1;
    }

    PeerHandle adopt(ENetPeer* peer)
    {
        PeerHandle handle = ++m_last_handle;
        if (handle == 0)
            handle = ++m_last_handle;
        peer->data = reinterpret_cast<void*>(static_cast<std::uintptr_t>(handle));
        enet_peer_timeout(peer, 0, TIMEOUT_MINIMUM_MS, TIMEOUT_MAXIMUM_MS);
        m_peers[handle] = peer;
        return handle;
    }

    void forget(ENetPeer* peer)
    {
        m_peers.erase(handle_of(peer));
        peer->data = nullptr;
    }

    static PeerHandle handle_of(const ENetPeer* peer)
    {
        return static_cast<PeerHandle>(reinterpret_cast<std::uintptr_t>(peer->data));
    }

    ENetPeer* find(PeerHandle handle) const
    {
        auto found = m_peers.find(handle);
        return found == m_peers.end() ? nullptr : found->second;
    }

    ENetHost* m_host = nullptr; // the socket and its peers
    std::uint16_t m_port = 0; // the bound port
    PeerHandle m_last_handle = 0; // handles count up and are not reused
    std::unordered_map<PeerHandle, ENetPeer*> m_peers; // the connections by handle
};

} // namespace

std::unique_ptr<NetTransport> create_enet_transport()
{
    return std::make_unique<EnetTransport>();
}

} // namespace quillon::platform
