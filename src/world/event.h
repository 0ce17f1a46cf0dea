// CEvent: the ordered actions that run when something happens to an instance.
#pragma once

#include "world/action.h"

namespace quillon {

constexpr std::int32_t EVENT_VERSION = 400;

class CEvent {
public:
    std::vector<CAction> actions;  // in the order they run

    bool empty() const { return actions.empty(); }
    bool read_record(CStream& stream);
    void write_record(CStream& stream) const;
};

}  // namespace quillon
