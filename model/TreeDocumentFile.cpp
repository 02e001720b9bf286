// The tree file: the document header, then the body below.

#include "model/TreeDocument.h"

#include "foundation/DocumentFileHeader.h"
#include "foundation/FileHelpers.h"
#include "foundation/FilePath.h"
#include "foundation/FileStream.h"
#include "foundation/Host.h"
#include "foundation/MemoryReserve.h"
#include "foundation/MemoryStream.h"
#include "foundation/NumericFormatParsing.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"
#include "formula/OperandNodes.h"
#include "formula/ParseNodeStream.h"
#include "formula/RunOutcome.h"
#include "model/CloneCopies.h"
#include "model/CustomInterfaceSettings.h"
#include "model/DocumentHeader.h"
#include "model/ExpressionWalk.h"
#include "model/ForeignTreeImporter.h"
#include "model/LegacyTreeImporter.h"
#include "model/NodePath.h"
#include "model/NodeProgress.h"
#include "model/NodeRef.h"
#include "model/NoteBox.h"
#include "model/StoredAnalysisList.h"
#include "model/TreeNode.h"
#include "model/TreeNodeRecords.h"
#include "model/TreeWalks.h"
#include "model/VariableDefinition.h"

#include <cstring>
#include <new>
#include <string>
#include <unordered_map>

// Body layout, in file order (V: the body's own version record; gated fields only when V passes):
//   V                                   version record, 3 bytes
//   V < 2.6: i32 ignored; else PrintOffset[0], PrintOffset[1] i32 each, ParseLevel i16, DocumentTag string
//   document variables                  list
//   V < 3.0: old default variables      list of variable definitions
//   note boxes; stored analyses         lists
//   calculation preferences, display preferences   version record + stream form each
//   risk preference function            its record
//   link items; document links          lists
//   V < 2.5.4: tree font, expected-value font
//   V >= 3.0 beta 4: StoredNodeCount    i32
//   node records                        root first, each followed by its children
//   (V <= 3.0 beta 2: no bytes; the old default variables become the root's bindings)
//   clone-master registry               list of node references, resolved against the new root
//   V >= 2.6: arrows                    list
//   V >= 2.6 final 2: distributions     list
//   V >= 3.0: custom interface present i16, then the settings when not 0; link settings: three strings, i16
//             V >= 3.0 beta 7: Zoom f64
//             V >= 3.0 final 9: printer record present i16, then the record
//                       V >= 3.5: roll-back display columns list
//                       V > 3.5 beta 4: cost-effectiveness settings
//   snapshot only: selection count i16, then each selected node's path string
// The writer stores parse level 2; a 3.5 body of a lower level has its stored parse trees built again, and
// an older body gets the parse trees it lacks. A stored parse tree that is not the one its formula's text
// gives is damage (37).
// Reading stops at the first error: nothing after it is read.

