#pragma once
// The tree document: everything a tree window holds that is not a window. It owns the root node, the
// document variables, the clone-master registry, the calculation and display preferences, the calculation
// state, the distributions, the notes, the stored analyses and the cost-effectiveness settings; every node,
// evaluation context and analysis points to it. The tree window owns one and shows it; the model and every
// analysis work on the document alone.

#include "model/RiskPrefAssessment.h"
#include "model/CESensitivitySettings.h"
#include "formula/DistributionList.h"
#include "formula/FormulaDocument.h"
#include "foundation/FontRecord.h"
#include "foundation/NumericFormat.h"
#include "foundation/zString.h"
#include "model/DocVariable.h"
#include "model/LinkItemList.h"
#include "model/NodeChildList.h"
#include "model/NodeRef.h"
#include "model/NoteBoxList.h"
#include "model/RunContext.h"
#include "formula/CalcState.h"
#include "foundation/PrinterSetupRecord.h"
#include "model/DisplayColumnList.h"
#include "model/CustomInterfaceSettings.h"
#include "model/DocumentLink.h"
#include "model/LinkSettings.h"
#include "model/TreeArrow.h"
#include "model/TreeCalcPrefs.h"
#include "model/TreeDisplayPrefs.h"
#include "model/TreeNodeRecords.h"

#include <cstdint>
#include <memory>
#include <vector>

class AnalysisRun;
class IdleWork;
class Expression;
class TreeDocumentView;
class MarkovStageRecorder;
class NoteBox;
class StoredAnalysisList;
struct StoredAnalysis;
class KnownFormulaValues;
class NodeFormulaEvaluator;
struct TreeNode;

// What a calculation's result depends on besides the values its variables hold now, as one record that
// compares equal while nothing it covers changed: the formulas of every expression, where names resolve
// (bindings, the tree's shape, nodes deleted), the tables, and the document's own count of model changes.
struct CalculationRevision {
    uint32_t formulas = 0;
    uint32_t names = 0;
    uint32_t tables = 0;
    uint32_t tableContents = 0;
    uint32_t edits = 0;

    bool operator==(const CalculationRevision& other) const
    {
        return formulas == other.formulas && names == other.names && tables == other.tables &&
               tableContents == other.tableContents && edits == other.edits;
    }
    bool operator!=(const CalculationRevision& other) const { return !(*this == other); }
};

// Whether values on the nodes are results: none, computed by a roll back in this session (which holds a
// refresh pause of the bound child windows until it ends), or read from a snapshot file.
enum class RolledBackValues : uint8_t { None, Computed, Snapshot };

class TreeDocument : public FormulaDocument, public DocumentLinkListener {
public:
    // A new tree: a fresh decision node as root, or the given tree (each of its nodes is told the document and
    // the document is marked modified).
    explicit TreeDocument(TreeNode* root = nullptr);
    TreeDocument(const TreeDocument&) = delete;
    TreeDocument& operator=(const TreeDocument&) = delete;
    ~TreeDocument() override;

    // Builds a tree from code: appends to parent a new node of the kind (TreeNode kinds) with its name,
    // branch probability formula and, when given, payoff 0 formula. Null, after an error box saying so, when
    // the parent has no room for another branch.
    TreeNode* AddChild(TreeNode* parent, int kind, const char* name, const char* probability = "",
                       const char* payoff = nullptr);

    // A context at the root for distribution parameter formulas.
    EvalContextBase* NewParameterContext() override;

    // Values on the nodes are current (the tree is rolled back or opened from a snapshot), so that they may
    // stand in for computing them; never while values are computed afresh (FreshValues).
    bool ValuesCurrent() const { return IsRolledBack() && FreshValuesScopes == 0; }
    bool IsRolledBack() const { return RolledBack != RolledBackValues::None; }
    void SetModified(int flag) { Modified = flag != 0 ? 1 : 0; }
    const zString& Title() const { return WindowTitle; }

    // Document variables.
    DocVariable* FindVariable(const char* name, bool alreadyUpper) const;
    bool HasVariable(const char* name, bool alreadyUpper) const { return FindVariable(name, alreadyUpper) != nullptr; }
    // The record of the name, made when the document does not know it yet ("{T} " makes a trial variable);
    // with a default formula the name is also bound to it at the root (the tree default).
    DocVariable* EnsureVariable(const char* name, const char* defaultFormula);
    // In the document's order: the variables written into a spreadsheet cell before a calculation (written),
    // and those, of the rest, read back from one after it (read).
    void CollectLinkedVariables(std::vector<DocVariable*>& written, std::vector<DocVariable*>& read) const;

