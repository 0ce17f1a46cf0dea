// The registry store: values survive a process killed while writing, two processes writing at once keep each
// other's values, and a store that is corrupt, locked or cannot be made leaves the game going with its values.
#include "platform/registry_store.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

using namespace quillon::platform;
namespace fs = std::filesystem;

namespace {

constexpr RegistryRoot USER = RegistryRoot::current_user;

class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("quillon_registry_" + std::to_string(getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_file = m_folder / "store" / "registry.sqlite";
    }
    void TearDown() override
    {
        fs::remove_all(m_folder);
    }
    RegistryStore::ReportFailure count_reports()
    {
        return [this](const std::string& message) { m_reports.push_back(message); };
    }

    fs::path m_folder;
    fs::path m_file;
    std::vector<std::string> m_reports;
};

TEST_F(RegistryStoreTest, KeysNamesAndKinds)
{
    RegistryStore store(m_file, count_reports());
    EXPECT_TRUE(store.write_string(USER, "\\Software\\Game\\", "Name", "Ann"));
    EXPECT_TRUE(store.write_real(USER, "Software\\\\Game", "best", -0.5));
    EXPECT_TRUE(store.write_integer(RegistryRoot::users, "Software\\Game", "Value1", 42));
    EXPECT_EQ(store.read_string(USER, "software\\game", "NAME"), "Ann");
    EXPECT_EQ(store.read_real(USER, "Software\\Game", "Best"), -0.5);
    EXPECT_EQ(store.read_integer(RegistryRoot::users, "Software\\Game", "value1"), 42);
    EXPECT_FALSE(store.read_real(USER, "Software\\Game", "name")) << "a string is no real";
    EXPECT_FALSE(store.read_integer(USER, "Software\\Game", "Value1")) << "roots keep their own keys";
    EXPECT_TRUE(m_reports.empty());
}

TEST_F(RegistryStoreTest, AProcessKilledWhileWritingLosesNoCommittedValue)
{
    int pipe_ends[2];
    ASSERT_EQ(pipe(pipe_ends), 0);
    pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        close(pipe_ends[0]);
        RegistryStore store(m_file, nullptr);
        for (int i = 0;; ++i) {
            if (!store.write_real(USER, "Software\\Crash", "v" + std::to_string(i), i))
                _exit(3);
            if (write(pipe_ends[1], &i, sizeof i) != sizeof i)
                _exit(4);
        }
    }
    close(pipe_ends[1]);
    int committed = -1;
    while (committed < 2000 && read(pipe_ends[0], &committed, sizeof committed) == sizeof committed) {
    }
    kill(writer, SIGKILL);
    int status = 0;
    waitpid(writer, &status, 0);
    while (read(pipe_ends[0], &committed, sizeof committed) == sizeof committed) {
    }
    close(pipe_ends[0]);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed by itself with status " << WEXITSTATUS(status);
    ASSERT_GE(committed, 2000);

    RegistryStore store(m_file, count_reports());
    for (int i = 0; i <= committed; ++i)
        ASSERT_EQ(store.read_real(USER, "Software\\Crash", "v" + std::to_string(i)), i) << i;
    EXPECT_TRUE(store.write_string(USER, "Software\\Crash", "after", "ok"));
    EXPECT_TRUE(m_reports.empty());
}

TEST_F(RegistryStoreTest, TwoProcessesWritingAtOnceKeepEachOthersValues)
{
    constexpr int VALUES = 1000;
    std::vector<pid_t> writers;
    for (int process = 0; process < 2; ++process) {
        pid_t writer = fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            bool reported = false;
            RegistryStore store(m_file, [&reported](const std::string&) { reported = true; });
            for (int i = 0; i < VALUES; ++i)
                store.write_integer(USER, "Software\\Both", "p" + std::to_string(process) + "_" + std::to_string(i), i);
            _exit(reported ? 1 : 0);
        }
        writers.push_back(writer);
    }
    for (pid_t writer : writers) {
        int status = 0;
        waitpid(writer, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer had to keep values in memory";
    }
    RegistryStore store(m_file, count_reports());
    for (int process = 0; process < 2; ++process)
        for (int i = 0; i < VALUES; ++i)
            ASSERT_EQ(store.read_integer(USER, "Software\\Both", "p" + std::to_string(process) + "_" + std::to_string(i)), i);
}

TEST_F(RegistryStoreTest, ACorruptStoreIsReportedOnceAndLeftAsItWas)
{
    fs::create_directories(m_file.parent_path());
    const std::string garbage(4096, 'G');
    std::ofstream(m_file, std::ios::binary) << garbage;
    RegistryStore store(m_file, count_reports());
    EXPECT_FALSE(store.write_string(USER, "Software\\Game", "a", "kept"));
    EXPECT_FALSE(store.write_real(USER, "Software\\Game", "b", 2));
    EXPECT_EQ(store.read_string(USER, "Software\\Game", "a"), "kept");
    EXPECT_EQ(store.read_real(USER, "Software\\Game", "b"), 2);
    EXPECT_EQ(m_reports.size(), 1u);
    std::ifstream file(m_file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), garbage);
}

TEST_F(RegistryStoreTest, ALockedStoreKeepsTheValuesOfTheRun)
{
    {
        RegistryStore store(m_file, nullptr);
        store.write_string(USER, "Software\\Game", "old", "before");
    }
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(m_file.c_str(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    RegistryStore store(m_file, count_reports());
    EXPECT_FALSE(store.write_string(USER, "Software\\Game", "new", "during"));
    EXPECT_FALSE(store.write_string(USER, "Software\\Game", "newer", "during"));
    EXPECT_EQ(store.read_string(USER, "Software\\Game", "new"), "during");
    EXPECT_EQ(store.read_string(USER, "Software\\Game", "old"), "before");
    EXPECT_EQ(m_reports.size(), 1u);
    sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(holder);
}

TEST_F(RegistryStoreTest, AStoreThatCannotBeMadeKeepsTheValuesOfTheRun)
{
    // The store's folder cannot be made: a file has its name.
    std::ofstream(m_file.parent_path()) << "in the way";
    RegistryStore store(m_file, count_reports());
    EXPECT_FALSE(store.write_real(USER, "Software\\Game", "x", 1.25));
    EXPECT_EQ(store.read_real(USER, "Software\\Game", "x"), 1.25);
    EXPECT_EQ(m_reports.size(), 1u);
}

}  // namespace