namespace {

constexpr uint32_t FormatTruncated = kFileCutShortCode;

// The definition becomes the root's binding unless the root binds the name already; the definition itself
// is emptied either way.
void MoveDefinitionToRoot(TreeNode* root, VariableDefinition& definition)
{
    if (definition.definition.IsEmpty())
        return;
    zString upperName(definition.name);
    upperName.MakeUpper();
    if (root->FindBinding(upperName.Text(), true) == nullptr)
        root->SetBinding(definition.name.Text(), definition.definition.Text().Text(), true);
    definition.definition.SetText("");
}

// The archive failed without a format error: the stream ended early or could not be read.
void NoteStreamFailure(Archive& archive)
{
    if (archive.State() != 0)
        archive.SetFormatError(FormatTruncated);
}

void RebuildParseTree(ExpressionVisitor& visitor, TreeNode* node, Expression& formula, void* arg)
{
    formula.DropParseTree();
    ReparseFormula(visitor, node, formula, arg);
}

std::string StoredTreeBytes(const ParseNode& tree)
{
    MemoryStream stream(256);
    WriteParseNode(stream, tree);
    return std::string(reinterpret_cast<const char*>(stream.Data()), stream.Position());
}

// A stored parse tree must be the one its text gives: a formula that shows one text and computes another
// marks the file damaged. A text that does not parse here keeps no stored tree; it is parsed, and its
// error reported, when it is first evaluated. The tree a text parses to is its syntax alone, so each text
// is parsed once.
struct StoredTreeCheck {
    std::unordered_map<std::string, std::string> parsedTrees;  // text -> stored form of its tree
    bool mismatch = false;
};

// A plain number's text parses to its constant (as Expression::KeepPlainNumber keeps it): its stored tree is
// checked without a parse.
bool IsPlainNumberTree(const Expression& formula, bool* matches)
{
    double number = 0.0;
    if (!ReadPlainNumber(formula.Text().Text(), number) || number > Expression::kOverflowLimit)
        return false;
    const ParseNode* tree = formula.GetParseTree();
    double stored = 0.0;
    if (tree->TypeCode() == NodeConstant)
        stored = static_cast<const ConstantNode*>(tree)->Value();
    *matches = tree->TypeCode() == NodeConstant && std::memcmp(&stored, &number, sizeof number) == 0;
    return true;
}

void CheckStoredParseTree(ExpressionVisitor& visitor, TreeNode* node, Expression& formula, void* arg)
{
    auto& check = *static_cast<StoredTreeCheck*>(arg);
    if (check.mismatch || !formula.HasParseTree())
        return;
    bool matches = false;
    if (IsPlainNumberTree(formula, &matches)) {
        check.mismatch = !matches;
        return;
    }
    const std::string text = formula.Text().Text();
    auto parsed = check.parsedTrees.find(text);
    if (parsed == check.parsedTrees.end()) {
        Expression fresh(text.c_str());
        ReparseFormula(visitor, node, fresh, nullptr);
        if (!fresh.HasParseTree()) {
            formula.DropParseTree();
            return;
        }
        parsed = check.parsedTrees.emplace(text, StoredTreeBytes(*fresh.GetParseTree())).first;
    }
    if (parsed->second != StoredTreeBytes(*formula.GetParseTree()))
        check.mismatch = true;
}

} // namespace

