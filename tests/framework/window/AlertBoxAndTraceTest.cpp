#include "framework/window/AlertBox.h"
#include "framework/window/TraceMessage.h"
#include "tests/support/ProcessLock.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string boxText;

BOOL CALLBACK AnswerNo(HWND window, LPARAM)
{
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) != "#32770" || !IsWindowVisible(window))
        return TRUE;
    char text[64] = {};
    GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
    boxText = text;
    PostMessageA(window, WM_COMMAND, IDNO, 0);
    return FALSE;
}

void CALLBACK AnswerTheBox(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), AnswerNo, 0);
}

TEST(AlertBox, AnswerIsTheButtonThatClosedTheBox)
{
    FocusTestLock lock;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, AnswerTheBox);
    // The high bits of the flags are not the box's: MB_SERVICE_NOTIFICATION would not show it on this desktop.
    AlertBox box(nullptr, "Overwrite the file?", "KIVO", MB_YESNO | MB_SERVICE_NOTIFICATION);
    KillTimer(nullptr, timer);
    EXPECT_EQ(box.Answer(), IDNO);
    EXPECT_EQ(boxText, "Overwrite the file?");
}

TEST(TraceMessage, SilentUnlessSwitchedOnAndALongLineIsCutNotOverflowed)
{
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    {
        TraceScope off(false, file);
        TraceMessage("silent %d", 1);
    }
    {
        TraceScope on(true, file);
        const std::string longText(500, 'x');
        TraceMessage("WinMap is %lx", 0x1234ul);
        TraceMessage("%s", longText.c_str());
    }
    std::rewind(file);
    char line[1024] = {};
    ASSERT_NE(std::fgets(line, sizeof line, file), nullptr);
    EXPECT_STREQ(line, "WinMap is 1234\n");
    ASSERT_NE(std::fgets(line, sizeof line, file), nullptr);
    EXPECT_EQ(std::string(line), std::string(199, 'x') + "\n");
    EXPECT_EQ(std::fgets(line, sizeof line, file), nullptr);
    std::fclose(file);
}

} // namespace
