// The colour, file and directory choosers driven by their events as a window would send them: keys, typed
// characters and the mouse through folders of a small fixture, choosing, refusing and cancelling; bad input that
// must neither crash nor hang; and the look of a file chooser, compared with a picture kept in data/.
#include "dialogs/color_picker.h"
#include "dialogs/directory_chooser.h"
#include "dialogs/file_chooser.h"
#include "support/bitmap.h"
#include "support/picture_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <unistd.h>

using namespace quillon;
namespace fs = std::filesystem;
using platform::Event;
using platform::EventKind;

namespace {

Event key(int virtual_key) { return {.kind = EventKind::key_down, .virtual_key = virtual_key}; }
Event typed(std::string text) { return {.kind = EventKind::text, .text = std::move(text)}; }
Event mouse(EventKind kind, int x, int y) { return {.kind = kind, .x = x, .y = y, .button = platform::MOUSE_LEFT}; }

void shift_tab(Form& form)
{
    form.handle({.kind = EventKind::key_down, .virtual_key = KEY_SHIFT});
    form.handle(typed("\t"));
    form.handle({.kind = EventKind::key_up, .virtual_key = KEY_SHIFT});
}

void click(Form& form, int x, int y)
{
    form.handle(mouse(EventKind::mouse_down, x, y));
    form.handle(mouse(EventKind::mouse_up, x, y));
}

// The middle of a row of the choosers' lists, whose rows start one pixel below the list's top and are 16 high.
int row_y(const ListView& list, int row) { return list.bounds().top + 1 + 16 * row + 8; }

std::string rows_of(const FolderBrowser& browser)
{
    std::string rows;
    for (const ListRow& row : browser.list().rows())
        rows += (row.folder ? "[" + row.text + "]" : row.text) + " ";
    return rows;
}

class Choosers : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("quillon-choosers-" + std::to_string(::getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder / "Docs" / "inner");
        fs::create_directories(m_folder / "music");
        for (const char* name : {"a.txt", "B.TXT", "c.png", "zeta.txt"})
            std::ofstream(m_folder / name) << "x";
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string in_fixture(const char* name) const { return (m_folder / name).string(); }

    fs::path m_folder;
};

}  // namespace

TEST_F(Choosers, TheKeyboardBrowsesFoldersAndChoosesAFile)
{
    FileChooser chooser(FileChoice::open, "Text files|*.txt|All files|*.*", "new.txt", m_folder);
    EXPECT_EQ(chooser.focus(), FileChooser::Focus::name);
    EXPECT_EQ(rows_of(chooser.browser()), "[Docs] [music] a.txt B.TXT zeta.txt ");
    shift_tab(chooser);
    ASSERT_EQ(chooser.focus(), FileChooser::Focus::list);

    chooser.handle(typed("\r"));  // Enter on a folder goes into it
    EXPECT_EQ(chooser.browser().folder(), m_folder / "Docs");
    EXPECT_EQ(rows_of(chooser.browser()), "[inner] ");
    chooser.handle(typed("\b"));  // Backspace goes up, to the folder come from
    EXPECT_EQ(chooser.browser().folder(), m_folder);
    EXPECT_EQ(chooser.browser().list().selected(), 0);

    chooser.handle(key(KEY_END));
    EXPECT_EQ(chooser.typed_name(), "zeta.txt");
    chooser.handle(typed("b"));  // the first letter finds a row, whatever its case
    EXPECT_EQ(chooser.typed_name(), "B.TXT");
    chooser.handle(key(KEY_UP));
    EXPECT_EQ(chooser.typed_name(), "a.txt");
    chooser.handle(key(KEY_DOWN));
    EXPECT_FALSE(chooser.finished());
    chooser.handle(typed("\r"));
    ASSERT_TRUE(chooser.finished());
    EXPECT_EQ(chooser.result(), in_fixture("B.TXT"));
}

