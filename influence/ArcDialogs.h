#pragma once
// The dialogs of an arc: "Arc Data", with one row per state of the source saying what that state influences
// and how the conversion treats it, for an arc between two nodes with states into a node that is no value
// node; "Edit Arc", the comment alone, for any other arc. OK hands the new settings to the window's undo
// history as "Edit Arc".

#include "foundation/zString.h"
#include "framework/window/PaneWindowCL.h"
#include "model/InfluenceArc.h"

#include <vector>

class InfluenceDiagramWindow;
class InfluenceNodeRecord;
class ButtonCtrl;
class ProgramDialog;

// Opens the arc's dialog; the rows are first brought to the source's number of states for "Arc Data".
void EditArcSettings(InfluenceDiagramWindow& window, InfluenceArc& arc);

// The rows of "Arc Data" in a scrolling pane over the dialog's grid area, 42 pixels apart: the state's name,
// the "Probs" and "Values" boxes the target allows, the instruction button (its id is the chosen item of its
// menu, 800 + 5 * row + instruction) and, for "Force >" and "Elim >", the target-state button (500 + row * n
// + state, n the target's number of states). A menu's item, sent as a command, chooses it.
class ProbValueGrid : public PaneWindowCL {
public:
    static constexpr int kRowPitch = 42;
    static constexpr unsigned kFirstInstruction = 800;
    static constexpr unsigned kFirstTargetState = 500;
    // The boxes of row i: Probs 10000 + 2 i, Values 10001 + 2 i.
    static constexpr unsigned kFirstBox = 10000;

    ProbValueGrid(ProgramDialog& dialog, unsigned areaId, const ArcSettings& settings,
                  const InfluenceNodeRecord& source, const InfluenceNodeRecord& target);
    ~ProbValueGrid() override;

    // New settings with the comment and show flag: one row per state from the buttons and boxes; hidden
    // when no box is checked.
    ArcSettings Apply(const zString& comment, int16_t show) const;
    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    int RowCount() const { return static_cast<int>(rows_.size()); }

private:
    struct Row {
        ArcInfluenceRow entry;
        ButtonCtrl* probs = nullptr;
        ButtonCtrl* values = nullptr;
        ButtonCtrl* instruction = nullptr;
        ButtonCtrl* state = nullptr;
    };
    void MakeButtons(int i);
    void Choose(unsigned id);
    void PopUp(int i, bool instruction);
    long OnScroll(WindowEvent* event);
    void ScrollTo(int position);

    ProgramDialog& dialog_;
    std::vector<Row> rows_;
    std::vector<zString> targetStates_;
    int width_ = 0;
    int scroll_ = 0;
};
