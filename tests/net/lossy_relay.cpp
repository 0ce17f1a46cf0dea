// LossyRelay: a UDP relay on 127.0.0.1 that drops and reorders packets.
#include "lossy_relay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <random>
#include <vector>

namespace quillon::testing {

namespace {

sockaddr_in loopback(std::uint16_t port)
{
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

// A probe or an answer while finding sessions.
bool is_probe(const std::vector<std::uint8_t>& packet)
{
    return packet.size() >= 2 && packet[0] == 0xD1 && packet[1] == 0x51;
}

} // namespace

LossyRelay::LossyRelay(std::uint16_t server_port, double drop_chance, double reorder_chance, unsigned seed)
    : m_server_port(server_port)
    , m_drop_chance(drop_chance)
    , m_reorder_chance(reorder_chance)
    , m_seed(seed)
{
    m_client_side = ::socket(AF_INET, SOCK_DGRAM, 0);
    m_server_side = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address = loopback(0);
    ::bind(m_client_side, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(m_client_side, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { run(); });
}

LossyRelay::~LossyRelay()
{
    m_stop = true;
    m_thread.join();
    ::close(m_client_side);
    ::close(m_server_side);
}

void LossyRelay::run()
{
    std::mt19937 random(m_seed);
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    std::optional<sockaddr_in> client;
    sockaddr_in server = loopback(m_server_port);
    // Per direction, a packet held back to go out after the next one, or after 20 ms when no other comes: a
    // packet held until the peer's retransmission would stall the link in a way no real network does.
    std::optional<std::vector<std::uint8_t>> held[2];
    std::chrono::steady_clock::time_point held_since[2];
    std::vector<std::uint8_t> buffer(65536);
    while (!m_stop) {
        pollfd sockets[2] = { { m_client_side, POLLIN, 0 }, { m_server_side, POLLIN, 0 } };
        int ready = ::poll(sockets, 2, 10);
        for (int side = 0; side < 2; ++side) {
            if (held[side] && std::chrono::steady_clock::now() - held_since[side] > std::chrono::milliseconds(20)) {
                const sockaddr_in& to = side == 0 ? server : *client;
                ::sendto(side == 0 ? m_server_side : m_client_side, held[side]->data(), held[side]->size(), 0,
                    reinterpret_cast<const sockaddr*>(&to), sizeof to);
                held[side].reset();
            }
        }
        if (ready <= 0)
            continue;
        for (int side = 0; side < 2; ++side) {
            if (!(sockets[side].revents & POLLIN))
                continue;
            sockaddr_in from {};
            socklen_t length = sizeof from;
            ssize_t size = ::recvfrom(
                sockets[side].fd, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from), &length);
            if (size <= 0)
                continue;
            if (side == 0)
                client = from;
            else if (!client)
                continue;
            std::vector<std::uint8_t> packet(buffer.begin(), buffer.begin() + size);
            int out = side == 0 ? m_server_side : m_client_side;
            const sockaddr_in& to = side == 0 ? server : *client;
            auto send = [&](const std::vector<std::uint8_t>& bytes) {
                ::sendto(out, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
            };
            if (!is_probe(packet) && chance(random) < m_drop_chance) {
                ++m_dropped;
                continue;
            }
            if (!is_probe(packet) && !held[side] && chance(random) < m_reorder_chance) {
                held[side] = std::move(packet);
                held_since[side] = std::chrono::steady_clock::now();
                ++m_reordered;
                continue;
            }
            send(packet);
            if (held[side]) {
                send(*held[side]);
                held[side].reset();
            }
        }
    }
}

} // namespace quillon::testing
