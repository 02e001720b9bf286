#include "framework/dialog/Menu.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/WindowDisplay.h"
#include "framework/visual/VisualFieldItem.h"
#include "framework/visual/VisualStatusItems.h"
#include "framework/visual/VisualStatusPane.h"
#include "framework/window/DockLayout.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/ResourceId.h"
#include "framework/window/TimerManager.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A frame (the top window) with a container pane whose bottom holds the status pane, as the main frame has.
struct StatusBar {
    ScopedApplication app;
    RecordingTopWindow frame{nullptr, "frame", WS_OVERLAPPEDWINDOW, new ChildLayout(0, 0, 400, 200, nullptr)};
    ChildWindow* container;
    VisualPane* pane;
    explicit StatusBar(unsigned style)
    {
        frame.Create();
        container = new ChildWindow(&frame, new DockLayout(LayoutManager::FillTopLeft, 0,
                                                           static_cast<ChildLayout*>(frame.Layout())),
                                    WS_VISIBLE);
        container->Create();
        auto* rule = new DockLayout(LayoutManager::DockBottom, 0, static_cast<ChildLayout*>(container->Layout()));
        pane = new VisualPane(container, rule, style);
    }
    void Show()
    {
        pane->Show(SW_SHOW);
        container->Show(SW_SHOW);
        frame.Layout()->Arrange(nullptr);
    }
    void MenuSelect(WORD id, WORD flags, HMENU menu = reinterpret_cast<HMENU>(1))
    {
        SendMessageA(frame.Handle(), WM_MENUSELECT, MAKEWPARAM(id, flags), reinterpret_cast<LPARAM>(menu));
    }
    void MenuClosed() { MenuSelect(0, 0xFFFF, nullptr); }
};

// The string table's help text of a tool bar command, as the program's resources hold it.
const char* const SaveHelp = "Save the current document";
const char* const OpenHelp = "Open an existing KIVO file";

} // namespace

TEST(VisualStatusPane, MenuHelpShowsEachItemsTextThenThePaneAgain)
{
    StatusBar bar(VisualPane::PaneShowsHelp | VisualPane::MessageField);
    bar.Show();
    bar.MenuSelect(1104, MF_STRING);
    EXPECT_TRUE(bar.pane->ShowingHelp());
    EXPECT_EQ(SaveHelp, bar.pane->HelpText());
    {
        // Painted: the help text from 16 pixels in, instead of the fields.
        RECT client{};
        GetClientRect(bar.pane->Handle(), &client);
        BitmapDisplay picture(client.right, client.bottom);
        bar.pane->PushDisplay(&picture);
        bar.pane->PrintPageSetup(nullptr, nullptr);
        bar.pane->PopDisplay();
        DisplayLock lock(picture);
        const COLORREF text = GetSysColor(COLOR_BTNTEXT);
        int inkBefore16 = 0, inkAfter = 0;
        for (int y = 2; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x)
                (x < 16 ? inkBefore16 : inkAfter) += GetPixel(picture.DeviceContext(), x, y) == text;
        EXPECT_EQ(0, inkBefore16);
        EXPECT_LT(0, inkAfter);
    }
    bar.MenuSelect(1103, MF_STRING);
    EXPECT_EQ(OpenHelp, bar.pane->HelpText());
    bar.MenuSelect(0, MF_SEPARATOR);
    bar.MenuSelect(7, MF_POPUP);
    EXPECT_EQ(OpenHelp, bar.pane->HelpText()); // a separator or a sub-menu title leaves it
    bar.MenuSelect(4242, MF_STRING);
    EXPECT_EQ("", bar.pane->HelpText()); // no help string: the line empties
    bar.MenuClosed();
    EXPECT_FALSE(bar.pane->ShowingHelp());
}

