// The pop-up menu: its items and keys, choosing with keys and the mouse, where it goes, and scripted answers.
#include "dialogs/popup_menu.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

platform::Event key(int virtual_key)
{
    platform::Event event;
    event.kind = platform::EventKind::key_down;
    event.virtual_key = virtual_key;
    return event;
}

platform::Event mouse(platform::EventKind kind, int x, int y)
{
    platform::Event event;
    event.kind = kind;
    event.x = x;
    event.y = y;
    event.button = platform::MOUSE_LEFT;
    return event;
}

constexpr int ENTER = 13, ESCAPE = 27, END = 35, HOME = 36, UP = 38, DOWN = 40;

// The result after pressing the keys in order (the menu may finish before the last).
std::int32_t after_keys(std::string_view items, std::initializer_list<int> keys, std::int32_t default_result = -1)
{
    PopupMenu menu(items, 0, 0, default_result);
    for (int k : keys) {
        if (menu.finished())
            break;
        menu.handle(key(k));
    }
    return menu.finished() ? menu.result() : -100;
}

}  // namespace

TEST(PopupMenu, ItemsAreNumberedFromZeroPastSeparatorsAndGetTheFirstFreeLetterAsKey)
{
    struct Case {
        const char* items;
        std::vector<std::tuple<std::string, int, char>> expected;   // label, number, key
    };
    const Case cases[] = {
        {"New|-|Open|Quit", {{"New", 0, 'N'}, {"", -1, 0}, {"Open", 1, 'O'}, {"Quit", 2, 'Q'}}},
        {"new|Next|nope 2|-", {{"new", 0, 'N'}, {"Next", 1, 'E'}, {"nope 2", 2, 'O'}, {"", -1, 0}}},
        {"a||-x|--", {{"a", 0, 'A'}, {"", 1, 0}, {"-x", 2, 'X'}, {"--", 3, 0}}},
        {"", {{"", 0, 0}}},
        {"-|-", {{"", -1, 0}, {"", -1, 0}}},
        {"1 up|...|a", {{"1 up", 0, '1'}, {"...", 1, 0}, {"a", 2, 'A'}}},
    };
    for (const Case& c : cases) {
        std::vector<MenuEntry> entries = menu_entries(c.items);
        ASSERT_EQ(entries.size(), c.expected.size()) << c.items;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            auto [label, number, accelerator] = c.expected[i];
            EXPECT_EQ(entries[i].label, label) << c.items << " " << i;
            EXPECT_EQ(entries[i].number, number) << c.items << " " << i;
            EXPECT_EQ(entries[i].accelerator, accelerator) << c.items << " " << i;
        }
    }
}

TEST(PopupMenu, AHugeItemsStringMakesABoundedMenu)
{
    std::string items;
    while (items.size() < (1u << 20))
        items += "item|-|";
    std::vector<MenuEntry> entries = menu_entries(items);
    EXPECT_EQ(int(entries.size()), MAX_MENU_ENTRIES);
    std::vector<MenuEntry> one = menu_entries(std::string(1u << 20, 'x'));
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].label.size(), MAX_LABEL_BYTES);

    PopupMenu menu(items, 0, 0, 7);
    platform::WindowPlacement placement = menu.placement({800, 600});
    EXPECT_LE(placement.height, 600);
    menu.handle(key(END));
    menu.handle(key(ENTER));
    EXPECT_TRUE(menu.finished());
    EXPECT_LT(menu.result(), 50);   // the last item that fits on the screen
}

