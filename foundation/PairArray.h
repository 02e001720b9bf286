#pragma once
// Growable array of pairs of 32-bit values with 16-bit capacity and count; slots above the count hold the
// default pair.

#include <cstdint>
#include <new>

struct IntPair {
    int32_t first;
    int32_t second;
};

class PairArray {
public:
    static constexpr int16_t kMaxItems = 32767;

    explicit PairArray(int16_t growBy = 4, IntPair defaultPair = {0, 0}) : growBy(growBy), defaultPair(defaultPair) {}
    PairArray(const PairArray&) = delete;
    PairArray& operator=(const PairArray&) = delete;
    ~PairArray() { delete[] items; }

    int16_t Count() const { return count; }
    int16_t Capacity() const { return capacity; }
    // The pair at i, or the default pair for an invalid index.
    IntPair At(int i) const { return i >= 0 && i < count ? items[i] : defaultPair; }

    // Appends; false when the array is full (32767 pairs) or memory runs out.
    bool Add(int32_t a, int32_t b)
    {
        if (count >= kMaxItems)
            return false;
        if (count == capacity && !SetCapacity(capacity + (growBy > 0 ? growBy : 1)))
            return false;
        items[count++] = IntPair{a, b};
        return true;
    }
    void RemoveAll()
    {
        delete[] items;
        items = nullptr;
        capacity = 0;
        count = 0;
    }
    // Only grows (at most to 32767 slots); new slots receive the default pair.
    bool SetCapacity(int n)
    {
        if (n > kMaxItems)
            n = kMaxItems;
        if (n <= capacity)
            return true;
        auto* block = new (std::nothrow) IntPair[n];
        if (!block)
            return false;
        for (int i = 0; i < n; ++i)
            block[i] = i < capacity ? items[i] : defaultPair;
        delete[] items;
        items = block;
        capacity = static_cast<int16_t>(n);
        return true;
    }

private:
    IntPair* items = nullptr;
    int16_t capacity = 0;
    int16_t count = 0;
    int16_t growBy;
    IntPair defaultPair;
};
