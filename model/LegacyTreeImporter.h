#pragma once
// Importer of trees written by the program's predecessor: plain text of line records in sections (nodes
// with their branches and bindings, default definitions, tables, comments). The importer parses the whole
// text, builds a tree of nodes for a window, rewrites the formulas into the current language and keeps a
// report of every change. One object per import.

#include "model/DocVariable.h"
#include "model/LegacyFormulaConversion.h"
#include "model/VariableDefinition.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class Archive;
class TreeDocument;
struct TreeNode;

// The three conversion options, kept in section "ImportPrefs".
struct LegacyImportOptions {
    int32_t useClones = 1;
    int32_t explicitHashMark = 1;
    int32_t truncate8Chars = 1;

    // Keys "UseClones", "ExplicitHashMark" and "Truncate8Chars" (1 when missing).
    void Load();
    void Save() const;
};

// The person's part of an import; tests install their own answers.
struct LegacyImportPrompts {
    // File Import Options: may change the options; false for Cancel.
    std::function<bool(LegacyImportOptions&)> askOptions;
    // File Conversion: the index of the chosen subtree among the names, or -1 for Cancel.
    std::function<int(const std::vector<std::string>&)> chooseRoot;
    // File Import Results: the report lines.
    std::function<void(const std::vector<std::string>&)> showReport;
};
// Installs prompts (an empty member restores its default) and returns the ones replaced.
LegacyImportPrompts SetLegacyImportPrompts(const LegacyImportPrompts& prompts);
// The installed File Conversion prompt.
int AskLegacyRootChoice(const std::vector<std::string>& names);

struct LegacyNodeRecord;

// One "TO:" line with what follows it.
struct LegacyBranchRecord {
    LegacyNodeRecord* target = nullptr;
    std::string probability;
    // Initial, incremental and tail rewards of payoff 1, then of payoff 2.
    std::string rewards[6];
    std::string tolls[2];
    VariableDefList bindings{4, true};
    bool hasRewards = false;
    bool hasTolls = false;
    int tunnelCount = 0;
};

struct LegacyNodeRecord {
    std::string name;
    std::string comment;
    std::vector<std::unique_ptr<LegacyBranchRecord>> branches;
    std::string payoffs[2];
    int32_t kind = 0;
    bool rootCandidate = true;
    TreeNode* built = nullptr;
    bool onBuildPath = false;
};

class LegacyTreeImporter {
public:
    enum Error : int {
        NoError = 0,
        NoRoot = 1,
        RootChoiceCancelled = 2,
        NodeNamesItsAncestor = 3,
        TooManyNodes = 4,
        FormulaTooLong = 5,  // longer, once converted, than a formula's stored form holds
        TooLarge = 6,
        TooManyBranches = 7,  // a node with more branches than a node can have
    };
    // The most nodes, and the most bytes of node data (texts, formulas, bindings and the nodes themselves),
    // that an import builds; a file whose tree would be larger is refused. A few lines that name shared
    // subtrees again and again can describe a tree far larger than memory. The records parsed from the
    // text are bounded alike, and so is the text itself.
    static constexpr long kMaxNodes = 1000000;
    static constexpr long kMaxBytes = 64L << 20;

    // Parses the text and builds the tree at once.
    LegacyTreeImporter(std::string text, TreeDocument* document, const LegacyImportOptions& options);
    ~LegacyTreeImporter();
    LegacyTreeImporter(const LegacyTreeImporter&) = delete;
    LegacyTreeImporter& operator=(const LegacyTreeImporter&) = delete;

    int ErrorCode() const { return error; }
    // What an error refers to (for the cycle and too many branches: the record's name; for a long formula: its first 30
    // characters; for an unchosen root: the number of possible roots).
    const std::string& ErrorSubject() const { return errorSubject; }
    TreeNode* Root() const { return root; }
    // Hands the built tree to the caller.
    TreeNode* ReleaseRoot();
    const DocVariableList& Variables() const { return variables; }
    bool IsCostEffectiveness() const { return costEffectiveness; }
    // The lines of the File Import Results dialog.
    std::vector<std::string> ReportLines() const;

private:
    // Lines.
    void NextLine();
    const std::string& Line() const { return line; }
    // Sections.
    void ParseNodeSection();
    void ParseDefaultSection();
    void ParseTableSection();
    void ParseCommentSection();
    void ParseBinding(LegacyBranchRecord& branch);
    bool ApplyMarkovBinding(LegacyBranchRecord& branch, const std::string& name, const std::string& formula);
    // The name check: the usable name (possibly renamed), or false when refused.
    bool CheckName(const std::string& name, std::string& usable);
    DocVariable* EnsureVariable(const std::string& name);
    LegacyNodeRecord* FindOrAddRecord(const std::string& name);

    // Building.
    void ConvertFormulas();
    std::string Convert(const std::string& text);
    bool ChooseRoot(LegacyNodeRecord*& rootRecord);
    void BuildTree(LegacyNodeRecord* rootRecord);
    TreeNode* MakeNode(LegacyNodeRecord* record);
    void ApplyBranch(TreeNode* child, const LegacyBranchRecord& branch);
    void MakeCloneCopy(TreeNode* child, LegacyNodeRecord* target);
    // Counts what was built; false (with the error set) once the tree is beyond a bound.
    bool CountBuilt(long nodes, long bytes);
    // Counts what parsing keeps; past the bound the error is set and the rest of the text is not read.
    void CountParsed(size_t bytes);
    // A record's entry in the index by name: the key, the pointer and the table's own bookkeeping.
    static constexpr size_t kIndexEntryBytes = 64;
    void DropUnboundVariables();
    void ConvertMarkovNodes();
    void ConvertMarkovNode(TreeNode* markov);
    void SetCalculationPreferences();

    std::string text;
    size_t position = 0;
    std::string line;
    long lineNumber = 0;
    bool endOfFile = false;
    int error = NoError;
    std::string errorSubject;
    TreeDocument* document;
    LegacyImportOptions options;
    std::vector<std::unique_ptr<LegacyNodeRecord>> records;
    std::unordered_map<std::string, LegacyNodeRecord*> recordIndex;  // by upper-case name
    DocVariableList variables{2, true};
    bool costEffectiveness = false;
    long nodesBuilt = 0;
    long bytesBuilt = 0;
    long parsedBytes = 0;
    bool clonesMade = false;
    // Report lists.
    std::vector<std::string> prunedClones;
    std::vector<std::string> ignoredBindings;
    std::vector<std::string> tablesNotLoaded;
    std::vector<std::string> zeroDefaults;
    std::vector<std::string> hashMarkNodes;
    NamePairs changedNames;
    LegacyConversionMasks masks;
    TreeNode* root = nullptr;
};

// True when the stream holds the older text format: a first line (at most 32 bytes, up to the first CR)
// without NUL, double quote or other non-printable characters, holding a node type mark "(X)" with X one of
// D, C, T, M, L, B. The stream is put back to its start.
bool TryImportLegacyTree(Archive& stream);
// Reads `length` bytes of the stream, asks for the options, imports and reports. On success the window's
// variable list is replaced by the imported variables and the new root is returned (the caller installs
// it); null on Cancel or failure (a refused file is explained in an error box).
TreeNode* ImportLegacyTreeFile(Archive& stream, uint32_t length, TreeDocument* document, DocVariableList& variables);
