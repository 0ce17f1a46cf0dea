// LossyRelay: a UDP relay on 127.0.0.1 between one client and a server port that drops and reorders packets.
// Session probes and answers pass untouched, so that finding the session is not left to chance.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

namespace quillon::testing {

class LossyRelay {
public:
    // Drops each packet with the first chance and holds one back behind the next with the second.
    LossyRelay(std::uint16_t server_port, double drop_chance, double reorder_chance, unsigned seed);
    ~LossyRelay();

    // Where the client sends.
    std::uint16_t port() const { return m_port; }
    int dropped() const { return m_dropped; }
    int reordered() const { return m_reordered; }

private:
    void run();

    int m_client_side = -1; // bound to port(), talks with the client
    int m_server_side = -1; // talks with the server
    std::uint16_t m_port = 0; // the client side's port
    std::uint16_t m_server_port; // the server on 127.0.0.1
    double m_drop_chance; // per packet
    double m_reorder_chance; // per packet
    unsigned m_seed; // for repeatable losses
    std::atomic<bool> m_stop { false };
    std::atomic<int> m_dropped { 0 };
    std::atomic<int> m_reordered { 0 };
    std::thread m_thread; // the relay
};

} // namespace quillon::testing
