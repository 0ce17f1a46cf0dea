// Parser: name resolution and recursive descent over the resolved items.
#include "code/parser.h"

#include "code/code_unit.h"
#include "code/constants.h"
#include "code/function_registry.h"
#include "code/lexer.h"
#include "code/messages.h"
#include "code/operators.h"
#include "code/variable_names.h"

#include <string>

namespace quillon {

#define TRY(expression)        \
    do {                       \
        if (!(expression))     \
            return false;      \
    } while (0)

bool resolve_names(const CCode& code, const std::vector<Token>& tokens, std::vector<CodeItem>& items)
{
    items.reserve(tokens.size());
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        CodeItem item {token.kind, 0, Value(), token.position};
        if (token.kind == TOKEN_IDENTIFIER) {
            bool called = i + 1 < tokens.size() && tokens[i + 1].kind == TOKEN_OPEN_PAREN;
            if (called) {
                std::optional<std::int32_t> function = function_registry().find(token.text);
                if (!function) {
                    code.error(token.position, std::string(message::UNKNOWN_FUNCTION) + token.text);
                    return false;
                }
                item.kind = ITEM_FUNCTION;
                item.index = *function;
            } else if (std::optional<Value> constant = constants().find(token.text)) {
                item.kind = ITEM_CONSTANT;
                item.value = *constant;
            } else {
                item.kind = ITEM_VARIABLE;
                item.index = variable_names().find_or_add(token.text);
            }
        } else if (token.kind == TOKEN_NUMBER) {
            item.kind = ITEM_CONSTANT;
            item.value = Value(number_value(token.text));
        } else if (token.kind == TOKEN_STRING) {
            item.kind = ITEM_CONSTANT;
            item.value = Value(ScriptString(token.text));
        }
        items.push_back(std::move(item));
    }
    return true;
}

namespace {

// Deeper nesting than this is refused, so that compiling, running and freeing a tree cannot exhaust
// the stack.
constexpr int MAX_NESTING = 400;

bool is_assignment(std::int32_t kind)
{
    return kind == TOKEN_ASSIGN || (kind >= TOKEN_ADD_ASSIGN && kind <= TOKEN_DIVIDE_ASSIGN) ||
           (kind >= TOKEN_OR_ASSIGN && kind <= TOKEN_XOR_ASSIGN);
}

class Parser {
public:
    Parser(const CCode& code, const std::vector<CodeItem>& items) : m_code(code), m_items(items) {}

    // program: '{' statements '}' | statement* | (nothing)
    bool program(CodeNode& root)
    {
        if (current().kind == TOKEN_END) {
            root = CodeNode {NODE_EMPTY_PROGRAM, 0, 0, Value(), current().position, {}};
            return true;
        }
        if (current().kind == TOKEN_BEGIN) {
            TRY(statement(root));
            if (current().kind != TOKEN_END)
                return fail(message::PROGRAM_ENDS_EARLY);
            return true;
        }
        root = node(NODE_BLOCK, current().position);
        while (current().kind != TOKEN_END)
            TRY(statement(root.children.emplace_back()));
        return true;
    }

    // expression unit: expression? (anything after it is ignored)
    bool expression_unit(CodeNode& root)
    {
        if (current().kind == TOKEN_END) {
            root = node(NODE_CONSTANT, current().position);
            return true;
        }
        return expression(root);
    }

private:
    const CodeItem& current() const { return m_items[m_at]; }
    void advance()
    {
        if (m_at + 1 < m_items.size())
            ++m_at;
    }
    bool fail(const char* text) const
    {
        m_code.error(current().position, text);
        return false;
    }
    bool expect(std::int32_t kind, const char* text)
    {
        if (current().kind != kind)
            return fail(text);
        advance();
        return true;
    }
    static CodeNode node(std::int32_t kind, std::int32_t position)
    {
        return CodeNode {kind, 0, 0, Value(), position, {}};
    }

    // Counts one level of nesting for as long as it lives.
    struct Nesting {
        Parser& parser;  // the parser whose depth is counted
        explicit Nesting(Parser& owner) : parser(owner) { ++parser.m_depth; }
        ~Nesting() { --parser.m_depth; }
        bool too_deep() const { return parser.m_depth > MAX_NESTING; }
    };

