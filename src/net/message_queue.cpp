// MessageQueue: the received messages that scripts take one by one, by sender, oldest first.
#include "net/message_queue.h"

#include <algorithm>

namespace quillon::net {

bool MessageQueue::append(std::uint32_t player, std::int32_t id, Value value)
{
    if (m_records.size() >= CAPACITY)
        compact();
    if (m_records.size() >= CAPACITY)
        return false;
    m_records.push_back({ player, id, std::move(value), false });
    return true;
}

bool MessageQueue::take(std::uint32_t player, QueuedMessage& taken)
{
    for (std::size_t i = m_position; i < m_records.size(); ++i) {
        QueuedMessage& record = m_records[i];
        if (record.read || !from(record, player))
            continue;
        record.read = true;
        taken = record;
        while (m_position < m_records.size() && m_records[m_position].read)
            ++m_position;
        return true;
    }
    return false;
}

std::size_t MessageQueue::count(std::uint32_t player) const
{
    std::size_t unread = 0;
    for (std::size_t i = m_position; i < m_records.size(); ++i)
        if (!m_records[i].read && from(m_records[i], player))
            ++unread;
    return unread;
}

void MessageQueue::clear(std::uint32_t player)
{
    for (QueuedMessage& record : m_records)
        if (from(record, player))
            record.read = true;
    compact();
}

void MessageQueue::compact()
{
    std::erase_if(m_records, [](const QueuedMessage& record) { return record.read; });
    m_position = 0;
}

} // namespace quillon::net
