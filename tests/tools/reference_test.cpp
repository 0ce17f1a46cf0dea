// The reference pages: the committed docs/reference is what the generator writes from the runner's tables, the
// generator names what is missing or unknown, and `quillon-runner --functions` lists the function table.
#include "reference_pages.h"
#include "runner/language_setup.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using namespace quillon;

namespace {

std::string read_file(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

std::vector<std::string> file_names(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Runs a command line; its exit status.
int run(const std::string& command)
{
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> problems_of(const std::string& descriptions_text)
{
    std::istringstream in(descriptions_text);
    Descriptions descriptions(in);
    return build_reference(descriptions).problems;
}

bool has_problem(const std::vector<std::string>& problems, const std::string& text)
{
    return std::any_of(problems.begin(), problems.end(), [&](const std::string& problem) { return problem == text; });
}

} // namespace

TEST(Reference, CommittedPagesAreWhatTheGeneratorWrites)
{
    fs::path folder = fs::temp_directory_path() / ("quillon_reference_test_" + std::to_string(getpid()));
    fs::remove_all(folder);
    ASSERT_EQ(
        run("'" QUILLON_REFERENCE "' '" QUILLON_SOURCE "/tools/reference/descriptions.txt' '" + folder.string() + "'"),
        0);
    fs::path committed = fs::path(QUILLON_SOURCE) / "docs" / "reference";
    const char* advice = "docs/reference is out of date: run `cmake --build build --target reference` and commit it";
    EXPECT_EQ(file_names(committed), file_names(folder)) << advice;
    for (const std::string& name : file_names(folder))
        EXPECT_TRUE(read_file(folder / name) == read_file(committed / name)) << name << ": " << advice;
    fs::remove_all(folder);
}

TEST(Reference, NamesWithoutDescriptionAndDescriptionsOfUnknownNamesAreProblems)
{
    std::vector<std::string> problems = problems_of("function | action_move | directions | Moves\n"
                                                    "function | jump_around | | Jumps\n"
                                                    "variable | x | | Where\n"
                                                    "variable | x | | Again\n"
                                                    "constant | c_red c_rouge | | Colours\n"
                                                    "event | other.user9 | | Never\n"
                                                    "variable | y | no text\n"
                                                    "colour | c_red | | Red\n");
    for (const char* expected : {
             "no description of the function action_reverse_xdir",
             "no description of the variable y",
             "no description of the constant c_blue",
             "no description of the event create",
             "no description of the family Math",
             "line 1: action_move takes 2 arguments, the description names 1",
             "line 2: the runner knows no function jump_around",
             "line 4: variable x is described twice",
             "line 5: the runner knows no constant c_rouge",
             "line 6: the runner knows no event other.user9",
             "line 7: expected four fields separated by '|'",
             "line 8: unknown kind \"colour\"",
         })
        EXPECT_TRUE(has_problem(problems, expected)) << expected;
    EXPECT_FALSE(has_problem(problems, "no description of the function action_move"));
    EXPECT_FALSE(has_problem(problems, "no description of the constant c_red"));
}

TEST(Reference, GeneratorFailsNamingTheProblems)
{
    fs::path folder = fs::temp_directory_path() / ("quillon_reference_fail_" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::ofstream(folder / "descriptions.txt") << "function | jump_around | | Jumps\n";
    int status = run("cd '" + folder.string() + "' && '" QUILLON_REFERENCE "' descriptions.txt out 2> errors.txt");
    EXPECT_EQ(status, 1);
    std::string errors = read_file(folder / "errors.txt");
    EXPECT_NE(errors.find("quillon-reference: descriptions.txt: line 1: the runner knows no function jump_around\n"),
        std::string::npos)
        << errors;
    EXPECT_NE(errors.find("quillon-reference: descriptions.txt: no description of the function action_move\n"),
        std::string::npos);
    EXPECT_FALSE(fs::exists(folder / "out"));
    fs::remove_all(folder);
}

TEST(Reference, RunnerListsEveryFunctionWithItsArgumentCount)
{
    fs::path out = fs::temp_directory_path() / ("quillon_functions_" + std::to_string(getpid()) + ".txt");
    ASSERT_EQ(run("'" QUILLON_RUNNER "' --functions > '" + out.string() + "'"), 0);
    std::string text = read_file(out);
    fs::remove(out);
    EXPECT_EQ(text, function_list_text());
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 507);
    EXPECT_TRUE(text.starts_with("action_move 2\naction_reverse_xdir 0\n"));
    EXPECT_NE(text.find("\nexternal_define any\nexternal_call any\nexternal_define0 3\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\nroom_get_name 1\n"));
}
