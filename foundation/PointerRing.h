#pragma once
// Circular singly linked list of pointers: the tail's next is the first node; an empty ring has no tail.
// The ring does not own the objects it points to.

#include <cstdint>

class Archive;

class PointerRing {
public:
    struct Node {
        Node* next;
        void* item;
    };

    PointerRing() = default;
    PointerRing(const PointerRing&) = delete;
    PointerRing& operator=(const PointerRing&) = delete;
    // Frees the nodes, not the objects they point to.
    virtual ~PointerRing();

    // Stored form: the count (4 bytes), then each pointer as an object reference (the items must then be
    // zStorable objects); loading pushes back each object read.
    virtual void Serialize(Archive& archive);

    // New last item; 0 when no node could be made, else 1.
    int PushBack(void* item);
    // New first item; 0 when no node could be made, else 1.
    int PushFront(void* item);
    // Removes the first item and returns it (null when the ring is empty).
    void* PopFront();
    // The first item, null when the ring is empty.
    void* First() const { return tail ? tail->next->item : nullptr; }
    uint32_t Count() const { return count; }
    bool IsEmpty() const { return tail == nullptr; }
    Node* Tail() const { return tail; }

private:
    // Inserts a node after the tail (an empty ring's node links to itself and becomes the tail).
    Node* InsertAfterTail(void* item);

    Node* tail = nullptr;
    uint32_t count = 0;
};

// Walks a ring from its first item to its last, then yields null. The ring must not change during the walk.
class PointerRingIterator {
public:
    explicit PointerRingIterator(const PointerRing& ring) : tail(ring.Tail()), current(ring.Tail()) {}
    void* Next();

private:
    PointerRing::Node* tail;
    PointerRing::Node* current;
};
