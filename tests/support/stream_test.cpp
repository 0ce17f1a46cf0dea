// Stream primitives: encodings, read errors, blocks and stored images.
#include "support/compression.h"
#include "support/game_error.h"
#include "support/stored_image.h"
#include "support/stream.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(Stream, PrimitivesRoundTrip)
{
    CStream out;
    out.WriteInt(-7);
    out.WriteReal(2.5);
    out.WriteBool(true);
    out.WriteString("caf\xe9");
    out.WriteCompressedBlock(std::vector<std::uint8_t>(1000, 42));
    CStream in(out.take_bytes());
    EXPECT_EQ(in.ReadInt(), -7);
    EXPECT_EQ(in.ReadReal(), 2.5);
    EXPECT_TRUE(in.ReadBool());
    EXPECT_EQ(in.ReadString(), "caf\xe9");
    EXPECT_EQ(in.ReadCompressedBlock().bytes(), std::vector<std::uint8_t>(1000, 42));
    EXPECT_TRUE(in.at_end());
}

TEST(Stream, BooleansAreTrueOnlyAboveZero)
{
    struct Case { std::int32_t stored; bool expected; };
    for (auto [stored, expected] : {Case {-1, false}, Case {0, false}, Case {1, true}, Case {2, true}}) {
        CStream stream;
        stream.WriteInt(stored);
        stream.set_position(0);
        EXPECT_EQ(stream.ReadBool(), expected) << stored;
    }
}

TEST(Stream, EmptyOrNegativeStringLengthConsumesOnlyTheLength)
{
    for (std::int32_t length : {0, -5}) {
        CStream stream;
        stream.WriteInt(length);
        stream.WriteInt(99);
        stream.set_position(0);
        EXPECT_EQ(stream.ReadString(), "");
        EXPECT_EQ(stream.ReadInt(), 99);
    }
}

TEST(Stream, ReadsPastTheEndThrow)
{
    CStream stream(std::vector<std::uint8_t> {1, 2, 3});
    EXPECT_THROW(stream.ReadInt(), StreamError);
    CStream huge_string;
    huge_string.WriteInt(0x7FFFFFFF);
    huge_string.set_position(0);
    EXPECT_THROW(huge_string.ReadString(), StreamError);
    CStream corrupt;
    corrupt.WriteBlock(std::vector<std::uint8_t> {0x78, 0x9c, 1, 2, 3});
    corrupt.set_position(0);
    EXPECT_THROW(corrupt.ReadCompressedBlock(), StreamError);
}

TEST(Stream, StoredImagesByKind)
{
    std::vector<std::string> errors;
    GameErrorHandler previous = set_game_error_handler([&](std::string_view message, bool fatal) {
        errors.push_back(std::string(message) + (fatal ? " (fatal)" : ""));
    });
    Bitmap24 picture(2, 1, make_color(10, 20, 30));
    std::string not_a_bitmap = "not a bitmap";
    CStream stream;
    stream.WriteInt(IMAGE_NONE);
    WriteBitmap(stream, StoredImage::from_bitmap(picture));
    stream.WriteInt(IMAGE_COMPRESSED);
    stream.WriteCompressedBlock({reinterpret_cast<const std::uint8_t*>(not_a_bitmap.data()), not_a_bitmap.size()});
    stream.WriteInt(0);  // an unknown kind: its bytes are not skipped
    stream.WriteInt(77);
    stream.set_position(0);

    EXPECT_FALSE(ReadBitmap(stream).bitmap);
    EXPECT_EQ(ReadBitmap(stream).bitmap, picture);
    EXPECT_FALSE(ReadBitmap(stream).bitmap);
    EXPECT_TRUE(errors.empty());
    EXPECT_FALSE(ReadBitmap(stream).bitmap);
    EXPECT_EQ(stream.ReadInt(), 77);
    EXPECT_EQ(errors,
        (std::vector<std::string> {"ERROR in handling bitmap:\rInternal error: Unknown image compression scheme."}));
    set_game_error_handler(previous);
}
