// Multiplayer over loopback: two runners' multiplayer states (each on its own thread, as two processes would
// be) exchange 100,000 guaranteed messages of a real and of a 100-character string, then play ping-pong for
// round-trip times; a bare ENet client and server do the same with the same payloads. Then one host with 32
// players that each send 60 messages a second to everyone, and the steps per second the host keeps.
#include "net/message_codec.h"
#include "net/multiplayer.h"

#include <enet/enet.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

using namespace quillon;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int MESSAGES = 100000;
constexpr int ROUND_TRIPS = 5000;
constexpr std::uint16_t PORT = 24611;
constexpr std::uint16_t BARE_PORT = 24612;
// The sender keeps at most this many messages ahead of the receiver, since the runner's queue takes 4000.
constexpr int WINDOW = 2000;

struct Figures {
    double messages_per_second = 0;
    double median_ms = 0;
    double p99_ms = 0;
    int lost = 0;
};

double seconds_since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void percentiles(std::vector<double>& rtts, Figures& figures)
{
    std::sort(rtts.begin(), rtts.end());
    figures.median_ms = rtts[rtts.size() / 2];
    figures.p99_ms = rtts[rtts.size() * 99 / 100];
}

// The runner's multiplayer state: the host counts what arrives and answers pings (id 2) with pongs.
Figures bench_runners(const Value& payload)
{
    Figures figures;
    std::atomic<bool> ready { false }, done { false };
    std::atomic<int> received { 0 };
    std::thread host_thread([&] {
        net::Multiplayer host;
        host.init_tcpip(":" + std::to_string(PORT));
        host.create_session("bench", 0, "host");
        ready = true;
        while (!done) {
            while (host.receive_message(0)) {
                if (host.current_message().id == 2)
                    host.send_message(host.current_message().player, 3, payload, true);
                else
                    ++received;
            }
        }
    });
    while (!ready)
        std::this_thread::yield();
    net::Multiplayer client;
    client.init_tcpip("127.0.0.1:" + std::to_string(PORT));
    client.find_sessions();
    client.join_session(0, "client");
    client.find_players();
    std::uint32_t host_id = client.player_id(1);
    auto start = Clock::now();
    for (int i = 0; i < MESSAGES; ++i) {
        client.send_message(host_id, 1, payload, true);
        client.message_count(0); // a game fetches between sends; so the connection is serviced
        while (i - received > WINDOW)
            client.message_count(0);
    }
    while (received < MESSAGES && seconds_since(start) < 60)
        client.message_count(0);
    figures.messages_per_second = received / seconds_since(start);
    figures.lost = MESSAGES - received;
    std::vector<double> rtts;
    for (int i = 0; i < ROUND_TRIPS; ++i) {
        auto sent = Clock::now();
        client.send_message(host_id, 2, payload, true);
        while (!client.receive_message(0) && seconds_since(sent) < 5) { }
        rtts.push_back(seconds_since(sent) * 1000);
    }
    percentiles(rtts, figures);
    client.end();
    done = true;
    host_thread.join();
    return figures;
}

// Bare ENet with the same encoded records: a server that counts and echoes, a client that sends.
Figures bench_bare_enet(const Value& payload)
{
    std::vector<std::uint8_t> record;
    net::encode_record(net::KIND_MESSAGE, 1, payload, record);
    Figures figures;
    std::atomic<bool> ready { false }, done { false };
    std::atomic<int> received { 0 };
    std::thread server_thread([&] {
        ENetAddress address { ENET_HOST_ANY, BARE_PORT };
        ENetHost* server = enet_host_create(&address, 4, 2, 0, 0);
        ready = true;
        ENetEvent event;
        while (!done) {
            while (enet_host_service(server, &event, 0) > 0) {
                if (event.type != ENET_EVENT_TYPE_RECEIVE)
                    continue;
                if (event.channelID == 1)
                    enet_peer_send(event.peer, 1,
                        enet_packet_create(event.packet->data, event.packet->dataLength, ENET_PACKET_FLAG_RELIABLE));
                else
                    ++received;
                enet_packet_destroy(event.packet);
            }
            enet_host_flush(server);
        }
        enet_host_destroy(server);
    });
    while (!ready)
        std::this_thread::yield();
    ENetHost* client = enet_host_create(nullptr, 1, 2, 0, 0);
    ENetAddress address {};
    enet_address_set_host_ip(&address, "127.0.0.1");
    address.port = BARE_PORT;
    ENetPeer* peer = enet_host_connect(client, &address, 2, 0);
    ENetEvent event;
    while (enet_host_service(client, &event, 100) <= 0 || event.type != ENET_EVENT_TYPE_CONNECT) { }
    auto start = Clock::now();
    for (int i = 0; i < MESSAGES; ++i) {
        enet_peer_send(peer, 0, enet_packet_create(record.data(), record.size(), ENET_PACKET_FLAG_RELIABLE));
        do {
            while (enet_host_service(client, &event, 0) > 0)
                if (event.type == ENET_EVENT_TYPE_RECEIVE)
                    enet_packet_destroy(event.packet);
        } while (i - received > WINDOW);
    }
    while (received < MESSAGES && seconds_since(start) < 60)
        enet_host_service(client, &event, 0);
    figures.messages_per_second = received / seconds_since(start);
    figures.lost = MESSAGES - received;
    std::vector<double> rtts;
    for (int i = 0; i < ROUND_TRIPS; ++i) {
        auto sent = Clock::now();
        enet_peer_send(peer, 1, enet_packet_create(record.data(), record.size(), ENET_PACKET_FLAG_RELIABLE));
        enet_host_flush(client);
        bool answered = false;
        while (!answered && seconds_since(sent) < 5)
            if (enet_host_service(client, &event, 0) > 0 && event.type == ENET_EVENT_TYPE_RECEIVE) {
                enet_packet_destroy(event.packet);
                answered = true;
            }
        rtts.push_back(seconds_since(sent) * 1000);
    }
    percentiles(rtts, figures);
    enet_peer_disconnect_now(peer, 0);
    enet_host_destroy(client);
    done = true;
    server_thread.join();
    return figures;
}

