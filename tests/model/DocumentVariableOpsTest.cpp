// The document's operations on its variables: create, rename and delete everywhere, symmetric
// correlations, list texts, definitions and the report's lines.

#include "dialogs/VariableDefsDialog.h"
#include "treewin/VariablesReportDialog.h"
#include "formula/CorrelationList.h"
#include "formula/Distribution.h"
#include "formula/DistributionList.h"
#include "formula/RunOutcome.h"
#include "foundation/NameList.h"
#include "model/CloneCopies.h"
#include "model/DocumentVariableOps.h"
#include "model/ExpressionWalk.h"
#include "model/VariablesReport.h"
#include "tests/analysis/MarkovTestTrees.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Texts(const NameList& list)
{
    std::vector<std::string> texts;
    for (int i = 0; i < list.Count(); ++i)
        texts.push_back(list.At(i)->Text());
    return texts;
}

CorrelationList* Entries(std::initializer_list<std::pair<const char*, int>> items)
{
    auto* list = new CorrelationList(2, true);
    for (const auto& item : items) {
        auto* entry = new CorrelationItem;
        entry->name = item.first;
        entry->negative = static_cast<int16_t>(item.second);
        list->Add(entry);
    }
    return list;
}

// "NAME-" or "NAME+" for each entry of the variable's list.
std::string CorrelationsOf(TreeDocument& document, const char* name)
{
    const DocVariable* variable = document.FindVariable(name, false);
    std::string text;
    if (variable == nullptr || variable->correlations == nullptr)
        return text;
    for (int i = 0; i < variable->correlations->Count(); ++i) {
        const CorrelationItem* item = variable->correlations->At(i);
        text += item->name.Text();
        text += item->negative ? "- " : "+ ";
    }
    return text;
}

TEST(DocumentVariableOps, TrialVariableFromItsMarkedName)
{
    TreeBuilder tree;
    DocVariable* rate = tree.Document().EnsureVariable("{T} Rate", nullptr);
    ASSERT_NE(rate, nullptr);
    EXPECT_STREQ(rate->name.Text(), "Rate");
    EXPECT_EQ(rate->tFlag, 1);
    zString display;
    VariableDisplayName(tree.Document(), "Rate", display);
    EXPECT_STREQ(display.Text(), "{T} Rate");
    VariableDisplayName(tree.Document(), "Unknown", display);
    EXPECT_STREQ(display.Text(), "Unknown");
    tree.Document().EnsureVariable("plain", nullptr);
    std::vector<DocVariable*> flagged;
    EXPECT_EQ(ListFlaggedVariables(tree.Document(), &flagged), 1);
    ASSERT_EQ(flagged.size(), 1u);
    EXPECT_EQ(flagged[0], rate);
    EXPECT_EQ(ListFlaggedVariables(tree.Document(), nullptr), 1);
}

TEST(DocumentVariableOps, ReplaceInFormulaIsWholeWordAndIgnoresCase)
{
    struct Row {
        const char* before;
        const char* after;
        bool changed;
    };
    const Row rows[] = {
        {"p*2+pp", "q*2+pp", true},
        {"P+1", "q+1", true},
        {"pp+p_1+2", "pp+p_1+2", false},
        {"max(p; p)", "max(q; q)", true},
        {"", "", false},
    };
    for (const Row& row : rows) {
        Expression formula(row.before);
        EXPECT_EQ(ReplaceVariableInFormula(formula, "p", "q"), row.changed) << row.before;
        EXPECT_STREQ(formula.Text().Text(), row.after) << row.before;
    }
    Expression parsed("p+1");
    double value = 0;
    parsed.SetNumber(4, "p+1");
    ReplaceVariableInFormula(parsed, "p", "q");
    EXPECT_FALSE(parsed.HasParseTree());
    EXPECT_FALSE(parsed.GetConstant(&value));
}

