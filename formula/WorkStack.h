#pragma once
// A stack of plain values that holds its first entries in place and moves to the heap only when it outgrows
// them. Walks over parse trees keep their pending nodes on one, so a tree of any depth costs no native stack
// and a small tree no allocation.

#include <memory>

template <typename T, int InPlace>
class WorkStack {
public:
    WorkStack() = default;
    WorkStack(const WorkStack&) = delete;
    WorkStack& operator=(const WorkStack&) = delete;

    bool Empty() const { return size == 0; }
    T& Top() { return items[size - 1]; }
    void Push(const T& item)
    {
        if (size == capacity)
            Grow();
        items[size++] = item;
    }
    T Pop() { return items[--size]; }
    // The last `count` entries, in the order pushed.
    T* Last(int count) { return items + size - count; }
    void Drop(int count) { size -= count; }

private:
    void Grow()
    {
        std::unique_ptr<T[]> larger(new T[capacity * 2]);
        for (int i = 0; i < size; ++i)
            larger[i] = items[i];
        heap = std::move(larger);
        items = heap.get();
        capacity *= 2;
    }

    T inPlace[InPlace];
    std::unique_ptr<T[]> heap;
    T* items = inPlace;
    int size = 0;
    int capacity = InPlace;
};