TEST(PopupMenu, KeysMoveOverSeparatorsChooseOrDismiss)
{
    struct Case {
        const char* items;
        std::initializer_list<int> keys;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"New|-|Open|Quit", {ESCAPE}, -1},
        {"New|-|Open|Quit", {ENTER}, -1},                 // nothing highlighted
        {"New|-|Open|Quit", {DOWN, ENTER}, 0},
        {"New|-|Open|Quit", {DOWN, DOWN, ENTER}, 1},      // over the separator
        {"New|-|Open|Quit", {DOWN, DOWN, DOWN, DOWN, ENTER}, 0},   // round the end
        {"New|-|Open|Quit", {UP, ENTER}, 2},
        {"New|-|Open|Quit", {DOWN, UP, ENTER}, 2},       // round the start
        {"-|New|-|Open|-", {END, ENTER}, 1},
        {"-|New|-|Open|-", {END, HOME, ENTER}, 0},
        {"New|-|Open|Quit", {DOWN, DOWN, ESCAPE}, -1},
        {"New|-|Open|Quit", {'Q'}, 2},
        {"New|-|Open|Quit", {'O'}, 1},
        {"New|Next|Exit", {'E'}, 1},                     // Next took E before Exit
        {"New|Next|Exit", {'X'}, 2},
        {"New|-|Open|Quit", {'Z', DOWN, ENTER}, 0},      // no item has Z
        {"-|-|-", {DOWN, UP, HOME, END, 'A', ENTER}, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(after_keys(c.items, c.keys), c.expected) << c.items << " after " << c.keys.size() << " keys";
}

TEST(PopupMenu, TheMouseHighlightsAndChoosesAndAClickOutsideOrLosingTheFocusDismisses)
{
    using platform::EventKind;
    PopupMenu menu("New|-|Open|Quit", 0, 0, 9);
    platform::WindowPlacement placement = menu.placement({800, 600});
    int x = placement.width / 2;
    int item_height = (placement.height - 6 - 9) / 3;
    int open_y = 3 + item_height + 9 + item_height / 2;
    menu.handle(mouse(EventKind::mouse_move, x, open_y));
    EXPECT_EQ(menu.highlighted(), 2);
    EXPECT_TRUE(menu.needs_paint());
    menu.handle(mouse(EventKind::mouse_move, x, 3 + item_height + 4));   // the separator
    EXPECT_EQ(menu.highlighted(), -1);
    // The release of the click that opened the menu chooses nothing.
    menu.handle(mouse(EventKind::mouse_up, x, open_y));
    EXPECT_FALSE(menu.finished());
    menu.handle(mouse(EventKind::mouse_down, x, open_y));
    menu.handle(mouse(EventKind::mouse_up, x, open_y));
    EXPECT_TRUE(menu.finished());
    EXPECT_EQ(menu.result(), 1);

    PopupMenu outside("New|Open", 0, 0, 9);
    outside.placement({800, 600});
    outside.handle(mouse(EventKind::mouse_down, -5, 3));
    EXPECT_TRUE(outside.finished());
    EXPECT_EQ(outside.result(), 9);

    PopupMenu unfocused("New|Open", 0, 0, 9);
    unfocused.handle(mouse(EventKind::focus_lost, 0, 0));   // before it ever had the focus: stays
    EXPECT_FALSE(unfocused.finished());
    unfocused.handle(mouse(EventKind::focus_gained, 0, 0));
    unfocused.handle(mouse(EventKind::focus_lost, 0, 0));
    EXPECT_TRUE(unfocused.finished());
    EXPECT_EQ(unfocused.result(), 9);
}

TEST(PopupMenu, OpensAtItsPointAndStaysOnTheScreen)
{
    platform::ScreenSize screen {800, 600};
    PopupMenu probe("New|-|Open|Quit", 0, 0, 0);
    platform::WindowPlacement size = probe.placement(screen);
    EXPECT_FALSE(size.border);
    EXPECT_TRUE(size.stay_on_top);
    int w = size.width, h = size.height;
    struct Case {
        int x, y, left, top;
    };
    const Case cases[] = {
        {100, 50, 100, 50},
        {799, 50, 799 - w, 50},     // opens to the left of the point
        {100, 599, 100, 599 - h},   // opens above it
        {-40, -40, 0, 0},
        {5000, 5000, 800 - w, 600 - h},
    };
    for (const Case& c : cases) {
        platform::WindowPlacement placement = PopupMenu("New|-|Open|Quit", c.x, c.y, 0).placement(screen);
        EXPECT_EQ(placement.left, c.left) << c.x << "," << c.y;
        EXPECT_EQ(placement.top, c.top) << c.x << "," << c.y;
    }
}

TEST(PopupMenu, ScriptedAnswersNameAnItemByNumberOrLabel)
{
    PopupMenu listed("New|-|Open", 0, 0, 5);
    EXPECT_EQ(listed.transcript(), "Menu:\n0: New\n-\n1: Open");
    struct Case {
        std::optional<std::string> line;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"1", 1}, {" 0 ", 0}, {"open", 1}, {"NEW", 0}, {"2", 5}, {"-1", 5}, {"-", 5}, {"", 5},
        {"<cancel>", 5}, {"Save", 5}, {std::nullopt, 5},
    };
    for (const Case& c : cases) {
        PopupMenu menu("New|-|Open", 0, 0, 5);
        menu.answer(c.line);
        EXPECT_TRUE(menu.finished());
        EXPECT_EQ(menu.result(), c.expected) << c.line.value_or("(none)");
    }
}
