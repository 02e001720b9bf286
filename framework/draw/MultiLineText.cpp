#include "framework/draw/MultiLineText.h"

#include "foundation/FontRecord.h"
#include "framework/dialog/FontWidthTable.h"
#include "framework/draw/Display.h"
#include "framework/draw/FontRecordFonts.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/draw/MeasuringDisplay.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// The display to measure on, with the record's font pushed there for the scope's length.
class MeasuringScope {
public:
    MeasuringScope(Display& display, const FontRecord* font)
        : display_(font ? CurrentPrinter(display) : display), pushed_(font != nullptr)
    {
        display_.Lock();
        if (pushed_)
            display_.PushFont(CreateRecordFont(*font, &display_).release());
    }
    ~MeasuringScope()
    {
        if (pushed_)
            display_.PopFont();
        display_.Unlock();
    }
    MeasuringScope(const MeasuringScope&) = delete;
    MeasuringScope& operator=(const MeasuringScope&) = delete;

    Display& Get() const { return display_; }

private:
    Display& display_;
    bool pushed_;
};

int LineHeightPixels(Display& display)
{
    TEXTMETRICA metrics{};
    if (display.DeviceContext() == nullptr || !GetTextMetricsA(display.DeviceContext(), &metrics))
        return 0;
    return metrics.tmHeight;
}

int ExtentPixels(Display& display, const char* text, int length)
{
    if (length <= 0 || display.DeviceContext() == nullptr)
        return 0;
    return display.TextExtent(text, length).cx;
}

// Calls the visitor with each line (start, length) of the text.
template <class Visit>
int ForEachLine(const char* text, Visit visit)
{
    int lines = 0;
    const char* start = text != nullptr ? text : "";
    for (;;) {
        const char* end = NextLineBreak(start);
        const int length = end != nullptr ? static_cast<int>(end - start) : static_cast<int>(std::strlen(start));
        visit(start, length, lines++);
        if (end == nullptr)
            return lines;
        start = end + LineBreakLength(end);
    }
}

} // namespace

int LineBreakLength(const char* text)
{
    if (text == nullptr || (text[0] != '\r' && text[0] != '\n'))
        return 0;
    const char partner = text[0] == '\r' ? '\n' : '\r';
    return text[1] == partner ? 2 : 1;
}

int CountLineBreaks(const char* text)
{
    int count = 0;
    while (text != nullptr && *text != '\0') {
        const int length = LineBreakLength(text);
        count += length > 0 ? 1 : 0;
        text += length > 0 ? length : 1;
    }
    return count;
}

const char* NextLineBreak(const char* text)
{
    if (text == nullptr)
        return nullptr;
    const char* found = std::strpbrk(text, "\r\n");
    return found;
}

float TextWidth(Display& display, const char* text, const FontRecord* font, int length)
{
    if (text == nullptr)
        return 0.0f;
    MeasuringScope scope(display, font);
    const int count = length < 0 ? static_cast<int>(std::strlen(text)) : length;
    return PixelWidthToLogical(ExtentPixels(scope.Get(), text, count), scope.Get());
}

float TextLineHeight(Display& display, const FontRecord* font)
{
    MeasuringScope scope(display, font);
    return PixelHeightToLogical(LineHeightPixels(scope.Get()), scope.Get());
}

void TruncateTextToWidth(Display& display, zString& text, float maxWidth, const FontRecord* font)
{
    MeasuringScope scope(display, font);
    const std::string entry = text.Text();
    float width = TextWidth(scope.Get(), entry.c_str(), nullptr);
    int cut = static_cast<int>(entry.size()) - 1;
    for (int steps = 1; width > maxWidth; ++steps) {
        const std::string current = text.Text();
        const std::string shorter =
            current.substr(0, std::min<size_t>(std::max(cut, 0), current.size())) + "...";
        text = shorter.c_str();
        --cut;
        const float shorterWidth = TextWidth(scope.Get(), shorter.c_str(), nullptr);
        const bool shrank = shorterWidth < width;
        width = shorterWidth;
        if (cut < 3 || (steps > 5 && !shrank))
            break;
    }
}

LogicalSize MeasureMultiLineText(Display& display, const char* text, const FontRecord* font, bool wantWidth,
                                 bool wantHeight)
{
    // An empty text takes no line at all.
    if (text == nullptr || *text == '\0')
        return LogicalSize{};
    MeasuringScope scope(display, font);
    int widest = 0;
    const int lines = ForEachLine(text, [&](const char* line, int length, int) {
        if (wantWidth)
            widest = std::max(widest, ExtentPixels(scope.Get(), line, length));
    });
    LogicalSize size;
    if (wantWidth)
        size.width = PixelWidthToLogical(widest, scope.Get());
    if (wantHeight)
        size.height = PixelHeightToLogical(LineHeightPixels(scope.Get()), scope.Get()) * lines;
    return size;
}

int DrawMultiLineText(Display& drawing, Display& measuring, const char* text, int x, int y, int step)
{
    DisplayLock drawLock(drawing);
    DisplayLock measureLock(measuring);
    if (step < 0)
        step = LineHeightPixels(measuring);
    HDC dc = drawing.DeviceContext();
    return ForEachLine(text, [&](const char* line, int length, int index) {
        if (dc != nullptr && length > 0)
            TextOutA(dc, x, y + index * step, line, length);
    });
}

int DrawCentredMultiLineText(Display& measuring, Display& drawing, const char* text, const RECT& rect, int step)
{
    DisplayLock drawLock(drawing);
    DisplayLock measureLock(measuring);
    if (step < 0)
        step = LineHeightPixels(measuring);
    HDC dc = drawing.DeviceContext();
    return ForEachLine(text, [&](const char* line, int length, int index) {
        const int width = ExtentPixels(measuring, line, length);
        if (dc != nullptr && length > 0)
            TextOutA(dc, (rect.left + rect.right - width) / 2, rect.top + index * step, line, length);
    });
}

int32_t FitLineToWidth(const FontWidthTable& widths, const char* text, int32_t start, int maxWidth)
{
    if (text == nullptr || start < 0 || text[start] == '\0')
        return -1;
    int32_t at = start;
    int width = 0;
    int column = 0;
    for (; text[at] != '\0' && text[at] != '\r' && text[at] != '\n'; ++at) {
        int advance = widths.widths[static_cast<unsigned char>(text[at])];
        int columns = 1;
        if (text[at] == '\t') {
            columns = 8 - column % 8;
            advance = columns * widths.widths[static_cast<unsigned char>(' ')];
        }
        // A character wider than the whole line still makes a line of its own.
        if (width + advance > maxWidth && at > start)
            break;
        width += advance;
        column += columns;
    }
    return at + LineBreakLength(text + at);
}
