// quillon-pack: builds a game file from a project folder, or a project folder from a game file.
#include "packer.h"
#include "pack_error.h"

#include <algorithm>
#include <charconv>
#include <iostream>

using namespace quillon;

namespace {

constexpr const char* USAGE =
    "usage: quillon-pack DIR -o FILE [--seed N]   build the game file FILE from the project folder DIR\n"
    "       quillon-pack --unpack FILE -o DIR     write the project folder DIR from the game file FILE\n"
    "       quillon-pack --help | --version\n";

struct Options {
    bool unpack = false;        // the direction
    std::string input;          // project folder or game file
    std::string output;         // game file or project folder
    std::int32_t seed = 0;      // scrambling seed of a built file
};

std::optional<Options> parse(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        bool has_value = i + 1 < argc;
        if (arg == "--unpack") {
            options.unpack = true;
        } else if (arg == "-o" && has_value) {
            options.output = argv[++i];
        } else if (arg == "--seed" && has_value) {
            std::string_view text = argv[++i];
            auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), options.seed);
            if (error != std::errc {} || end != text.data() + text.size())
                return std::nullopt;
        } else if (!arg.starts_with("-") && options.input.empty()) {
            options.input = arg;
        } else {
            return std::nullopt;
        }
    }
    if (options.input.empty() || options.output.empty() || (options.unpack && options.seed != 0))
        return std::nullopt;
    return options;
}

void pack(const Options& options)
{
    FolderSource source(options.input);
    std::vector<std::string> unused;
    GameFile game = pack_project(source, options.seed, &unused);
    for (const std::string& path : unused)
        std::cerr << "quillon-pack: warning: " << path << ": no list or record of the project names this file\n";
    write_file_atomically(options.output, write_game_file(game));
}

void unpack(const Options& options)
{
    std::optional<CStream> stream = CStream::from_file(options.input);
    if (!stream)
        throw PackError(options.input + ": cannot read the file");
    GameFile game;
    LoadOutcome outcome;
    try {
        outcome = read_game_file(*stream, game);
    } catch (const StreamError&) {
        throw PackError(options.input + ": the game file ends too early or holds damaged data");
    }
    if (!outcome.ok)
        throw PackError(options.input + ": " + outcome.message);
    write_project_folder(unpack_game(game), options.output);
}

}  // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << USAGE;
            return 0;
        }
        if (arg == "--version") {
            std::cout << "quillon-pack 0.1.0\n";
            return 0;
        }
    }
    std::optional<Options> options = parse(argc, argv);
    if (!options) {
        std::cerr << USAGE;
        return 2;
    }
    try {
        if (options->unpack)
            unpack(*options);
        else
            pack(*options);
    } catch (const PackError& error) {
        // One line per problem, each naming the program.
        std::string_view text = error.what();
        for (std::size_t start = 0; start <= text.size();) {
            std::size_t end = std::min(text.find('\n', start), text.size());
            std::cerr << "quillon-pack: " << text.substr(start, end - start) << "\n";
            start = end + 1;
        }
        return 1;
    }
    return 0;
}
