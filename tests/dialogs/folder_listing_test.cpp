// What the choosers list: filter texts and their choices, a folder's folders before its filtered files in an
// order that ignores letter case, hidden names left out, folders that cannot be read, and many files.
#include "dialogs/folder_listing.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

class FolderListingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("quillon-listing-" + std::to_string(::getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override
    {
        std::error_code error;
        fs::permissions(m_folder / "locked", fs::perms::owner_all, error);
        fs::remove_all(m_folder);
    }
    void make(const char* name, bool folder = false)
    {
        if (folder)
            fs::create_directories(m_folder / name);
        else
            std::ofstream(m_folder / name) << "x";
    }
    std::string listed(bool files, const FileFilter* filter)
    {
        FolderListing listing;
        EXPECT_TRUE(listing.read(m_folder, files, filter));
        std::string names;
        for (const FolderEntry& entry : listing.entries())
            names += (entry.folder ? "[" + entry.name + "]" : entry.name) + " ";
        return names;
    }

    fs::path m_folder;
};

}  // namespace

TEST(FileFilterText, LabelsAndPatternsAlternate)
{
    struct Case {
        const char* text;
        const char* choices;  // label=pattern,pattern; ...
    };
    const Case cases[] = {
        {"Text files|*.txt", "Text files=*.txt;"},
        {"Text|*.txt; *.log |All|*.*", "Text=*.txt,*.log;All=*.*;"},
        {"Pictures|*.png;;*.bmp|Odd", "Pictures=*.png,*.bmp;"},  // an empty pattern and a last label left out
        {"Any|", "Any=;"},                                        // no patterns: every file
        {"", ""},
        {"no patterns at all", ""},
        {"|*.a||*.b", "=*.a;=*.b;"},
        {"Caf\xe9|caf\xe9*", "Caf\xe9=caf\xc3\xa9*;"},            // patterns become UTF-8 to match file names
    };
    for (const Case& test : cases) {
        std::string choices;
        for (const FileFilter& filter : parse_file_filter(test.text)) {
            choices += filter.label + "=";
            for (std::size_t i = 0; i < filter.patterns.size(); ++i)
                choices += (i ? "," : "") + filter.patterns[i];
            choices += ";";
        }
        EXPECT_EQ(choices, test.choices) << test.text;
    }
}

TEST(FileFilterText, AHugeFilterParsesAndMatchesInReasonableWork)
{
    std::string text = "All|" + std::string(1 << 20, '*') + ";" + std::string(1 << 19, 'a') + "|";
    for (int i = 0; i < 1000; ++i)
        text += "x|*.x" + std::to_string(i) + "|";
    std::vector<FileFilter> filters = parse_file_filter(text);
    ASSERT_EQ(filters.size(), 1001u);
    EXPECT_TRUE(filter_passes(filters[0], std::string(255, 'a')));
    EXPECT_TRUE(filter_passes(filters[1000], "file.X999"));
    EXPECT_FALSE(filter_passes(filters[1000], "file.x99"));
}

TEST_F(FolderListingTest, FoldersComeFirstThenTheFilesThatTheFilterLetsThrough)
{
    for (const char* name : {"b.TXT", "A.txt", "c.png", "a.txt", ".hidden.txt", "notes"})
        make(name);
    for (const char* name : {"zeta", "Alpha", ".config"})
        make(name, true);
    fs::create_directory_symlink(m_folder / "zeta", m_folder / "link");

    std::vector<FileFilter> filters = parse_file_filter("Text|*.txt|All|*.*");
    EXPECT_EQ(listed(true, &filters[0]), "[Alpha] [link] [zeta] A.txt a.txt b.TXT ");
    EXPECT_EQ(listed(true, &filters[1]), "[Alpha] [link] [zeta] A.txt a.txt b.TXT c.png notes ");
    EXPECT_EQ(listed(true, nullptr), "[Alpha] [link] [zeta] A.txt a.txt b.TXT c.png notes ");
    EXPECT_EQ(listed(false, nullptr), "[Alpha] [link] [zeta] ");
}

TEST_F(FolderListingTest, NamesReachTheGameInItsCodePage)
{
    make("caf\xc3\xa9.txt");
    FolderListing listing;
    ASSERT_TRUE(listing.read(m_folder, true, nullptr));
    ASSERT_EQ(listing.entries().size(), 1u);
    EXPECT_EQ(listing.entries()[0].name, "caf\xe9.txt");
    EXPECT_EQ(listing.entries()[0].path, m_folder / "caf\xc3\xa9.txt");
    EXPECT_EQ(game_name_of(listing.entries()[0].path), game_name_of(m_folder) + "/caf\xe9.txt");
}

TEST_F(FolderListingTest, FoldersThatCannotBeReadListNothing)
{
    FolderListing listing;
    EXPECT_FALSE(listing.read(m_folder / "missing", true, nullptr));
    EXPECT_TRUE(listing.entries().empty());
    make("locked", true);
    fs::permissions(m_folder / "locked", fs::perms::none);
    if (::geteuid() != 0) {  // the superuser reads every folder
        EXPECT_FALSE(listing.read(m_folder / "locked", true, nullptr));
        EXPECT_TRUE(listing.entries().empty());
        EXPECT_EQ(listing.folder(), m_folder / "locked");
    }
}

TEST_F(FolderListingTest, ThousandsOfFilesAreListedInOrder)
{
    for (int i = 2999; i >= 0; --i)
        make(("f" + std::to_string(10000 + i)).c_str());
    FolderListing listing;
    ASSERT_TRUE(listing.read(m_folder, true, nullptr));
    ASSERT_EQ(listing.entries().size(), 3000u);
    EXPECT_EQ(listing.entries().front().name, "f10000");
    EXPECT_EQ(listing.entries().back().name, "f12999");
}

TEST(FolderPaths, GoingUpStopsAtTheRootAndRootsContainTheirFolders)
{
    EXPECT_EQ(parent_folder("/a/b"), fs::path("/a"));
    EXPECT_EQ(parent_folder("/a"), fs::path("/"));
    EXPECT_EQ(parent_folder("/"), fs::path("/"));
    EXPECT_TRUE(folder_within("/a/b", "/a"));
    EXPECT_TRUE(folder_within("/a", "/a"));
    EXPECT_TRUE(folder_within("/a", "/"));
    EXPECT_FALSE(folder_within("/ab", "/a"));
    EXPECT_FALSE(folder_within("/", "/a"));
}

TEST_F(FolderListingTest, TheFolderIsMadeAbsoluteAndNormal)
{
    make("sub", true);
    FolderListing listing;
    ASSERT_TRUE(listing.read(m_folder / "sub" / ".." / "sub" / "", true, nullptr));
    EXPECT_EQ(listing.folder(), m_folder / "sub");
}
