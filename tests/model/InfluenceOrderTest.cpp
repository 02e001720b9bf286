// A diagram's events put in the order of a tree's levels, the events Bayes' rule revises, and the checks a
// diagram passes before it is converted.

#include "model/InfluenceChecks.h"
#include "model/InfluenceOrder.h"
#include "tests/support/SampleDiagram.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

class Diagram {
public:
    InfluenceNodeRecord* Node(int kind, const char* name, float x, float y, std::initializer_list<const char*> states = {"a", "b"})
    {
        return AddDiagramNode(document, document.diagram, kind, name, x, y, states);
    }
    InfluenceArc* Arc(InfluenceNodeRecord* tail, InfluenceNodeRecord* head)
    {
        return AddDiagramArc(document.diagram, tail, head);
    }
    std::string Order(InfluenceNodeRecord* finalNode, bool vertical = false, std::vector<RevisedEvent>* bayes = nullptr)
    {
        std::string names;
        for (const InfluenceNodeRecord* node : OrderDiagramNodes(finalNode, document.diagram.nodes, vertical, bayes))
            names += std::string(names.empty() ? "" : " ") + node->name.Text();
        return names;
    }

    InfluenceDocument document;
};

TEST(InfluenceOrder, ObservedChanceEventsPrecedeTheirDecisionAndTheFinalEventCloses)
{
    Diagram d;
    InfluenceNodeRecord* decision = d.Node(InfluenceKind::Decision, "D", 3, 1);
    InfluenceNodeRecord* observed = d.Node(InfluenceKind::Chance, "A", 1, 1);
    InfluenceNodeRecord* later = d.Node(InfluenceKind::Chance, "B", 0, 3);
    InfluenceNodeRecord* value = d.Node(InfluenceKind::Value, "V", 5, 1, {});
    InfluenceNodeRecord* cost = d.Node(InfluenceKind::Deterministic, "X", 6, 3, {});
    d.Arc(observed, decision);
    d.Arc(decision, value);
    d.Arc(later, value);
    d.Arc(cost, value);
    EXPECT_EQ(d.Order(value), "X A D B V");
    // A clone is never ordered itself: its arcs are its master's.
    InfluenceNodeRecord* clone = d.Node(InfluenceKind::Chance, "B", 2, 5);
    clone->isClone = 1;
    clone->cloneMaster = later;
    later->clones.push_back(clone);
    d.Arc(clone, decision);
    EXPECT_EQ(d.Order(value), "X B A D V");
}

TEST(InfluenceOrder, UnrelatedEventsGoByTheirPlaceAcrossOrDownThePage)
{
    Diagram d;
    d.Node(InfluenceKind::Chance, "Right", 5, 0);
    d.Node(InfluenceKind::Chance, "Left", 1, 4);
    InfluenceNodeRecord* value = d.Node(InfluenceKind::Value, "V", 8, 8, {});
    EXPECT_EQ(d.Order(value), "Left Right V");
    EXPECT_EQ(d.Order(value, true), "Right Left V");
}

TEST(InfluenceOrder, AnEventObservedLaterThanOneItInfluencesIsRevised)
{
    Diagram d;
    InfluenceNodeRecord* state = d.Node(InfluenceKind::Chance, "S", 1, 3, {"s1", "s2"});
    InfluenceNodeRecord* test = d.Node(InfluenceKind::Chance, "A", 1, 1, {"a1", "a2"});
    InfluenceNodeRecord* act = d.Node(InfluenceKind::Decision, "D", 3, 1, {"Act", "Wait"});
    InfluenceNodeRecord* value = d.Node(InfluenceKind::Value, "V", 5, 2, {});
    d.Arc(state, test);
    d.Arc(test, act);
    d.Arc(state, value);
    d.Arc(act, value);
    std::vector<RevisedEvent> bayes;
    EXPECT_EQ(d.Order(value, false, &bayes), "A D S V");
    ASSERT_EQ(bayes.size(), 1u);
    EXPECT_EQ(bayes[0].revised, state);
    EXPECT_EQ(bayes[0].predictors, std::vector<InfluenceNodeRecord*>{test});
    const DiagramCheck check = CheckDiagramComplete(d.document);
    EXPECT_EQ(check.finalNode, value);
    EXPECT_EQ(check.text, "");
}

