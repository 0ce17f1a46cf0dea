// TextFile: the one text file a game reads or writes at a time.
#include "support/text_file.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace quillon {

namespace {

constexpr std::size_t READ_BUFFER_SIZE = 1 << 16;
constexpr std::size_t WRITE_BUFFER_LIMIT = 1 << 16;

bool is_line_end(char c) { return c == '\r' || c == '\n'; }
bool is_blank(char c) { return c == ' ' || c == '\t'; }

// A word as a number: an optional sign, digits with an optional point and exponent, or "$" and hexadecimal digits.
bool parse_number(std::string_view word, double& value)
{
    bool negative = false;
    if (!word.empty() && (word[0] == '+' || word[0] == '-')) {
        negative = word[0] == '-';
        word.remove_prefix(1);
    }
    if (word.size() > 1 && word[0] == '$') {
        unsigned long long hex = 0;
        auto [end, error] = std::from_chars(word.data() + 1, word.data() + word.size(), hex, 16);
        if (error != std::errc {} || end != word.data() + word.size())
            return false;
        value = negative ? -static_cast<double>(hex) : static_cast<double>(hex);
        return true;
    }
    // Only digits, points and exponents: from_chars alone would also take "inf" and "nan".
    if (word.empty() || word.find_first_not_of("0123456789.eE+-") != std::string_view::npos
        || word[0] == '+' || word[0] == '-')
        return false;
    double parsed = 0;
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), parsed, std::chars_format::general);
    if (end != word.data() + word.size() || (error != std::errc {} && error != std::errc::result_out_of_range))
        return false;
    value = negative ? -parsed : parsed;
    return true;
}

}  // namespace

bool TextFile::open_read(const std::filesystem::path& path)
{
    close();
    m_file = std::fopen(path.c_str(), "rb");
    if (!m_file)
        return false;
    m_in.resize(READ_BUFFER_SIZE);
    m_position = m_end = 0;
    m_failed = false;
    m_state = State::reading;
    return true;
}

bool TextFile::open_write(const std::filesystem::path& path, bool append)
{
    close();
    m_file = std::fopen(path.c_str(), append ? "ab" : "wb");
    if (!m_file)
        return false;
    m_failed = false;
    m_state = State::writing;
    return true;
}

bool TextFile::close()
{
    bool written = flush();
    if (m_file && std::fclose(m_file) != 0 && m_state == State::writing)
        written = false;
    m_file = nullptr;
    m_state = State::closed;
    m_out.clear();
    m_in.clear();
    m_in.shrink_to_fit();
    return written;
}

bool TextFile::fill()
{
    if (m_position < m_end)
        return true;
    if (m_failed || !m_file)
        return false;
    m_position = 0;
    m_end = std::fread(data(), 1, m_in.size(), m_file);
    if (m_end == 0 && std::ferror(m_file))
        m_failed = true;
    return m_end > 0;
}

// A file that cannot be read counts as ended, so that a loop up to the end always stops.
bool TextFile::at_end() { return !fill(); }

bool TextFile::read_string(std::string& text)
{
    text.clear();
    while (fill()) {
        const char* start = data() + m_position;
        const char* stop = start;
        const char* limit = data() + m_end;
        while (stop != limit && !is_line_end(*stop))
            ++stop;
        text.append(start, stop);
        m_position += static_cast<std::size_t>(stop - start);
        if (stop != limit)
            return true;
    }
    return !m_failed;
}

bool TextFile::read_line()
{
    while (fill()) {
        char c = data()[m_position++];
        if (c == '\n')
            return true;
        if (c == '\r') {
            if (fill() && data()[m_position] == '\n')
                ++m_position;
            return !m_failed;
        }
    }
    return !m_failed;
}

bool TextFile::read_real(double& value)
{
    value = 0;
    while (fill() && (is_blank(data()[m_position]) || is_line_end(data()[m_position])))
        ++m_position;
    std::string word;
    while (fill()) {
        char c = data()[m_position];
        if (is_blank(c) || is_line_end(c))
            break;
        word += c;
        ++m_position;
        // No number is this long: stop collecting, so a binary file cannot fill the memory.
        if (word.size() > 4096)
            return false;
    }
    if (m_failed)
        return false;
    return word.empty() || parse_number(word, value);
}

bool TextFile::write(std::string_view bytes)
{
    m_out.append(bytes);
    return m_out.size() < WRITE_BUFFER_LIMIT || flush();
}

bool TextFile::flush()
{
    if (m_out.empty() || !m_file)
        return true;
    bool written = std::fwrite(m_out.data(), 1, m_out.size(), m_file) == m_out.size() && std::fflush(m_file) == 0;
    m_out.clear();
    return written;
}

std::string TextFile::real_text(double value)
{
    constexpr int WIDTH = 23;
    if (!std::isfinite(value)) {
        std::string word = std::isnan(value) ? "NAN" : value < 0 ? "-INF" : "+INF";
        return std::string(WIDTH - word.size(), ' ') + word;
    }
    // printf gives d.ddddddddddddddE+dd; the exponent gets four digits.
    char digits[40];
    std::snprintf(digits, sizeof digits, "%.14E", value);
    std::string_view printed(digits);
    std::size_t e = printed.find('E');
    int exponent = std::atoi(digits + e + 1);
    char text[WIDTH + 8];
    std::snprintf(text, sizeof text, "%s%.*sE%c%04d", printed[0] == '-' ? "" : " ", static_cast<int>(e), digits,
                  exponent < 0 ? '-' : '+', std::abs(exponent));
    return text;
}

}  // namespace quillon
