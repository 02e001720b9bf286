#pragma once
// Doubly linked list of item pointers, circular through a sentinel head. Iterators pin the node they stand
// on, so the node of the current item may be removed while it is being walked: it is marked removed and
// stays linked until the last iterator leaves it, which then unlinks and frees it. The list does not own
// its items.

#include <cstdint>

class Archive;

struct ListNode {
    ListNode* next = nullptr;
    ListNode** backLink = nullptr;  // the field that points at this node: the previous node's next, or the head's
    uint16_t pins = 0;              // iterators standing on the node
    void* item = nullptr;
    bool removed = false;

    // Links the node at `position` (a next field): it takes the place of the node there.
    void Link(ListNode** position);
    void Unlink();
};

// Node memory (plain heap blocks).
ListNode* ListAlloc();
void ListFree(ListNode* node);

class LinkedList {
public:
    LinkedList();
    LinkedList(const LinkedList&) = delete;
    LinkedList& operator=(const LinkedList&) = delete;
    // Frees every node (not the items); iterators must have been released first.
    virtual ~LinkedList();

    // Stored form: the number of live items (4 bytes), then each item as an object reference; the items
    // must then be zStorable objects. Loading appends the objects read.
    virtual void Serialize(Archive& archive);

    // Appends an item; false when no node could be made.
    bool Append(void* item);
    bool Prepend(void* item);
    // Removes the first live node holding the item (freed at once unless an iterator stands on it).
    bool Remove(void* item);
    // Removes every item (nodes that iterators stand on are freed when they leave).
    void RemoveAll();
    bool Contains(const void* item) const;
    // Live items.
    uint32_t Count() const;
    bool IsEmpty() const { return Count() == 0; }
    // The first live item, or null.
    void* First() const;

    ListNode* Head() { return &head; }

private:
    // Marks the node removed and frees it unless pinned.
    void Discard(ListNode* node);

    ListNode head;
};

class ListIterator {
public:
    explicit ListIterator(LinkedList& list) : list(&list) {}
    ListIterator(const ListIterator&) = delete;
    ListIterator& operator=(const ListIterator&) = delete;
    ~ListIterator() { Release(); }

    // The next live item, or null when the walk reached the end; a further call starts again at the first.
    void* Next();
    // The item the iterator stands on, or null.
    void* Current() const;
    // Marks the current node removed; it is unlinked and freed when the last iterator leaves it.
    void RemoveCurrent();
    // Leaves the current node (freeing it when it is removed and no longer pinned).
    void Release();
    // As Release, then the walk starts again.
    void Reset() { Release(); }

private:
    ListNode* current = nullptr;
    LinkedList* list;
};
