#include "treewin/SliderWindow.h"

#include "formula/FormulaRef.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatting.h"
#include "framework/window/ResourceId.h"
#include "framework/window/WindowEvent.h"
#include "model/EvalContext.h"
#include "model/NodePath.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"
#include "treewin/TreeAction.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <algorithm>
#include <cmath>

namespace Ids = Ctl::Slider;

namespace {

const char* const kNotConsistent = "(not consistent)";

} // namespace

SliderWindow::SliderWindow(TreeWindow* tree, const NodeChildList& nodes, const char* name, double low, double high,
                           int steps)
    : TreeChildWindow(tree, ResourceId(DialogRes::Slider, nullptr), false), name(name), low(low), high(high),
      steps(std::max(steps, 1)), position(this->steps / 2)
{
    TreeDocument& document = tree->Document();
    SetIconId(32012);  // not a resource id: an icon, which the generated names leave out
    FitToFrame();
    PlaceAt(0.7, 0.7);
    OnTreeTitleChanged(tree->Document().Title().Text());
    NodeChildList targets(4, Ownership::Borrows);
    targets.AssignShallow(nodes);
    if (targets.Count() == 0)
        targets.Add(document.Root);
    RecordPaths(targets, nodePaths);
    ++document.TemporaryValueHolders;

    zString startValue;
    for (int i = 0; i < targets.Count(); ++i) {
        TreeNode* node = targets.At(i);
        VariableDefinition* binding = node->FindBinding(name, false);
        if (binding == nullptr)
            continue;
        Entry entry;
        entry.path = *nodePaths.At(i);
        entry.oldText = binding->definition.Text();
        entry.shownText = entry.oldText;
        entries.push_back(entry);
        if (entries.size() > 1)
            continue;
        FormulaRef formula(new EvalContext(&document, node), 1, name);
        const double value = formula.Evaluate(binding->definition);
        if (formula.HasError())
            break;
        FormatNumber(DefaultNumericFormat, value, startValue, false, false, -9);
        double share = high > low ? this->steps * (value - low) / (high - low) : 0.0;
        // A value on a step starts there though the arithmetic falls a hair short of it; between steps the
        // bar starts at the step below.
        const double step = std::round(share);
        if (std::fabs(share - step) < 1e-9)
            share = step;
        position = share <= 0.0 ? 0 : share >= this->steps ? this->steps : static_cast<int>(share);
    }

    zString nodeLabel;
    if (targets.Count() > 1)
        nodeLabel = "(multiple)";
    else if (targets.At(0) == document.Root)
        nodeLabel = "(none) Default Definition for Document";
    else
        targets.At(0)->GetShortText(nodeLabel, 30);
    SetItemText(Ids::NodeText, nodeLabel.Text());
    SetItemText(Ids::VariableText, name);
    const bool one = entries.size() == 1;
    SetItemText(Ids::OriginalExpressionText, one ? entries[0].oldText.Text() : kNotConsistent);
    SetItemText(Ids::OriginalValueText, one ? startValue.Text() : kNotConsistent);
    zString bound;
    FormatNumber(document.NumberFormat(), low, bound, true, false, -9);
    SetItemText(Ids::LowText, bound.Text());
    FormatNumber(document.NumberFormat(), high, bound, true, false, -9);
    SetItemText(Ids::HighText, bound.Text());

    ApplyPosition(position);
    MakeScrollBar();
    AddHandler(this, &SliderWindow::OnScroll, WM_HSCROLL);
}

SliderWindow::~SliderWindow()
{
    TreeDocument& document = Tree()->Document();
    NodeChildList changed(4, Ownership::Borrows);
    for (const Entry& entry : entries)
        if (VariableDefinition* binding = FindEntry(entry)) {
            binding->definition.SetText(entry.oldText.Text());
            changed.Add(FindNodeByPath(document.Root, entry.path.Text()));
        }
    --document.TemporaryValueHolders;
    // Results and definitions on the screen showed the slider's value; not while the tree window goes.
    if (changed.Count() > 0 && Tree()->Pane() != nullptr) {
        document.ModelChanged();
        Tree()->RedrawNodes(changed, 0);
    }
}

