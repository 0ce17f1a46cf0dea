// The highscore table's form: typing the new entry's name, closing keys, the headless transcript and answer,
// and the rows it paints.
#include "dialogs/highscore_form.h"
#include "platform/registry_store.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

using namespace quillon;
using platform::Event;
using platform::EventKind;

namespace {

Event typed(std::string text)
{
    return { .kind = EventKind::text, .text = std::move(text) };
}

class HighscoreFormTest : public ::testing::Test {
protected:
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    std::filesystem::path m_folder
        = std::filesystem::temp_directory_path() / ("quillon-highscore-form-" + std::to_string(::getpid()));
    platform::RegistryStore m_store { m_folder / "registry.db", nullptr };
    HighscoreTable m_table { m_store, 77 };
};

TEST_F(HighscoreFormTest, TheNewEntryTakesTypedCharactersUntilEscapeOrEnter)
{
    struct Case {
        std::optional<int> rank;
        std::vector<Event> events;
        const char* name;
        bool finished;
    };
    const Case cases[] = {
        { 1, { typed("Ann"), typed("\b\bda\x01") }, "Ada", false }, // control characters are not names
        { 1, { typed("\b\bBo\r"), typed("x") }, "Bo", true }, // nothing is typed after Enter
        { 3, { typed("Cy \xe9\x1b") }, "Cy \xe9", true },
        { std::nullopt, { typed("Dee") }, "", false }, // without a new entry, typing does nothing
        { std::nullopt, { { .kind = EventKind::window_close } }, "", true },
    };
    for (const Case& test : cases) {
        HighscoreForm form(HighscoreSettings(), std::nullopt, m_table, test.rank);
        for (const Event& event : test.events)
            form.handle(event);
        EXPECT_EQ(form.typed(), test.name);
        EXPECT_EQ(form.finished(), test.finished) << test.name;
    }
}

TEST_F(HighscoreFormTest, HeadlessTheTableIsWrittenAndTheLineIsTheName)
{
    m_table.insert("", 5);
    HighscoreForm form(HighscoreSettings(), std::nullopt, m_table, 1);
    EXPECT_EQ(form.transcript(), m_table.text(1));
    EXPECT_EQ(form.transcript().substr(0, 16), "Top Ten Players\n");
    form.answer("b\xc3\xa9la\t!");
    EXPECT_EQ(form.typed(), "b\xe9la!");
    EXPECT_TRUE(form.finished());
    HighscoreForm closing(HighscoreSettings(), std::nullopt, m_table, std::nullopt);
    closing.answer("anything");
    EXPECT_EQ(closing.typed(), "");
    EXPECT_TRUE(closing.finished());
    EXPECT_EQ(closing.caption(), "Top Ten Players");
}

// Rows in the colour of other entries, the new one in its own; nothing is drawn outside the columns.
TEST_F(HighscoreFormTest, RowsArePaintedInTheirColours)
{
    HighscoreSettings settings;
    settings.other_color = 0x00FF00; // green
    settings.new_entry_color = 0xFF0000; // blue
    HighscoreForm form(settings, std::nullopt, m_table, 2);
    std::vector<std::uint32_t> pixels(HIGHSCORE_WIDTH * HIGHSCORE_HEIGHT);
    SurfaceCanvas canvas { pixels.data(), HIGHSCORE_WIDTH, HIGHSCORE_HEIGHT, HIGHSCORE_WIDTH * 4,
        { 0, 0, HIGHSCORE_WIDTH, HIGHSCORE_HEIGHT } };
    form.paint(canvas);
    auto count_in_row = [&](int top, std::uint32_t pixel, int left, int right) {
        int count = 0;
        for (int y = top; y < top + 25; ++y)
            for (int x = left; x < right; ++x)
                count += pixels[std::size_t(y) * HIGHSCORE_WIDTH + x] == pixel;
        return count;
    };
    EXPECT_GT(count_in_row(48, 0x00FF00, 48, 257), 0); // "<nobody>"
    EXPECT_EQ(count_in_row(48, 0x0000FF, 0, HIGHSCORE_WIDTH), 0);
    EXPECT_GT(count_in_row(80, 0x0000FF, 48, 257), 0); // "|"
    EXPECT_GT(count_in_row(80, 0x0000FF, 264, 337), 0); // 0
    EXPECT_EQ(count_in_row(80, 0x00FF00, 0, HIGHSCORE_WIDTH), 0);
    EXPECT_EQ(count_in_row(48, 0x00FF00, 0, 8) + count_in_row(48, 0x00FF00, 337, HIGHSCORE_WIDTH), 0);
}

} // namespace
