// MessageQueue: the received messages that scripts take one by one, by sender, oldest first.
#pragma once

#include "code/value.h"

#include <cstdint>
#include <vector>

namespace quillon::net {

struct QueuedMessage {
    std::uint32_t player = 0; // the sender's player id
    std::int32_t id = 0; // the message id
    Value value; // what was sent
    bool read = false; // taken or cleared
};

class MessageQueue {
public:
    static constexpr std::size_t CAPACITY = 4000;

    MessageQueue() { m_records.reserve(CAPACITY); }

    // Appends a message. A full queue is first compacted (read records go, order kept); a message that still
    // does not fit is dropped, and the result is false.
    bool append(std::uint32_t player, std::int32_t id, Value value);
    // Takes the oldest unread message from the player (0: from anyone): marks it read, copies it to `taken`.
    bool take(std::uint32_t player, QueuedMessage& taken);
    // The unread messages from the player (0: from anyone).
    std::size_t count(std::uint32_t player) const;
    // Marks every message from the player (0: every message) read, then compacts.
    void clear(std::uint32_t player);

    std::size_t size() const { return m_records.size(); }

private:
    void compact();
    static bool from(const QueuedMessage& record, std::uint32_t player)
    {
        return player == 0 || record.player == player;
    }

    std::vector<QueuedMessage> m_records; // oldest first, read ones until compaction
    std::size_t m_position = 0; // every record before it is read
};

} // namespace quillon::net
