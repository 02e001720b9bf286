#include "framework/dialog/MDIdialogCL.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/MDIframeCL.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Keeps the window name that creation requested.
class CreationName : public EventTarget {
public:
    long Record(WindowEvent* event)
    {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(event->lParam);
        name = create->lpszName ? create->lpszName : "(none)";
        return 0;
    }
    std::string name;
};

// A dialog that records its own deletion.
class DeletionRecordingDialog : public MDIdialogCL {
public:
    DeletionRecordingDialog(WindowCL* parent, unsigned templateId, bool* deleted)
        : MDIdialogCL(parent, ResourceId(templateId, nullptr), 0, true), deleted_(deleted)
    {
    }
    ~DeletionRecordingDialog() override { *deleted_ = true; }

private:
    bool* deleted_;
};

// The tests show their frames.
class MDIdialog : public testing::Test, private HoldsFocusTestLock {};

std::vector<std::string> BarTexts(HWND window)
{
    std::vector<std::string> texts;
    HMENU bar = GetMenu(window);
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        char text[100] = {};
        GetMenuStringA(bar, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        texts.push_back(text);
    }
    return texts;
}

TEST_F(MDIdialog, EmptyTemplateBoxAndOneLetterTitleAreLeftToTheSystem)
{
    ScopedApplication app;
    MDIframeCL frame(nullptr, 0, "frame");
    SendMessageA(frame.Handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(600, 400));
    frame.Show(SW_SHOWNOACTIVATE);
    auto* dialog = new MDIdialogCL(&frame, ResourceId(61600u, nullptr), 0, true);
    CreationName creation;
    dialog->AddHandler(&creation, &CreationName::Record, WM_CREATE);
    dialog->Create();
    ASSERT_TRUE(dialog->TemplateFound());
    EXPECT_EQ(creation.name, "(none)");
    char text[8] = {};
    GetWindowTextA(dialog->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "X");
    EXPECT_EQ(GetParent(dialog->Handle()), frame.ClientHandle());
    EXPECT_TRUE(GetWindowLongA(dialog->Handle(), GWL_STYLE) & WS_CHILD);
    // The system's default size for a new child, not the frame of an empty client area.
    RECT rect;
    GetWindowRect(dialog->Handle(), &rect);
    EXPECT_GT(rect.right - rect.left, 100);
    EXPECT_GT(rect.bottom - rect.top, 100);
    ASSERT_EQ(dialog->Children().size(), 2u);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(dialog->Children().front()->Handle(), WM_GETFONT, 0, 0)),
              dialog->DialogFont());
    delete dialog;
}

TEST_F(MDIdialog, SizedTemplateGivesTheClientAreaAndAMinimiseBoxGetsTheSystemMenu)
{
    ScopedApplication app;
    MDIframeCL frame(nullptr, 0, "frame");
    SendMessageA(frame.Handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(600, 400));
    MDIdialogCL dialog(&frame, ResourceId(61700u, nullptr), WS_CAPTION | WS_MINIMIZEBOX);
    const DWORD style = GetWindowLongA(dialog.Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_POPUP);
    RECT client;
    GetClientRect(dialog.Handle(), &client);
    // The edit at 40 dialog units across ends inside the client area, which is the template's box.
    RECT edit;
    GetWindowRect(dialog.FindChild(703)->Handle(), &edit);
    MapWindowPoints(nullptr, dialog.Handle(), reinterpret_cast<POINT*>(&edit), 2);
    EXPECT_LT(edit.right, client.right);
    EXPECT_GT(edit.right, client.right * 3 / 4);
    char text[16] = {};
    GetWindowTextA(dialog.Handle(), text, sizeof text);
    EXPECT_STREQ(text, "Document");
    // Creating it again keeps its one window, which stays its own.
    const HWND first = dialog.Handle();
    dialog.Create();
    EXPECT_EQ(first, dialog.Handle());
    EXPECT_EQ(first, GetWindow(frame.ClientHandle(), GW_CHILD));
    EXPECT_EQ(nullptr, GetWindow(first, GW_HWNDNEXT));
}

TEST_F(MDIdialog, ReactivationGivesTheFocusBackToTheControlThatHadIt)
{
    ScopedApplication app;
    MDIframeCL frame(nullptr, 0, "frame");
    SendMessageA(frame.Handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(600, 400));
    frame.Show(SW_SHOW);
    auto* first = new MDIdialogCL(&frame, ResourceId(61700u, nullptr));
    first->Show(SW_SHOW);
    // The first activation focuses the first tab stop (the label is none).
    EXPECT_TRUE(PumpMessagesUntil([&] { return GetFocus() == first->FindChild(702)->Handle(); }));
    EXPECT_EQ(app->ModelessDialog(), first->Handle());
    SetFocus(first->FindChild(703)->Handle());

    auto* second = new MDIdialogCL(&frame, ResourceId(61700u, nullptr));
    second->Show(SW_SHOW);
    EXPECT_TRUE(PumpMessagesUntil([&] { return GetFocus() == second->FindChild(702)->Handle(); }));
    EXPECT_EQ(app->ModelessDialog(), second->Handle());

    first->Activate();
    EXPECT_TRUE(PumpMessagesUntil([&] { return GetFocus() == first->FindChild(703)->Handle(); }));
    EXPECT_EQ(app->ModelessDialog(), first->Handle());
    delete second;
    delete first;
}

TEST_F(MDIdialog, EndingASelfDeletingDialogTakesItsMenuOffTheFrameBar)
{
    using Texts = std::vector<std::string>;
    ScopedApplication app;
    MDIframeCL frame(nullptr, 0, "frame");
    HMENU bar = CreateMenu();
    for (const char* text : {"File", "Window"})
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), text);
    SetMenu(frame.Handle(), bar);
    frame.Show(SW_SHOW);

    bool deleted = false;
    auto* dialog = new DeletionRecordingDialog(&frame, 61700u, &deleted);
    dialog->SetMenuId(ResourceId(61500u, nullptr));
    dialog->Create();
    dialog->Show(SW_SHOW);
    EXPECT_TRUE(PumpMessagesUntil([&] { return BarTexts(frame.Handle()) == Texts{"File", "Context", "Window"}; }));

    // Ended without deleting itself it only hides.
    dialog->End();
    EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
    const HWND handle = dialog->Handle();
    dialog->SetStateBits(WindowCL::StateDeleteWithWindow);
    dialog->End();
    EXPECT_FALSE(deleted);
    EXPECT_TRUE(PumpMessagesUntil([&] { return deleted; }));
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(BarTexts(frame.Handle()), (Texts{"File", "Window"}));
    EXPECT_TRUE(frame.Children().empty());
}

} // namespace
