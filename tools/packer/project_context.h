// What packing and unpacking a project share: the names that references resolve against, and the project files.
#pragma once

#include "resource_names.h"

#include <set>

#include "code_check.h"

namespace quillon {

struct GameFile;

// The lists whose entries records refer to by name.
struct ProjectNames {
    ResourceNames sprites {"sprite"};          // object sprites and masks
    ResourceNames backgrounds {"background"};  // room layers and tiles
    ResourceNames objects {"object"};          // parents, collisions, applies-to, instances, views
    ResourceNames rooms {"room"};              // the room order

    static ProjectNames of(const GameFile& game);
};

// Packing: where files come from, and the names of the game being built.
struct PackContext {
    const ProjectSource& source;  // the project folder
    ProjectNames names;           // filled from the manifest before any record is read
    CodeChecks* checks = nullptr; // collects the code to compile once every script is known; none to skip

    std::vector<std::uint8_t> read_file(const Fields& fields, const std::string& key, const std::string& path) const;
    // Game code given inline under key, or as a file under key + "_file"; nothing when neither is there.
    // Code given inline or in a file, as the game stores it (see stored_code).
    std::optional<std::string> read_code(Fields& fields, const std::string& key) const;
    // The same, for code that is compiled as a program at load (scripts, creation code): it is also checked.
    std::optional<std::string> read_program(Fields& fields, const std::string& key) const;
    // The code file named under key + "_file", or empty.
    std::string code_file(const Fields& fields, const std::string& key) const;
};

// Unpacking: the files being made, with unique, safe file names.
class UnpackContext {
public:
    UnpackContext(const GameFile& game, ProjectFiles& files);

    const GameFile& game;  // the game being unpacked
    ProjectNames names;    // of its lists
    ProjectFiles& files;   // the project being written

    // A new path folder/stem + extension made of safe characters, unique in the project regardless of case.
    std::string claim_path(const std::string& folder, const std::string& stem, const std::string& extension);
    void add_file(const std::string& path, std::vector<std::uint8_t> bytes);
    // Code stays inline under key when it is one line; longer code goes into a file under key + "_file".
    void put_code(Json& out, const std::string& key, const std::string& code, const std::string& folder,
                  const std::string& stem);

private:
    std::set<std::string> m_claimed;  // lower-case paths taken so far
};

// Code as games store it: lines end in CR LF, because the runner counts the lines of error messages by their
// CRs. A text written with LF alone gets a CR before each LF; a text holding any CR is kept as it is, so that
// unpacked games pack back byte for byte.
std::string stored_code(std::string code);

// A file name stem made of the name's letters, digits, '-', '_' and inner dots (others become '_');
// "unnamed" when empty.
std::string safe_stem(const std::string& name);

}  // namespace quillon
