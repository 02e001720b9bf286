#include "formula/LookupTable.h"
#include "formula/TableDirectory.h"
#include "foundation/MemoryStream.h"
#include "model/LegacyTreeImporter.h"
#include "model/MarkovBinding.h"
#include "model/MarkovInfo.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"
#include "tests/foundation/RegistryTestSupport.h"
#include "tests/model/WriteBack.h"
#include "tests/support/MessageBoxRecorder.h"
#include "model/TreeDocument.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// Lines joined with CR LF.
std::string Lines(std::initializer_list<const char*> lines)
{
    std::string text;
    for (const char* line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string Binding(const TreeNode* node, const char* name)
{
    zString upper(name);
    upper.MakeUpper();
    const VariableDefinition* binding = node->FindBinding(upper.Text(), true);
    return binding ? binding->definition.Text().Text() : "<none>";
}

std::string Probability(const TreeNode* node)
{
    zString text;
    node->GetProbabilityText(text);
    return text.Text();
}

std::string Payoff(TreeNode* node, int i)
{
    zString text;
    node->GetPayoffText(text, i);
    return text.Text();
}

// A tables directory of its own, so that imported tables land in a scratch directory; the prompts answer
// without a person.
class LegacyImportTest : public testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        // One directory per process: ctest runs test cases in parallel processes.
        directory = std::string(temp) + "kivo_legacy_import_test" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(directory.c_str(), nullptr);
        RemoveFiles();
        SetTablesDirectory(directory.c_str());
        LoadTablesDirectory();
        LegacyImportPrompts prompts;
        prompts.chooseRoot = [this](const std::vector<std::string>& names) {
            rootChoices = names;
            return rootAnswer;
        };
        prompts.showReport = [this](const std::vector<std::string>& lines) { shownReport = lines; };
        saved = SetLegacyImportPrompts(prompts);
    }
    void TearDown() override
    {
        SetLegacyImportPrompts(saved);
        FreeTables();
        RemoveFiles();
        RemoveDirectoryA(directory.c_str());
    }
    void RemoveFiles()
    {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((directory + "*.*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE)
            return;
        do
            DeleteFileA((directory + data.cFileName).c_str());
        while (FindNextFileA(find, &data));
        FindClose(find);
    }
    std::unique_ptr<LegacyTreeImporter> Import(const std::string& text)
    {
        return std::make_unique<LegacyTreeImporter>(text.c_str(), &document, options);
    }

    // The import keeps its options in the store, which other test processes read meanwhile.
    StoreTestLock store;
    std::string directory;
    TreeDocument document;
    LegacyImportOptions options;
    LegacyImportPrompts saved;
    std::vector<std::string> rootChoices;
    std::vector<std::string> shownReport;
    int rootAnswer = -1;
};

const std::string kSampleFile = Lines({
    "Start(D)",
    "TO: Treat",
    "B: rate.x := 0.1",
    "-",
    "TO: Wait",
    "-",
    "=",
    "Treat(C)",
    "TO: Good",
    "P: p.good",
    "-",
    "TO: Bad",
    "P: 1-p.good",
    "-",
    "=",
    "Wait(T)",
    "U: = Dual(cost.w, MAX(1, 2))",
    "=",
    "Good(T)",
    "U: = 100 * rate.x",
    "=",
    "Bad(T)",
    "U: = NOT(rate.x > 0) ! 'TRUE",
    "=",
    "==========",
    "p.good := 0.7",
    "odd := 1; 2",
    "==========",
    "Costs",
    "1, 10",
    "2, 20",
    "",
    "==========",
    "",
    "Comments on variable: p.good",
    "Chance of a good outcome",
    "from the trial",
    "",
});

TEST(LegacyTreeDetection, FirstLineDecides)
{
    struct Case {
        std::string bytes;
        bool legacy;
    } cases[] = {
        {"Start(D)\r\nTO: A\r\n", true},
        {"  Root node (C)\r\n", true},
        {"Start(X)\r\n", false},
        {"\"Start(D)\r\n", false},
        {std::string("St\0art(D)\r\n", 11), false},
        {"Start\t(D)\r\n", false},
        {"A very long first line that ends (D)\r\n", false},
        {"First line\r\nSecond(D)\r\n", false},
        {"", false},
        {"Start(T)", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        std::string bytes = c.bytes;
        MemoryStream stream(bytes.empty() ? nullptr : &bytes[0], static_cast<uint32_t>(bytes.size()), false);
        EXPECT_EQ(TryImportLegacyTree(stream), c.legacy);
        EXPECT_EQ(stream.Tell(), 0);
        EXPECT_EQ(stream.State(), 0u);
    }
}

struct ConversionCase {
    const char* older;
    const char* current;
};

TEST_F(LegacyImportTest, SampleFileBuildsTreeBindingsTablesAndReport)
{
    auto importer = Import(kSampleFile);
    ASSERT_EQ(importer->ErrorCode(), 0);
    TreeNode* root = importer->Root();
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(root->text.Text(), "Start");
    EXPECT_EQ(root->kind, DecisionNode);
    ASSERT_EQ(root->childCount, 2);
    TreeNode* treat = root->GetChild(0);
    TreeNode* wait = root->GetChild(1);
    EXPECT_EQ(treat->kind, ChanceNode);
    EXPECT_EQ(Binding(treat, "rate_x"), "0.1");
    EXPECT_EQ(Binding(root, "p_good"), "0.7");
    EXPECT_EQ(wait->kind, TerminalNode);
    EXPECT_EQ(Payoff(wait, 0), "cost.w");
    EXPECT_EQ(Payoff(wait, 1), "MAX(1; 2)");
    ASSERT_EQ(treat->childCount, 2);
    EXPECT_EQ(Probability(treat->GetChild(0)), "p_good");
    EXPECT_EQ(Probability(treat->GetChild(1)), "#");
    EXPECT_EQ(Payoff(treat->GetChild(0), 0), "100 * rate_x");
    EXPECT_EQ(Payoff(treat->GetChild(1), 0), "!(rate_x > 0) | !1");
    EXPECT_TRUE(importer->IsCostEffectiveness());
    EXPECT_EQ(document.CalcPrefs.CalcMethod, CostEffectivenessMethod);
    EXPECT_EQ(document.CalcPrefs.CECostPayoff, 0);
    EXPECT_EQ(document.CalcPrefs.CEEffPayoff, 1);
    EXPECT_EQ(document.CalcPrefs.PayoffFormats[0].expValDigits, 2);
    EXPECT_EQ(document.CalcPrefs.PayoffFormats[1].expValDigits, 3);

    const DocVariableList& variables = importer->Variables();
    ASSERT_EQ(variables.Count(), 2);
    EXPECT_STREQ(variables.At(0)->name.Text(), "p_good");
    EXPECT_STREQ(variables.At(0)->comment.Text(), "Chance of a good outcome from the trial ");
    EXPECT_TRUE(variables.At(0)->definition.IsEmpty());
    EXPECT_STREQ(variables.At(1)->name.Text(), "rate_x");

    LookupTable* costs = FindTable("Costs");
    ASSERT_NE(costs, nullptr);
    double index = 0, value = 0;
    ASSERT_EQ(costs->EntryCount(), 2);
    ASSERT_TRUE(costs->GetEntry(1, index, value));
    EXPECT_EQ(index, 2.0);
    EXPECT_EQ(value, 20.0);

    const std::vector<std::string> expected = {
        "These bindings were ignored:",
        "   odd := 1; 2",
        "",
        "These nodes now use \"#\" explicitly for probability:",
        "   Bad -- prob was: 1-p_good",
        "",
        "These variable names were changed:",
        "   rate.x  -->  rate_x",
        "   p.good  -->  p_good",
        "",
        "These syntax differences were applied:",
        "   ! --> |",
        "   ' --> !",
        "",
        "These function names are different in KIVO:",
        "   NOT --> !",
        "",
    };
    EXPECT_EQ(importer->ReportLines(), expected);
}

TEST_F(LegacyImportTest, ExistingTableIsListedAndKept)
{
    LookupTable* existing = CreateTable("Costs", "Costs", "", LookupTable::Interpolation, false);
    ASSERT_NE(existing, nullptr);
    auto importer = Import(kSampleFile);
    EXPECT_EQ(FindTable("Costs"), existing);
    EXPECT_EQ(existing->EntryCount(), 0);
    const std::vector<std::string> lines = importer->ReportLines();
    const auto heading = std::find(lines.begin(), lines.end(), "These tables were not loaded, as they already exist:");
    ASSERT_NE(heading, lines.end());
    EXPECT_EQ(*(heading + 1), "   Costs");
}

const std::string kSharedSubtree = Lines({
    "Start(D)", "TO: A", "-", "TO: B", "-", "=",
    "A(C)", "TO: Shared", "P: 0.5", "-", "TO: Leaf", "-", "=",
    "B(C)", "TO: Shared", "-", "=",
    "Shared(C)", "TO: X", "-", "TO: Y", "-", "=",
    "X(T)", "U: = 1", "=",
    "Y(T)", "U: = 2", "=",
    "Leaf(T)", "U: = 3", "=",
});

TEST_F(LegacyImportTest, RepeatedSubtreeBecomesCloneCopyWithClonesOption)
{
    options.explicitHashMark = 0;
    auto importer = Import(kSharedSubtree);
    ASSERT_EQ(importer->ErrorCode(), 0);
    TreeNode* master = importer->Root()->GetChild(0)->GetChild(0);
    TreeNode* copy = importer->Root()->GetChild(1)->GetChild(0);
    EXPECT_EQ(master->cloneStatus, CloneMasterNode);
    EXPECT_EQ(copy->cloneStatus, CloneCopyNode);
    EXPECT_EQ(copy->cloneId, master->cloneId);
    ASSERT_EQ(copy->childCount, 2);
    EXPECT_STREQ(copy->GetChild(1)->text.Text(), "Y");
    EXPECT_EQ(document.FindCloneMaster(master->cloneId), master);
    ASSERT_EQ(document.CloneMasters.Count(), 1);
    // The shared leaf is terminal: it is built twice, never cloned.
    options.useClones = 0;
    auto full = Import(kSharedSubtree);
    TreeNode* second = full->Root()->GetChild(1)->GetChild(0);
    EXPECT_EQ(second->cloneStatus, NotCloned);
    EXPECT_EQ(second->childCount, 2);
}

const std::string kCycle = Lines({
    "Top(D)", "TO: A", "-", "=",
    "A(C)", "TO: B", "-", "=",
    "B(C)", "TO: A", "-", "TO: E", "-", "=",
    "E(T)", "U: = 1", "=",
});

TEST_F(LegacyImportTest, NodeNamingItsAncestorIsRefusedOrPruned)
{
    options.useClones = 0;
    auto refused = Import(kCycle);
    EXPECT_EQ(refused->ErrorCode(), LegacyTreeImporter::NodeNamesItsAncestor);
    EXPECT_EQ(refused->ErrorSubject(), "A");

    options.useClones = 1;
    auto pruned = Import(kCycle);
    ASSERT_EQ(pruned->ErrorCode(), 0);
    TreeNode* innerA = pruned->Root()->GetChild(0)->GetChild(0)->GetChild(0);
    EXPECT_STREQ(innerA->text.Text(), "A");
    EXPECT_EQ(innerA->childCount, 0);
    EXPECT_EQ(innerA->cloneStatus, NotCloned);
    const std::vector<std::string> lines = pruned->ReportLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "These recursive clones have been pruned:");
    EXPECT_EQ(lines[1], "   A");
}

TEST_F(LegacyImportTest, RefusedFileExplainsItselfAndGivesNoTree)
{
    // A payoff of 1501 characters: more than a formula's stored form holds, so the imported tree could be
    // saved but never opened again.
    std::string longPayoff = "1";
    for (int i = 0; i < 750; ++i)
        longPayoff += "+1";
    // One branch more than a node can have: the import must not drop the last ones.
    std::string wide = "Top(C)\r\n";
    for (int i = 0; i <= TreeNode::kMaxChildren; ++i)
        wide += "TO: A\r\n-\r\n";
    wide += "=\r\nA(T)\r\nU: = 1\r\n=\r\n";
    struct Case {
        std::string file;
        std::string message;
    };
    const Case cases[] = {
        {kCycle,
         "The file cannot be imported: the node \"A\" is named as a branch below itself, so its tree would have no "
         "end. Turn on \"Use clones for duplicated subtrees\" to import it with the repeated part pruned."},
        {"Top(D)\r\nTO: A\r\n-\r\n=\r\nA(T)\r\nU: = " + longPayoff + "\r\n=\r\n",
         "The file cannot be imported: the formula \"1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+...\" is longer than 1500 "
         "characters."},
        {wide, "The file cannot be imported: the node \"Top\" has more than 32767 branches."},
    };
    LegacyImportPrompts prompts;
    prompts.askOptions = [](LegacyImportOptions& chosen) {
        chosen.useClones = 0;
        return true;
    };
    const LegacyImportPrompts before = SetLegacyImportPrompts(prompts);
    for (const Case& c : cases) {
        MessageBoxRecorder boxes;
        std::string bytes = c.file;
        MemoryStream stream(&bytes[0], static_cast<uint32_t>(bytes.size()), false);
        DocVariableList variables;
        EXPECT_EQ(ImportLegacyTreeFile(stream, static_cast<uint32_t>(bytes.size()), &document, variables), nullptr);
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Last().text, c.message);
    }
    SetLegacyImportPrompts(before);
    LegacyImportOptions restored;
    restored.Save();
}

// Twenty short records, each naming the next twice, describe a tree of a million nodes without clones: the
// import stops at its memory bound and says so.
TEST_F(LegacyImportTest, FileDescribingAHugeTreeIsRefused)
{
    std::string text;
    for (int level = 0; level < 20; ++level) {
        const std::string next = "L" + std::to_string(level + 1);
        text += "L" + std::to_string(level) + "(C)\r\nTO: " + next + "\r\n-\r\nTO: " + next + "\r\n-\r\n=\r\n";
    }
    text += "L20(T)\r\nU: = 1\r\n=\r\n";
    MessageBoxRecorder boxes;
    LegacyImportPrompts prompts;
    prompts.askOptions = [](LegacyImportOptions& chosen) {
        chosen.useClones = 0;
        return true;
    };
    const LegacyImportPrompts before = SetLegacyImportPrompts(prompts);
    MemoryStream stream(&text[0], static_cast<uint32_t>(text.size()), false);
    DocVariableList variables;
    EXPECT_EQ(ImportLegacyTreeFile(stream, static_cast<uint32_t>(text.size()), &document, variables), nullptr);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The file cannot be imported: its tree would take more than 64 MB of memory.");
    SetLegacyImportPrompts(before);
    LegacyImportOptions restored;
    restored.Save();
}

TEST_F(LegacyImportTest, RootChoiceAndMissingRoot)
{
    auto none = Import(Lines({"A(C)", "TO: B", "-", "=", "B(C)", "TO: A", "-", "="}));
    EXPECT_EQ(none->ErrorCode(), LegacyTreeImporter::NoRoot);
    EXPECT_EQ(none->Root(), nullptr);

    const std::string twoRoots = Lines({"First(T)", "U: = 1", "=", "Second(T)", "U: = 2", "="});
    auto cancelled = Import(twoRoots);
    EXPECT_EQ(cancelled->ErrorCode(), LegacyTreeImporter::RootChoiceCancelled);
    EXPECT_EQ(rootChoices, (std::vector<std::string>{"First", "Second"}));
    rootAnswer = 1;
    auto chosen = Import(twoRoots);
    ASSERT_EQ(chosen->ErrorCode(), 0);
    EXPECT_STREQ(chosen->Root()->text.Text(), "Second");
    EXPECT_EQ(chosen->ReportLines(), (std::vector<std::string>{"These nodes were not used:", "   First", ""}));
}

TEST_F(LegacyImportTest, ImportedVariablesReplaceTheWindowList)
{
    std::string bytes = kSampleFile;
    MemoryStream stream(&bytes[0], static_cast<uint32_t>(bytes.size()), false);
    DocVariableList variables;
    variables.InsertSorted(new DocVariable("stale"));
    std::unique_ptr<TreeNode> root(
        ImportLegacyTreeFile(stream, static_cast<uint32_t>(bytes.size()), &document, variables));
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(variables.Count(), 2);
    EXPECT_STREQ(variables.At(0)->name.Text(), "p_good");
    EXPECT_FALSE(shownReport.empty());
}

std::string MarkovFile(const char* bindingsOnMarkov)
{
    std::string text = Lines({"Top(D)", "TO: Mk"});
    text += bindingsOnMarkov;
    text += Lines({
        "-", "=",
        "Mk(M)", "TO: Well", "B: m.uINIT := 1", "B: m.uINCR := Dual(3, 0.9)", "B: m.TOLL := 5",
        "B: m.TUNNEL := 2", "B: nxt := Dead", "-", "TO: Dead", "-", "=",
        "Well(C)", "TO: Stay", "P: 0.9", "-", "TO: Die", "P: 0.1", "-", "=",
        "Stay(T)", "U: = Well", "=",
        "Die(T)", "U: = nxt", "=",
        "Dead(T)", "U: = Dead", "=",
    });
    return text;
}

TEST_F(LegacyImportTest, MarkovRewardsTollsStatesAndBindings)
{
    auto importer = Import(MarkovFile("B: m_CYCMAX := 20\r\n"));
    ASSERT_EQ(importer->ErrorCode(), 0);
    TreeNode* markov = importer->Root()->GetChild(0);
    ASSERT_EQ(markov->kind, MarkovNode);
    zString text;
    markov->GetMarkovTerminationText(text, 0);
    EXPECT_STREQ(text.Text(), "_stage >= m_CYCMAX");
    TreeNode* well = markov->GetChild(0);
    TreeNode* dead = markov->GetChild(1);
    const char* expectedRewards[2][3] = {{"1", "3", "0"}, {"0", "0.9", "0"}};
    for (int payoff = 0; payoff < 2; ++payoff) {
        for (int kind = 0; kind < 3; ++kind) {
            well->GetMarkovRewardText(kind, text, payoff);
            EXPECT_STREQ(text.Text(), expectedRewards[payoff][kind]) << payoff << "," << kind;
            dead->GetMarkovRewardText(kind, text, payoff);
            EXPECT_STREQ(text.Text(), "0");
        }
    }
    well->GetMarkovTransitionReward(text, 0);
    EXPECT_STREQ(text.Text(), "-5");
    ASSERT_NE(well->markovInfo, nullptr);
    EXPECT_EQ(well->markovInfo->tunnelCount, 2);
    EXPECT_EQ(Binding(well, "m_TUNNEL"), "2");
    // The binding that names a state moved into the Markov bindings; the terminal jumps through it.
    EXPECT_EQ(Binding(well, "nxt"), "<none>");
    ASSERT_NE(well->markovBindings, nullptr);
    ASSERT_EQ(well->markovBindings->Count(), 1);
    EXPECT_STREQ(well->markovBindings->At(0)->userName.Text(), "nxt");
    EXPECT_STREQ(well->markovBindings->At(0)->target.Text(), "Dead");
    TreeNode* stay = well->GetChild(0);
    TreeNode* die = well->GetChild(1);
    EXPECT_STREQ(stay->markovInfo->jumpName.Text(), "Well");
    EXPECT_STREQ(die->markovInfo->jumpName.Text(), "=nxt");
    EXPECT_EQ(Payoff(stay, 0), "");
    EXPECT_STREQ(dead->markovInfo->jumpName.Text(), "Dead");
}

TEST_F(LegacyImportTest, MarkovTerminationFromTheDefinedLimits)
{
    const ConversionCase cases[] = {
        {"B: m_STOP := 1\r\nB: m_CYCMAX := 5\r\n", "m_STOP"},
        {"", "_stage_eff < 0.0001"},
        {"B: m_CYCMAX := 5\r\n", "_stage >= m_CYCMAX"},
        {"B: m_CYCMAX := 5\r\nB: m_CYCSUM := 0.1\r\n", "(_stage >= m_CYCMAX | _stage_eff < m_CYCSUM)"},
        {"B: m_CYCMIN := 2\r\n", "_stage >= m_CYCMIN & _stage_eff < 0.0001"},
    };
    for (const ConversionCase& c : cases) {
        SCOPED_TRACE(c.older);
        auto importer = Import(MarkovFile(c.older));
        ASSERT_EQ(importer->ErrorCode(), 0);
        zString text;
        importer->Root()->GetChild(0)->GetMarkovTerminationText(text, 0);
        EXPECT_STREQ(text.Text(), c.current);
    }
}

TEST_F(LegacyImportTest, NamesAreCheckedAndConverted)
{
    const std::string file = Lines({
        "Top(C)", "TO: Leaf", "P: 1",
        "B: rate.x := 0.1", "B: m.CYCLE := 3", "B: bad name := 1", "B: k@1 := 2", "B: verylongname := 4", "-", "=",
        "Leaf(T)", "U: = rate.x + k@1", "=",
    });
    auto importer = Import(file);
    ASSERT_EQ(importer->ErrorCode(), 0);
    TreeNode* leaf = importer->Root()->GetChild(0);
    EXPECT_EQ(Binding(leaf, "rate_x"), "0.1");
    EXPECT_EQ(Binding(leaf, "k_1"), "2");
    EXPECT_EQ(Binding(leaf, "verylong"), "4");
    EXPECT_EQ(Payoff(leaf, 0), "rate_x + k_1");
    const std::vector<std::string> lines = importer->ReportLines();
    const std::vector<std::string> ignored = {"These bindings were ignored:", "   B: m.CYCLE := 3",
                                              "   B: bad name := 1", ""};
    ASSERT_GE(lines.size(), ignored.size());
    EXPECT_TRUE(std::equal(ignored.begin(), ignored.end(), lines.begin()));
}

TEST_F(LegacyImportTest, FuzzedFilesNeverCrashOrHang)
{
    std::mt19937 random(20261207);
    const std::string sources[] = {kSampleFile, kSharedSubtree, kCycle, MarkovFile("B: m_CYCMAX := 20\r\n")};
    const char alphabet[] = "()DCTMLB:=-#TOPUB \r\n\t,;'!.@~abcX0123456789\"";
    for (int trial = 0; trial < 3000; ++trial) {
        std::string text = sources[trial % 4];
        if (trial % 3 == 0) {
            text.resize(random() % (text.size() + 1));
        } else {
            const int changes = 1 + static_cast<int>(random() % 6);
            for (int i = 0; i < changes && !text.empty(); ++i) {
                const size_t at = random() % text.size();
                switch (random() % 3) {
                case 0: text[at] = alphabet[random() % (sizeof alphabet - 1)]; break;
                case 1: text.erase(at, 1 + random() % 8); break;
                default: text.insert(at, text.substr(random() % text.size(), 1 + random() % 20)); break;
                }
            }
        }
        options.useClones = static_cast<int32_t>(random() % 2);
        rootAnswer = static_cast<int>(random() % 3) - 1;
        auto importer = Import(text);
        if (importer->ErrorCode() == 0) {
            ASSERT_NE(importer->Root(), nullptr);
            ExpectWrittenBackAndReadAgain(importer->Root(), &document, trial);
        } else
            EXPECT_EQ(importer->Root(), nullptr);
        importer->ReportLines();
        if (Tables().Count() > 0) {
            FreeTables();
            RemoveFiles();
            LoadTablesDirectory();
        }
    }
}

}  // namespace
