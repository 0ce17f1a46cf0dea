// Data files: the record, export in each mode, secure mode, writing later, and clean-up.
#include "support/data_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <unistd.h>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> bytes_of(std::string_view text) { return {text.begin(), text.end()}; }

std::string read_file(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

void write_file(const fs::path& path, std::string_view text) { std::ofstream(path, std::ios::binary) << text; }

// A valid zlib stream that holds the bytes in one stored (uncompressed) block: unlike anything the writer's
// own deflate produces, so a record that comes back equal was copied, not compressed again.
std::vector<std::uint8_t> stored_zlib(std::string_view text)
{
    std::vector<std::uint8_t> out {0x78, 0x01, 0x01};
    auto length = static_cast<std::uint16_t>(text.size());
    out.insert(out.end(), {std::uint8_t(length), std::uint8_t(length >> 8), std::uint8_t(~length),
                              std::uint8_t(~length >> 8)});
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : text) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
        out.push_back(c);
    }
    std::uint32_t adler = (b << 16) | a;
    out.insert(out.end(), {std::uint8_t(adler >> 24), std::uint8_t(adler >> 16), std::uint8_t(adler >> 8),
                              std::uint8_t(adler)});
    return out;
}

CDataFile data_file(std::string name, std::int32_t mode, std::string_view text = "payload")
{
    CDataFile file;
    file.file_name = std::move(name);
    file.export_mode = mode;
    file.set_contents(bytes_of(text));
    return file;
}

class DataFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_scratch = fs::path(testing::TempDir()) / ("data_file_test_" + std::to_string(::getpid()));
        fs::remove_all(m_scratch);
        fs::create_directories(m_scratch / "elsewhere");
        ASSERT_TRUE(m_temp.create({m_scratch}, nullptr));
        m_context.temp_directory = m_temp.path();
        m_context.report_error = [this](const std::string& message) { m_errors.push_back(message); };
        m_context.register_font = [this](const fs::path& file) {
            m_font_calls.push_back("register " + file.string());
            return m_font_accepted;
        };
        m_context.unregister_font = [this](const fs::path& file) {
            m_font_calls.push_back("unregister " + file.string() + (fs::exists(file) ? "" : " (gone)"));
            return true;
        };
    }
    void TearDown() override { fs::remove_all(m_scratch); }

    // A name as a game writes it, with Windows separators, for a file outside the temporary directory.
    std::string elsewhere(std::string_view name) const
    {
        std::string path = (m_scratch / "elsewhere").string() + "\\" + std::string(name);
        return path;
    }

    fs::path m_scratch;                    // removed after each test
    TempDirectory m_temp {7};              // stands in for the runner's temporary directory
    DataFileContext m_context;             // wired to the members below
    std::vector<std::string> m_errors;     // non-fatal game errors reported
    std::vector<std::string> m_font_calls; // register and unregister calls in order
    bool m_font_accepted = true;           // what registering a font answers
};

}  // namespace

TEST(DataFileRecord, RoundTripsByteForByte)
{
    CStream original;
    original.WriteInt(440);
    original.WriteString("fonts\\caf\xe9.ttf");
    original.WriteBool(true);
    original.WriteBlock(stored_zlib("font bytes"));
    original.WriteInt(3);
    original.WriteBool(true);
    original.WriteBool(false);
    original.WriteBool(true);
    original.WriteInt(440);  // a second record, without data
    original.WriteString("empty.txt");
    original.WriteBool(false);
    original.WriteInt(2);
    original.WriteBool(false);
    original.WriteBool(true);
    original.WriteBool(false);

    CStream in(original.bytes());
    CDataFile font, empty;
    ASSERT_TRUE(font.read_record(in));
    ASSERT_TRUE(empty.read_record(in));
    EXPECT_TRUE(in.at_end());
    EXPECT_EQ(font.file_name, "fonts\\caf\xe9.ttf");
    EXPECT_TRUE(font.has_data);
    EXPECT_EQ(font.contents.bytes(), bytes_of("font bytes"));
    EXPECT_EQ(font.export_mode, DATA_FILE_AS_FONT);
    EXPECT_TRUE(font.overwrite);
    EXPECT_FALSE(font.free_after_export);
    EXPECT_TRUE(font.remove_at_end);
    EXPECT_FALSE(empty.has_data);
    EXPECT_EQ(empty.export_mode, DATA_FILE_TO_ITS_NAME);

    CStream out;
    font.write_record(out);
    empty.write_record(out);
    EXPECT_EQ(out.bytes(), original.bytes());
}

