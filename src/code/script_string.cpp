// ScriptString: shared buffers and in-place appending.
#include "code/script_string.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace quillon {

ScriptString::Buffer* ScriptString::allocate(std::size_t capacity)
{
    void* memory = std::malloc(offsetof(Buffer, bytes) + capacity + 1);
    if (!memory)
        throw std::bad_alloc();
    auto* buffer = static_cast<Buffer*>(memory);
    buffer->references = 1;
    buffer->used = 0;
    buffer->capacity = static_cast<std::uint32_t>(capacity);
    return buffer;
}

ScriptString::ScriptString(std::string_view text)
{
    if (text.empty())
        return;
    if (text.size() > MAX_LENGTH)
        text = text.substr(0, MAX_LENGTH);
    m_buffer = allocate(text.size());
    std::memcpy(m_buffer->bytes, text.data(), text.size());
    m_buffer->used = m_length = static_cast<std::uint32_t>(text.size());
}

void ScriptString::free_buffer(Buffer* buffer) { std::free(buffer); }

bool ScriptString::append(std::string_view tail)
{
    if (tail.empty())
        return true;
    std::size_t length = std::size_t(m_length) + tail.size();
    if (length > MAX_LENGTH)
        return false;
    if (m_buffer && m_buffer->used == m_length && m_buffer->capacity >= length) {
        std::memcpy(m_buffer->bytes + m_length, tail.data(), tail.size());
        m_buffer->used = m_length = static_cast<std::uint32_t>(length);
        return true;
    }
    // Strings that grow by appending get room to grow again; a first concatenation stays exact.
    std::size_t capacity = m_buffer ? std::min(MAX_LENGTH, length + length / 2 + 8) : length;
    Buffer* grown = allocate(capacity);
    std::memcpy(grown->bytes, data(), m_length);
    std::memcpy(grown->bytes + m_length, tail.data(), tail.size());
    grown->used = static_cast<std::uint32_t>(length);
    release();
    m_buffer = grown;
    m_length = static_cast<std::uint32_t>(length);
    return true;
}

ScriptString ScriptString::repeated(std::string_view piece, std::size_t count)
{
    ScriptString text;
    std::size_t length = piece.size() * count;
    if (length == 0)
        return text;
    text.m_buffer = allocate(length);
    char* bytes = text.m_buffer->bytes;
    std::memcpy(bytes, piece.data(), piece.size());
    for (std::size_t done = piece.size(); done < length;) {
        std::size_t part = std::min(done, length - done);
        std::memcpy(bytes + done, bytes, part);
        done += part;
    }
    text.m_buffer->used = text.m_length = static_cast<std::uint32_t>(length);
    return text;
}

ScriptStringBuilder::ScriptStringBuilder(std::size_t length) : m_room(std::min(length, ScriptString::MAX_LENGTH))
{
    if (m_room)
        m_text.m_buffer = ScriptString::allocate(m_room);
}

void ScriptStringBuilder::add(std::string_view piece)
{
    std::size_t size = std::min(piece.size(), m_room);
    if (size == 0)
        return;
    std::memcpy(m_text.m_buffer->bytes + m_text.m_length, piece.data(), size);
    m_text.m_length += static_cast<std::uint32_t>(size);
    m_text.m_buffer->used = m_text.m_length;
    m_room -= size;
}

ScriptString ScriptStringBuilder::finish()
{
    m_room = 0;
    return std::move(m_text);
}

}  // namespace quillon
