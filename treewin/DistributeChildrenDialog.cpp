#include "treewin/DistributeChildrenDialog.h"

#include "widgets/RangeValidator.h"
#include "widgets/ProgramDialog.h"
#include "formula/Distribution.h"
#include "formula/RunOutcome.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatting.h"
#include "framework/dialog/FormattedEdit.h"
#include "framework/dialog/PaintedArea.h"
#include "framework/draw/GdiScopes.h"
#include "model/DocVariable.h"

#include "CommandIds.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>

namespace DistributeChildrenIds = Ctl::DistributeChildren;
namespace DistributeChildren2560Ids = Ctl::DistributeChildren2560;

int DistributeChildrenDialog::Run()
{
    int answer = IDCANCEL;
    if (HasPresenter()) {
        answer = Present();
    } else {
        ProgramDialog dialog(DialogRes::DistributeChildren);
        zString chosen;
        if (variableIndex >= 0 && variableIndex < variables.Count())
            chosen = variables.At(variableIndex)->name;
        IntegerEdit::FromTemplate(&dialog, DistributeChildrenIds::NumberOfNewBranchesEdit,
                                  new IntegerRangeValidator(0, 3, 3), 0, &count);
        dialog.BindVariableNames(DistributeChildrenIds::BranchSRangeIntoWhichVariableCombo, &variables, &chosen);
        dialog.SelectField(DistributeChildrenIds::NumberOfNewBranchesEdit);
        answer = dialog.Run();
        // The list is sorted: the chosen name gives the index.
        variableIndex = -1;
        for (int i = 0; i < variables.Count(); ++i)
            if (variables.At(i)->name == chosen)
                variableIndex = i;
    }
    return answer == IDOK && count >= 3 ? 1 : 0;
}

DistributeChildrenRangesDialog::DistributeChildrenRangesDialog(Distribution& distribution, int count)
    : distribution(distribution), discrete(distribution.IsDiscrete() != 0), probabilities(count, 0.0),
      boundaries(count + 1, 0.0)
{
}

