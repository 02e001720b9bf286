#include "widgets/TipBox.h"

#include "widgets/Shell.h"
#include "framework/draw/GdiScopes.h"
#include "framework/draw/zFont.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<std::string> SplitLines(const char* text)
{
    std::vector<std::string> lines(1);
    for (const char* c = text; *c; ++c) {
        if (*c == '\r' || *c == '\n') {
            if (*c == '\r' && c[1] == '\n')
                ++c;
            lines.emplace_back();
        } else {
            lines.back() += *c;
        }
    }
    return lines;
}

// Moves the box back inside the limit, side by side.
void KeepInside(RECT& box, const RECT& limit)
{
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    if (box.left < limit.left)
        box.left = limit.left;
    else if (box.left + width > limit.right)
        box.left = limit.right - width;
    if (box.top < limit.top)
        box.top = limit.top;
    else if (box.top + height > limit.bottom)
        box.top = limit.bottom - height;
    box.right = box.left + width;
    box.bottom = box.top + height;
}

} // namespace

void DrawTipFrame(HDC dc, const RECT& rect, const TipColours& colours)
{
    {
        ScopedBrush fill(dc, colours.background);
        ScopedPen frame(dc, colours.shadow);
        Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    }
    ScopedPen light(dc, colours.light);
    MoveToEx(dc, rect.left, rect.bottom - 1, nullptr);
    LineTo(dc, rect.left, rect.top);
    LineTo(dc, rect.right - 1, rect.top);
}

RECT DrawTipBox(HDC dc, POINT anchor, const char* text, bool centre, const RECT* limit)
{
    const HFONT dialogFont = TheShell().DialogFontHandle();
    const HGDIOBJ previousFont =
        SelectObject(dc, dialogFont ? static_cast<HGDIOBJ>(dialogFont) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const int lineHeight = metrics.tmHeight;
    const std::vector<std::string> lines = SplitLines(text);
    int widest = 0;
    for (const std::string& line : lines) {
        SIZE extent{};
        GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &extent);
        widest = std::max(widest, static_cast<int>(extent.cx));
    }
    const bool oneLine = lines.size() == 1;
    RECT box{anchor.x, anchor.y - lineHeight * static_cast<int>(lines.size()) - 4,
             anchor.x + widest + (oneLine ? 4 : 6), anchor.y};
    if (oneLine && centre)
        OffsetRect(&box, -(box.right - box.left) / 2, 0);
    if (limit)
        KeepInside(box, *limit);

    const TipColours colours;
    DrawTipFrame(dc, box, colours);
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF previousColour = SetTextColor(dc, GetNearestColor(dc, colours.text));
    for (size_t i = 0; i < lines.size(); ++i)
        TextOutA(dc, box.left + 2, box.top + 2 + static_cast<int>(i) * lineHeight, lines[i].c_str(),
                 static_cast<int>(lines[i].size()));
    SetTextColor(dc, previousColour);
    SetBkMode(dc, previousMode);
    SelectObject(dc, previousFont);
    return box;
}
