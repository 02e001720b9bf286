#pragma once
// A node's comment: one record per branch, plus the settings of the comment window (six values and a font)
// that are kept and stored here only.

#include "foundation/FontRecord.h"
#include "model/BranchNameList.h"

#include <cstdint>

class Archive;
struct TreeNode;

class NodeComment {
public:
    static constexpr uint32_t kFormatError = 35;

    // No records, values 0, the default font.
    NodeComment() = default;
    // One empty record per child of node; the font from the node's first font override or, without one,
    // the tree window's comment font (the default font without a window).
    explicit NodeComment(const TreeNode* node);
    NodeComment(const NodeComment&) = delete;
    NodeComment& operator=(const NodeComment&) = delete;

    // Copies the records, the four values and the font.
    void Assign(const NodeComment& other);
    bool AllEmpty() const { return branches.AllEmpty(); }
    // The comment window's rectangle when it was last closed (logical units, held in the four values as
    // floats); false when none was saved (the four are all equal).
    bool WindowRect(float rect[4]) const;
    void SetWindowRect(const float rect[4]);

    // Stored form (nothing while the archive has a format error):
    //   version record   3 bytes
    //   branches         the list's stored form (count and records)
    //   values[4]        4 x 4 bytes
    //   font             font record
    //   extra[2]         2 x 4 bytes
    void Serialize(Archive& archive);

    BranchNameList branches;
    int32_t values[4] = {0, 0, 0, 0};
    int32_t extra[2] = {0, 0};
    FontRecord font;
};