void TreeDocument::ReadDocumentBody(Archive& archive, RecordForm form, NodeChildList* selection)
{
    if (Root != nullptr)
        ShapeChanging(Root, Root);
    delete Root;
    Root = nullptr;
    if (selection != nullptr)
        selection->RemoveAll();
    StoredNodeCount = NodesLoaded = 0;
    VersionRecord version;
    version.Serialize(archive);
    if (version.IsOlderThan(KnownVersion::k2_6)) {
        int32_t ignored = 0;
        archive.ReadLong(ignored);
    } else {
        archive.ReadLong(PrintOffset[0]).ReadLong(PrintOffset[1]).ReadShort(ParseLevel);
        LoadString(archive, DocumentTag);
    }
    Variables.Serialize(archive);
    VariableDefList oldDefaults;
    if (version.IsOlderThan(KnownVersion::k3_0))
        oldDefaults.Serialize(archive);
    NoteBoxes.Serialize(archive);
    StoredAnalyses().Serialize(archive);
    NoteStreamFailure(archive);
    SerializeWithVersion(CalcPrefs, archive);
    SerializeWithVersion(DisplayPrefs, archive);
    if (!archive.Failed())
        RiskAssessment.Serialize(archive);
    if (!archive.Failed())
        LinkItems.Serialize(archive);
    if (!archive.Failed())
        DocumentLinks.Serialize(archive);
    if (version.IsOlderThan(KnownVersion::k2_5_Build4)) {
        DisplayPrefs.TreeFont.Serialize(archive);
        DisplayPrefs.EVFont.Serialize(archive);
    }
    NoteStreamFailure(archive);
    if (version.IsAtLeast(KnownVersion::k3_0_Beta4))
        archive.ReadLong(StoredNodeCount);
    if (!archive.Failed()) {
        NodeProgressScope progress(*this);
        Root = new TreeNode(this);
        ReadTreeNode(Root, archive, form);
    }
    if (!archive.Failed() && version.IsAtMost(KnownVersion::k3_0_Beta2))
        MoveOldDefaultsToRoot(oldDefaults);
    if (!archive.Failed()) {
        CloneMasters.Serialize(archive);
        for (int i = 0; i < CloneMasters.Count(); ++i)
            CloneMasters.At(i)->Resolve(this);
    }
    if (!archive.Failed() && version.IsAtLeast(KnownVersion::k2_6))
        Arrows.Serialize(archive);
    if (!archive.Failed() && version.IsAtLeast(KnownVersion::k2_6_Build2))
        Distributions.Serialize(archive);
    if (!archive.Failed() && version.IsAtLeast(KnownVersion::k3_0)) {
        int16_t hasCustomInterface = 0;
        archive.ReadShort(hasCustomInterface);
        if (hasCustomInterface != 0 && !archive.Failed()) {
            CustomInterface = std::make_unique<CustomInterfaceSettings>();
            CustomInterface->Serialize(archive);
        }
        for (zString& text : Links.texts)
            LoadString(archive, text);
        archive.ReadShort(Links.number);
        if (version.IsAtLeast(KnownVersion::k3_0_Beta7))
            archive.ReadDouble(Zoom);
        if (version.IsAtLeast(KnownVersion::k3_0_Build9)) {
            int16_t hasPrinter = 0;
            archive.ReadShort(hasPrinter);
            if (hasPrinter > 0 && !archive.Failed()) {
                PrinterSetup = std::make_unique<PrinterSetupRecord>();
                PrinterSetup->Serialize(archive, version);
            }
            if (!archive.Failed() && version.IsAtLeast(KnownVersion::k3_5))
                RollBackColumns.Serialize(archive);
            if (!archive.Failed() && version.IsNewerThan(KnownVersion::k3_5_Beta4))
                CESettings.Serialize(archive);
        }
    }
    if (!archive.Failed() && form == RecordForm::Snapshot) {
        int16_t selected = 0;
        archive.ReadShort(selected);
        for (int i = 0; i < selected && !archive.Failed(); ++i) {
            zString path;
            LoadString(archive, path);
            TreeNode* node = FindNodeByPath(Root, path.Text());
            if (node != nullptr && selection != nullptr)
                selection->Add(node);
        }
    }
    NoteStreamFailure(archive);
    if (!FinishReading(archive.Failed()))
        return;
    // Files before 3.5 get the parse trees they lack. In later files, those stored by a writer of an
    // earlier parse level, or every one when the person holds Shift and Control while the tree opens, are
    // built again from the formulas' texts. Both quietly.
    const bool keysHeld = TheHost().ShiftAndControlHeld();
    const bool older = version.IsOlderThan(KnownVersion::k3_5);
    HostSilence notices(Silence::Notices), formulaMessages(Silence::FormulaMessages);
    if (older) {
        ReparseTreeBindings(Root, true, nullptr, nullptr, nullptr);
    } else if (ParseLevel < 2 || keysHeld) {
        ReparseTreeBindings(Root, false, RebuildParseTree, nullptr, "Forcing update of all parse trees...");
    } else {
        StoredTreeCheck check;
        ReparseTreeBindings(Root, false, CheckStoredParseTree, &check, nullptr);
        if (check.mismatch) {
            archive.SetFormatError(kFormulaTreeMismatch);
            FinishReading(true);
            return;
        }
    }
    if (form == RecordForm::Snapshot)
        RolledBack = RolledBackValues::Snapshot;
}

bool TreeDocument::ReadForeignTree(Archive& archive)
{
    StoredNodeCount = NodesLoaded = 0;
    if (!ImportForeignTree(archive, this) && !archive.Failed())
        archive.SetFormatError(kForeignFormatError);
    NoteStreamFailure(archive);
    // Whatever is accepted can be saved: a node beyond the limits of a tree file refuses the file.
    zString refusal;
    if (!archive.Failed() && !CheckNodesStorable(Root, refusal, "The file cannot be imported: ")) {
        ReportFailure(OutcomeCode::ImportRefused, nullptr, nullptr, refusal.Text(), -1);
        FinishReading(true);
        return false;
    }
    return FinishReading(archive.Failed());
}

bool TreeDocument::ReadOlderTextTree(Archive& archive, uint32_t length)
{
    if (Root != nullptr)
        ShapeChanging(Root, Root);
    delete Root;
    StoredNodeCount = NodesLoaded = 0;
    Root = ImportLegacyTreeFile(archive, length, this, Variables);
    return FinishReading(Root == nullptr);
}

