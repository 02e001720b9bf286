#pragma once
// A node of a decision tree: its texts, the probability formula of the branch into it, up to four payoff
// formulas, variable bindings, clone state and the results of the last roll back. A plain record: the
// window owns the root, every node owns its children and points back to its parent and its window.

#include "foundation/ValueTriple.h"
#include "formula/Expression.h"
#include "formula/NameResolution.h"
#include "foundation/zString.h"
#include "model/NodeChildList.h"
#include "model/NodeGeometry.h"
#include "model/NodeLinkBlock.h"
#include "model/PayoffSlots.h"

#include <cstdint>
#include <memory>

class ResultCellList;
class FontRecord;
class MarkovBindingList;
class NodeComment;
class TreeDocument;
class VariableDefinition;
class VariableDefList;
struct MarkovInfo;

enum NodeKind : int32_t {
    ChanceNode = 1,
    DecisionNode = 2,
    TerminalNode = 3,
    MarkovNode = 4,
    ReversedDecisionNode = 5,
    LogicNode = 6,
    LabelNode = 7,
    // An end of a prepared table's tree that is no row of the table: drawn as a line.
    TerminalLineNode = 8,
};

enum CloneStatus : int32_t { NotCloned = 0, CloneMasterNode = 1, CloneCopyNode = 2 };

struct TreeNode {
    explicit TreeNode(TreeDocument* document = nullptr);
    // Deep copy of the node (and, with withChildren, of its subtree); clone state, results, links and the
    // optimal list are not copied. Bindings are made known to the copy's window. Without
    // cloneCopyContents, the children of clone copies are left out (the tree clipboard's copy).
    TreeNode(const TreeNode& source, bool withChildren, bool cloneCopyContents = true);
    TreeNode(const TreeNode&) = delete;
    TreeNode& operator=(const TreeNode&) = delete;
    // Releases the node's link ids and destroys its subtree (iteratively, so deep chains are safe).
    ~TreeNode();

    // The defaults shared by both constructors.
    void Reset();

    // Children; each keeps child count, parent and window consistent.
    TreeNode* GetChild(int i) const { return children->At(i); }
    int IndexOfChild(const TreeNode* child) const { return children->IndexOf(child); }
    // The most branches a node can have.
    static constexpr int kMaxChildren = PtrArray::kMaxItems;
    // i < 0 appends. False, with nothing changed, when the node has no room for another branch (the caller
    // keeps the child).
    [[nodiscard]] bool InsertChild(TreeNode* child, int i);
    // The same where the caller knows there is room (a copy of a node, a branch put back where it was, a
    // count checked before): a full node is then a fault of the program and throws std::length_error.
    void InsertChildOrThrow(TreeNode* child, int i);
    // True when count more branches fit under the node; otherwise an error box says that they do not.
    bool CheckRoomForChildren(int count) const;
    void RemoveChild(TreeNode* child);
    void ClearChildren();
    // The caller knows the destination has room for them (throws std::length_error otherwise).
    void MoveChildrenTo(TreeNode* destination, int i);
    TreeNode* NextSibling() const;
    TreeNode* PrevSibling() const;
    bool IsDescendantOf(const TreeNode* ancestor) const;
    int Depth() const;
    TreeNode* GetTreeRoot() const;
    void SetDocument(TreeDocument* newDocument)
    {
        InvalidateNameResolution();
        document = newDocument;
    }
    // The node's formulas or children changed: when the node is in its document's tree, the results of the
    // last roll back are stale and the document's rolled-back state ends.
    void ModelChanged();
    // Keyboard order; flag bit 0 descends into Markov nodes, bit 1 into clone copies.
    TreeNode* NextNode(int flags) const;
    bool IsInCollapsedSubtree() const;
    TreeNode* TopCollapsedAncestor();
    bool ChildrenShown() const;
    // The largest layout column over the node and its shown descendants (level is the node's own column).
    void MaxShownColumn(int level, int& out) const;

