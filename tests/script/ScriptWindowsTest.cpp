// What scripts show the person: the branch dialog, the input dialog and the timed waits, each answered as a
// person would.

#include "app/MainFrame.h"
#include "framework/draw/GdiScopes.h"
#include "script/ScriptManager.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ThreadWindow.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace {

std::string Text(DialogFrameCL& dialog, unsigned id)
{
    char text[100] = {};
    GetWindowTextA(id ? GetDlgItem(dialog.Handle(), static_cast<int>(id)) : dialog.Handle(), text, sizeof text);
    return text;
}

bool Shown(DialogFrameCL& dialog, unsigned id)
{
    return IsWindowVisible(GetDlgItem(dialog.Handle(), static_cast<int>(id))) != FALSE;
}

// Whether the window has drawn its client in the tip colours: the tip background at the corner and text
// somewhere inside.
bool DrawnAsTip(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    ScopedWindowDC dc(window);
    ScopedMemoryDC memory(dc.Get());
    ScopedGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc.Get(), client.right, client.bottom));
    ScopedSelection selection(memory.Get(), bitmap.Get());
    BitBlt(memory.Get(), 0, 0, client.right, client.bottom, dc.Get(), 0, 0, SRCCOPY);
    bool text = false;
    for (int y = 0; y < client.bottom && !text; ++y)
        for (int x = 0; x < client.right && !text; ++x)
            text = GetPixel(memory.Get(), x, y) == GetSysColor(COLOR_INFOTEXT);
    return text && GetPixel(memory.Get(), 0, 0) == GetSysColor(COLOR_INFOBK);
}

// Runs a step on the script's text window once it shows, from a thread timer that is gone by then.
class WhenTextShows {
public:
    explicit WhenTextShows(std::function<void(HWND)> step)
    {
        Step() = std::move(step);
        SetTimer(nullptr, 0, 30, &WhenTextShows::Tick);
    }
    ~WhenTextShows() { Step() = nullptr; }

private:
    static std::function<void(HWND)>& Step()
    {
        static std::function<void(HWND)> step;
        return step;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD)
    {
        const HWND note = ThreadWindow("KivoScriptText");
        if (Step() && !note)
            return;
        KillTimer(nullptr, timer);
        const std::function<void(HWND)> step = std::move(Step());
        Step() = nullptr;
        if (step)
            step(note);
    }
};

struct ScriptWindows : HoldsFocusTestLock, testing::Test {
    ScriptWindows()
    {
        frame = new MainFrame;
        frame->EndStartup();
        frame->Show(SW_SHOWNORMAL);
    }
    ~ScriptWindows() override
    {
        delete frame;
        std::remove(Path().c_str());
    }
    static std::string Path()
    {
        const char* temp = std::getenv("TEMP");
        return std::string(temp ? temp : ".") + "\\kivo-script-windows.txt";
    }
    void Run(const char* text)
    {
        std::FILE* file = std::fopen(Path().c_str(), "wb");
        std::fputs(text, file);
        std::fclose(file);
        script.RunScriptFile(Path().c_str());
    }
    std::string Variable(const char* name) const
    {
        std::string value = "(missing)";
        script.GetVariableValue(name, value);
        return value;
    }

    ScopedApplication app;
    MainFrame* frame = nullptr;
    MessageBoxRecorder boxes;
    ScriptManager script;
};

// At most four branches; the pressed one jumps to its label, Exit ends the script.
TEST_F(ScriptWindows, BranchDialogJumpsToThePressedBranch)
{
    std::string caption, exitText, text;
    bool fourShown = false, fifth = true;
    ModalDialogDriver driver;
    driver
        .Then([&](DialogFrameCL& dialog) {
            caption = Text(dialog, 0);
            exitText = Text(dialog, IDCANCEL);
            text = Text(dialog, 3231);
            fourShown = Shown(dialog, 3232) && Shown(dialog, 3235);
            fifth = Text(dialog, 3235) == "Five";
        })
        .Press(3233)
        .Press(IDCANCEL);
    Run("!BeginBranch(Which way?,Choose,Stop)\n!Branch(One,L1)\n!Branch(Two,L2)\n!Branch(Three,L1)\n"
        "!Branch(Four,L1)\n!Branch(Five,L1)\n!EndBranch\n:L1\n!SetScriptVar(went,1)\n!Goto(Again)\n"
        ":L2\n!SetScriptVar(went,2)\n:Again\n!BeginBranch(Once more)\n!Branch(One,L1)\n!EndBranch\n"
        "!SetScriptVar(went,after)\n");
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(caption, "Choose");
    EXPECT_EQ(exitText, "Stop");
    EXPECT_EQ(text, "Which way?");
    EXPECT_TRUE(fourShown);
    EXPECT_FALSE(fifth);
    EXPECT_EQ(Variable("went"), "2");
    EXPECT_FALSE(script.FileRunning());
}

// Reversed bounds give a text field; bounds give a number; Cancel leaves the variable empty.
TEST_F(ScriptWindows, UserInputAsksForTextOrBoundedNumbers)
{
    ModalDialogDriver driver;
    driver.Type(2001, "free text").Press(IDOK).Type(2001, "7").Press(IDOK).Press(IDCANCEL);
    Run("!UserInput(Name?,name,10,1)\n!UserInput(How many?,count,1,10)\n!SetScriptVar(gone,x)\n"
        "!UserInput(Gone?,gone)\n");
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(Variable("name"), "free text");
    EXPECT_EQ(Variable("count"), "7");
    EXPECT_EQ(Variable("gone"), "");
}

// Delay waits at least 500 ms, a text box for its time; both pass a quit on to the loop it belongs to.
TEST_F(ScriptWindows, WaitsLastTheirTimeAndPassQuitOn)
{
    DWORD start = GetTickCount();
    script.ExecuteLine("!Delay(100)");
    EXPECT_GE(GetTickCount() - start, 500u);
    start = GetTickCount();
    script.ExecuteLine("!TextBox(\"Shown for a while\", 600)");
    EXPECT_GE(GetTickCount() - start, 600u);
    PostQuitMessage(3);
    start = GetTickCount();
    script.ExecuteLine("!Delay(5000)");
    EXPECT_LT(GetTickCount() - start, 4000u);
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 3u);
}

// The text box shows its text in the tip colours while the window that was active stays active.
// The note fits its whole text, measured with the note's own font, in the client inside its margins.
TEST_F(ScriptWindows, TextBoxShowsItsWholeTextWithoutTakingTheActivation)
{
    for (const char* text : {"Rolling back...", "Reporting...", "Rolling back the tree"}) {
        SCOPED_TRACE(text);
        const HWND active = GetActiveWindow();
        bool shown = false;
        WhenTextShows check([&](HWND note) {
            shown = true;
            EXPECT_EQ(GetActiveWindow(), active);
            EXPECT_TRUE(PumpMessagesUntil([note] { return DrawnAsTip(note); }));
            RECT inside{};
            GetClientRect(note, &inside);
            InflateRect(&inside, -2, -2);
            RECT needed = inside;
            ScopedWindowDC dc(note);
            ScopedSelection font(dc.Get(), reinterpret_cast<HFONT>(SendMessageA(note, WM_GETFONT, 0, 0)));
            DrawTextA(dc.Get(), text, -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
            EXPECT_LE(needed.right, inside.right);
            EXPECT_LE(needed.bottom, inside.bottom);
        });
        script.ExecuteLine(std::string("!TextBox(\"") + text + "\", 300)");
        EXPECT_TRUE(shown);
    }
}

} // namespace
