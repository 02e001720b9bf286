#include "framework/window/FrameworkApp.h"
#include "framework/window/WindowMap.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <cstdint>

namespace {

bool ClassExists(const char* name)
{
    WNDCLASSA info;
    return GetClassInfoA(GetModuleHandleA(nullptr), name, &info) != 0;
}

TEST(WindowClasses, SharedClassIsRegisteredAndUnregisteredWithTheApplication)
{
    {
        ScopedApplication app;
        RecordingTopWindow first;
        RecordingTopWindow second;
        first.Create();
        second.Create();
        ASSERT_NE(first.Handle(), nullptr);
        ASSERT_NE(second.Handle(), nullptr);
        EXPECT_EQ(first.ClassName(), "WindowCL");
        EXPECT_EQ(second.ClassName(), "WindowCL");
        EXPECT_TRUE(ClassExists("WindowCL"));
        const auto& names = app->RegisteredClasses();
        EXPECT_EQ(std::count(names.begin(), names.end(), "WindowCL"), 1);
    }
    EXPECT_FALSE(ClassExists("WindowCL"));
}

TEST(WindowClasses, ClassStyleGivesEachObjectAClassNamedWithItsAddress)
{
    std::string firstName;
    {
        ScopedApplication app;
        RecordingTopWindow first;
        RecordingTopWindow second;
        first.SetClassStyle(3);
        second.SetClassStyle(3);
        first.Create();
        second.Create();
        firstName = "WindowCL" + std::to_string(reinterpret_cast<std::uintptr_t>(&first));
        EXPECT_EQ(first.ClassName(), firstName);
        EXPECT_EQ(second.ClassName(), "WindowCL" + std::to_string(reinterpret_cast<std::uintptr_t>(&second)));
        char name[64] = {};
        GetClassNameA(first.Handle(), name, sizeof name);
        EXPECT_EQ(std::string(name), firstName);
        EXPECT_EQ(GetClassLongA(first.Handle(), GCL_STYLE), 3);
        EXPECT_TRUE(ClassExists(firstName.c_str()));
    }
    EXPECT_FALSE(ClassExists(firstName.c_str()));
}

TEST(WindowCreation, FirstTopWindowBecomesTheMainWindow)
{
    ScopedApplication app;
    RecordingTopWindow first;
    RecordingTopWindow second;
    EXPECT_EQ(app->MainWindow(), &first);
    {
        RecordingTopWindow third;
    }
    EXPECT_EQ(app->MainWindow(), &first);
}

TEST(WindowCreation, DeletedMainWindowIsForgotten)
{
    ScopedApplication app;
    auto* first = new RecordingTopWindow;
    delete first;
    EXPECT_EQ(app->MainWindow(), nullptr);
}

TEST(WindowCreation, PopupWithoutGeometryIs500By500)
{
    ScopedApplication app;
    const int unset = LayoutUnset;
    const struct {
        const char* what;
        bool hasRule;
        int x, y, width, height;
    } rows[] = {{"no rule", false, 0, 0, 0, 0},
                {"all zero", true, 0, 0, 0, 0},
                {"all unset", true, unset, unset, unset, unset}};
    for (const auto& row : rows) {
        LayoutManager* rule = row.hasRule ? new ChildLayout(row.x, row.y, row.width, row.height, nullptr) : nullptr;
        RecordingTopWindow popup(nullptr, "popup", WS_POPUP, rule);
        popup.Create();
        RECT rect;
        ASSERT_TRUE(GetWindowRect(popup.Handle(), &rect)) << row.what;
        EXPECT_EQ(rect.right - rect.left, 500) << row.what;
        EXPECT_EQ(rect.bottom - rect.top, 500) << row.what;
        if (rule) {
            EXPECT_EQ(rule->X(), rect.left) << row.what;
            EXPECT_EQ(rule->Y(), rect.top) << row.what;
            EXPECT_EQ(rule->Width(), 500) << row.what;
            EXPECT_EQ(rule->Height(), 500) << row.what;
        }
    }
}

TEST(WindowCreation, PopupWithAGeometryKeepsIt)
{
    ScopedApplication app;
    auto* rule = new ChildLayout(20, 30, 120, 80, nullptr);
    RecordingTopWindow popup(nullptr, "popup", WS_POPUP, rule);
    popup.Create();
    RECT rect;
    ASSERT_TRUE(GetWindowRect(popup.Handle(), &rect));
    EXPECT_EQ(rect.right - rect.left, 120);
    EXPECT_EQ(rect.bottom - rect.top, 80);
    EXPECT_EQ(rule->Width(), 120);
    EXPECT_EQ(rule->Height(), 80);
}

TEST(WindowCreation, CreationMessagesReachTheObject)
{
    ScopedApplication app;
    std::vector<std::string> log;
    RecordingTarget creation(&log, "create", 0);
    auto* rule = new ChildLayout(30, 40, 200, 150, nullptr);
    RecordingTopWindow window(nullptr, "w", WS_POPUP, rule);
    window.AddHandler(&creation, &RecordingTarget::Handle, WM_CREATE);
    window.Create();
    EXPECT_EQ(log, (std::vector<std::string>{"create"}));
    EXPECT_EQ(window.sizes, 1);
    EXPECT_EQ(window.moves, 1);
    EXPECT_EQ(app->Map()->Find(window.Handle()), &window);
}

TEST(WindowCreation, CreatedWindowIsInTheMapUntilItIsDestroyed)
{
    ScopedApplication app;
    auto* window = new RecordingTopWindow;
    window->Create();
    HWND handle = window->Handle();
    EXPECT_EQ(app->Map()->Find(handle), window);
    delete window;
    EXPECT_EQ(app->Map()->Find(handle), nullptr);
    EXPECT_FALSE(IsWindow(handle));
}

TEST(WindowLifetime, ChildrenAreDeletedAndDestroyedBeforeTheirParent)
{
    ScopedApplication app;
    std::vector<std::string> log;
    auto* parent = new RecordingTopWindow(&log, "parent");
    parent->Create();
    auto* first = new RecordingChildWindow(parent, &log, "first");
    auto* second = new RecordingChildWindow(parent, &log, "second");
    first->Create();
    second->Create();
    HWND parentHandle = parent->Handle();
    HWND firstHandle = first->Handle();
    ASSERT_TRUE(IsWindow(firstHandle));
    ASSERT_EQ(GetParent(firstHandle), parentHandle);
    // While a child is deleted, its parent's window must still exist.
    struct Watcher : EventTarget {
        std::vector<std::string>* log;
        HWND parent;
        long OnDestroy(WindowEvent* event)
        {
            log->push_back(std::string("destroy ") + (event->window == parent ? "parent" : "child") +
                           (IsWindow(parent) ? " (parent alive)" : ""));
            return 0;
        }
    } watcher;
    watcher.log = &log;
    watcher.parent = parentHandle;
    app->AddHandler(&watcher, &Watcher::OnDestroy, WM_DESTROY);
    delete parent;
    app->RemoveHandler(&watcher, &Watcher::OnDestroy, WM_DESTROY);
    EXPECT_EQ(log, (std::vector<std::string>{"delete parent", "delete first", "destroy child (parent alive)",
                                             "delete second", "destroy child (parent alive)",
                                             "destroy parent (parent alive)"}));
    EXPECT_FALSE(IsWindow(parentHandle));
}

TEST(WindowLifetime, ObjectWithStateOneIsDeletedOnceOnNcDestroy)
{
    ScopedApplication app;
    std::vector<std::string> log;
    auto* parent = new RecordingTopWindow(&log, "parent");
    parent->Create();
    parent->SetStateBits(WindowCL::StateDeleteWithWindow);
    auto* child = new RecordingChildWindow(parent, &log, "child");
    child->Create();
    child->SetStateBits(WindowCL::StateDeleteWithWindow);
    HWND handle = parent->Handle();
    DestroyWindow(handle);
    EXPECT_EQ(std::count(log.begin(), log.end(), "delete parent"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "delete child"), 1);
    EXPECT_EQ(log.front(), "delete child");
    EXPECT_EQ(app->Map()->Find(handle), nullptr);
}

TEST(WindowLifetime, ObjectWithoutStateOneOutlivesItsWindow)
{
    ScopedApplication app;
    std::vector<std::string> log;
    RecordingTopWindow window(&log, "w");
    window.Create();
    DestroyWindow(window.Handle());
    EXPECT_TRUE(log.empty());
    EXPECT_NE(window.State() & WindowCL::StateWindowGone, 0);
}

TEST(WindowLifetime, DeletingAnObjectWhoseWindowIsGoneLeavesAReusedHandlesEntry)
{
    ScopedApplication app;
    auto* stale = new RecordingTopWindow;
    stale->Create();
    HWND handle = stale->Handle();
    DestroyWindow(handle);
    // The system may hand the same handle value to a new window; its object is then the handle's entry.
    RecordingTopWindow successor;
    app->Map()->Insert(handle, &successor);
    delete stale;
    EXPECT_EQ(app->Map()->Find(handle), &successor);
    app->Map()->Remove(handle);
}

TEST(WindowChildren, FindChildAnswersTheFirstCreatedOfASharedId)
{
    ScopedApplication app;
    RecordingTopWindow parent;
    auto* first = new RecordingChildWindow(&parent, nullptr, "a");
    auto* second = new RecordingChildWindow(&parent, nullptr, "b");
    first->SetId(7);
    second->SetId(7);
    EXPECT_EQ(parent.FindChild(7), first);
    EXPECT_EQ(parent.FindChild(8), nullptr);
    WindowCL** node = parent.FindChildNode(7);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(*node, first);
}

COLORREF PixelAfterErase(WindowCL& window)
{
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 50, 50);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT all{0, 0, 50, 50};
    FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    WindowEvent event{0, reinterpret_cast<WPARAM>(memory), WM_ERASEBKGND, window.Handle()};
    window.EraseBackground(&event);
    const COLORREF pixel = GetPixel(memory, 2, 2);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixel;
}

