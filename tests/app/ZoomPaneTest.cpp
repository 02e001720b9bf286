#include "widgets/DocChildWindow.h"
#include "framework/draw/DrawingScale.h"
#include "widgets/ZoomPane.h"
#include "widgets/ZoomPaneScroller.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/MetafileDisplay.h"
#include "framework/draw/WindowDisplay.h"
#include "framework/window/ChildLayout.h"
#include "framework/window/MDIframeCL.h"
#include "framework/window/ScrollBarState.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// A display of a device with the given pixels per inch.
class InchDisplay : public Display {
public:
    explicit InchDisplay(int perInch) { SetCapabilities(800, 600, perInch, perInch, 200, 150); }
};

TEST(LogicalUnits, InchesToPixelsTruncateAtTheScaleAndOrigin)
{
    struct Case {
        double inches;
        float scale, origin;
        int pixels;
    };
    const Case cases[] = {
        {1.5, 1.0f, 0.0f, 144}, {1.5, 0.7f, 0.0f, 100}, {-0.01, 1.0f, 0.0f, 0},
        {-0.02, 1.0f, 0.0f, -1}, {2.0, 1.0f, 0.5f, 144}, {1.0, 2.5f, 0.0f, 240},
    };
    const InchDisplay display(96);
    for (const Case& c : cases) {
        SetCurrentDrawingScale(c.scale);
        SetDrawingOrigin(c.origin, c.origin);
        EXPECT_EQ(LogicalXToPixel(c.inches, display), c.pixels) << c.inches << " at " << c.scale;
        EXPECT_EQ(LogicalYToPixel(c.inches, display), c.pixels);
        // Back from pixels: the pixel's own inch, never more than one pixel off.
        EXPECT_NEAR(PixelXToLogical(c.pixels, display), c.inches, 1.0 / 96 / c.scale + 1e-6);
    }
    SetDrawingOrigin(0, 0);
    SetCurrentDrawingScale(1.0f);
}

// A document whose drawing has the given size and that records what the pane asks of it.
class Document : public DocChildWindow {
public:
    Document() : DocChildWindow("document", 0) {}
    void Bounds(LogicalRect& rect) override { rect = LogicalRect{0, 0, width, height}; }
    void OnZoomChanged() override { layoutScales.push_back(CurrentDrawingScale()); }
    void Draw(Display*) override { drawScales.push_back(CurrentDrawingScale()); }
    float width = 10.0f;
    float height = 10.0f;
    std::vector<float> layoutScales;
    std::vector<float> drawScales;
};

class ZoomPaneTest : public testing::Test {
protected:
    void SetUp() override
    {
        SendMessageA(frame.Handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(800, 600));
        frame.Show(SW_SHOW);
        document = new Document();
        pane = new ZoomPane(document, new ChildLayout(0, 0, 400, 300, nullptr), WS_CHILD | WS_VISIBLE);
        document->SetPane(pane);
        pane->EnableZoom(true);
        document->Show(SW_SHOW);
    }
    void TearDown() override { delete document; }
    // The maximum a bar gets for a drawing of the extent over the client size in steps of 40 pixels.
    static int Steps(int extent, int client) { return extent <= client ? 0 : (extent - client + 39) / 40; }
    int PerInch() const { return pane->OwnDisplay()->LogPixelsX(); }

    // The shown frame takes the focus from tests running beside this one.
    FocusTestLock focus;
    ScopedApplication app;
    MDIframeCL frame{nullptr, 0, "frame"};
    Document* document = nullptr;
    ZoomPane* pane = nullptr;
};

TEST_F(ZoomPaneTest, ZoomStaysWithinItsLimitsAndTinyChangesAreNone)
{
    document->layoutScales.clear();
    pane->SetZoom(1.0 + 1e-11);
    EXPECT_TRUE(document->layoutScales.empty());
    struct Case {
        double from;
        bool in;
        double to;
    };
    const Case cases[] = {{2.0, true, 2.5}, {0.06, false, 0.05}, {1.0, true, 1.333}, {1.0, false, 1.0 / 1.333}};
    for (const Case& c : cases) {
        pane->SetZoom(c.from);
        pane->ZoomStep(c.in);
        EXPECT_NEAR(pane->Zoom(), c.to, 1e-9) << c.from;
    }
    // The owner lays out at the new zoom.
    EXPECT_FLOAT_EQ(document->layoutScales.back(), static_cast<float>(1.0 / 1.333));
    pane->SetZoom(0.05);
    EXPECT_FALSE(pane->CanZoomOut());
    EXPECT_TRUE(pane->CanZoomIn());
    pane->SetZoom(2.0);
    EXPECT_TRUE(pane->SetMaxZoom(1.2));
    EXPECT_DOUBLE_EQ(pane->Zoom(), 1.2);
    EXPECT_FALSE(pane->CanZoomIn());
    EXPECT_FALSE(pane->SetMaxZoom(7.0));
    EXPECT_DOUBLE_EQ(pane->MaximumZoom(), 2.5);
    pane->EnableZoom(false);
    EXPECT_FALSE(pane->CanZoomIn());
}

