// The quillon-pack program: its two directions, exit statuses, messages, and no half-written output.
#include "project_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <csignal>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class QuillonPack : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("quillon_pack_test_" + std::to_string(getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder / "project" / "objects");
        fs::create_directories(m_folder / "project" / "rooms");
        write("project/game.json", R"({"objects": ["ball"], "rooms": ["main"]})");
        write("project/objects/ball.json", R"({"events": [{"event": "create", "actions": [{"code": "x = 1"}]}]})");
        write("project/rooms/main.json", R"({"instances": [{"object": "ball"}]})");
    }
    void TearDown() override { fs::remove_all(m_folder); }

    void write(const std::string& path, const std::string& text) { std::ofstream(m_folder / path) << text; }
    std::string read(const std::string& path)
    {
        std::ifstream in(m_folder / path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // Runs quillon-pack in the test folder; the status, with standard error kept for errors().
    int pack(const std::string& arguments)
    {
        std::string command = "cd '" + m_folder.string() + "' && '" QUILLON_PACK "' " + arguments + " 2> errors.txt";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string errors() { return read("errors.txt"); }
    std::vector<std::string> entries()
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path m_folder;  // a fresh folder per test
};

}  // namespace

TEST_F(QuillonPack, PacksUnpacksAndPacksAgainToTheSameFile)
{
    ASSERT_EQ(pack("project -o game.dat --seed 99"), 0) << errors();
    ASSERT_EQ(pack("--unpack game.dat -o copy"), 0) << errors();
    EXPECT_TRUE(fs::exists(m_folder / "copy" / "game.json"));
    ASSERT_EQ(pack("copy -o again.dat --seed 99"), 0) << errors();
    EXPECT_EQ(read("again.dat"), read("game.dat"));
    EXPECT_EQ(entries(), (std::vector<std::string> {"again.dat", "copy", "errors.txt", "game.dat", "project"}));
}

TEST_F(QuillonPack, FailuresLeaveNothingBehind)
{
    write("project/rooms/main.json", R"({"instances": [{"object": "wall"}]})");
    EXPECT_EQ(pack("project -o game.dat"), 1);
    EXPECT_EQ(errors(), "quillon-pack: rooms/main.json: instance 1: object: unknown object \"wall\"\n");

    write("notes.txt", "not a game");
    EXPECT_EQ(pack("--unpack notes.txt -o copy"), 1);
    EXPECT_EQ(errors(), "quillon-pack: notes.txt: Not a valid quillon file.\n");

    // An unpack never writes into a folder that holds something.
    EXPECT_EQ(pack("--unpack notes.txt -o project"), 1);
    write("project/rooms/main.json", R"({"instances": [{"object": "ball"}]})");
    ASSERT_EQ(pack("project -o game.dat"), 0);
    EXPECT_EQ(pack("--unpack game.dat -o project"), 1);
    EXPECT_EQ(errors(), "quillon-pack: project: already exists and is not an empty folder\n");
    EXPECT_EQ(entries(), (std::vector<std::string> {"errors.txt", "game.dat", "notes.txt", "project"}));
}

// Every code problem gets a line of its own; files that nothing names are warned about without failing.
TEST_F(QuillonPack, CodeProblemsAndUnusedFilesAreReported)
{
    write("project/objects/ball.json", R"J({"events": [{"event": "create", "actions": [{"code": "x = jump()"}, {"code_file": "objects/ball.code"}]}]})J");
    write("project/objects/ball.code", "x = 1\ny = (");
    EXPECT_EQ(pack("project -o game.dat"), 1);
    EXPECT_EQ(errors(), "quillon-pack: objects/ball.json: event create: action 1: code: line 1, column 5: Unknown function or script: jump\n"
                        "quillon-pack: objects/ball.code:2:6: Unexpected symbol in expression.\n");

    write("project/objects/ball.json", R"({"events": [{"event": "create", "actions": [{"code": "x = 1"}]}]})");
    fs::create_directories(m_folder / "project" / "scripts");
    fs::create_directories(m_folder / "project" / ".git");
    write("project/scripts/jump.code", "return 1");
    write("project/.git/config", "");
    fs::create_directory_symlink("..", m_folder / "project" / "scripts" / "loop");
    ASSERT_EQ(pack("project -o game.dat"), 0) << errors();
    EXPECT_EQ(errors(), "quillon-pack: warning: objects/ball.code: no list or record of the project names this file\n"
                        "quillon-pack: warning: scripts/jump.code: no list or record of the project names this file\n");
}

TEST_F(QuillonPack, WrongArgumentsShowTheUsage)
{
    for (const char* arguments : {"", "project", "project -o", "project -o x --seed 1x", "a b -o x",
                                  "--unpack game.dat -o x --seed 3"}) {
        EXPECT_EQ(pack(arguments), 2) << arguments;
        EXPECT_TRUE(errors().starts_with("usage: quillon-pack DIR -o FILE [--seed N]")) << arguments;
    }
}

TEST_F(QuillonPack, HelpAndVersionGoToStandardOutput)
{
    EXPECT_EQ(pack("--help > out.txt"), 0);
    EXPECT_TRUE(read("out.txt").starts_with("usage: quillon-pack DIR -o FILE")) << read("out.txt");
    EXPECT_EQ(pack("--version > out.txt"), 0);
    EXPECT_EQ(read("out.txt"), "quillon-pack 0.1.0\n");
    EXPECT_EQ(errors(), "");
}

// The runner plays a project folder by packing it in memory, and reports a broken project as the packer does.
TEST_F(QuillonPack, TheRunnerPlaysAProjectFolderWithoutWritingAFile)
{
    write("project/objects/ball.json",
        R"json({"events": [{"event": "create", "actions": [{"code": "show_debug_message('x is ' + string(x + 41))"}]}]})json");
    auto run = [&] {
        std::string command = "cd '" + m_folder.string() + "' && '" QUILLON_RUNNER
                              "' --headless --steps 2 project > out.txt 2> errors.txt";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    ASSERT_EQ(run(), 0) << errors();
    EXPECT_EQ(read("out.txt"), "x is 41\n");
    EXPECT_EQ(entries(), (std::vector<std::string> {"errors.txt", "out.txt", "project"}));

    write("project/rooms/main.json", R"({"instances": [{"object": "wall"}]})");
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(errors(), "quillon-runner: rooms/main.json: instance 1: object: unknown object \"wall\"\n");
}

// --watch plays the folder again after each change, reports a broken project and waits, and stops on SIGTERM.
TEST_F(QuillonPack, TheRunnerWatchingAFolderRestartsOnEveryChange)
{
    auto set_message = [&](const std::string& text) {
        write("project/objects/ball.json",
            R"json({"events": [{"event": "create", "actions": [{"code": "show_debug_message(')json" + text
                + R"json(')"}]}]})json");
    };
    set_message("first");
    pid_t child = fork();
    if (child == 0) {
        fs::current_path(m_folder);
        std::freopen("out.txt", "w", stdout);
        std::freopen("errors.txt", "w", stderr);
        execl(QUILLON_RUNNER, QUILLON_RUNNER, "--headless", "--steps", "3", "--watch", "project", nullptr);
        _exit(127);
    }
    auto wait_for = [&](const std::string& file, const std::string& text) {
        for (int tries = 0; tries < 200 && read(file).find(text) == std::string::npos; ++tries)
            usleep(50000);
        return read(file).find(text) != std::string::npos;
    };
    EXPECT_TRUE(wait_for("errors.txt", "the game ended; waiting for a change")) << errors();
    set_message("second");
    EXPECT_TRUE(wait_for("out.txt", "second\n")) << read("out.txt") << errors();
    write("project/game.json", "{");
    EXPECT_TRUE(wait_for("errors.txt", "quillon-runner: waiting for a change")) << errors();
    write("project/game.json", R"({"objects": ["ball"], "rooms": ["main"]})");
    set_message("third");
    EXPECT_TRUE(wait_for("out.txt", "third\n")) << read("out.txt") << errors();
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(read("out.txt"), "first\nsecond\nthird\n");
    EXPECT_NE(errors().find("quillon-runner: changed: objects/ball.json\nquillon-runner: restarting\n"),
        std::string::npos) << errors();
}
