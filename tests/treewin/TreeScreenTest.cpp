// What the tree window shows on the screen is what it paints afresh.

#include "model/TreeNode.h"
#include "tests/support/FramedTreeWindow.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScreenCheck.h"
#include "treewin/TreePane.h"

#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

// The check itself: a shown tree passes; pixels drawn on the screen without an invalidation fail it.
TEST(TreeScreen, TheCheckCatchesPixelsNoPaintWouldDraw)
{
    FocusTestLock focus;
    FramedTreeWindow t;
    t.frame.Show(SW_SHOW);
    t.tree.AddChild(t.tree.Root, TerminalNode, "Only");
    t.window.Redraw();
    t.window.Show(SW_MAXIMIZE);
    ExpectScreenEqualsRepaint(t.frame.Handle());

    HDC screen = GetDC(t.window.Pane()->Handle());
    RECT stale{5, 5, 25, 15};
    FillRect(screen, &stale, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(t.window.Pane()->Handle(), screen);
    EXPECT_NONFATAL_FAILURE(ExpectScreenEqualsRepaint(t.frame.Handle()), "The screen differs from a full repaint");
    ExpectScreenEqualsRepaint(t.frame.Handle());
}
