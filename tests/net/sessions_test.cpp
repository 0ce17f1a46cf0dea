// Games in separate runners on 127.0.0.1 create, find and join sessions, exchange messages and shared data,
// and live through players and hosts leaving.
#include "game_processes.h"
#include "lossy_relay.h"

#include <gtest/gtest.h>

#include <algorithm>

using quillon::testing::GameProcesses;

namespace {

::testing::AssertionResult has_lines(
    const GameProcesses& games, const std::string& name, const std::vector<std::string>& expected)
{
    std::vector<std::string> seen = games.lines(name);
    for (const std::string& line : expected)
        if (std::find(seen.begin(), seen.end(), line) == seen.end()) {
            std::string all;
            for (const std::string& s : seen)
                all += "\n  " + s;
            return ::testing::AssertionFailure() << name << " lacks \"" << line << "\"; it wrote:" << all;
        }
    return ::testing::AssertionSuccess();
}

// Finds the session at 127.0.0.1 and joins it under the name; says what it found and who is there. A busy
// machine may keep the host from answering in time, so finding is tried again, as a game would.
std::string join_code(const std::string& player, int tries = 10)
{
    return "mplay_init_tcpip('127.0.0.1:PORT'); n = 0;"
           "for (k = 0; k < "
        + std::to_string(tries)
        + " && n == 0; k += 1) n = mplay_session_find();"
          "show_debug_message('found ' + string(n) + ' ' + mplay_session_name(0));"
          "show_debug_message('join ' + string(mplay_session_join(0, '"
        + player
        + "')) + ' status ' + "
          "string(mplay_session_status()));";
}

TEST(Sessions, TwoGamesExchangeMessagesAndSharedData)
{
    GameProcesses games;
    games.write_game("host",
        "mplay_init_tcpip(':PORT'); mplay_data_mode(1);"
        "show_debug_message('ready ' + string(mplay_session_create('duel', 2, 'alice')) + ' ' + "
        "string(mplay_session_status()));"
        "phase = 0;",
        "if (phase == 0 && mplay_player_find() == 2) { phase = 1;"
        "  show_debug_message('players ' + mplay_player_name(0) + ',' + mplay_player_name(1)); }"
        "while (mplay_message_receive(0)) {"
        "  show_debug_message('got ' + string(mplay_message_id()) + ' ' + string(mplay_message_value()) + ' from ' + "
        "mplay_message_name());"
        "  if (mplay_message_player() != mplay_player_id(1)) show_debug_message('wrong sender');"
        "  mplay_message_send('bob', 2, 'pong'); mplay_data_write(5, 'shared'); mplay_message_send_guaranteed(0, 3, "
        "2.5); }"
        "if (phase == 1 && mplay_player_find() == 1) { show_debug_message('left, sender ' + mplay_message_name()); "
        "game_end(); }");
    games.write_game("client",
        join_code("bob")
            + "mplay_player_find(); show_debug_message('me ' + mplay_player_name(0) + ', host ' + "
              "mplay_player_name(1));"
              "show_debug_message('to nobody ' + string(mplay_message_send('carol', 1, 'x')));"
              "mplay_message_send_guaranteed('alice', 1, 'ping'); got = 0;",
        "while (mplay_message_receive(0)) { got += 1;"
        "  show_debug_message('got ' + string(mplay_message_id()) + ' ' + string(mplay_message_value()) + ' from ' + "
        "mplay_message_name()); }"
        "if (got == 2 && is_string(mplay_data_read(5))) { show_debug_message('data ' + mplay_data_read(5)); "
        "game_end(); }");
    games.start("host");
    ASSERT_TRUE(games.wait_for_line("host", "ready 1 1"));
    games.start("client");
    ASSERT_TRUE(games.wait_all());
    EXPECT_TRUE(has_lines(games, "client",
        { "found 1 duel", "join 1 status 2", "me bob, host alice", "to nobody 0", "got 2 pong from alice",
            "got 3 2.50 from alice", "data shared" }));
    EXPECT_TRUE(has_lines(games, "host", { "players alice,bob", "got 1 ping from bob", "left, sender (unknown)" }));
    EXPECT_FALSE(has_lines(games, "host", { "wrong sender" }));
    EXPECT_EQ(games.exit_status("host"), 0);
    EXPECT_EQ(games.exit_status("client"), 0);
}

TEST(Sessions, AFullSessionRefusesTheJoinAndOtherGamesDoNotSeeIt)
{
    GameProcesses games;
    games.write_game("host",
        "mplay_init_tcpip(':PORT'); mplay_session_create('solo', 1, 'alone'); show_debug_message('ready');", "");
    games.write_game("late", join_code("late", 1) + "game_end();", "");
    games.start("host");
    ASSERT_TRUE(games.wait_for_line("host", "ready"));
    games.start("late");
    ASSERT_TRUE(games.wait_for_line("late", "join 0 status 0"));
    EXPECT_TRUE(has_lines(games, "late", { "found 0 " }));
}

// Eight runners: every player sends one guaranteed message to all, and each receives the seven others'.
TEST(Sessions, EightGamesAllHearEachOther)
{
    GameProcesses games;
    const std::string wait_and_talk
        = "if (!sent && mplay_player_find() == 8) { sent = true; mplay_message_send_guaranteed(0, me, 'hello'); }"
          "while (mplay_message_receive(0)) { got += 1; total += mplay_message_id(); }"
          "if (!done && got == 7) { done = true; show_debug_message('heard ' + string(total)); }";
    games.write_game("p0",
        "mplay_init_tcpip(':PORT'); mplay_session_create('party', 8, 'p0'); show_debug_message('ready');"
        "me = 1; sent = false; got = 0; total = 0; done = false;",
        wait_and_talk + "if (done && mplay_player_find() == 1) game_end();");
    for (int i = 1; i < 8; ++i)
        games.write_game("p" + std::to_string(i),
            join_code("p" + std::to_string(i)) + "me = " + std::to_string(i + 1)
                + "; sent = false; got = 0; total = 0; done = false;",
            wait_and_talk + "if (done) game_end();");
    games.start("p0");
    ASSERT_TRUE(games.wait_for_line("p0", "ready"));
    for (int i = 1; i < 8; ++i)
        games.start("p" + std::to_string(i));
    EXPECT_TRUE(games.wait_all(60000));
    // Ids 1 to 8 sum to 36; each player hears all but its own.
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(has_lines(games, "p" + std::to_string(i), { "heard " + std::to_string(36 - (i + 1)) }));
}

// The host leaves. With migration the two others play on and talk; without it their session ends.
TEST(Sessions, HostLeavingMigratesOrEndsTheSession)
{
    for (bool migrate : { true, false }) {
        SCOPED_TRACE(migrate ? "migrating" : "not migrating");
        GameProcesses games;
        games.write_game("host",
            std::string("mplay_init_tcpip(':PORT'); mplay_session_mode(") + (migrate ? "1" : "0")
                + "); mplay_session_create('moving', 0, 'h'); show_debug_message('ready');",
            "if (mplay_player_find() == 3) { mplay_session_end(); show_debug_message('left ' + "
            "string(mplay_session_status())); game_end(); }");
        // When the host has gone, b speaks to a, a answers b, then b leaves and a ends after it.
        const std::string host_gone
            = "hosted = false; count = mplay_player_find();"
              "for (i = 0; i < count; i += 1) if (mplay_player_name(i) == 'h') hosted = true;"
              "if (phase == 0 && !hosted) { phase = 2;"
              "  show_debug_message('now ' + string(count) + ' status ' + string(mplay_session_status()));"
              "  if (mplay_session_status() == 0) game_end(); }"
              "if (phase == 2 && mplay_message_receive(0)) { phase = 3;"
              "  show_debug_message('got ' + mplay_message_value() + ' from ' + mplay_message_name()); }";
        games.write_game("a", join_code("a") + "phase = 0;",
            host_gone
                + "if (phase == 3) { mplay_message_send_guaranteed(mplay_message_player(), 8, 'back'); phase = 4; }"
                  "if (phase == 4 && mplay_player_find() == 1) game_end();");
        games.write_game("b", join_code("b") + "phase = 0; sent = false;",
            host_gone
                + "if (phase == 2 && !sent) { sent = true; mplay_message_send_guaranteed(mplay_player_id(1), 7, 'still "
                  "here'); }"
                  "if (phase == 3) game_end();");
        games.start("host");
        ASSERT_TRUE(games.wait_for_line("host", "ready"));
        games.start("a");
        ASSERT_TRUE(games.wait_for_line("a", "join 1 status 2"));
        games.start("b");
        ASSERT_TRUE(games.wait_all());
        EXPECT_TRUE(has_lines(games, "host", { "left 0" }));
        if (migrate) {
            EXPECT_TRUE(has_lines(games, "a", { "now 2 status 2", "got still here from b" }));
            EXPECT_TRUE(has_lines(games, "b", { "now 2 status 2", "got back from a" }));
        } else {
            EXPECT_TRUE(has_lines(games, "a", { "now 0 status 0" }));
            EXPECT_TRUE(has_lines(games, "b", { "now 0 status 0" }));
        }
    }
}

} // namespace

