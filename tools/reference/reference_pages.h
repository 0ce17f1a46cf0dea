// The reference pages for game authors: every name the runner knows, from its own tables, with its description.
#pragma once

#include "descriptions.h"

#include <string>
#include <vector>

namespace quillon {

struct ReferencePage {
    std::string file; // "functions.md"...
    std::string text; // Markdown
};

struct Reference {
    std::vector<ReferencePage> pages; // complete only when there are no problems
    std::vector<std::string> problems; // names without a description, descriptions of unknown names...
};

// Builds every page from the runner's tables (registering the built-in functions first) and the descriptions.
Reference build_reference(Descriptions& descriptions);

} // namespace quillon
