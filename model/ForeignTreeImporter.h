#pragma once
// Importer of the binary tree files of another decision-tree program: big-endian numbers, length-prefixed
// strings in an 8-bit character set of its own, an optional 152-byte file header with the tags "EGO!" and
// "TREE", and a linked payoffs file (".pay") of variable definitions. Every read is bounded by the stream:
// a truncated or damaged file ends in an archive error, never in a read past the data or an endless loop.

#include <cstdint>
#include <string>

class Archive;
class TreeDocument;
struct TreeNode;

// Format variants; only used as gates.
enum ForeignVersion : int {
    ForeignVersion100 = 0x100,
    ForeignVersion200 = 0x200,
    ForeignVersion205 = 0x205,
    ForeignVersion206 = 0x206,
};

// The format error of a damaged foreign file (prefix values, kinds, counts).
constexpr uint32_t kForeignFormatError = 28;
constexpr long kForeignHeaderSize = 152;

// The character map of converted strings: accented letters to plain ones, typographic marks to ASCII.
char MapForeignChar(uint8_t c);
void MapForeignText(std::string& text);

// True when the stream is good and its first 20 bytes are 16-bit 0, 32-bit 0, 16 bits, "EGO!" (or reversed),
// two 16-bit values, "TREE" (or reversed). Reads from the current position.
bool HasForeignHeader(Archive& archive);
// True for a foreign file: with the header; otherwise not when the first 16-bit value is a native byte-order
// mark (0x0022, 0x2200) or the first 14 bytes hold an older text node mark; else when the border code (byte
// 12) is 1, 7 or 20 in absolute value. The stream is put back to its start.
bool IsForeignTreeFile(Archive& archive);
// Reads the whole file into the window: settings, risk preference, variables, note boxes, the tree (which
// replaces the window's root), clone masters and the linked payoffs file. False when the archive reports
// an error; the archive then carries it.
bool ImportForeignTree(Archive& archive, TreeDocument* document);
// Reads one node record into `node` and then its whole subtree (depth first with an explicit stack, so a
// deeply nested file cannot exhaust the call stack). False at the first archive error.
bool ReadForeignNode(Archive& archive, TreeNode* node, TreeDocument* document, int version);
// Follows a clone-master path of the foreign format from the root (not a node path of this program): 'b' to the first child, 'n' to the next sibling, other characters skipped.
TreeNode* FindForeignNodeByPath(TreeNode* root, const char* path);
// Reads a payoffs file into the window's root bindings and variables. False, with an error box, when the file
// ends before its end mark.
bool ReadForeignPayoffsFile(Archive& archive, TreeDocument* document, const char* name);
