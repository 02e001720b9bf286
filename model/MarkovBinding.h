#pragma once
// A Markov binding: a user name under which a terminal's jump name ("=" and the user name) points to a
// state text. A node's bindings form a MarkovBindingList, created on demand by TreeNode::MarkovBindings.

#include "foundation/PtrArray.h"
#include "foundation/zString.h"

class Archive;

class MarkovBinding {
public:
    MarkovBinding() = default;
    MarkovBinding(const char* targetText, const char* userNameText);

    void SetTarget(const char* text);
    void SetUserName(const char* text);
    void Assign(const MarkovBinding& source);

    // Stored form: the four texts in field order, each a stored string.
    void Serialize(Archive& archive);

    zString target;
    zString upperTarget;
    zString userName;
    zString upperUserName;
};

// Owning list of Markov bindings, grow step 4.
class MarkovBindingList : public PtrArray {
public:
    MarkovBindingList() : PtrArray(4, true) {}
    ~MarkovBindingList() override { Clear(); }

    void StoreItem(Archive& archive, void* item) override;
    void* LoadItem(Archive& archive) override;
    void* CloneItem(void* item) override;
    void DeleteItem(void* item) override;

    MarkovBinding* At(int i) const { return static_cast<MarkovBinding*>(PtrArray::At(i)); }
    // The first binding whose upper-cased user name equals the given upper-case text, or null.
    MarkovBinding* FindUserName(const char* upperName) const;
    // A copy of every binding of the source (the list is emptied first).
    void Assign(const MarkovBindingList& source);
};