    // Clone-master registry. Adding makes the node a master with a new id (a node already marked as master
    // keeps its own) and answers the id.
    int AddCloneMaster(TreeNode* node, const char* name);
    TreeNode* FindCloneMaster(int cloneId) const;
    // The entry's name; empty for an id without entry.
    void CloneName(int cloneId, zString& out) const;
    // An entry has exactly that name (case counts).
    bool IsCloneNameUsed(const char* name) const;
    // The entry's master becomes a plain node and the entry goes; with removeCopies every copy of it first
    // becomes a plain node without branches.
    void RemoveCloneMaster(int cloneId, bool removeCopies);
    // A new id: below the first entry (in id order) that lies at least 2 above the one before it (starting
    // at 0), else after the last: ids 1, 2, 5 give 4; only 3 gives 2; none gives 1.
    int NewCloneId() const;

    // Link items. The node's link id for the value in a link slot (NodeLinkBlock::PathProbabilityLink,
    // StandardDeviationLink, ExpectedValueLink; 0 for any other slot), made with a new link item when the node
    // has none yet.
    int LinkIdFor(TreeNode* node, int slot);
    // The link item with that id; ids below 1 give null.
    DocumentLink* FindLinkEntry(int id) const { return LinkItems.Find(id); }
    // Clears the id at the node (when given), deletes its link item and marks the document modified.
    void ReleaseLinkEntry(int id, TreeNode* node);
    // A new value text of link id: its link item keeps it and the window hands it to the clients that
    // follow the item. Nothing without a link item of that id.
    void PublishLinkValue(int id, const char* text);
    // A link that formulas read took a new value: the view refreshes what it shows.
    void LinkValueArrived(DocumentLink& link) override;

    // Inserts a note box before the index of the document's notes (appends without one); the document owns
    // it and becomes its owner.
    void AddNoteBox(NoteBox* note, int index = -1);

    // Tells the window that the variables were added, renamed or deleted.
    void VariablesChanged();

    // Calculation method rules.
    int OptimalPathDirection() const;
    bool IsMaximizing() const { return OptimalPathDirection() == 1; }
    bool IsPayoffMaximized(int payoff) const;
    int CostPayoffIndex() const;
    bool GetMultiAttrWeight(int payoff, Expression& out) const;
    bool GetMultiAttrWeight(int payoff, zString& out) const;
    // The better of a and b for the optimal path (ties give a); the direction is reversed at a node of the
    // reversed-decision kind.
    double BetterValue(const TreeNode* node, double a, double b) const;
    // The same at a node of the kind.
    double BetterValueOfKind(int32_t kind, double a, double b) const;
    // a is at least as good as b.
    bool IsBetter(const TreeNode* node, double a, double b) const;
    bool IsCostEffectiveness() const { return CalcPrefs.CalcMethod == CostEffectivenessMethod; }

    // The evaluation handle that node formulas share (made on first use).
    NodeFormulaEvaluator& FormulaEvaluator() { return sharedEvaluator ? *sharedEvaluator : MakeFormulaEvaluator(); }

    // Status-bar indicators of the tree (utility on/off, calculation method): the view is told.
    void UpdateStatusIndicators();
    // Their texts: "RISK" while the utility function is used, else empty; the method "Payoff n", "C/E, c/e"
    // (cost and effectiveness payoffs), "B-C, b-c" (benefit and cost payoffs) or "MultiAttr".
    void StatusIndicatorTexts(zString& risk, zString& method) const;

