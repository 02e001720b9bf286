// Small controls and window placement: placing windows in areas and in the frame, aspect fitting, the
// multi-selection list, button-face backgrounds, the text pane's edit styles and the font sample.

#include "app/ControlColours.h"
#include "widgets/FontSampleControl.h"
#include "app/MainFrame.h"
#include "widgets/MultiSelectListBox.h"
#include "app/StartProgram.h"
#include "widgets/TextPaneEdit.h"
#include "widgets/WindowPlacement.h"
#include "framework/dialog/DialogFrameCL.h"
#include "framework/dialog/FontDialog.h"
#include "foundation/FontRecord.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/draw/WindowDisplay.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <cstring>
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
        EXPECT_STREQ(text, "AaBbCc");
        record.turned = 0;
    }
    EXPECT_EQ(1, record.turned);
    SetFontDialogPresenter(previous);
}

} // namespace
