#include "treewin/ResultBoxes.h"
#include "framework/draw/Bitmap.h"
#include "framework/draw/Display.h"
#include "framework/draw/DrawingPrimitives.h"
#include "framework/draw/MultiLineText.h"
#include "framework/draw/zBrush.h"
#include "framework/draw/zPen.h"
#include "foundation/NumericFormatting.h"
#include "model/TreeNode.h"
#include "treewin/DefinitionsBox.h"
#include "treewin/NodeFonts.h"
#include "treewin/NodeMeasure.h"
#include "treewin/NodeSymbols.h"
#include "treewin/RollBackText.h"
#include "treewin/TreePainter.h"
#include "treewin/TreeWindow.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const Colour kBlack{0, 0, 0, 0};

// Black with one-pixel white diagonals from upper left to lower right, one pixel in every four.
Bitmap& StripePattern()
{
    static std::unique_ptr<Bitmap> pattern = [] {
        WORD rows[8];
        for (int y = 0; y < 8; ++y) {
            WORD row = 0;
            for (int x = 0; x < 8; ++x)
                if ((x - y + 8) % 4 == 0)
                    row |= static_cast<WORD>(0x80 >> x);
            rows[y] = row;
        }
        return std::make_unique<Bitmap>(CreateBitmap(8, 8, 1, 1, rows));
    }();
    return *pattern;
}

bool HasBindings(const TreeNode* node)
{
    return node->BindingCount() > 0;
}

// The clone-master band or the striped band of bound variables, from the box's left along the branch row;
// returns the band's width in pixels (0 without one).
int PaintBands(TreeNode* node, PaintContext& context, const RECT& box, int row)
{
    Display& display = context.TargetDisplay();
    Display& reference = context.Reference();
    TreeWindow& window = context.window;
    const bool screen = display.Kind() == Display::KindWindow;
    const bool striped = window.Document().DisplayPrefs.MarkNodesWithVars == 1 && HasBindings(node) &&
                         context.InCloneCopy == 0 && screen;
    const bool master = ShowsCloneMasterMark(window, node, display);
    if (!striped && !master)
        return 0;
    const int height = std::max(1, LogicalHeightToPixels(master ? 0.05 : 0.025, reference));
    const int width = LogicalWidthToPixels(window.ColumnWidth(node->Geometry().Column) - kSymbolSize, reference);
    display.PushPen(new zPen(context.Map(kBlack), PS_SOLID, 0));
    if (striped)
        display.PushBrush(new zBrush(&StripePattern()));
    else
        display.PushBrush(new zBrush(context.Map(context.InCloneCopy && screen ? Colour{192, 192, 192, 0} : kBlack)));
    Rectangle(display.DeviceContext(), box.left, row - 1, box.left + width + 2, row + height);
    display.PopBrush();
    display.PopPen();
    return width;
}

void PaintCloneId(TreeNode* node, PaintContext& context, const RECT& symbol)
{
    Display& display = context.TargetDisplay();
    const std::string id = std::to_string(node->cloneId);
    const SIZE extent = display.TextExtent(id.c_str(), static_cast<int>(id.size()));
    const int top = symbol.bottom + LogicalHeightToPixels(0.02, context.Reference());
    DrawTextAt(display, (symbol.left + symbol.right - extent.cx) / 2, top, id.c_str());
}

void PaintCommentFlag(PaintContext& context, const RECT& symbol)
{
    Display& display = context.TargetDisplay();
    Display& reference = context.Reference();
    HDC dc = display.DeviceContext();
    const Colour red = context.Map(Colour{255, 0, 0, 0});
    const int x = (symbol.left + symbol.right) / 2;
    const int bottom = symbol.top - 3;
    const int top = bottom - LogicalHeightToPixels(0.06, reference);
    const int side = LogicalWidthToPixels(0.05, reference);
    display.PushPen(context.Pen(red));
    display.PushBrush(new zBrush(red));
    MoveToEx(dc, x, bottom, nullptr);
    LineTo(dc, x, top);
    Rectangle(dc, x, top, x + side, top + side);
    display.PopBrush();
    display.PopPen();
}

