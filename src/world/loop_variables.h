// LoopVariables: the built-in variables of the keyboard, the mouse, the loop's frame rate, the cursor and the
// screen, served by a host layer that the world passes them on to.
#pragma once

#include "world/game_loop.h"

#include <vector>

namespace quillon {

class Screen;

// Installed before the world: the world sends every variable it does not keep to the host installed before it,
// and this layer sends on what it does not keep in turn. The world is compiled (and so installed) before the loop
// exists, so the loop is attached later; until then every variable goes on.
class LoopVariables final : public ScriptHost {
public:
    LoopVariables() = default;
    ~LoopVariables() override;
    LoopVariables(const LoopVariables&) = delete;
    LoopVariables& operator=(const LoopVariables&) = delete;

    // Becomes the host; the world must be installed afterwards, or the two would pass variables to each other.
    void install();
    // The loop, and the screen while one is shown (a headless test may play without).
    void attach(GameLoop* loop, Screen* screen = nullptr)
    {
        m_loop = loop;
        m_screen = screen;
    }

    bool get_variable(ScriptInstance* self, int id, int index, Value& result) override;
    bool set_variable(ScriptInstance* self, int id, int index, const Value& value) override;
    void debug_message(std::string_view text) override { m_previous->debug_message(text); }

private:
    int kind_of(int id);

    GameLoop* m_loop = nullptr;             // the input state and the settings it changes; none yet
    Screen* m_screen = nullptr;             // the window, its scales and the screen size; none yet
    ScriptHost* m_previous = &host();       // the host installed before, for everything else
    std::vector<std::int8_t> m_kinds;       // per built-in variable id, this layer's variable or -1
};

}  // namespace quillon
