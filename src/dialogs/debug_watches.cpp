// DebugWatches: the watch expressions of the debug window, compiled once each, and their values.
#include "dialogs/debug_watches.h"

#include "code/errors.h"
#include "code/executer.h"
#include "dialogs/debug_text.h"
#include "world/instance.h"

#include <algorithm>
#include <fstream>

namespace quillon {

namespace {

// Reads one line and keeps at most `limit` bytes of it, so that a file without line ends costs no more memory
// than a line; false at the end of the file.
bool read_bounded_line(std::istream& in, std::string& line, std::size_t limit)
{
    line.clear();
    std::streambuf* buffer = in.rdbuf();
    int byte = buffer->sbumpc();
    if (byte == std::char_traits<char>::eof())
        return false;
    for (; byte != std::char_traits<char>::eof() && byte != '\n'; byte = buffer->sbumpc()) {
        if (line.size() < limit)
            line.push_back(static_cast<char>(byte));
    }
    return true;
}

}  // namespace

DebugWatches::Watch DebugWatches::make_watch(std::string expression)
{
    Watch watch;
    watch.code = std::make_unique<CCode>(std::move(expression), true);
    // A watch that does not compile shows so in its row; the compiler's message is not reported.
    if (!watch.code->compile())
        watch.value = DEBUG_COMPILE_ERROR;
    errors().clear_code_error();
    return watch;
}

bool DebugWatches::add(std::string expression)
{
    if (expression.empty() || m_watches.size() >= MAX_WATCHES)
        return false;
    m_watches.push_back(make_watch(std::move(expression)));
    return true;
}

bool DebugWatches::change(int row, std::string expression)
{
    if (row == count())
        return add(std::move(expression));
    if (row < 0 || row > count() || expression.empty())
        return false;
    m_watches[row] = make_watch(std::move(expression));
    return true;
}

void DebugWatches::remove(int row)
{
    if (row >= 0 && row < count())
        m_watches.erase(m_watches.begin() + row);
}

std::string DebugWatches::load(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return "Cannot read the watch file " + file.string();
    std::string line;
    while (read_bounded_line(in, line, MAX_LINE_BYTES + 1)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > MAX_LINE_BYTES)
            line.resize(MAX_LINE_BYTES);
        if (line.empty())
            continue;
        if (!add(line))
            return "Only " + std::to_string(MAX_WATCHES) + " watch expressions can be kept; the rest of "
                + file.string() + " was left out";
    }
    return {};
}

bool DebugWatches::save(const std::filesystem::path& file) const
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (const Watch& watch : m_watches)
        out << watch.code->text() << "\r\n";
    out.flush();
    return static_cast<bool>(out);
}

void DebugWatches::refresh(const ResourceList<CSprite>* sprites)
{
    for (Watch& watch : m_watches)
        evaluate(watch, sprites);
}

void DebugWatches::evaluate(Watch& watch, const ResourceList<CSprite>* sprites)
{
    if (!watch.code->compiled())
        return;
    CInstance temporary(sprites);
    temporary.create(0, -1, nullptr, 0, 0);
    Value result;
    long long rounds_before = loop_limit();
    set_loop_limit(LOOP_ROUNDS);
    bool ok = execute(&temporary, &temporary, *watch.code, result);
    set_loop_limit(rounds_before);
    if (ok) {
        watch.value = format_debug_value(result);
        return;
    }
    std::string text = errors().code_error_text();
    errors().clear_code_error();
    watch.value = text;
    std::replace(watch.value.begin(), watch.value.end(), '\r', ' ');
    if (!watch.error_reported) {
        watch.error_reported = true;
        errors().report(text, false);
    }
}

}  // namespace quillon
