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
    void synthesize(Event event) override;
    bool num_lock() const override { return m_num_lock; }

private:
    std::deque<Event> m_queue;   // pushed, not yet polled
    bool m_num_lock = false;     // toggled by synthesized num-lock presses
};

}  // namespace quillon::platform
