// Fuzz target: packets and datagrams from a peer, as a host and as a player, through to the decoded records.
// The first byte chooses who receives the rest: 0 a host from a new connection, 1 a host from a joined player,
// 2 a player from its host, 3 a host as a datagram.
#include "net/message_codec.h"
#include "net/session.h"

#include <cstdint>
#include <deque>
#include <functional>

using namespace quillon;
using namespace quillon::net;

namespace {

using Bytes = std::vector<std::uint8_t>;

// A transport without sockets: what is sent is kept, and scripted events arrive when it is serviced.
class ScriptedTransport final : public platform::NetTransport {
public:
    std::deque<std::function<void(platform::NetEvents&)>> script; // delivered one per service
    Bytes last_datagram; // the last datagram sent

    bool open(std::uint16_t, std::size_t) override { return true; }
    std::uint16_t local_port() const override { return 1; }
    platform::PeerHandle connect(const platform::NetAddress&) override { return 1; }
    bool send(platform::PeerHandle, std::span<const std::uint8_t>, bool) override { return true; }
    void disconnect(platform::PeerHandle) override { }
    platform::NetAddress peer_address(platform::PeerHandle) const override { return { 0x0100007F, 9 }; }
    bool send_datagram(const platform::NetAddress&, std::span<const std::uint8_t> data) override
    {
        last_datagram.assign(data.begin(), data.end());
        return true;
    }
    void service(platform::NetEvents& events, std::uint32_t) override
    {
        if (script.empty())
            return;
        auto next = std::move(script.front());
        script.pop_front();
        next(events);
    }
    void flush() override { }
    std::size_t connection_count() const override { return 0; }
};

const Guid GAME {};

Bytes welcome_packet()
{
    Bytes packet { std::uint8_t(PacketType::welcome) };
    WireWriter writer(packet);
    writer.u32(6);
    writer.byte(1);
    writer.u32(0);
    writer.text("fuzz");
    writer.u32(2);
    write_player(writer, { 5, "host", {} });
    write_player(writer, { 6, "me", { 0x0100007F, 7 } });
    return packet;
}

void drain_records(Session& session)
{
    session.drain([](std::uint32_t, std::span<const std::uint8_t> bytes) {
        MessageRecord record;
        decode_record(bytes, record);
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    std::span<const std::uint8_t> packet(data + 1, size - 1);
    // The session takes the one transport when it first needs one; the target keeps a hand on it.
    auto owned = std::make_unique<ScriptedTransport>();
    ScriptedTransport* transport = owned.get();
    Session session([&owned]() -> std::unique_ptr<platform::NetTransport> { return std::move(owned); }, GAME);
    switch (data[0] % 4) {
    case 0:
    case 3:
        session.create(1, "fuzz", 0, true, "host");
        if (data[0] % 4 == 0)
            session.on_received(7, packet, true);
        else
            session.on_datagram({ 0x0100007F, 9 }, packet);
        break;
    case 1: {
        session.create(1, "fuzz", 0, true, "host");
        // The session's key, from its answer to a probe.
        Bytes probe { std::uint8_t(DatagramType::probe) };
        probe.resize(17);
        session.on_datagram({ 0x0100007F, 9 }, probe);
        Bytes join { std::uint8_t(PacketType::join) };
        join.resize(17);
        join.insert(join.end(), transport->last_datagram.begin() + 17, transport->last_datagram.begin() + 33);
        WireWriter(join).text("player");
        session.on_connected(7);
        session.on_received(7, join, true);
        session.on_received(7, packet, true);
        break;
    }
    case 2: {
        Bytes welcome = welcome_packet();
        transport->script.push_back([](platform::NetEvents& events) { events.on_connected(1); });
        transport->script.push_back([welcome](platform::NetEvents& events) { events.on_received(1, welcome, true); });
        session.join({}, "me");
        session.on_received(1, packet, true);
        break;
    }
    }
    drain_records(session);
    session.players();
    return 0;
}
