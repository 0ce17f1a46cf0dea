// HeadlessInput: input events from a queue that scripted input fills.
#include "platform/headless/headless_input.h"

#include <utility>

namespace quillon::platform {

void HeadlessInput::push(Event event)
{
    m_queue.push_back(std::move(event));
}

void HeadlessInput::poll(std::vector<Event>& events)
{
    for (Event& event : m_queue)
        events.push_back(std::move(event));
    m_queue.clear();
}

}  // namespace quillon::platform
