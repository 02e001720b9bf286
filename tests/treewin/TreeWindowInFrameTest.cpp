#include "treewin/TreeWindow.h"

#include "widgets/ZoomPane.h"
#include "foundation/FileHelpers.h"
#include "foundation/FilePath.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/WindowDisplay.h"
#include "framework/window/MDIframeCL.h"
#include "model/TreeNode.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"
#include "tests/support/ScreenCheck.h"
#include "treewin/NodeMeasure.h"
#include "treewin/TreePainter.h"
#include "treewin/TreePane.h"
#include "treewin/TreeSnapshot.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int CountInSymbol(BitmapDisplay& picture, const TreeNode* node, COLORREF colour)
{
    RECT r = LogicalRectToPixels(SymbolRect(node), picture);
    AlignSymbolToBranch(r, LogicalYToPixel(node->Geometry().BranchY(), picture));
    int count = 0;
    for (int y = r.top; y <= r.bottom; ++y)
        for (int x = r.left; x <= r.right; ++x)
            count += GetPixel(picture.DeviceContext(), x, y) == colour ? 1 : 0;
    return count;
}

} // namespace

TEST(TreeWindowInFrame, ATreeBuiltInMemoryIsShownAndSavedAsABitmap)
{
    FocusTestLock focus;
    ScopedApplication app;
    MDIframeCL frame{nullptr, 0, "frame"};
    frame.Show(SW_SHOW);

    TreeWindow window;
    TreeDocument& document = window.Document();
    document.DisplayPrefs.AlignEndNodes = 0;
    document.DisplayPrefs.TermNodeStyle = 0;
    TreeNode* chance = document.AddChild(document.Root, ChanceNode, "Treat");
    TreeNode* cure = document.AddChild(chance, TerminalNode, "Cure", "0.8", "10");
    document.AddChild(chance, TerminalNode, "Fail", "#", "0");

    window.Redraw();
    window.Show(SW_SHOW);
    ExpectScreenEqualsRepaint(frame.Handle());
    ASSERT_NE(window.Pane(), nullptr);
    EXPECT_EQ(&window.MeasuringDisplay(), static_cast<Display*>(window.Pane()->OwnDisplay()));
    LogicalRect bounds{};
    window.Bounds(bounds);
    EXPECT_FLOAT_EQ(bounds.right, window.Layout().DrawingBounds.right);
    EXPECT_GT(chance->Geometry().BoxWidth, 0.115f);

    FilePath file;
    ASSERT_TRUE(MakeTempFilePath(file));
    ASSERT_TRUE(SnapshotFiles::SaveAsBitmap(window, file));
    HBITMAP loaded = static_cast<HBITMAP>(
        LoadImageA(nullptr, file.FullPath().Text(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    file.Delete();
    ASSERT_NE(loaded, nullptr);
    BitmapDisplay picture(new Bitmap(loaded));
    EXPECT_GT(CountInSymbol(picture, document.Root, RGB(0, 0, 255)), 4);
    EXPECT_GT(CountInSymbol(picture, chance, RGB(0, 128, 0)), 4);
    EXPECT_GT(CountInSymbol(picture, cure, RGB(255, 0, 0)), 4);
}

// A tree window shows the tree icon; a press after it was left and activated again draws no arrow begun
// before.
TEST(TreeWindowInFrame, TreeIconAndActivationEndingTheArrowMode)
{
    FocusTestLock focus;
    ScopedApplication app;
    MDIframeCL frame{nullptr, 0, "frame"};
    frame.Show(SW_SHOW);
    TreeWindow first, second;
    first.Show(SW_SHOW);
    second.Show(SW_SHOW);
    second.Activate();
    ASSERT_TRUE(PumpMessagesUntil([&] { return second.IsActiveChild(); }));
    first.ClickMode = 1;
    first.Activate();
    ASSERT_TRUE(PumpMessagesUntil([&] { return first.IsActiveChild(); }));
    EXPECT_EQ(first.ClickMode, 0);
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrA(first.Handle(), GCLP_HICON)),
              LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(32002)));
}

TEST(TreeWindowInFrame, TheZoomIsStoredWithTheTree)
{
    ScopedApplication app;
    MDIframeCL frame{nullptr, 0, "frame"};
    const std::string path = std::string(std::getenv("TEMP") ? std::getenv("TEMP") : ".") + "\\kivo_zoom.tre";
    zString message;
    {
        TreeWindow tree;
        ASSERT_NE(tree.Pane(), nullptr);
        tree.Pane()->SetZoom(1.5);
        ASSERT_TRUE(tree.SaveAs(path.c_str(), message)) << message.Text();
    }
    TreeWindow opened(path.c_str());
    ASSERT_NE(opened.Pane(), nullptr);
    EXPECT_DOUBLE_EQ(opened.Pane()->Zoom(), 1.5);
    std::remove(path.c_str());
}
