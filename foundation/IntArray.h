#pragma once
// Growable array of 32-bit values with 16-bit capacity and count; slots above the count hold the default.

#include "foundation/ValueArray.h"

class IntArray : public ValueArray<int32_t> {
public:
    explicit IntArray(int16_t growBy = 4, int32_t defaultValue = 0) : ValueArray(growBy, defaultValue) {}

    void SetAt(int i, int32_t value)
    {
        if (i >= 0 && i < count)
            items[i] = value;
    }

    // Inserts before index i (outside 0..count means the end); false when the array is full (32767 items)
    // or memory runs out.
    bool InsertAt(int32_t value, int i)
    {
        if (!MakeRoom())
            return false;
        if (i < 0 || i > count)
            i = count;
        for (int slot = count; slot > i; --slot)
            items[slot] = items[slot - 1];
        items[i] = value;
        ++count;
        return true;
    }
    bool Add(int32_t value) { return InsertAt(value, count); }
    int16_t IndexOf(int32_t value) const
    {
        for (int16_t i = 0; i < count; ++i)
            if (items[i] == value)
                return i;
        return -1;
    }
    // Items above move down; the freed last slot receives the default.
    void RemoveAt(int i)
    {
        if (i < 0 || i >= count)
            return;
        for (int slot = i; slot < count - 1; ++slot)
            items[slot] = items[slot + 1];
        items[--count] = defaultValue;
    }
};
