// The file family: text files byte for byte, names in any letter case, files and folders, the search, the
// registry values, secure mode, programs and parameters.
#include "functions/files.h"
#include "functions/table.h"
#include "platform/registry_store.h"
#include "support/secure_mode.h"

#include "code/code_unit.h"
#include "code/errors.h"
#include "code/executer.h"
#include "code/function_registry.h"
#include "code/host.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

std::string read_file(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void write_file(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

class FileFunctions : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The family's handlers for this test only: other tests of the executable may have made the table
        // without them.
        if (function_registry().size() == 0)
            register_builtin_functions(function_registry());
        for (const FunctionEntry& entry : file_functions()) {
            std::int32_t index = *function_registry().find(entry.name);
            m_saved_handlers.emplace_back(index, function_registry().at(index).handler);
            function_registry().set_handler(index, entry.handler);
        }
        errors().reset();
        errors().set_dialog([this](const std::string& text, bool) {
            m_errors += text.substr(text.find_last_of('\n') + 1) + ";";
            return ErrorChoice::ignore;
        });
        m_folder = fs::temp_directory_path() / ("quillon_files_" + std::to_string(getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder / "config");
        m_previous = fs::current_path();
        fs::current_path(m_folder);
        setenv("XDG_CONFIG_HOME", (m_folder / "config").c_str(), 1);
        platform::close_user_registry();
    }
    void TearDown() override
    {
        run("file_close(); file_find_close(); registry_set_root(0)");
        set_secure_mode(false);
        errors().set_dialog(nullptr);
        platform::close_user_registry();
        fs::current_path(m_previous);
        fs::remove_all(m_folder);
        for (auto [index, handler] : m_saved_handlers)
            function_registry().set_handler(index, handler);
    }

    // The value of an expression as 'text' or a number, followed by " !! " and the errors it reported.
    std::string value_of(const std::string& expression)
    {
        m_errors.clear();
        CCode code(expression, true);
        if (!code.compile())
            return "compile: " + errors().code_error_text();
        Value result;
        execute(&m_self, &m_self, code, result);
        char number[64];
        std::snprintf(number, sizeof number, "%.15g", result.real);
        std::string shown = result.is_string() ? "'" + result.string.str() + "'" : number;
        return m_errors.empty() ? shown : shown + " !! " + m_errors;
    }
    // Runs statements; the errors they reported.
    std::string run(const std::string& program)
    {
        m_errors.clear();
        CCode code(program, false);
        EXPECT_TRUE(code.compile()) << errors().code_error_text();
        Value result;
        execute(&m_self, &m_self, code, result);
        return m_errors;
    }

    ScriptInstance m_self;
    std::string m_errors;
    fs::path m_folder;
    fs::path m_previous;
    std::vector<std::pair<std::int32_t, FunctionHandler>> m_saved_handlers;
};

TEST_F(FileFunctions, TextWrittenAndReadBackByteForByte)
{
    EXPECT_EQ(run("file_open_write('a.txt'); file_write_string('first'); file_writeln(); file_write_real(2.5);"
                  "file_write_string(' '); file_write_real(-0.001); file_writeln(); file_write_string('12 34'); file_close()"),
              "");
    EXPECT_EQ(read_file("a.txt"), "first\r\n 2.50000000000000E+0000 -1.00000000000000E-0003\r\n12 34");
    EXPECT_EQ(run("file_open_read('a.txt')"), "");
    EXPECT_EQ(value_of("file_read_string()"), "'first'");
    EXPECT_EQ(value_of("file_read_string()"), "''") << "the position stays in front of the line end";
    EXPECT_EQ(value_of("file_eof()"), "0");
    EXPECT_EQ(run("file_readln()"), "");
    EXPECT_EQ(value_of("file_read_real()"), "2.5");
    EXPECT_EQ(value_of("file_read_real()"), "-0.001");
    EXPECT_EQ(value_of("file_read_real()"), "12") << "line ends are skipped before a number";
    EXPECT_EQ(value_of("file_read_real()"), "34");
    EXPECT_EQ(value_of("file_eof()"), "1");
    EXPECT_EQ(value_of("file_read_string()"), "''");
    // Appending goes on at the end; lone carriage returns and line feeds end lines too.
    EXPECT_EQ(run("file_open_append('a.txt'); file_write_string('\r5\nlast'); file_close()"), "");
    EXPECT_EQ(run("file_open_read('a.txt'); file_readln(); file_readln(); file_readln()"), "");
    EXPECT_EQ(value_of("file_read_real()"), "5");
    EXPECT_EQ(run("file_readln()"), "");
    EXPECT_EQ(value_of("file_read_string()"), "'last'");
}

TEST_F(FileFunctions, RealsTake23Characters)
{
    const std::pair<const char*, const char*> cases[] = {
        {"2.5", " 2.50000000000000E+0000"}, {"-2.5", "-2.50000000000000E+0000"},
        {"0", " 0.00000000000000E+0000"}, {"1/3", " 3.33333333333333E-0001"},
        {"power(10, 300) * 1.5", " 1.50000000000000E+0300"}, {"9.999999999999999", " 1.00000000000000E+0001"},
    };
    for (auto [expression, text] : cases) {
        run(std::string("file_open_write('r.txt'); file_write_real(") + expression + "); file_close()");
        EXPECT_EQ(read_file("r.txt"), text) << expression;
    }
}

TEST_F(FileFunctions, StateErrorsAndReadFailures)
{
    EXPECT_EQ(value_of("file_read_string()"), "0 !! File not opened for reading.;");
    EXPECT_EQ(value_of("file_read_real()"), "0 !! File not opened for reading.;");
    EXPECT_EQ(value_of("file_readln()"), "0 !! File not opened for reading.;");
    EXPECT_EQ(value_of("file_eof()"), "0 !! File is not opened for reading.;");
    EXPECT_EQ(value_of("file_write_string('a')"), "0 !! File not opened for writing.;");
    EXPECT_EQ(value_of("file_write_real(1)"), "0 !! File not opened for writing.;");
    EXPECT_EQ(value_of("file_writeln()"), "0 !! File not opened for writing.;");
    // A missing file opened for reading closes the file that was open, without a word.
    EXPECT_EQ(run("file_open_write('w.txt'); file_open_read('missing.txt')"), "");
    EXPECT_EQ(run("file_write_string('x'); file_read_string()"),
              "File not opened for writing.;File not opened for reading.;");
    // A word that is no number.
    write_file("words.txt", "abc 1e 7");
    EXPECT_EQ(run("file_open_read('words.txt')"), "");
    EXPECT_EQ(value_of("file_read_real()"), "0 !! Error reading read.;");
    EXPECT_EQ(value_of("file_read_real()"), "0 !! Error reading read.;");
    EXPECT_EQ(value_of("file_read_real()"), "7");
    EXPECT_EQ(value_of("file_read_real()"), "0") << "at the end a number reads as 0";
    // A path into a missing folder cannot be written; the state stays closed.
    EXPECT_EQ(run("file_open_write('nowhere/a.txt'); file_write_string('x')"),
              "Cannot open file for writing: nowhere/a.txt;File not opened for writing.;");
    EXPECT_FALSE(fs::exists("nowhere"));
}

TEST_F(FileFunctions, BinaryFilesAndHugeLinesReadAsText)
{
    std::string binary;
    for (int i = 0; i < 512; ++i)
        binary += static_cast<char>(i % 256);
    write_file("binary.dat", binary);
    EXPECT_EQ(run("file_open_read('binary.dat'); s = ''; n = 0;"
                  "while (!file_eof() && n < 1000) { s += file_read_string() + '|'; file_readln(); n += 1 }"
                  "file_close(); global.length = string_length(s); global.lines = n"),
              "");
    EXPECT_EQ(value_of("global.lines"), "5") << "two line feeds and two lone carriage returns end five lines";
    EXPECT_EQ(value_of("global.length"), "513");

    // A line of many read buffers (a line of 100 MB reads the same way, only slower).
    std::string line(16 << 20, 'x');
    write_file("huge.txt", line + "\r\nafter");
    EXPECT_EQ(run("file_open_read('huge.txt'); global.length = string_length(file_read_string()); file_readln();"
                  "global.after = file_read_string(); file_close()"),
              "");
    EXPECT_EQ(value_of("global.length"), std::to_string(line.size()));
    EXPECT_EQ(value_of("global.after"), "'after'");
}

TEST_F(FileFunctions, NamesFindFilesInAnyLetterCaseButExactNamesWin)
{
    fs::create_directories("data");
    write_file("data/level1.txt", "lower");
    EXPECT_EQ(value_of("file_exists('Data\\Level1.TXT')"), "1");
    EXPECT_EQ(value_of("directory_exists('DATA')"), "1");
    EXPECT_EQ(run("file_open_read('DATA\\LEVEL1.txt')"), "");
    EXPECT_EQ(value_of("file_read_string()"), "'lower'");
    write_file("data/Level1.txt", "exact");
    EXPECT_EQ(run("file_open_read('data/Level1.txt')"), "");
    EXPECT_EQ(value_of("file_read_string()"), "'exact'");
    // Creating makes the file of exactly the name given, in the folder found.
    EXPECT_EQ(run("file_open_write('DATA\\New.txt'); file_write_string('n'); file_close()"), "");
    EXPECT_EQ(read_file("data/New.txt"), "n");
    EXPECT_EQ(run("file_open_write('data\\new.TXT'); file_close()"), "");
    EXPECT_TRUE(fs::exists("data/new.TXT"));
    EXPECT_EQ(read_file("data/New.txt"), "n");
    // Names are Windows-1252; an accented capital finds its small letter.
    write_file("caf\xc3\xa9.txt", "accent");
    EXPECT_EQ(value_of("file_exists('CAF\xc9.TXT')"), "1");
    // A zero byte names nothing.
    EXPECT_EQ(value_of("file_exists('data/level1.txt' + chr(0) + 'x')"), "0");
    // Bytes without a character in the code page make names too, and come back from the search as they went in;
    // a name on disk that is no UTF-8 is found as well.
    EXPECT_EQ(run("file_open_write('odd' + chr(129) + '.txt'); file_write_string('o'); file_close()"), "");
    EXPECT_EQ(value_of("file_find_first('odd*', 0) == 'odd' + chr(129) + '.txt'"), "1");
    write_file("raw\xff.txt", "r");
    EXPECT_EQ(value_of("string_length(file_find_first('raw*', 0))"), "8");
}

TEST_F(FileFunctions, FilesAndFolders)
{
    write_file("a.txt", "A");
    write_file("b.txt", "B");
    EXPECT_EQ(run("file_rename('a.txt', 'b.txt')"), "");
    EXPECT_EQ(read_file("b.txt"), "B") << "renaming never replaces a file";
    EXPECT_EQ(run("file_rename('A.TXT', 'c.txt'); file_copy('c.txt', 'b.txt'); file_copy('nothing', 'd.txt')"), "");
    EXPECT_FALSE(fs::exists("a.txt"));
    EXPECT_EQ(read_file("c.txt"), "A");
    EXPECT_EQ(read_file("b.txt"), "A") << "copying replaces the target";
    EXPECT_FALSE(fs::exists("d.txt"));
    EXPECT_EQ(run("file_delete('C.txt'); file_delete('missing.txt')"), "");
    EXPECT_FALSE(fs::exists("c.txt"));
    EXPECT_EQ(run("directory_create('one\\two/three')"), "");
    EXPECT_TRUE(fs::is_directory("one/two/three"));
    EXPECT_EQ(value_of("file_exists('one')"), "0");
    EXPECT_EQ(value_of("directory_exists('one\\two')"), "1");
    EXPECT_EQ(run("file_delete('one')"), "");
    EXPECT_TRUE(fs::is_directory("one")) << "file_delete leaves folders alone";

    fs::permissions("b.txt", fs::perms::owner_write, fs::perm_options::remove);
    const std::pair<const char*, const char*> attributes[] = {
        {"file_attributes('b.txt', fa_readonly)", "1"}, {"file_attributes('b.txt', fa_archive)", "1"},
        {"file_attributes('b.txt', fa_directory | fa_hidden)", "0"}, {"file_attributes('one', fa_directory)", "1"},
        {"file_attributes('missing', fa_archive)", "-1"},
    };
    for (auto [expression, expected] : attributes)
        EXPECT_EQ(value_of(expression), expected) << expression;
}

TEST_F(FileFunctions, SearchWithMasksAndAttributes)
{
    fs::create_directories("levels/sub");
    for (const char* name : {"levels/b.LVL", "levels/a.lvl", "levels/.hidden.lvl", "levels/readme"})
        write_file(name, "");
    EXPECT_EQ(value_of("file_find_next()"), "''") << "no search is open";
    EXPECT_EQ(value_of("file_find_first('Levels\\*.lvl', 0)"), "'a.lvl'");
    EXPECT_EQ(value_of("file_find_next()"), "'b.LVL'");
    EXPECT_EQ(value_of("file_find_next()"), "''");
    EXPECT_EQ(value_of("file_find_next()"), "''");
    EXPECT_EQ(value_of("file_find_first('levels/*.*', fa_hidden | fa_directory)"), "'.'");
    std::string names;
    for (std::string name = "."; name != "''" && names.size() < 200; name = value_of("file_find_next()"))
        names += name + " ";
    EXPECT_EQ(names, ". '..' '.hidden.lvl' 'a.lvl' 'b.LVL' 'readme' 'sub' ");
    EXPECT_EQ(value_of("file_find_first('levels/?.lvl', 0)"), "'a.lvl'");
    EXPECT_EQ(run("file_find_close()"), "");
    EXPECT_EQ(value_of("file_find_next()"), "''");
    EXPECT_EQ(value_of("file_find_first('levels/*.png', 0)"), "''");
    EXPECT_EQ(value_of("file_find_first('missing/*', 0)"), "''");
}

TEST_F(FileFunctions, RegistryValuesKeepTheirKinds)
{
    EXPECT_EQ(run("registry_write_string('name', 'Ann'); registry_write_real('best', 12.75);"
                  "registry_write_string('text', '3')"),
              "");
    const std::pair<const char*, const char*> cases[] = {
        {"registry_read_string('name')", "'Ann'"}, {"registry_read_string('NAME')", "'Ann'"},
        {"registry_read_real('best')", "12.75"}, {"registry_read_real('text')", "0"},
        {"registry_read_string('best')", "''"}, {"registry_read_real('missing')", "0"},
        {"registry_exists('best')", "1"}, {"registry_exists('missing')", "0"},
        // The game key is there for the _ext functions, under the current user.
        {"registry_read_string_ext('\\Software\\Quillon\\0', 'name')", "'Ann'"},
        {"registry_set_root(7) + registry_read_real_ext('Software\\Quillon\\0', 'best')", "12.75"},
        {"registry_set_root(1) + registry_exists_ext('Software\\Quillon\\0', 'best')", "0"},
    };
    for (auto [expression, expected] : cases)
        EXPECT_EQ(value_of(expression), expected) << expression;
    EXPECT_EQ(run("registry_set_root(3); registry_write_real_ext('Some\\Key', 'v', 5)"), "");
    EXPECT_EQ(value_of("registry_read_real_ext('some\\key\\', 'V')"), "5");
    EXPECT_EQ(value_of("registry_set_root(0) + registry_read_real_ext('some\\key', 'v')"), "0");
    // The values outlive the run.
    platform::close_user_registry();
    EXPECT_EQ(value_of("registry_read_string('name') + string(registry_read_real('best'))"), "'Ann12.75'");
}

TEST_F(FileFunctions, SecureModeRefusesEveryChangeOutsideTheCurrentDirectory)
{
    fs::create_directories("sub");
    write_file("a.txt", "A");
    write_file("sub/s.txt", "S");
    set_secure_mode(true);
    const std::pair<const char*, const char*> refusals[] = {
        {"file_open_write('sub/w.txt')", "In secure mode you cannot write file sub/w.txt;"},
        {"file_open_append('sub\\s.txt')", "In secure mode you cannot append to file sub\\s.txt;"},
        {"file_delete('sub/s.txt')", "In Secure mode you cannot delete file sub/s.txt;"},
        {"file_rename('a.txt', 'sub\\b.txt')", "In Secure mode you cannot rename file a.txt into sub\\b.txt;"},
        {"file_copy('a.txt', 'sub\\b.txt')", "In Secure mode you cannot copy file a.txt to sub\\b.txt;"},
        {"file_copy('sub/s.txt', 'b.txt')", "In Secure mode you cannot copy file sub/s.txt to b.txt;"},
        {"directory_create('sub/new')", "In Secure mode you cannot create directory sub/new;"},
        {"registry_write_string_ext('Software\\x', 'n', 's')",
            "In Secure mode you cannot write registry entries in Software\\x;"},
        {"registry_write_real_ext('Software\\x', 'n', 1)",
            "In Secure mode you cannot write registry entries in Software\\x;"},
        {"execute_program('sh', '-c \"touch ran\"', 1)", "In Secure mode you cannot execute program sh;"},
        {"execute_shell('sh', '-c \"touch ran\"')", "In Secure mode you cannot execute program sh;"},
        {"external_define('a.dll', 'f', dll_cdecl, ty_real, 0)", "In secure mode you cannot use DLLs;"},
        {"external_define0('a.dll', 'f', ty_real)", "In secure mode you cannot use DLLs;"},
        {"external_call(0)", "In secure mode you cannot use DLLs;"},
    };
    for (auto [call, message] : refusals)
        EXPECT_EQ(run(call), message) << call;
    EXPECT_EQ(value_of("secure_mode"), "1");
    // Nothing was touched.
    EXPECT_EQ(read_file("sub/s.txt"), "S");
    for (const char* name : {"sub/w.txt", "sub/b.txt", "b.txt", "sub/new", "ran"})
        EXPECT_FALSE(fs::exists(name)) << name;
    EXPECT_EQ(value_of("registry_exists_ext('Software\\x', 'n')"), "0");
    // Plain names in the current directory, reading and the game's own registry values stay allowed.
    EXPECT_EQ(run("file_open_write('w.txt'); file_write_string('w'); file_close(); file_copy('a.txt', 'b.txt');"
                  "file_rename('b.txt', 'c.txt'); file_delete('w.txt'); directory_create('plain');"
                  "registry_write_real('v', 2); file_open_read('sub/s.txt')"),
              "");
    EXPECT_EQ(value_of("file_read_string() + string(registry_read_real('v'))"), "'S2'");
    EXPECT_TRUE(fs::exists("c.txt") && fs::is_directory("plain") && !fs::exists("w.txt"));
}

TEST_F(FileFunctions, ProgramsStartAndAreWaitedFor)
{
    EXPECT_EQ(run("execute_program('sh', '-c \"sleep 0.2; echo done > waited.txt\"', 1)"), "");
    EXPECT_EQ(read_file("waited.txt"), "done\n");
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(run("execute_program('sh', '-c \"sleep 0.3; touch later.txt\"', 0)"), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250));
    EXPECT_FALSE(fs::exists("later.txt"));
    for (int tries = 0; tries < 100 && !fs::exists("later.txt"); ++tries)
        usleep(20000);
    EXPECT_TRUE(fs::exists("later.txt")) << "the program runs on by itself";
    // A program named for Windows runs as the file without ".exe"; the game's folder comes first.
    fs::create_directories("game");
    write_file("game/tool", "#!/bin/sh\necho \"$1|$2\" > tool.txt\n");
    fs::permissions("game/tool", fs::perms::owner_all);
    set_game_command_line(m_folder / "game" / "game.dat", {"-x", "caf\xc3\xa9"});
    EXPECT_EQ(run("execute_program('Tool.exe', '\"two words\" b', true)"), "");
    EXPECT_EQ(read_file("tool.txt"), "two words|b\n");
    EXPECT_EQ(run("execute_program('\"game\\tool\"', 'quoted', 1)"), "");
    EXPECT_EQ(read_file("tool.txt"), "quoted|\n");
    EXPECT_EQ(run("execute_program('missing.exe', '', 1)"), "Cannot execute missing.exe;");
    EXPECT_EQ(run("execute_shell('missing.txt', '')"), "Cannot execute missing.txt;");
    // Parameters: 0 the game, then what followed "--", in Windows-1252.
    const std::pair<const char*, std::string> parameters[] = {
        {"parameter_count()", "2"}, {"parameter_string(1)", "'-x'"}, {"parameter_string(2)", "'caf\xe9'"},
        {"parameter_string(3)", "''"}, {"parameter_string(-1)", "''"},
        {"parameter_string(0)", "'" + (m_folder / "game" / "game.dat").string() + "'"},
    };
    for (const auto& [expression, expected] : parameters)
        EXPECT_EQ(value_of(expression), expected) << expression;
}

TEST_F(FileFunctions, SecureModePreferenceIsStoredForTheUser)
{
    EXPECT_FALSE(secure_mode_preference());
    EXPECT_TRUE(set_secure_mode_preference(true));
    platform::close_user_registry();
    EXPECT_TRUE(secure_mode_preference());
    EXPECT_TRUE(set_secure_mode_preference(false));
    EXPECT_FALSE(secure_mode_preference());
}

}  // namespace
