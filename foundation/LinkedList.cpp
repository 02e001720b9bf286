#include "foundation/LinkedList.h"

#include "foundation/Archive.h"
#include "foundation/ObjectSequence.h"
#include "foundation/Storable.h"

#include <new>

ListNode* ListAlloc() { return new (std::nothrow) ListNode; }

void ListFree(ListNode* node) { delete node; }

void ListNode::Link(ListNode** position)
{
    next = *position;
    *position = this;
    backLink = position;
    next->backLink = &next;
    pins = 0;
}

void ListNode::Unlink()
{
    *backLink = next;
    next->backLink = backLink;
}

LinkedList::LinkedList()
{
    head.next = &head;
    head.backLink = &head.next;
}

LinkedList::~LinkedList()
{
    ListNode* node = head.next;
    while (node != &head) {
        ListNode* following = node->next;
        ListFree(node);
        node = following;
    }
}

bool LinkedList::Append(void* item)
{
    ListNode* node = ListAlloc();
    if (!node)
        return false;
    node->item = item;
    node->Link(head.backLink);
    return true;
}

bool LinkedList::Prepend(void* item)
{
    ListNode* node = ListAlloc();
    if (!node)
        return false;
    node->item = item;
    node->Link(&head.next);
    return true;
}

void LinkedList::Discard(ListNode* node)
{
    node->removed = true;
    if (node->pins == 0) {
        node->Unlink();
        ListFree(node);
    }
}

bool LinkedList::Remove(void* item)
{
    for (ListNode* node = head.next; node != &head; node = node->next) {
        if (!node->removed && node->item == item) {
            Discard(node);
            return true;
        }
    }
    return false;
}

void LinkedList::RemoveAll()
{
    ListNode* node = head.next;
    while (node != &head) {
        ListNode* following = node->next;
        if (!node->removed)
            Discard(node);
        node = following;
    }
}

bool LinkedList::Contains(const void* item) const
{
    for (const ListNode* node = head.next; node != &head; node = node->next)
        if (!node->removed && node->item == item)
            return true;
    return false;
}

uint32_t LinkedList::Count() const
{
    uint32_t live = 0;
    for (const ListNode* node = head.next; node != &head; node = node->next)
        if (!node->removed)
            ++live;
    return live;
}

void* LinkedList::First() const
{
    for (const ListNode* node = head.next; node != &head; node = node->next)
        if (!node->removed)
            return node->item;
    return nullptr;
}

void LinkedList::Serialize(Archive& archive)
{
    if (archive.IsStoring()) {
        archive.WriteLong(static_cast<int32_t>(Count()));
        for (ListNode* node = head.next; node != &head; node = node->next)
            if (!node->removed)
                archive.WriteObject(static_cast<zStorable*>(node->item));
        return;
    }
    ReadObjectSequence(archive, [this](zStorable* object) { return Append(object); });
}

void* ListIterator::Next()
{
    ListNode* const headNode = list->Head();
    ListNode* node = current;
    if (!node) {
        node = headNode;
        ++node->pins;
    }
    for (;;) {
        --node->pins;
        ListNode* following = node->next;
        if (node->removed && node->pins == 0) {
            node->Unlink();
            ListFree(node);
        }
        node = following;
        ++node->pins;
        if (!node->removed)
            break;
    }
    current = node;
    return node == headNode ? nullptr : node->item;
}

void* ListIterator::Current() const
{
    return current && current != list->Head() && !current->removed ? current->item : nullptr;
}

void ListIterator::RemoveCurrent()
{
    if (current && current != list->Head())
        current->removed = true;
}

void ListIterator::Release()
{
    if (!current)
        return;
    --current->pins;
    if (current->removed && current->pins == 0) {
        current->Unlink();
        ListFree(current);
    }
    current = nullptr;
}
