// Small controls and window placement: placing windows in areas and in the frame, aspect fitting, the
// multi-selection list, button-face backgrounds, the text pane's edit styles and the font sample.

#include "app/ControlColours.h"
#include "widgets/AppDialog.h"
#include "widgets/DocChildWindow.h"
#include "widgets/FilePathDialogs.h"
#include "widgets/FontSampleControl.h"
#include "app/MainFrame.h"
#include "widgets/MultiSelectListBox.h"
#include "widgets/ProgramDialog.h"
#include "app/StartProgram.h"
#include "widgets/TextPaneEdit.h"
#include "widgets/WindowPlacement.h"
#include "framework/dialog/DialogFrameCL.h"
#include "framework/dialog/FontDialog.h"
#include "foundation/FilePath.h"
#include "foundation/FontRecord.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/draw/WindowDisplay.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ThreadWindow.h"

#include <gtest/gtest.h>

#include "CommandIds.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<long> RectOf(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

HWND PopupOfSize(int width, int height)
{
    return CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, width, height, nullptr, nullptr, nullptr, nullptr);
}

TEST(WindowPlacement, FractionPlacesTheTopAndBoundsPullTheWindowBackToTheirCorner)
{
    HWND window = PopupOfSize(100, 60);
    const RECT area{0, 0, 400, 300};
    const struct {
        float fraction;
        const RECT* bounds;
        std::vector<long> rect;
    } rows[] = {
        {0.5f, nullptr, {150, 120, 250, 180}},
        {0.4f, nullptr, {150, 96, 250, 156}},   // (300 - 60) x 0.4
        {2.0f, &area, {150, 240, 250, 300}},     // pushed up to the bottom of the bounds
    };
    for (const auto& row : rows) {
        PlaceWindow(window, area, row.fraction, 0.5f, row.bounds);
        EXPECT_EQ(row.rect, RectOf(window)) << row.fraction;
    }
    // Larger than the bounds: its top-left corner at theirs.
    const RECT small{20, 10, 80, 40};
    PlaceWindow(window, small, 0.5f, 0.5f, &small);
    EXPECT_EQ((std::vector<long>{20, 10, 120, 70}), RectOf(window));
    DestroyWindow(window);
}

TEST(WindowPlacement, DialogTallerThanTheFrameSitsAtTheTopOfItsClientArea)
{
    ScopedApplication app;
    MainFrame frame;
    MoveWindow(frame.Handle(), 30, 20, 500, 300, TRUE);
    RECT client{};
    GetClientRect(frame.Handle(), &client);
    POINT origin{0, 0};
    ClientToScreen(frame.Handle(), &origin);
    HWND dialog = PopupOfSize(200, 900);
    PlaceWindowInFrame(dialog, 0.33f, 0.5f, true);
    EXPECT_EQ((std::vector<long>{origin.x + (client.right - 200) / 2, origin.y, origin.x + (client.right + 200) / 2,
                                 origin.y + 900}),
              RectOf(dialog));
    DestroyWindow(dialog);
}

HWND shownSystemDialog = nullptr;
RECT systemDialogRect{};

