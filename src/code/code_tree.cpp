// CodeNode: printing a tree.
#include "code/code_tree.h"

#include "code/function_registry.h"
#include "code/variable_names.h"

#include <cstdio>

namespace quillon {

const char* operator_text(std::int32_t code)
{
    switch (code) {
    case 101: return "=";
    case 102: return "+=";
    case 103: return "-=";
    case 104: return "*=";
    case 105: return "/=";
    case 114: return "|=";
    case 115: return "&=";
    case 116: return "^=";
    case 201: return "&&";
    case 202: return "||";
    case 203: return "!";
    case 204: return "<";
    case 205: return "<=";
    case 206: return "==";
    case 207: return "!=";
    case 208: return ">=";
    case 209: return ">";
    case 210: return "+";
    case 211: return "-";
    case 212: return "*";
    case 213: return "/";
    case 214: return "div";
    case 215: return "mod";
    case 216: return "^^";
    case 217: return "|";
    case 218: return "&";
    case 219: return "^";
    case 220: return "~";
    case 221: return "<<";
    case 222: return ">>";
    default: return "?";
    }
}

namespace {

const char* statement_name(std::int32_t kind)
{
    switch (kind) {
    case NODE_EMPTY_PROGRAM: return "program";
    case NODE_EMPTY: return ";";
    case NODE_IF: return "if";
    case NODE_WHILE: return "while";
    case NODE_DO: return "do";
    case NODE_FOR: return "for";
    case NODE_REPEAT: return "repeat";
    case NODE_EXIT: return "exit";
    case NODE_BREAK: return "break";
    case NODE_CONTINUE: return "continue";
    case NODE_WITH: return "with";
    case NODE_RETURN: return "return";
    case NODE_SWITCH: return "switch";
    case NODE_CASE: return "case";
    case NODE_DEFAULT: return "default";
    case NODE_VAR: return "var";
    case NODE_BLOCK: return "block";
    default: return "?";
    }
}

std::string constant_text(const Value& value)
{
    if (value.is_string())
        return "'" + value.string.str() + "'";
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value.real);
    return text;
}

}  // namespace

std::string CodeNode::dump() const
{
    std::string head;
    switch (kind) {
    case NODE_CONSTANT:
        // The names of a `var` node are constants that carry their variable id.
        return op ? variable_names().name_of(op) : constant_text(value);
    case NODE_SIMPLE_VARIABLE: return variable_names().name_of(op) + "@" + std::to_string(target);
    case NODE_CALL: head = "call " + function_registry().name_of(op); break;
    case NODE_VARIABLE: head = "var " + variable_names().name_of(op); break;
    case NODE_ASSIGN:
    case NODE_UNARY:
    case NODE_BINARY: head = operator_text(op); break;
    default: head = statement_name(kind); break;
    }
    std::string text = "(" + head;
    for (const CodeNode& child : children)
        text += " " + child.dump();
    return text + ")";
}

}  // namespace quillon