TEST(DocumentVariableOps, RenameReachesBindingsFormulasDistributionsCorrelationsAndDisplay)
{
    TreeBuilder tree;
    TreeDocument& document = tree.Document();
    tree.Bind(tree.Root(), "p", "0.25");
    TreeNode* chance = tree.Add(tree.Root(), ChanceNode, "C");
    tree.Bind(chance, "p", "0.5");
    TreeNode* yes = tree.Terminal(chance, "yes", "p", "P*10+pp");
    tree.Terminal(chance, "no", "#", "1");
    document.EnsureVariable("other", nullptr);
    SetVariableCorrelations(document, *document.FindVariable("other", false), Entries({{"P", 1}}));

    auto* record = new DistributionRecord;
    record->index = 1;
    RunFault fault;
    const double normal[] = {1, 1, 0, 1};
    record->SetDistribution(MakeDistributionFromValues(4, normal, &fault));
    record->GetDistribution()->Parameter(0)->SetText("p*2+pp");
    record->GetDistribution()->Parameter(1)->SetText("P+1");
    document.Distributions.InsertSorted(record);
    document.CESettings.willingnessToPay.SetText("1000*p");
    document.CESettings.costCeiling.SetText("Rates[p; P+1]");
    auto* column = new DisplayColumn;
    column->kind = DisplayColumn::kCustomCalculation;
    column->formula = "P*4+pp";
    document.RollBackColumns.Add(column);
    document.CustomInterface = std::make_unique<CustomInterfaceSettings>();
    for (const char* name : {"pp", "P", "p"}) {
        auto* parameter = new CustomInterfaceParameter;
        parameter->variableName = name;
        document.CustomInterface->Add(parameter);
    }
    document.Modified = 0;

    RenameVariable(document, "p", "q");

    EXPECT_EQ(document.FindVariable("p", false), nullptr);
    ASSERT_NE(document.FindVariable("q", false), nullptr);
    EXPECT_STREQ(document.FindVariable("Q", true)->name.Text(), "q");
    EXPECT_EQ(document.Modified, 1);
    EXPECT_NE(tree.Root()->FindBinding("q", false), nullptr);
    EXPECT_EQ(tree.Root()->FindBinding("p", false), nullptr);
    EXPECT_NE(chance->FindBinding("Q", true), nullptr);
    EXPECT_STREQ(yes->probability.Text().Text(), "q");
    EXPECT_STREQ(yes->Payoff(0).Text().Text(), "q*10+pp");
    EXPECT_STREQ(record->GetDistribution()->Parameter(0)->Text().Text(), "q*2+pp");
    EXPECT_STREQ(record->GetDistribution()->Parameter(1)->Text().Text(), "q+1");
    EXPECT_STREQ(document.CESettings.willingnessToPay.Text().Text(), "1000*q");
    EXPECT_STREQ(document.CESettings.costCeiling.Text().Text(), "Rates[q; q+1]");
    EXPECT_STREQ(column->formula.Text(), "q*4+pp");
    const char* interfaceNames[] = {"pp", "q", "p"};
    for (int i = 0; i < 3; ++i)
        EXPECT_STREQ(document.CustomInterface->At(i)->variableName.Text(), interfaceNames[i]);
    EXPECT_EQ(CorrelationsOf(document, "other"), "Q- ");
    EXPECT_EQ(CorrelationsOf(document, "q"), "OTHER- ");
}

// Renaming and deleting reach every Markov formula: terminations, state rewards and transition rewards,
// in clone copies as in their masters.
TEST(DocumentVariableOps, RenameAndDeleteReachMarkovFormulas)
{
    MarkovTestTree model("_stage >= n");
    TreeDocument& document = model.Document();
    model.tree.Bind(document.Root, "n", "3");
    model.WellDead("0.1", "n", "n+1", "2*n");
    model.markov->SetMarkovTerminationText("n > 1", 2);
    model.markov->SetMarkovSharedTermination("_stage > n");
    model.well->SetMarkovRewardText(IncrementalReward, "N", 3);
    model.die->SetMarkovTransitionReward("n*10", 0);
    model.well->cloneStatus = CloneMasterNode;
    model.well->cloneId = 1;
    document.AddCloneMaster(model.well, "well");
    TreeNode* copy = model.tree.Add(document.Root, ChanceNode, "elsewhere");
    CopyCloneMaster(copy, model.well, nullptr);
    TreeNode* copiedDie = copy->GetChild(1);

    RenameVariable(document, "n", "m");
    EXPECT_NE(document.Root->FindBinding("m", false), nullptr);
    const struct {
        const Expression* formula;
        const char* text;
    } renamed[] = {
        {model.markov->MarkovTerminationExpr(0), "_stage >= m"},
        {model.markov->MarkovTerminationExpr(2), "m > 1"},
        {model.markov->MarkovSharedTerminationExpr(), "_stage > m"},
        {model.well->MarkovRewardExpr(InitialReward, 0), "m"},
        {model.well->MarkovRewardExpr(IncrementalReward, 0), "2*m"},
        {model.well->MarkovRewardExpr(FinalReward, 0), "m+1"},
        {model.well->MarkovRewardExpr(IncrementalReward, 3), "m"},
        {model.die->MarkovTransitionRewardExpr(0), "m*10"},
        {copiedDie->MarkovTransitionRewardExpr(0), "m*10"},
    };
    for (const auto& row : renamed)
        EXPECT_STREQ(row.formula->Text().Text(), row.text);

    // Deleting the name drops the parse tree of every formula that mentions it.
    ReparseTreeBindings(document.Root, true, nullptr, nullptr, nullptr);
    for (const auto& row : renamed)
        ASSERT_TRUE(row.formula->HasParseTree()) << row.text;
    DeleteVariable(document, "m");
    for (const auto& row : renamed)
        EXPECT_FALSE(row.formula->HasParseTree()) << row.text;
}

