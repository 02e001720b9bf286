#pragma once
// The node records of a native tree file and of a roll-back snapshot: one record per node in pre-order, a
// node's record followed directly by its children's. The field table sits above the reader and the writer
// in TreeNodeRecords.cpp.

#include <cstdint>
#include <vector>

class Archive;
class Distribution;
class zString;
struct TreeNode;

// The form of a stream's node records: a snapshot's records also carry the roll-back results.
enum class RecordForm { Plain, Snapshot };

// Format errors of the node records.
enum NodeRecordError : uint32_t {
    NodeRecordInvalidNode = 16,  // node not valid after its children; optimal index naming no child
    NodeRecordBadKind = 17,      // kind outside 0 to 15, or damage within the first ten fields
    NodeRecordBadPayoffCount = 18,
    NodeRecordBadColumnShift = 19,
    NodeRecordBadMarkovSelector = 20,
    NodeRecordBadChildCount = 21,  // child count outside 0 to 1000, or damage by the end of the record
};

// What a node record says beyond the node's own fields: how many child records follow and, in a snapshot,
// which of them are optimal.
struct NodeRecordTail {
    int childCount = 0;
    std::vector<int16_t> optimalIndexes;
};

// Reads the record of the node (without its children) into the node. Never throws; a failure leaves a
// format error in the archive and the node filled as far as it was read.
void ReadNodeRecord(TreeNode* node, Archive& archive, NodeRecordTail& tail, RecordForm form);
// Reads the node's record and its children's records. Does nothing when the archive is storing or has a
// stream state or a format error. Child nodes are bound to the node's window.
void ReadTreeNode(TreeNode* node, Archive& archive, RecordForm form = RecordForm::Plain);

// The record keeps each link id in one byte.
constexpr int kMaxStoredLinkId = 255;
// True when every parameter of the distribution fits an expression's stored form.
bool DistributionFitsStoredForm(const Distribution* distribution);
// The first limit of the node record that the node exceeds, as the end of a sentence ("its name is longer
// than 799 characters"), or null when the reader accepts the node's record.
const char* ExceededRecordLimit(const TreeNode* node);
// True when every record of the node's subtree is within the reader's limits; else false with the message
// that names the first node beyond a limit, after the lead. A save checks this before it opens the user's
// file.
bool CheckNodesStorable(const TreeNode* node, zString& message, const char* lead = "The tree cannot be saved: ");

// Writes the node's record (without its children) with the current version record.
void WriteNodeRecord(const TreeNode* node, Archive& archive, RecordForm form = RecordForm::Plain);
// Writes the records of the node and its subtree (the contents of clone copies too). Does nothing and
// returns false when the archive is loading or has failed; a subtree that CheckNodesStorable refuses is
// not written at all: the archive gets format error 16 and message (when given) the refusal.
bool WriteTreeNode(const TreeNode* node, Archive& archive, zString* message = nullptr,
                   RecordForm form = RecordForm::Plain);
