// CObject: the template of instances, with its sprite, flags, parent and its events of every kind.
#pragma once

#include "world/event.h"

#include <array>

namespace quillon {

constexpr std::int32_t OBJECT_LIST_VERSION = 400;
constexpr std::int32_t OBJECT_VERSION_OLD = 400;  // event kinds 0 to 8 only
constexpr std::int32_t OBJECT_VERSION = 430;      // stores its highest event kind

// Event kinds.
constexpr int EVENT_CREATE = 0;
constexpr int EVENT_DESTROY = 1;
constexpr int EVENT_ALARM = 2;
constexpr int EVENT_STEP = 3;
constexpr int EVENT_COLLISION = 4;
constexpr int EVENT_KEYBOARD = 5;
constexpr int EVENT_MOUSE = 6;
constexpr int EVENT_OTHER = 7;
constexpr int EVENT_DRAW = 8;
constexpr int EVENT_KEY_PRESS = 9;
constexpr int EVENT_KEY_RELEASE = 10;
constexpr int EVENT_KIND_COUNT = 11;

class CObject {
public:
    std::int32_t version = OBJECT_VERSION;  // 400 or 430, as stored
    std::int32_t sprite = -1;               // default sprite of the instances
    bool solid = false;                     // instances are solid
    bool visible = true;                    // instances are drawn
    std::int32_t depth = 0;                 // drawing order: higher depths are drawn first
    bool persistent = false;                // instances move on to the next room
    std::int32_t parent = -1;               // the object events are inherited from
    std::int32_t mask = -1;                 // the sprite used for collisions; -1: the sprite itself
    std::int32_t highest_kind = EVENT_KIND_COUNT - 1;  // the highest event kind stored (version 430)
    std::array<std::vector<CEvent>, EVENT_KIND_COUNT> events;  // per kind, indexed by event number
    std::array<std::vector<std::int32_t>, EVENT_KIND_COUNT> event_order;  // per kind, the numbers as stored

    bool read_record(CStream& stream);
    void write_record(CStream& stream) const;

    // The event (kind, number) of this object alone; null when it is absent or has no actions.
    const CEvent* own_event(int kind, int number) const;
    // The event (kind, number), made (with empty events before it) when the list is shorter; a new number
    // joins the stored order.
    CEvent& event(int kind, int number);

private:
    std::array<std::vector<bool>, EVENT_KIND_COUNT> m_ordered;  // per kind and number: in event_order already
};

}  // namespace quillon
