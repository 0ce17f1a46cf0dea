// quillon-reference DESCRIPTIONS FOLDER: writes the reference pages for game authors into FOLDER.
#include "reference_pages.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: quillon-reference DESCRIPTIONS FOLDER\n", stderr);
        return 64;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "quillon-reference: cannot read %s\n", argv[1]);
        return 1;
    }
    quillon::Descriptions descriptions(in);
    quillon::Reference reference = quillon::build_reference(descriptions);
    for (const std::string& problem : reference.problems)
        std::fprintf(stderr, "quillon-reference: %s: %s\n", argv[1], problem.c_str());
    if (!reference.problems.empty())
        return 1;
    std::filesystem::path folder = argv[2];
    std::filesystem::create_directories(folder);
    for (const quillon::ReferencePage& page : reference.pages) {
        std::ofstream out(folder / page.file, std::ios::binary);
        out << page.text;
        if (!out) {
            std::fprintf(stderr, "quillon-reference: cannot write %s\n", (folder / page.file).c_str());
            return 1;
        }
    }
    return 0;
}
