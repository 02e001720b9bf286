#include "treewin/TreeWindow.h"

#include "widgets/InPlaceEdit.h"
#include "treewin/ResultBoxes.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/DrawingPrimitives.h"
#include "framework/draw/DrawingScale.h"
#include "framework/draw/FontRecordFonts.h"
#include "framework/draw/MeasuringDisplay.h"
#include "framework/draw/MultiLineText.h"
#include "framework/window/BusyAnswer.h"
#include "model/NoteBox.h"
#include "model/TreeArrow.h"
#include "model/TreeNode.h"
#include "model/TreeWalks.h"
#include "treewin/NodeFonts.h"
#include "treewin/NodeMeasure.h"
#include "treewin/NoteBoxDrawing.h"
#include "treewin/TreeArrowDrawing.h"
#include "treewin/TreePane.h"
#include "treewin/TreePainter.h"

#include <algorithm>
#include <vector>

// The note boxes and arrows keep their places against the tree: when one lies above or left of the drawing,
// the tree moves down or right rather than the notes moving up. The pane repaints whole afterwards.
void TreeWindow::Relayout()
{
    layoutPending = false;
    InPlaceEditState edit(*this);
    // Roll back turned off: the boxes measured for the results give back the room they took.
    if (laidOutRolledBack && !document.IsRolledBack() && document.Root != nullptr)
        MeasureNode(*this, document.Root, true);
    laidOutRolledBack = document.IsRolledBack();
    // Terminal nodes carry their number in the tree's order; a node whose number changed is measured again
    // for its label, before the columns take their widths.
    if (document.DisplayPrefs.ShowTermNodeNumbers != 0 && document.Root != nullptr) {
        std::vector<TreeNode*> renumbered;
        NumberTerminalNodes(document.Root, &renumbered);
        for (TreeNode* node : renumbered)
            MeasureNode(*this, node, false);
    }
    const NoteBoxList& notes = document.NoteBoxes;
    const TreeArrowList& arrows = document.Arrows;
    LayoutRect area{};
    bool any = false;
    auto join = [&area, &any](const LogicalRect& rect) {
        area = any ? LayoutRect{std::min(area.left, rect.left), std::min(area.top, rect.top),
                                std::max(area.right, rect.right), std::max(area.bottom, rect.bottom)}
                   : LayoutRect{rect.left, rect.top, rect.right, rect.bottom};
        any = true;
    };
    for (int i = 0; i < notes.Count(); ++i)
        join(notes.At(i)->frame);
    for (int i = 0; i < arrows.Count(); ++i)
        join(ArrowExtent(*this, *arrows.At(i)));
    const float margin = TreeLayout::kMargin;
    area = LayoutRect{area.left - margin, area.top - margin, area.right + margin, area.bottom + margin};
    const LayoutPoint shift = layout.Relayout(document.Root, document.DisplayPrefs, any ? &area : nullptr);
    // The result columns stand right of the tree, inside the drawing.
    const float columnsEnd = ResultBoxes::Layout(*this);
    if (columnsEnd > 0.0f)
        layout.DrawingBounds.right = std::max(layout.DrawingBounds.right, columnsEnd + TreeLayout::kMargin);
    if (shift.x != 0.0f || shift.y != 0.0f) {
        for (int i = 0; i < notes.Count(); ++i)
            notes.At(i)->Offset(-shift.x, -shift.y);
        for (int i = 0; i < arrows.Count(); ++i) {
            TreeArrow& arrow = *arrows.At(i);
            arrow.tailX -= shift.x;
            arrow.tailY -= shift.y;
            arrow.headX -= shift.x;
            arrow.headY -= shift.y;
        }
    }
    LimitZoom();
    // Any node may have moved and the drawing changed its size.
    if (ZoomPane* pane = Pane())
        pane->DrawingChanged();
    edit.Restore();
}

// The drawing at full zoom stays within 200,000,000 pixels each way.
void TreeWindow::LimitZoom()
{
    ZoomPane* pane = Pane();
    if (pane == nullptr)
        return;
    const Display& display = PaneDisplay();
    const LayoutRect& bounds = layout.DrawingBounds;
    const double width = (bounds.right - bounds.left) * display.LogPixelsX();
    const double height = (bounds.bottom - bounds.top) * display.LogPixelsY();
    const double kLargestExtent = 200000000.0;
    pane->SetMaxZoom(width > 0 && height > 0 ? std::min(kLargestExtent / width, kLargestExtent / height) : 2.0);
}

void TreeWindow::Redraw()
{
    RebuildFonts();
    if (document.Root != nullptr)
        MeasureNode(*this, document.Root, true);
    Relayout();
}

void TreeWindow::RedrawNodes(const NodeChildList& nodes, int mode)
{
    if (nodes.Count() == 0)
        return;
    for (int i = 0; i < nodes.Count(); ++i)
        NodeChanged(nodes.At(i), mode);
    Relayout();
}

void TreeWindow::RedrawNode(TreeNode* node, int mode)
{
    NodeChildList one(1, Ownership::Borrows);
    one.Add(node);
    RedrawNodes(one, mode);
}

void TreeWindow::NodeChanged(TreeNode* node, int mode)
{
    // Roll back tells every node; one layout follows when it is done (or at the next drawing).
    if (mode == 2)
        for (int child = 0; child < node->childCount; ++child)
            MeasureNode(*this, node->GetChild(child), false);
    MeasureNode(*this, node, mode == 1);
    layoutPending = true;
    // Roll back's call for every node of a large tree takes seconds.
    AnswerSentMessagesInLoop();
}

void TreeWindow::NodeChangesBegin()
{
    heldDisplay = &MeasuringDisplay();
    heldDisplay->Lock();
}

