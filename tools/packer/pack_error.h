// Errors of packing and unpacking, and the place in the project that a message names.
#pragma once

#include <stdexcept>
#include <string>

namespace quillon {

// Carries the whole message: the file, where in it, the field and the problem.
class PackError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Where a value comes from: a project file and a description of the record inside it ("event step: action 2").
struct Place {
    std::string file;   // relative to the project folder
    std::string where;  // empty at the top of the file

    // The same file, one record deeper.
    Place inside(const std::string& record) const { return {file, where.empty() ? record : where + ": " + record}; }

    // Throws "file: where: field: problem", leaving out the parts that are empty.
    [[noreturn]] void fail(const std::string& field, const std::string& problem) const;
};

}  // namespace quillon
