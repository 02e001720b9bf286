#pragma once
// The stored form of a parse tree, one node after the other, depth first:
//   16-bit word        256 + type code (the node-format version 1 in the high byte)
//   the node's fields  as its class writes them (ParseNode::Write)
// An unknown type code, a node nested deeper than any parse can build, or a stream that ends inside a
// node yields no node and records format error 26 (the rest of the stream cannot be trusted).

class Archive;
class ParseNode;

// Nesting depth of stored trees that readers accept; the parser never builds deeper trees.
constexpr int kMaxStoredTreeDepth = 10000;

// True when the reader takes the tree back: no node nested deeper than it reads, no argument list longer
// than its 16-bit count.
bool TreeFitsStoredForm(const ParseNode& root);

void WriteParseNode(Archive& archive, const ParseNode& node);
// A new node read from the archive, or null.
ParseNode* ReadParseNode(Archive& archive);

// An optional operand: a 16-bit flag (1 when the node exists), then the node.
void WriteOptionalNode(Archive& archive, const ParseNode* node);
ParseNode* ReadOptionalNode(Archive& archive);
