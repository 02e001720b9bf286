#include "treewin/NodeMeasure.h"

#include "framework/draw/DrawingScale.h"
#include "framework/draw/MultiLineText.h"
#include "framework/window/BusyAnswer.h"
#include "model/CloneCopies.h"
#include "model/NodeLinkBlock.h"
#include "model/TreeNode.h"
#include "treewin/DefinitionsBox.h"
#include "treewin/NodeFonts.h"
#include "treewin/RollBackText.h"
#include "treewin/TreeWindow.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

// Measuring runs at scale 1.0 whatever the zoom of the pane.
class UnitScaleScope {
public:
    UnitScaleScope() : saved_(CurrentDrawingScale()) { SetCurrentDrawingScale(1.0f); }
    ~UnitScaleScope() { SetCurrentDrawingScale(saved_); }
    UnitScaleScope(const UnitScaleScope&) = delete;
    UnitScaleScope& operator=(const UnitScaleScope&) = delete;

private:
    float saved_;
};

bool Inside(const LogicalRect& rect, LogicalPoint point)
{
    return point.x >= rect.left && point.x <= rect.right && point.y >= rect.top && point.y <= rect.bottom;
}

bool ChildrenSearched(const TreeNode* node)
{
    return node->childCount > 0 && node->ChildrenShown() && node->cloneStatus != CloneCopyNode;
}

// Sizes of texts in the window's own fonts come from the window's store of measured texts: the texts of a
// tree repeat (branch names, probabilities, payoffs), and measuring on the display is the slow part. Texts in
// a node's own font are measured each time.
class TextSizes {
public:
    explicit TextSizes(TreeWindow& window) : window_(window) {}

    // The text's size in the node's own font, else in the window's font of the kind; a single line gives
    // the width and the font's line height.
    LogicalSize Measure(const FontRecord* own, int kind, const char* text, bool multiLine)
    {
        std::unordered_map<std::string, LogicalSize>* known =
            own == nullptr ? &window_.MeasuredTexts(kind, multiLine) : nullptr;
        // The key is written into a string kept from call to call: most texts are found, and a roll-back
        // box's text is too long to be a new string without a heap block.
        static std::string key;
        if (known != nullptr) {
            key.assign(text);
            const auto found = known->find(key);
            if (found != known->end())
                return found->second;
        }
        Display& measuring = window_.MeasuringDisplay();
        PushedNodeFont font(measuring, own, window_.MeasuringFont(kind));
        LogicalSize size{};
        if (multiLine) {
            size = MeasureMultiLineText(measuring, text, nullptr, true, true);
        } else {
            size.width = TextWidth(measuring, text, nullptr);
            size.height = own != nullptr ? TextLineHeight(measuring, nullptr) : window_.FontLineHeight(kind);
        }
        if (known != nullptr) {
            // A store grown past any tree's share of distinct texts starts again.
            if (known->size() >= kMostKnownTexts)
                known->clear();
            known->emplace(key, size);
        }
        return size;
    }

private:
    static constexpr size_t kMostKnownTexts = 1u << 18;
    TreeWindow& window_;
};

// After a roll back every node's box text is built and measured: the text is written into a string kept from
// node to node (measuring runs on the program's one thread and answers no message in between).
void MeasureRollBackBox(TreeWindow& window, TreeNode* node, TextSizes& sizes)
{
    static zString text(64);
    bool hasBox = true;
    if (window.Document().IsRolledBack())
        BuildNodeResultText(node, text);
    else
        hasBox = BuildPlainRollBackText(node, text, false);
    node->Geometry().RollBackBoxWidth =
        hasBox && !text.IsEmpty() ? sizes.Measure(nullptr, ValuesFont, text.Text(), false).width : 0.0f;
}

