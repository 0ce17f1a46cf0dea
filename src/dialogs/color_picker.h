// ColorPicker: the runner's own colour dialog: a grid of basic colours, red, green and blue fields, a preview
// of the colour and the buttons; it starts at the game's colour.
#pragma once

#include "dialogs/chooser_form.h"
#include "dialogs/form_widgets.h"

#include <array>
#include <cstdint>

namespace quillon {

class ColorPicker final : public ChooserForm {
public:
    static constexpr int COLUMNS = 8;
    static constexpr int ROWS = 6;

    // Starts at the colour (red in the low byte; the top byte is ignored).
    explicit ColorPicker(std::int32_t initial);

    // Once finished: the colour chosen, or -1 when cancelled.
    std::int32_t result() const { return m_result; }
    // The colour the dialog shows now.
    Color color() const { return m_color; }
    // The basic colour of a cell, counted from the top-left along the rows.
    static Color basic_color(int cell);

    enum class Focus { grid, red, green, blue, ok, cancel };
    Focus focus() const { return m_focus; }

    std::string caption() const override { return "Color"; }
    void paint(SurfaceCanvas& canvas) override;
    std::string transcript() const override { return "Color"; }
    void answer(const std::optional<std::string>& line) override;

private:
    void handle_event(const platform::Event& event) override;
    void type(char character);
    void key(const platform::Event& event);
    void mouse(const platform::Event& event);
    void pick_cell(int cell);
    void set_color(Color color);
    void field_changed();
    TextField* focused_field();
    void finish_with(std::int32_t result);
    void paint_grid(SurfaceCanvas& canvas) const;

    std::int32_t m_initial;               // the game's colour, kept as given for an answer that keeps it
    Color m_color;                        // the colour shown
    int m_cell = 0;                       // the grid's cursor
    std::array<TextField, 3> m_fields;    // red, green and blue, 0 to 255
    PushButton m_ok, m_cancel;            // the form's buttons
    Focus m_focus = Focus::grid;          // where keys go
    std::int32_t m_result = -1;           // the answer
};

}  // namespace quillon
