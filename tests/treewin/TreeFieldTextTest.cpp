// Probabilities typed in place: evaluated at once, and the one branch left empty completed to one.

#include "treewin/TreeWindow.h"

#include "model/TreeNode.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Probability(const TreeNode* node)
{
    zString text;
    node->GetProbabilityText(text);
    return text.Text();
}

TEST(TreeFieldText, TypedProbabilityCompletesTheOneEmptySibling)
{
    struct Case {
        const char* what;
        bool complementary;
        std::vector<const char*> siblings;  // probabilities of the branches after the typed one
        const char* typed;
        std::vector<std::string> expected;  // the siblings afterwards
    } cases[] = {
        {"one empty sibling", true, {""}, "0.3", {"0.7"}},
        {"completion off", false, {""}, "0.3", {""}},
        {"two empty siblings", true, {"", ""}, "0.3", {"", ""}},
        {"others sum above one", true, {"0.9", ""}, "0.3", {"0.9", ""}},
        {"a sibling with a variable", true, {"x", ""}, "0.3", {"x", ""}},
        {"a complement is stored as typed", true, {""}, "#", {""}},
    };
    MessageBoxRecorder boxes;
    for (const Case& c : cases) {
        TreeWindow window;
        TreeDocument& tree = window.Document();
        tree.EnsureVariable("x", "0.1");
        tree.CalcPrefs.CalcComplementaryProbs = c.complementary ? 1 : 0;
        TreeNode* chance = tree.AddChild(tree.Root, ChanceNode, "C");
        TreeNode* typedOn = tree.AddChild(chance, TerminalNode, "T");
        std::vector<TreeNode*> siblings;
        for (const char* probability : c.siblings)
            siblings.push_back(tree.AddChild(chance, TerminalNode, "S", probability));
        window.SelectNode(typedOn, 2, nullptr, false);
        window.SetFieldText(2, zString(c.typed), true);
        EXPECT_EQ(Probability(typedOn), c.typed) << c.what;
        for (size_t i = 0; i < siblings.size(); ++i)
            EXPECT_EQ(Probability(siblings[i]), c.expected[i]) << c.what;
    }
    for (const MessageBoxRecorder::Box& box : boxes.Boxes())
        ADD_FAILURE() << box.text;
}

}  // namespace
