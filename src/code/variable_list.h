// CVariableList: a store of variables with their array rows, kept in entry order with a constant-time index.
#pragma once

#include "code/value.h"

#include <cstdint>
#include <vector>

namespace quillon {

class CStream;

// Array layout: index 0 is the plain value; an index I above 0 lives at rows[I div 32000][I mod 32000].
class CVariableList {
public:
    static constexpr std::int32_t ROW_LENGTH = 32000;
    static constexpr std::int32_t STORED_VERSION = 440;
    // Most elements one array may hold, so that writing far-apart indices cannot exhaust memory.
    static constexpr std::size_t MAX_ELEMENTS = std::size_t(1) << 22;

    struct Entry {
        std::int32_t key = 0;                    // variable id
        Value value;                             // the plain variable, element 0 of its array
        std::vector<std::vector<Value>> rows;    // the array elements
        std::size_t elements = 0;                // slots held by the rows together
    };

    void clear();
    std::size_t size() const { return m_entries.size(); }
    const std::vector<Entry>& entries() const { return m_entries; }

    // The element, or none when the variable, its row or its column does not exist.
    const Value* find(std::int32_t key, std::int32_t index) const;
    Value* find(std::int32_t key, std::int32_t index)
    {
        return const_cast<Value*>(static_cast<const CVariableList*>(this)->find(key, index));
    }
    // The element, created with every slot on the way (as real 0) when missing; none when the array
    // would grow beyond MAX_ELEMENTS.
    Value* element(std::int32_t key, std::int32_t index);

    // False only when the array would grow beyond MAX_ELEMENTS.
    bool set(std::int32_t key, std::int32_t index, const Value& value)
    {
        Value* slot = element(key, index);
        if (slot)
            *slot = value;
        return slot != nullptr;
    }

    // The same for one entry's array.
    static const Value* find_in(const Entry& entry, std::int32_t index)
    {
        if (index <= 0)
            return &entry.value;
        std::size_t row = static_cast<std::size_t>(index) / ROW_LENGTH;
        std::size_t column = static_cast<std::size_t>(index) % ROW_LENGTH;
        if (row >= entry.rows.size() || column >= entry.rows[row].size())
            return nullptr;
        return &entry.rows[row][column];
    }
    static Value* element_in(Entry& entry, std::int32_t index)
    {
        if (index <= 0)
            return &entry.value;
        std::size_t row = static_cast<std::size_t>(index) / ROW_LENGTH;
        std::size_t column = static_cast<std::size_t>(index) % ROW_LENGTH;
        if (row < entry.rows.size() && column < entry.rows[row].size())
            return &entry.rows[row][column];
        return grow(entry, row, column);
    }
    bool get(std::int32_t key, std::int32_t index, Value& result) const;

    // Stored form: version 440, the entry count, then per entry its key, plain value and rows.
    void save(CStream& stream) const;
    // Clears first; a wrong version leaves the list empty.
    void load(CStream& stream);

private:
    static constexpr std::size_t LINEAR_LIMIT = 8;  // small stores are searched without the index

    static Value* grow(Entry& entry, std::size_t row, std::size_t column);
    std::int32_t find_entry(std::int32_t key) const;
    std::int32_t add_entry(std::int32_t key);
    void index_entry(std::int32_t position);
    void rebuild_index();

    std::vector<Entry> m_entries;        // entries in order of creation
    std::vector<std::int32_t> m_index;   // open addressing: entry position + 1, 0 for an empty slot
};

}  // namespace quillon
