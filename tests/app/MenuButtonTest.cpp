// Menu buttons: picks shown on the face and passed on, and a button without items that never opens.

#include "widgets/MenuButton.h"
#include "framework/dialog/Menu.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/MenuItemState.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ThreadWindow.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char kLongItem[] = "An item text of sixty characters, longer than any face takes";

bool IsChecked(Menu& menu, unsigned id)
{
    return MenuItemChecked(menu.Handle(), id);
}

struct Frame {
    FocusTestLock focus;
    ScopedApplication app;
    RecordingTopWindow top;
    Menu menu;
    Frame()
    {
        top.Create();
        menu.AppendItem(10, "Alpha");
        menu.AppendItem(11, kLongItem);
    }
};

// Set when a pop-up menu showed; the menu is closed at once.
bool menuShown = false;

void CALLBACK CloseAnyMenu(HWND, UINT, UINT_PTR, DWORD)
{
    if (ThreadPopupMenu()) {
        menuShown = true;
        EndMenu();
    }
}

} // namespace

TEST(MenuButton, PicksShowOnTheFaceCutTo49AndReachTheCommandWindow)
{
    Frame frame;
    auto* named = new NameMenuButton(&frame.top, new LayoutManager(0, 0, 120, 24, nullptr), &frame.menu, 10, 0);
    named->SetCommandTarget(&frame.top);
    EXPECT_EQ(named->FaceText(), "Alpha");
    EXPECT_TRUE(IsChecked(frame.menu, 10));

    // An id the menu does not hold changes nothing.
    EXPECT_EQ(named->ShowPickedItem(99), 0);
    EXPECT_EQ(named->FaceText(), "Alpha");
    EXPECT_EQ(named->CurrentItem(), 10u);

    SendMessageA(named->Handle(), WM_COMMAND, 11, 0);
    EXPECT_EQ(std::string(named->FaceText().Text()), std::string(kLongItem, 49));
    EXPECT_FALSE(IsChecked(frame.menu, 10));
    EXPECT_TRUE(IsChecked(frame.menu, 11));
    EXPECT_EQ(frame.top.commands, std::vector<unsigned>{11});

    // The command kind sends its fixed command whatever was picked, after taking the pick's text.
    auto* control = new RecordingChildWindow(&frame.top, nullptr, "control", new LayoutManager(10, 40, 90, 20, nullptr));
    control->Create();
    auto* command = new CommandMenuButton(control, &frame.menu, "Choose", 0, 4242);
    command->SetCommandTarget(&frame.top);
    RECT placed{};
    GetWindowRect(command->Handle(), &placed);
    MapWindowPoints(nullptr, frame.top.Handle(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, 10);
    EXPECT_EQ(placed.right, 100);
    EXPECT_FALSE(IsWindowVisible(control->Handle()));
    SendMessageA(command->Handle(), WM_COMMAND, 10, 0);
    EXPECT_EQ(command->FaceText(), "Alpha");
    EXPECT_EQ(frame.top.commands, (std::vector<unsigned>{11, 4242}));
}

// Without items, or while inactive, neither a press nor Space opens the menu.
TEST(MenuButton, OpensOnlyWhenActiveWithItems)
{
    Frame frame;
    frame.top.ShowWindow(SW_SHOW);
    Menu empty;
    auto* control = new RecordingChildWindow(&frame.top, nullptr, "control", new LayoutManager(0, 0, 90, 20, nullptr));
    control->Create();
    MenuButton* bare = MakeMenuButton(&empty, control, &frame.top, nullptr, true);
    MenuButton* inactive = MakeMenuButton(&frame.menu, control, &frame.top, "Pick", true);
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(MakeMenuButton(&frame.menu, nullptr, &frame.top, "none", false), nullptr);
    inactive->Enable(false);
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, CloseAnyMenu);
    for (MenuButton* button : {bare, inactive}) {
        button->Reset();
        SetFocus(button->Handle());
        SendMessageA(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageA(button->Handle(), WM_KEYDOWN, VK_SPACE, 0);
    }
    PumpMessagesFor(100);
    EXPECT_FALSE(menuShown);

    // The active button with items does open.
    inactive->Enable(true);
    SendMessageA(inactive->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(menuShown);
    EXPECT_FALSE(inactive->MenuOpen());
}
