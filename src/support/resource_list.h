// The common form of every resource list: slots addressed by index, empty slots kept, each with a name.
#pragma once

#include "support/stream.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

template<typename T>
class ResourceList {
public:
    int count() const { return static_cast<int>(m_items.size()); }
    bool exists(int index) const { return index >= 0 && index < count() && m_items[index] != nullptr; }
    T* get(int index) const { return exists(index) ? m_items[index].get() : nullptr; }

    // "<undefined>" for an index without a resource.
    std::string name(int index) const { return exists(index) ? m_names[index] : "<undefined>"; }

    // The first existing resource with exactly this name, or -1.
    int find(std::string_view wanted) const
    {
        for (int i = 0; i < count(); ++i) {
            if (m_items[i] && m_names[i] == wanted)
                return i;
        }
        return -1;
    }

    // Appends a slot (an empty one when item is null) and returns its index.
    int add(std::string name, std::unique_ptr<T> item)
    {
        m_names.push_back(std::move(name));
        m_items.push_back(std::move(item));
        return count() - 1;
    }

    // Puts a resource into an existing slot, which keeps its name; returns it.
    T* put(int index, std::unique_ptr<T> item)
    {
        m_items[index] = std::move(item);
        return m_items[index].get();
    }

    // Empties a slot; its index and its name stay.
    void remove(int index) { m_items[index].reset(); }
    void clear()
    {
        m_items.clear();
        m_names.clear();
    }

    // The name a slot has, kept even when the slot is empty.
    const std::string& slot_name(int index) const { return m_names[index]; }

private:
    std::vector<std::unique_ptr<T>> m_items;  // one per index; null for an empty slot
    std::vector<std::string> m_names;         // one per index
};

// Reads a list block: version, count, then per slot an exists flag and for an existing slot its name and its
// record. read_record(stream, item) returns false to refuse the record, which fails the list; the entries read
// so far stay.
template<typename T, typename ReadRecord>
bool read_resource_list(CStream& stream, std::int32_t accepted_version, ResourceList<T>& list, ReadRecord read_record)
{
    list.clear();
    if (stream.ReadInt() != accepted_version)
        return false;
    std::int32_t count = stream.ReadInt();
    for (std::int32_t i = 0; i < count; ++i) {
        if (!stream.ReadBool()) {
            list.add({}, nullptr);
            continue;
        }
        std::string name = stream.ReadString();
        auto item = std::make_unique<T>();
        if (!read_record(stream, *item))
            return false;
        list.add(std::move(name), std::move(item));
    }
    return true;
}

template<typename T, typename WriteRecord>
void write_resource_list(CStream& stream, std::int32_t version, const ResourceList<T>& list, WriteRecord write_record)
{
    stream.WriteInt(version);
    stream.WriteInt(list.count());
    for (int i = 0; i < list.count(); ++i) {
        stream.WriteBool(list.exists(i));
        if (list.exists(i)) {
            stream.WriteString(list.slot_name(i));
            write_record(stream, *list.get(i));
        }
    }
}

}  // namespace quillon