TEST(WindowBackground, ParentColourAndNoColour)
{
    ScopedApplication app;
    RecordingTopWindow parent;
    parent.SetBackgroundColour(Colour{0, 128, 0, 0});
    parent.Create();
    auto* child = new RecordingChildWindow(&parent, nullptr, "child", new ChildLayout(0, 0, 40, 40, nullptr));
    child->SetBackgroundColourRef(WindowCL::ParentBackground);
    child->Create();
    EXPECT_EQ(PixelAfterErase(*child), RGB(0, 128, 0));
    child->SetBackgroundColourRef(WindowCL::NoBackground);
    WindowEvent event{0, 0, WM_ERASEBKGND, child->Handle()};
    EXPECT_EQ(child->EraseBackground(&event), 0);
    EXPECT_EQ(PixelAfterErase(*child), RGB(0, 0, 0));
}

TEST(WindowBackground, ControlColourRequestOfAChildWithTheParentsColour)
{
    ScopedApplication app;
    RecordingTopWindow parent;
    parent.SetBackgroundColour(Colour{10, 20, 30, 0});
    parent.Create();
    auto* child = new RecordingChildWindow(&parent, nullptr, "child");
    child->SetBackgroundColourRef(WindowCL::ParentBackground);
    child->MakeBrush(RGB(10, 20, 30));
    child->Create();
    HDC dc = CreateCompatibleDC(nullptr);
    const LRESULT answer = SendMessageA(parent.Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(child->Handle()));
    EXPECT_EQ(answer, reinterpret_cast<LRESULT>(child->BackgroundBrush()));
    EXPECT_EQ(GetBkColor(dc), RGB(10, 20, 30));
    EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_BTNTEXT));
    DeleteDC(dc);
}

TEST(WindowBackground, PaletteFlagMakesAPaletteRelativeColour)
{
    ScopedApplication app;
    RecordingTopWindow window;
    window.SetBackgroundColour(Colour{1, 2, 3, 5});
    EXPECT_EQ(window.BackgroundColour(), 0x02030201u);
    window.SetBackgroundColour(Colour{1, 2, 3, 0});
    EXPECT_EQ(window.BackgroundColour(), 0x00030201u);
}

} // namespace
