// HighscoreForm: the table of the ten best players, with the row of a new entry whose name the player types.
#pragma once

#include "dialogs/form.h"
#include "dialogs/highscore_settings.h"
#include "dialogs/highscore_table.h"
#include "support/bitmap.h"

#include <array>
#include <optional>
#include <string>

namespace quillon {

// The client size of the table's window.
inline constexpr int HIGHSCORE_WIDTH = 345;
inline constexpr int HIGHSCORE_HEIGHT = 400;

class HighscoreForm final : public Form {
public:
    // The table as it stands, with the new entry at new_rank (its name is what the player types); the
    // background is stretched over the window, the form's plain face when there is none.
    HighscoreForm(const HighscoreSettings& settings, std::optional<Bitmap24> background, const HighscoreTable& table,
        std::optional<int> new_rank);

    // The name typed for the new entry (characters of code 32 and above).
    const std::string& typed() const { return m_typed; }

    std::string caption() const override;
    platform::WindowPlacement placement(platform::ScreenSize screen) const override;
    void paint(SurfaceCanvas& canvas) override;
    void handle(const platform::Event& event) override;
    bool needs_paint() const override { return m_dirty; }
    bool finished() const override { return m_finished; }
    std::string transcript() const override { return m_transcript; }
    // With a new entry the line is the name typed; without one any line closes the table.
    void answer(const std::optional<std::string>& line) override;

private:
    void type(char character);

    HighscoreSettings m_settings; // the look, as it was when the form was made
    std::optional<Bitmap24> m_background; // stretched over the window
    std::array<std::string, HighscoreTable::RANKS> m_names; // rank 1 first
    std::array<std::int32_t, HighscoreTable::RANKS> m_values; // rank 1 first
    std::optional<int> m_new_rank; // the row being typed, if any
    std::string m_typed; // its name so far
    std::string m_transcript; // the table as text, for headless runs
    bool m_finished = false; // Escape or Enter closed it
    bool m_dirty = true; // something changed since the last paint
};

} // namespace quillon
