// Detecting and importing a file of the older tree text format: the options, the report and the handing
// over of the tree and its variables.

#include "model/LegacyTreeImporter.h"

#include "foundation/Host.h"
#include "foundation/MemoryReserve.h"
#include "foundation/Archive.h"
#include "foundation/PreferencesStore.h"
#include "formula/RunOutcome.h"
#include "model/LegacyTreeText.h"
#include "model/TreeNode.h"
#include "model/TreeNodeRecords.h"

#include <cstdio>
#include <new>
#include <string>
#include <utility>

namespace {

const char kSection[] = "ImportPrefs";

// Without a person to ask (the program installs its dialogs): the options are taken as saved, a file with
// several possible roots is not converted and the report is not shown.
LegacyImportPrompts DefaultPrompts()
{
    LegacyImportPrompts prompts;
    prompts.askOptions = [](LegacyImportOptions&) { return true; };
    prompts.chooseRoot = [](const std::vector<std::string>&) { return -1; };
    prompts.showReport = [](const std::vector<std::string>&) {};
    return prompts;
}

LegacyImportPrompts& Prompts()
{
    static LegacyImportPrompts prompts = DefaultPrompts();
    return prompts;
}

void AddSection(std::vector<std::string>& lines, const char* heading, const std::vector<std::string>& entries)
{
    if (entries.empty())
        return;
    lines.emplace_back(heading);
    for (const std::string& entry : entries)
        lines.push_back("   " + entry);
    lines.emplace_back();
}

std::vector<std::string> AppliedConversions(const LegacyConversion* table, unsigned count, uint32_t mask)
{
    std::vector<std::string> entries;
    for (unsigned i = 0; i < count; ++i) {
        if (mask & (1u << i))
            entries.push_back(std::string(table[i].from) + " --> " + table[i].to);
    }
    return entries;
}

void ShowTooLarge()
{
    char message[160];
    std::snprintf(message, sizeof message,
                  "The file cannot be imported: its tree would take more than %ld MB of memory.",
                  LegacyTreeImporter::kMaxBytes >> 20);
    ReportFailure(OutcomeCode::ImportRefused, nullptr, nullptr, message, -1);
}

}  // namespace

void LegacyImportOptions::Load()
{
    useClones = ReadProfileInt(kSection, "UseClones", 1);
    explicitHashMark = ReadProfileInt(kSection, "ExplicitHashMark", 1);
    truncate8Chars = ReadProfileInt(kSection, "Truncate8Chars", 1);
}

void LegacyImportOptions::Save() const
{
    WriteProfileInt(kSection, "UseClones", useClones);
    WriteProfileInt(kSection, "ExplicitHashMark", explicitHashMark);
    WriteProfileInt(kSection, "Truncate8Chars", truncate8Chars);
}

LegacyImportPrompts SetLegacyImportPrompts(const LegacyImportPrompts& prompts)
{
    const LegacyImportPrompts previous = Prompts();
    const LegacyImportPrompts defaults = DefaultPrompts();
    Prompts().askOptions = prompts.askOptions ? prompts.askOptions : defaults.askOptions;
    Prompts().chooseRoot = prompts.chooseRoot ? prompts.chooseRoot : defaults.chooseRoot;
    Prompts().showReport = prompts.showReport ? prompts.showReport : defaults.showReport;
    return previous;
}

int AskLegacyRootChoice(const std::vector<std::string>& names)
{
    return Prompts().chooseRoot(names);
}

LegacyTreeImporter::~LegacyTreeImporter()
{
    delete root;
}

TreeNode* LegacyTreeImporter::ReleaseRoot()
{
    TreeNode* built = root;
    root = nullptr;
    return built;
}

std::vector<std::string> LegacyTreeImporter::ReportLines() const
{
    std::vector<std::string> lines;
    std::vector<std::string> unused;
    for (const auto& record : records) {
        if (!record->built)
            unused.push_back(record->name);
    }
    std::vector<std::string> renamed;
    for (const auto& pair : changedNames)
        renamed.push_back(pair.first + "  -->  " + pair.second);
    AddSection(lines, "These recursive clones have been pruned:", prunedClones);
    AddSection(lines, "These bindings were ignored:", ignoredBindings);
    AddSection(lines, "These tables were not loaded, as they already exist:", tablesNotLoaded);
    AddSection(lines, "These nodes were not used:", unused);
    AddSection(lines, "These variables were given default definitions of zero:", zeroDefaults);
    AddSection(lines, "These nodes now use \"#\" explicitly for probability:", hashMarkNodes);
    AddSection(lines, "These variable names were changed:", renamed);
    AddSection(lines, "These syntax differences were applied:",
               AppliedConversions(kLegacyOperatorTable, 2, masks.syntax));
    AddSection(lines, "These function names are different in KIVO:",
               AppliedConversions(kLegacyFunctionTable, 13, masks.functions));
    return lines;
}