// Each line at the step below the last, its characters placed at the advances that measuring gives, so that
// the text covers the width it is measured at (the system may space a drawn line otherwise); a line measured
// wider than the width given (none when 0) is narrowed to it in proportion.
void DrawMeasuredLines(Display& display, const char* text, int x, int y, int step, int width = 0)
{
    HDC dc = display.DeviceContext();
    std::vector<INT> ends, advances;
    for (int line = 0; text != nullptr && *text != '\0'; ++line) {
        const char* stop = NextLineBreak(text);
        const int length = stop != nullptr ? static_cast<int>(stop - text) : static_cast<int>(std::strlen(text));
        ends.assign(length, 0);
        advances.assign(length, 0);
        SIZE size{};
        if (length > 0 && GetTextExtentExPointA(dc, text, length, 0, nullptr, ends.data(), &size)) {
            const int measured = ends[length - 1];
            if (width > 0 && measured > width)
                for (INT& end : ends)
                    end = static_cast<INT>(static_cast<long long>(end) * width / measured);
            for (int i = 0; i < length; ++i)
                advances[i] = ends[i] - (i > 0 ? ends[i - 1] : 0);
            ExtTextOutA(dc, x, y + line * step, 0, nullptr, text, length, advances.data());
        }
        if (stop == nullptr)
            break;
        text = stop + LineBreakLength(stop);
    }
}

// The width (pixels) a single line is drawn at in the node's own font, or the tree's font of the kind: the layout
// measured it at 1:1, and a font made for another zoom is not as wide in proportion.
int DrawnWidth(PaintContext& context, const FontRecord* own, int kind, const char* text)
{
    Display& display = context.TargetDisplay();
    std::unordered_map<std::string, int>* known = own == nullptr ? &context.drawnWidths[kind] : nullptr;
    if (known != nullptr) {
        const auto found = known->find(text);
        if (found != known->end())
            return found->second;
    }
    PushedNodeFont font(display, own, *context.fonts[kind]);
    const int width = display.TextExtent(text, static_cast<int>(std::strlen(text))).cx;
    if (known != nullptr)
        known->emplace(text, width);
    return width;
}

// A single line at the pixel point in the node's own font, or the tree's font of the kind (copied from the
// paint's stamps without its font being selected); narrowed to the width given (none when 0).
void DrawLine(PaintContext& context, const FontRecord* own, int kind, int x, int y, const char* text, int width)
{
    Display& display = context.TargetDisplay();
    if (width == 0 && own == nullptr) {
        context.stamps.Draw(display, context.fonts[kind]->Handle(), x, y, text);
        return;
    }
    PushedNodeFont font(display, own, *context.fonts[kind]);
    if (width == 0)
        context.stamps.Draw(display, nullptr, x, y, text);
    else
        DrawMeasuredLines(display, text, x, y, 0, width);
}

