#include "framework/draw/TextStamps.h"

#include "framework/draw/Display.h"
#include "framework/draw/GdiScopes.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kSheetWidth = 512;
constexpr int kSheetHeight = 512;

} // namespace

// Whether the font slants or overhangs is asked once per font: the question costs more than a copy.
bool TextStamps::Stampable(Display& display, HDC dc, HGDIOBJ font)
{
    if (display.Kind() != Display::KindBitmap && display.Kind() != Display::KindWindow)
        return false;
    if (GetMapMode(dc) != MM_TEXT || (GetTextAlign(dc) & (TA_UPDATECP | TA_RIGHT | TA_CENTER | TA_BASELINE)) != 0)
        return false;
    auto known = uprightFonts_.find(font);
    if (known == uprightFonts_.end()) {
        ScopedSelection selected(dc, font);
        TEXTMETRICA metrics{};
        const bool upright = GetTextMetricsA(dc, &metrics) && !metrics.tmItalic && metrics.tmOverhang == 0;
        known = uprightFonts_.emplace(font, upright).first;
    }
    return known->second;
}

TextStamps::~TextStamps()
{
    if (sheetDC_ != nullptr) {
        SelectObject(sheetDC_, oldSheet_);
        DeleteDC(sheetDC_);
    }
    if (sheet_ != nullptr)
        DeleteObject(sheet_);
}

void TextStamps::Draw(Display& display, HFONT font, int x, int y, const char* text, int length)
{
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    if (dc == nullptr || text == nullptr)
        return;
    if (length < 0)
        length = static_cast<int>(std::strlen(text));
    const HGDIOBJ drawn = font != nullptr ? font : GetCurrentObject(dc, OBJ_FONT);
    Stamp* stamp = nullptr;
    if (length > 0 && Stampable(display, dc, drawn)) {
        const State state{drawn, GetTextColor(dc), GetBkColor(dc), GetBkMode(dc)};
        auto& table = stamps_[state];
        std::string key(text, static_cast<size_t>(length));
        auto found = table.find(key);
        // The first drawing only marks the text as seen.
        if (found == table.end())
            table.emplace(std::move(key), Stamp{});
        else
            stamp = &found->second;
    }
    if (stamp != nullptr && stamp->made) {
        Copy(dc, x, y, *stamp);
        return;
    }
    ScopedSelection selected(dc, font);
    if (stamp != nullptr && !stamp->refused && Make(dc, text, length, *stamp))
        Copy(dc, x, y, *stamp);
    else
        TextOutA(dc, x, y, text, length);
}

// Opaque text fills its cell; transparent text darkens what lies beneath it, as it does over white.
void TextStamps::Copy(HDC dc, int x, int y, const Stamp& stamp) const
{
    BitBlt(dc, x, y, stamp.size.cx, stamp.size.cy, sheetDC_, stamp.at.x, stamp.at.y,
           GetBkMode(dc) == OPAQUE ? SRCCOPY : SRCAND);
}

bool TextStamps::Make(HDC target, const char* text, int length, Stamp& stamp)
{
    stamp.refused = true;
    SIZE size{};
    if (!GetTextExtentPoint32A(target, text, length, &size) || size.cx <= 0 || size.cy <= 0)
        return false;
    // The text is drawn with room beside its cell on both sides, where a letter reaching out shows.
    const int room = size.cy / 2 + 1;
    const int slotWidth = size.cx + 2 * room;
    if (slotWidth > kSheetWidth || size.cy > kSheetHeight)
        return false;
    if (sheetDC_ == nullptr) {
        sheetDC_ = CreateCompatibleDC(target);
        sheet_ = CreateCompatibleBitmap(target, kSheetWidth, kSheetHeight);
        if (sheetDC_ == nullptr || sheet_ == nullptr)
            return false;
        oldSheet_ = SelectObject(sheetDC_, sheet_);
    }
    if (next_.x + slotWidth > kSheetWidth) {
        next_ = POINT{0, next_.y + shelfHeight_};
        shelfHeight_ = 0;
    }
    if (next_.y + size.cy > kSheetHeight)
        return false;
    // Opaque: the cell in the background colour; transparent: over white.
    const bool opaque = GetBkMode(target) == OPAQUE;
    const COLORREF ground = opaque ? GetBkColor(target) : RGB(255, 255, 255);
    const RECT slot{next_.x, next_.y, next_.x + slotWidth, next_.y + size.cy};
    {
        ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(ground));
        FillRect(sheetDC_, &slot, brush.Get());
    }
    const COLORREF filled = GetPixel(sheetDC_, slot.left, slot.top);
    HGDIOBJ font = SelectObject(sheetDC_, GetCurrentObject(target, OBJ_FONT));
    SetTextColor(sheetDC_, GetTextColor(target));
    SetBkColor(sheetDC_, ground);
    SetBkMode(sheetDC_, OPAQUE);
    const RECT cell{slot.left + room, slot.top, slot.left + room + size.cx, slot.bottom};
    ExtTextOutA(sheetDC_, cell.left, cell.top, ETO_OPAQUE, &cell, text, static_cast<UINT>(length), nullptr);
    SelectObject(sheetDC_, font);
    next_.x += slotWidth;
    shelfHeight_ = std::max(shelfHeight_, static_cast<int>(size.cy));
    // A copy of the cell alone would cut a letter that reaches out of it: such a text is drawn directly.
    for (int y = slot.top; y < slot.bottom; ++y)
        for (int x = slot.left; x < slot.right; x = x + 1 == cell.left ? cell.right : x + 1)
            if (GetPixel(sheetDC_, x, y) != filled)
                return false;
    stamp = Stamp{true, false, POINT{cell.left, cell.top}, size};
    return true;
}