namespace {

// The value with at most that many places (negative), trailing zeros dropped.
void ShowNumber(ProgramDialog& dialog, unsigned id, double value, int16_t places)
{
    zString text;
    FormatNumber(NumericFormat(), value, text, true, false, places);
    dialog.SetItemText(id, text.Text());
}

// The pixel of a value of the range across the rectangle.
int PixelOf(const DistributeChildrenRangesDialog& ranges, const RECT& rect, double value)
{
    return rect.left + static_cast<int>((value - ranges.low) * (rect.right - rect.left) / (ranges.high - ranges.low));
}

// The distribution's density (or probabilities) over its range, scaled between the lowest and highest sample.
void PaintCurve(DistributeChildrenRangesDialog& ranges, ProgramDialog& dialog, HDC dc, const RECT& area)
{
    const RECT plot{area.left + 1, area.top + 1, area.right - 1, area.bottom - 1};
    const int samples = ranges.discrete ? static_cast<int>(ranges.high - ranges.low) + 1 : 45;
    std::vector<POINT> points;
    double low = 0.0;
    double high = 0.0;
    std::vector<double> ys;
    for (int i = 0; i < samples; ++i) {
        const double x = ranges.discrete ? ranges.low + i : ranges.low + i * (ranges.high - ranges.low) / 44;
        RunFault fault;
        const double y = ranges.distribution.Density(x, &fault);
        if (fault)
            break;
        ys.push_back(y);
        low = ys.size() == 1 ? y : std::min(low, y);
        high = ys.size() == 1 ? y : std::max(high, y);
        points.push_back(POINT{PixelOf(ranges, plot, x), 0});
    }
    low = low * 0.75 < 0.2 ? 0.0 : low * 0.75;
    // A density above 1 keeps a quarter of headroom instead of being cut off at 1.
    high = high > 1.0 ? high * 1.25 : high + (1 - high) / 4 > 0.8 ? 1.0 : high + (1 - high) / 4;
    ShowNumber(dialog, DistributeChildren2560Ids::Text2564, low, -3);
    ShowNumber(dialog, DistributeChildren2560Ids::Text2563, high, -3);
    const auto yOf = [&](double y) {
        return high - low < 1e-10 ? (plot.top + plot.bottom) / 2
                                  : plot.bottom - static_cast<int>((y - low) * (plot.bottom - plot.top) / (high - low));
    };
    for (size_t i = 0; i < points.size(); ++i)
        points[i].y = yOf(ys[i]);
    if (!ranges.discrete && !points.empty())
        Polyline(dc, points.data(), static_cast<int>(points.size()));
    for (size_t i = 0; ranges.discrete && i < points.size(); ++i) {
        const RECT bar{points[i].x - 2, points[i].y, points[i].x + 3, yOf(0.0)};
        if (bar.bottom > bar.top)
            FillRect(dc, &bar, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    FrameRect(dc, &plot, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

// The ranges' brackets with their "Node" labels, and a triangle at each inner boundary.
void PaintRanges(DistributeChildrenRangesDialog& ranges, HDC dc, const RECT& area)
{
    SetBkMode(dc, TRANSPARENT);
    const int n = static_cast<int>(ranges.probabilities.size());
    for (int i = 1; i <= n; ++i) {
        const int x0 = PixelOf(ranges, area, ranges.boundaries[i - 1]);
        const int x1 = PixelOf(ranges, area, ranges.boundaries[i]);
        const POINT bracket[] = {{x0 + 1, area.top}, {x0 + 1, area.top + 3}, {x1 - 1, area.top + 3},
                                 {x1 - 1, area.top - 1}};
        Polyline(dc, bracket, 4);
        std::string label = "Node " + std::to_string(i);
        SIZE size{};
        GetTextExtentPoint32A(dc, label.c_str(), static_cast<int>(label.size()), &size);
        if (size.cx > x1 - x0) {
            label = std::to_string(i);
            GetTextExtentPoint32A(dc, label.c_str(), static_cast<int>(label.size()), &size);
        }
        TextOutA(dc, (x0 + x1 - size.cx) / 2, area.top + 4, label.c_str(), static_cast<int>(label.size()));
    }
}

void PaintMarkers(DistributeChildrenRangesDialog& ranges, HDC dc, const RECT& area)
{
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    for (size_t i = 1; i + 1 < ranges.boundaries.size(); ++i) {
        const int x = PixelOf(ranges, area, ranges.boundaries[i]);
        const POINT triangle[] = {{x - 6, area.top + 10}, {x + 6, area.top + 10}, {x, area.top + 1}};
        Polygon(dc, triangle, 3);
    }
}

// Dragging an inner boundary's triangle: an outline follows the pointer, kept 6 pixels from the neighbouring
// boundaries; on release the boundary goes where the pointer is. The ends cannot be dragged.
class MarkerDrag {
public:
    MarkerDrag(DistributeChildrenRangesDialog& ranges, std::function<void()> redraw)
        : ranges(ranges), redraw(std::move(redraw))
    {
    }

    void Handle(HWND strip, UINT message, POINT point)
    {
        RECT area{};
        GetClientRect(strip, &area);
        if (message == WM_LBUTTONDOWN) {
            for (size_t i = 1; index == 0 && i + 1 < ranges.boundaries.size(); ++i) {
                const int x = PixelOf(ranges, area, ranges.boundaries[i]);
                const int y = point.y - area.top;
                if (y >= 1 && y <= 10 && std::abs(point.x - x) * 9 <= (y - 1) * 6) {
                    index = i;
                    left = PixelOf(ranges, area, ranges.boundaries[i - 1]) + 6;
                    right = PixelOf(ranges, area, ranges.boundaries[i + 1]) - 6;
                    pressed = point.x;
                    shown = Clamped(point.x);
                    SetCapture(strip);
                    Outline(strip, area);
                }
            }
            return;
        }
        if (index == 0)
            return;
        Outline(strip, area);
        shown = Clamped(point.x);
        if (message == WM_MOUSEMOVE) {
            Outline(strip, area);
            return;
        }
        ReleaseCapture();
        if (shown != Clamped(pressed)) {
            ranges.boundaries[index] =
                ranges.low + (shown - area.left) * (ranges.high - ranges.low) / (area.right - area.left);
            ranges.dirty = true;
            redraw();
        }
        index = 0;
    }

private:
    int Clamped(int x) const { return std::max(left, std::min(right, x)); }

    // The triangle's outline at the tracked place, drawn and erased by inverting.
    void Outline(HWND strip, const RECT& area) const
    {
        ScopedWindowDC dc(strip);
        const int mode = SetROP2(dc.Get(), R2_NOT);
        SelectObject(dc.Get(), GetStockObject(NULL_BRUSH));
        const POINT triangle[] = {{shown - 6, area.top + 10}, {shown + 6, area.top + 10}, {shown, area.top + 1}};
        Polygon(dc.Get(), triangle, 3);
        SetROP2(dc.Get(), mode);
    }

    DistributeChildrenRangesDialog& ranges;
    std::function<void()> redraw;
    size_t index = 0;
    int left = 0;
    int right = 0;
    int pressed = 0;
    int shown = 0;
};

int ShowOnScreen(DistributeChildrenRangesDialog& ranges)
{
    ProgramDialog dialog(DialogRes::DistributeChildren2560);
    ShowNumber(dialog, DistributeChildren2560Ids::LowText, ranges.low, -4);
    ShowNumber(dialog, DistributeChildren2560Ids::HighText, ranges.high, -4);
    dialog.PaintArea(DistributeChildren2560Ids::Area2565,
                     [&](HDC dc, const RECT& area) { PaintCurve(ranges, dialog, dc, area); });
    dialog.PaintArea(DistributeChildren2560Ids::Area2569,
                     [&](HDC dc, const RECT& area) { PaintRanges(ranges, dc, area); });
    PaintedArea* markers = dialog.PaintArea(DistributeChildren2560Ids::Area2568,
                                            [&](HDC dc, const RECT& area) { PaintMarkers(ranges, dc, area); });
    const auto redrawStrips = [&dialog] {
        for (int id : {DistributeChildren2560Ids::Area2568, DistributeChildren2560Ids::Area2569})
            InvalidateRect(dialog.Control(id), nullptr, TRUE);
    };
    MarkerDrag drag(ranges, redrawStrips);
    if (markers != nullptr)
        markers->OnMouse([&drag, markers](UINT message, POINT point) { drag.Handle(markers->Handle(), message, point); });
    dialog.OnButton(IDOK, [&] {
        if (ranges.dirty)
            ranges.ComputeProbabilities();
        dialog.Accept();
    });
    dialog.OnButton(DistributeChildren2560Ids::EqualRanges, [&] {
        ranges.EqualRanges();
        redrawStrips();
    });
    dialog.OnButton(DistributeChildren2560Ids::EqualProbs, [&] {
        ranges.EqualProbabilities();
        redrawStrips();
    });
    return dialog.Run();
}

} // namespace

int DistributeChildrenRangesDialog::Run()
{
    RunFault fault;
    distribution.Range(low, high, &fault);
    if (fault || !(high > low))
        return 0;
    EqualRanges();
    return (HasPresenter() ? Present() : ShowOnScreen(*this)) == IDOK ? 1 : 0;
}

void DistributeChildrenRangesDialog::EqualRanges()
{
    const int n = static_cast<int>(probabilities.size());
    for (int k = 0; k <= n; ++k)
        boundaries[k] = low + k * (high - low) / n;
    ComputeProbabilities();
    dirty = false;
}

void DistributeChildrenRangesDialog::EqualProbabilities()
{
    const int n = static_cast<int>(probabilities.size());
    for (int k = 1; k < n; ++k) {
        RunFault fault;
        boundaries[k] = distribution.QuantileFrom(low, static_cast<double>(k) / n, &fault);
    }
    probabilities.assign(n, 1.0 / n);
    dirty = false;
}

void DistributeChildrenRangesDialog::ComputeProbabilities()
{
    const int n = static_cast<int>(probabilities.size());
    RunFault fault;
    if (!discrete) {
        for (int k = 0; k < n; ++k)
            probabilities[k] = distribution.IntervalProbability(60, boundaries[k], boundaries[k + 1], &fault);
        return;
    }
    probabilities.assign(n, 0.0);
    // Each integer of the range goes to the range that holds it; a range may hold none.
    int range = 0;
    for (double x = std::ceil(low); x <= high; ++x) {
        while (range < n && x > boundaries[range + 1])
            ++range;
        if (range >= n)
            break;
        probabilities[range] += distribution.Density(x, &fault);
    }
}

double DistributeChildrenRangesDialog::RangeValue(int i) const
{
    if (!discrete)
        return (boundaries[i] + boundaries[i + 1]) / 2;
    const double a = std::ceil(boundaries[i]);
    const double b = std::floor(boundaries[i + 1]);
    if (a > b) // no integer inside: the middle of the range
        return (boundaries[i] + boundaries[i + 1]) / 2;
    return a == b ? a : (a + b) / 2;
}