void TreeWindow::NodeChangesEnd()
{
    if (heldDisplay != nullptr)
        heldDisplay->Unlock();
    heldDisplay = nullptr;
}

void TreeWindow::SetPaneDisplay(Display* display)
{
    paneDisplay = display;
    fontsMadeOn = nullptr;
}

Display& TreeWindow::PaneDisplay()
{
    if (paneDisplay != nullptr)
        return *paneDisplay;
    if (!offscreen)
        offscreen = std::make_unique<BitmapDisplay>(1, 1);
    return *offscreen;
}

Display& TreeWindow::MeasuringDisplay()
{
    return CurrentPrinter(PaneDisplay());
}

const FontRecord& TreeWindow::DefaultFont(int kind) const
{
    const TreeDisplayPrefs& prefs = document.DisplayPrefs;
    switch (kind) {
    case ProbabilityFont:
        return prefs.ProbFont;
    case VariablesTextFont:
        return prefs.VariablesFont;
    case ValuesFont:
        return prefs.EVFont;
    default:
        return prefs.TreeFont;
    }
}

void TreeWindow::RebuildFonts()
{
    Display& measuring = MeasuringDisplay();
    const float scale = CurrentDrawingScale();
    SetCurrentDrawingScale(1.0f);
    for (int kind = 0; kind < 4; ++kind) {
        measuringFonts[kind] = CreateRecordFont(DefaultFont(kind), &measuring);
        PushedNodeFont font(measuring, nullptr, *measuringFonts[kind]);
        lineHeights[kind] = TextLineHeight(measuring, nullptr);
    }
    SetCurrentDrawingScale(scale);
    fontsMadeOn = &measuring;
    for (auto& kind : measuredTexts)
        for (auto& texts : kind)
            texts.clear();
}

zFont& TreeWindow::MeasuringFont(int kind)
{
    if (fontsMadeOn != &MeasuringDisplay())
        RebuildFonts();
    return *measuringFonts[kind];
}

float TreeWindow::FontLineHeight(int kind)
{
    if (fontsMadeOn != &MeasuringDisplay())
        RebuildFonts();
    return lineHeights[kind];
}

std::unordered_map<std::string, LogicalSize>& TreeWindow::MeasuredTexts(int kind, bool multiLine)
{
    if (fontsMadeOn != &MeasuringDisplay())
        RebuildFonts();
    return measuredTexts[kind][multiLine];
}

void TreeWindow::Draw(Display& display, const LogicalRect* clip)
{
    if (layoutPending)
        Relayout();
    // Locked first: a picture records from its first lock to its last unlock.
    DisplayLock lock(display);
    // Without a rectangle of the caller's, what the display can show limits the work (a picture shows all).
    LogicalRect visible{};
    RECT box{};
    if (clip == nullptr && display.Kind() != Display::KindMetafile && display.DeviceContext() != nullptr &&
        GetClipBox(display.DeviceContext(), &box) != ERROR) {
        visible = PixelRectToLogical(box, display);
        // A symbol stands out of its node's box by up to half its size: no node reaching in is skipped.
        visible = LogicalRect{visible.left - kSymbolSize, visible.top - kSymbolSize, visible.right + kSymbolSize,
                              visible.bottom + kSymbolSize};
        clip = &visible;
    }
    PaintContext context(*this, display, nullptr, clip);
    display.PushFont(new zFont(context.fonts[TreeTextFont]->Handle()));
    if (document.Root != nullptr) {
        PaintTreeNode(document.Root, context);
        ResultBoxes::Paint(*this, context);
    }
    for (int i = 0; i < document.NoteBoxes.Count(); ++i)
        DrawNoteBox(*document.NoteBoxes.At(i), display, false);
    for (int i = 0; i < document.Arrows.Count(); ++i)
        DrawTreeArrow(*this, *document.Arrows.At(i), context);
    const bool screen = DocChildWindow::Pane() != nullptr && display.Kind() == Display::KindWindow;
    if (screen && SelectedNote != nullptr)
        DrawNoteBoxWithHandles(*SelectedNote, display, EditorOnScreen() != nullptr ? 0 : 1);
    else if (screen && SelectedArrow != nullptr)
        DrawArrowHandles(*SelectedArrow, display);
    if (screen && EditorOnScreen() != nullptr)
        EditorOnScreen()->RedrawFrame();
    MarkPages(display, clip);
    display.PopFont();
}

// Page breaks on the screen when they are shown; headers and footers with them, and always on paper.
void TreeWindow::MarkPages(Display& display, const LogicalRect* clip)
{
    const TreeDisplayPrefs& prefs = document.DisplayPrefs;
    const bool printer = display.Kind() == Display::KindPrinter;
    if (DocChildWindow::Pane() == nullptr || (display.Kind() != Display::KindWindow && !printer))
        return;
    PageHeaderOptions options;
    options.breaks = !printer && prefs.ShowPageBreaksInTree != 0;
    options.headers = (printer || (options.breaks && prefs.ShowPageHeadersInTree != 0)) &&
                      !(prefs.PageHeaderString.IsEmpty() && prefs.PageFooterString.IsEmpty());
    if (!options.breaks && !options.headers)
        return;
    options.headerFont = prefs.PageHeaderFont;
    options.footerFont = prefs.PageFooterFont;
    options.headerText = prefs.PageHeaderString;
    options.footerText = prefs.PageFooterString;
    options.headerAlignment = prefs.PageHeaderLoc;
    options.footerAlignment = prefs.PageFooterLoc;
    options.display = &display;
    const LayoutRect& bounds = layout.DrawingBounds;
    options.rect = clip != nullptr ? *clip : LogicalRect{bounds.left, bounds.top, bounds.right, bounds.bottom};
    DrawPageHeaderText(options);
}
