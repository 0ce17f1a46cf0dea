// CTimeLine: moments at given steps, each with the actions to run when an instance's time line passes it.
#pragma once

#include "world/event.h"

namespace quillon {

constexpr std::int32_t TIME_LINE_LIST_VERSION = 500;
constexpr std::int32_t TIME_LINE_VERSION = 500;

struct Moment {
    std::int32_t step = 0;  // the time-line position at which the moment fires
    CEvent event;           // its actions
};

class CTimeLine {
public:
    std::vector<Moment> moments;  // in stored order, ascending by step

    bool read_record(CStream& stream);
    void write_record(CStream& stream) const;

    // The index of the first moment whose step is at least position; the moment count when there is none.
    int MomentIndex(double position) const;
};

}  // namespace quillon
