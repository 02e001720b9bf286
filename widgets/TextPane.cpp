#include "widgets/TextPane.h"

#include "widgets/DocChildWindow.h"
#include "widgets/PageGrid.h"
#include "widgets/ProgramPreferences.h"
#include "widgets/Shell.h"
#include "widgets/TextPaneEdit.h"
#include "framework/dialog/FontWidthTable.h"
#include "framework/draw/DrawingPrimitives.h"
#include "framework/draw/FontRecordFonts.h"
#include "framework/draw/MultiLineText.h"
#include "widgets/PrinterDevice.h"
#include "framework/draw/WindowDisplay.h"
#include "framework/draw/zFont.h"
#include "framework/window/FillLayout.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr unsigned kEditId = 100;

// The record's font pushed on a display for a scope's length.
class PushedFont {
public:
    PushedFont(Display& display, const FontRecord& record) : display_(display)
    {
        display_.PushFont(CreateRecordFont(record, &display_).release());
    }
    ~PushedFont() { display_.PopFont(); }
    PushedFont(const PushedFont&) = delete;
    PushedFont& operator=(const PushedFont&) = delete;

private:
    Display& display_;
};

} // namespace

TextPane::TextPane(DocChildWindow* owner, LayoutManager* layout, DWORD style, bool wordWrap, bool readOnly)
    : ZoomPane(owner, layout, style)
{
    Initialise(wordWrap, readOnly);
}

TextPane::TextPane(DocChildWindow* owner, WindowCL* parent, LayoutManager* layout, DWORD style, bool wordWrap,
                   bool readOnly)
    : ZoomPane(owner, parent, layout, style)
{
    Initialise(wordWrap, readOnly);
}

TextPane::~TextPane() = default;

void TextPane::Initialise(bool wordWrap, bool readOnly)
{
    fontRecord_.pointSize = 9;
    if (TheShell().DefaultFont(TreeFont) != nullptr)
        fontRecord_ = *TheShell().DefaultFont(TreeFont);
    edit_ = new TextPaneEdit(this, new FillLayout(), kEditId, wordWrap, readOnly);
    edit_->ShowWindow(SW_SHOW);
    edit_->SetText(" ");
    SetFont(nullptr);
}

void TextPane::SetFont(const FontRecord* record)
{
    if (record != nullptr)
        fontRecord_ = *record;
    font_ = CreateRecordFont(fontRecord_, OwnDisplay());
    edit_->Send(WM_SETFONT, reinterpret_cast<WPARAM>(font_->Handle()), TRUE);
}

long TextPane::LayoutChildren(WindowEvent* event)
{
    if (!(GetWindowLongA(handle_, GWL_STYLE) & WS_VISIBLE))
        return 0;
    return ZoomPane::LayoutChildren(event);
}

long TextPane::HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer)
{
    // Shown: ShowWindow tells it before the style changes (and only sets the style under a hidden parent);
    // SetWindowPos tells it after.
    const bool shown = event.message == WM_SHOWWINDOW
                           ? event.wParam != FALSE
                           : event.message == WM_WINDOWPOSCHANGED && event.lParam != 0 &&
                                 (reinterpret_cast<const WINDOWPOS*>(event.lParam)->flags & SWP_SHOWWINDOW);
    if (shown) {
        // The edit control fills the pane at the size it has now.
        RECT client{};
        GetClientRect(handle_, &client);
        WindowEvent size{MAKELPARAM(client.right, client.bottom), SIZE_RESTORED, WM_SIZE, handle_};
        ZoomPane::LayoutChildren(&size);
    }
    return ZoomPane::HandleMessage(event, answeredAtOnce, answer);
}

int TextPane::ChooseFont()
{
    FontRecord edited = fontRecord_;
    if (!EditFontRecord(edited, Handle(), ThePreferences().trueTypeFontsOnly))
        return 0;
    SetFont(&edited);
    return 1;
}

