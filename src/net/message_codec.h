// The wire form of a message or shared-data record, byte for byte as other runners read it.
#pragma once

#include "code/value.h"

#include <cstdint>
#include <span>
#include <vector>

namespace quillon::net {

// Records are sent and received through buffers of this size, so no record is larger.
constexpr std::size_t MAX_RECORD_BYTES = 10000;

constexpr std::uint8_t KIND_SHARED_DATA = 0;
constexpr std::uint8_t KIND_MESSAGE = 1;

// A record as it travels: kind, message id or data index, value. The sender is not part of it.
struct MessageRecord {
    std::uint8_t kind = KIND_MESSAGE; // KIND_MESSAGE or KIND_SHARED_DATA
    std::int32_t id = 0; // the message id, or the shared-data index
    Value value; // a real or a string
};

// The size of a record holding this value.
std::size_t encoded_size(const Value& value);
// Appends the record: kind (1 byte), id (4), string flag (1), then the string's length (4) and bytes, or the
// real (8), all little-endian. Appends nothing and gives false when the record would exceed MAX_RECORD_BYTES.
bool encode_record(std::uint8_t kind, std::int32_t id, const Value& value, std::vector<std::uint8_t>& out);
// Reads one record that fills the bytes exactly; false for anything else (cut short, a string length that
// does not match, an unknown string flag, more than MAX_RECORD_BYTES).
bool decode_record(std::span<const std::uint8_t> bytes, MessageRecord& record);

} // namespace quillon::net
