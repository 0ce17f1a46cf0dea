// Fonts from files: a real font file adds fonts for the process, anything else adds none.
#include "platform/fonts.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;

TEST(Fonts, FontFilesRegisterAndOtherFilesDoNot)
{
    fs::path font;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator("/usr/share/fonts", error); !error && it != fs::end(it); it.increment(error)) {
        if (it->path().extension() == ".ttf") {
            font = it->path();
            break;
        }
    }
    if (font.empty())
        GTEST_SKIP() << "no TrueType font installed";
    fs::path copy = fs::temp_directory_path() / "quillon_font_test.ttf";
    fs::copy_file(font, copy, fs::copy_options::overwrite_existing);
    EXPECT_TRUE(quillon::platform::register_font_file(copy));
    EXPECT_TRUE(quillon::platform::unregister_font_files());

    fs::path not_a_font = fs::temp_directory_path() / "quillon_not_a_font.ttf";
    std::ofstream(not_a_font) << "plain text";
    EXPECT_FALSE(quillon::platform::register_font_file(not_a_font));
    fs::remove(copy);
    fs::remove(not_a_font);
}
