#include "framework/visual/VisualListPane.h"

#include "framework/draw/Display.h"
#include "framework/draw/GdiScopes.h"
#include "framework/draw/WindowDisplay.h"
#include "framework/visual/VisualBevelFrame.h"
#include "framework/visual/VisualButton.h"
#include "framework/visual/VisualLayoutRule.h"
#include "framework/visual/VisualToggleSet.h"
#include "framework/window/ChildLayout.h"

namespace {

unsigned EdgeFacingInside(const LayoutManager* layout)
{
    switch (layout ? layout->Kind() : -1) {
    case LayoutManager::DockLeft: return VisualListPane::EdgeRight;
    case LayoutManager::DockRight: return VisualListPane::EdgeLeft;
    case LayoutManager::DockTop: return VisualListPane::EdgeBottom;
    case LayoutManager::DockBottom: return VisualListPane::EdgeTop;
    default: return 0;
    }
}

} // namespace

VisualListPane::VisualListPane(WindowCL* parent, LayoutManager* layout, unsigned style)
    : VisualListPane(parent, layout, style, 0)
{
}

VisualListPane::VisualListPane(WindowCL* parent, LayoutManager* layout, unsigned style, Forwarding)
    : VisualListPane(parent, layout, style, 1)
{
}

VisualListPane::VisualListPane(WindowCL* parent, LayoutManager* layout, unsigned style, int forward)
    : VisualItemPane(parent, layout, 0), forwardToGrandparent_(forward),
      row_(std::make_unique<VisualBarArranger>(true, 4, 1, 9, 0)), paneStyle_(style),
      itemGroup_(std::make_unique<VisualButtonGroup>(root_.get(), nullptr))
{
    SetBackgroundColour(SplitColour(GetSysColor(COLOR_BTNFACE)));
    OwnDisplay()->SetBackgroundColour(SplitColour(GetSysColor(COLOR_BTNFACE)));
    OwnDisplay()->SetTextColor(SplitColour(GetSysColor(COLOR_BTNTEXT)));
    if (auto* container = dynamic_cast<ChildLayout*>(layout_))
        container->SetArranger(row_.get());
    if (style & Framed)
        frame_ = std::make_unique<VisualBevelFrame>(
            itemGroup_.get(), new LayoutManager(0, 0, layout_->Width(), layout_->Height(), nullptr),
            VisualBevelFrame::InnerRaised, "", 1, 1, -1, true);
    if (style & AutoEdge)
        paneStyle_ |= EdgeFacingInside(layout_);
}

VisualListPane::~VisualListPane()
{
    frame_.reset();
    itemGroup_.reset();
    if (auto* container = dynamic_cast<ChildLayout*>(layout_))
        container->SetArranger(nullptr);
}

void VisualListPane::SetSpacing(POINT spacing)
{
    row_->SetSpacing(spacing);
}

void VisualListPane::RegisterToggleSet(VisualToggleSet* set)
{
    if (!toggleSets_)
        toggleSets_ = std::make_unique<std::list<std::unique_ptr<VisualToggleSet>>>();
    toggleSets_->emplace_back(set);
}

void VisualListPane::DeleteToggleSet(VisualToggleSet* set)
{
    if (toggleSets_)
        toggleSets_->remove_if([set](const std::unique_ptr<VisualToggleSet>& entry) { return entry.get() == set; });
}

WindowCL* VisualListPane::CommandWindow() const
{
    return VisualItemPane::CommandWindow(forwardToGrandparent_ != 0);
}

LRESULT VisualListPane::DefaultProcessing(WindowEvent* event)
{
    return ForwardCommands(event, forwardToGrandparent_ != 0);
}

long VisualListPane::OnSize(WindowEvent* event)
{
    PaneWindowCL::OnSize(event);
    if (frame_)
        frame_->Geometry()->SetSize(layout_->Width(), layout_->Height());
    return 0;
}

long VisualListPane::Paint(WindowEvent*)
{
    Display* display = CurrentDisplay();
    DisplayLock lock(*display);
    const HDC dc = display->DeviceContext();
    if (!dc)
        return 1;
    if (frame_) {
        frame_->DrawUp();
        return 1;
    }
    const RECT r = layout_->OwnRect();
    const int left = 0, top = 0, right = r.right - r.left, bottom = r.bottom - r.top;
    ScopedSelection pen(dc, GetStockObject(BLACK_PEN));
    auto line = [dc](int x0, int y0, int x1, int y1) {
        MoveToEx(dc, x0, y0, nullptr);
        LineTo(dc, x1, y1);
    };
    if (paneStyle_ & EdgeBottom)
        line(left, bottom - 1, right, bottom - 1);
    if (paneStyle_ & EdgeTop)
        line(left, top, right, top);
    if (paneStyle_ & EdgeRight)
        line(right - 1, top, right - 1, bottom - 1);
    if (paneStyle_ & EdgeLeft)
        line(left, top, left, bottom - 1);
    return 1;
}
