#include "framework/window/BusyAnswer.h"
#include "tests/framework/window/TestWindows.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

// A step that keeps this thread busy, answering as a long step does, while another thread sends the window a
// WM_NULL (as a "not responding" check does) and then a command: the first is answered within the step, the
// second is refused rather than run in the middle of it.
TEST(BusyAnswer, LongStepAnswersWhatIsSentAndRefusesCommands)
{
    ScopedApplication app;
    RecordingTopWindow window;
    window.Create();
    const HWND handle = window.Handle();
    std::atomic<int> answered{0};
    std::thread sender([handle, &answered] {
        DWORD_PTR result = 0;
        if (SendMessageTimeoutA(handle, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result))
            ++answered;
        if (SendMessageTimeoutA(handle, WM_COMMAND, 1234, 0, SMTO_NORMAL, 5000, &result))
            ++answered;
    });
    const DWORD begun = GetTickCount();
    while (answered < 2 && GetTickCount() - begun < 8000) {
        AnswerSentMessages();
        Sleep(1);
    }
    sender.join();
    EXPECT_EQ(answered, 2);
    EXPECT_TRUE(window.commands.empty());
    // Once the step is over the window takes commands again.
    SendMessageA(handle, WM_COMMAND, 1234, 0);
    EXPECT_EQ(window.commands, (std::vector<unsigned>{1234}));
}
