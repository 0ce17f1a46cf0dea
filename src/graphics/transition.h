// Transitions: the 17 ways a new frame can appear over the one the window shows, step by step.
#pragma once

#include "graphics/screen_layout.h"
#include "graphics/surface.h"

#include <cstdint>

namespace quillon {

// How a present shows the new frame: `transition_kind`, `transition_time` and `transition_steps`.
struct TransitionRequest {
    std::int32_t kind = 0;    // 0 none; 1 to 17 a transition; any other value shows nothing for that frame
    std::int32_t time = 0;    // milliseconds over all steps
    std::int32_t steps = 40;  // number of steps (the strip kinds 14 to 17 take twice as many)

    bool operator==(const TransitionRequest&) const = default;
};

// The frames a transition draws: 0 for a kind outside 1 to 17 or fewer than 1 step.
int transition_frame_count(const TransitionRequest& request);
// The milliseconds slept after each frame: the time divided by the frame count, without remainder.
int transition_frame_delay(const TransitionRequest& request);

// Draws frame `frame` (1 to the frame count) of the transition onto the window image `shown`: parts of the new
// image scaled by the output scale, placed from the output origin, and cut to shown's clip rectangle, which is
// the output rectangle. The push kinds (10 to 13) first move what `shown` holds by one step.
void draw_transition_frame(const TransitionRequest& request, int frame, DDSurface& shown, const DDSurface& image,
    const OutputRectangle& output);

}  // namespace quillon
