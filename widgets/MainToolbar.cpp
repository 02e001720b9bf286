#include "widgets/MainToolbar.h"

#include "framework/draw/Bitmap.h"
#include "framework/draw/GdiScopes.h"
#include "framework/visual/VisualButton.h"
#include "framework/visual/VisualLayoutRule.h"
#include "framework/visual/VisualListPane.h"
#include "framework/visual/VisualToggleSet.h"
#include "framework/window/ResourceId.h"

#include "CommandIds.h"

#include <functional>
#include <memory>
#include <vector>

namespace {

VisualListPane* ToolBarPane = nullptr;
HWND ToolBarWindow = nullptr;
VisualToggleSet* ModeSet = nullptr;
std::vector<std::unique_ptr<LayoutManager>> GapRules;

const unsigned PushStyle = 0x6010;  // bare, flat, a pressed image
const unsigned CheckStyle = 0x6220; // bare, flat, latching, pressed and latched images
const int ButtonSize = 23;
// The pictures are drawn on this grey, which stands for the button face.
const COLORREF PictureBackground = RGB(192, 192, 192);
const int GapWidth = 9;

struct RowEntry {
    unsigned command; // 0: a gap
    unsigned bitmap;
    unsigned style;
    // The active window's command rules enable the button (EnableToolbarButtons).
    bool ruled = false;
};

const RowEntry Row[] = {
    {0, 0, 0},
    {Cmd::FileNew, 32328, PushStyle},
    {Cmd::FileOpen, 32313, PushStyle},
    {Cmd::FileSave, 32319, PushStyle},
    {Cmd::FilePrint, 32315, PushStyle},
    {Cmd::FilePrintPreview, 32314, PushStyle},
    {Cmd::FileConvertToOutline, 32327, PushStyle, true},
    {0, 0, 0},
    {Cmd::DisplayFont, 32306, PushStyle, true},
    {0, 0, 0},
    {Cmd::ShowVariables, 32322, PushStyle, true},
    {Cmd::ValuesDefineValues, 32305, PushStyle, true},
    {Cmd::ValuesProbabilityWheel, 32317, PushStyle, true},
    {Cmd::OptionsChangeNodeType, 32304, PushStyle, true},
    {0, 0, 0},
    {Cmd::AnalysisProbabilityDistribution, 32316, PushStyle, true},
    {Cmd::AnalysisOneWay, 32320, PushStyle, true},
    {Cmd::AnalysisTwoWay, 32321, PushStyle, true},
    {Cmd::AnalysisMonteCarloSimulation, 32307, PushStyle, true},
    {Cmd::AnalysisRollBack, 32318, CheckStyle, true},
    {0, 0, 0},
    {Cmd::ToggleNavigating, 32308, CheckStyle},
    {0, 0, 0},
    {Cmd::ModeArc, 32303, CheckStyle},
    {Cmd::ModeDecision, 32311, CheckStyle},
    {Cmd::ModeChance, 32310, CheckStyle},
    {Cmd::ModeDeterministic, 32326, CheckStyle},
    {Cmd::ModeValue, 32312, CheckStyle},
    {Cmd::ModeNone, 32303, CheckStyle},
};

// The pane while its window lives.
VisualListPane* LivePane()
{
    return ToolBarPane && ToolBarWindow && IsWindow(ToolBarWindow) && WindowCL::FromHandle(ToolBarWindow) == ToolBarPane
               ? ToolBarPane
               : nullptr;
}

void Enable(unsigned id, int enable)
{
    VisualCtrlKit::SetItemEnabled(LivePane(), id, enable != 0);
}

} // namespace

void BuildMainToolbar(VisualListPane* toolBarPane)
{
    ToolBarPane = toolBarPane;
    ToolBarWindow = toolBarPane ? toolBarPane->Handle() : nullptr;
    auto* layout = toolBarPane ? dynamic_cast<ChildLayout*>(toolBarPane->Layout()) : nullptr;
    if (!layout)
        return;
    GapRules.clear();
    int order = 2;
    const RowEntry* last = &Row[sizeof Row / sizeof Row[0] - 1];
    for (const RowEntry& entry : Row) {
        if (!entry.command) {
            GapRules.push_back(std::make_unique<VisualLayoutRule>(order++, GapWidth, 0, layout));
            continue;
        }
        Bitmap* bitmap = LoadToolbarPicture(entry.bitmap); // without it the button still works
        auto* rule = new VisualLayoutRule(order++, ButtonSize, ButtonSize, layout);
        auto* button = new VisualBitmapButton(toolBarPane, rule, entry.style | WS_CHILD, entry.command, bitmap);
        if (&entry != last)
            button->Show(SW_SHOW);
    }
    ModeSet = new VisualToggleSet(toolBarPane, Cmd::ModeDecision, Cmd::ModeNone);
    ModeSet->Select(Cmd::ModeNone);
    ModeSet->EnableAll(false);
    layout->Arrange(nullptr);
}