TEST_F(Choosers, TypedNamesOpenFoldersAndOpeningWantsAnExistingFile)
{
    FileChooser chooser(FileChoice::open, "Text|*.txt", "", m_folder);
    chooser.handle(typed("missing.txt\r"));
    EXPECT_FALSE(chooser.finished());
    EXPECT_EQ(chooser.status(), "File not found.");
    chooser.handle(typed("\t\t\t\t\t\t"));  // round to the name again, which selects its text
    chooser.handle(typed("docs\r"));        // a folder, whatever its case, is gone into
    EXPECT_EQ(chooser.browser().folder(), m_folder / "Docs");
    EXPECT_EQ(chooser.typed_name(), "");
    EXPECT_EQ(chooser.status(), "");
    chooser.handle(typed("..\\zeta.txt\r"));  // the game's separator
    ASSERT_TRUE(chooser.finished());
    EXPECT_EQ(chooser.result(), in_fixture("zeta.txt"));
}

TEST_F(Choosers, TheFilterChoiceChangesTheFilesShown)
{
    FileChooser chooser(FileChoice::open, "Text files|*.txt|All files|*.*", "", m_folder);
    chooser.handle(typed("\t"));
    ASSERT_EQ(chooser.focus(), FileChooser::Focus::filter);
    chooser.handle(key(KEY_DOWN));
    EXPECT_EQ(rows_of(chooser.browser()), "[Docs] [music] a.txt B.TXT c.png zeta.txt ");
    chooser.handle(key(KEY_DOWN));  // round to the first choice
    EXPECT_EQ(rows_of(chooser.browser()), "[Docs] [music] a.txt B.TXT zeta.txt ");
    click(chooser, 200, 287);  // a click on the filter's box takes the next choice
    EXPECT_EQ(rows_of(chooser.browser()), "[Docs] [music] a.txt B.TXT c.png zeta.txt ");
}

TEST_F(Choosers, SavingOverAFileAsksFirstAndSavingNeedsAnExistingFolder)
{
    FileChooser chooser(FileChoice::save, "", "a.txt", m_folder);
    EXPECT_EQ(rows_of(chooser.browser()), "[Docs] [music] a.txt B.TXT c.png zeta.txt ");  // no patterns: all files
    chooser.handle(typed("\r"));
    ASSERT_TRUE(chooser.asking_to_replace());
    EXPECT_EQ(chooser.status(), "a.txt already exists. Replace it?");
    chooser.handle(typed("n"));
    EXPECT_FALSE(chooser.asking_to_replace());
    EXPECT_FALSE(chooser.finished());
    chooser.handle(typed("\r"));
    chooser.handle(typed("y"));
    ASSERT_TRUE(chooser.finished());
    EXPECT_EQ(chooser.result(), in_fixture("a.txt"));

    FileChooser elsewhere(FileChoice::save, "", "nowhere\\new.txt", m_folder);
    elsewhere.handle(typed("\r"));
    EXPECT_EQ(elsewhere.status(), "Folder not found.");
    elsewhere.handle(typed("\t\t\t\t\t\tmusic/new.txt\r"));
    ASSERT_TRUE(elsewhere.finished());
    EXPECT_EQ(elsewhere.result(), in_fixture("music/new.txt"));
}

TEST_F(Choosers, TheMouseSelectsGoesIntoFoldersAndChooses)
{
    FileChooser chooser(FileChoice::open, "", "", m_folder);
    const ListView& list = chooser.browser().list();
    click(chooser, 100, row_y(list, 1));
    EXPECT_EQ(chooser.focus(), FileChooser::Focus::list);
    chooser.tick(100);
    click(chooser, 100, row_y(list, 1));  // a double click on a folder goes into it
    EXPECT_EQ(chooser.browser().folder(), m_folder / "music");
    click(chooser, 426, 19);  // Up
    EXPECT_EQ(chooser.browser().folder(), m_folder);
    chooser.tick(1000);
    click(chooser, 100, row_y(list, 3));
    chooser.tick(2000);  // too late for a double click
    click(chooser, 100, row_y(list, 3));
    EXPECT_FALSE(chooser.finished());
    EXPECT_EQ(chooser.typed_name(), "B.TXT");
    click(chooser, 410, 257);  // Open
    ASSERT_TRUE(chooser.finished());
    EXPECT_EQ(chooser.result(), in_fixture("B.TXT"));

    FileChooser closed(FileChoice::open, "", "a.txt", m_folder);
    closed.handle({.kind = EventKind::window_close});
    ASSERT_TRUE(closed.finished());
    EXPECT_EQ(closed.result(), "");
}