namespace {

// Through a link that loses a fifth of the packets and reorders others, every guaranteed message arrives, in
// order; of the others some are lost.
TEST(Sessions, GuaranteedMessagesSurviveALossyLink)
{
    GameProcesses games;
    quillon::testing::LossyRelay relay(games.port(), 0.2, 0.2, 12345);
    games.write_game("host",
        "mplay_init_tcpip(':PORT'); mplay_session_create('lossy', 0, 'h'); show_debug_message('ready');"
        "next = 1; broken = 0; plain = 0; ended = false;",
        "while (mplay_message_receive(0)) {"
        "  if (mplay_message_id() == 999) { ended = true; }"
        "  else if (mplay_message_id() > 1000) { plain += 1; }"
        "  else { if (mplay_message_id() != next) broken += 1; next = mplay_message_id() + 1; } }"
        "if (ended) { show_debug_message('guaranteed ' + string(next - 1) + ' broken ' + string(broken));"
        "  show_debug_message('unguaranteed ' + string(plain)); game_end(); }");
    games.write_game("client",
        "mplay_init_tcpip('127.0.0.1:" + std::to_string(relay.port())
            + "'); n = 0;"
              "for (k = 0; k < 10 && n == 0; k += 1) n = mplay_session_find();"
              "show_debug_message('join ' + string(mplay_session_join(0, 'c')));"
              "for (i = 1; i <= 300; i += 1) { mplay_message_send_guaranteed(0, i, 'g' + string(i)); "
              "mplay_message_send(0, 1000 + i, i); }"
              "mplay_message_send_guaranteed(0, 999, 'end');",
        "if (mplay_session_status() == 0 || mplay_player_find() == 1) game_end();");
    games.start("host");
    ASSERT_TRUE(games.wait_for_line("host", "ready"));
    games.start("client");
    ASSERT_TRUE(games.wait_all(120000));
    ASSERT_TRUE(has_lines(games, "client", { "join 1" }));
    ASSERT_TRUE(has_lines(games, "host", { "guaranteed 300 broken 0" }));
    std::vector<std::string> lines = games.lines("host");
    int plain = -1;
    for (const std::string& line : lines)
        if (line.rfind("unguaranteed ", 0) == 0)
            plain = std::stoi(line.substr(13));
    EXPECT_GT(plain, 0);
    EXPECT_LT(plain, 300);
    EXPECT_GT(relay.dropped(), 0);
    EXPECT_GT(relay.reordered(), 0);
}

} // namespace
