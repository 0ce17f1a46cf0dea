// The wire form of a message or shared-data record, byte for byte as other runners read it.
#include "net/message_codec.h"

#include "net/wire.h"

namespace quillon::net {

namespace {

constexpr std::size_t HEADER_BYTES = 6; // kind, id, string flag
constexpr std::size_t LENGTH_BYTES = 4; // a string's length
constexpr std::size_t REAL_BYTES = 8; // an IEEE double

} // namespace

std::size_t encoded_size(const Value& value)
{
    return HEADER_BYTES + (value.is_string() ? LENGTH_BYTES + value.string.size() : REAL_BYTES);
}

bool encode_record(std::uint8_t kind, std::int32_t id, const Value& value, std::vector<std::uint8_t>& out)
{
    if (encoded_size(value) > MAX_RECORD_BYTES)
        return false;
    WireWriter writer(out);
    writer.byte(kind);
    writer.u32(static_cast<std::uint32_t>(id));
    writer.byte(value.is_string() ? 1 : 0);
    if (value.is_string())
        writer.text(value.string.view());
    else
        writer.real(value.real);
    return true;
}

bool decode_record(std::span<const std::uint8_t> bytes, MessageRecord& record)
{
    if (bytes.size() > MAX_RECORD_BYTES)
        return false;
    WireReader reader(bytes);
    record.kind = reader.byte();
    record.id = static_cast<std::int32_t>(reader.u32());
    std::uint8_t is_string = reader.byte();
    if (is_string == 1) {
        std::string_view text = reader.text();
        if (!reader.finished())
            return false;
        record.value.set_string(ScriptString(text));
        return true;
    }
    if (is_string != 0)
        return false;
    double real = reader.real();
    if (!reader.finished())
        return false;
    record.value.set_real(real);
    return true;
}

} // namespace quillon::net
