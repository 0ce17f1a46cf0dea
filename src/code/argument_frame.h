// ArgumentFrame: the 16 argument values of a call, of which only those written so far are built.
#pragma once

#include "code/value.h"

#include <cstdint>
#include <new>

namespace quillon {

// Slots beyond the ones written read as real 0. Building only the passed arguments keeps a call from
// clearing 16 values each time.
class ArgumentFrame {
public:
    static constexpr int SIZE = 16;

    ArgumentFrame() = default;
    ArgumentFrame(const ArgumentFrame&) = delete;
    ArgumentFrame& operator=(const ArgumentFrame&) = delete;
    ~ArgumentFrame() { clear(); }

    int count() const { return m_count; }
    const Value& get(int slot) const { return slot < m_count ? at(slot) : zero(); }
    // The slot, built (as real 0, with every slot before it) when it was not yet.
    Value& set(int slot)
    {
        while (m_count <= slot)
            new (&at(m_count++)) Value();
        return at(slot);
    }
    // The next slot, for filling the arguments in order.
    Value& next() { return set(m_count); }
    // Fills the next slot with a copy.
    void push(const Value& value) { new (&at(m_count++)) Value(value); }
    // Every slot back to real 0.
    void clear()
    {
        for (int k = 0; k < m_count; ++k)
            at(k).~Value();
        m_count = 0;
    }
    const Value* data() const { return &at(0); }

private:
    static const Value& zero()
    {
        static const Value s_zero;
        return s_zero;
    }
    Value& at(int slot) { return *std::launder(reinterpret_cast<Value*>(m_storage) + slot); }
    const Value& at(int slot) const { return *std::launder(reinterpret_cast<const Value*>(m_storage) + slot); }

    alignas(Value) unsigned char m_storage[SIZE * sizeof(Value)];  // the slots, built up to m_count
    int m_count = 0;                                               // slots built so far
};

}  // namespace quillon
