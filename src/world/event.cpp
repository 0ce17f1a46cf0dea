// CEvent: the ordered actions that run when something happens to an instance.
#include "world/event.h"

namespace quillon {

bool CEvent::read_record(CStream& stream)
{
    if (stream.ReadInt() != EVENT_VERSION)
        return false;
    std::int32_t count = stream.ReadInt();
    actions.clear();
    for (std::int32_t i = 0; i < count; ++i) {
        // Every action consumes at least its version, so the count cannot outrun the data unnoticed.
        actions.emplace_back().read_record(stream);
    }
    return true;
}

void CEvent::write_record(CStream& stream) const
{
    stream.WriteInt(EVENT_VERSION);
    stream.WriteInt(static_cast<std::int32_t>(actions.size()));
    for (const CAction& action : actions)
        action.write_record(stream);
}

}  // namespace quillon
