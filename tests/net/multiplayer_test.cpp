// What game code sees before and outside sessions: bad addresses, calls in the wrong state, limits.
#include "game_processes.h"
#include "net/multiplayer.h"
#include "platform/net_transport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace quillon;
using namespace quillon::net;

namespace {

TEST(Multiplayer, ConnectsOnlyWithAGoodAddressAndOnlyOnce)
{
    const char* bad[] = { "no-such-host.invalid:2000", "127.0.0.1:0", "127.0.0.1:65536", "127.0.0.1:70000",
        "127.0.0.1:abc", "127.0.0.1:-5", ":99999999999" };
    for (const char* address : bad) {
        Multiplayer state;
        EXPECT_FALSE(state.init_tcpip(address)) << address;
        EXPECT_EQ(state.connection_kind(), ConnectionKind::none);
    }
    const char* good[] = { "", ":", "127.0.0.1", "127.0.0.1:", "localhost:65535", ":1" };
    for (const char* address : good) {
        Multiplayer state;
        EXPECT_TRUE(state.init_tcpip(address)) << address;
        EXPECT_EQ(state.connection_kind(), ConnectionKind::tcpip);
        EXPECT_FALSE(state.init_tcpip("127.0.0.1:2000"));
        EXPECT_EQ(state.connection_kind(), ConnectionKind::tcpip);
        state.end();
        EXPECT_EQ(state.connection_kind(), ConnectionKind::none);
    }
}

TEST(Multiplayer, CallsWithoutASessionChangeNothing)
{
    Multiplayer state;
    EXPECT_FALSE(state.create_session("s", 0, "p")); // no connection
    EXPECT_EQ(state.find_sessions(), 0);
    EXPECT_FALSE(state.join_session(0, "p"));
    ASSERT_TRUE(state.init_tcpip("127.0.0.1:1"));
    EXPECT_FALSE(state.join_session(0, "p")); // nothing found
    EXPECT_EQ(state.session_name(0), "");
    EXPECT_EQ(state.session_status(), SessionStatus::none);
    EXPECT_EQ(state.find_players(), 0);
    EXPECT_EQ(state.player_name(0), "");
    EXPECT_EQ(state.player_id(0), 0u);
    EXPECT_FALSE(state.write_data(0, Value(1.0)));
    EXPECT_EQ(state.read_data(0).real, 0.0);
    EXPECT_FALSE(state.send_message(0, 1, Value(1.0), true));
    EXPECT_FALSE(state.receive_message(0));
    EXPECT_EQ(state.message_count(0), 0);
    EXPECT_EQ(state.current_sender_name(), "(unknown)");
}

TEST(Multiplayer, SessionLimitsHold)
{
    Multiplayer state;
    ASSERT_TRUE(state.init_tcpip(":" + std::to_string(quillon::testing::free_udp_port())));
    // A name of a megabyte is refused, and the session is not created.
    EXPECT_FALSE(state.create_session(std::string(1 << 20, 'n'), 0, "p"));
    EXPECT_FALSE(state.create_session("s", 0, std::string(1 << 20, 'n')));
    ASSERT_TRUE(state.create_session("s", 0, "me"));
    EXPECT_EQ(state.session_status(), SessionStatus::created);
    EXPECT_FALSE(state.create_session("again", 0, "me"));
    EXPECT_EQ(state.find_players(), 1);
    EXPECT_EQ(state.player_name(0), "me");
    EXPECT_NE(state.player_id(0), 0u);

    EXPECT_TRUE(state.write_data(10000, Value("last")));
    EXPECT_FALSE(state.write_data(10001, Value(1.0)));
    EXPECT_FALSE(state.write_data(-1, Value(1.0)));
    EXPECT_EQ(state.read_data(10000).string.view(), "last");
    EXPECT_EQ(state.read_data(10001).real, 0.0);
    // A record over 10000 bytes is not sent and leaves the local value alone.
    EXPECT_FALSE(state.write_data(3, Value(ScriptString(std::string(9991, 'x')))));
    EXPECT_FALSE(state.send_message(0, 1, Value(ScriptString(std::string(9991, 'x'))), true));
    EXPECT_TRUE(state.send_message(0, 1, Value(ScriptString(std::string(9990, 'x'))), true));
    EXPECT_EQ(state.read_data(3).real, 0.0);
    // Sending to oneself arrives; sending to nobody known fails.
    EXPECT_TRUE(state.send_message(state.player_id(0), 9, Value(4.0), false));
    EXPECT_FALSE(state.send_message(12345, 9, Value(4.0), false));
    ASSERT_TRUE(state.receive_message(0));
    EXPECT_EQ(state.current_message().id, 9);
    EXPECT_EQ(state.current_sender_name(), "me");
    state.end_session();
    EXPECT_EQ(state.session_status(), SessionStatus::none);
    EXPECT_EQ(state.connection_kind(), ConnectionKind::tcpip);
}

} // namespace

namespace {

TEST(Multiplayer, ASecondSessionOnATakenPortIsNotCreated)
{
    std::string address = ":" + std::to_string(quillon::testing::free_udp_port());
    Multiplayer first, second;
    ASSERT_TRUE(first.init_tcpip(address));
    ASSERT_TRUE(second.init_tcpip(address));
    ASSERT_TRUE(first.create_session("one", 0, "a"));
    EXPECT_FALSE(second.create_session("two", 0, "b"));
    EXPECT_EQ(second.session_status(), SessionStatus::none);
}

TEST(Multiplayer, IpAddressIsDottedAndNotLoopback)
{
    std::string address = platform::first_ipv4_address();
    if (address.empty())
        GTEST_SKIP() << "no network interface but loopback";
    EXPECT_NE(address.rfind("127.", 0), 0u);
    EXPECT_EQ(std::count(address.begin(), address.end(), '.'), 3);
}

} // namespace
