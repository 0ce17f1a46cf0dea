// Runs every program of lang/: each file holds its scripts, a main program and the expected output.
#include "language_fixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace quillon;
using namespace quillon::testing;

namespace {

const std::filesystem::path LANG_FOLDER = std::filesystem::path(QUILLON_TEST_DATA).parent_path() / "lang";

// Line ends as games store them: CR LF, so that error lines count.
std::string windows_lines(const std::string& text)
{
    std::string converted;
    for (char c : text) {
        if (c == '\n')
            converted += '\r';
        converted += c;
    }
    return converted;
}

// Error texts use CR, CR LF or both; the expectation is written with plain line ends.
std::string plain_lines(const std::string& text)
{
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            plain += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            plain += text[i];
        }
    }
    return plain;
}

// The parts of a lang file: "#script name", "#main" and "#expect" start sections; "#instance object id",
// "#resource name index" and "#setting name" (uninitialised_as_zero, short_errors) configure the run.
struct LangFile {
    std::vector<std::pair<std::string, std::string>> scripts;  // name and code
    std::string main;                                          // the program run for self
    std::string expected;                                      // the output
    std::vector<std::pair<int, int>> instances;                // object and id of further instances
    std::map<std::string, double> resources;                   // resource names
    std::vector<std::string> settings;                         // settings switched on
};

LangFile read_lang_file(const std::filesystem::path& path)
{
    LangFile file;
    std::ifstream in(path);
    std::string* section = nullptr;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string directive;
        words >> directive;
        if (directive == "#script") {
            file.scripts.emplace_back();
            words >> file.scripts.back().first;
            section = &file.scripts.back().second;
        } else if (directive == "#main") {
            section = &file.main;
        } else if (directive == "#expect") {
            section = &file.expected;
        } else if (directive == "#instance") {
            int object = 0, id = 0;
            words >> object >> id;
            file.instances.emplace_back(object, id);
        } else if (directive == "#resource") {
            std::string name;
            double index = 0;
            words >> name >> index;
            file.resources[name] = index;
        } else if (directive == "#setting") {
            file.settings.emplace_back();
            words >> file.settings.back();
        } else if (section) {
            *section += line + "\n";
        }
    }
    return file;
}

class LangScript : public LanguageTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(LangScript, ProducesExpectedOutput)
{
    LangFile file = read_lang_file(LANG_FOLDER / GetParam());
    m_host.m_resources = file.resources;
    for (auto [object, id] : file.instances)
        m_host.add(object, id);
    for (const std::string& setting : file.settings) {
        if (setting == "uninitialised_as_zero")
            errors().m_settings.uninitialised_as_zero = true;
        // Only the last line of each error: its position and message.
        if (setting == "short_errors")
            errors().set_dialog([this](const std::string& text, bool) {
                m_host.m_output += "!! " + text.substr(text.find_last_of('\r') + 1) + "\n";
                return ErrorChoice::ignore;
            });
    }
    for (auto& [name, code] : file.scripts)
        scripts().add(name, windows_lines(code));
    ASSERT_TRUE(scripts().compile_all()) << errors().m_error_last;

    CCode main(windows_lines(file.main), false);
    if (main.compile()) {
        Value result;
        execute_reporting(m_self, m_self, main, result);
    } else {
        m_host.m_output += "compile: " + errors().code_error_text() + "\n";
        errors().clear_code_error();
    }
    EXPECT_EQ(plain_lines(m_host.m_output), file.expected);
}

std::vector<std::string> lang_files()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(LANG_FOLDER))
        if (entry.path().extension() == ".qs")
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Lang, LangScript, ::testing::ValuesIn(lang_files()),
                         [](const auto& info) {
                             std::string name = info.param.substr(0, info.param.size() - 3);
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

}  // namespace