    // Field setters: with alsoInCopies the change is repeated at the node's counterpart in every clone copy.
    void SetText(const char* newText, bool alsoInCopies);
    void SetText2(const char* newText, bool alsoInCopies);
    void GetProbabilityText(zString& out) const { out = probability.Text(); }
    // Blanks around a lone "#" are dropped; the cached parse tree is dropped.
    void SetProbabilityText(const char* newText, bool alsoInCopies);
    // The probability as kept elsewhere, text and cached parse tree alike (an undo step giving it back).
    void SetProbability(const Expression& kept, bool alsoInCopies);
    bool IsProbabilityEmpty() const { return probability.IsEmpty(); }
    bool ProbabilityIsComplement() const;
    void SetPayoffText(const char* newText, int i, bool alsoInCopies);
    void GetPayoffText(zString& out, int i);
    void SetKind(int newKind, bool alsoInCopies);
    void PushColumnShift(bool alsoInCopies);
    void PopColumnShift(bool alsoInCopies);
    void SetSideBlockPair(const int32_t pair[2], bool alsoInCopies);
    // Where the roll-back box was dragged from its place (inches).
    void SetRollBackBoxOffset(float dx, float dy, bool alsoInCopies);
    // Font overrides of the node's texts: the node keeps its own copy of the record; null means the default.
    void SetFont0(const FontRecord* record, bool alsoInCopies) { SetFont(0, record, alsoInCopies); }
    void SetFont1(const FontRecord* record, bool alsoInCopies) { SetFont(1, record, alsoInCopies); }
    void SetFont2(const FontRecord* record, bool alsoInCopies) { SetFont(2, record, alsoInCopies); }
    void SetFont(int i, const FontRecord* record, bool alsoInCopies);
    // The node's comment, made from its children on first use.
    NodeComment* GetExtraList();
    // No comment, or every record of it empty.
    bool ExtraListEmpty() const;

    // The name, or (not whole) its first line with "..." when more lines follow.
    void GetDisplayText(zString& out, bool whole) const;
    // The name on one line; cut to n characters plus "..." when it had line breaks and is longer than n.
    void GetShortText(zString& out, int n) const;
    // The limits of the stored node record: texts shorter than these lengths, fewer bindings than this.
    static constexpr uint32_t kMaxNameLength = 800;
    static constexpr uint32_t kMaxText2Length = 500;
    static constexpr int kMaxBindings = 2000;  // not a resource id: a count
    bool IsValid() const;

    // Bindings.
    int BindingCount() const;
    VariableDefinition* GetBinding(int i) const;
    VariableDefinition* FindBinding(const char* name, bool alreadyUpper) const;
    VariableDefinition* FindBindingByText(const char* text, bool alreadyUpper) const;
    VariableDefinition* SetBinding(const char* name, const char* formulaText, bool propagate);
    void RemoveBinding(const char* name, bool deep, bool propagate);
    void RenameBindingInSubtree(const char* oldName, const char* newName);
    void CopyBindingsTo(TreeNode* destination, bool replace);
    bool LastBindingIsBraced() const;
    bool EvaluateBracedBindings();

    // Clones.
    bool IsInCloneMaster() const;
    bool IsInCloneCopy() const;
    TreeNode* CloneCopyRoot();
    bool ContainsCloneMaster() const;
    void RemoveCloneCopiesOf(int id);
    void ClearCloneCopy();

    // Link ids (0 without a block): 0 path probability, 1 standard deviation, 2 expected value.
    int GetLinkId0() const { return linkBlock ? linkBlock->linkIds[0] : 0; }
    int GetLinkId1() const { return linkBlock ? linkBlock->linkIds[1] : 0; }
    int GetLinkId2() const { return linkBlock ? linkBlock->linkIds[2] : 0; }
    void SetLinkId0(int id) { EnsureLinkBlock()->linkIds[0] = static_cast<uint16_t>(id); }
    void SetLinkId1(int id) { EnsureLinkBlock()->linkIds[1] = static_cast<uint16_t>(id); }
    void SetLinkId2(int id) { EnsureLinkBlock()->linkIds[2] = static_cast<uint16_t>(id); }
    void ClearLinkId(int id);
    NodeLinkBlock* EnsureLinkBlock();

    bool IsTerminal() const { return kind == TerminalNode; }
    bool IsEndNode() const { return kind == TerminalNode || kind == MarkovNode; }
    bool IsDecision() const { return kind == DecisionNode || kind == ReversedDecisionNode; }
    // Parents whose children carry meaningful branch probabilities.
    bool HasBranchProbabilities() const { return kind == ChanceNode || kind == MarkovNode || kind == LogicNode; }
    // The optimal list, created empty on first use.
    NodeChildList* EnsureOptimalList();
    // Exactly n result cells: the list is made when missing, empty cells appended or the last ones deleted.
    void ResizeResultCells(int n);

