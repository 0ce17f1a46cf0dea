// FormHost: the modal loop of a form window, and the scripted answer of a headless run.
#include "dialogs/form_host.h"

#include <chrono>
#include <vector>

namespace quillon {

FormHost::FormHost(platform::DialogHost& dialogs, std::function<std::unique_ptr<platform::FormWindow>()> make_window)
    : m_dialogs(dialogs)
    , m_make_window(std::move(make_window))
{
}

void FormHost::run(Form& form)
{
    ++m_opened;
    if (m_open_observer)
        m_open_observer(m_opened, form);
    if (m_make_window) {
        if (std::unique_ptr<platform::FormWindow> window = m_make_window()) {
            run_in_window(form, *window);
            return;
        }
    }
    form.answer(m_dialogs.scripted_answer(form.transcript()));
    if (std::string note = form.answer_note(); !note.empty())
        m_dialogs.note(note);
}

void FormHost::run_in_window(Form& form, platform::FormWindow& window)
{
    platform::WindowPlacement placement = form.placement(window.screen_size());
    if (placement.width <= 0 || placement.height <= 0 || !window.open(placement, form.caption())) {
        form.answer(std::nullopt);
        return;
    }
    window.show_pointer(!form.follows_game_pointer() || !m_game_pointer || m_game_pointer());
    std::vector<std::uint32_t> pixels(std::size_t(placement.width) * std::size_t(placement.height));
    SurfaceCanvas canvas {pixels.data(), placement.width, placement.height, placement.width * 4,
        {0, 0, placement.width, placement.height}};
    auto started = std::chrono::steady_clock::now();
    auto elapsed = [&] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count();
    };
    std::vector<platform::Event> events;
    bool first = true;
    while (!form.finished()) {
        int wait = form.tick(elapsed());
        if (form.finished())
            break;
        if (first || form.needs_paint()) {
            form.paint(canvas);
            window.present({pixels.data(), placement.width, placement.height, placement.width * 4});
            first = false;
        }
        events.clear();
        window.wait(events, wait < 0 ? 100 : wait);
        for (const platform::Event& event : events) {
            form.handle(event);
            if (form.finished())
                break;
        }
    }
    window.close();
}

}  // namespace quillon