TEST_F(Choosers, TheDirectoryChooserStaysInsideItsRoot)
{
    DirectoryChooser chooser("Pick", "root", m_folder, m_folder);
    EXPECT_EQ(chooser.caption(), "Pick");
    EXPECT_EQ(rows_of(chooser.browser()), "[Docs] [music] ");
    chooser.handle(typed("\b"));
    EXPECT_EQ(chooser.browser().folder(), m_folder);
    chooser.handle(typed("\r"));
    chooser.handle(key(KEY_RIGHT));  // into inner, which has no folders
    EXPECT_EQ(chooser.browser().folder(), m_folder / "Docs" / "inner");
    chooser.handle(key(KEY_LEFT));
    chooser.handle(typed("\t\r"));  // OK chooses the folder shown
    ASSERT_TRUE(chooser.finished());
    EXPECT_EQ(chooser.result(), in_fixture("Docs"));

    DirectoryChooser empty_enter({}, "", m_folder / "Docs" / "inner", "/");
    EXPECT_EQ(empty_enter.caption(), "Select Directory");
    empty_enter.handle(typed("\b\b"));
    EXPECT_EQ(empty_enter.browser().folder(), m_folder);
    empty_enter.handle(typed("\x1b"));
    ASSERT_TRUE(empty_enter.finished());
    EXPECT_EQ(empty_enter.result(), "");

    DirectoryChooser outside({}, "", "/", m_folder / "music");  // a start outside the root starts at the root
    EXPECT_EQ(outside.browser().folder(), m_folder / "music");
    outside.handle(typed("\r"));  // Enter with no folder to go into chooses
    EXPECT_EQ(outside.result(), in_fixture("music"));
}

TEST(ColorPicker, TheGridAndTheFieldsMakeTheColourAndCancelGivesMinusOne)
{
    ColorPicker grid(make_color(255, 0, 0));
    grid.handle(key(KEY_RIGHT));
    EXPECT_EQ(grid.color(), make_color(255, 128, 0));
    grid.handle(key(KEY_DOWN));
    grid.handle(key(KEY_UP));
    grid.handle(typed("\r"));
    ASSERT_TRUE(grid.finished());
    EXPECT_EQ(grid.result(), make_color(255, 128, 0));

    ColorPicker fields(0x123456);
    fields.handle(typed("\t12"));     // red: the field's text is replaced
    fields.handle(typed("\t999"));    // green: above 255 is 255
    fields.handle(typed("\t\b\b"));   // blue: the field's text removed is 0
    fields.handle(typed("x"));        // not a digit
    fields.handle(key(KEY_UP));
    EXPECT_EQ(fields.color(), make_color(12, 255, 1));
    click(fields, 167, 238);          // OK
    ASSERT_TRUE(fields.finished());
    EXPECT_EQ(fields.result(), make_color(12, 255, 1));

    ColorPicker cancelled(0x123456);
    click(cancelled, 30, 40);         // a basic colour, then Escape
    cancelled.handle(typed("\x1b"));
    ASSERT_TRUE(cancelled.finished());
    EXPECT_EQ(cancelled.result(), -1);
}