TEST(DocumentVariableOps, RenameOrDeleteOfAnUnknownNameDoesNothing)
{
    TreeBuilder tree;
    TreeDocument& document = tree.Document();
    tree.Bind(tree.Root(), "x", "1");
    document.Modified = 0;
    RenameVariable(document, "nothing", "else");
    DeleteVariable(document, "nothing");
    EXPECT_EQ(document.Modified, 0);
    EXPECT_EQ(document.Variables.Count(), 1);
    EXPECT_NE(tree.Root()->FindBinding("x", false), nullptr);
}

TEST(DocumentVariableOps, DeleteRemovesBindingsEverywhereAndCorrelations)
{
    TreeBuilder tree;
    TreeDocument& document = tree.Document();
    tree.Bind(tree.Root(), "cost", "5");
    TreeNode* chance = tree.Add(tree.Root(), ChanceNode, "C");
    tree.Bind(chance, "cost", "7");
    tree.Bind(chance, "keep", "1");
    document.EnsureVariable("{T} trial", nullptr);
    tree.Root()->SetBinding("{T} trial", "3", false);
    SetVariableCorrelations(document, *document.FindVariable("keep", false), Entries({{"COST", 0}, {"TRIAL", 1}}));

    DeleteVariable(document, "Cost");
    EXPECT_EQ(document.FindVariable("cost", false), nullptr);
    EXPECT_EQ(tree.Root()->FindBinding("cost", false), nullptr);
    EXPECT_EQ(chance->FindBinding("cost", false), nullptr);
    EXPECT_NE(chance->FindBinding("keep", false), nullptr);
    EXPECT_EQ(CorrelationsOf(document, "keep"), "TRIAL- ");

    DeleteVariable(document, "trial");
    EXPECT_EQ(document.FindVariable("trial", false), nullptr);
    EXPECT_EQ(tree.Root()->FindBinding("{T} trial", false), nullptr);
    EXPECT_EQ(CorrelationsOf(document, "keep"), "");
}

TEST(DocumentVariableOps, MarkedTreeIsRedrawnAfterRenameAndDelete)
{
    struct Row {
        uint8_t mark;
        int32_t suspended;
        long redraws;  // after one rename and one delete
    };
    const Row rows[] = {{0, 0, 0}, {1, 0, 0}, {2, 0, 2}, {2, 1, 1}};
    for (const Row& row : rows) {
        TreeBuilder tree;
        TreeDocument& document = tree.Document();
        tree.Bind(tree.Root(), "a", "1");
        document.DisplayPrefs.MarkNodesWithVars = row.mark;
        document.SuspendVariablesSync = row.suspended;
        const long before = document.RelayoutCount;
        RenameVariable(document, "a", "b");
        DeleteVariable(document, "b");
        EXPECT_EQ(document.RelayoutCount - before, row.redraws) << int(row.mark) << " " << row.suspended;
    }
}

