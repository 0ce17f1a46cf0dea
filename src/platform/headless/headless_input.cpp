// HeadlessInput: input events from a queue that scripted input fills.
#include "platform/headless/headless_input.h"

#include <utility>

namespace quillon::platform {

namespace {

constexpr int VIRTUAL_KEY_NUM_LOCK = 144;

}  // namespace

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

void HeadlessInput::synthesize(Event event)
{
    if (event.kind == EventKind::key_down && event.virtual_key == VIRTUAL_KEY_NUM_LOCK)
        m_num_lock = !m_num_lock;
    push(std::move(event));
}

}  // namespace quillon::platform
