// Debug commands: a script of debugger actions by step number, so that headless runs can use the debugger.
#include "dialogs/debug_commands.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

namespace quillon {

namespace {

using platform::DebugAction;

// How an action is written: its words, and what follows them.
enum class Argument { none, text, row, row_and_text, window };

struct CommandRule {
    std::string_view words;  // "watch add"
    DebugAction action;      // what it asks for
    Argument argument;       // what follows the words
};

constexpr CommandRule COMMAND_RULES[] = {
    {"run", DebugAction::run, Argument::none},
    {"pause", DebugAction::pause, Argument::none},
    {"step", DebugAction::step, Argument::none},
    {"restart", DebugAction::restart, Argument::none},
    {"stop", DebugAction::stop, Argument::none},
    {"watch add", DebugAction::watch_add, Argument::text},
    {"watch change", DebugAction::watch_change, Argument::row_and_text},
    {"watch delete", DebugAction::watch_delete, Argument::row},
    {"watch clear", DebugAction::watch_clear, Argument::none},
    {"watch load", DebugAction::watch_load, Argument::text},
    {"watch save", DebugAction::watch_save, Argument::text},
    {"execute", DebugAction::execute_code, Argument::text},
    {"speed", DebugAction::set_speed, Argument::text},
    {"show globals", DebugAction::show_globals, Argument::none},
    {"show instances", DebugAction::show_instances, Argument::none},
    {"show messages", DebugAction::show_messages, Argument::none},
    {"show locals", DebugAction::show_locals, Argument::text},
    {"hide", DebugAction::hide_window, Argument::window},
};

std::string_view trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// A whole number at the front of the text, which moves past it.
std::optional<std::int64_t> take_number(std::string_view& text)
{
    text = trim(text);
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc {} || (end != text.data() + text.size() && *end != ' ' && *end != '\t'))
        return std::nullopt;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return value;
}

// The rule whose words start the text (followed by a blank or the end); the text moves past them.
const CommandRule* take_rule(std::string_view& text)
{
    text = trim(text);
    const CommandRule* found = nullptr;
    for (const CommandRule& rule : COMMAND_RULES) {
        if (text.starts_with(rule.words)
            && (text.size() == rule.words.size() || text[rule.words.size()] == ' ' || text[rule.words.size()] == '\t')
            && (!found || rule.words.size() > found->words.size()))
            found = &rule;
    }
    if (found)
        text.remove_prefix(found->words.size());
    return found;
}

// The arguments of one rule into the request; the problem when they do not fit.
std::string take_arguments(const CommandRule& rule, std::string_view rest, platform::DebugRequest& request)
{
    if (rule.argument == Argument::row || rule.argument == Argument::row_and_text
        || rule.argument == Argument::window) {
        auto number = take_number(rest);
        if (!number || *number < 1 || *number > 1000000)
            return "'" + std::string(rule.words) + "' needs a row or window number from 1";
        request.row = static_cast<int>(*number) - 1;
    }
    rest = trim(rest);
    bool wants_text = rule.argument == Argument::text || rule.argument == Argument::row_and_text;
    if (wants_text && rest.empty())
        return "'" + std::string(rule.words) + "' needs a text";
    if (!wants_text && !rest.empty())
        return "'" + std::string(rule.words) + "' takes nothing more, not '" + std::string(rest) + "'";
    request.text = rest;
    return {};
}

}  // namespace

std::optional<DebugCommands> DebugCommands::parse(std::string_view text, const std::string& source, std::string& error)
{
    DebugCommands commands;
    std::size_t line_number = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = trim(text.substr(start, end - start));
        start = end + 1;
        ++line_number;
        if (line.empty() || line.front() == '#')
            continue;
        auto fail = [&](const std::string& problem) {
            error = source + ":" + std::to_string(line_number) + ": " + problem;
            return std::nullopt;
        };
        DebugCommand command;
        auto step = take_number(line);
        if (!step || *step < 1)
            return fail("a line starts with the step number, from 1");
        command.step = *step;
        const CommandRule* rule = take_rule(line);
        if (!rule)
            return fail("unknown command '" + std::string(trim(line)) + "'");
        command.request.action = rule->action;
        if (std::string problem = take_arguments(*rule, line, command.request); !problem.empty())
            return fail(problem);
        commands.m_commands.push_back(std::move(command));
    }
    std::stable_sort(commands.m_commands.begin(), commands.m_commands.end(),
        [](const DebugCommand& a, const DebugCommand& b) { return a.step < b.step; });
    return commands;
}

std::optional<DebugCommands> DebugCommands::load(const std::filesystem::path& file, std::string& error)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "cannot read the debug commands " + file.string();
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return parse(text.str(), file.string(), error);
}

const DebugCommand* DebugCommands::next_due(std::int64_t step)
{
    if (used_up() || m_commands[m_next].step > step)
        return nullptr;
    return &m_commands[m_next++];
}

const DebugCommand* DebugCommands::next() { return used_up() ? nullptr : &m_commands[m_next++]; }

}  // namespace quillon
