// The string functions: conversions, positions, case, filters, replacing and counting.
#include "functions/strings.h"
#include "support/ascii_case.h"

#include "functions/args.h"
#include "code/number_text.h"

#include <algorithm>

namespace quillon::strings {

namespace {

void set_text(FunctionCall& call, std::string_view text) { call.result.set_string(ScriptString(text)); }

// A 1-based position argument, saturated so that arithmetic on it cannot overflow.
std::int64_t position_argument(const FunctionCall& call, int index)
{
    return std::clamp<std::int64_t>(round_to_int64(real_argument(call, index)), -(1ll << 40), 1ll << 40);
}

// The bytes of s from 1-based start, count long: a start below 1 counts as 1 without shortening.
std::string_view copy_of(std::string_view s, std::int64_t start, std::int64_t count)
{
    if (start < 1)
        start = 1;
    if (count < 0 || start > static_cast<std::int64_t>(s.size()))
        return {};
    return s.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(std::min<std::int64_t>(count, s.size())));
}

template <typename Keep>
void filtered(FunctionCall& call, Keep keep)
{
    std::string kept;
    for (char c : string_argument(call, 0).view())
        if (keep(c))
            kept += c;
    set_text(call, kept);
}

bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Replaces the first occurrence, or every one left to right without overlap.
void replaced(FunctionCall& call, bool every)
{
    std::string_view s = string_argument(call, 0).view();
    std::string_view from = string_argument(call, 1).view();
    std::string_view to = string_argument(call, 2).view();
    if (from.empty()) {
        call.result.set_string(string_argument(call, 0));
        return;
    }
    // The occurrences are counted first, so that the result is made once at its length.
    std::size_t count = 0;
    for (std::size_t found = s.find(from); found != std::string_view::npos; found = s.find(from, found + from.size())) {
        ++count;
        if (!every)
            break;
    }
    ScriptStringBuilder result(s.size() - count * from.size() + count * to.size());
    std::size_t at = 0;
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t found = s.find(from, at);
        result.add(s.substr(at, found - at));
        result.add(to);
        at = found + from.size();
    }
    result.add(s.substr(at));
    call.result.set_string(result.finish());
}

}  // namespace

void real(FunctionCall& call)
{
    const Value& argument = call.argument(0);
    if (argument.is_real()) {
        call.result.set_real(argument.real);
        return;
    }
    std::string_view text = argument.string.view();
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; }))
        return;
    if (std::optional<double> number = parse_real(text))
        call.result.set_real(*number);
    else
        report_function_error("Error in function real().");
}

void string(FunctionCall& call)
{
    const Value& argument = call.argument(0);
    if (argument.is_string())
        call.result.set_string(argument.string);
    else
        set_text(call, format_real(argument.real));
}

void string_format(FunctionCall& call)
{
    const Value& argument = call.argument(0);
    if (argument.is_string())
        call.result.set_string(argument.string);
    else
        set_text(call, format_fixed(argument.real, integer_argument(call, 1), integer_argument(call, 2)));
}

void chr(FunctionCall& call)
{
    char byte = static_cast<char>(static_cast<std::uint64_t>(round_to_int64(real_argument(call, 0))) & 0xff);
    set_text(call, std::string_view(&byte, 1));
}

void ord(FunctionCall& call)
{
    const ScriptString& s = string_argument(call, 0);
    call.result.set_real(s.empty() ? 0 : s[0]);
}

void string_length(FunctionCall& call) { call.result.set_real(static_cast<double>(string_argument(call, 0).size())); }

void string_pos(FunctionCall& call)
{
    std::string_view needle = string_argument(call, 0).view();
    std::string_view haystack = string_argument(call, 1).view();
    std::size_t found = needle.empty() ? std::string_view::npos : haystack.find(needle);
    call.result.set_real(found == std::string_view::npos ? 0 : static_cast<double>(found + 1));
}

void string_copy(FunctionCall& call)
{
    set_text(call, copy_of(string_argument(call, 0).view(), position_argument(call, 1), position_argument(call, 2)));
}

void string_char_at(FunctionCall& call)
{
    set_text(call, copy_of(string_argument(call, 0).view(), position_argument(call, 1), 1));
}

void string_delete(FunctionCall& call)
{
    std::string_view s = string_argument(call, 0).view();
    std::int64_t start = position_argument(call, 1);
    std::int64_t count = position_argument(call, 2);
    auto length = static_cast<std::int64_t>(s.size());
    if (start < 1 || start > length || count <= 0) {
        call.result.set_string(string_argument(call, 0));
        return;
    }
    std::int64_t end = std::min(length, start - 1 + count);
    ScriptStringBuilder result(static_cast<std::size_t>(length - (end - (start - 1))));
    result.add(s.substr(0, static_cast<std::size_t>(start - 1)));
    result.add(s.substr(static_cast<std::size_t>(end)));
    call.result.set_string(result.finish());
}

void string_insert(FunctionCall& call)
{
    std::string_view inserted = string_argument(call, 0).view();
    std::string_view s = string_argument(call, 1).view();
    std::int64_t at = std::clamp<std::int64_t>(position_argument(call, 2) - 1, 0, static_cast<std::int64_t>(s.size()));
    ScriptStringBuilder result(s.size() + inserted.size());
    result.add(s.substr(0, static_cast<std::size_t>(at)));
    result.add(inserted);
    result.add(s.substr(static_cast<std::size_t>(at)));
    call.result.set_string(result.finish());
}

void string_lower(FunctionCall& call)
{
    set_text(call, ascii_lower(string_argument(call, 0).view()));
}

void string_upper(FunctionCall& call)
{
    std::string s = string_argument(call, 0).str();
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    set_text(call, s);
}

void string_repeat(FunctionCall& call)
{
    const ScriptString& s = string_argument(call, 0);
    std::int64_t count = round_to_int64(real_argument(call, 1));
    ScriptString repeated;
    if (count > 0 && !s.empty()) {
        if (static_cast<std::uint64_t>(count) > ScriptString::MAX_LENGTH / s.size()) {
            report_function_error("String too long in function string_repeat().");
            return;
        }
        repeated = ScriptString::repeated(s.view(), static_cast<std::size_t>(count));
    }
    call.result.set_string(std::move(repeated));
}

void string_letters(FunctionCall& call) { filtered(call, is_letter); }
void string_digits(FunctionCall& call) { filtered(call, is_digit); }
void string_lettersdigits(FunctionCall& call) { filtered(call, [](char c) { return is_letter(c) || is_digit(c); }); }
void string_replace(FunctionCall& call) { replaced(call, false); }
void string_replace_all(FunctionCall& call) { replaced(call, true); }

void string_count(FunctionCall& call)
{
    std::string_view needle = string_argument(call, 0).view();
    std::string_view haystack = string_argument(call, 1).view();
    double count = 0;
    if (!needle.empty())
        for (std::size_t at = haystack.find(needle); at != std::string_view::npos;
             at = haystack.find(needle, at + needle.size()))
            ++count;
    call.result.set_real(count);
}

}  // namespace quillon::strings
