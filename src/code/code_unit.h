// CCode: one unit of game code (a program or an expression), compiled once into a code tree.
#pragma once

#include "code/code_tree.h"
#include "code/numeric_program.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

class CCode {
public:
    enum Kind : std::int32_t { PROGRAM = 1, EXPRESSION = 2, CONSTANT_EXPRESSION = 3 };

    CCode(std::string text, bool as_expression)
        : m_text(std::move(text)), m_kind(as_expression ? EXPRESSION : PROGRAM)
    {
    }

    // Tokens, name resolution, parsing, then marking temporaries, fixing targets and folding constants.
    // On failure the message waits in the code error routine and the unit stays uncompiled.
    bool compile();

    const std::string& text() const { return m_text; }
    bool compiled() const { return m_compiled; }
    bool is_expression() const { return m_kind != PROGRAM; }
    std::int32_t kind() const { return m_kind; }
    const CodeNode& root() const { return m_root; }
    const Value& constant() const { return m_root.value; }
    std::string dump() const { return m_root.dump(); }

    // Variable ids of the temporaries' slots; a run has one slot for each.
    const std::vector<std::int32_t>& local_ids() const { return m_local_ids; }
    // The flat programs of numeric operator trees (CodeNode::program indexes them).
    const NumericStep* numeric_steps() const { return m_numeric_steps.data(); }

    // Records a code error at a position of this unit's text.
    void error(std::int32_t position, std::string_view message) const;

private:
    std::string m_text;          // the source text
    bool m_compiled = false;     // set once compilation has succeeded
    std::int32_t m_kind;         // a Kind
    CodeNode m_root;             // the tree; for a constant expression its value
    std::vector<std::int32_t> m_local_ids;  // by slot, the ids that can name a temporary in this unit
    std::vector<NumericStep> m_numeric_steps;  // the numeric programs of the tree, one after another
};

}  // namespace quillon
