// CVariableList: lookup, growth of array rows, and the stored form.
#include "code/variable_list.h"

#include "support/stream.h"

namespace quillon {

namespace {
std::size_t hash_slot(std::int32_t key, std::size_t mask)
{
    return (static_cast<std::uint32_t>(key) * 2654435761u) & mask;
}
}  // namespace

void CVariableList::clear()
{
    m_entries.clear();
    m_index.clear();
}

// Later entries win, as when searching from the last entry backwards.
std::int32_t CVariableList::find_entry(std::int32_t key) const
{
    if (m_index.empty()) {
        for (std::size_t i = m_entries.size(); i-- > 0;)
            if (m_entries[i].key == key)
                return static_cast<std::int32_t>(i);
        return -1;
    }
    std::size_t mask = m_index.size() - 1;
    for (std::size_t slot = hash_slot(key, mask);; slot = (slot + 1) & mask) {
        std::int32_t position = m_index[slot];
        if (position == 0)
            return -1;
        if (m_entries[position - 1].key == key)
            return position - 1;
    }
}

void CVariableList::index_entry(std::int32_t position)
{
    std::size_t mask = m_index.size() - 1;
    std::int32_t key = m_entries[position].key;
    for (std::size_t slot = hash_slot(key, mask);; slot = (slot + 1) & mask) {
        std::int32_t& held = m_index[slot];
        if (held == 0 || m_entries[held - 1].key == key) {
            held = position + 1;
            return;
        }
    }
}

void CVariableList::rebuild_index()
{
    std::size_t capacity = 16;
    while (capacity < m_entries.size() * 2)
        capacity *= 2;
    m_index.assign(capacity, 0);
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        index_entry(static_cast<std::int32_t>(i));
}

std::int32_t CVariableList::add_entry(std::int32_t key)
{
    m_entries.push_back(Entry {key, Value(), {}});
    auto position = static_cast<std::int32_t>(m_entries.size() - 1);
    if (!m_index.empty() || m_entries.size() > LINEAR_LIMIT) {
        if (m_index.size() < m_entries.size() * 2)
            rebuild_index();
        else
            index_entry(position);
    }
    return position;
}

Value* CVariableList::grow(Entry& entry, std::size_t row, std::size_t column)
{
    std::size_t held = row < entry.rows.size() ? entry.rows[row].size() : 0;
    std::size_t added = column >= held ? column + 1 - held : 0;
    if (entry.elements + added + row > MAX_ELEMENTS)
        return nullptr;
    if (row >= entry.rows.size())
        entry.rows.resize(row + 1);
    std::vector<Value>& cells = entry.rows[row];
    if (column == cells.size())
        cells.emplace_back();  // the common case of filling an array in order
    else if (column > cells.size())
        cells.resize(column + 1);
    entry.elements += added;
    return &cells[column];
}

const Value* CVariableList::find(std::int32_t key, std::int32_t index) const
{
    std::int32_t position = find_entry(key);
    return position < 0 ? nullptr : find_in(m_entries[position], index);
}

Value* CVariableList::element(std::int32_t key, std::int32_t index)
{
    std::int32_t position = find_entry(key);
    if (position < 0)
        position = add_entry(key);
    return element_in(m_entries[position], index);
}

bool CVariableList::get(std::int32_t key, std::int32_t index, Value& result) const
{
    const Value* found = find(key, index);
    if (!found)
        return false;
    result = *found;
    return true;
}

void CVariableList::save(CStream& stream) const
{
    stream.WriteInt(STORED_VERSION);
    stream.WriteInt(static_cast<std::int32_t>(m_entries.size()));
    for (const Entry& entry : m_entries) {
        stream.WriteInt(entry.key);
        entry.value.save(stream);
        stream.WriteInt(static_cast<std::int32_t>(entry.rows.size()));
        for (const std::vector<Value>& row : entry.rows) {
            stream.WriteInt(static_cast<std::int32_t>(row.size()));
            for (const Value& cell : row)
                cell.save(stream);
        }
    }
}

void CVariableList::load(CStream& stream)
{
    clear();
    if (stream.ReadInt() != STORED_VERSION)
        return;
    std::int32_t count = stream.ReadInt();
    for (std::int32_t i = 0; i < count; ++i) {
        Entry entry;
        entry.key = stream.ReadInt();
        entry.value.load(stream);
        std::int32_t rows = stream.ReadInt();
        for (std::int32_t r = 0; r < rows; ++r) {
            // Each element takes at least 16 bytes, which bounds what a damaged count can allocate.
            std::int32_t cells = stream.ReadInt();
            if (cells < 0 || static_cast<std::size_t>(cells) > stream.remaining() / 16)
                throw StreamError("variable store: bad row length");
            if (entry.elements + static_cast<std::size_t>(cells) + entry.rows.size() > MAX_ELEMENTS)
                throw StreamError("variable store: array too large");
            std::vector<Value>& row = entry.rows.emplace_back(static_cast<std::size_t>(cells));
            entry.elements += row.size();
            for (Value& cell : row)
                cell.load(stream);
        }
        m_entries.push_back(std::move(entry));
    }
    rebuild_index();
}

}  // namespace quillon
