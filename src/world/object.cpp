// CObject: the template of instances, with its sprite, flags, parent and its events of every kind.
#include "world/object.h"

#include <unordered_map>

namespace quillon {

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
    for (std::int32_t kind = 0; kind <= highest_kind; ++kind) {
        // A number stored twice reads into the same event again; the index keeps that linear in the count.
        std::unordered_map<std::int32_t, std::size_t> index;
        if (kind < EVENT_KIND_COUNT)
            events[kind].clear();
        for (std::int32_t number = stream.ReadInt(); number >= 0; number = stream.ReadInt()) {
            if (kind >= EVENT_KIND_COUNT)
                return false;
            auto [found, added] = index.try_emplace(number, events[kind].size());
            if (added)
                events[kind].push_back({number, {}});
            if (!events[kind][found->second].event.read_record(stream))
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
            for (const NumberedEvent& numbered : events[kind]) {
                stream.WriteInt(numbered.number);
                numbered.event.write_record(stream);
            }
        }
        stream.WriteInt(-1);
    }
}

const CEvent* CObject::own_event(int kind, int number) const
{
    if (kind < 0 || kind >= EVENT_KIND_COUNT)
        return nullptr;
    for (const NumberedEvent& numbered : events[kind]) {
        if (numbered.number == number)
            return numbered.event.empty() ? nullptr : &numbered.event;
    }
    return nullptr;
}

CEvent& CObject::event(int kind, int number)
{
    auto& list = events[kind];
    for (NumberedEvent& numbered : list) {
        if (numbered.number == number)
            return numbered.event;
    }
    return list.emplace_back(NumberedEvent {number, {}}).event;
}

}  // namespace quillon