    // Analyses: the run in progress, the record of the last analysis and the stored analyses.
    // Replaces the last-analysis record, deleting the one held before; null is allowed.
    void SetStoredAnalysis(StoredAnalysis* record);
    // The first stored analysis whose name equals the given one ignoring case, or null.
    StoredAnalysis* FindStoredAnalysis(const char* name) const;
    // The stored analyses, made on first use and owned by the document.
    StoredAnalysisList& StoredAnalyses();
    // A refresh pause of the bound child windows begins / ends; SuspendChildRefresh counts the pauses.
    void PauseChildWindows();
    void ResumeChildWindows();
    // A change through the model's setters (probability, payoff, binding, Markov formula, tree shape) makes
    // the values on the nodes stale: the rolled-back state ends as the Roll Back toggle ends it.
    void ModelChanged()
    {
        ++EditCount;
        if (IsRolledBack())
            EndRolledBack();
    }
    // The revision of everything a calculation on the document reads besides the variables' current values.
    CalculationRevision Revision() const;
    // Model changes counted by ModelChanged (also for nodes outside the tree) and VariablesChanged.
    uint32_t EditCount = 0;
    // The roll back's flat form of the tree, kept for the next roll back (null when none).
    std::unique_ptr<KeptAnalysisWork> KeptRollBack;
    // The engines' pools and caches for this document.
    RunContext Runs;
    // A roll back computed the values on the nodes: the bound child windows pause until EndRolledBack
    // (one pause however often the tree is rolled back again meanwhile).
    void MarkRolledBack();
    void EndRolledBack();
    // Bound windows that keep temporary values in the tree (a slider's). While there are any, the view hears
    // before the shape of the tree changes, so that they can give the values back while their paths hold.
    int32_t TemporaryValueHolders = 0;
    // The node is about to gain, lose or reorder children (or, being the root, to be replaced). With leaving,
    // the subtree under it is about to leave the tree: the view always hears of that, so that no window
    // keeps its nodes.
    void ShapeChanging(const TreeNode* node, const TreeNode* leaving = nullptr);
    // Whether the node is in the document's tree (its topmost ancestor is the root).
    bool Holds(const TreeNode* node) const;
    // Node positions recomputed and the tree redrawn; one node redrawn (mode 0: the node alone). Both are
    // counted and told to the view when there is one.
    void Relayout();
    void RedrawNode(TreeNode* node, int mode);
    // Every node of the tree (not inside clone copies) redrawn alone, as RedrawNode does node by node.
    void RedrawEveryNode();
    // Frees the analysis records (called by the destructor).
    void ReleaseAnalyses();

    // The tree file body (after the document header). Reading replaces the tree and the document's lists;
    // it stops at the first error, and a damaged body leaves a fresh decision root. The archive's format
    // error tells the caller (2 truncated or unreadable, 23 bad preferences, 27 bad arrow, 32 bad version,
    // 37 a formula whose stored parse tree is not the one its text gives).
    // In a snapshot, node records carry results and the selection of the window that wrote it follows the
    // nodes (read into selection when given; written from it, none when null).
    static constexpr uint32_t kFormulaTreeMismatch = 37;
    void ReadDocumentBody(Archive& archive, RecordForm form = RecordForm::Plain, NodeChildList* selection = nullptr);
    void WriteDocumentBody(Archive& archive, RecordForm form = RecordForm::Plain,
                           const NodeChildList* selection = nullptr);
    // A tree file in the foreign binary tree format, imported in place of the tree; false when damaged (the
    // archive's error tells), or refused with a message as beyond the limits of a tree file.
    bool ReadForeignTree(Archive& archive);
    // A tree file in the older text form (the rest of the archive, at most length bytes), imported in place
    // of the tree with its variables; false when the import was refused or cancelled (the importer says why).
    bool ReadOlderTextTree(Archive& archive, uint32_t length);
    // A whole tree file: header and body, read as a snapshot or a plain tree (a file holding the other
    // kind is recognised and read as that), or a foreign or older text tree file (form tells which).
    // Reading reports why a file cannot be read as one outcome (in use, refused, damaged, no memory, an
    // import refused) and returns false. Writing goes to a temporary file
    // beside the target that then replaces it, so a failed save leaves the old file; false (message set)
    // when the tree cannot be stored or the file not written.
    enum class FileForm { Native, Foreign, OlderText };
    bool ReadTreeFile(const char* path, bool snapshot = false, FileForm* form = nullptr,
                      NodeChildList* selection = nullptr);
    // A tree read whole that the memory cannot hold (measured for the screen, say): everything read goes,
    // the memory reserve is taken again, and the person is told as for a tree too large to read.
    void RefuseForMemory(const char* path);
    bool WriteTreeFile(const char* path, zString& message, RecordForm form = RecordForm::Plain,
                       const NodeChildList* selection = nullptr);
    // True when the reader takes back everything a save writes: every node record within its limits and
    // every distribution's parameters within a formula's stored form; else false with the message that
    // names what is beyond a limit.
    bool CheckStorable(zString& message) const;