TEST_F(Choosers, BadFoldersHugeFiltersAndManyFilesNeitherCrashNorHang)
{
    std::vector<std::uint32_t> pixels(460 * 344);
    SurfaceCanvas canvas {pixels.data(), 460, 344, 460 * 4, {0, 0, 460, 344}};

    FileChooser unreadable(FileChoice::open, "", "", m_folder / "missing");
    EXPECT_EQ(unreadable.status(), "This folder cannot be read.");
    EXPECT_EQ(rows_of(unreadable.browser()), "");
    unreadable.handle(typed("\t\t\t\t\t\t\r"));
    unreadable.paint(canvas);
    EXPECT_FALSE(unreadable.finished());

    std::string huge = std::string(1 << 20, 'L') + "|*.txt;" + std::string(1 << 19, '*') + ".TXT|";
    for (int i = 0; i < 2000; ++i)
        huge += "x|*.x|";
    FileChooser filtered(FileChoice::open, huge, std::string(100000, 'n'), m_folder);
    filtered.paint(canvas);
    EXPECT_EQ(rows_of(filtered.browser()), "[Docs] [music] a.txt B.TXT zeta.txt ");

    for (int i = 0; i < 3000; ++i)
        std::ofstream(m_folder / "music" / ("f" + std::to_string(10000 + i) + ".txt")) << "";
    FileChooser many(FileChoice::open, "", "", m_folder / "music");
    shift_tab(many);
    many.handle(key(KEY_END));
    many.handle(key(KEY_PAGE_UP));
    many.handle({.kind = EventKind::mouse_wheel, .wheel = -100000});
    many.handle(mouse(EventKind::mouse_down, 441, 230));  // the scroll bar's track below the thumb
    many.paint(canvas);
    EXPECT_EQ(many.typed_name(), "f12988.txt");
    EXPECT_EQ(many.browser().list().first_visible(), 3000 - many.browser().list().visible_rows());
}

TEST_F(Choosers, AFileChooserLooksAsItDid)
{
    FileChooser chooser(FileChoice::save, "Text files|*.txt|All files|*.*", "zeta.txt", m_folder);
    shift_tab(chooser);
    chooser.handle(key(KEY_DOWN));
    chooser.handle(key(KEY_DOWN));
    platform::WindowPlacement placement = chooser.placement({1024, 768});
    std::vector<std::uint32_t> pixels(std::size_t(placement.width) * placement.height);
    SurfaceCanvas canvas {pixels.data(), placement.width, placement.height, placement.width * 4,
        {0, 0, placement.width, placement.height}};
    chooser.paint(canvas);
    // The folder's path is where the fixture happens to lie: its box is left out.
    Bitmap24 actual(placement.width, placement.height);
    for (int y = 0; y < placement.height; ++y) {
        for (int x = 0; x < placement.width; ++x) {
            bool path_box = x >= 72 && x < 396 && y >= 8 && y < 30;
            actual.set_pixel(x, y, path_box ? 0 : pixel_to_color(pixels[std::size_t(y) * placement.width + x]));
        }
    }
    fs::path expected_file = fs::path(QUILLON_TEST_DATA) / "file_chooser.png";
    if (std::getenv("QUILLON_UPDATE_FRAMES")) {
        std::vector<std::uint8_t> png = encode_png(actual);
        fs::create_directories(expected_file.parent_path());
        std::ofstream(expected_file, std::ios::binary)
            .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
        GTEST_SKIP() << "written " << expected_file;
    }
    auto expected = load_picture_file(expected_file);
    ASSERT_TRUE(expected) << "cannot read " << expected_file;
    const Bitmap24& picture = expected->front().image;
    ASSERT_EQ(picture.width, actual.width);
    ASSERT_EQ(picture.height, actual.height);
    int differing = 0;
    for (int y = 0; y < actual.height; ++y)
        for (int x = 0; x < actual.width; ++x)
            differing += picture.pixel(x, y) != actual.pixel(x, y);
    EXPECT_EQ(differing, 0);
}
