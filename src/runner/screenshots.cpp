// Screenshots: the --screenshot requests of a run, each saved once, from the finished frame of a step or from a
// frame of a transition.
#include "runner/screenshots.h"

#include "graphics/screen.h"
#include "support/game_error.h"

namespace quillon {

Screenshots::Screenshots(std::vector<ScreenshotRequest> requests)
    : m_requests(std::move(requests))
    , m_taken(m_requests.size(), false)
{
}

void Screenshots::frame_shown(Screen& screen, std::int64_t step) { save(screen, step, 0); }

void Screenshots::transition_frame_shown(Screen& screen, std::int64_t step, std::int32_t frame)
{
    save(screen, step, frame);
}

void Screenshots::save(Screen& screen, std::int64_t step, std::int32_t frame)
{
    for (std::size_t i = 0; i < m_requests.size(); ++i) {
        const ScreenshotRequest& request = m_requests[i];
        if (m_taken[i] || request.step != step || request.transition_frame != frame)
            continue;
        m_taken[i] = true;
        bool saved = frame == 0 ? screen.save_png(request.file) : screen.save_transition_frame_png(request.file);
        if (!saved)
            report_game_error("Cannot write the screenshot " + request.file.string());
    }
}

}  // namespace quillon
