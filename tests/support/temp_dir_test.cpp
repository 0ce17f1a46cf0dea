// The temporary directory: choosing a base, drawing names, unique file names and removal.
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

class TempDirTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_scratch = fs::path(testing::TempDir()) / ("temp_dir_test_" + std::to_string(::getpid()));
        fs::remove_all(m_scratch);
        fs::create_directories(m_scratch);
    }
    void TearDown() override { fs::remove_all(m_scratch); }

    fs::path make_file(const fs::path& path)
    {
        std::ofstream(path) << "x";
        return path;
    }

    fs::path m_scratch;  // everything a test makes lives below this folder
};

bool is_directory_name(const fs::path& path)
{
    std::string name = path.filename().string();
    if (!name.starts_with("qn_ttt_") || name.size() == 7 || name.size() > 12)
        return false;
    return name.find_first_not_of("0123456789", 7) == std::string::npos;
}

}  // namespace

TEST_F(TempDirTest, FallsBackToTheNextBaseAndMakesMissingParents)
{
    fs::path unusable = make_file(m_scratch / "not_a_folder");
    fs::path nested = m_scratch / "missing" / "parents";
    std::optional<std::string> reported;
    TempDirectory temp(1);
    ASSERT_TRUE(temp.create({unusable, nested}, [&](std::string_view message) { reported = message; }));
    EXPECT_FALSE(reported);
    EXPECT_EQ(temp.path().parent_path(), nested);
    EXPECT_TRUE(is_directory_name(temp.path())) << temp.path();
    EXPECT_TRUE(fs::is_directory(temp.path()));
    EXPECT_EQ(fs::status(temp.path()).permissions() & fs::perms::all, fs::perms::owner_all);
}

TEST_F(TempDirTest, WhenEveryBaseFailsReportsOnceAndNamesTheLastTry)
{
    fs::path first = make_file(m_scratch / "first");
    fs::path last = make_file(m_scratch / "last");
    int reports = 0;
    std::string message;
    TempDirectory temp(1);
    EXPECT_FALSE(temp.create({first, last}, [&](std::string_view text) {
        ++reports;
        message = text;
    }));
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(message, "Failed to create temp dir. This can create serious problems with sounds, etc.");
    EXPECT_EQ(temp.path().parent_path(), last);
    EXPECT_FALSE(fs::exists(temp.path()));
    temp.remove();  // nothing to remove, and no harm done
    EXPECT_TRUE(fs::is_regular_file(last));
}

TEST_F(TempDirTest, DefaultBasesFollowTheEnvironment)
{
    // The variables in the order they are asked; each test case sets some and unsets the rest.
    const char* const NAMES[] = {"temp", "TEMP", "tmp", "TMP", "TMPDIR"};
    std::vector<std::optional<std::string>> saved;
    for (const char* name : NAMES) {
        const char* value = std::getenv(name);
        saved.push_back(value ? std::optional<std::string>(value) : std::nullopt);
    }
    auto set_environment = [&](const std::vector<std::pair<const char*, std::string>>& values) {
        for (const char* name : NAMES)
            ::unsetenv(name);
        for (const auto& [name, value] : values)
            ::setenv(name, value.c_str(), 1);
    };
    fs::path current = fs::current_path();
    struct Case {
        std::vector<std::pair<const char*, std::string>> environment;  // the variables set
        std::vector<fs::path> expected;                                // the bases in order
    };
    const Case cases[] = {
        {{{"TMPDIR", "/srv/scratch"}}, {"/srv/scratch", "/tmp", current}},
        {{{"TMPDIR", "/tmp"}}, {"/tmp", current}},
        {{{"TMPDIR", ""}}, {"/tmp", current}},
        {{}, {"/tmp", current}},
        {{{"tmp", "/srv/tmp"}, {"TMPDIR", "/srv/scratch"}}, {"/srv/tmp", "/tmp", current}},
        {{{"temp", "/srv/temp"}, {"tmp", "/srv/tmp"}}, {"/srv/temp", "/tmp", current}},
        {{{"temp", ""}, {"tmp", "/srv/tmp"}}, {"/srv/tmp", "/tmp", current}},
        {{{"TEMP", "/srv/TEMP"}, {"TMP", "/srv/TMP"}}, {"/srv/TEMP", "/tmp", current}},
    };
    for (const Case& test : cases) {
        set_environment(test.environment);
        std::string shown;
        for (const auto& [name, value] : test.environment)
            shown += std::string(name) + "=" + value + " ";
        EXPECT_EQ(TempDirectory::default_bases(), test.expected) << shown;
    }
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (saved[i])
            ::setenv(NAMES[i], saved[i]->c_str(), 1);
        else
            ::unsetenv(NAMES[i]);
    }
}

TEST_F(TempDirTest, TakenNamesAreDrawnAgain)
{
    // Two generators with one seed draw the same numbers, so the second must step past the first's names.
    TempDirectory first(42);
    TempDirectory second(42);
    ASSERT_TRUE(first.create({m_scratch}, nullptr));
    ASSERT_TRUE(second.create({m_scratch}, nullptr));
    EXPECT_NE(first.path(), second.path());

    TempDirectory twin = first;
    fs::path sound = first.unique_file_name(".wav");
    EXPECT_EQ(sound.parent_path(), first.path());
    EXPECT_TRUE(sound.filename().string().starts_with("a"));
    EXPECT_EQ(sound.extension(), ".wav");
    make_file(sound);
    fs::path next = twin.unique_file_name(".wav");
    EXPECT_NE(next, sound);
    EXPECT_FALSE(fs::exists(next));

    fs::path bare = first.unique_file_name("");
    EXPECT_EQ(bare.filename().string().find_first_not_of("0123456789", 1), std::string::npos) << bare;
}

TEST_F(TempDirTest, RemovalDeletesFilesButLeavesSubfoldersAlone)
{
    TempDirectory temp(3);
    ASSERT_TRUE(temp.create({m_scratch}, nullptr));
    make_file(temp.path() / "a1.wav");
    make_file(temp.path() / "font.ttf");
    fs::create_directory(temp.path() / "sub");
    make_file(temp.path() / "sub" / "kept.txt");

    temp.remove();
    EXPECT_FALSE(fs::exists(temp.path() / "a1.wav"));
    EXPECT_FALSE(fs::exists(temp.path() / "font.ttf"));
    EXPECT_TRUE(fs::exists(temp.path() / "sub" / "kept.txt"));
    EXPECT_TRUE(fs::is_directory(temp.path()));

    fs::remove_all(temp.path() / "sub");
    temp.remove();
    EXPECT_FALSE(fs::exists(temp.path()));
}
