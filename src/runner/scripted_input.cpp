// Scripted input: keyboard, mouse and joystick events read from a file and handed out step by step, for
// headless runs.
#include "runner/scripted_input.h"

#include "support/key_names.h"

#include "support/win1252.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

namespace quillon {

namespace {

bool parse_int(std::string_view text, std::int64_t& value)
{
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// Splits a line into words; a word in double quotes may hold blanks.
std::vector<std::string> words_of(const std::string& line)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
        } else if (line[i] == '"') {
            std::size_t end = line.find('"', i + 1);
            words.push_back(line.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1));
            i = end == std::string::npos ? line.size() : end + 1;
        } else {
            std::size_t end = line.find_first_of(" \t", i);
            words.push_back(line.substr(i, end == std::string::npos ? std::string::npos : end - i));
            i = end == std::string::npos ? line.size() : end;
        }
    }
    return words;
}

std::optional<int> mouse_button_by_name(std::string_view name)
{
    if (name == "left")
        return platform::MOUSE_LEFT;
    if (name == "right")
        return platform::MOUSE_RIGHT;
    if (name == "middle")
        return platform::MOUSE_MIDDLE;
    return std::nullopt;
}

bool parse_real(const std::string& text, double& value)
{
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

// Joystick 1 or 2, as the word names it.
bool parse_joystick(const std::string& word, int& joystick)
{
    std::int64_t number = 0;
    if (!parse_int(word, number) || number < 1 || number > platform::JOYSTICKS)
        return false;
    joystick = static_cast<int>(number);
    return true;
}

// A joystick line's event: joystick_plug J NAME AXES BUTTONS [pov], joystick_unplug J, joystick_axis J AXIS
// POSITION, joystick_button_down J N, joystick_button_up J N, joystick_pov J DEGREES|centre.
std::optional<platform::Event> parse_joystick_event(const std::vector<std::string>& words, std::string& problem)
{
    using platform::EventKind;
    constexpr std::string_view AXIS_NAMES = "xyzruv";
    const std::string& action = words[1];
    platform::Event event;
    std::size_t wanted = 0;
    std::size_t optional = 0;
    if (action == "joystick_plug") {
        event.kind = EventKind::joystick_plugged;
        wanted = 6;
        optional = 1;
    } else if (action == "joystick_unplug") {
        event.kind = EventKind::joystick_unplugged;
        wanted = 3;
    } else if (action == "joystick_axis") {
        event.kind = EventKind::joystick_axis;
        wanted = 5;
    } else if (action == "joystick_button_down" || action == "joystick_button_up") {
        event.kind = action == "joystick_button_down" ? EventKind::joystick_button_down : EventKind::joystick_button_up;
        wanted = 4;
    } else if (action == "joystick_pov") {
        event.kind = EventKind::joystick_pov;
        wanted = 4;
    } else {
        problem = "unknown action '" + action + "'";
        return std::nullopt;
    }
    if (words.size() < wanted || words.size() > wanted + optional) {
        problem = action + " takes " + std::to_string(wanted - 2) + " argument(s)";
        return std::nullopt;
    }
    if (!parse_joystick(words[2], event.joystick)) {
        problem = "unknown joystick '" + words[2] + "' (1 or 2)";
        return std::nullopt;
    }
    std::int64_t number = 0;
    double real = 0;
    switch (event.kind) {
    case EventKind::joystick_plugged: {
        std::int64_t buttons = 0;
        if (!parse_int(words[4], number) || number < 0 || number > platform::JOYSTICK_AXES
            || !parse_int(words[5], buttons) || buttons < 0 || buttons > platform::JOYSTICK_BUTTONS
            || (words.size() == wanted + 1 && words[6] != "pov")) {
            problem = "joystick_plug needs a name, axes (0 to 6), buttons (0 to 32) and perhaps 'pov'";
            return std::nullopt;
        }
        event.text = utf8_to_win1252(words[3]);
        event.joystick_caps = {static_cast<int>(number), static_cast<int>(buttons), words.size() == wanted + 1};
        break;
    }
    case EventKind::joystick_axis: {
        std::size_t axis = words[3].size() == 1 ? AXIS_NAMES.find(words[3][0]) : std::string_view::npos;
        if (axis == std::string_view::npos || !parse_real(words[4], real) || real < -1 || real > 1) {
            problem = "joystick_axis needs an axis (x, y, z, r, u or v) and a position from -1 to 1";
            return std::nullopt;
        }
        event.axis = static_cast<int>(axis);
        event.position = static_cast<int>(std::lround((real + 1) * platform::JOYSTICK_AXIS_CENTRE));
        break;
    }
    case EventKind::joystick_button_down:
    case EventKind::joystick_button_up:
        if (!parse_int(words[3], number) || number < 1 || number > platform::JOYSTICK_BUTTONS) {
            problem = "unknown joystick button '" + words[3] + "' (1 to 32)";
            return std::nullopt;
        }
        event.button = static_cast<int>(number);
        break;
    case EventKind::joystick_pov:
        if (words[3] == "centre") {
            event.position = platform::JOYSTICK_POV_CENTRED;
        } else if (parse_real(words[3], real) && real >= 0 && real < 360) {
            event.position = static_cast<int>(std::lround(real * 100));
        } else {
            problem = "joystick_pov needs degrees from 0 to below 360, or 'centre'";
            return std::nullopt;
        }
        break;
    default: break;
    }
    return event;
}

// One line's event, or the problem with it.
std::optional<platform::Event> parse_event(const std::vector<std::string>& words, std::string& problem)
{
    using platform::EventKind;
    const std::string& action = words[1];
    platform::Event event;
    std::size_t wanted = 0;
    if (action == "key_down" || action == "key_up") {
        wanted = 3;
        if (words.size() == wanted) {
            auto code = virtual_key_by_name(words[2]);
            if (!code) {
                problem = "unknown key '" + words[2] + "' (known: " + key_name_list() + ", or a key code from 00 to 255)";
                return std::nullopt;
            }
            event.kind = action == "key_down" ? EventKind::key_down : EventKind::key_up;
            event.virtual_key = platform::unsided_virtual_key(*code);
            event.sided_key = *code;
        }
    } else if (action == "type") {
        wanted = 3;
        if (words.size() == wanted) {
            event.kind = EventKind::text;
            event.text = utf8_to_win1252(words[2]);
        }
    } else if (action == "mouse_move") {
        wanted = 4;
        std::int64_t x = 0, y = 0;
        if (words.size() == wanted && !(parse_int(words[2], x) && parse_int(words[3], y))) {
            problem = "mouse_move needs two whole numbers";
            return std::nullopt;
        }
        event.kind = EventKind::mouse_move;
        event.x = static_cast<int>(x);
        event.y = static_cast<int>(y);
    } else if (action == "mouse_down" || action == "mouse_up") {
        wanted = 3;
        if (words.size() == wanted) {
            auto button = mouse_button_by_name(words[2]);
            if (!button) {
                problem = "unknown mouse button '" + words[2] + "' (left, right or middle)";
                return std::nullopt;
            }
            event.kind = action == "mouse_down" ? EventKind::mouse_down : EventKind::mouse_up;
            event.button = *button;
        }
    } else if (action.starts_with("joystick_")) {
        return parse_joystick_event(words, problem);
    } else if (action == "close") {
        wanted = 2;
        event.kind = EventKind::window_close;
    } else {
        problem = "unknown action '" + action + "'";
        return std::nullopt;
    }
    if (words.size() != wanted) {
        problem = action + " takes " + std::to_string(wanted - 2) + " argument(s)";
        return std::nullopt;
    }
    return event;
}

}  // namespace