TEST(DocumentVariableOps, CorrelationsStaySymmetric)
{
    TreeBuilder tree;
    TreeDocument& document = tree.Document();
    for (const char* name : {"A", "B", "C"})
        document.EnsureVariable(name, nullptr);
    DocVariable& a = *document.FindVariable("A", true);

    SetVariableCorrelations(document, a, Entries({{"B", 1}}));
    EXPECT_EQ(CorrelationsOf(document, "A"), "B- ");
    EXPECT_EQ(CorrelationsOf(document, "B"), "A- ");

    // Replacing the list: B forgets A, C learns it.
    CorrelationList* replacement = Entries({{"C", 0}});
    SetVariableCorrelations(document, a, replacement);
    EXPECT_EQ(replacement->Count(), 0);
    delete replacement;
    EXPECT_EQ(CorrelationsOf(document, "A"), "C+ ");
    EXPECT_EQ(CorrelationsOf(document, "B"), "");
    EXPECT_EQ(CorrelationsOf(document, "C"), "A+ ");

    // An empty list removes A from its partners; a partner that does not exist gets nothing.
    SetVariableCorrelations(document, a, nullptr);
    EXPECT_EQ(CorrelationsOf(document, "A"), "");
    EXPECT_EQ(CorrelationsOf(document, "C"), "");
    SetVariableCorrelations(document, a, Entries({{"GONE", 0}, {"A", 0}}));
    EXPECT_EQ(CorrelationsOf(document, "A"), "GONE+ A+ ");
}

TEST(DocumentVariableOps, DescriptionAndTrimmedLookup)
{
    TreeBuilder tree;
    TreeDocument& document = tree.Document();
    DocVariable* rate = document.EnsureVariable("Rate", nullptr);
    zString out("stale");
    GetVariableDescription(document, "rate", out);
    EXPECT_STREQ(out.Text(), "");
    rate->shortDescription = "annual rate";
    GetVariableDescription(document, "RATE", out);
    EXPECT_STREQ(out.Text(), "annual rate");
    rate->comment = "from the survey";
    GetVariableDescription(document, "rate", out);
    EXPECT_STREQ(out.Text(), "from the survey");
    GetVariableDescription(document, "none", out);
    EXPECT_STREQ(out.Text(), "");

    struct Row {
        const char* text;
        bool found;
        const char* after;
    };
    const Row rows[] = {
        {"  rate", true, "Rate"},
        {"{T} RATE x", true, "Rate"},
        {"rate extra", true, "Rate"},
        {"rat", false, "rat"},
    };
    for (const Row& row : rows) {
        zString text(row.text);
        EXPECT_EQ(FindVariableTrimmed(document, text), row.found) << row.text;
        EXPECT_STREQ(text.Text(), row.after) << row.text;
    }
}

TEST(DocumentVariableOps, ChoiceAndRowTextsByMode)
{
    TreeBuilder tree;
    TreeDocument& document = tree.Document();
    TreeNode* node = tree.Add(tree.Root(), ChanceNode, "N");
    tree.Bind(node, "a", "1");
    document.EnsureVariable("{T} b", nullptr);
    DocVariable* c = document.EnsureVariable("c", nullptr);
    c->hasRange = 1;
    c->shortDescription = "see";
    c->text4 = "four";
    document.FindVariable("a", false)->flag3 = 0;
    NodeChildList selection(1, Ownership::Borrows);
    selection.Add(node);

    struct Row {
        bool rows;
        int mode;
        std::vector<std::string> expected;
    };
    const Row table[] = {
        {false, 0, {"a", "b", "c"}},
        {false, 1, {"a *", "b", "c"}},
        {false, 3, {"a", "c"}},
        {true, 1, {"a\t*\t\t", "b\t\t{T} \t+", "c\t\t\t+"}},
        {true, 3, {"a", "c"}},
        {true, 4, {"a\t", "b\t", "c\tfour"}},
        {true, 5, {"a\t", "b\t", "c\t+"}},
        {true, 2, {"a", "b", "c"}},
    };
    for (const Row& row : table) {
        NameList out(4, true);
        if (row.rows)
            FillVariableRows(document, out, row.mode, &selection);
        else
            FillVariableChoices(document, out, row.mode, &selection);
        EXPECT_EQ(Texts(out), row.expected) << (row.rows ? "rows " : "choices ") << row.mode;
    }

    // While the tree shows rolled-back values no variable may be edited.
    document.RolledBack = RolledBackValues::Computed;
    EXPECT_EQ(CheckEditConflict(document, selection, "a", false), 0);
    NameList out(4, true);
    FillVariableChoices(document, out, 1, &selection);
    EXPECT_EQ(out.Count(), 0);
    document.RolledBack = RolledBackValues::None;
    EXPECT_EQ(CheckEditConflict(document, selection, "a", true), 1);
}