TEST(DataFileRecord, ContentsSetInCodeAreCompressedOnWrite)
{
    CDataFile file = data_file("notes.txt", DATA_FILE_TO_TEMP_DIRECTORY, "some notes");
    CStream stream;
    file.write_record(stream);
    stream.set_position(0);
    CDataFile again;
    ASSERT_TRUE(again.read_record(stream));
    EXPECT_EQ(again.contents.bytes(), bytes_of("some notes"));
}

TEST(DataFileRecord, OtherVersionsAreRefused)
{
    CStream stream;
    stream.WriteInt(430);
    stream.set_position(0);
    CDataFile file;
    EXPECT_FALSE(file.read_record(stream));
}

TEST_F(DataFileTest, ExportsIntoTheTemporaryDirectoryAndCleansUp)
{
    fs::create_directory(m_temp.path() / "levels");
    CDataFile level = data_file("levels\\one.txt", DATA_FILE_TO_TEMP_DIRECTORY);
    EXPECT_TRUE(level.export_at_start(m_context));
    EXPECT_EQ(read_file(m_temp.path() / "levels" / "one.txt"), "payload");
    EXPECT_FALSE(level.has_data);  // freed after export
    EXPECT_FALSE(level.write_to(m_scratch / "later.txt"));
    EXPECT_FALSE(fs::exists(m_scratch / "later.txt"));

    level.clean_up(m_context);
    EXPECT_FALSE(fs::exists(m_temp.path() / "levels" / "one.txt"));
}

TEST_F(DataFileTest, KeptContentsCanBeWrittenLaterButNotOverAFile)
{
    CDataFile kept = data_file("kept.txt", DATA_FILE_NOT_EXPORTED);
    kept.free_after_export = false;
    EXPECT_TRUE(kept.export_at_start(m_context));
    EXPECT_TRUE(fs::is_empty(m_temp.path()));

    fs::path target = m_scratch / "copy.txt";
    EXPECT_TRUE(kept.write_to(target));
    EXPECT_EQ(read_file(target), "payload");
    write_file(target, "changed");
    EXPECT_FALSE(kept.write_to(target));
    EXPECT_EQ(read_file(target), "changed");
    kept.overwrite = true;
    EXPECT_TRUE(kept.write_to(target));
    EXPECT_EQ(read_file(target), "payload");

    kept.discard();
    EXPECT_FALSE(kept.write_to(m_scratch / "after_discard.txt"));
    EXPECT_FALSE(fs::exists(m_scratch / "after_discard.txt"));
}

TEST_F(DataFileTest, ToItsNameKeepsAnExistingFileUnlessOverwriteButDeletesItAtTheEnd)
{
    for (bool overwrite : {false, true}) {
        std::string name = elsewhere("save.ini");
        fs::path target = m_scratch / "elsewhere" / "save.ini";
        write_file(target, "the player's own");
        CDataFile file = data_file(name, DATA_FILE_TO_ITS_NAME);
        file.overwrite = overwrite;
        EXPECT_EQ(file.export_at_start(m_context), overwrite);
        EXPECT_EQ(read_file(target), overwrite ? "payload" : "the player's own");
        EXPECT_FALSE(file.has_data);

        file.clean_up(m_context);
        EXPECT_FALSE(fs::exists(target)) << "overwrite " << overwrite;
    }
}

TEST_F(DataFileTest, WithoutDataNothingIsWrittenYetTheNameIsStillCleanedUp)
{
    for (std::int32_t mode : {DATA_FILE_TO_TEMP_DIRECTORY, DATA_FILE_TO_ITS_NAME, DATA_FILE_AS_FONT}) {
        std::string name = mode == DATA_FILE_TO_ITS_NAME ? elsewhere("left.dat") : "left.dat";
        fs::path target = mode == DATA_FILE_TO_ITS_NAME ? m_scratch / "elsewhere" / "left.dat"
                                                         : m_temp.path() / "left.dat";
        CDataFile file;
        file.file_name = name;
        file.export_mode = mode;
        EXPECT_FALSE(file.export_at_start(m_context));
        EXPECT_FALSE(fs::exists(target));

        write_file(target, "from an earlier run");
        file.clean_up(m_context);
        EXPECT_FALSE(fs::exists(target)) << "mode " << mode;
    }
}

