// HeadlessDialogHost: message boxes without a window, answered from a scripted queue of answers.
#include "platform/headless/headless_dialog_host.h"

#include "support/terminal_text.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iostream>

namespace quillon::platform {

namespace {

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
    return answer ? button_for(trimmed_answer(*answer), buttons, default_button) : default_button;
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

void HeadlessDialogHost::note(std::string_view text)
{
    m_log << text << '\n' << std::flush;
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