void MeasureOne(TreeWindow& window, TreeNode* node, TextSizes& sizes)
{
    Display& measuring = window.MeasuringDisplay();
    NodeGeometry& g = node->Geometry();
    const LogicalSize name = sizes.Measure(node->fonts[0].get(), TreeTextFont, node->text.Text(), true);
    g.NameWidth = name.width;
    g.NameHeight = name.height;
    g.LineCount = static_cast<uint8_t>(std::min(CountLineBreaks(node->text.Text()) + 1, 255));
    g.SecondTextWidth = g.SecondTextHeight = 0.0f;
    if (!node->text2.IsEmpty()) {
        const LogicalSize second = sizes.Measure(node->fonts[2].get(), TreeTextFont, node->text2.Text(), true);
        g.SecondTextWidth = second.width + 0.1f;
        g.SecondTextHeight = second.height + 0.1f;
    }
    const LogicalSize probability =
        sizes.Measure(node->fonts[1].get(), ProbabilityFont, node->probability.Text().Text(), false);
    g.ProbWidth = probability.width;
    g.ProbHeight = probability.height;
    LogicalSize definitions;
    PaintDefinitions(window, node, measuring, measuring, false, &definitions);
    if (definitions.height > 0.0f)
        definitions.width += 0.07f;
    g.DefinitionsWidth = definitions.width;
    g.DefinitionsHeight = definitions.height;

    float width = std::max(g.NameWidth, g.ProbWidth);
    if (g.DefinitionsHeight > 0.0f && g.DefinitionsWidth > width && window.Document().DisplayPrefs.WideVars != 0)
        width = g.DefinitionsWidth;
    width = std::max(width, g.SecondTextWidth);
    g.BoxWidth = width + kSymbolSize;
    g.BoxHeight = g.NameHeight + g.ProbHeight + 0.03f + 0.04f;
    if (g.DefinitionsHeight > 0.0f)
        g.BoxHeight += g.DefinitionsHeight + 0.08f;
    g.BoxHeight += g.SecondTextBlock();
    MeasureRollBackBox(window, node, sizes);
}

} // namespace

void MeasureNode(TreeWindow& window, TreeNode* node, bool recursive)
{
    UnitScaleScope unitScale;
    DisplayLock lock(window.MeasuringDisplay());
    TextSizes sizes(window);
    if (!recursive) {
        struct Pass {
            TreeWindow& window;
            TextSizes& sizes;
        } pass{window, sizes};
        MeasureOne(window, node, sizes);
        ForEachCloneCounterpart(
            node, [](TreeNode* counterpart, TreeNode*, void* arg) {
                auto* each = static_cast<Pass*>(arg);
                MeasureOne(each->window, counterpart, each->sizes);
            },
            &pass);
        return;
    }
    std::vector<TreeNode*> pending{node};
    while (!pending.empty()) {
        TreeNode* next = pending.back();
        pending.pop_back();
        MeasureOne(window, next, sizes);
        AnswerSentMessagesInLoop();
        if (next->childCount > 0 && next->ChildrenShown())
            for (int i = 0; i < next->childCount; ++i)
                pending.push_back(next->GetChild(i));
    }
}

LogicalRect SymbolRect(const TreeNode* node)
{
    const NodeGeometry& g = node->Geometry();
    const float top = g.BranchY() - kSymbolSize / 2;
    return LogicalRect{g.SymbolX - kSymbolSize, top, g.SymbolX, top + kSymbolSize};
}

LogicalRect NameRect(const TreeWindow& window, const TreeNode* node)
{
    const NodeGeometry& g = node->Geometry();
    const float top = g.Y + g.SecondTextBlock();
    return LogicalRect{g.X, top, g.X + window.ColumnWidth(g.Column) - kSymbolSize, top + g.NameHeight};
}

LogicalRect ProbRect(const TreeWindow& window, const TreeNode* node)
{
    const NodeGeometry& g = node->Geometry();
    const LogicalRect name = NameRect(window, node);
    return LogicalRect{name.left, g.YBottom - g.ProbHeight, name.right, g.YBottom};
}

LogicalRect SecondTextRect(const TreeWindow& window, const TreeNode* node, bool exact)
{
    const NodeGeometry& g = node->Geometry();
    const float inset = exact ? 0.0f : 0.05f;
    const float top = g.Y + 0.1f + inset;
    return LogicalRect{g.X + inset, top, g.X + window.ColumnWidth(g.Column) - kSymbolSize - inset,
                       top + g.SecondTextHeight - 2 * inset};
}

LogicalRect DefinitionsRect(const TreeWindow& window, const TreeNode* node, bool inner)
{
    const NodeGeometry& g = node->Geometry();
    if (g.DefinitionsHeight <= 0.0f)
        return LogicalRect{0, 0, 0, 0};
    const LogicalRect name = NameRect(window, node);
    const float bottom = g.YBottom - g.ProbHeight - 0.04f;
    LogicalRect box{name.left, bottom - g.DefinitionsHeight - 0.08f, name.right, bottom};
    if (inner)
        box = LogicalRect{box.left + 0.035f, box.top + 0.04f, box.right - 0.035f, box.bottom - 0.04f};
    return box;
}

