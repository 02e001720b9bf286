#include "app/MainToolbar.h"

#include "framework/draw/Bitmap.h"
#include "framework/draw/GdiScopes.h"
#include "framework/visual/VisualButton.h"
#include "framework/visual/VisualLayoutRule.h"
#include "framework/visual/VisualListPane.h"
#include "framework/visual/VisualToggleSet.h"
#include "framework/window/ResourceId.h"

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
};

const RowEntry Row[] = {
    {0, 0, 0},
    {1115, 32328, PushStyle}, {1103, 32313, PushStyle}, {1104, 32319, PushStyle}, {1108, 32315, PushStyle},
    {1112, 32314, PushStyle}, {1106, 32327, PushStyle},
    {0, 0, 0},
    {1303, 32306, PushStyle},
    {0, 0, 0},
    {1556, 32322, PushStyle}, {1502, 32305, PushStyle}, {1513, 32317, PushStyle}, {1405, 32304, PushStyle},
    {0, 0, 0},
    {1602, 32316, PushStyle}, {1651, 32320, PushStyle}, {1652, 32321, PushStyle}, {1614, 32307, PushStyle},
    {1612, 32318, CheckStyle},
    {0, 0, 0},
    {1554, 32308, CheckStyle},
    {0, 0, 0},
    {1754, 32303, CheckStyle}, {1750, 32311, CheckStyle}, {1751, 32310, CheckStyle}, {1752, 32326, CheckStyle},
    {1753, 32312, CheckStyle}, {NoModeCommand, 32303, CheckStyle},
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
    ModeSet = new VisualToggleSet(toolBarPane, FirstModeCommand, NoModeCommand);
    ModeSet->Select(NoModeCommand);
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

void EnableSaveCommand(int enable) { Enable(1104, enable); }
void EnablePrintCommands(int enable)
{
    Enable(1108, enable);
    Enable(1112, enable);
}
void EnableConvertToOutline(int enable) { Enable(1106, enable); }
void EnableFontCommand(int enable) { Enable(1303, enable); }
void EnableDefineVariable(int enable) { Enable(1502, enable); }
void EnableCommand1556(int enable) { Enable(1556, enable); }
void EnableProbabilityWheel(int enable) { Enable(1513, enable); }
void EnableChangeNodeType(int enable) { Enable(1405, enable); }
void EnableOneWaySensitivity(int enable) { Enable(1651, enable); }
void EnableTwoWaySensitivity(int enable) { Enable(1652, enable); }
void EnableProbabilityDistribution(int enable) { Enable(1602, enable); }
void EnableMonteCarlo(int enable) { Enable(1614, enable); }

void DisableAnalysisCommands()
{
    for (unsigned id : {1651u, 1652u, 1602u, 1614u, 1612u, 1405u})
        Enable(id, 0);
}

void EnableRollBack(int enable, int checked)
{
    VisualCtrlKit::SetItemChecked(LivePane(), 1612, checked != 0);
    Enable(1612, enable);
}

void SetNavigatingButton(int checked)
{
    Enable(1554, 1);
    VisualCtrlKit::SetItemChecked(LivePane(), 1554, checked != 0);
}

void SelectDefaultMode()
{
    if (!ModeButtonSet())
        return;
    ModeSet->Select(NoModeCommand);
    ModeSet->EnableAll(false);
}

void SelectModeButton(unsigned id)
{
    if (!ModeButtonSet())
        return;
    if (!VisualCtrlKit::IsItemEnabled(ToolBarPane, 1754))
        ModeSet->EnableAll(true);
    const unsigned target = id >= FirstModeCommand && id < NoModeCommand ? id : NoModeCommand;
    if (ModeSet->Current() != target)
        ModeSet->Select(target);
}