TEST_F(ZoomPaneTest, TheScreenIsDrawnAtTheZoomAndOtherDisplaysAtScaleOne)
{
    pane->SetZoom(1.5);
    SetCurrentDrawingScale(0.25f);
    document->drawScales.clear();
    InvalidateRect(pane->Handle(), nullptr, TRUE);
    UpdateWindow(pane->Handle());
    BitmapDisplay bitmap(50, 50);
    MetafileDisplay metafile(pane->OwnDisplay());
    pane->PushDisplay(&bitmap);
    pane->Paint(nullptr);
    pane->PushDisplay(&metafile);
    pane->Paint(nullptr);
    // While a bitmap is current the screen is still painted through the own display, at the zoom.
    InvalidateRect(pane->Handle(), nullptr, TRUE);
    UpdateWindow(pane->Handle());
    pane->PopDisplay();
    pane->PopDisplay();
    EXPECT_EQ(document->drawScales, (std::vector<float>{1.5f, 1.0f, 1.0f, 1.5f}));
    // Drawing leaves the program's scale as it found it.
    EXPECT_FLOAT_EQ(CurrentDrawingScale(), 0.25f);
    SetCurrentDrawingScale(1.0f);
}

TEST_F(ZoomPaneTest, ScrollRangesFollowTheDrawingAtTheZoom)
{
    pane->AttachScrollBars(40, 40, 160, 160);
    EXPECT_EQ(pane->VerticalState()->pageStep, 4);
    RECT client;
    GetClientRect(pane->Handle(), &client);
    const int extent = 10 * PerInch();
    EXPECT_EQ(pane->HorizontalState()->maximum, Steps(extent, client.right));
    EXPECT_EQ(pane->VerticalState()->maximum, Steps(extent, client.bottom));

    // Halfway down, a zoom to 2 keeps the place: halfway down the new range, the origin at its pixels.
    ScrollBarState& vertical = *pane->VerticalState();
    const int half = vertical.maximum / 2;
    SendMessageA(pane->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, half), 0);
    EXPECT_EQ(pane->ScrollOrigin().y, half * 40);
    const int oldMaximum = vertical.maximum;
    pane->SetZoom(2.0);
    EXPECT_EQ(vertical.maximum, Steps(2 * extent, client.bottom));
    EXPECT_EQ(vertical.position, half * vertical.maximum / oldMaximum);
    EXPECT_EQ(pane->ScrollOrigin().y, vertical.position * 40);

    // A drawing smaller than the client area has no range on that axis.
    document->width = 1.0f;
    pane->SetZoom(1.0);
    EXPECT_EQ(pane->HorizontalState()->maximum, 0);
    EXPECT_EQ(pane->ScrollOrigin().x, 0);
    EXPECT_GT(vertical.maximum, 0);
}

TEST_F(ZoomPaneTest, ScrollIntoViewBringsARectangleInByWholeSteps)
{
    pane->AttachScrollBars(40, 40, 160, 160);
    const float inch = static_cast<float>(PerInch());
    auto inView = [&](const LogicalRect& rect) {
        const RECT view = pane->VisibleRect();
        return rect.left * inch >= view.left && rect.right * inch <= view.right && rect.top * inch >= view.top &&
               rect.bottom * inch <= view.bottom;
    };
    const LogicalRect lowerRight{7.0f, 8.0f, 7.5f, 8.5f};
    ASSERT_FALSE(inView(lowerRight));
    pane->ScrollIntoView(lowerRight);
    EXPECT_TRUE(inView(lowerRight));
    EXPECT_EQ(pane->ScrollOrigin().x % 40, 0);
    EXPECT_EQ(pane->ScrollOrigin().x, pane->HorizontalState()->position * 40);
    // Back to the top left: the left and top edges come into view first.
    const LogicalRect upperLeft{0.5f, 0.25f, 1.0f, 0.5f};
    pane->ScrollIntoView(upperLeft);
    EXPECT_TRUE(inView(upperLeft));
    EXPECT_EQ(pane->ScrollOrigin().y, pane->VerticalState()->position * 40);
}

TEST_F(ZoomPaneTest, FittedToItsDrawingTheWindowKeepsTheAnchoredEdgesAndStaysInTheFrame)
{
    HWND window = document->Handle();
    const auto place = [&](int left, int top) { MoveWindow(window, left, top, 200, 150, TRUE); };
    const auto rect = [&] {
        RECT r{};
        GetWindowRect(window, &r);
        MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    place(100, 80);
    RECT client{};
    GetClientRect(window, &client);
    const int extraX = 200 - client.right + 18;
    const int extraY = 150 - client.bottom + 18;
    document->width = 2.0f;
    document->height = 1.0f;
    pane->SetZoom(1.0);
    const int wide = 2 * PerInch() + extraX;
    const int high = PerInch() + extraY;
    const struct {
        bool right, bottom;
        RECT expected;
    } cases[] = {{false, false, {100, 80, 100 + wide, 80 + high}}, {true, true, {300 - wide, 230 - high, 300, 230}}};
    for (const auto& c : cases) {
        place(100, 80);
        document->FitToContents(c.right, c.bottom, false);
        const RECT fitted = rect();
        EXPECT_TRUE(EqualRect(&c.expected, &fitted)) << c.right << ": " << fitted.left << "," << fitted.top << ","
                                                     << fitted.right << "," << fitted.bottom;
    }
    // Too wide for where it stands: moved back inside the frame's client area.
    RECT area{};
    GetClientRect(GetParent(window), &area);
    document->width = static_cast<float>(area.right) / PerInch() - 1.0f;
    place(100, 80);
    document->FitToContents(false, false, true);
    EXPECT_EQ(rect().right, area.right);
    EXPECT_EQ(rect().top, 80);
    // Larger than the frame: cut to it at its top-left corner.
    MoveWindow(window, 50, 50, area.right + 100, area.bottom + 100, TRUE);
    document->FitToFrame();
    const RECT fitted = rect();
    EXPECT_TRUE(EqualRect(&fitted, &area));
}

} // namespace
