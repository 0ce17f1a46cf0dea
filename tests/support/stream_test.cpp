// Stream primitives: encodings, read errors and blocks.
#include "support/compression.h"
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