void PaintTexts(TreeNode* node, PaintContext& context)
{
    Display& display = context.TargetDisplay();
    Display& reference = context.Reference();
    TreeWindow& window = context.window;
    const TreeDocument& document = window.Document();
    const NodeGeometry& g = node->Geometry();
    // The text open in the in-place editor shows there alone: an editor that keeps clear of the symbol stands
    // left of the drawn text's end.
    const int edited = window.EditorOnScreen() != nullptr && display.Kind() == Display::KindWindow &&
                               window.CurrentNode() == node
                           ? window.EditField
                           : 0;
    if (edited != 1) {
        // A name drawn wider than its column is narrowed to the column.
        const RECT name = LogicalRectToPixels(NameRect(window, node), reference);
        const int room = name.right - name.left;
        const FontRecord* own = node->fonts[0].get();
        const char* text = node->text.Text();
        if (g.LineCount > 1) {
            PushedNodeFont font(display, own, *context.fonts[TreeTextFont]);
            const int step = LogicalHeightToPixels(g.NameHeight / g.LineCount, reference);
            const float drawn = MeasureMultiLineText(display, text, nullptr, true, false).width;
            if (LogicalWidthToPixels(drawn, reference) > room)
                DrawMeasuredLines(display, text, name.left, name.top, step, room);
            else
                DrawMultiLineText(display, reference, text, name.left, name.top, step);
        } else {
            const int drawn = DrawnWidth(context, own, TreeTextFont, text);
            DrawLine(context, own, TreeTextFont, name.left, name.top, text, drawn > room ? room : 0);
        }
    }
    if (!node->text2.IsEmpty()) {
        LogicalRect frame = SecondTextRect(window, node, true);
        {
            PushedNodeFont font(display, node->fonts[2].get(), *context.fonts[TreeTextFont]);
            const LogicalRect text = SecondTextRect(window, node, false);
            const RECT inset = LogicalRectToPixels(text, reference);
            const int lines = CountLineBreaks(node->text2.Text()) + 1;
            const int step = LogicalHeightToPixels((g.SecondTextHeight - 0.1f) / lines, reference);
            DrawMeasuredLines(display, node->text2.Text(), inset.left, inset.top, step);
            // The layout measured the text at 1:1; a font made for another zoom is not as wide in
            // proportion, so the frame holds the text as drawn, with the same margin.
            const float drawn = MeasureMultiLineText(display, node->text2.Text(), nullptr, true, false).width;
            frame.right = std::max(frame.right, text.left + drawn + (text.left - frame.left));
        }
        if (document.DisplayPrefs.NoteBoxBorderKey == 0) {
            display.PushPen(new zPen(BLACK_PEN));
            display.FrameRect(LogicalRectToPixels(frame, reference));
            display.PopPen();
        }
        else if (document.DisplayPrefs.NoteBoxBorderKey == 1)
            DrawDashedRect(display, frame, 2, context.Map(kBlack).ToColorRef());
    }
    if (document.DisplayPrefs.HideProbs == 0 && node->parent != nullptr && node->parent->HasBranchProbabilities() &&
        edited != 2) {
        zString text = node->probability.Text();
        const bool numeric = document.IsRolledBack() && document.DisplayPrefs.ShowProbsAsNumericEquiv != 0 &&
                             !text.IsEmpty() && !node->IsInMarkovSubtree();
        if (numeric)
            FormatNumber(document.CalcPrefs.CurrentNumericFormat(), node->branchProbability, text, false, false,
                         DigitsOfFormat);
        if (!text.IsEmpty()) {
            // Centred in the column on the width drawn, or narrowed to the column where that is wider.
            const RECT prob = LogicalRectToPixels(ProbRect(window, node), reference);
            const FontRecord* own = node->fonts[1].get();
            const int room = prob.right - prob.left;
            const int drawn = DrawnWidth(context, own, ProbabilityFont, text.Text());
            DrawLine(context, own, ProbabilityFont, prob.left + std::max(0, room - drawn) / 2, prob.top, text.Text(),
                     drawn > room ? room : 0);
        }
    }
    PaintDefinitions(window, node, display, reference, true, nullptr);
}

// Which roll-back box the node shows: the result, the plain label, or none.
void PaintNodeRollBackBox(TreeNode* node, PaintContext& context)
{
    const TreeDocument& document = context.window.Document();
    const TreeDisplayPrefs& prefs = document.DisplayPrefs;
    if (prefs.Schematic != 0)
        return;
    const bool markovPlace = !node->IsInMarkovSubtree() || (node->parent != nullptr && node->parent->kind == MarkovNode);
    bool wanted = document.IsRolledBack() && !RollBackBoxHidden(node) && markovPlace;
    if (wanted && prefs.ShowEVatTermEtc != 0)
        wanted = node->IsDecision() || node->IsTerminal() || (node->parent != nullptr && node->parent->IsDecision());
    if (wanted && document.CalcPrefs.RollBackCalculatesKey == RollBackPayoffsOnly)
        wanted = node->IsTerminal();
    zString text;
    if (wanted) {
        BuildNodeResultText(node, text);
        PaintRollBackBox(context, RollBackBoxRect(context.window, node), text.Text(), true);
    } else if (BuildPlainRollBackText(node, text, false)) {
        PaintRollBackBox(context, RollBackBoxRect(context.window, node), text.Text(),
                         node->IsTerminal() && prefs.BoxPayoffs != 0);
    }
}

} // namespace

bool ShowsCloneMasterMark(TreeWindow& window, const TreeNode* node, Display& display)
{
    return node->cloneStatus == CloneMasterNode &&
           (display.Kind() != Display::KindPrinter || window.Document().DisplayPrefs.HideCloneCopies != 0);
}

void AlignSymbolToBranch(RECT& symbol, int branchRow)
{
    const int middle = (symbol.top + symbol.bottom) / 2;
    if (middle > branchRow)
        --symbol.top;
    else if (middle < branchRow)
        ++symbol.bottom;
}

