#pragma once
// The per-branch records of a node comment: each names the branch (the child's name when the comment was
// written) and holds the comment text for it.

#include "foundation/PtrArray.h"
#include "foundation/zString.h"

class Archive;
struct TreeNode;

class BranchName {
public:
    static constexpr int16_t kMark = 213;

    // Filled from a child (its whole name, line ends as "\n", empty comment), or empty without one.
    explicit BranchName(const TreeNode* child = nullptr);

    // Empty when the comment text is empty.
    bool IsEmpty() const { return comment.IsEmpty(); }
    // The record's name and the child's name, both upper-cased, are equal.
    bool NameMatches(const TreeNode* child) const;
    void Assign(const BranchName& source);

    // Stored form:
    //   version record   3 bytes (the current one when storing)
    //   mark 213         2 bytes; another value read sets format error 35
    //   name             stored string
    //   comment          stored string
    void Serialize(Archive& archive);

    zString name;
    zString comment;
};

// The branch name of a child: its whole name with "\r\n" and lone "\r" written as "\n".
void BranchNameOf(const TreeNode* child, zString& out);

class BranchNameList : public PtrArray {
public:
    BranchNameList() : PtrArray(4, true) {}
    ~BranchNameList() override { Clear(); }

    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;

    BranchName* At(int i) const { return static_cast<BranchName*>(PtrArray::At(i)); }
    bool AllEmpty() const;
    // True when all records are empty; false when the count differs from the child count; otherwise true
    // when every record's name matches the child at the same position.
    bool MatchesChildren(const TreeNode* node) const;
    // Adds empty records or drops records from the end until there is one per child, then renames each
    // after its child (comment texts stay by position).
    void ExtendToChildren(const TreeNode* node);
};