    // statement: call | block | if | while | do | for | repeat | exit | break | continue | with
    //          | return | switch | case | default | var | ';' | assignment, then any run of ';'
    bool statement(CodeNode& out)
    {
        Nesting nesting(*this);
        if (nesting.too_deep())
            return fail(message::NESTED_TOO_DEEPLY);
        TRY(statement_body(out));
        while (current().kind == TOKEN_SEMICOLON)
            advance();
        return true;
    }

    bool statement_body(CodeNode& out)
    {
        std::int32_t kind = current().kind;
        std::int32_t position = current().position;
        switch (kind) {
        case ITEM_FUNCTION: return call(out);
        case TOKEN_BEGIN: return block(out, NODE_BLOCK);
        case TOKEN_IF: return if_statement(out);
        case TOKEN_WHILE:
        case TOKEN_WITH:
            // while: 'while' expression ['do'] statement;  with: 'with' expression ['do'] statement
            advance();
            out = node(kind, current().position);
            TRY(expression(out.children.emplace_back()));
            if (current().kind == TOKEN_DO)
                advance();
            return statement(out.children.emplace_back());
        case TOKEN_DO:
            // do: 'do' statement 'until' expression
            advance();
            out = node(NODE_DO, current().position);
            TRY(statement(out.children.emplace_back()));
            TRY(expect(TOKEN_UNTIL, message::UNTIL_EXPECTED));
            return expression(out.children.emplace_back());
        case TOKEN_FOR: return for_statement(out);
        case TOKEN_REPEAT:
            // repeat: 'repeat' expression statement
            advance();
            out = node(NODE_REPEAT, current().position);
            TRY(expression(out.children.emplace_back()));
            return statement(out.children.emplace_back());
        case TOKEN_EXIT:
        case TOKEN_BREAK:
        case TOKEN_CONTINUE:
            out = node(kind, position);
            advance();
            return true;
        case TOKEN_RETURN:
            // return: 'return' expression
            advance();
            out = node(NODE_RETURN, current().position);
            return expression(out.children.emplace_back());
        case TOKEN_SWITCH: return switch_statement(out);
        case TOKEN_CASE:
            // case: 'case' expression ':'
            advance();
            out = node(NODE_CASE, current().position);
            TRY(expression(out.children.emplace_back()));
            return expect(TOKEN_COLON, message::COLON_EXPECTED);
        case TOKEN_DEFAULT:
            // default: 'default' ':'
            advance();
            out = node(NODE_DEFAULT, current().position);
            return expect(TOKEN_COLON, message::COLON_EXPECTED);
        case TOKEN_VAR: return var_declaration(out);
        case TOKEN_SEMICOLON:
            out = node(NODE_EMPTY, position);
            advance();
            return true;
        case TOKEN_END: return fail(message::UNEXPECTED_END);
        default: return assignment(out);
        }
    }

    // block: '{' statement* '}'  (also the body of a switch)
    bool block(CodeNode& out, std::int32_t kind)
    {
        advance();
        out = node(kind, current().position);
        while (current().kind != TOKEN_END_BLOCK) {
            if (current().kind == TOKEN_END)
                return fail(message::CLOSE_BRACE_EXPECTED);
            TRY(statement(out.children.emplace_back()));
        }
        advance();
        return true;
    }

    // if: 'if' expression ['then'] statement ['else' statement]
    bool if_statement(CodeNode& out)
    {
        advance();
        out = node(NODE_IF, current().position);
        TRY(expression(out.children.emplace_back()));
        if (current().kind == TOKEN_THEN)
            advance();
        TRY(statement(out.children.emplace_back()));
        if (current().kind == TOKEN_ELSE) {
            advance();
            TRY(statement(out.children.emplace_back()));
        }
        return true;
    }

