// Screenshots: the --screenshot requests of a run, each saved once, from the finished frame of a step, from a
// frame of a transition, or from a dialog the runner draws.
#pragma once

#include "runner/command_line.h"

#include <cstdint>
#include <vector>

namespace quillon {

class Form;
class Screen;

class Screenshots {
public:
    explicit Screenshots(std::vector<ScreenshotRequest> requests);

    // A finished frame was shown after the step (or the room's first frame, when the room changed in it).
    void frame_shown(Screen& screen, std::int64_t step);
    // Frame `frame` of a transition was shown in or after the step.
    void transition_frame_shown(Screen& screen, std::int64_t step, std::int32_t frame);

    // The dialog numbered `number` (from 1) in the run opened; it is painted at its own size and saved.
    void dialog_opened(int number, Form& form);

private:
    void save(Screen& screen, std::int64_t step, std::int32_t frame);

    std::vector<ScreenshotRequest> m_requests;  // as given on the command line
    std::vector<bool> m_taken;                  // per request: saved already, so a later frame does not replace it
};

}  // namespace quillon
