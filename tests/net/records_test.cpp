// The record's wire form byte for byte, and the message queue's limit, compaction and reading order.
#include "net/message_codec.h"
#include "net/message_queue.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::net;

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(MessageCodec, EncodesRealsAndStringsByteForByte)
{
    struct Case {
        std::uint8_t kind;
        std::int32_t id;
        Value value;
        Bytes bytes;
    };
    const Case cases[] = {
        { KIND_MESSAGE, 7, Value(1.5), { 1, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F } },
        { KIND_SHARED_DATA, 10000, Value(-2.0), { 0, 0x10, 0x27, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xC0 } },
        { KIND_MESSAGE, -1, Value("hi"), { 1, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 0, 0, 0, 'h', 'i' } },
        { KIND_MESSAGE, 3, Value(""), { 1, 3, 0, 0, 0, 1, 0, 0, 0, 0 } },
    };
    for (const Case& c : cases) {
        Bytes encoded;
        ASSERT_TRUE(encode_record(c.kind, c.id, c.value, encoded));
        EXPECT_EQ(encoded, c.bytes);
        MessageRecord decoded;
        ASSERT_TRUE(decode_record(encoded, decoded));
        EXPECT_EQ(decoded.kind, c.kind);
        EXPECT_EQ(decoded.id, c.id);
        EXPECT_EQ(decoded.value.kind, c.value.kind);
        EXPECT_EQ(decoded.value.real, c.value.is_real() ? c.value.real : 0.0);
        EXPECT_EQ(decoded.value.string.view(), c.value.string.view());
    }
}

TEST(MessageCodec, RefusesRecordsOverTenThousandBytes)
{
    Bytes encoded;
    EXPECT_TRUE(encode_record(KIND_MESSAGE, 1, Value(ScriptString(std::string(9990, 'x'))), encoded));
    EXPECT_EQ(encoded.size(), MAX_RECORD_BYTES);
    encoded.clear();
    EXPECT_FALSE(encode_record(KIND_MESSAGE, 1, Value(ScriptString(std::string(9991, 'x'))), encoded));
    EXPECT_TRUE(encoded.empty());
}

TEST(MessageCodec, RejectsMalformedRecords)
{
    const Bytes cases[] = {
        {}, { 1, 7, 0, 0 }, // cut short in the id
        { 1, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF8 }, // real cut short
        { 1, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F, 9 }, // a byte too many
        { 1, 7, 0, 0, 0, 1, 5, 0, 0, 0, 'h', 'i' }, // string length beyond the packet
        { 1, 7, 0, 0, 0, 1, 0xFF, 0xFF, 0xFF, 0xFF, 'h' }, // a length of four billion
        { 1, 7, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0 }, // unknown string flag
    };
    for (const Bytes& bytes : cases) {
        MessageRecord record;
        EXPECT_FALSE(decode_record(bytes, record)) << "size " << bytes.size();
    }
}

TEST(MessageQueue, TakesOldestUnreadPerSenderAndCounts)
{
    MessageQueue queue;
    queue.append(10, 1, Value(1.0));
    queue.append(20, 2, Value(2.0));
    queue.append(10, 3, Value(3.0));
    EXPECT_EQ(queue.count(0), 3u);
    EXPECT_EQ(queue.count(10), 2u);
    QueuedMessage taken;
    ASSERT_TRUE(queue.take(20, taken));
    EXPECT_EQ(taken.id, 2);
    ASSERT_TRUE(queue.take(0, taken));
    EXPECT_EQ(taken.id, 1);
    ASSERT_TRUE(queue.take(10, taken));
    EXPECT_EQ(taken.id, 3);
    EXPECT_FALSE(queue.take(0, taken));
    EXPECT_EQ(taken.id, 3); // a failed take leaves the last message
    queue.append(20, 4, Value(4.0));
    queue.append(30, 5, Value(5.0));
    queue.clear(20);
    EXPECT_EQ(queue.count(0), 1u);
    EXPECT_EQ(queue.size(), 1u); // clearing compacts
}

TEST(MessageQueue, DropsTheMessageBeyondFourThousandUntilOneIsRead)
{
    MessageQueue queue;
    for (int i = 0; i < 4000; ++i)
        ASSERT_TRUE(queue.append(1, i, Value(double(i))));
    EXPECT_FALSE(queue.append(1, 4000, Value(0.0)));
    EXPECT_EQ(queue.count(0), 4000u);
    QueuedMessage taken;
    ASSERT_TRUE(queue.take(0, taken));
    EXPECT_EQ(taken.id, 0);
    EXPECT_TRUE(queue.append(1, 4001, Value(0.0)));
    EXPECT_EQ(queue.size(), 4000u);
    ASSERT_TRUE(queue.take(0, taken));
    EXPECT_EQ(taken.id, 1); // order kept through compaction
}

} // namespace