    // for: 'for' '(' statement [';'] expression [';'] statement ')' statement
    bool for_statement(CodeNode& out)
    {
        advance();
        out = node(NODE_FOR, current().position);
        TRY(expect(TOKEN_OPEN_PAREN, message::OPEN_PAREN_EXPECTED));
        TRY(statement(out.children.emplace_back()));
        TRY(expression(out.children.emplace_back()));
        if (current().kind == TOKEN_SEMICOLON)
            advance();
        TRY(statement(out.children.emplace_back()));
        TRY(expect(TOKEN_CLOSE_PAREN, message::CLOSE_PAREN_EXPECTED));
        return statement(out.children.emplace_back());
    }

    // switch: 'switch' expression '{' statement* '}'
    bool switch_statement(CodeNode& out)
    {
        advance();
        out = node(NODE_SWITCH, current().position);
        TRY(expression(out.children.emplace_back()));
        if (current().kind != TOKEN_BEGIN)
            return fail(message::OPEN_BRACE_EXPECTED);
        CodeNode body;
        TRY(block(body, NODE_BLOCK));
        for (CodeNode& child : body.children)
            out.children.push_back(std::move(child));
        return true;
    }

    // var: 'var' (variable [','])*
    bool var_declaration(CodeNode& out)
    {
        advance();
        out = node(NODE_VAR, current().position);
        while (current().kind == ITEM_VARIABLE) {
            if (current().index < FIRST_USER_VARIABLE)
                return fail(message::REDECLARE_BUILTIN);
            CodeNode& name = out.children.emplace_back(node(NODE_CONSTANT, current().position));
            name.op = current().index;
            advance();
            if (current().kind == TOKEN_COMMA)
                advance();
        }
        return true;
    }

    // assignment: postfix assignment-operator expression
    bool assignment(CodeNode& out)
    {
        out = node(NODE_ASSIGN, current().position);
        CodeNode& target = out.children.emplace_back();
        TRY(postfix(target));
        if (target.kind != NODE_VARIABLE)
            return fail(message::VARIABLE_NAME_EXPECTED);
        if (!is_assignment(current().kind))
            return fail(message::ASSIGNMENT_EXPECTED);
        out.op = current().kind;
        advance();
        return expression(out.children.emplace_back());
    }

    // call: function '(' [expression (',' expression)* [',']] ')'
    bool call(CodeNode& out)
    {
        out = node(NODE_CALL, current().position);
        out.op = current().index;
        advance();
        advance();  // the '(' that made the name a function reference
        while (current().kind != TOKEN_CLOSE_PAREN) {
            TRY(expression(out.children.emplace_back()));
            if (current().kind == TOKEN_COMMA) {
                advance();
            } else if (current().kind != TOKEN_CLOSE_PAREN) {
                return fail(current().kind == TOKEN_END ? message::CLOSE_PAREN_EXPECTED
                                                        : message::COMMA_OR_PAREN_EXPECTED);
            }
        }
        std::int32_t count = static_cast<std::int32_t>(out.children.size());
        std::int32_t expected = function_registry().argument_count(out.op);
        bool builtin = out.op < FIRST_SCRIPT_INDEX;
        if (count > MAX_ARGUMENTS || (builtin && expected != FunctionRegistry::ANY_COUNT && expected != count))
            return fail(message::WRONG_ARGUMENT_COUNT);
        advance();
        return true;
    }

    // expression: comparison (('&&' | '||' | '^^') comparison)*, then the tighter levels below
    bool expression(CodeNode& out)
    {
        Nesting nesting(*this);
        if (nesting.too_deep())
            return fail(message::NESTED_TOO_DEEPLY);
        return binary_level(out, 0);
    }

    static bool on_level(int level, std::int32_t kind)
    {
        switch (level) {
        case 0: return kind == OP_AND || kind == OP_OR || kind == OP_XOR;
        case 1: return kind == OP_EQUAL || (kind >= OP_LESS && kind <= OP_GREATER);
        case 2: return kind == OP_BIT_OR || kind == OP_BIT_AND || kind == OP_BIT_XOR;
        case 3: return kind == OP_SHIFT_LEFT || kind == OP_SHIFT_RIGHT;
        case 4: return kind == OP_PLUS || kind == OP_MINUS;
        default: return kind == OP_MULTIPLY || kind == OP_DIVIDE || kind == OP_DIV || kind == OP_MOD;
        }
    }