void TextPane::Layout(LogicalRect& bounds, bool forPrinting)
{
    PrinterDisplay* printer = forPrinting && Owner() ? Owner()->PrinterSetup() : nullptr;
    RECT page{0, 0, 0, 0};
    if (printer != nullptr && printer->PrinterContext() != nullptr)
        printer->ClientRect(page);
    if (page.right - page.left <= 0 || page.bottom - page.top <= 0 || printer->LogPixelsX() <= 0 ||
        printer->LogPixelsY() <= 0) {
        bounds = bounds_;
        return;
    }
    DisplayLock lock(*printer);
    PushedFont font(*printer, fontRecord_);
    FontWidthTable widths;
    FontWidthTable::Build(widths, *printer);
    text_ = edit_->GetText().Text();
    const int margin = static_cast<int>(std::lround(Margin * printer->LogPixelsX()));
    const int printableWidth = page.right - page.left - 2 * margin;
    // The end of the text starts no line of its own, so a last line break adds no empty page.
    const int32_t end = static_cast<int32_t>(text_.size());
    lineStarts_.assign(1, 0);
    for (int32_t next = FitLineToWidth(widths, text_.c_str(), 0, printableWidth); next >= 0 && next < end;
         next = FitLineToWidth(widths, text_.c_str(), next, printableWidth))
        lineStarts_.push_back(next);

    const float pageWidth = static_cast<float>(page.right - page.left) / printer->LogPixelsX();
    pageHeight_ = static_cast<float>(page.bottom - page.top) / printer->LogPixelsY();
    const float lineHeight = static_cast<float>(widths.height) / printer->LogPixelsY();
    // A page too short for one line between its margins still carries one.
    linesPerPage_ = lineHeight > 0.0f ? static_cast<int>((pageHeight_ - 2 * Margin) / lineHeight) : 1;
    linesPerPage_ = std::max(linesPerPage_, 1);
    pageCount_ = (LineCount() - 1) / linesPerPage_ + 1;
    bounds_ = LogicalRect{0, 0, pageWidth - 0.01f, pageHeight_ * pageCount_ - 0.01f};
    bounds = bounds_;
}

zString TextPane::LineText(int index) const
{
    const int32_t start = lineStarts_[index];
    const int32_t end = index + 1 < LineCount() ? lineStarts_[index + 1] : static_cast<int32_t>(text_.size());
    zString expanded;
    ExpandTabs(text_.c_str() + start, end - start, expanded);
    return expanded;
}

void TextPane::Draw(Display& display)
{
    if (lineStarts_.empty())
        return;
    DisplayLock lock(display);
    PushedFont font(display, fontRecord_);
    const double step = (pageHeight_ - 2 * Margin) / linesPerPage_;
    const int x = LogicalXToPixel(Margin, display);
    for (int i = 0; i < LineCount(); ++i) {
        const zString line = LineText(i);
        // Each page's lines start below its own top margin, as they print.
        const double y = (i / linesPerPage_) * pageHeight_ + Margin + (i % linesPerPage_) * step;
        if (!line.IsEmpty())
            display.TextOutAt(x, LogicalYToPixel(y, display), line.Text());
    }
}

void TextPane::DrawPage(Display& display)
{
    if (lineStarts_.empty())
        return;
    DisplayLock lock(display);
    PushedFont font(display, fontRecord_);
    const int first = Pages().Row() * linesPerPage_;
    const int last = std::min(first + linesPerPage_, LineCount());
    const int marginX = LogicalWidthToPixels(Margin, display);
    const int marginY = LogicalHeightToPixels(Margin, display);
    RECT client{0, 0, 0, 0};
    display.ClientRect(client);
    const int step = (client.bottom - client.top - 2 * marginY) / linesPerPage_;
    RECT clip{0, 0, 0, 0};
    display.Bounds(clip);
    for (int i = first; i < last; ++i) {
        const int top = marginY + (i - first) * step;
        if (top + step < clip.top)
            continue;
        if (top + step > clip.bottom)
            break;
        display.TextOutAt(marginX, top, LineText(i).Text());
    }
}

long TextPane::Paint(WindowEvent* event)
{
    if (event != nullptr)
        return 1;
    Display* display = CurrentDisplay();
    DisplayLock lock(*display);
    PushDrawingScale();
    DrawPage(*display);
    PopDrawingScale();
    return 1;
}

void TextPane::ResetPrintState()
{
    lineStarts_.clear();
    ZoomPane::ResetPrintState();
}
