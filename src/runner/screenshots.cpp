// Screenshots: the --screenshot requests of a run, each saved once, from the finished frame of a step or from a
// frame of a transition.
#include "runner/screenshots.h"

#include "dialogs/form.h"
#include "graphics/screen.h"
#include "platform/headless/png_writer.h"
#include "support/game_error.h"

#include <vector>

namespace quillon {

Screenshots::Screenshots(std::vector<ScreenshotRequest> requests)
    : m_requests(std::move(requests))
    , m_taken(m_requests.size(), false)
{
}

void Screenshots::frame_shown(Screen& screen, std::int64_t step)
{
    save(screen, step, 0);
}

void Screenshots::transition_frame_shown(Screen& screen, std::int64_t step, std::int32_t frame)
{
    save(screen, step, frame);
}

void Screenshots::save(Screen& screen, std::int64_t step, std::int32_t frame)
{
    for (std::size_t i = 0; i < m_requests.size(); ++i) {
        const ScreenshotRequest& request = m_requests[i];
        if (m_taken[i] || request.dialog != 0 || request.step != step || request.transition_frame != frame)
            continue;
        m_taken[i] = true;
        bool saved = frame == 0 ? screen.save_png(request.file) : screen.save_transition_frame_png(request.file);
        if (!saved)
            report_game_error("Cannot write the screenshot " + request.file.string());
    }
}

// The form is painted as its window would first show it; the painting happens before the form shows or takes
// its scripted answer, so headless runs save it too.
void Screenshots::dialog_opened(int number, Form& form)
{
    for (std::size_t i = 0; i < m_requests.size(); ++i) {
        const ScreenshotRequest& request = m_requests[i];
        if (m_taken[i] || request.dialog != number)
            continue;
        m_taken[i] = true;
        platform::WindowPlacement placement = form.placement({});
        bool saved = false;
        if (placement.width > 0 && placement.height > 0) {
            std::vector<std::uint32_t> pixels(std::size_t(placement.width) * std::size_t(placement.height));
            SurfaceCanvas canvas { pixels.data(), placement.width, placement.height, placement.width * 4,
                { 0, 0, placement.width, placement.height } };
            form.paint(canvas);
            saved = platform::write_png(request.file.string(), pixels.data(), placement.width, placement.height);
        }
        if (!saved)
            report_game_error("Cannot write the screenshot " + request.file.string());
    }
}

} // namespace quillon
