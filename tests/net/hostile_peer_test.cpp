// A peer that speaks the protocol badly or with ill intent cannot crash a host or change what it should not.
#include "game_processes.h"
#include "net/message_codec.h"
#include "net/multiplayer.h"
#include "net/session_protocol.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

using namespace quillon;
using namespace quillon::net;

namespace {

using Bytes = std::vector<std::uint8_t>;

// A raw peer: what arrives at it, kept.
struct RawEvents : platform::NetEvents {
    bool connected = false;
    std::vector<Bytes> packets;
    std::vector<Bytes> datagrams;
    void on_connected(platform::PeerHandle) override { connected = true; }
    void on_disconnected(platform::PeerHandle) override { connected = false; }
    void on_received(platform::PeerHandle, std::span<const std::uint8_t> data, bool) override
    {
        packets.emplace_back(data.begin(), data.end());
    }
    void on_datagram(const platform::NetAddress&, std::span<const std::uint8_t> data) override
    {
        datagrams.emplace_back(data.begin(), data.end());
    }
};

class HostilePeer : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::uint16_t port = quillon::testing::free_udp_port();
        ASSERT_TRUE(m_host.init_tcpip(":" + std::to_string(port)));
        ASSERT_TRUE(m_host.create_session("target", 0, "host"));
        m_raw = platform::create_enet_transport();
        ASSERT_TRUE(m_raw->open(0, 4));
        platform::NetAddress host_address { htonl(INADDR_LOOPBACK), port };
        // The session's key comes from its answer to a probe, as any finder gets it.
        Bytes probe { std::uint8_t(DatagramType::probe) };
        probe.resize(17);
        m_raw->send_datagram(host_address, probe);
        ASSERT_TRUE(pump([&] { return !m_events.datagrams.empty(); }));
        m_key.assign(m_events.datagrams[0].begin() + 17, m_events.datagrams[0].begin() + 33);
        m_peer = m_raw->connect(host_address);
        ASSERT_TRUE(pump([&] { return m_events.connected; }));
    }

    // Services both sides until the condition holds, for at most the time given.
    bool pump(const std::function<bool()>& done, int timeout_ms = 2000)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
        while (std::chrono::steady_clock::now() < deadline) {
            m_host.service();
            m_raw->service(m_events, 1);
            if (done())
                return true;
        }
        return false;
    }
    // Sends reliably and gives the host time to handle it (on loopback it takes well under a millisecond).
    void send(const Bytes& packet)
    {
        m_raw->send(m_peer, packet, true);
        m_raw->flush();
        pump([] { return false; }, 50);
    }
    static Bytes join_packet(const Bytes& key)
    {
        Bytes packet { std::uint8_t(PacketType::join) };
        packet.resize(17);
        packet.insert(packet.end(), key.begin(), key.end());
        WireWriter(packet).text("mallory");
        return packet;
    }
    void join()
    {
        m_raw->send(m_peer, join_packet(m_key), true);
        ASSERT_TRUE(pump([&] { return m_host.find_players() == 2; }));
    }
    static Bytes post(std::uint32_t target, const Bytes& record)
    {
        Bytes packet { std::uint8_t(PacketType::post) };
        WireWriter(packet).u32(target);
        packet.insert(packet.end(), record.begin(), record.end());
        return packet;
    }
    static Bytes message(std::int32_t id, const Value& value, std::uint8_t kind = KIND_MESSAGE)
    {
        Bytes record;
        encode_record(kind, id, value, record);
        return record;
    }

    Multiplayer m_host;
    std::unique_ptr<platform::NetTransport> m_raw;
    RawEvents m_events;
    platform::PeerHandle m_peer = 0;
    Bytes m_key;
};

TEST_F(HostilePeer, AJoinWithTheWrongKeyIsRefused)
{
    Bytes wrong = m_key;
    wrong[0] ^= 1;
    m_raw->send(m_peer, join_packet(wrong), true);
    ASSERT_TRUE(pump([&] { return !m_events.packets.empty(); }));
    EXPECT_EQ(m_events.packets[0], Bytes { std::uint8_t(PacketType::refuse) });
    EXPECT_TRUE(pump([&] { return !m_events.connected; }));
    EXPECT_EQ(m_host.find_players(), 1);
}

