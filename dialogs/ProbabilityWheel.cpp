#include "dialogs/ProbabilityWheel.h"

#include "analysis/RollBack.h"
#include "dialogs/ProgramDialog.h"
#include "foundation/Host.h"
#include "foundation/MessageBoxes.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatParsing.h"
#include "foundation/NumericFormatting.h"
#include "framework/window/LayoutManager.h"
#include "framework/window/PaneWindowCL.h"
#include "model/DocVariable.h"
#include "model/NameRules.h"
#include "model/TreeNode.h"
#include "treewin/TreeAction.h"
#include "treewin/TreeValueActions.h"
#include "treewin/TreeWindow.h"

#include <algorithm>
#include <cmath>
#include <string>

const char* const kStoreNumerically = " (Numerically)";

namespace {

constexpr double kTwoPi = 6.283185307;
// No slice becomes narrower than this share (0.001 radian).
constexpr double kSmallestShare = 0.001 / kTwoPi;

COLORREF SliceColour(size_t k, size_t last)
{
    static const COLORREF colours[6] = {RGB(0, 0, 255), RGB(128, 0, 128), RGB(255, 0, 0),
                                        RGB(0, 128, 0),  RGB(255, 0, 255), RGB(0, 0, 0)};
    return k == last ? RGB(255, 226, 151) : colours[k % 6];
}

// The pie (or, with legend set, the branch names beside their colours) drawn from the dialog's shares, over
// the dialog's area control; dragging a border of the pie moves the share between its two slices.
class WheelPane : public PaneWindowCL {
public:
    WheelPane(WindowCL& owner, unsigned area, ProbabilityWheelDialog& dialog_, bool legend_);

    long Paint(WindowEvent*) override;
    long OnMouseDown(const MouseInput& mouse) override;
    long OnMouseMoved(const MouseInput& mouse) override;
    long OnMouseUp(const MouseInput& mouse) override;