TEST(VisualStatusPane, MenuHelpInTheMessageFieldPutsItsOwnTextBack)
{
    StatusBar bar(0);
    bar.frame.SetMenuObject(Menu::MenuBar(&bar.frame, ResourceId(102u, nullptr))); // a frame with a menu bar
    auto* message = new VisualFieldItem(bar.pane, LayoutManager::FillTopLeft, "", 0, 0x401);
    bar.pane->SetActiveItemByKey(0);
    bar.Show();
    message->SetText("Ready");
    bar.MenuSelect(1104, MF_STRING);
    EXPECT_EQ(SaveHelp, message->Text());
    bar.MenuSelect(1103, MF_STRING);
    EXPECT_EQ(OpenHelp, message->Text());
    bar.MenuClosed();
    EXPECT_EQ("Ready", message->Text());
    EXPECT_FALSE(bar.pane->ShowingHelp());
    delete bar.pane; // a pane gone before its frame hears no more help
    bar.MenuSelect(1104, MF_STRING);
}

TEST(VisualStatusPane, FieldsDockByKindWithGapsAndTheFillFieldTakesTheRest)
{
    StatusBar bar(0);
    auto* message = new VisualFieldItem(bar.pane, LayoutManager::FillTopLeft, "", 0, 0x401);
    auto* wide = new VisualFieldItem(bar.pane, LayoutManager::DockRight, "MMMMMM", 3, VisualFieldItem::Centred);
    auto* narrow = new VisualFieldItem(bar.pane, LayoutManager::DockRight, "MM", 2, VisualFieldItem::Centred);
    bar.Show();
    RECT client{};
    GetClientRect(bar.pane->Handle(), &client);
    TEXTMETRICA metrics{};
    HDC dc = GetDC(bar.pane->Handle());
    SelectObject(dc, bar.pane->OwnDisplay()->CurrentFont()->Handle());
    GetTextMetricsA(dc, &metrics);
    ReleaseDC(bar.pane->Handle(), dc);
    EXPECT_EQ(metrics.tmHeight + 8, client.bottom);
    const RECT m = message->Bounds(), w = wide->Bounds(), n = narrow->Bounds();
    EXPECT_EQ(client.right - 5, w.right);
    EXPECT_EQ(w.left - 4, n.right);
    EXPECT_EQ(5, m.left);
    EXPECT_EQ(n.left - 4, m.right);
    EXPECT_GT(w.right - w.left, n.right - n.left);
    for (const RECT& r : {m, w, n}) {
        EXPECT_EQ(4, r.top);
        EXPECT_EQ(client.bottom - 2, r.bottom);
    }
    EXPECT_EQ(wide, bar.pane->FindItem(3));
}

TEST(VisualFieldItem, ChangedTextInvalidatesTheFieldOnceAndAShorterOneLeavesNoTrace)
{
    FocusTestLock lock;
    StatusBar bar(0);
    auto* field = new VisualFieldItem(bar.pane, LayoutManager::FillTopLeft, "", 0, 0);
    bar.Show();
    ShowWindow(bar.frame.Handle(), SW_SHOWNOACTIVATE); // only a visible window collects an update region
    UpdateWindow(bar.frame.Handle());
    const HWND window = bar.pane->Handle();
    auto pending = [window]() {
        RECT update{};
        return GetUpdateRect(window, &update, FALSE) != 0;
    };
    ValidateRect(window, nullptr);
    field->SetText("WWWWWWWW");
    EXPECT_TRUE(pending());
    ValidateRect(window, nullptr);
    field->SetText("WWWWWWWW");
    EXPECT_FALSE(pending());

    // Drawn on a bitmap of the pane's size: the long text, then a short one over it.
    RECT client{};
    GetClientRect(window, &client);
    BitmapDisplay picture(client.right, client.bottom);
    bar.pane->PushDisplay(&picture);
    bar.pane->PrintPageSetup(nullptr, nullptr);
    const RECT before = field->LastTextRect();
    field->SetText("i");
    field->Redraw();
    bar.pane->PopDisplay();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    picture.Lock();
    const HDC dc = picture.DeviceContext();
    int inkAfterShortText = 0;
    for (int x = field->LastTextRect().right + 1; x < before.right; ++x)
        for (int y = before.top; y < before.bottom; ++y)
            inkAfterShortText += GetPixel(dc, x, y) != face;
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 3, 0));       // the pane's dark top line
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 3, 1)); // and its light one
    EXPECT_EQ(RGB(128, 128, 128), GetPixel(dc, 5, 4)); // the field's sunken bevel
    picture.Unlock();
    EXPECT_GT(before.right, field->LastTextRect().right);
    EXPECT_EQ(0, inkAfterShortText);
}

