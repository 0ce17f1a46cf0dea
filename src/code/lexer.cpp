// Lexer: comments, identifiers and keywords, numbers, strings and operators.
#include "code/lexer.h"

#include "code/operators.h"

#include <algorithm>
#include <array>
#include <string>

namespace quillon {

namespace {

struct Spelling {
    std::string_view text;  // the written form
    std::int32_t kind;      // its token kind
};

constexpr std::array<Spelling, 25> KEYWORDS = {{
    {"begin", TOKEN_BEGIN}, {"end", TOKEN_END_BLOCK}, {"if", TOKEN_IF}, {"then", TOKEN_THEN},
    {"else", TOKEN_ELSE}, {"while", TOKEN_WHILE}, {"do", TOKEN_DO}, {"for", TOKEN_FOR},
    {"with", TOKEN_WITH}, {"until", TOKEN_UNTIL}, {"repeat", TOKEN_REPEAT}, {"exit", TOKEN_EXIT},
    {"return", TOKEN_RETURN}, {"break", TOKEN_BREAK}, {"continue", TOKEN_CONTINUE},
    {"switch", TOKEN_SWITCH}, {"case", TOKEN_CASE}, {"default", TOKEN_DEFAULT}, {"and", OP_AND},
    {"or", OP_OR}, {"not", OP_NOT}, {"div", OP_DIV}, {"mod", OP_MOD}, {"xor", OP_XOR}, {"var", TOKEN_VAR},
}};

// Tried first, in this order.
constexpr std::array<Spelling, 18> TWO_BYTE_OPERATORS = {{
    {":=", TOKEN_ASSIGN}, {"+=", TOKEN_ADD_ASSIGN}, {"-=", TOKEN_SUBTRACT_ASSIGN},
    {"*=", TOKEN_MULTIPLY_ASSIGN}, {"/=", TOKEN_DIVIDE_ASSIGN}, {"&&", OP_AND}, {"||", OP_OR},
    {"<=", OP_LESS_EQUAL}, {"==", OP_EQUAL_EQUAL}, {"!=", OP_NOT_EQUAL}, {"<>", OP_NOT_EQUAL},
    {">=", OP_GREATER_EQUAL}, {"|=", TOKEN_OR_ASSIGN}, {"&=", TOKEN_AND_ASSIGN}, {"^=", TOKEN_XOR_ASSIGN},
    {"<<", OP_SHIFT_LEFT}, {">>", OP_SHIFT_RIGHT}, {"^^", OP_XOR},
}};

constexpr std::array<Spelling, 22> ONE_BYTE_OPERATORS = {{
    {"{", TOKEN_BEGIN}, {"}", TOKEN_END_BLOCK}, {"=", TOKEN_ASSIGN}, {"(", TOKEN_OPEN_PAREN},
    {")", TOKEN_CLOSE_PAREN}, {";", TOKEN_SEMICOLON}, {",", TOKEN_COMMA}, {"[", TOKEN_OPEN_BRACKET},
    {"]", TOKEN_CLOSE_BRACKET}, {".", TOKEN_DOT}, {":", TOKEN_COLON}, {"!", OP_NOT}, {"<", OP_LESS},
    {">", OP_GREATER}, {"+", OP_PLUS}, {"-", OP_MINUS}, {"*", OP_MULTIPLY}, {"/", OP_DIVIDE},
    {"|", OP_BIT_OR}, {"&", OP_BIT_AND}, {"^", OP_BIT_XOR}, {"~", OP_BIT_NOT},
}};

bool is_letter(char c) { return c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

class Scanner {
public:
    explicit Scanner(std::string_view text) : m_text(text) { m_text += "   "; }

    std::vector<Token> run()
    {
        std::vector<Token> tokens;
        while (true) {
            Token token = next();
            std::int32_t kind = token.kind;
            tokens.push_back(std::move(token));
            if (kind == TOKEN_END || kind == TOKEN_UNRECOGNISED)
                return tokens;
        }
    }

private:
    char at(std::size_t index) const { return index < m_text.size() ? m_text[index] : '\0'; }
    Token make(std::int32_t kind, std::size_t start, std::string text)
    {
        return Token {kind, std::move(text), static_cast<std::int32_t>(start + 1)};
    }

    // Skips blanks and comments; true when a comment was skipped and blanks must be skipped again.
    bool skip_comment()
    {
        if (m_at + 1 >= m_text.size() || m_text[m_at] != '/')
            return false;
        if (m_text[m_at + 1] == '/') {
            while (m_at < m_text.size() && m_text[m_at] != '\r' && m_text[m_at] != '\n')
                ++m_at;
            ++m_at;
            return true;
        }
        if (m_text[m_at + 1] == '*') {
            // The search starts at the opening slash, so "/*/" already closes the comment.
            while (m_at + 1 < m_text.size() && !(m_text[m_at] == '*' && m_text[m_at + 1] == '/'))
                ++m_at;
            m_at += 2;
            return true;
        }
        return false;
    }

    Token next()
    {
        do {
            while (m_at < m_text.size() && static_cast<unsigned char>(m_text[m_at]) <= 32)
                ++m_at;
            if (m_at >= m_text.size())
                return make(TOKEN_END, std::min(m_at, m_text.size()), "");
        } while (skip_comment());
        char c = m_text[m_at];
        if (is_letter(c))
            return word();
        if (is_digit(c) || (c == '.' && is_digit(at(m_at + 1))))
            return number();
        if (c == '\'' || c == '"')
            return string();
        return symbol();
    }

    Token word()
    {
        std::size_t start = m_at;
        while (m_at < m_text.size() && (is_letter(m_text[m_at]) || is_digit(m_text[m_at])))
            ++m_at;
        std::string text = m_text.substr(start, m_at - start);
        for (const Spelling& keyword : KEYWORDS)
            if (keyword.text == text)
                return make(keyword.kind, start, std::move(text));
        return make(TOKEN_IDENTIFIER, start, std::move(text));
    }

    Token number()
    {
        std::size_t start = m_at;
        bool seen_dot = false;
        while (m_at < m_text.size() && (is_digit(m_text[m_at]) || (m_text[m_at] == '.' && !seen_dot))) {
            seen_dot = seen_dot || m_text[m_at] == '.';
            ++m_at;
        }
        return make(TOKEN_NUMBER, start, m_text.substr(start, m_at - start));
    }

    Token string()
    {
        std::size_t start = m_at;
        char quote = m_text[m_at++];
        std::size_t close = m_text.find(quote, m_at);
        if (close == std::string::npos)
            close = m_text.size();
        std::string text = m_text.substr(m_at, close - m_at);
        m_at = close + 1;
        return make(TOKEN_STRING, start, std::move(text));
    }

    Token symbol()
    {
        std::size_t start = m_at;
        if (m_at + 1 < m_text.size()) {
            std::string_view pair(m_text.data() + m_at, 2);
            for (const Spelling& op : TWO_BYTE_OPERATORS)
                if (op.text == pair) {
                    m_at += 2;
                    return make(op.kind, start, std::string(pair));
                }
        }
        for (const Spelling& op : ONE_BYTE_OPERATORS)
            if (op.text[0] == m_text[m_at]) {
                ++m_at;
                return make(op.kind, start, std::string(op.text));
            }
        return make(TOKEN_UNRECOGNISED, start, std::string(1, m_text[m_at]));
    }

    std::string m_text;     // the code text with three blanks appended
    std::size_t m_at = 0;   // 0-based scanning position
};

}  // namespace

std::vector<Token> tokenize(std::string_view text) { return Scanner(text).run(); }

double number_value(std::string_view digits)
{
    double value = 0;
    double scale = 1;
    bool fraction = false;
    for (char c : digits) {
        if (c == '.') {
            fraction = true;
        } else if (fraction) {
            scale /= 10;
            value += (c - '0') * scale;
        } else {
            value = value * 10 + (c - '0');
        }
    }
    return value;
}

}  // namespace quillon
