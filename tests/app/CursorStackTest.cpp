#include "app/CursorStack.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(CursorStack, NestedPushesAndPops)
{
    PushWaitCursor();  // no instance yet: nothing happens
    PopCursor();
    CursorStack::Create();
    CursorStack& stack = *CursorStack::Instance();
    EXPECT_EQ(stack.Top(), CursorStack::kArrow);

    stack.Pop();
    EXPECT_EQ(stack.Count(), 0);
    EXPECT_EQ(stack.Top(), CursorStack::kArrow);

    PushCursor(32513);  // IDC_IBEAM
    PushWaitCursor();
    EXPECT_EQ(stack.Top(), CursorStack::kWait);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, MAKEINTRESOURCEA(CursorStack::kWait)));
    PopCursor();
    EXPECT_EQ(stack.Top(), 32513u);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, MAKEINTRESOURCEA(32513)));
    {
        WaitCursorScope scope;
        EXPECT_EQ(stack.Count(), 2);
    }
    EXPECT_EQ(stack.Count(), 1);
    PopCursor();
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, MAKEINTRESOURCEA(CursorStack::kArrow)));
    CursorStack::Destroy();
    EXPECT_EQ(CursorStack::Instance(), nullptr);
}

}  // namespace