bool RollBackBoxHidden(const TreeNode* node)
{
    return node->linkBlock != nullptr && node->linkBlock->rollBackBoxHidden != 0;
}

// Climb k levels, step to the ancestor's sibling, and descend k levels along the last (above) or first (below)
// children.
TreeNode* FindSameDepthNeighbour(TreeNode* node, int direction)
{
    const int depth = node->Depth();
    for (int k = 0; k < depth; ++k) {
        TreeNode* ancestor = node;
        for (int i = 0; i < k; ++i)
            ancestor = ancestor->parent;
        TreeNode* reached = direction < 0 ? ancestor->PrevSibling() : ancestor->NextSibling();
        for (int i = 0; reached != nullptr && i < k; ++i) {
            if (!ChildrenSearched(reached))
                reached = nullptr;
            else
                reached = reached->GetChild(direction < 0 ? reached->childCount - 1 : 0);
        }
        if (reached != nullptr)
            return reached;
    }
    return nullptr;
}

float MeasureTextWidth(TreeWindow& window, const FontRecord* own, int kind, const char* text)
{
    UnitScaleScope unit;
    return TextSizes(window).Measure(own, kind, text, false).width;
}

float MeasureLineHeight(TreeWindow& window, const FontRecord* own, int kind)
{
    UnitScaleScope unit;
    return TextSizes(window).Measure(own, kind, "X", false).height;
}

LogicalRect RollBackBoxRect(TreeWindow& window, const TreeNode* node)
{
    const NodeGeometry& g = node->Geometry();
    const float left = g.SymbolX + 0.1f;
    const float height = window.FontLineHeight(ValuesFont);
    LogicalRect box{left, g.BranchY() - height / 2, left + std::max(0.1f, g.RollBackBoxWidth),
                    g.BranchY() + height / 2};
    if (node->linkBlock != nullptr) {
        const float dx = node->linkBlock->rollBackBoxOffset[0];
        const float dy = node->linkBlock->rollBackBoxOffset[1];
        box = LogicalRect{box.left + dx, box.top + dy, box.right + dx, box.bottom + dy};
    }
    return box;
}

namespace {

// The box right of the symbol: the result after roll back; before, the text some nodes show there (a
// terminal's payoff), which a click reaches as well.
bool RollBackBoxHit(TreeWindow& window, const TreeNode* node, LogicalPoint point)
{
    const bool shown = window.Document().IsRolledBack() || node->Geometry().RollBackBoxWidth > 0.0f;
    return shown && !RollBackBoxHidden(node) && Inside(RollBackBoxRect(window, node), point);
}

} // namespace

bool NodeContains(TreeWindow& window, const TreeNode* node, LogicalPoint point)
{
    const NodeGeometry& g = node->Geometry();
    if (Inside(LogicalRect{g.X, g.Y, g.SymbolX, g.YBottom}, point))
        return true;
    return RollBackBoxHit(window, node, point);
}

int HitTestNode(TreeWindow& window, const TreeNode* node, LogicalPoint point)
{
    if (Inside(SymbolRect(node), point))
        return SymbolRegion;
    if (Inside(NameRect(window, node), point))
        return NameRegion;
    if (Inside(ProbRect(window, node), point))
        return ProbabilityRegion;
    if (!node->text2.IsEmpty() && Inside(SecondTextRect(window, node, true), point))
        return SecondTextRegion;
    if (window.Document().DisplayPrefs.MarkNodesWithVars == 2 && Inside(DefinitionsRect(window, node, true), point))
        return DefinitionsRegion;
    if (RollBackBoxHit(window, node, point))
        return RollBackBoxRegion;
    return NoRegion;
}

TreeNode* FindNodeAt(TreeWindow& window, TreeNode* node, LogicalPoint point)
{
    const TreeDocument& document = window.Document();
    const bool bandsApply = !document.IsRolledBack() && document.DisplayPrefs.PackTreeVert == 0;
    const float gap = window.Layout().ColumnGap();
    std::vector<TreeNode*> pending{node};
    while (!pending.empty()) {
        TreeNode* next = pending.back();
        pending.pop_back();
        if (NodeContains(window, next, point))
            return next;
        const NodeGeometry& g = next->Geometry();
        if (point.x < g.SymbolX + gap || !ChildrenSearched(next))
            continue;
        if (bandsApply && (point.y < g.SubtreeTop || point.y > g.SubtreeTop + g.SubtreeHeight))
            continue;
        for (int i = next->childCount - 1; i >= 0; --i)
            pending.push_back(next->GetChild(i));
    }
    return nullptr;
}