// Takes the place of the system's dialog once it shows, and cancels it.
void CALLBACK TakeSystemDialog(HWND, UINT, UINT_PTR, DWORD)
{
    if (HWND dialog = ThreadWindow("#32770")) {
        shownSystemDialog = dialog;
        GetWindowRect(dialog, &systemDialogRect);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
}

// Every kind of dialog opens over the document window it belongs to, where that window stands in the frame:
// centred across it, a third of the way down.
TEST(WindowPlacement, EveryKindOfDialogOpensOverTheActiveDocumentWindow)
{
    FocusTestLock focus;
    ScopedApplication app;
    MainFrame frame;
    frame.EndStartup();
    frame.Show(SW_SHOWNOACTIVATE);
    MoveWindow(frame.Handle(), 0, 0, 1000, 760, TRUE);
    auto* document = new DocChildWindow("Sheet", 0);
    document->Show(SW_SHOWNORMAL);
    MoveWindow(document->Handle(), 420, 160, 520, 480, TRUE);
    document->Activate();
    PumpMessagesUntil([&] { return frame.ActiveChild() == document; });
    RECT over{};
    GetClientRect(document->Handle(), &over);
    MapWindowPoints(document->Handle(), nullptr, reinterpret_cast<POINT*>(&over), 2);

    RECT shown{};
    const auto takeAndCancel = [&shown](DialogFrameCL& dialog) {
        GetWindowRect(dialog.Handle(), &shown);
        SendMessageA(dialog.Handle(), WM_COMMAND, IDCANCEL, 0);
    };
    const struct {
        const char* kind;
        std::function<void()> open;
    } cases[] = {
        {"application dialog", [] { AppDialog(DialogRes::Zoom).RunModal(); }},
        {"program dialog", [] { ProgramDialog(DialogRes::PasteTable).Run(); }},
        {"Save As", [&] {
             FilePath path;
             const UINT_PTR timer = SetTimer(nullptr, 0, 50, &TakeSystemDialog);
             ChooseSavePath(frame.Handle(), nullptr, "Save As", "placed.tre", path);
             KillTimer(nullptr, timer);
             shown = systemDialogRect;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        shown = RECT{};
        ModalDialogDriver person;
        person.Then(takeAndCancel);
        c.open();
        const int width = shown.right - shown.left;
        const int height = shown.bottom - shown.top;
        ASSERT_GT(width, 0);
        EXPECT_NEAR(shown.left, (over.left + over.right - width) / 2, 1);
        EXPECT_NEAR(shown.top, over.top + static_cast<int>((over.bottom - over.top - height) * 0.33f), 1);
    }
    delete document;
}

TEST(WindowPlacement, SquareInAWideRectangleIsCentredAtFullHeight)
{
    ScopedApplication app;
    MainFrame frame;
    WindowDisplay display(&frame);
    LogicalRect logical{};
    FitRectToAspect(1.0f, RECT{0, 0, 400, 100}, &logical, nullptr);
    const LogicalRect wide = PixelRectToLogical(RECT{0, 0, 400, 100}, display);
    EXPECT_FLOAT_EQ(wide.top, logical.top);
    EXPECT_FLOAT_EQ(wide.bottom, logical.bottom);
    EXPECT_NEAR(logical.bottom - logical.top, logical.right - logical.left, 1e-5);
    EXPECT_NEAR((wide.left + wide.right) / 2, (logical.left + logical.right) / 2, 1e-5);
}

TEST(SmallControls, MultiSelectionCachesAtMostAHundredAndColoursSpareEmptyControls)
{
    ScopedApplication app;
    DialogFrameCL dialog(nullptr, ResourceId(61330u, nullptr));
    MultiSelectListBox list(&dialog, 101);
    HWND box = GetDlgItem(dialog.Handle(), 101);
    for (int i = 0; i < 150; ++i) {
        SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("item " + std::to_string(i)).c_str()));
        SendMessageA(box, LB_SETSEL, TRUE, i);
    }
    EXPECT_EQ(100, list.ReadSelection());
    zString text;
    EXPECT_EQ(99, list.SelectedText(99, text));
    EXPECT_STREQ("item 99", text.Text());
    list.Select(7, true);
    EXPECT_EQ(1, list.ReadSelection());
    EXPECT_EQ(7, list.SelectedAt(0));

    TheProgram()->SetButtonFace(Colour{1, 2, 3, 0});
    WindowCL* label = WindowCL::FromHandle(GetDlgItem(dialog.Handle(), 102));
    WindowCL* edit = WindowCL::FromHandle(GetDlgItem(dialog.Handle(), 103));
    ASSERT_TRUE(label && edit);
    const COLORREF editBefore = edit->BackgroundColour();
    ApplyButtonFaceColour(&dialog);
    EXPECT_EQ(RGB(1, 2, 3), dialog.BackgroundColour());
    EXPECT_EQ(RGB(1, 2, 3), label->BackgroundColour());
    EXPECT_EQ(editBefore, edit->BackgroundColour());
}

TEST(SmallControls, TextPaneEditStylesFollowWrapAndReadOnly)
{
    ScopedApplication app;
    DialogFrameCL dialog(nullptr, ResourceId(61330u, nullptr));
    const struct {
        bool wrap, readOnly;
        DWORD style;
    } rows[] = {
        {true, true, 0x801004 | 0x10200840}, {true, false, 0x801004 | 0x10200040},
        {false, true, 0x100084 | 0x10200840}, {false, false, 0x100084 | 0x10200040},
    };
    for (const auto& row : rows) {
        auto* edit = new TextPaneEdit(&dialog, 200, row.wrap, row.readOnly);
        // The system draws the border itself and takes the bit off.
        const DWORD style = static_cast<DWORD>(GetWindowLongA(edit->Handle(), GWL_STYLE));
        EXPECT_EQ(row.style & ~WS_BORDER, style & row.style & ~WS_BORDER);
        EXPECT_EQ(0u, style & (row.readOnly ? 0u : static_cast<DWORD>(ES_READONLY)));
        EXPECT_GT(static_cast<unsigned long>(edit->Send(EM_GETLIMITTEXT)), 30000ul);
        delete edit;
    }
}

TEST(SmallControls, FontSampleShowsTheRecordUnturnedAndChangesOnlyWhenConfirmed)
{
    ScopedApplication app;
    DialogFrameCL dialog(nullptr, ResourceId(61330u, nullptr));
    HWND sample = GetDlgItem(dialog.Handle(), 105);
    bool confirm = false;
    const FontDialogPresenter previous = SetFontDialogPresenter([&](CHOOSEFONTA& chooser) {
        std::strcpy(chooser.lpLogFont->lfFaceName, "Courier New");
        chooser.iPointSize = 140;
        return confirm ? 1 : 0;
    });
    const auto shown = [&] {
        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(sample, WM_GETFONT, 0, 0)), sizeof font, &font);
        return std::string(font.lfFaceName) + " " + std::to_string(font.lfEscapement);
    };
    const auto click = [&] {
        SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(104, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog.Handle(), 104)));
    };
    FontRecord record;
    record.face = "Arial";
    record.turned = 1;
    {
        FontSampleControl control(&dialog, 104, &record, 105, nullptr);
        EXPECT_EQ("Arial 0", shown());
        EXPECT_EQ(1, record.turned);
        click();
        EXPECT_EQ(0, control.Changed);
        EXPECT_EQ("Arial 0", shown());
        confirm = true;
        click();
        EXPECT_EQ(1, control.Changed);
        EXPECT_EQ("Courier New 0", shown());
        EXPECT_EQ(14, record.pointSize);
        char text[64] = "";
        GetWindowTextA(sample, text, sizeof text);
        EXPECT_STREQ(text, "Sample");
        record.turned = 0;
    }
    EXPECT_EQ(1, record.turned);
    SetFontDialogPresenter(previous);
}

} // namespace
