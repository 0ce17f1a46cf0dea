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

// An event with the number that says which one of its kind it is (alarm index, key code, other object...).
struct NumberedEvent {
    std::int32_t number = 0;  // meaning depends on the kind
    CEvent event;             // its actions
};

// Events are kept per kind in the order the game file stores them, so that writing reproduces the file; each
// kind holds only a few, and the running game builds its own dispatch tables from them.
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
    std::array<std::vector<NumberedEvent>, EVENT_KIND_COUNT> events;  // per kind, in stored order

    bool read_record(CStream& stream);
    void write_record(CStream& stream) const;

    // The event (kind, number) of this object alone; null when it is absent or has no actions.
    const CEvent* own_event(int kind, int number) const;
    // The event (kind, number), added at the end of its kind's list when it is not there yet.
    CEvent& event(int kind, int number);
};

}  // namespace quillon
