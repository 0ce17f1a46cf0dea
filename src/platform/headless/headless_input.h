// HeadlessInput: input events from a queue that scripted input fills.
#pragma once

#include "platform/input.h"

#include <deque>

namespace quillon::platform {

class HeadlessInput final : public Input {
public:
    // Queues an event; the next poll hands it out.
    void push(Event event);
    void poll(std::vector<Event>& events) override;

private:
    std::deque<Event> m_queue;   // pushed, not yet polled
};

}  // namespace quillon::platform
