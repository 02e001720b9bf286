#pragma once
// Growable array of 32-bit values with 16-bit capacity and count; slots above the count hold the default.

#include <cstdint>
#include <new>

class IntArray {
public:
    static constexpr int16_t kMaxItems = 32767;

    explicit IntArray(int16_t growBy = 4, int32_t defaultValue = 0) : growBy(growBy), defaultValue(defaultValue) {}
    IntArray(const IntArray&) = delete;
    IntArray& operator=(const IntArray&) = delete;
    ~IntArray() { delete[] items; }

    int16_t Count() const { return count; }
    int16_t Capacity() const { return capacity; }
    // The value at i, or the default for an invalid index.
    int32_t At(int i) const { return i >= 0 && i < count ? items[i] : defaultValue; }
    void SetAt(int i, int32_t value)
    {
        if (i >= 0 && i < count)
            items[i] = value;
    }

    // Inserts before index i (outside 0..count means the end); false when the array is full (32767 items)
    // or memory runs out.
    bool InsertAt(int32_t value, int i)
    {
        if (count >= kMaxItems)
            return false;
        if (i < 0 || i > count)
            i = count;
        if (count == capacity && !SetCapacity(capacity + (growBy > 0 ? growBy : 1)))
            return false;
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
    void RemoveAll()
    {
        delete[] items;
        items = nullptr;
        capacity = 0;
        count = 0;
    }
    // Only grows (at most to 32767 slots); new slots receive the default. False when memory runs out.
    bool SetCapacity(int n)
    {
        if (n > kMaxItems)
            n = kMaxItems;
        if (n <= capacity)
            return true;
        auto* block = new (std::nothrow) int32_t[n];
        if (!block)
            return false;
        for (int i = 0; i < n; ++i)
            block[i] = i < capacity ? items[i] : defaultValue;
        delete[] items;
        items = block;
        capacity = static_cast<int16_t>(n);
        return true;
    }

private:
    int32_t* items = nullptr;
    int16_t capacity = 0;
    int16_t count = 0;
    int16_t growBy;
    int32_t defaultValue;
};