namespace {

std::time_t FakeTime = 0;
std::time_t FakeClock() { return FakeTime; }
DWORD FakeTicks = 0;
DWORD FakeTickCount() { return FakeTicks; }
SHORT NumLockOn(int key) { return key == VK_NUMLOCK ? 1 : 0; }

std::time_t At(int hour, int minute, int second = 0)
{
    std::tm local{};
    local.tm_year = 126;
    local.tm_mon = 11;
    local.tm_mday = 7;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

// Sets WIN.INI "intl" keys for a scope and puts the old values back.
class IntlScope {
public:
    IntlScope(const char* iTime, const char* sTime) { Set("iTime", iTime, savedTime_); Set("sTime", sTime, savedSep_); }
    ~IntlScope()
    {
        WriteProfileStringA("intl", "iTime", savedTime_.empty() ? nullptr : savedTime_.c_str());
        WriteProfileStringA("intl", "sTime", savedSep_.empty() ? nullptr : savedSep_.c_str());
    }

private:
    static void Set(const char* key, const char* value, std::string& saved)
    {
        char old[16] = "";
        GetProfileStringA("intl", key, "", old, sizeof old);
        saved = old;
        WriteProfileStringA("intl", key, value);
    }
    std::string savedTime_, savedSep_;
};

struct Seams {
    TimeItem::ClockSource clock = TimeItem::SetClockSource(FakeClock);
    KeyStateItem::KeyStateSource keys = KeyStateItem::SetKeyStateSource(NumLockOn);
    TickSource ticks = TimerManager::SetTickSource(FakeTickCount);
    ~Seams()
    {
        TimeItem::SetClockSource(clock);
        KeyStateItem::SetKeyStateSource(keys);
        TimerManager::SetTickSource(ticks);
    }
};

VisualFieldItem* Indicator(VisualStatusPane* pane, size_t index)
{
    auto it = pane->Fields().begin();
    std::advance(it, index);
    return *it;
}

} // namespace

TEST(TimeItem, ShowsTheMinuteInTheUsersFormatAndFollowsTheClockOnlyByTheMinute)
{
    Seams seams;
    const struct {
        const char* iTime;
        const char* sTime;
        std::time_t time;
        const char* shown;
    } cases[] = {
        {"1", ".", At(21, 5), "21.05"},
        {"0", ".", At(21, 5), "9.05 PM"},
        {"0", ":", At(0, 30), "12:30 AM"},
        {"0", ":", At(12, 0), "12:00 PM"},
    };
    for (const auto& c : cases) {
        IntlScope intl(c.iTime, c.sTime);
        FakeTime = c.time;
        StatusBar bar(VisualPane::Clock);
        VisualFieldItem* clock = Indicator(bar.pane, 0);
        clock->Draw(nullptr);
        EXPECT_EQ(c.shown, clock->Text());
    }
    IntlScope intl("1", ":");
    FakeTime = At(21, 5, 10);
    FakeTicks = 1000;
    StatusBar bar(VisualPane::Clock);
    VisualFieldItem* clock = Indicator(bar.pane, 0);
    const struct {
        std::time_t time;
        const char* shown;
    } ticks[] = {{At(21, 5, 59), "21:05"}, {At(21, 6, 1), "21:06"}};
    for (const auto& t : ticks) {
        FakeTime = t.time;
        FakeTicks += 500;
        TheApp->Timers()->Tick(nullptr);
        clock->Draw(nullptr);
        EXPECT_EQ(t.shown, clock->Text());
    }
}

TEST(KeyStateItem, ShowsNumWithinASecondWithoutAnyMessageToThePane)
{
    Seams seams;
    FakeTicks = 1000;
    StatusBar bar(VisualPane::NumLock | VisualPane::CapsLock);
    VisualFieldItem* num = Indicator(bar.pane, 0);
    VisualFieldItem* caps = Indicator(bar.pane, 1);
    EXPECT_EQ("", num->Text());
    FakeTicks += 1000;
    TheApp->Timers()->Tick(nullptr);
    EXPECT_EQ("NUM", num->Text());
    EXPECT_EQ("", caps->Text());
}