    TreeNode* Root = nullptr;
    DocVariableList Variables{2, true};
    // The window showing the document, told of changes; null while none shows it.
    TreeDocumentView* View = nullptr;
    NodeRefList CloneMasters{2, true};
    LinkItemList LinkItems;
    TreeCalcPrefs CalcPrefs;
    RiskPrefAssessment RiskAssessment;
    // Willingness to pay and limits that choose the recommended strategy under cost-effectiveness.
    CESensitivitySettings CESettings;
    CalcState CalcStateRecord;
    // Values known for some node formulas, asked by every evaluation while installed; null while none is.
    KnownFormulaValues* KnownValues = nullptr;
    // The document's numbered distributions (DistSamp); their parameter formulas are evaluated here.
    DistributionList Distributions{4, true};
    // The first distribution of that index number, or null.
    DistributionRecord* FindDistributionByIndex(int32_t index) const { return Distributions.FindByIndex(index); }
    // Every distribution draws its next value in list order (one that is not sampled takes its expected
    // value) while *fault stays clear; a failed draw sets its code there and ends the walk.
    void ApplyToDistributions(RunFault* fault);
    TreeDisplayPrefs DisplayPrefs;
    // The tree's number format: that of the current calculation method (the current payoff's for single
    // payoffs), the one the Numeric Formatting command edits and the tree file keeps.
    NumericFormat& NumberFormat() { return CalcPrefs.CurrentNumericFormat(); }
    const NumericFormat& NumberFormat() const { return CalcPrefs.CurrentNumericFormat(); }
    NoteBoxList NoteBoxes{4, true};
    // The font of new note boxes.
    FontRecord NoteFont;
    // The font of new node comments on nodes without a font of their own.
    FontRecord CommentFont;
    RolledBackValues RolledBack = RolledBackValues::None;
    // FreshValues scopes alive now.
    int32_t FreshValuesScopes = 0;
    // The probabilities were verified in this analysis pass.
    uint8_t ProbabilitiesVerified = 0;
    // Set to 0 by the sensitivity analyses while coherence checking is off.
    int32_t CheckingFlag = 1;
    int32_t SuspendChildRefresh = 0;
    int32_t ChildWindowCount = 0;
    int32_t SuspendVariablesSync = 0;
    // Display setting read by the model: hide the contents of clone copies.
    uint8_t HideCloneContents = 0;
    uint8_t Modified = 0;
    zString WindowTitle;
    // The analysis in progress (null when none; set and cleared by the run itself) and its owner, from the
    // run's start until its end or the document's; the last analysis's record; the recorder of the cohort
    // stages while a Markov analysis rolls its node back.
    AnalysisRun* CurrentAnalysis = nullptr;
    // Monte Carlo runs going on the tree: they step from their own dialog, not as the current analysis, but
    // count as a running analysis all the same.
    int32_t RunningSimulations = 0;
    std::unique_ptr<IdleWork> OwnedAnalysis;
    StoredAnalysis* LastAnalysis = nullptr;
    MarkovStageRecorder* CurrentMarkovRecorder = nullptr;
    StoredAnalysisList* StoredAnalysisRecords = nullptr;
    // Stored with the tree file and carried unchanged: the print offset (two 32-bit slots), the parse
    // level of the writer, the document tag, the link settings, the drawing zoom and the printer settings.
    int32_t PrintOffset[2] = {0, 0};  // thousandths of an inch
    int16_t ParseLevel = 2;
    zString DocumentTag;
    LinkSettings Links;
    double Zoom = 1.0;
    std::unique_ptr<PrinterSetupRecord> PrinterSetup;
    // The custom interface, when the file brought one.
    std::unique_ptr<CustomInterfaceSettings> CustomInterface;
    TreeArrowList Arrows;
    DocumentLinkList DocumentLinks;
    DisplayColumnList RollBackColumns;
    // The node total stored in the file and the nodes read (or written) so far, with the progress entry
    // that shows them while there is one.
    int32_t StoredNodeCount = 0;
    int32_t NodesLoaded = 0;
    int32_t NodeProgressHandle = 0;
    long RelayoutCount = 0;
    long NodeRedrawCount = 0;

private:
    NodeFormulaEvaluator& MakeFormulaEvaluator();
    // Files up to 3.0 beta 2 kept default definitions apart from the tree: each name becomes a document
    // variable, and each definition (of the variables, then of the old list) the root's binding unless
    // the root binds the name already.
    void MoveOldDefaultsToRoot(VariableDefList& oldDefaults);
    // After reading: a damaged file leaves nothing but a fresh decision root (false); otherwise the clone
    // copies follow their masters and the distributions, notes and arrows know their tree (true).
    bool FinishReading(bool damaged);


    std::unique_ptr<NodeFormulaEvaluator> sharedEvaluator;
};

// While one lives, the document's values are computed afresh (a roll back that evaluates, possibly of a
// scratch subtree or with other values of the variables): no check and no cached value trusts the values a
// roll back left on the nodes.
class FreshValues {
public:
    explicit FreshValues(TreeDocument& document) : document(document) { ++document.FreshValuesScopes; }
    ~FreshValues() { --document.FreshValuesScopes; }
    FreshValues(const FreshValues&) = delete;
    FreshValues& operator=(const FreshValues&) = delete;

private:
    TreeDocument& document;
};