void DestroyMainToolbar()
{
    if (VisualListPane* pane = LivePane(); pane && ModeSet)
        pane->DeleteToggleSet(ModeSet);
    ModeSet = nullptr;
    GapRules.clear();
    ToolBarPane = nullptr;
    ToolBarWindow = nullptr;
}

Bitmap* LoadToolbarPicture(unsigned resourceId)
{
    auto picture = std::make_unique<Bitmap>(ResourceId(resourceId, nullptr));
    if (!picture->Handle())
        return nullptr;
    ScopedWindowDC screen(nullptr);
    ScopedMemoryDC memory(screen.Get());
    ScopedSelection selected(memory.Get(), picture->Handle());
    const SIZE size = picture->Size();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            if (GetPixel(memory.Get(), x, y) == PictureBackground)
                SetPixel(memory.Get(), x, y, face);
    return picture.release();
}

VisualListPane* MainToolbarPane() { return LivePane(); }
VisualToggleSet* ModeButtonSet() { return LivePane() ? ModeSet : nullptr; }

void EnableSaveCommand(int enable) { Enable(Cmd::FileSave, enable); }
void EnablePrintCommands(int enable)
{
    Enable(Cmd::FilePrint, enable);
    Enable(Cmd::FilePrintPreview, enable);
}
void EnableFontCommand(int enable) { Enable(Cmd::DisplayFont, enable); }
void EnableDefineVariable(int enable) { Enable(Cmd::ValuesDefineValues, enable); }
void EnableCommand1556(int enable) { Enable(Cmd::ShowVariables, enable); }
void EnableProbabilityWheel(int enable) { Enable(Cmd::ValuesProbabilityWheel, enable); }

void EnableToolbarButtons(const std::function<bool(unsigned id)>& rule)
{
    for (const RowEntry& entry : Row)
        if (entry.ruled)
            Enable(entry.command, rule(entry.command) ? 1 : 0);
}

void CheckRollBackButton(bool checked)
{
    VisualCtrlKit::SetItemChecked(LivePane(), Cmd::AnalysisRollBack, checked);
}

void DisableAnalysisCommands()
{
    for (unsigned id : {Cmd::AnalysisOneWay, Cmd::AnalysisTwoWay, Cmd::AnalysisProbabilityDistribution,
                        Cmd::AnalysisMonteCarloSimulation, Cmd::AnalysisRollBack, Cmd::OptionsChangeNodeType})
        Enable(id, 0);
    // A rolled-back tree's pressed button must not stay pressed for a window that has no roll back.
    VisualCtrlKit::SetItemChecked(LivePane(), Cmd::AnalysisRollBack, false);
}

void EnableRollBack(int enable, int checked)
{
    VisualCtrlKit::SetItemChecked(LivePane(), Cmd::AnalysisRollBack, checked != 0);
    Enable(Cmd::AnalysisRollBack, enable);
}

void SetNavigatingButton(int checked)
{
    Enable(Cmd::ToggleNavigating, 1);
    VisualCtrlKit::SetItemChecked(LivePane(), Cmd::ToggleNavigating, checked != 0);
}

void SelectDefaultMode()
{
    if (!ModeButtonSet())
        return;
    ModeSet->Select(Cmd::ModeNone);
    ModeSet->EnableAll(false);
}

void SelectModeButton(unsigned id)
{
    if (!ModeButtonSet())
        return;
    if (!VisualCtrlKit::IsItemEnabled(ToolBarPane, Cmd::ModeArc))
        ModeSet->EnableAll(true);
    const unsigned target = id >= Cmd::ModeDecision && id < Cmd::ModeNone ? id : Cmd::ModeNone;
    if (ModeSet->Current() != target)
        ModeSet->Select(target);
}