std::optional<int> virtual_key_by_name(std::string_view name)
{
    std::int64_t number = 0;
    if (parse_int(name, number) && name.size() > 1)
        return number >= 0 && number <= 255 ? std::optional<int>(static_cast<int>(number)) : std::nullopt;
    return key_code_by_name(name);
}

std::optional<ScriptedInput> ScriptedInput::parse(std::string_view text, const std::string& source, std::string& error)
{
    ScriptedInput input;
    std::istringstream lines {std::string(text)};
    std::string line;
    int pointer_x = 0, pointer_y = 0;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::vector<std::string> words = words_of(line);
        if (words.empty() || words[0][0] == '#')
            continue;
        std::int64_t step = 0;
        std::string problem;
        if (words.size() < 2 || !parse_int(words[0], step) || step < 1) {
            problem = "a line starts with a step number (1 or more) and an action";
        } else if (auto event = parse_event(words, problem)) {
            // Buttons go down and up where the pointer was last moved to, as window systems report them.
            if (event->kind == platform::EventKind::mouse_move) {
                pointer_x = event->x;
                pointer_y = event->y;
            } else if (event->kind == platform::EventKind::mouse_down || event->kind == platform::EventKind::mouse_up) {
                event->x = pointer_x;
                event->y = pointer_y;
            }
            input.m_events.push_back({step, *event});
            continue;
        }
        error = source + ":" + std::to_string(number) + ": " + problem;
        return std::nullopt;
    }
    std::stable_sort(input.m_events.begin(), input.m_events.end(),
        [](const ScriptedEvent& a, const ScriptedEvent& b) { return a.step < b.step; });
    return input;
}

std::optional<ScriptedInput> ScriptedInput::load(const std::filesystem::path& file, std::string& error)
{
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        error = file.string() + ": cannot be read";
        return std::nullopt;
    }
    std::ostringstream text;
    text << stream.rdbuf();
    return parse(text.str(), file.string(), error);
}

void ScriptedInput::events_for(std::int64_t step, std::vector<platform::Event>& events)
{
    while (m_next < m_events.size() && m_events[m_next].step <= step)
        events.push_back(m_events[m_next++].event);
}

bool ScriptedInput::next_events(std::vector<platform::Event>& events)
{
    if (m_next == m_events.size())
        return false;
    events_for(m_events[m_next].step, events);
    return true;
}

}  // namespace quillon