TEST(DocumentVariableOps, DefinitionsOfAVariable)
{
    TreeBuilder tree;
    TreeDocument& document = tree.Document();
    std::vector<std::string> shown;
    std::string shownName;
    auto previous = VariableDefsDialog::SetPresenter([&](const VariableDefsDialog& dialog) {
        shownName = dialog.VariableName().Text();
        shown = Texts(dialog.Lines());
    });

    document.EnsureVariable("rate", "0.5");
    ShowVariableDefinitions(document, "rate");
    EXPECT_EQ(shownName, "rate");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rfind("(Tree Default)\t", 0), 0u) << shown[0];
    EXPECT_EQ(shown[0].substr(shown[0].rfind('\t')), "\t0.5");

    TreeNode* node = tree.Add(tree.Root(), ChanceNode, "Second arm");
    tree.Bind(node, "rate", "rate*2");
    TreeNode* broken = tree.Add(tree.Root(), ChanceNode, "Broken");
    tree.Bind(broken, "rate", "1/0");
    NameList lines(4, true);
    CollectVariableDefinitionLines(document, "RATE", lines);
    ASSERT_EQ(lines.Count(), 3);
    zString expectedValue;
    EXPECT_EQ(std::string(lines.At(1)->Text()).rfind("Second arm\t", 0), 0u);
    EXPECT_EQ(std::string(lines.At(1)->Text()).substr(std::string(lines.At(1)->Text()).rfind('\t')), "\trate*2");
    EXPECT_STREQ(lines.At(2)->Text(), "Broken\t???\t1/0");

    MessageBoxRecorder boxes;
    shown.clear();
    ShowVariableDefinitions(document, "nowhere");
    EXPECT_TRUE(shown.empty());
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The variable \"nowhere\" has not been defined anywhere in the subtree. ");
    VariableDefsDialog::SetPresenter(previous);
}

TEST(DocumentVariableOps, ReportLines)
{
    const zString columns[ReportColumnCount] = {"rate", "short", "x*2", "4", "1", "9", ""};
    struct Row {
        VariablesReportSettings settings;
        const char* expected;
    };
    VariablesReportSettings nameAndComment;
    nameAndComment.includeComment = 1;
    VariablesReportSettings all{1, 1, 1, 1, 1, 1, 1, 0};
    VariablesReportSettings rangeOnly{0, 0, 0, 0, 1, 1, 0, 0};
    VariablesReportSettings none{0, 0, 0, 0, 0, 0, 0, 0};
    const Row rows[] = {
        {nameAndComment, "rate\t "},
        {all, "rate\tshort\tx*2\t4\t1\t9\t "},
        {rangeOnly, "1\t9"},
        {none, ""},
    };
    for (const Row& row : rows) {
        zString out("stale");
        FormatVariablesReportLine(columns, out, row.settings);
        EXPECT_STREQ(out.Text(), row.expected);
    }
}

TEST(DocumentVariableOps, ReportDialogRangeBoxGovernsBothBounds)
{
    VariablesReportSettings settings;
    auto previous = VariablesReportDialog::SetPresenter([](VariablesReportSettings& edited) {
        edited.includeLow = 1;
        edited.includeHigh = 0;
        edited.includeComment = 1;
        return IDOK;
    });
    EXPECT_EQ(RunVariablesReportDialog(settings), 1);
    EXPECT_EQ(settings.includeLow, 1);
    EXPECT_EQ(settings.includeHigh, 1);
    EXPECT_EQ(settings.includeComment, 1);

    VariablesReportDialog::SetPresenter([](VariablesReportSettings& edited) {
        edited.includeName = 0;
        return IDCANCEL;
    });
    EXPECT_EQ(RunVariablesReportDialog(settings), 0);
    EXPECT_EQ(settings.includeName, 1);
    VariablesReportDialog::SetPresenter(previous);
}

}  // namespace
