#pragma once
// References to nodes that survive storing and loading: each keeps an id, a name and the node, stored as
// the node's absolute path from the root and resolved again after loading.

#include "foundation/PtrArray.h"
#include "foundation/zString.h"

#include <cstdint>

class Archive;
class TreeDocument;
struct TreeNode;

struct NodeRef {
    NodeRef() = default;
    NodeRef(const NodeRef&) = delete;
    NodeRef& operator=(const NodeRef&) = delete;
    ~NodeRef() { delete loadedPath; }

    // Stored form:
    //   version record   3 bytes
    //   id               16 bits
    //   path             stored string, the node's absolute path from the root
    //   name             stored string
    //   end mark 229     16 bits, from 2.6.0 on when loading; another value sets format error 36
    void Serialize(Archive& archive);
    // Finds the node of the loaded path from the window's root and frees the path.
    void Resolve(TreeDocument* document);

    int16_t id = -1;
    int16_t extra = 0;
    TreeNode* node = nullptr;
    zString name;
    zString* loadedPath = nullptr;  // between loading and resolving
};

constexpr int16_t kNodeRefEndMark = 229;
constexpr uint32_t kNodeRefFormatError = 36;

class NodeRefList : public PtrArray {
public:
    explicit NodeRefList(int16_t growBy = 2, bool ownsItems = true) : PtrArray(growBy, ownsItems) {}
    ~NodeRefList() override { Clear(); }

    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;

    NodeRef* At(int i) const { return static_cast<NodeRef*>(PtrArray::At(i)); }
    // Inserts before the first item whose id is not below ref's; returns the position.
    int InsertSorted(NodeRef* ref);
    NodeRef* FindId(int id) const;
};