TEST_F(DataFileTest, RemoveAtEndOffLeavesTheFile)
{
    CDataFile file = data_file("stays.txt", DATA_FILE_TO_TEMP_DIRECTORY);
    file.remove_at_end = false;
    EXPECT_TRUE(file.export_at_start(m_context));
    file.clean_up(m_context);
    EXPECT_TRUE(fs::exists(m_temp.path() / "stays.txt"));
}

TEST_F(DataFileTest, SecureModeRefusesNamesWithFolders)
{
    m_context.secure_mode = true;
    fs::create_directory(m_temp.path() / "fonts");
    for (std::string name : {"fonts\\a.ttf", "fonts/a.ttf"}) {
        CDataFile refused = data_file(name, DATA_FILE_TO_TEMP_DIRECTORY);
        EXPECT_FALSE(refused.export_at_start(m_context));
        EXPECT_FALSE(fs::exists(m_temp.path() / "fonts" / "a.ttf"));
        // A file that secure mode kept from being written is not deleted there either.
        write_file(m_temp.path() / "fonts" / "a.ttf", "not ours");
        refused.clean_up(m_context);
        EXPECT_TRUE(fs::exists(m_temp.path() / "fonts" / "a.ttf"));
        fs::remove(m_temp.path() / "fonts" / "a.ttf");
    }
    EXPECT_EQ(m_errors, (std::vector<std::string> {"In secure mode you cannot export a data file to fonts\\a.ttf",
                            "In secure mode you cannot export a data file to fonts/a.ttf"}));

    CDataFile plain = data_file("a.ttf", DATA_FILE_TO_TEMP_DIRECTORY);
    EXPECT_TRUE(plain.export_at_start(m_context));
    EXPECT_EQ(read_file(m_temp.path() / "a.ttf"), "payload");
    EXPECT_EQ(m_errors.size(), 2u);
}

TEST_F(DataFileTest, FontsAreRegisteredAfterWritingAndUnregisteredBeforeDeleting)
{
    fs::path target = m_temp.path() / "title.ttf";
    for (bool accepted : {true, false}) {
        m_font_accepted = accepted;
        m_font_calls.clear();
        CDataFile font = data_file("title.ttf", DATA_FILE_AS_FONT);
        EXPECT_EQ(font.export_at_start(m_context), accepted);
        EXPECT_EQ(read_file(target), "payload");
        font.clean_up(m_context);
        EXPECT_FALSE(fs::exists(target));
        EXPECT_EQ(m_font_calls,
            (std::vector<std::string> {"register " + target.string(), "unregister " + target.string()}));
    }
}

TEST_F(DataFileTest, NamesThatStartWithASeparatorStayInTheTemporaryDirectory)
{
    CDataFile file = data_file("\\rooted.txt", DATA_FILE_TO_TEMP_DIRECTORY);
    EXPECT_TRUE(file.export_at_start(m_context));
    EXPECT_EQ(read_file(m_temp.path() / "rooted.txt"), "payload");
}

TEST_F(DataFileTest, ExportAndCleanUpAllSkipEmptySlots)
{
    ResourceList<CDataFile> files;
    files.add("first", std::make_unique<CDataFile>(data_file("first.txt", DATA_FILE_TO_TEMP_DIRECTORY, "1")));
    files.add({}, nullptr);
    files.add("third", std::make_unique<CDataFile>(data_file("third.txt", DATA_FILE_TO_TEMP_DIRECTORY, "3")));
    files.add("odd", std::make_unique<CDataFile>(data_file("odd_mode.txt", 9)));

    export_data_files(files, m_context);
    EXPECT_EQ(read_file(m_temp.path() / "first.txt"), "1");
    EXPECT_EQ(read_file(m_temp.path() / "third.txt"), "3");
    EXPECT_FALSE(fs::exists(m_temp.path() / "odd_mode.txt"));
    EXPECT_FALSE(files.get(3)->has_data);

    clean_up_data_files(files, m_context);
    EXPECT_TRUE(fs::is_empty(m_temp.path()));
}
