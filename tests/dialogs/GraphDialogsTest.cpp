// The graph windows' small dialogs and the template dialogs, answered on the screen as a person would.

#include "app/StartProgram.h"
#include "graph/GraphCommandDialogs.h"
#include "dialogs/GraphTemplateDialogs.h"
#include "dialogs/NumericFormatDialog.h"
#include "foundation/NumericFormat.h"
#include "foundation/PreferencesFonts.h"
#include "framework/window/MDIframeCL.h"
#include "model/GraphTemplate.h"
#include "model/GraphTemplateFile.h"
#include "tests/foundation/RegistryTestSupport.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

class GraphDialogs : public testing::Test, private HoldsFocusTestLock {
protected:
    static bool Enabled(DialogFrameCL& dialog, unsigned id) { return IsWindowEnabled(dialog.Control(id)) != 0; }
    static bool Checked(DialogFrameCL& dialog, unsigned id)
    {
        return SendMessageA(dialog.Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }

    ScopedApplication app;
    MDIframeCL frame{nullptr, 0, "frame"};
    MessageBoxRecorder boxes;
};

TEST_F(GraphDialogs, GraphLinesGreysALineNotOfferedAndWritesTheFlags)
{
    namespace Lines = Ctl::GraphLines;
    uint8_t vertical = kLineNotOffered;
    uint8_t horizontal = 0;
    double x = 7.0;
    double y = 9.0;
    ModalDialogDriver person;
    person.Then([](DialogFrameCL& dialog) {
              EXPECT_FALSE(Enabled(dialog, Lines::DrawDottedVerticalLine));
              EXPECT_FALSE(Enabled(dialog, Lines::XEdit));
              EXPECT_TRUE(Enabled(dialog, Lines::DrawDottedHorizontalLine));
              EXPECT_EQ(std::atof(dialog.ItemText(Lines::YEdit).Text()), 0.0); // not the 9 of a line not drawn
              SendMessageA(dialog.Control(Lines::DrawDottedHorizontalLine), BM_SETCHECK, BST_CHECKED, 0);
          })
        .Type(Lines::YEdit, "2.5")
        .Press(IDOK);
    EXPECT_EQ(GraphLinesDialog(vertical, horizontal, x, y).Run(), 1);
    EXPECT_EQ(vertical, 0);
    EXPECT_EQ(horizontal, 1);
    EXPECT_EQ(y, 2.5);
}

TEST_F(GraphDialogs, CopyGraphAnswersTextOrPicture)
{
    ModalDialogDriver person;
    person.Press(IDOK).Press(Ctl::CopyGraph::CopyAsBitmapMetafile).Press(IDOK).Press(IDCANCEL);
    EXPECT_EQ(RunCopyGraphDialog(), 1);
    EXPECT_EQ(RunCopyGraphDialog(), 0);
    EXPECT_EQ(RunCopyGraphDialog(), -1);
}

TEST_F(GraphDialogs, AProbabilityAxisChangesOnlyItsDecimalPlaces)
{
    NumericFormat axis(true);
    axis.spare = 1;
    axis.axisDigits = 3;
    axis.commas = 0;
    axis.chopOff = 2;
    axis.unitsKind = NumericFormat::UnitsTextAfter;
    axis.unitsText = "%";
    ModalDialogDriver person;
    person
        .Then([](DialogFrameCL& dialog) {
            EXPECT_STREQ(dialog.ItemText(2302).Text(), "For Probability Axis");
            EXPECT_EQ(dialog.Control(2320), nullptr);  // no scaling
        })
        .Type(Ctl::NumericFormattingPreferences::DecimalPlacesEdit, "5")
        .Press(IDOK);
    EXPECT_EQ(RunNumericFormatDialog(axis, -1, -1), 1);
    EXPECT_EQ(axis.axisDigits, 5);
    EXPECT_EQ(axis.commas, 0);
    EXPECT_EQ(axis.chopOff, 2);
    EXPECT_EQ(axis.unitsKind, NumericFormat::UnitsTextAfter);
    EXPECT_STREQ(axis.unitsText.Text(), "%");
}

// A template without a subtitle cannot apply one; fonts changed and cancelled stay as they were; "Use for new
// graphs" makes the template's fonts and size those of new graphs.
TEST_F(GraphDialogs, TemplatePropertiesOfferWhatTheGraphHadAndSetTheDefaults)
{
    namespace Props = Ctl::CreateGraphTemplate;
    StoreTestLock lock;
    SavedRegistryValue savedSize("Preferences", "DefaultGraphSize");
    const char* const fontKeys[] = {"GraphTitle", "GraphLbl", "GraphHAxisLabel", "GraphVAxisLabel", "GraphAxis",
                                    "GraphVAxis"};
    std::vector<std::unique_ptr<SavedRegistryValue>> savedFonts;
    for (const char* key : fontKeys)
        savedFonts.push_back(std::make_unique<SavedRegistryValue>("Fonts", key));
    ProgramApp program;
    for (int i = 0; i < DefaultFontCount; ++i)
        program.ReplaceDefaultFont(static_cast<DefaultFontIndex>(i), std::make_unique<FontRecord>());

    GraphTemplate made;
    made.description = "Wide";
    made.width = 6.0f;
    made.height = 2.5f;
    made.flags[GraphTemplate::HasSubtitle] = 0;
    made.flags[GraphTemplate::ApplySubtitle] = 1;
    for (int i = 0; i < 6; ++i)
        made.fonts[i].pointSize = static_cast<int16_t>(20 + i);
    int useForNewGraphs = 0;
    ModalDialogDriver person;
    person.Then([](DialogFrameCL& dialog) {
              EXPECT_FALSE(Enabled(dialog, Props::Title3838));
              EXPECT_FALSE(Checked(dialog, Props::Title3838));
              EXPECT_TRUE(Checked(dialog, Props::GraphSize));
              SendMessageA(dialog.Control(Props::UseForNewGraphs), BM_SETCHECK, BST_CHECKED, 0);
          })
        .Press(IDOK);
    EXPECT_TRUE(RunTemplatePropertiesDialog(made, useForNewGraphs));
    EXPECT_EQ(made.flags[GraphTemplate::ApplySubtitle], 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Only the graph size and fonts will be used for new graphs.");
    EXPECT_EQ(ReadDefaultGraphSize().width, 6.0f);
    EXPECT_EQ(ReadDefaultGraphSize().height, 2.5f);
    EXPECT_EQ(program.DefaultFont(GraphVAxisFont)->pointSize, 25);
    for (int i = 0; i < 6; ++i) {
        FontRecord saved;
        EXPECT_TRUE(LoadFontPreference(saved, fontKeys[i]));
        EXPECT_EQ(saved.pointSize, 20 + i) << fontKeys[i];
    }
}

TEST_F(GraphDialogs, MaintainTemplatesDeletesUntilTheButtonsGrey)
{
    namespace Maintain = Ctl::MaintainTemplates;
    GraphTemplateList templates;
    auto* only = new GraphTemplate;
    only->description = "Only";
    templates.Add(only);
    ModalDialogDriver person;
    person.Press(Maintain::Delete)
        .Then([](DialogFrameCL& dialog) {
            EXPECT_EQ(SendMessageA(dialog.Control(Maintain::TemplatesList), LB_GETCOUNT, 0, 0), 0);
            EXPECT_FALSE(Enabled(dialog, Maintain::Properties));
            EXPECT_FALSE(Enabled(dialog, Maintain::Delete));
        })
        .Press(IDOK);
    EXPECT_TRUE(RunMaintainTemplatesDialog(templates));
    EXPECT_EQ(templates.Count(), 0);
}

} // namespace
