#include "treewin/TreeWindow.h"

#include "app/BmpFile.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/DrawingPrimitives.h"
#include "framework/draw/DrawingScale.h"
#include "framework/draw/FontRecordFonts.h"
#include "framework/draw/MeasuringDisplay.h"
#include "framework/draw/MultiLineText.h"
#include "model/NoteBox.h"
#include "model/TreeNode.h"
#include "treewin/NodeFonts.h"
#include "treewin/NodeMeasure.h"
#include "treewin/NoteBoxDrawing.h"
#include "treewin/TreeArrowDrawing.h"
#include "treewin/TreeViewWindow.h"
#include "treewin/TreePainter.h"

void TreeWindow::Relayout()
{
    layoutPending = false;
    layout.Relayout(document.Root, document.DisplayPrefs);
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
    for (int i = 0; i < nodes.Count(); ++i) {
        TreeNode* node = nodes.At(i);
        if (mode == 2)
            for (int child = 0; child < node->childCount; ++child)
                MeasureNode(*this, node->GetChild(child), false);
        MeasureNode(*this, node, mode == 1);
    }
    Relayout();
}

void TreeWindow::RedrawNode(TreeNode* node, int mode)
{
    NodeChildList one(1, false);
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

void TreeWindow::Draw(Display& display, const LogicalRect* clip)
{
    if (layoutPending)
        Relayout();
    // Locked first: a picture records from its first lock to its last unlock.
    DisplayLock lock(display);
    // Without a rectangle of the caller's, what the display can show limits the work (a picture shows all).
    LogicalRect shown{};
    RECT box{};
    if (clip == nullptr && display.Kind() != Display::KindMetafile && display.DeviceContext() != nullptr &&
        GetClipBox(display.DeviceContext(), &box) != ERROR) {
        shown = PixelRectToLogical(box, display);
        clip = &shown;
    }
    PaintContext context(*this, display, nullptr, clip);
    display.PushFont(new zFont(context.fonts[TreeTextFont]->Handle()));
    if (document.Root != nullptr)
        PaintTreeNode(document.Root, context);
    for (int i = 0; i < document.NoteBoxes.Count(); ++i)
        DrawNoteBox(*document.NoteBoxes.At(i), display, false);
    for (int i = 0; i < document.Arrows.Count(); ++i)
        DrawTreeArrow(*this, *document.Arrows.At(i), context);
    display.PopFont();
}

TreeViewWindow& TreeWindow::Show()
{
    if (!shown) {
        shown = std::make_unique<TreeViewWindow>(*this);
        Redraw();
        shown->Show(SW_SHOW);
    }
    return *shown;
}

bool TreeWindow::SaveAsBitmap(const ::FilePath& path)
{
    if (layoutPending)
        Relayout();
    const float scale = CurrentDrawingScale();
    SetCurrentDrawingScale(1.0f);
    const LayoutRect& bounds = layout.DrawingBounds;
    BitmapDisplay picture(PaneDisplay(), LogicalWidthToPixels(bounds.right, PaneDisplay()) + 1,
                          LogicalHeightToPixels(bounds.bottom, PaneDisplay()) + 1);
    RECT area{};
    picture.Bounds(area);
    bool saved = false;
    if (area.right > 0 && area.bottom > 0) {
        DrawShape(picture, RECT{0, 0, area.right - 1, area.bottom - 1}, RGB(255, 255, 255));
        Draw(picture);
        saved = SaveBitmapAsBmp(picture, path);
    }
    SetCurrentDrawingScale(scale);
    return saved;
}