    // Markov settings (MarkovInfo*.cpp). A negative payoff index means the window's current payoff; reward
    // kinds are 0 initial, 1 incremental, 2 final.
    MarkovInfo* EnsureMarkovInfo();
    MarkovBindingList* MarkovBindings();
    TreeNode* FindMarkovNode() const;
    bool IsInMarkovSubtree() const;
    TreeNode* FindMarkovState() const;
    // An empty reward reads as "0" and is stored as "0"; "0" without a Markov record.
    void GetMarkovRewardText(int rewardKind, zString& out, int payoffIndex);
    void GetMarkovTerminationText(zString& out, int payoffIndex) const;
    void GetMarkovSharedTermination(zString& out) const;
    void GetMarkovTransitionReward(zString& out, int payoffIndex) const;
    Expression* MarkovRewardExpr(int rewardKind, int payoffIndex);
    Expression* MarkovTerminationExpr(int payoffIndex);
    Expression* MarkovSharedTerminationExpr();
    Expression* MarkovTransitionRewardExpr(int payoffIndex);
    // Text setters drop the parse tree and copy the whole expression into every clone counterpart.
    void SetMarkovRewardText(int rewardKind, const char* newText, int payoffIndex);
    void SetMarkovTerminationText(const char* newText, int payoffIndex);
    void SetMarkovSharedTermination(const char* newText);
    void SetMarkovTransitionReward(const char* newText, int payoffIndex);
    void SetMarkovRewardExpr(int rewardKind, const Expression& expr, int payoffIndex, bool propagate);
    void SetMarkovTerminationExpr(const Expression& expr, int payoffIndex, bool propagate);
    void SetMarkovSharedTerminationExpr(const Expression& expr, bool propagate);
    void SetMarkovTransitionRewardExpr(const Expression& expr, int payoffIndex, bool propagate);
    void SetMarkovTunnelCount(int count, bool propagate);
    void SetMarkovJumpState(const char* name, bool propagate);
    // 1-based index of the state (of the Markov node above) that the name designates, following "=" names
    // through Markov bindings; 0 when none.
    int FindStateIndexByName(const char* name) const;
    // A state's text changed: bindings and jump names that referred to the old text follow it.
    void UpdateMarkovStateBindings(const char* oldText, const char* newText);

    zString text;
    zString text2;
    Expression probability;
    std::unique_ptr<VariableDefList> bindings;
    TreeNode* parent = nullptr;
    uint8_t markovRunFlag = 0;
    uint8_t columnShift = 0;
    uint8_t collapsed = 0;
    uint8_t displayFlag = 1;
    TreeDocument* document = nullptr;
    // Payoff formulas 0 to 3, made on first use (only terminal nodes need them).
    Expression& Payoff(int i);
    // An empty formula when the node has none.
    const Expression& Payoff(int i) const;
    bool HasPayoffs() const { return payoffs.HasAny(); }
    PayoffSlots payoffs;
    std::unique_ptr<NodeChildList> children;
    // What a roll back reads and stores in every node lies together, so that a large tree's nodes are each
    // reached through as few cache lines as may be.
    ValueTriple triple;  // cost, effectiveness, expected value
    double value = 0.0;
    double branchProbability = 0.0;
    int32_t kind = ChanceNode;
    int16_t childCount = 0;
    // Children the foreign format hides in the display (its own count, kept apart from collapsed).
    uint8_t hiddenChildren = 0;
    std::unique_ptr<NodeChildList> optimal;
    int32_t cloneStatus = NotCloned;
    int16_t cloneId = -1;
    int16_t terminalNumber = 0;
    int32_t layoutLevel = 0;  // the layout value that copies keep
    std::unique_ptr<NodeLinkBlock> linkBlock;
    std::unique_ptr<MarkovBindingList> markovBindings;  // null when none
    std::unique_ptr<ResultCellList> resultCells;  // the row of result boxes; null until first laid out
    std::unique_ptr<FontRecord> fonts[3];  // font overrides, null for the default
    std::unique_ptr<NodeComment> comment;  // null until first used
    std::unique_ptr<MarkovInfo> markovInfo;  // null when none
    // Where the node is drawn, made on first use: only a laid-out tree needs it, so a tree built and
    // analysed without a window stays small.
    NodeGeometry& Geometry();
    // The empty geometry for a node never measured or laid out.
    const NodeGeometry& Geometry() const;
    std::unique_ptr<NodeGeometry> geometry;  // null until laid out

    double& ExpectedValue() { return triple.value; }
    double ExpectedValue() const { return triple.value; }
};

// The payoff text of field i of the node's display text split at backslashes; false when it has fewer fields.
bool PayoffFromNodeName(const TreeNode* node, zString& out, int i);

// How a message names a node the person is to find: a named node as `namedAs "<name>"` (`node "Treatment"`);
// one without a name by its kind and place, as `the unnamed chance node on branch 2 under "Treatment"` (the
// branch when its parent has several; an unnamed parent described the same way, up to "the unnamed root
// node"). The article is "The" when namedAs starts a sentence with it ("The node").
zString NodeMention(const TreeNode& node, const char* namedAs = "node");
