// HeadlessDialogHost: message boxes without a window, answered from a scripted queue of answers.
#include "platform/headless/headless_dialog_host.h"

#include "support/terminal_text.h"
#include "support/win1252.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iostream>

namespace quillon::platform {

namespace {

std::string_view trimmed(std::string_view text)
{
    constexpr std::string_view SPACE = " \t\r";
    std::size_t first = text.find_first_not_of(SPACE);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(SPACE) - first + 1);
}

bool same_label(std::string_view answer, std::string_view label)
{
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    return std::ranges::equal(answer, label, [&](char a, char b) { return lower(a) == lower(b); });
}

}  // namespace

HeadlessDialogHost::HeadlessDialogHost()
    : m_log(std::cerr)
{
}

HeadlessDialogHost::HeadlessDialogHost(std::ostream& log)
    : m_log(log)
{
}

void HeadlessDialogHost::push_answer(std::string answer)
{
    m_answers.push_back(std::move(answer));
}

bool HeadlessDialogHost::load_answers(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        m_answers.push_back(std::move(line));
    }
    return !in.bad();
}

int HeadlessDialogHost::message_box(
    std::string_view, std::string_view text, std::span<const std::string> buttons, int default_button)
{
    std::optional<std::string> answer = next_answer(text);
    return answer ? button_for(trimmed(*answer), buttons, default_button) : default_button;
}

std::optional<std::string> HeadlessDialogHost::next_answer(std::string_view text)
{
    m_log << terminal_text(text) << '\n' << std::flush;
    if (m_answers.empty())
        return std::nullopt;
    std::string answer = std::move(m_answers.front());
    m_answers.pop_front();
    return answer;
}

void HeadlessDialogHost::note(std::string_view text) { m_log << text << '\n'; }

int HeadlessDialogHost::message_form(
    std::string_view, std::string_view text, const std::array<std::string, 3>& buttons)
{
    std::optional<std::string> line = next_answer(text);
    std::string_view answer = line ? trimmed(*line) : std::string_view();
    if (answer.empty() || same_label(answer, "Enter"))
        return 1;
    if (same_label(answer, "Escape"))
        return 0;
    int number = -1;
    auto [end, error] = std::from_chars(answer.data(), answer.data() + answer.size(), number);
    if (error == std::errc() && end == answer.data() + answer.size() && number >= 0 && number <= 3)
        return number;
    for (int i = 0; i < 3; ++i) {
        if (!buttons[i].empty() && same_label(answer, button_label(buttons[i])))
            return i + 1;
    }
    m_log << "answers: \"" << answer << "\" names no button here; Enter is pressed\n";
    return 1;
}

std::string HeadlessDialogHost::input_box(std::string_view, std::string_view prompt, std::string_view initial)
{
    std::optional<std::string> line = next_answer(prompt);
    return line ? utf8_to_win1252(*line) : std::string(initial);
}

int HeadlessDialogHost::button_for(std::string_view answer, std::span<const std::string> buttons, int default_button)
{
    if (answer.empty())
        return default_button;
    int index = -1;
    auto [end, error] = std::from_chars(answer.data(), answer.data() + answer.size(), index);
    if (error == std::errc() && end == answer.data() + answer.size() && index >= 0
        && index < static_cast<int>(buttons.size()))
        return index;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (same_label(answer, buttons[i]))
            return static_cast<int>(i);
    }
    m_log << "answers: \"" << answer << "\" names no button here; the default is pressed\n";
    return default_button;
}

}  // namespace quillon::platform
