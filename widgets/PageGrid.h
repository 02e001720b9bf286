#pragma once
// The printed pages of a drawing: the drawing (in inches) is cut into a grid of printer pages, printed
// column by column, top to bottom within a column, each page as many times as there are copies. A drawing
// that fits on one page may be centred on it: half the spare width across, a third of the spare height down.
// One grid is used by the pane that is printing.

#include "foundation/LogicalRect.h"
#include "foundation/zString.h"

struct PrintOffset {
    float x = 0.0f;
    float y = 0.0f;
};

// The pages of one print: first and last (1-based, inclusive; a last of 0 or less means every page) and
// the copies of each page.
struct PrintRange {
    int first = 1;
    int last = 0;
    int copies = 1;
};

class PageGrid {
public:
    // Lays the grid out for a printable page and a drawing. With `centre` and a 1 x 1 grid the print offset
    // centres the drawing; otherwise it is the stored offset (null: none), which also extends the drawing's
    // right and bottom. Returns columns x rows; 0 when the page is empty.
    int Count(const LogicalRect& page, const LogicalRect& drawing, bool centre, const PrintOffset* stored);
    // Back to the first page and copy. The page limit is the number of grid positions that may print.
    void Start(int pageLimit);
    // The next page, or the same page again while copies remain; false when printing is done.
    bool Next(int copies);

    int Columns() const { return columns_; }
    int Rows() const { return rows_; }
    int Column() const { return column_; }
    int Row() const { return row_; }
    int CopyIndex() const { return copyIndex_; }
    // The 1-based number of the current page in printing order.
    int PageNumber() const { return column_ * rows_ + row_ + 1; }
    const PrintOffset& Offset() const { return printOffset_; }
    // The drawing origin of the current page: (-page offset - print offset) in each direction.
    float OriginX() const { return -pageOffsetX_ - printOffset_.x; }
    float OriginY() const { return -pageOffsetY_ - printOffset_.y; }
    float PageWidth() const { return page_.right - page_.left; }
    float PageHeight() const { return page_.bottom - page_.top; }

private:
    void LayOut(float width, float height);

    LogicalRect page_{0, 0, 0, 0};
    int columns_ = 0;
    int rows_ = 0;
    int column_ = 0;
    int row_ = 0;
    int copyIndex_ = 0;
    int pageLimit_ = 0;
    float pageOffsetX_ = 0.0f;
    float pageOffsetY_ = 0.0f;
    PrintOffset printOffset_;
};

// What a page header may show besides the page numbers.
struct PageHeaderFields {
    zString title;
    // The document's full path; empty for windows that are not documents.
    zString path;
};

// Expands a header format: "^c" column, "^r" row, "^p" page (1-based; a negative column or row means the
// grid's current page), "^d" the date, "^t" the time, "^f" the title, "^l" the path, in either case. "^" with
// any other letter is kept as it stands.
zString ExpandPageHeader(const char* format, int column, int row, const PageGrid& grid,
                         const PageHeaderFields& fields);