bool TreeDocument::FinishReading(bool damaged)
{
    if (damaged) {
        // Nothing of a damaged body stays: partial lists would be saved over the file later.
        delete Root;
        Root = nullptr;
        CloneMasters.Clear();
        Variables.Clear();
        LinkItems.Clear();
        DocumentLinks.Clear();
        CustomInterface.reset();
        NoteBoxes.Clear();
        StoredAnalyses().Clear();
        Arrows.Clear();
        Distributions.Clear();
        RollBackColumns.Clear();
        PrinterSetup.reset();
    }
    if (Root == nullptr) {
        Root = new TreeNode(this);
        Root->SetKind(DecisionNode, true);
        StoredNodeCount = 1;
        return false;
    }
    UpdateCloneCopies(Root);
    // Distribution parameters are evaluated among the tree's variables.
    for (int i = 0; i < Distributions.Count(); ++i)
        Distributions.RecordAt(i)->SetOwner(this);
    for (int i = 0; i < NoteBoxes.Count(); ++i)
        static_cast<NoteBox*>(NoteBoxes.At(i))->ownerTree = this;
    for (int i = 0; i < Arrows.Count(); ++i)
        Arrows.At(i)->owner = this;
    return true;
}

void TreeDocument::MoveOldDefaultsToRoot(VariableDefList& oldDefaults)
{
    for (int i = 0; i < oldDefaults.Count(); ++i)
        EnsureVariable(oldDefaults.At(i)->name.Text(), nullptr);
    for (int i = 0; i < Variables.Count(); ++i)
        MoveDefinitionToRoot(Root, *Variables.At(i));
    for (int i = 0; i < oldDefaults.Count(); ++i)
        MoveDefinitionToRoot(Root, *oldDefaults.At(i));
}

void TreeDocument::WriteDocumentBody(Archive& archive, RecordForm form, const NodeChildList* selection)
{
    VersionRecord().Serialize(archive);
    archive.WriteLong(PrintOffset[0]).WriteLong(PrintOffset[1]).WriteShort(2);
    StoreString(archive, DocumentTag);
    Variables.Serialize(archive);
    NoteBoxes.Serialize(archive);
    StoredAnalyses().Serialize(archive);
    SerializeWithVersion(CalcPrefs, archive);
    SerializeWithVersion(DisplayPrefs, archive);
    RiskAssessment.Serialize(archive);
    LinkItems.Serialize(archive);
    DocumentLinks.Serialize(archive);
    StoredNodeCount = static_cast<int32_t>(CountSubtreeNodes(Root, true));
    archive.WriteLong(StoredNodeCount);
    {
        NodeProgressScope progress(*this);
        WriteTreeNode(Root, archive, nullptr, form);
    }
    CloneMasters.Serialize(archive);
    Arrows.Serialize(archive);
    Distributions.Serialize(archive);
    archive.WriteShort(CustomInterface ? 1 : 0);
    if (CustomInterface)
        CustomInterface->Serialize(archive);
    for (const zString& text : Links.texts)
        StoreString(archive, text);
    archive.WriteShort(Links.number);
    archive.WriteDouble(Zoom);
    archive.WriteShort(PrinterSetup ? 1 : 0);
    if (PrinterSetup)
        PrinterSetup->Serialize(archive, VersionRecord::Current());
    RollBackColumns.Serialize(archive);
    CESettings.Serialize(archive);
    if (form != RecordForm::Snapshot)
        return;
    const int selected = selection != nullptr ? selection->Count() : 0;
    archive.WriteShort(static_cast<int16_t>(selected));
    for (int i = 0; i < selected; ++i) {
        zString path;
        NodePathString(selection->At(i), path, nullptr);
        StoreString(archive, path);
    }
}

