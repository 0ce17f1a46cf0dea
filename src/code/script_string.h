// ScriptString: the byte string of a script value, cheap to copy and cheap to append to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace quillon {

// An immutable view of bytes in a shared, reference-counted buffer. Copies share the buffer. Appending
// writes in place when this string ends where the buffer's used bytes end and there is room, which
// leaves every other holder's bytes untouched (they only see their own prefix); otherwise it copies.
// So `s = s + 'x'` in a loop costs amortised constant time per step.
class ScriptString {
public:
    // Longest string the runner makes; longer results are refused instead of exhausting memory.
    static constexpr std::size_t MAX_LENGTH = std::size_t(1) << 28;

    ScriptString() = default;
    ScriptString(std::string_view text);
    ScriptString(const char* text) : ScriptString(std::string_view(text)) {}
    ScriptString(const std::string& text) : ScriptString(std::string_view(text)) {}
    ScriptString(const ScriptString& other) : m_buffer(other.m_buffer), m_length(other.m_length) { retain(); }
    ScriptString(ScriptString&& other) noexcept : m_buffer(other.m_buffer), m_length(other.m_length)
    {
        other.m_buffer = nullptr;
        other.m_length = 0;
    }
    ~ScriptString() { release(); }
    ScriptString& operator=(const ScriptString& other)
    {
        if (m_buffer != other.m_buffer) {
            if (other.m_buffer)
                ++other.m_buffer->references;
            release();
            m_buffer = other.m_buffer;
        }
        m_length = other.m_length;
        return *this;
    }
    ScriptString& operator=(ScriptString&& other) noexcept
    {
        swap(other);
        return *this;
    }
    void swap(ScriptString& other) noexcept
    {
        std::swap(m_buffer, other.m_buffer);
        std::swap(m_length, other.m_length);
    }

    const char* data() const { return m_buffer ? m_buffer->bytes : ""; }
    std::size_t size() const { return m_length; }
    bool empty() const { return m_length == 0; }
    std::string_view view() const { return {data(), m_length}; }
    std::string str() const { return std::string(view()); }
    unsigned char operator[](std::size_t index) const { return static_cast<unsigned char>(m_buffer->bytes[index]); }

    // `count` copies of `piece` in one buffer, filled by doubling copies; the caller keeps the result within
    // MAX_LENGTH.
    static ScriptString repeated(std::string_view piece, std::size_t count);

    // False, and nothing changes, when the result would exceed MAX_LENGTH.
    bool append(std::string_view tail);
    bool append(const ScriptString& tail) { return append(tail.view()); }

    friend bool operator==(const ScriptString& a, const ScriptString& b) { return a.view() == b.view(); }
    friend bool operator==(const ScriptString& a, std::string_view b) { return a.view() == b; }

private:
    friend class ScriptStringBuilder;

    struct Buffer {
        std::uint32_t references;  // holders of this buffer
        std::uint32_t used;        // bytes written so far; the longest holder ends here
        std::uint32_t capacity;    // bytes the buffer can hold
        char bytes[1];             // the bytes (allocated to capacity, plus one)
    };
    static Buffer* allocate(std::size_t capacity);
    void retain()
    {
        if (m_buffer)
            ++m_buffer->references;
    }
    void release()
    {
        if (m_buffer && --m_buffer->references == 0)
            free_buffer(m_buffer);
        m_buffer = nullptr;
    }
    static void free_buffer(Buffer* buffer);

    Buffer* m_buffer = nullptr;   // shared bytes, or none for the empty string
    std::uint32_t m_length = 0;   // bytes of the buffer that belong to this string
};

// Builds a string of a length known beforehand in one buffer, piece by piece; bytes beyond MAX_LENGTH are
// dropped, as when a longer text becomes a ScriptString.
class ScriptStringBuilder {
public:
    explicit ScriptStringBuilder(std::size_t length);
    void add(std::string_view piece);
    // The string so far; the builder is empty afterwards.
    ScriptString finish();

private:
    ScriptString m_text;   // the buffer, its length the bytes written
    std::size_t m_room;    // bytes that may still be written
};

}  // namespace quillon