    ProbabilityWheelDialog* dialog;
    bool legend;
    int dragging = -1;
};

// The point at a cumulative share on the circle: share 0 at the top, growing clockwise.
POINT PointAt(const RECT& circle, double share)
{
    const double cx = (circle.left + circle.right) / 2.0, cy = (circle.top + circle.bottom) / 2.0;
    const double r = (circle.right - circle.left) / 2.0;
    return POINT{static_cast<LONG>(cx + r * std::sin(kTwoPi * share)),
                 static_cast<LONG>(cy - r * std::cos(kTwoPi * share))};
}

RECT WheelCircle(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    const LONG side = std::min(client.right, client.bottom) - 8;
    return RECT{(client.right - side) / 2, (client.bottom - side) / 2, (client.right + side) / 2,
                (client.bottom + side) / 2};
}

// The cumulative share at the point's angle round the centre.
double ShareAt(HWND window, POINT point)
{
    const RECT circle = WheelCircle(window);
    const double share = std::atan2(point.x - (circle.left + circle.right) / 2.0,
                                    (circle.top + circle.bottom) / 2.0 - point.y) / kTwoPi;
    return share < 0.0 ? share + 1.0 : share;
}

void PaintPane(HWND window, HDC dc, const WheelPane& pane)
{
    const std::vector<double>& shares = pane.dialog->shares;
    const RECT circle = WheelCircle(window);
    double start = 0.0;
    for (size_t k = 0; k < shares.size(); ++k) {
        HBRUSH brush = CreateSolidBrush(SliceColour(k, shares.size() - 1));
        HGDIOBJ old = SelectObject(dc, brush);
        if (pane.legend) {
            const int y = 4 + 18 * static_cast<int>(k);
            Rectangle(dc, 2, y + 3, 10, y + 11);
            const zString* name = pane.dialog->names.At(static_cast<int>(k));
            if (name != nullptr)
                TextOutA(dc, 14, y, name->Text(), static_cast<int>(name->Length()));
        } else if (shares[k] > 0.0) {
            // The pie runs counter-clockwise from its first point: from the slice's end back to its start.
            const POINT from = PointAt(circle, start + shares[k]), to = PointAt(circle, start);
            Pie(dc, circle.left, circle.top, circle.right, circle.bottom, from.x, from.y, to.x, to.y);
        }
        SelectObject(dc, old);
        DeleteObject(brush);
        start += shares[k];
    }
}

// Moves border k (between slices k and k + 1) to the share under the point, keeping both slices open.
void DragBorder(HWND window, WheelPane& pane, POINT point)
{
    std::vector<double>& shares = pane.dialog->shares;
    double share = ShareAt(window, point);
    const size_t k = static_cast<size_t>(pane.dragging);
    double before = 0.0;
    for (size_t i = 0; i < k; ++i)
        before += shares[i];
    const double after = before + shares[k] + shares[k + 1];
    share = std::clamp(share, before + kSmallestShare, after - kSmallestShare);
    shares[k] = share - before;
    shares[k + 1] = after - share;
    InvalidateRect(window, nullptr, TRUE);
}

// The border nearest the point, when it lies within 0.02 of a turn.
int BorderNear(HWND window, const WheelPane& pane, POINT point)
{
    const double share = ShareAt(window, point);
    double border = 0.0;
    for (size_t k = 0; k + 1 < pane.dialog->shares.size(); ++k) {
        border += pane.dialog->shares[k];
        if (std::fabs(border - share) < 0.02)
            return static_cast<int>(k);
    }
    return -1;
}

// The area control's rectangle in its dialog's client coordinates; the control itself is hidden.
RECT AreaRect(WindowCL& owner, unsigned area)
{
    RECT rect{};
    if (HWND host = owner.Control(area)) {
        GetWindowRect(host, &rect);
        MapWindowPoints(nullptr, owner.Handle(), reinterpret_cast<POINT*>(&rect), 2);
        ShowWindow(host, SW_HIDE);
    }
    return rect;
}

WheelPane::WheelPane(WindowCL& owner, unsigned area, ProbabilityWheelDialog& dialog_, bool legend_)
    : PaneWindowCL(&owner, new LayoutManager(AreaRect(owner, area), nullptr), WS_CHILD | WS_VISIBLE),
      dialog(&dialog_), legend(legend_)
{
    background_ = GetSysColor(COLOR_BTNFACE);
}

long WheelPane::Paint(WindowEvent*)
{
    SetBkMode(PaintContext(), TRANSPARENT);
    PaintPane(Handle(), PaintContext(), *this);
    return 1;
}

long WheelPane::OnMouseDown(const MouseInput& mouse)
{
    if (!mouse.right && !mouse.doubleClick && !legend && (dragging = BorderNear(Handle(), *this, mouse.at)) >= 0)
        SetCapture(Handle());
    return 1;
}

long WheelPane::OnMouseMoved(const MouseInput& mouse)
{
    if (dragging >= 0)
        DragBorder(Handle(), *this, mouse.at);
    return 1;
}

long WheelPane::OnMouseUp(const MouseInput& mouse)
{
    if (mouse.right)
        return 0;
    if (dragging >= 0)
        ReleaseCapture();
    dragging = -1;
    return 1;
}

int ShowOnScreen(ProbabilityWheelDialog& wheel)
{
    ProgramDialog dialog(ProbabilityWheelDialog::kTemplateId);
    // The panes belong to the dialog, which deletes them.
    new WheelPane(dialog, ProbabilityWheelDialog::kWheelArea, wheel, false);
    new WheelPane(dialog, ProbabilityWheelDialog::kLegendArea, wheel, true);
    // Keeping proportions and the node's comment are not offered here.
    for (int id : {3303, 3304})
        dialog.ShowItem(id, false);
    return dialog.Run();
}

} // namespace

int ProbabilityWheelDialog::Run()
{
    while ((HasPresenter() ? Present() : ShowOnScreen(*this)) == IDOK) {
        const zString* repeated = nullptr;
        for (int i = 0; targets != nullptr && i < targets->Count() && repeated == nullptr; ++i)
            for (int later = i + 1; later < targets->Count(); ++later)
                if (*targets->At(i) != kStoreNumerically && *targets->At(i) == *targets->At(later))
                    repeated = targets->At(i);
        if (repeated == nullptr)
            return 1;
        const std::string text = std::string("You may use \"") + repeated->Text() + "\" for storing only one probability.";
        ShowErrorBox(nullptr, text.c_str(), 0);
    }
    return 0;
}

double RoundAsDisplayed(double value, zString* text, const NumericFormat* format, int places)
{
    zString scratch;
    zString& out = text != nullptr ? *text : scratch;
    FormatNumber(format != nullptr ? *format : DefaultNumericFormat, value, out, false, false,
                 static_cast<int16_t>(places < 1 ? 2 : places));
    double rounded = 0.0;
    int error = 0;
    ParseNumber(out.Text(), rounded, error);
    return rounded;
}