    // level n: level n+1 (operator of level n, level n+1)*, left-associative; below level 5, postfix
    bool binary_level(CodeNode& out, int level)
    {
        constexpr int TIGHTEST = 5;
        std::int32_t position = current().position;
        TRY(level == TIGHTEST ? postfix(out) : binary_level(out, level + 1));
        int chained = 0;
        while (on_level(level, current().kind)) {
            // A long chain builds a deep tree, so each link counts as nesting.
            if (m_depth + ++chained > MAX_NESTING)
                return fail(message::NESTED_TOO_DEEPLY);
            CodeNode combined = node(NODE_BINARY, position);
            combined.op = current().kind;
            advance();
            combined.children.push_back(std::move(out));
            CodeNode& right = combined.children.emplace_back();
            TRY(level == TIGHTEST ? postfix(right) : binary_level(right, level + 1));
            out = std::move(combined);
        }
        return true;
    }

    // postfix: primary ('.' variable indices?)*
    bool postfix(CodeNode& out)
    {
        TRY(primary(out));
        while (current().kind == TOKEN_DOT) {
            advance();
            if (current().kind != ITEM_VARIABLE)
                return fail(message::VARIABLE_NAME_EXPECTED);
            CodeNode variable = node(NODE_VARIABLE, current().position);
            variable.op = current().index;
            variable.children.push_back(std::move(out));
            advance();
            TRY(indices(variable));
            out = std::move(variable);
        }
        return true;
    }

    // indices: ['[' [expression (',' expression)?] ']']
    bool indices(CodeNode& variable)
    {
        if (current().kind != TOKEN_OPEN_BRACKET)
            return true;
        advance();
        if (current().kind == TOKEN_CLOSE_BRACKET) {
            advance();
            return true;
        }
        while (true) {
            if (variable.children.size() == 3)
                return fail(message::TOO_MANY_DIMENSIONS);
            TRY(expression(variable.children.emplace_back()));
            if (current().kind == TOKEN_CLOSE_BRACKET) {
                advance();
                return true;
            }
            if (current().kind == TOKEN_END)
                return fail(message::CLOSE_BRACKET_EXPECTED);
            if (current().kind != TOKEN_COMMA)
                return fail(message::COMMA_OR_BRACKET_EXPECTED);
            advance();
        }
    }

    // primary: constant | call | variable indices? | '(' expression ')' | ('!' | '+' | '-' | '~') postfix
    bool primary(CodeNode& out)
    {
        const CodeItem& item = current();
        switch (item.kind) {
        case ITEM_CONSTANT:
            out = node(NODE_CONSTANT, item.position);
            out.value = item.value;
            advance();
            return true;
        case ITEM_FUNCTION: return call(out);
        case ITEM_VARIABLE: {
            out = node(NODE_VARIABLE, item.position);
            out.op = item.index;
            CodeNode& object = out.children.emplace_back(node(NODE_CONSTANT, item.position));
            object.value = Value(double(TARGET_DEFAULT));
            advance();
            return indices(out);
        }
        case TOKEN_OPEN_PAREN:
            advance();
            TRY(expression(out));
            return expect(TOKEN_CLOSE_PAREN, message::CLOSE_PAREN_EXPECTED);
        case OP_NOT:
        case OP_PLUS:
        case OP_MINUS:
        case OP_BIT_NOT: {
            Nesting nesting(*this);
            if (nesting.too_deep())
                return fail(message::NESTED_TOO_DEEPLY);
            out = node(NODE_UNARY, item.position);
            out.op = item.kind;
            advance();
            return postfix(out.children.emplace_back());
        }
        default: return fail(message::UNEXPECTED_IN_EXPRESSION);
        }
    }

    const CCode& m_code;                    // the unit being compiled, for errors
    const std::vector<CodeItem>& m_items;   // resolved items, ending with the end item
    std::size_t m_at = 0;                   // the current item
    int m_depth = 0;                        // current nesting of statements and expressions
};

}  // namespace

bool parse(const CCode& code, const std::vector<CodeItem>& items, CodeNode& root)
{
    Parser parser(code, items);
    return code.is_expression() ? parser.expression_unit(root) : parser.program(root);
}

}  // namespace quillon
