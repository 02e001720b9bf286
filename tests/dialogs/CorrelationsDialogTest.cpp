// Correlations between variables: their text form and the Correlations dialog's lines, range changes and
// OK rules.

#include "dialogs/CorrelationsDialog.h"
#include "formula/CorrelationList.h"
#include "model/DocumentVariableOps.h"
#include "tests/support/MessageBoxRecorder.h"
#include "model/TreeDocument.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

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

void SetRange(DocVariable* variable, double low, double high, const char* lowText = "", const char* highText = "")
{
    variable->hasRange = 1;
    variable->low.value = low;
    variable->low.text = lowText;
    variable->high.value = high;
    variable->high.text = highText;
}

std::vector<std::string> Texts(const std::vector<zString>& lines)
{
    std::vector<std::string> texts;
    for (const zString& line : lines)
        texts.push_back(line.Text());
    return texts;
}

// main correlated with up (positive, range 1 .. 5), down (negative, range 1 .. 5), bare (no range) and
// a name the document no longer defines.
struct Fixture {
    TreeDocument document;
    DocVariable* main;
    Fixture()
    {
        main = document.EnsureVariable("Main", nullptr);
        SetRange(document.EnsureVariable("up", nullptr), 1, 5, "1", "5");
        SetRange(document.EnsureVariable("Down", nullptr), 1, 5, "1", "5");
        document.EnsureVariable("bare", nullptr);
        SetVariableCorrelations(document, *main, Entries({{"UP", 0}, {"DOWN", 1}, {"BARE", 0}, {"GONE", 0}}));
    }
};

TEST(CorrelationsTest, TextForm)
{
    TreeDocument document;
    document.EnsureVariable("xRate", nullptr);
    struct Row {
        CorrelationList* list;
        const char* expected;
    };
    const Row rows[] = {
        {Entries({{"XRATE", 0}, {"Y", 1}}), "+xRate, -Y"},
        {Entries({{"Y", 1}}), "-Y"},
        {Entries({}), ""},
        {nullptr, ""},
    };
    for (const Row& row : rows) {
        zString out("stale");
        FormatCorrelationText(&document, row.list, out);
        EXPECT_STREQ(out.Text(), row.expected);
        delete row.list;
    }
}

TEST(CorrelationsTest, LinesLeaveOutUndefinedAndSwapNegativeRanges)
{
    Fixture f;
    CorrelationsDialog dialog(f.document, *f.main, "0", "10");
    EXPECT_EQ(Texts(dialog.Lines()), (std::vector<std::string>{"up\t1 .. 5", "Down\t5 .. 1", "bare\t"}));
    EXPECT_STREQ(dialog.RangeText().Text(), "0 .. 10");
    EXPECT_FALSE(dialog.FieldsEnabled());
}

TEST(CorrelationsTest, VariableWithoutCorrelationsSkipsTheDialog)
{
    TreeDocument document;
    DocVariable* alone = document.EnsureVariable("alone", nullptr);
    int shown = 0;
    auto previous = CorrelationsDialog::SetPresenter([&](CorrelationsDialog&) {
        ++shown;
        return IDCANCEL;
    });
    std::vector<CorrelationItem*> chosen{nullptr};
    EXPECT_EQ(ShowCorrelationRanges(document, *alone, "0", "1", chosen), 1);
    EXPECT_TRUE(chosen.empty());
    EXPECT_EQ(shown, 0);
    CorrelationsDialog::SetPresenter(previous);
}

TEST(CorrelationsTest, SelectionEnablesTheFields)
{
    Fixture f;
    CorrelationsDialog dialog(f.document, *f.main, "0", "10");
    dialog.SetSelection({1});
    EXPECT_TRUE(dialog.FieldsEnabled());
    EXPECT_EQ(dialog.lowField.value, 1);
    EXPECT_EQ(dialog.highField.value, 5);
    dialog.SetSelection({2});
    EXPECT_TRUE(dialog.FieldsEnabled());
    EXPECT_EQ(dialog.lowField.value, 0);
    EXPECT_STREQ(dialog.highField.text.Text(), "");
    dialog.SetSelection({0, 1});
    EXPECT_FALSE(dialog.FieldsEnabled());
    EXPECT_FALSE(dialog.OnChange());
}

TEST(CorrelationsTest, ChangeNeedsHighAboveLow)
{
    Fixture f;
    CorrelationsDialog dialog(f.document, *f.main, "0", "10");
    MessageBoxRecorder boxes;
    f.document.SetModified(0);
    dialog.SetSelection({2});
    dialog.lowField = {zString("3"), 3};
    dialog.highField = {zString("3"), 3};
    EXPECT_FALSE(dialog.OnChange());
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "To assign a range, the high value must be greater than the low value.");
    EXPECT_EQ(f.document.FindVariable("bare", false)->hasRange, 0);
    EXPECT_EQ(f.document.Modified, 0);

    // The range goes to the document's variable at once: the document is changed.
    dialog.highField = {zString("7"), 7};
    EXPECT_TRUE(dialog.OnChange());
    EXPECT_EQ(f.document.Modified, 1);
    const DocVariable* bare = f.document.FindVariable("bare", false);
    EXPECT_EQ(bare->hasRange, 1);
    EXPECT_EQ(bare->low.value, 3);
    EXPECT_STREQ(bare->high.text.Text(), "7");
    EXPECT_EQ(Texts(dialog.Lines())[2], "bare\t3 .. 7");
}

TEST(CorrelationsTest, OkRefusesChosenVariablesWithoutRange)
{
    Fixture f;
    MessageBoxRecorder boxes;
    CorrelationsDialog dialog(f.document, *f.main, "0", "10");
    dialog.SetSelection({0, 1});
    EXPECT_TRUE(dialog.OnOk(false));
    ASSERT_EQ(dialog.Chosen().size(), 2u);
    EXPECT_STREQ(dialog.Chosen()[0]->name.Text(), "UP");
    EXPECT_STREQ(dialog.Chosen()[1]->name.Text(), "DOWN");
    EXPECT_EQ(boxes.Count(), 0u);

    EXPECT_FALSE(dialog.OnOk(true));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "One or more selected variables does not have a range assigned. You may assign one here by "
              "deselecting all other variables, or enter a range in the properties dialog for the variable.");
    EXPECT_EQ(dialog.Selection(), std::vector<int>{2});
}

TEST(CorrelationsTest, RunGivesTheChosenEntries)
{
    Fixture f;
    MessageBoxRecorder boxes;
    int rounds = 0;
    // "Select All + OK" is refused for the variable without range; the person gives it one and tries again.
    auto previous = CorrelationsDialog::SetPresenter([&](CorrelationsDialog& dialog) {
        if (++rounds == 2) {
            dialog.lowField = {zString(), 2};
            dialog.highField = {zString(), 4};
            dialog.OnChange();
        }
        return static_cast<int>(Ctl::Correlations::SelectAllOK);
    });
    std::vector<CorrelationItem*> chosen;
    EXPECT_EQ(ShowCorrelationRanges(f.document, *f.main, "0", "10", chosen), 1);
    EXPECT_EQ(rounds, 2);
    ASSERT_EQ(chosen.size(), 3u);
    EXPECT_STREQ(chosen[2]->name.Text(), "BARE");

    CorrelationsDialog::SetPresenter([](CorrelationsDialog&) { return IDCANCEL; });
    EXPECT_EQ(ShowCorrelationRanges(f.document, *f.main, "0", "10", chosen), 0);
    EXPECT_TRUE(chosen.empty());
    CorrelationsDialog::SetPresenter(previous);
}

}  // namespace
