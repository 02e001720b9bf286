#pragma once
// Growable array of plain values with 16-bit capacity and count; slots above the count hold the default.
// The block of IntArray and PairArray.

#include <cstdint>
#include <new>

template <typename T>
class ValueArray {
public:
    static constexpr int16_t kMaxItems = 32767;

    ValueArray(int16_t growBy, T defaultValue) : growBy(growBy), defaultValue(defaultValue) {}
    ValueArray(const ValueArray&) = delete;
    ValueArray& operator=(const ValueArray&) = delete;
    ~ValueArray() { delete[] items; }

    int16_t Count() const { return count; }
    int16_t Capacity() const { return capacity; }
    // The value at i, or the default for an invalid index.
    T At(int i) const { return i >= 0 && i < count ? items[i] : defaultValue; }

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
        auto* block = new (std::nothrow) T[n];
        if (!block)
            return false;
        for (int i = 0; i < n; ++i)
            block[i] = i < capacity ? items[i] : defaultValue;
        delete[] items;
        items = block;
        capacity = static_cast<int16_t>(n);
        return true;
    }

protected:
    // Makes room for one more item; false when the array is full (32767 items) or memory runs out.
    bool MakeRoom()
    {
        if (count >= kMaxItems)
            return false;
        return count < capacity || SetCapacity(capacity + (growBy > 0 ? growBy : 1));
    }

    T* items = nullptr;
    int16_t capacity = 0;
    int16_t count = 0;
    int16_t growBy;
    T defaultValue;
};
