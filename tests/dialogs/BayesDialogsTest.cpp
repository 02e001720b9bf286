// Bayes' revision from its command, its prompts answered on the screen as a person would.

#include "treewin/BayesDialogs.h"
#include "model/VariableDefinition.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/DialogControls.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct BayesScreen : OnScreen {
    MessageBoxRecorder boxes;
    TreeBuilder tree;
    TreeNode* bayes;
    BayesScreen(const char* first, const char* second)
    {
        bayes = tree.Add(tree.Root(), ChanceNode, "Test");
        for (const char* result : {first, second}) {
            TreeNode* test = tree.Add(bayes, ChanceNode, result);
            tree.Terminal(test, "Disease", "", "1");
            tree.Terminal(test, "No disease", "", "0");
        }
    }
    std::string Bound(const char* name)
    {
        const VariableDefinition* binding = bayes->FindBinding(name, false);
        return binding != nullptr ? std::string(binding->definition.Text().Text()) : "(none)";
    }
};

// Every prior and likelihood in turn: a formula that does not parse keeps its prompt, the last entries of
// each kind are proposed, and OK on the last one rewrites the subtree.
TEST(BayesDialogs, GeneralRouteAsksEachEntryAndRewritesTheSubtree)
{
    BayesScreen screen("Positive", "Negative");
    screen.boxes.Answer(IDNO);
    auto enter = [](ModalDialogDriver& driver, const char* value) {
        driver.Type(Ctl::BayesRevision::ValueEdit, value).Type(Ctl::BayesRevision::ExpressionEdit, value).Press(IDOK);
    };
    ModalDialogDriver driver;
    driver.Then([](DialogFrameCL& dialog) {
        EXPECT_EQ(TextOf(dialog, Ctl::BayesRevision::PromptText), "Enter the a priori probability that \"Disease\".");
    });
    driver.Type(Ctl::BayesRevision::ValueEdit, "0.3").Type(Ctl::BayesRevision::ExpressionEdit, "0.3+").Press(IDOK);
    enter(driver, "0.3");
    enter(driver, "0.9");
    driver.Then([](DialogFrameCL& dialog) {
        EXPECT_EQ(TextOf(dialog, Ctl::BayesRevision::ExpressionEdit), "0.1");
        EXPECT_EQ(TextOf(dialog, Ctl::BayesRevision::ValueEdit), "0.1");
    });
    driver.Press(IDOK);
    driver.Then([](DialogFrameCL& dialog) { EXPECT_EQ(TextOf(dialog, Ctl::BayesRevision::ExpressionEdit), "0.7"); });
    driver.Press(IDOK);
    enter(driver, "0.2");
    driver.Press(IDOK);
    ReviseWithBayes(screen.bayes);
    EXPECT_TRUE(driver.Finished());
    ASSERT_GE(screen.boxes.Count(), 2u);
    EXPECT_EQ(screen.boxes.Boxes()[0].text, "Do you have sensitivity/specificity information for this test?");
    EXPECT_EQ(screen.Bound("_p1"), "0.658536585");
    EXPECT_EQ(screen.Bound("_p5"), "0.949152542");
    EXPECT_EQ(screen.Bound("_p6"), "0.59");
    zString probability;
    screen.bayes->GetChild(1)->GetChild(0)->GetProbabilityText(probability);
    EXPECT_EQ(std::string(probability.Text()), "_p4");
}

// Sensitivity and specificity: "Negative"/"Positive" make the second result the positive one; the three
// entries give the same posteriors as the general route, in the tree's own result order.
TEST(BayesDialogs, SensitivitySpecificityRouteTakesThreeEntries)
{
    BayesScreen screen("Negative", "Positive");
    ModalDialogDriver driver;
    driver
        .Then([](DialogFrameCL& dialog) {
            EXPECT_EQ(TextOf(dialog, Ctl::BayesRevision3340::T1 + 1), "Positive");
            EXPECT_EQ(SendMessageA(dialog.FindChild(Ctl::BayesRevision3340::T1 + 1)->Handle(), BM_GETCHECK, 0, 0),
                      BST_CHECKED);
            EXPECT_EQ(SendMessageA(dialog.FindChild(Ctl::BayesRevision3340::C1)->Handle(), BM_GETCHECK, 0, 0),
                      BST_CHECKED);
        })
        .Press(IDOK);
    for (const char* entry : {"0.3", "0.9", "0.8"})
        driver.Type(Ctl::BayesRevision::ValueEdit, entry).Type(Ctl::BayesRevision::ExpressionEdit, entry).Press(IDOK);
    ReviseWithBayes(screen.bayes);
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(screen.Bound("_p1"), "0.050847458");
    EXPECT_EQ(screen.Bound("_p2"), "0.949152542");
    EXPECT_EQ(screen.Bound("_p3"), "0.59");
    EXPECT_EQ(screen.Bound("_p4"), "0.658536585");
}

// A variable picked from the Variables menu goes into the Expression field; Cancel on a prompt leaves the tree
// as it was.
TEST(BayesDialogs, VariablesMenuFillsTheExpressionAndCancelChangesNothing)
{
    BayesScreen screen("Positive", "Negative");
    screen.tree.Document().EnsureVariable("prevalence", nullptr);
    screen.boxes.Answer(IDNO);
    ModalDialogDriver driver;
    driver.Type(Ctl::BayesRevision::ValueEdit, "0.3")
        .Type(Ctl::BayesRevision::ExpressionEdit, "0.3")
        .Press(IDOK)
        .Press(BayesProbabilitiesDialog::kFirstVariableItem)
        .Then(
            [](DialogFrameCL& dialog) { EXPECT_EQ(TextOf(dialog, Ctl::BayesRevision::ExpressionEdit), "prevalence"); })
        .Press(IDCANCEL);
    ReviseWithBayes(screen.bayes);
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(screen.bayes->BindingCount(), 0);
    EXPECT_FALSE(screen.tree.Document().HasVariable("_p1", false));
    zString probability;
    screen.bayes->GetChild(0)->GetProbabilityText(probability);
    EXPECT_EQ(std::string(probability.Text()), "");
}

}  // namespace