TEST(InfluenceChecks, TheFirstFailureNamesItsNodes)
{
    const std::string cannot = "This diagram cannot be converted because ";
    const struct {
        const char* name;
        std::string text;
        int nodes;
    } cases[] = {
        {"two finals", cannot + "it is incomplete. (Exactly one node must have no successors.)", 0},
        {"no outcomes", "You have not defined outcomes or alternatives for the selected node.", 1},
        {"intermediate value",
         "Value nodes which influence other nodes (i.e., \"intermediate\" value nodes) must have a formula assigned. "
         "You may assign a formula via the Variable menu item in the Diagram menu.",
         1},
        {"loop", cannot + "there is an influence-loop.", 1},
        {"same names", "The selected nodes have identical variable names. After you change one of them, you should "
                       "ensure that all distributions conditional on either node are correct.",
         2},
    };
    for (const auto& c : cases) {
        Diagram d;
        const std::string which = c.name;
        InfluenceNodeRecord* decision = d.Node(InfluenceKind::Decision, "D", 1, 1);
        InfluenceNodeRecord* chance = d.Node(InfluenceKind::Chance, "C", 3, 1);
        InfluenceNodeRecord* value = d.Node(InfluenceKind::Value, "V", 5, 1, {});
        d.Arc(decision, chance);
        d.Arc(chance, value);
        // A clone without outcomes or successors is neither incomplete nor final.
        InfluenceNodeRecord* clone = d.Node(InfluenceKind::Chance, "C", 3, 3, {});
        clone->isClone = 1;
        clone->cloneMaster = chance;
        chance->clones.push_back(clone);
        if (which == "two finals")
            d.Node(InfluenceKind::Value, "W", 7, 1, {});
        if (which == "no outcomes")
            decision->outcomeNames.Clear();
        if (which == "intermediate value")
            d.Arc(d.Node(InfluenceKind::Value, "Cost", 1, 3, {}), chance);
        if (which == "loop") {
            InfluenceNodeRecord* back = d.Node(InfluenceKind::Chance, "E", 5, 3);
            d.Arc(chance, back);
            d.Arc(back, decision);
        }
        if (which == "same names")
            value->variableName = "d";
        const DiagramCheck check = CheckDiagramComplete(d.document);
        EXPECT_EQ(check.finalNode, nullptr) << which;
        EXPECT_EQ(check.text, c.text) << which;
        ASSERT_EQ(check.nodes.size(), static_cast<size_t>(c.nodes)) << which;
        if (which == "same names") {
            EXPECT_EQ(check.nodes, (std::vector<InfluenceNodeRecord*>{decision, value}));
        }
    }
}

TEST(InfluenceChecks, ADenseDiagramWithoutLoopsIsSearchedOnce)
{
    Diagram d;
    std::vector<InfluenceNodeRecord*> nodes;
    for (int i = 0; i < 60; ++i)
        nodes.push_back(d.Node(InfluenceKind::Chance, ("N" + std::to_string(i)).c_str(), i * 1.0f, 0));
    for (size_t i = 0; i < nodes.size(); ++i)
        for (size_t j = i + 1; j < nodes.size(); ++j)
            d.Arc(nodes[i], nodes[j]);
    const auto begun = std::chrono::steady_clock::now();
    EXPECT_EQ(FindInfluenceLoop(nodes.back(), PredecessorFilter{true, true, false}), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - begun, std::chrono::seconds(1));
    // Rows that influence only values are not followed when probabilities are asked for.
    InfluenceArc* back = d.Arc(nodes.back(), nodes.front());
    EXPECT_NE(FindInfluenceLoop(nodes.back(), PredecessorFilter{true, true, false}), nullptr);
    for (ArcInfluenceRow& row : back->settings.rows)
        row.affectsProbabilities = 0;
    EXPECT_EQ(FindInfluenceLoop(nodes.back(), PredecessorFilter{true, false, false}), nullptr);
}

} // namespace
