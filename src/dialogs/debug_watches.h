// DebugWatches: the watch expressions of the debug window, compiled once each, and their values.
#pragma once

#include "code/code_unit.h"
#include "graphics/sprite.h"
#include "support/resource_list.h"

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace quillon {

class DebugWatches {
public:
    // Bounds that keep a watch file of any size or content from exhausting the game.
    static constexpr std::size_t MAX_WATCHES = 1000;
    static constexpr std::size_t MAX_LINE_BYTES = 4096;
    // Loop rounds one watch may take, so that an endless loop in a watch cannot stop the game.
    static constexpr long long LOOP_ROUNDS = 1000000;

    int count() const { return static_cast<int>(m_watches.size()); }
    const std::string& expression(int row) const { return m_watches[row].code->text(); }
    const std::string& value(int row) const { return m_watches[row].value; }

    // A new row at the end; false for an empty expression or when MAX_WATCHES rows exist.
    bool add(std::string expression);
    // The row's expression replaced; on the row after the last it adds. An empty expression changes nothing.
    bool change(int row, std::string expression);
    // Rows outside the watches (the empty last row) are left alone.
    void remove(int row);
    void clear() { m_watches.clear(); }

    // Every line of the file (its line end dropped, cut at MAX_LINE_BYTES, empty lines skipped) becomes a row
    // at the end, up to MAX_WATCHES rows. The problem, or empty when the file was read whole.
    std::string load(const std::filesystem::path& file);
    // Every expression as one line; false when the file cannot be written.
    bool save(const std::filesystem::path& file) const;

    // Evaluates every watch with a new, otherwise empty instance as self and other. A run-time error shows its
    // text as the value and is reported through the error routine the first time only.
    void refresh(const ResourceList<CSprite>* sprites);

private:
    struct Watch {
        std::unique_ptr<CCode> code;  // the expression, compiled when it was set
        std::string value;            // the last value shown
        bool error_reported = false;  // its run-time error has gone to the error routine
    };
    static Watch make_watch(std::string expression);
    void evaluate(Watch& watch, const ResourceList<CSprite>* sprites);

    std::vector<Watch> m_watches;  // in grid order
};

}  // namespace quillon
