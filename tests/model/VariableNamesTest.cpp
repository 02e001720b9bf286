// Variable name rules, name helpers and the sorted variable lists.

#include "model/DocVariable.h"
#include "model/NameRules.h"
#include "model/VariableDefinition.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(VariableNameRules, FirstBrokenRuleDecidesTheMessage)
{
    const std::string invalid = " is not a valid variable or table name. It must begin with a letter or underscore, "
                                "and contain only letters, numbers, and underscores.";
    const std::string tooLong(33, 'a');
    const std::string longWithHyphen = std::string(20, 'b') + "-" + std::string(19, 'c');
    struct Row {
        std::string name;
        std::string suffix;  // empty: accepted
    } rows[] = {
        {"_x1", ""},
        {"Rate", ""},
        {std::string(32, 'a'), ""},
        {"1x", invalid},
        {"", invalid},
        {tooLong, " is too long. Variable and table names are limited to 32 characters."},
        {longWithHyphen, invalid},
        {"exp", " is the name of a function, and cannot be used for a variable or table."},
        {"_stage", " is the name of a keyword, and cannot be used for a variable or table."},
    };
    for (const Row& row : rows) {
        MessageBoxRecorder boxes;
        const int accepted = CheckVariableName(zString(row.name.c_str()), true, false);
        EXPECT_EQ(accepted != 0, row.suffix.empty()) << row.name;
        if (row.suffix.empty()) {
            EXPECT_EQ(boxes.Count(), 0u) << row.name;
            continue;
        }
        ASSERT_EQ(boxes.Count(), 1u) << row.name;
        EXPECT_EQ(boxes.Last().text, "The name \"" + row.name + "\"" + row.suffix);
    }
}

TEST(VariableNameRules, QuietCheckShowsNothing)
{
    MessageBoxRecorder boxes;
    EXPECT_EQ(CheckVariableName(zString("9lives"), false, false), 0);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST(VariableNameHelpers, MakeValidName)
{
    struct Row {
        const char* input;
        const char* expected;
    } rows[] = {
        {"2 cost-rate", "__cost_rate"}, {"a_____", "a_"}, {"a__", "a_"}, {"__", "__"},
        {"Rate", "Rate"}, {"0123456789012345678901234567890123456789", "_1234567890123456789012345678901"},
    };
    for (const Row& row : rows) {
        zString text(row.input);
        MakeValidName(text);
        EXPECT_EQ(std::string(text.Text()), row.expected) << row.input;
    }
}

TEST(VariableNameHelpers, NormalizeAndStripMarker)
{
    struct Row {
        const char* input;
        const char* normalized;
    } rows[] = {{"{T} Rate x", "Rate"}, {"{T}", "{T}"}, {"cost\tmore", "cost"}, {"plain", "plain"}};
    for (const Row& row : rows) {
        zString text(row.input);
        NormalizeVariableName(text);
        EXPECT_EQ(std::string(text.Text()), row.normalized) << row.input;
    }
    zString marked("{T}   Rate");
    EXPECT_EQ(StripTMarker(marked), 1);
    EXPECT_EQ(std::string(marked.Text()), "Rate");
    zString unmarked("{T}Rate");
    EXPECT_EQ(StripTMarker(unmarked), 0);
    EXPECT_EQ(std::string(unmarked.Text()), "{T}Rate");
}

TEST(VariableLists, SortedByUpperNameEqualNamesFirst)
{
    VariableDefList list;
    VariableDefinition* b = new VariableDefinition("B", "1");
    VariableDefinition* upperA = new VariableDefinition("A", "2");
    VariableDefinition* lowerA = new VariableDefinition("a", "3");
    list.InsertSorted(b);
    list.InsertSorted(upperA);
    list.InsertSorted(lowerA);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.At(0), lowerA);
    EXPECT_EQ(list.At(1), upperA);
    EXPECT_EQ(list.At(2), b);
    EXPECT_EQ(list.Find("B"), b);
    EXPECT_NE(list.Find("A"), nullptr);
    EXPECT_EQ(list.Find("C"), nullptr);
    EXPECT_EQ(VariableDefList().Find("A"), nullptr);
}

TEST(VariableLists, BinarySearchFindsEveryItem)
{
    DocVariableList list;
    const char* names[] = {"delta", "Alpha", "charlie", "Echo", "bravo", "foxtrot", "golf"};
    for (const char* name : names)
        list.InsertSorted(new DocVariable(name));
    for (const char* name : names) {
        zString upper(name);
        upper.MakeUpper();
        DocVariable* found = FindVariableDefinition(list, upper.Text());
        ASSERT_NE(found, nullptr) << name;
        EXPECT_EQ(found->name, name);
    }
    EXPECT_EQ(FindVariableDefinition(list, "HOTEL"), nullptr);
}

TEST(VariableLists, AssignmentTextAndLabel)
{
    VariableDefinition definition("Rate", "0.05*2");
    zString text;
    definition.FormatAssignment(text, true);
    EXPECT_EQ(text, "Rate = 0.05*2");
    definition.FormatAssignment(text, false);
    EXPECT_EQ(text, "Rate=0.05*2");
    DocVariable variable("Rate");
    EXPECT_EQ(variable.GetLabel(text), 0);
    EXPECT_EQ(text, "Rate");
    variable.shortDescription = "Discount rate";
    EXPECT_EQ(variable.GetLabel(text), 1);
    EXPECT_EQ(text, "Discount rate");
}

}  // namespace