VariableDefinition* SliderWindow::FindEntry(const Entry& entry) const
{
    TreeNode* node = FindNodeByPath(Tree()->Document().Root, entry.path.Text());
    VariableDefinition* binding = node != nullptr ? node->FindBinding(name.Text(), false) : nullptr;
    return binding != nullptr && binding->definition.Text() == entry.shownText ? binding : nullptr;
}

int SliderWindow::BindingCount() const
{
    return static_cast<int>(std::count_if(entries.begin(), entries.end(),
                                          [this](const Entry& entry) { return FindEntry(entry) != nullptr; }));
}

void SliderWindow::ApplyPosition(int newPosition)
{
    position = std::clamp(newPosition, 0, steps);
    const double value = low + (high - low) * position / steps;
    FormatNumber(Tree()->Document().NumberFormat(), value, current, true, false, -9);
    SetItemText(Ids::CurrentText, current.Text());
    NodeChildList changed(4, Ownership::Borrows);
    for (auto entry = entries.begin(); entry != entries.end();) {
        VariableDefinition* binding = FindEntry(*entry);
        if (binding == nullptr) {
            // Deleted or edited elsewhere: the slider lets go of it.
            entry = entries.erase(entry);
            continue;
        }
        binding->definition.SetText(current.Text());
        entry->shownText = current;
        changed.Add(FindNodeByPath(Tree()->Document().Root, entry->path.Text()));
        ++entry;
    }
    Tree()->Document().ModelChanged();
    Tree()->RedrawNodes(changed, 0);
}

void SliderWindow::ShowOriginalValues(bool original)
{
    for (Entry& entry : entries) {
        VariableDefinition* binding = FindEntry(entry);
        if (binding == nullptr)
            continue;
        entry.shownText = original ? entry.oldText : current;
        binding->definition.SetText(entry.shownText.Text());
    }
}

void SliderWindow::OnTreeTitleChanged(const char* title)
{
    zString text(title);
    text += ": Slider";
    SetText(text);
}

bool SliderWindow::IsForVariable(const char* other) const
{
    zString mine(name), theirs(other);
    mine.MakeUpper();
    theirs.MakeUpper();
    return mine == theirs;
}

bool SliderWindow::DependsOn(const void* object) const
{
    return IsVariableNamed(object, name.Text());
}

bool SliderWindow::Matches(const TreeNode* node, const char* key) const
{
    if (node == nullptr || !IsForVariable(key))
        return false;
    zString path;
    RecordPath(node, path);
    return nodePaths.Contains(path);
}

void SliderWindow::RenameVariable(const char* oldName, const char* newName)
{
    if (IsForVariable(oldName))
        name = newName;
}

long SliderWindow::OnCommandId(unsigned id, unsigned code, HWND control)
{
    if (id != Ids::ShowNodes)
        return TreeChildWindow::OnCommandId(id, code, control);
    NodeChildList nodes(4, Ownership::Borrows);
    for (int i = 0; i < nodePaths.Count(); ++i)
        if (TreeNode* node = FindNodeByPath(Tree()->Document().Root, nodePaths.At(i)->Text()))
            nodes.Add(node);
    Tree()->SelectNodes(nodes, "Slider");
    return 1;
}

void SliderWindow::MakeScrollBar()
{
    HWND area = Control(Ids::ScrollArea);
    if (area == nullptr)
        return;
    RECT rect;
    GetWindowRect(area, &rect);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rect), 2);
    ::ShowWindow(area, SW_HIDE);
    scrollBar = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, Handle(), nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    SetScrollRange(scrollBar, SB_CTL, 0, steps, FALSE);
    SetScrollPos(scrollBar, SB_CTL, position, TRUE);
}

long SliderWindow::OnScroll(WindowEvent* event)
{
    if (scrollBar == nullptr || event->Control() != scrollBar)
        return 0;
    const int page = std::max(1, steps / 10);
    int next = position;
    switch (event->ScrollCode()) {
    case SB_LINELEFT: next -= 1; break;
    case SB_LINERIGHT: next += 1; break;
    case SB_PAGELEFT: next -= page; break;
    case SB_PAGERIGHT: next += page; break;
    case SB_LEFT: next = 0; break;
    case SB_RIGHT: next = steps; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: next = event->ThumbPosition(); break;
    default: return 1;
    }
    if (next != position) {
        ApplyPosition(next);
        SetScrollPos(scrollBar, SB_CTL, position, TRUE);
    }
    return 1;
}
