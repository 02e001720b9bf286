// The main frame in this process: its window, menus and bars, and commands posted to it as a menu sends them.

#include "widgets/CommandLine.h"
#include "app/MainFrame.h"
#include "framework/dialog/Menu.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/MDImarginCL.h"
#include "tests/support/MenuItemState.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string MenuText(HMENU menu, UINT id)
{
    char text[128] = {};
    GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
    return text;
}

RECT WindowRectIn(HWND window, HWND frame)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class MainFrameTest : public ::testing::Test, private HoldsFocusTestLock {
protected:
    MainFrameTest()
    {
        frame = new MainFrame;
        MoveWindow(frame->Handle(), 0, 0, 640, 480, TRUE);
        frame->Show(SW_SHOWNOACTIVATE);
    }
    ~MainFrameTest() override { delete frame; }

    // Posts the command as a menu does and lets the frame take it.
    void Post(unsigned id)
    {
        PostMessageA(frame->Handle(), WM_COMMAND, id, 0);
        MSG pending;
        PumpMessagesUntil([&] { return !PeekMessageA(&pending, frame->Handle(), WM_COMMAND, WM_COMMAND, PM_NOREMOVE); });
    }
    // The menu bar's texts and states are set as the menu opens.
    void OpenMenu() { SendMessageA(frame->Handle(), WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(frame->Handle())), 0); }

    ScopedApplication app;
    MainFrame* frame;
};

TEST_F(MainFrameTest, FrameWindowCarriesTitleClassStyleClientAndMenus)
{
    HWND window = frame->Handle();
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    EXPECT_STREQ("KIVO 3.5", text);
    GetClassNameA(window, text, sizeof text);
    EXPECT_EQ(0, std::string(text).rfind("MDIframeCL", 0)) << text;
    EXPECT_EQ(0xCF0000u, GetWindowLongA(window, GWL_STYLE) & 0xCF0000u);
    EXPECT_EQ(TheApp->MainWindow(), frame);

    HMENU bar = GetMenu(window);
    const int count = GetMenuItemCount(bar);
    ASSERT_GE(count, 2);
    char title[32] = {};
    GetMenuStringA(bar, static_cast<UINT>(count - 2), title, sizeof title, MF_BYPOSITION);
    EXPECT_STREQ("&Window", title);
    GetMenuStringA(bar, static_cast<UINT>(count - 1), title, sizeof title, MF_BYPOSITION);
    EXPECT_STREQ("&Help", title);
    const struct {
        UINT id;
        const char* text;
    } items[] = {
        {1901, "&Cascade"}, {1902, "&Tile"}, {1903, "Arrange &Icons"}, {1904, "Close &All"},
        {1905, "Close All &Except Trees"}, {1910, "&Contents\tF1"}, {1911, "&Search for Help On..."},
        {1913, "&About KIVO..."},
    };
    for (const auto& item : items)
        EXPECT_EQ(item.text, MenuText(bar, item.id)) << item.id;
    // The current tree clipboard slot, the first, is checked from the start.
    EXPECT_TRUE(MenuItemChecked(bar, 1208));

    // A new MDI child gets the first child id in the Window menu.
    MDICREATESTRUCTA request{"MDIChildTest", "child", GetModuleHandleA(nullptr), 0, 0, 100, 100, WS_VISIBLE, 0};
    WNDCLASSA childClass{};
    childClass.lpfnWndProc = DefMDIChildProcA;
    childClass.hInstance = GetModuleHandleA(nullptr);
    childClass.lpszClassName = "MDIChildTest";
    RegisterClassA(&childClass);
    HWND child = reinterpret_cast<HWND>(
        SendMessageA(frame->ClientHandle(), WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&request)));
    ASSERT_NE(child, nullptr);
    HMENU windowMenu = frame->WindowMenu()->Handle();
    EXPECT_EQ(MainFrame::FirstChildId, GetMenuItemID(windowMenu, GetMenuItemCount(windowMenu) - 1));
    SendMessageA(frame->ClientHandle(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
    UnregisterClassA("MDIChildTest", GetModuleHandleA(nullptr));
}

TEST(MainFrameMenus, ShortMenusOptionLoadsTheShortMenuBar)
{
    ScopedApplication app;
    for (bool shortMenus : {false, true}) {
        ParseCommandLine(shortMenus ? "-n" : "");
        MainFrame frame;
        HMENU bar = GetMenu(frame.Handle());
        EXPECT_EQ("E&xit\tAlt+F4", MenuText(bar, 1199));
        // Run Script is on the full File menu only.
        EXPECT_EQ(shortMenus ? "" : "R&un Script...", MenuText(bar, 1113));
    }
    ParseCommandLine("");
}

TEST_F(MainFrameTest, CommandsAreIgnoredUntilStartUpEnds)
{
    Post(1311);
    EXPECT_TRUE(frame->StatusBarVisible());
    frame->EndStartup();
    Post(1311);
    EXPECT_FALSE(frame->StatusBarVisible());
}

TEST_F(MainFrameTest, HidingBothBarsLetsTheClientFillTheFrame)
{
    frame->EndStartup();
    HWND window = frame->Handle();
    RECT inside{};
    GetClientRect(window, &inside);
    const RECT toolBar = WindowRectIn(frame->ToolBarMargin()->Handle(), window);
    const RECT statusBar = WindowRectIn(frame->StatusMargin()->Handle(), window);
    RECT client = WindowRectIn(frame->ClientHandle(), window);
    EXPECT_EQ(0, toolBar.top);
    EXPECT_EQ(toolBar.bottom, client.top);
    EXPECT_EQ(client.bottom, statusBar.top);
    EXPECT_EQ(inside.bottom, statusBar.bottom);

    Post(1311);
    Post(1310);
    client = WindowRectIn(frame->ClientHandle(), window);
    EXPECT_EQ((std::vector<long>{0, 0, inside.right, inside.bottom}),
              (std::vector<long>{client.left, client.top, client.right, client.bottom}));
}

} // namespace