void PaintNode(TreeNode* node, PaintContext& context)
{
    Display& display = context.TargetDisplay();
    Display& reference = context.Reference();
    TreeWindow& window = context.window;
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    if (dc == nullptr)
        return;
    const NodeGeometry& g = node->Geometry();
    const int row = LogicalYToPixel(g.BranchY(), reference);
    RECT symbol = LogicalRectToPixels(SymbolRect(node), reference);
    AlignSymbolToBranch(symbol, row);
    const RECT box = LogicalRectToPixels(LogicalRect{g.X, g.Y, g.SymbolX, g.YBottom}, reference);

    const int band = PaintBands(node, context, box, row);
    {
        PaintPen pen(context, context.InCloneCopy ? Colour{192, 192, 192, 0} : kBlack);
        MoveToEx(dc, box.left + band, row, nullptr);
        LineTo(dc, symbol.left, row);
    }

    const bool picture = display.Kind() == Display::KindBitmap || display.Kind() == Display::KindMetafile;
    PaintNodeSymbol(node, symbol, context, window.IsSelectedOrUnderSelection(node) && !picture,
                    context.InCloneCopy != 0);
    if (ShowsCloneMasterMark(window, node, display))
        PaintCloneId(node, context, symbol);
    if (window.Document().DisplayPrefs.MarkNodesWithComments != 0 && display.Kind() == Display::KindWindow &&
        !node->ExtraListEmpty() && context.InCloneCopy == 0)
        PaintCommentFlag(context, symbol);
    if (window.Document().DisplayPrefs.Schematic == 0)
        PaintTexts(node, context);
    // Where result columns show, the node's row of result boxes stands in place of its roll-back box.
    const bool endsVisibly = node->IsTerminal() || !node->ChildrenShown();
    if (!(ResultBoxes::Shown(window) && endsVisibly))
        PaintNodeRollBackBox(node, context);
}

void PaintRollBackBox(PaintContext& context, const LogicalRect& rect, const char* text, bool boxed)
{
    Display& display = context.TargetDisplay();
    Display& reference = context.Reference();
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    if (dc == nullptr)
        return;
    int offset = 0;
    if (boxed && text != nullptr && *text != '\0') {
        RECT frame = LogicalRectToPixels(
            LogicalRect{rect.left - 0.03f, rect.top - 0.03f, rect.right + 0.03f, rect.bottom + 0.03f}, reference);
        // The layout measured the text at 1:1; a font made for another zoom is not as wide or as high in
        // proportion, so the frame holds the text as drawn, with the margins it has on the left and top.
        SIZE drawn{};
        {
            PushedNodeFont font(display, nullptr, *context.fonts[ValuesFont]);
            drawn = display.TextExtent(text, static_cast<int>(std::strlen(text)));
        }
        const int x = LogicalXToPixel(rect.left, reference) + 1;
        const int y = LogicalYToPixel(rect.top, reference) + 1;
        frame.right = std::max<LONG>(frame.right, x + drawn.cx + (x - frame.left));
        frame.bottom = std::max<LONG>(frame.bottom, y + drawn.cy + (y - frame.top));
        display.PushPen(context.Pen(kBlack));
        if (context.window.Document().CalcPrefs.UseUtility != 0)
            RoundRect(dc, frame.left, frame.top, frame.right, frame.bottom, LogicalWidthToPixels(0.1, reference),
                      LogicalHeightToPixels(0.1, reference));
        else
            Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
        display.PopPen();
        offset = 1;
    }
    const int mode = display.SetBackgroundMode(TRANSPARENT);
    context.stamps.Draw(display, context.fonts[ValuesFont]->Handle(), LogicalXToPixel(rect.left, reference) + offset,
                        LogicalYToPixel(rect.top, reference) + offset, text);
    display.SetBackgroundMode(mode);
}

void PaintHighlight(TreeNode* node, bool highlighted, PaintContext& context)
{
    const TreeDocument& document = context.window.Document();
    if ((document.DisplayPrefs.HideCloneCopies != 0 && node->IsInCloneCopy()) || node->IsInCollapsedSubtree())
        return;
    Display& display = context.TargetDisplay();
    Display& reference = context.Reference();
    DisplayLock lock(display);
    if (display.DeviceContext() == nullptr)
        return;
    RECT symbol = LogicalRectToPixels(SymbolRect(node), reference);
    AlignSymbolToBranch(symbol, LogicalYToPixel(node->Geometry().BranchY(), reference));
    DrawShape(display, symbol, reference.BackgroundColour().ToColorRef());
    PaintNodeSymbol(node, symbol, context, highlighted, false);
}
