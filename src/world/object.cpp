// CObject: the template of instances, with its sprite, flags, parent and its events of every kind.
#include "world/object.h"

namespace quillon {

namespace {

// Event numbers beyond this are refused: no event kind uses numbers anywhere near it, and a hostile file
// could otherwise make the event list enormous with a few bytes.
constexpr std::int32_t MAX_EVENT_NUMBER = 100000;

}  // namespace

bool CObject::read_record(CStream& stream)
{
    version = stream.ReadInt();
    if (version != OBJECT_VERSION_OLD && version != OBJECT_VERSION)
        return false;
    sprite = stream.ReadInt();
    solid = stream.ReadBool();
    visible = stream.ReadBool();
    depth = stream.ReadInt();
    persistent = stream.ReadBool();
    parent = stream.ReadInt();
    mask = stream.ReadInt();
    highest_kind = version == OBJECT_VERSION ? stream.ReadInt() : EVENT_DRAW;
    for (int kind = 0; kind < EVENT_KIND_COUNT; ++kind) {
        events[kind].clear();
        event_order[kind].clear();
        m_ordered[kind].clear();
    }
    for (std::int32_t kind = 0; kind <= highest_kind; ++kind) {
        for (std::int32_t number = stream.ReadInt(); number >= 0; number = stream.ReadInt()) {
            if (kind >= EVENT_KIND_COUNT || number > MAX_EVENT_NUMBER)
                return false;
            if (!event(kind, number).read_record(stream))
                return false;
        }
    }
    return true;
}

void CObject::write_record(CStream& stream) const
{
    stream.WriteInt(version);
    stream.WriteInt(sprite);
    stream.WriteBool(solid);
    stream.WriteBool(visible);
    stream.WriteInt(depth);
    stream.WriteBool(persistent);
    stream.WriteInt(parent);
    stream.WriteInt(mask);
    if (version == OBJECT_VERSION)
        stream.WriteInt(highest_kind);
    std::int32_t last_kind = version == OBJECT_VERSION ? highest_kind : EVENT_DRAW;
    for (std::int32_t kind = 0; kind <= last_kind; ++kind) {
        if (kind < EVENT_KIND_COUNT) {
            for (std::int32_t number : event_order[kind]) {
                stream.WriteInt(number);
                events[kind][number].write_record(stream);
            }
        }
        stream.WriteInt(-1);
    }
}

const CEvent* CObject::own_event(int kind, int number) const
{
    if (kind < 0 || kind >= EVENT_KIND_COUNT || number < 0 || number >= static_cast<int>(events[kind].size()))
        return nullptr;
    const CEvent& found = events[kind][number];
    return found.empty() ? nullptr : &found;
}

CEvent& CObject::event(int kind, int number)
{
    auto& list = events[kind];
    if (number >= static_cast<int>(list.size())) {
        list.resize(number + 1);
        m_ordered[kind].resize(number + 1);
    }
    if (!m_ordered[kind][number]) {
        m_ordered[kind][number] = true;
        event_order[kind].push_back(number);
    }
    return list[number];
}

}  // namespace quillon
