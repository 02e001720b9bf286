#include "widgets/PageGrid.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <ctime>

int PageGrid::Count(const LogicalRect& page, const LogicalRect& drawing, bool centre, const PrintOffset* stored)
{
    page_ = page;
    columns_ = rows_ = 0;
    printOffset_ = PrintOffset{};
    if (!(PageWidth() > 0.0f) || !(PageHeight() > 0.0f))
        return 0;
    const float width = drawing.right - drawing.left;
    const float height = drawing.bottom - drawing.top;
    LayOut(width, height);
    if (centre && columns_ == 1 && rows_ == 1) {
        printOffset_.x = (PageWidth() - width) / 2.0f;
        printOffset_.y = (PageHeight() - height) / 3.0f;
    } else if (stored) {
        printOffset_ = *stored;
        LayOut(width + stored->x, height + stored->y);
    }
    return columns_ * rows_;
}

void PageGrid::LayOut(float width, float height)
{
    columns_ = static_cast<int>(std::ceil(width / PageWidth()));
    rows_ = static_cast<int>(std::ceil(height / PageHeight()));
}

void PageGrid::Start(int pageLimit)
{
    column_ = row_ = copyIndex_ = 0;
    pageOffsetX_ = pageOffsetY_ = 0.0f;
    pageLimit_ = pageLimit;
}

bool PageGrid::Next(int copies)
{
    float moveX = 0.0f;
    float moveY = 0.0f;
    if (++copyIndex_ >= copies) {
        copyIndex_ = 0;
        if (++row_ < rows_) {
            moveY = -PageHeight();
        } else {
            row_ = 0;
            if (++column_ >= columns_)
                return false;
            moveY = (rows_ - 1) * PageHeight();
            moveX = -PageWidth();
        }
    }
    if (column_ * rows_ + row_ >= pageLimit_ && copyIndex_ == 0)
        return false;
    pageOffsetX_ += moveX;
    pageOffsetY_ += moveY;
    return true;
}

zString ExpandPageHeader(const char* format, int column, int row, const PageGrid& grid,
                         const PageHeaderFields& fields)
{
    const bool current = column < 0;
    const int shownColumn = current ? grid.Column() : column;
    const int shownRow = row < 0 ? grid.Row() : row;
    zString out;
    char piece[64];
    for (const char* p = format; *p; ++p) {
        if (*p != '^' || !p[1]) {
            out += *p;
            continue;
        }
        const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(p[1])));
        const std::time_t now = std::time(nullptr);
        switch (letter) {
        case 'c':
            std::snprintf(piece, sizeof piece, "%d", shownColumn + 1);
            break;
        case 'r':
            std::snprintf(piece, sizeof piece, "%d", shownRow + 1);
            break;
        case 'p':
            std::snprintf(piece, sizeof piece, "%d",
                          current ? grid.PageNumber() : column * grid.Rows() + row + 1);
            break;
        case 'd':
            std::strftime(piece, sizeof piece, "%x", std::localtime(&now));
            break;
        case 't':
            std::strftime(piece, sizeof piece, "%I:%M %p", std::localtime(&now));
            break;
        case 'f':
            out += fields.title;
            ++p;
            continue;
        case 'l':
            out += fields.path;
            ++p;
            continue;
        default:
            out += "^";
            continue;
        }
        out += piece;
        ++p;
    }
    return out;
}
