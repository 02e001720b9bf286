#pragma once
// A zoomable pane that holds a text in a multi-line edit control filling it, and prints that text page by
// page with margins of 0.4 inch on every side and tabs every 8 columns. For printing the text is broken into
// lines on the owner's printer: a line ends at a line break or where the printable width runs out, and
// always takes at least one character; a page holds as many lines as fit between its margins, and always at
// least one, so a huge font or a tiny page still prints everything.

#include "widgets/ZoomPane.h"
#include "foundation/FontRecord.h"
#include "foundation/LogicalRect.h"

#include <cstdint>
#include <memory>
#include <vector>

class TextPaneEdit;
class zFont;

class TextPane : public ZoomPane {
public:
    // Margin on every side of a printed page, in inches.
    static constexpr float Margin = 0.4f;

    // The pane inside its owner, or inside another window of the owner; the edit control wraps words with
    // wordWrap and keeps the user from changing the text with readOnly. The font is the application's first
    // default font.
    TextPane(DocChildWindow* owner, LayoutManager* layout, DWORD style, bool wordWrap, bool readOnly);
    TextPane(DocChildWindow* owner, WindowCL* parent, LayoutManager* layout, DWORD style, bool wordWrap,
             bool readOnly);
    ~TextPane() override;

    TextPaneEdit& Edit() const { return *edit_; }
    const FontRecord& Font() const { return fontRecord_; }
    // Takes a copy of the record when given and gives the edit control the font made from it.
    void SetFont(const FontRecord* record);
    // Lets the user edit the font in the font dialog; 1 when a font was chosen (and applied), else 0.
    int ChooseFont();

    // Without forPrinting the bounds of the last layout; with it the text is laid out for the owner's
    // printer and the bounds are one page wide and as many pages high, less 0.01 inch each way, so that
    // they fill exactly one column and that many rows of the page grid. Without a usable printer the last
    // bounds stay.
    void Layout(LogicalRect& bounds, bool forPrinting);
    // Draws every laid-out line where it prints: page under page, each page's lines at the printed line
    // step below its top margin.
    void Draw(Display& display);
    // Draws the lines of the page grid's current row.
    void DrawPage(Display& display);

    // A screen paint draws nothing (the edit control shows the text); without an event the pane's current
    // display gets the current page.
    long Paint(WindowEvent* event) override;
    void ResetPrintState() override;
    // A hidden pane (one that only holds a text to print or copy) leaves its edit control unsized: the
    // edit breaks its whole text into lines at its width, work nobody sees. Shown, the pane lays it out.
    long LayoutChildren(WindowEvent* event) override;

    int LineCount() const { return static_cast<int>(lineStarts_.size()); }
    int LinesPerPage() const { return linesPerPage_; }
    int PageCount() const { return pageCount_; }

protected:
    long HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer) override;

private:
    void Initialise(bool wordWrap, bool readOnly);
    // The text of line `index` with its tabs expanded and its line break dropped.
    zString LineText(int index) const;
    void DrawLines(Display& display, int first, int last, int x, int y, double step, const RECT* clip);

    TextPaneEdit* edit_ = nullptr;
    std::unique_ptr<zFont> font_;
    FontRecord fontRecord_;
    LogicalRect bounds_{0, 0, 0, 0};
    // The text as laid out, and where each printed line starts in it.
    std::string text_;
    std::vector<int32_t> lineStarts_;
    int linesPerPage_ = 0;
    int pageCount_ = 0;
    float pageHeight_ = 0.0f;
};