namespace {

// The variable whose name begins the probability text, as the document spells it; empty when none.
zString LeadingVariable(const TreeWindow& window, const char* text)
{
    while (*text == ' ')
        ++text;
    const char* end = text;
    if (IsNameStartChar(*end))
        while (IsNameChar(*end))
            ++end;
    const std::string name(text, end);
    const DocVariable* variable = name.empty() ? nullptr : window.FindVariable(name.c_str(), false);
    return variable != nullptr ? variable->name : zString();
}

// The shares the branches start with: stated probabilities held within 0.001..0.999, the rest shared by
// the remainder branches (those with "#" or a failing formula), or equal shares when they add up to 1 or
// more.
std::vector<double> StartingShares(TreeNode* node)
{
    HostSilence notices(Silence::Notices);
    HostSilence messages(Silence::FormulaMessages);
    const int n = node->childCount;
    std::vector<double> shares(static_cast<size_t>(n), -1.0);
    double sum = 0.0;
    int remainders = 0;
    for (int i = 0; i < n; ++i) {
        TreeNode* child = node->GetChild(i);
        zString text;
        child->GetProbabilityText(text);
        RunFault error;
        int usesVariables = 0;
        if (text.Text()[0] != '#') {
            const double p = std::clamp(BranchProbabilityEx(child, &error, &usesVariables), 0.001, 0.999);
            if (!error) {
                shares[static_cast<size_t>(i)] = p;
                sum += p;
                continue;
            }
        }
        ++remainders;
    }
    if (remainders == 0 && sum <= 1.0011)
        return shares;
    for (double& share : shares) {
        if (sum >= 1.0)
            share = 1.0 / n;
        else if (share < 0.0)
            share = (1.0 - sum) / remainders;
    }
    return shares;
}

// Where each branch's value goes: its leading variable once, "#" for a remainder, else the number.
void StoreTargets(TreeWindow& window, TreeNode* node, NameList& targets)
{
    HostSilence notices(Silence::Notices);
    HostSilence messages(Silence::FormulaMessages);
    for (int i = 0; i < node->childCount; ++i) {
        TreeNode* child = node->GetChild(i);
        zString text;
        child->GetProbabilityText(text);
        zString target(kStoreNumerically);
        RunFault error;
        int usesVariables = 0;
        if (text.Text()[0] == '#') {
            target = "#";
        } else {
            BranchProbabilityEx(child, &error, &usesVariables);
            const zString variable = LeadingVariable(window, text.Text());
            if (usesVariables != 0 && !variable.IsEmpty() && !targets.Contains(variable))
                target = variable;
        }
        targets.AddCopy(target);
    }
}

} // namespace

int OpenProbabilityWheel(TreeWindow* window, TreeNode* node)
{
    const int n = node->childCount;
    if (n < 2 || n > 7) {
        ShowErrorBox(nullptr, "The probability wheel may only be used for chance nodes with two to seven outcomes.",
                     0);
        return 0;
    }
    NameList names(4, true);
    for (int i = 0; i < n; ++i) {
        zString name;
        node->GetChild(i)->GetShortText(name, 30);
        names.AddCopy(name);
    }
    NameList targets(4, true);
    StoreTargets(*window, node, targets);
    const bool storeColumn = window->Document().Variables.Count() > 0;
    ProbabilityWheelDialog dialog(StartingShares(node), names, storeColumn ? &targets : nullptr);
    if (!dialog.Run())
        return 0;

    // The last branch takes what the others leave, so that the texts add up to exactly 1.
    const NumericFormat& format = window->Document().NumberFormat;
    NameList texts(4, true);
    std::vector<TreeProbabilityWheelAction::VariableRecord> records;
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        zString number;
        if (i < n - 1)
            sum += RoundAsDisplayed(dialog.shares[static_cast<size_t>(i)], &number, &format, 2);
        else
            FormatNumber(format, 1.0 - sum, number, false, false, 2);
        const zString& target = *targets.At(i);
        if (target == "#") {
            texts.AddText("#");
        } else if (target == kStoreNumerically) {
            texts.AddCopy(number);
        } else {
            texts.AddCopy(target);
            TreeProbabilityWheelAction::VariableRecord record;
            record.name = target;
            record.newText = number;
            RecordPath(node->GetChild(i), record.path);
            records.push_back(record);
        }
    }
    window->AddUndoAction(new TreeProbabilityWheelAction(window, node, std::move(records), texts));
    return 1;
}