namespace {

// Header checked and body read with snapshot mode as given: 0, the damage code, or -1 when the file was
// refused and the person told why. With a damage code, ranOutFromDamage tells whether the stream ran out
// because of damage (Archive::RanOutFromDamage).
int ReadTreeStream(TreeDocument& document, const char* path, bool snapshot, TreeDocument::FileForm* form,
                   NodeChildList* selection, bool* ranOutFromDamage = nullptr)
{
    FileStream stream(path, false);
    if (!stream.IsOpen() && FilePath(path).Exists()) {
        ReportFileRefusal(OutcomeCode::FileInUse, path, "This file is in use by another program, and cannot be read.");
        return -1;
    }
    if (IsForeignTreeFile(stream)) {
        if (form != nullptr)
            *form = TreeDocument::FileForm::Foreign;
        if (document.ReadForeignTree(stream))
            return 0;
        if (!stream.Failed())
            return -1;
        if (ranOutFromDamage != nullptr)
            *ranOutFromDamage = stream.RanOutFromDamage();
        return static_cast<int>(FileDamageCode(stream));
    }
    if (TryImportLegacyTree(stream)) {
        if (form != nullptr)
            *form = TreeDocument::FileForm::OlderText;
        return document.ReadOlderTextTree(stream, stream.BytesLeft()) ? 0 : -1;
    }
    const int kind = ReadFileHeader(stream);
    if (kind == TreeDocumentKind) {
        document.ReadDocumentBody(stream, snapshot ? RecordForm::Snapshot : RecordForm::Plain, selection);
        if (!stream.Failed())
            return 0;
    } else if (kind == GraphDocumentKind || kind == InfluenceDocumentKind) {
        // A document of ours under a tree's name: the person learns what it is and how to open it.
        ReportFileRefusal(OutcomeCode::FileRefused, path, "This file is not a tree. It cannot be read as a tree.",
                      kind == GraphDocumentKind
                          ? "It is a graph: give it the extension .grf and open it with File > Open."
                          : "It is an influence diagram: give it the extension .ind and open it with File > Open.");
        return -1;
    } else if (kind != 0 || stream.FormatError() != Archive::FormatVersionRecord) {
        const char* refusal = FileHeaderMessage(stream.FormatError());
        ReportFileRefusal(OutcomeCode::FileRefused, path, refusal != nullptr ? refusal : FileHeaderMessage(HeaderNotADocument));
        return -1;
    }
    // A stream that ran out is reported as such (2), whatever record noticed it first.
    if (ranOutFromDamage != nullptr)
        *ranOutFromDamage = stream.RanOutFromDamage();
    return static_cast<int>(FileDamageCode(stream));
}

} // namespace

bool TreeDocument::ReadTreeFile(const char* path, bool snapshot, FileForm* form, NodeChildList* selection)
{
    try {
        bool ranOutFromDamage = false;
        const int code = ReadTreeStream(*this, path, snapshot, form, selection, &ranOutFromDamage);
        if (code == 0)
            return true;
        if (code < 0)
            return false;
        // Snapshot node records carry results: bytes of the other kind misalign, so a file named for one
        // kind but holding the other is read again as the other before it counts as damaged.
        {
            HostSilence quiet(Silence::Notices);
            if (ReadTreeStream(*this, path, !snapshot, nullptr, selection) == 0)
                return true;
        }
        ReportFileRefusal(OutcomeCode::FileDamaged, path,
                      "This tree file is damaged, and cannot be read. Error code = " + std::to_string(code) + ".",
                      FileDamageReason(static_cast<uint32_t>(code), ranOutFromDamage));
    } catch (const std::bad_alloc&) {
        RefuseForMemory(path);
    }
    return false;
}

void TreeDocument::RefuseForMemory(const char* path)
{
    // What was read goes, so that the program and the other documents have their memory back.
    FinishReading(true);
    RestoreMemoryReserve();
    ReportFileRefusal(OutcomeCode::NotEnoughMemory, path,
                  "There is not enough memory to open this tree. Please try closing other applications or "
                  "documents.");
}

bool TreeDocument::CheckStorable(zString& message) const
{
    if (!CheckNodesStorable(Root, message))
        return false;
    for (int i = 0; i < Distributions.Count(); ++i) {
        const DistributionRecord* record = Distributions.RecordAt(i);
        if (record->GetDistribution() == nullptr || DistributionFitsStoredForm(record->GetDistribution()))
            continue;
        zString call;
        record->FormatIndexCall(call);
        message = "The tree cannot be saved: the distribution ";
        message += call;
        message += " cannot be stored, as one of its parameters is longer than 1500 characters.";
        return false;
    }
    return true;
}

bool TreeDocument::WriteTreeFile(const char* path, zString& message, RecordForm form, const NodeChildList* selection)
{
    if (!CheckStorable(message))
        return false;
    return SaveFileBeside(path, [this, form, selection](FileStream& stream) {
        if (!WriteFileHeader(stream, TreeDocumentKind))
            return false;
        WriteDocumentBody(stream, form, selection);
        return true;
    }, message);
}