TEST_F(HostilePeer, MalformedPacketsAreIgnored)
{
    send(post(0, message(1, Value(1.0)))); // not a player yet
    EXPECT_EQ(m_host.message_count(0), 0);
    join();
    const Bytes garbage[] = {
        {},
        { 0 },
        { 255, 1, 2, 3 },
        { std::uint8_t(PacketType::post), 0, 0 }, // cut short in the target
        post(0, { 1, 5, 0 }), // record cut short
        post(0, { 1, 5, 0, 0, 0, 1, 0xFF, 0xFF, 0xFF, 0x7F, 'a' }), // string length lies
        post(0, { 1, 5, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0 }), // unknown value flag
        post(0, Bytes(MAX_RECORD_BYTES + 1, 0)), // too long
        { std::uint8_t(PacketType::welcome), 1, 0, 0, 0 }, // host packets from a player
        { std::uint8_t(PacketType::player_left), 1, 0, 0, 0 },
    };
    for (const Bytes& packet : garbage)
        send(packet);
    EXPECT_EQ(m_host.message_count(0), 0);
    EXPECT_EQ(m_host.find_players(), 2);
    send(post(0, message(4, Value("fine"))));
    ASSERT_TRUE(m_host.receive_message(0));
    EXPECT_EQ(m_host.current_message().value.string.view(), "fine");
}

TEST_F(HostilePeer, CannotSpeakForAnotherPlayerOrWriteOutsideTheData)
{
    join();
    std::uint32_t host_id = m_host.player_id(0);
    std::uint32_t mallory = m_host.player_id(1);
    // A deliver packet names a sender; the host hears only its own kind from players.
    Bytes deliver { std::uint8_t(PacketType::deliver) };
    WireWriter(deliver).u32(host_id);
    Bytes record = message(1, Value("forged"));
    deliver.insert(deliver.end(), record.begin(), record.end());
    send(deliver);
    EXPECT_EQ(m_host.message_count(0), 0);
    // A rejoin under the host's id from a connection that is a player already is ignored too.
    Bytes rejoin { std::uint8_t(PacketType::rejoin) };
    rejoin.insert(rejoin.end(), m_key.begin(), m_key.end());
    WireWriter(rejoin).u32(host_id);
    send(rejoin);
    EXPECT_EQ(m_host.find_players(), 2);
    // Records carry the sender the host knows, whatever they say.
    send(post(0, message(2, Value("signed"))));
    ASSERT_TRUE(m_host.receive_message(0));
    EXPECT_EQ(m_host.current_message().player, mallory);
    EXPECT_EQ(m_host.current_sender_name(), "mallory");
    // Shared data at an index of a billion, or below zero, changes nothing.
    send(post(0, message(1000000000, Value(5.0), KIND_SHARED_DATA)));
    send(post(0, message(-1, Value(5.0), KIND_SHARED_DATA)));
    send(post(0, message(10000, Value(6.0), KIND_SHARED_DATA)));
    EXPECT_EQ(m_host.read_data(10000).real, 6.0);
    EXPECT_EQ(m_host.read_data(0).real, 0.0);
}

TEST_F(HostilePeer, AFloodFillsTheQueueToItsLimitOnly)
{
    join();
    for (int i = 0; i < 4500; ++i)
        m_raw->send(m_peer, post(0, message(i, Value(double(i)))), true);
    m_raw->flush();
    ASSERT_TRUE(pump([&] { return m_host.message_count(0) == 4000; }));
    pump([] { return false; }, 200);
    EXPECT_EQ(m_host.message_count(0), 4000);
    ASSERT_TRUE(m_host.receive_message(0));
    EXPECT_EQ(m_host.current_message().id, 0);
    send(post(0, message(9999, Value(1.0))));
    EXPECT_EQ(m_host.message_count(0), 4000); // the read one made room for this one
}

} // namespace