bool TryImportLegacyTree(Archive& stream)
{
    const long start = stream.Tell();
    std::string first;
    bool acceptable = true;
    while (first.size() < 32 && stream.State() == 0) {
        uint8_t c = 0;
        stream.ReadBytes(&c, 1);
        if (stream.State() != 0 || c == '\r')
            break;
        if (c == 0 || c == '"' || c < 32 || c == 127) {  // not a resource id: a character code
            acceptable = false;
            break;
        }
        first += static_cast<char>(c);
    }
    stream.SetState(Archive::StateGood);
    if (stream.Tell() != start)
        stream.Seek(start, 0);
    return acceptable && FindNodeTypeMark(first) != std::string::npos;
}

namespace {

TreeNode* ImportText(Archive& stream, uint32_t length, TreeDocument* document, DocVariableList& variables)
{
    if (length > stream.BytesLeft())
        length = stream.BytesLeft();
    if (length > static_cast<uint32_t>(LegacyTreeImporter::kMaxBytes)) {
        ShowTooLarge();
        return nullptr;
    }
    std::string text(length, '\0');
    if (length > 0)
        stream.ReadBytes(&text[0], length);
    if (stream.State() != 0)
        return nullptr;
    TheHost().ShowStatus("Importing file...");
    LegacyImportOptions options;
    options.Load();
    if (!Prompts().askOptions(options)) {
        TheHost().ShowStatus("");
        return nullptr;
    }
    options.Save();
    LegacyTreeImporter importer(std::move(text), document, options);
    const std::vector<std::string> lines = importer.ReportLines();
    if (!lines.empty())
        Prompts().showReport(lines);
    TheHost().ShowStatus("");
    switch (importer.ErrorCode()) {
    case LegacyTreeImporter::NoError:
        break;
    case LegacyTreeImporter::NodeNamesItsAncestor: {
        const std::string message = "The file cannot be imported: the node \"" + importer.ErrorSubject() +
                                    "\" is named as a branch below itself, so its tree would have no end. "
                                    "Turn on \"Use clones for duplicated subtrees\" to import it with the "
                                    "repeated part pruned.";
        ReportFailure(OutcomeCode::ImportRefused, nullptr, nullptr, message.c_str(), -1);
        return nullptr;
    }
    case LegacyTreeImporter::FormulaTooLong: {
        char message[200];
        std::snprintf(message, sizeof message,
                      "The file cannot be imported: the formula \"%s...\" is longer than %u characters.",
                      importer.ErrorSubject().c_str(), static_cast<unsigned>(Expression::kMaxStoredTextLength));
        ReportFailure(OutcomeCode::ImportRefused, nullptr, nullptr, message, -1);
        return nullptr;
    }
    case LegacyTreeImporter::TooManyBranches: {
        const std::string message = "The file cannot be imported: the node \"" + importer.ErrorSubject() +
                                    "\" has more than " + std::to_string(TreeNode::kMaxChildren) + " branches.";
        ReportFailure(OutcomeCode::ImportRefused, nullptr, nullptr, message.c_str(), -1);
        return nullptr;
    }
    case LegacyTreeImporter::TooManyNodes: {
        char message[160];
        std::snprintf(message, sizeof message,
                      "The file cannot be imported: its tree would have more than %ld nodes.",
                      LegacyTreeImporter::kMaxNodes);
        ReportFailure(OutcomeCode::ImportRefused, nullptr, nullptr, message, -1);
        return nullptr;
    }
    case LegacyTreeImporter::TooLarge:
        ShowTooLarge();
        return nullptr;
    case LegacyTreeImporter::NoRoot:
        ReportFailure(OutcomeCode::ImportRefused, nullptr, nullptr,
                      "The file cannot be imported: every node in it is named as a branch of another, so none "
                      "is the root of its tree.",
                      -1);
        return nullptr;
    case LegacyTreeImporter::RootChoiceCancelled: {
        const std::string message = "The file cannot be imported: it holds " + importer.ErrorSubject() +
                                    " separate trees, and none was chosen for conversion.";
        ReportFailure(OutcomeCode::ImportRefused, nullptr, nullptr, message.c_str(), -1);
        return nullptr;
    }
    default:
        return nullptr;
    }
    // Whatever is accepted can be saved: a node beyond the limits of a tree file refuses the file.
    zString refusal;
    if (!CheckNodesStorable(importer.Root(), refusal, "The file cannot be imported: ")) {
        ReportFailure(OutcomeCode::ImportRefused, nullptr, nullptr, refusal.Text(), -1);
        return nullptr;
    }
    variables.Clear();
    const DocVariableList& imported = importer.Variables();
    for (int i = 0; i < imported.Count(); ++i) {
        DocVariable* copy = new DocVariable();
        copy->Assign(*imported.At(i));
        if (variables.InsertSorted(copy) < 0)
            delete copy;
    }
    return importer.ReleaseRoot();
}

}  // namespace

TreeNode* ImportLegacyTreeFile(Archive& stream, uint32_t length, TreeDocument* document, DocVariableList& variables)
{
    // Memory that runs out while the text is parsed or the tree built refuses the file as too large.
    try {
        return ImportText(stream, length, document, variables);
    } catch (const std::bad_alloc&) {
        RestoreMemoryReserve();
        TheHost().ShowStatus("");
        ShowTooLarge();
        return nullptr;
    }
}
