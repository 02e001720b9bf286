#include "widgets/CursorStack.h"
#include "widgets/HelpContext.h"
#include "widgets/MessageBoxes.h"
#include "widgets/StatusMessage.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

TEST(MessageBoxes, CaptionDefaultsToProductNameAndStylesFollowTheKind)
{
    struct Row {
        int (*show)(const char*);
        unsigned style;
    };
    const Row rows[] = {
        {[](const char* c) { return ShowErrorBox(c, "e", 0); }, MB_OK | MB_ICONHAND},
        {[](const char* c) { return ShowInfoBox(c, "i", 0); }, MB_OK | MB_ICONASTERISK},
        {[](const char* c) { return AskOkCancel(c, "o", 0, 1); }, MB_OKCANCEL | MB_ICONASTERISK},
        {[](const char* c) { return AskOkCancel(c, "o", 0, 3); }, MB_OKCANCEL | MB_ICONQUESTION},
        {[](const char* c) { return AskOkCancel(c, "o", 0, 2); }, MB_OKCANCEL | MB_ICONHAND},
        {[](const char* c) { return AskYesNoCancel(c, "q", 0); }, MB_YESNOCANCEL | MB_ICONQUESTION},
        {[](const char* c) { return AskYesNo(c, "q", 0); }, MB_YESNO | MB_ICONQUESTION},
    };
    for (const Row& row : rows) {
        MessageBoxRecorder boxes;
        row.show(nullptr);
        row.show("Parser Error");
        ASSERT_EQ(2u, boxes.Count());
        EXPECT_EQ("KIVO", boxes.Boxes()[0].caption);
        EXPECT_EQ("Parser Error", boxes.Boxes()[1].caption);
        EXPECT_EQ(row.style, boxes.Last().style);
    }
}

TEST(MessageBoxes, AnswersMapToResults)
{
    MessageBoxRecorder boxes;
    const struct {
        int answer;
        int (*ask)();
        int expected;
    } rows[] = {
        {IDOK, [] { return AskOkCancel(nullptr, "t", 0, 1); }, 1},
        {IDCANCEL, [] { return AskOkCancel(nullptr, "t", 0, 1); }, 2},
        {IDYES, [] { return AskYesNoCancel(nullptr, "t", 0); }, 1},
        {IDNO, [] { return AskYesNoCancel(nullptr, "t", 0); }, 3},
        {IDCANCEL, [] { return AskYesNoCancel(nullptr, "t", 0); }, 2},
        {IDYES, [] { return AskYesNo(nullptr, "t", 0); }, 1},
        {IDNO, [] { return AskYesNo(nullptr, "t", 0); }, 3},
    };
    for (const auto& row : rows) {
        boxes.Answer(row.answer);
        EXPECT_EQ(row.expected, row.ask());
    }
}

TEST(MessageBoxes, SuppressionSilencesNoticesButNeverQuestions)
{
    MessageBoxRecorder boxes;
    {
        HostSilence quiet(Silence::Notices);
        ShowErrorBox(nullptr, "lost", 0);
        ShowInfoBox(nullptr, "lost", 0);
        EXPECT_EQ(0u, boxes.Count());
        boxes.Answer(IDNO);
        EXPECT_EQ(3, AskYesNo(nullptr, "asked", 0));
    }
    ShowErrorBox(nullptr, "shown", 0);
    ASSERT_EQ(2u, boxes.Count());
    EXPECT_EQ("asked", boxes.Boxes()[0].text);
    EXPECT_EQ("shown", boxes.Last().text);
}

TEST(MessageBoxes, HelpContextIsSetForTheBoxAndRestoredAfterwards)
{
    HelpContextScope outside(5);
    int seenDuringBox = -1;
    MessageBoxPresenter previous = SetMessageBoxPresenter([&](const MessageBoxRequest&) {
        seenDuringBox = CurrentHelpContext();
        return IDOK;
    });
    ShowErrorBox(nullptr, "t", 30013);
    EXPECT_EQ(30013, seenDuringBox);
    EXPECT_EQ(5, CurrentHelpContext());
    ShowErrorBox(nullptr, "t", -1);
    EXPECT_EQ(5, seenDuringBox);
    SetMessageBoxPresenter(previous);
}

TEST(MessageBoxes, HelpHintStandsInTheStatusLineWhileTheBoxIsUpAndArrowCursorIsShown)
{
    CursorStack::Create();
    PushWaitCursor();
    for (int help : {0, 1200}) {
        ShowStatusMessage("Rolling back");
        std::string statusDuringBox;
        uint32_t cursorDuringBox = 0;
        MessageBoxPresenter previous = SetMessageBoxPresenter([&](const MessageBoxRequest&) {
            statusDuringBox = CurrentStatusMessage().Text();
            cursorDuringBox = CursorStack::Instance()->Top();
            return IDOK;
        });
        ShowInfoBox(nullptr, "t", help);
        SetMessageBoxPresenter(previous);
        EXPECT_EQ(help > 0 ? "Press F1 for help" : "Rolling back", statusDuringBox);
        EXPECT_EQ(CursorStack::kArrow, cursorDuringBox);
        EXPECT_STREQ("", CurrentStatusMessage().Text());
        EXPECT_EQ(CursorStack::kWait, CursorStack::Instance()->Top());
    }
    CursorStack::Destroy();
}
