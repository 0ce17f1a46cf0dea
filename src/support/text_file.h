// TextFile: the one text file a game reads or writes at a time. Lines end in a carriage return, a line feed, or
// both; writing ends them with both. Reading goes through a buffer of its own, so lines of any length and bytes of
// any value (a binary file read as text) are read as they are.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class TextFile {
public:
    enum class State { closed, reading, writing };

    TextFile() = default;
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;
    ~TextFile() { close(); }

    State state() const { return m_state; }

    // Open for reading at the start, or for writing (emptied, or at the end with `append`); any open file is
    // closed first. False when the system refuses; the file is then closed.
    bool open_read(const std::filesystem::path& path);
    bool open_write(const std::filesystem::path& path, bool append);
    // Writes out what is pending and closes; false when that writing failed.
    bool close();

    // Reading. The position never passes a line end unless read_line says so.
    bool at_end();
    // The rest of the current line without its end; false on a read failure.
    bool read_string(std::string& text);
    // Skips blanks, tabs and line ends, then reads one number up to the next blank or line end; at the end of
    // the file the number is 0. False on a read failure or when the word is no number.
    bool read_real(double& value);
    // Skips the rest of the line and its end; false on a read failure.
    bool read_line();

    // Writing, into a buffer that flush() hands to the system (and that is flushed when it grows large).
    // False when the system refused earlier pending bytes.
    bool write(std::string_view bytes);
    bool flush();
    bool has_pending() const { return !m_out.empty(); }

    // A real as the file functions write it: 23 characters, a blank or "-", one digit, ".", 14 digits, "E",
    // the exponent's sign and four digits.
    static std::string real_text(double value);

private:
    bool fill();         // more bytes into the read buffer; false at the end or on failure
    char* data() { return m_in.data(); }

    State m_state = State::closed;
    std::FILE* m_file = nullptr;
    std::vector<char> m_in;      // read buffer
    std::size_t m_position = 0;  // next unread byte of m_in
    std::size_t m_end = 0;       // bytes of m_in that hold data
    bool m_failed = false;       // a read failed; later reads fail too
    std::string m_out;           // written bytes not yet handed to the system
};

}  // namespace quillon