void print(const char* what, const Figures& runner, const Figures& bare)
{
    std::printf("%-22s runner %9.0f msg/s  rtt median %.3f ms p99 %.3f ms  lost %d\n", what, runner.messages_per_second,
        runner.median_ms, runner.p99_ms, runner.lost);
    std::printf("%-22s ENet   %9.0f msg/s  rtt median %.3f ms p99 %.3f ms  lost %d   runner/ENet %.2f\n", "",
        bare.messages_per_second, bare.median_ms, bare.p99_ms, bare.lost,
        runner.messages_per_second / bare.messages_per_second);
}

// One host and 32 players on loopback; each player sends to everyone 60 times a second. The host steps at
// 60 steps a second, fetching everything each step; the figure is the steps it kept.
void bench_crowd()
{
    constexpr int PLAYERS = 32;
    constexpr int SECONDS = 3;
    std::atomic<bool> ready { false }, done { false };
    std::atomic<int> steps { 0 }, heard { 0 };
    std::atomic<double> worst_step_ms { 0 };
    std::thread host_thread([&] {
        net::Multiplayer host;
        host.init_tcpip(":" + std::to_string(PORT + 2));
        host.create_session("crowd", 0, "host");
        ready = true;
        while (host.find_players() < PLAYERS + 1 && !done)
            host.message_count(0);
        auto start = Clock::now();
        for (int step = 1; seconds_since(start) < SECONDS; ++step) {
            auto step_start = Clock::now();
            while (host.receive_message(0))
                ++heard;
            host.service();
            worst_step_ms = std::max<double>(worst_step_ms, seconds_since(step_start) * 1000);
            ++steps;
            std::this_thread::sleep_until(start + std::chrono::microseconds(step * 1000000 / 60));
        }
        done = true;
    });
    while (!ready)
        std::this_thread::yield();
    std::vector<std::unique_ptr<net::Multiplayer>> players;
    for (int i = 0; i < PLAYERS; ++i) {
        auto player = std::make_unique<net::Multiplayer>();
        player->init_tcpip("127.0.0.1:" + std::to_string(PORT + 2));
        player->find_sessions();
        player->join_session(0, "p" + std::to_string(i));
        players.push_back(std::move(player));
    }
    auto start = Clock::now();
    for (int tick = 1; !done; ++tick) {
        for (auto& player : players) {
            player->send_message(0, 1, Value(double(tick)), false);
            player->clear_messages(0);
        }
        std::this_thread::sleep_until(start + std::chrono::microseconds(tick * 1000000 / 60));
    }
    host_thread.join();
    std::printf("32 players x 60 msg/s   host kept %.1f steps/s, heard %.0f msg/s, slowest step %.2f ms\n",
        steps / double(SECONDS), heard / double(SECONDS), worst_step_ms.load());
}

} // namespace

int main()
{
    enet_initialize();
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    print("real payload", bench_runners(Value(1234.5)), bench_bare_enet(Value(1234.5)));
    Value text(ScriptString(std::string(100, 'q')));
    print("100-character string", bench_runners(text), bench_bare_enet(text));
    bench_crowd();
    return 0;
}
