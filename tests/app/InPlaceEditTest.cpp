#include "widgets/InPlaceEdit.h"
#include "widgets/ZoomPane.h"
#include "framework/draw/WindowDisplay.h"
#include "framework/draw/zFont.h"
#include "framework/window/ChildLayout.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class InPlaceEditTest : public testing::Test {
protected:
    void SetUp() override
    {
        top.Create();
        top.Show(SW_SHOW);
        pane = new ZoomPane(nullptr, &top, new ChildLayout(0, 0, 400, 300, nullptr), WS_CHILD | WS_VISIBLE);
        UpdateWindow(top.Handle());
        font = std::make_unique<zFont>(zFontSpec("Arial", 0, -16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0), nullptr);
    }
    // The editor in the font it measures with.
    template <class Editor>
    Editor* Open(const RECT& rect, unsigned flags, DWORD style = 0)
    {
        auto* editor = new Editor(pane, rect, flags, style, "", 7);
        SendMessageA(editor->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font->Handle()), FALSE);
        editor->SetMeasuringFont(font.get());
        return editor;
    }
    static SIZE SizeOf(HWND window)
    {
        RECT rect;
        GetWindowRect(window, &rect);
        return SIZE{rect.right - rect.left, rect.bottom - rect.top};
    }
    RECT UpdateArea() const
    {
        RECT area{};
        GetUpdateRect(pane->Handle(), &area, FALSE);
        return area;
    }

    // The shown window takes the focus from tests running beside this one.
    FocusTestLock focus;
    ScopedApplication app;
    RecordingTopWindow top{nullptr, "top", WS_OVERLAPPEDWINDOW, new ChildLayout(0, 0, 500, 400, nullptr)};
    ZoomPane* pane = nullptr;
    std::unique_ptr<zFont> font;
};

TEST_F(InPlaceEditTest, LineEditorGrowsSoThatItsTextNeverScrolls)
{
    InPlaceLineEdit* editor = Open<InPlaceLineEdit>(RECT{20, 20, 220, 44}, 0, ES_AUTOHSCROLL);
    // The frame stands four pixels outside the editor, drawn in black on the screen.
    ASSERT_NE(editor->Frame(), nullptr);
    const RECT frame = editor->Frame()->rect;
    EXPECT_EQ(frame.left, 16);
    EXPECT_EQ(frame.bottom, 48);
    HDC dc = GetDC(pane->Handle());
    EXPECT_EQ(GetPixel(dc, frame.left, frame.top + 10), RGB(0, 0, 0));
    ReleaseDC(pane->Handle(), dc);

    editor->TypeText("Short");
    EXPECT_EQ(SizeOf(editor->Handle()).cx, 200);
    // Scrolling the pane carries the editor along; it grows from where it went.
    pane->Scroll(-5, -3, nullptr);
    pane->OwnDisplay()->SetWindowOrigin(5, 3);
    editor->TypeText(" and then a longer name");
    EXPECT_GT(SizeOf(editor->Handle()).cx, 200);
    EXPECT_EQ(editor->EditRect().left, 15);
    RECT placed;
    GetWindowRect(editor->Handle(), &placed);
    MapWindowPoints(nullptr, pane->Handle(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, 15);
    EXPECT_EQ(placed.top, 17);
    EXPECT_EQ(editor->GetText(), zString("Short and then a longer name"));
    // The first character is still the first one shown: nothing scrolled out at the left.
    EXPECT_EQ(LOWORD(SendMessageA(editor->Handle(), EM_CHARFROMPOS, 0, MAKELPARAM(2, 5))), 0);
    const RECT grown = editor->EditRect();
    EXPECT_EQ(editor->Frame()->rect.left, 15 - 4 + 5);
    EXPECT_EQ(editor->Frame()->rect.right, grown.right + 4 + 5);

    // Deleting the editor gives the frame's area back to the pane to repaint, in its client pixels.
    ValidateRect(pane->Handle(), nullptr);
    delete editor;
    const RECT area = UpdateArea();
    EXPECT_EQ(area.left, 15 - 4 - 1);
    EXPECT_EQ(area.right, grown.right + 4 + 1);
}

TEST_F(InPlaceEditTest, WithoutAFrameNothingAroundTheEditorIsTouched)
{
    InPlaceLineEdit* editor = Open<InPlaceLineEdit>(RECT{20, 20, 220, 44}, InPlaceEdit::NoFrame);
    EXPECT_EQ(editor->Frame(), nullptr);
    ValidateRect(pane->Handle(), nullptr);
    delete editor;
    // At most the editor's own place needs repainting.
    const RECT area = UpdateArea();
    EXPECT_GE(area.left, 20);
    EXPECT_LE(area.bottom, 44);
}

TEST_F(InPlaceEditTest, MultiLineEditorGrowsDownUntilItsOwnerStopsIt)
{
    InPlaceMultiLineEdit* editor = Open<InPlaceMultiLineEdit>(RECT{20, 20, 120, 44}, 0, ES_AUTOVSCROLL);
    editor->TypeText("one\rtwo\rthree");
    const SIZE grown = SizeOf(editor->Handle());
    EXPECT_GT(grown.cy, 24);
    EXPECT_EQ(SendMessageA(editor->Handle(), EM_GETLINECOUNT, 0, 0), 3);
    // Every line is in view: the first visible line is the first.
    EXPECT_EQ(SendMessageA(editor->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    editor->SetStopGrowing(true);
    editor->TypeText("\rfour\rfive and a much longer line than before");
    EXPECT_EQ(SizeOf(editor->Handle()).cx, grown.cx);
    EXPECT_EQ(SizeOf(editor->Handle()).cy, grown.cy);
    delete editor;
}

} // namespace
