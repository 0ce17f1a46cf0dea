// Checks at pack time: the game's code compiled with the runner's own compiler, and the functions that actions
// call checked against the built-in table, so that a project with faulty code fails to pack, not to load.
#pragma once

#include <string>
#include <vector>

namespace quillon {

class CAction;
struct GameFile;
struct Place;

// One piece of game code and where its text comes from.
struct CodeToCheck {
    std::string text;         // as the game stores it
    bool expression = false;  // an action argument, compiled as an expression
    std::string file;         // the code file, or the JSON file that holds the code
    std::string where;        // the record and field inside the JSON file; empty for a code file
};

class CodeChecks {
public:
    void add(CodeToCheck code) { m_codes.push_back(std::move(code)); }
    // The code an action compiles at load and the built-in it calls, as the runner will see them.
    void add_action(const CAction& action, const Place& place, const std::string& code_file);

    // Compiles every piece with the game's scripts known. Throws PackError with one line per problem:
    // "file:line:column: message" for a code file, "file: where: line L, column C: message" for inline code.
    void run(const GameFile& game);

private:
    std::vector<CodeToCheck> m_codes;     // in the order read
    std::vector<std::string> m_problems;  // found while reading actions
};

}  // namespace quillon
