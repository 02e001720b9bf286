#pragma once
// Texts drawn again and again in one painting (the same labels on thousands of branches) are drawn once
// into an off-screen sheet and then copied from it: a copy costs a fraction of drawing the text. A text is
// stamped from its second drawing on; the first is drawn directly, so texts that never repeat cost nothing
// more. Only screen and bitmap displays in plain pixel mapping are stamped, with the text cell filled
// (opaque) or the text laid over the picture (transparent, exact over white); anything else, italic fonts,
// texts larger than the sheet and texts with a letter reaching out of the text's cell (a copy of the cell
// would cut it) are drawn directly.

#include <windows.h>

#include <map>
#include <string>
#include <tuple>
#include <unordered_map>

class Display;

class TextStamps {
public:
    TextStamps() = default;
    ~TextStamps();
    TextStamps(const TextStamps&) = delete;
    TextStamps& operator=(const TextStamps&) = delete;

    // Draws as TextOutA does at the pixel point, in the font (null: the display's current one) and the
    // display's colours and background mode; `length` characters, all when negative. A copied text
    // never selects its font.
    void Draw(Display& display, HFONT font, int x, int y, const char* text, int length = -1);

private:
    struct Stamp {
        bool made = false;
        // Set once the text could not be stamped: it is drawn directly from then on.
        bool refused = false;
        POINT at{0, 0};
        SIZE size{0, 0};
    };
    bool Stampable(Display& display, HDC dc, HGDIOBJ font);
    // Draws the text into the sheet and records where; false (the stamp refused) when it does not fit or a
    // letter reaches out of the text's cell. The font is selected in the target.
    bool Make(HDC target, const char* text, int length, Stamp& stamp);
    void Copy(HDC dc, int x, int y, const Stamp& stamp) const;

    // The drawing state a stamp depends on.
    struct State {
        HGDIOBJ font;
        COLORREF text;
        COLORREF background;
        int mode;
        bool operator<(const State& other) const
        {
            return std::tie(font, text, background, mode) <
                   std::tie(other.font, other.text, other.background, other.mode);
        }
    };
    std::map<State, std::unordered_map<std::string, Stamp>> stamps_;
    std::unordered_map<HGDIOBJ, bool> uprightFonts_;
    HDC sheetDC_ = nullptr;
    HBITMAP sheet_ = nullptr;
    HGDIOBJ oldSheet_ = nullptr;
    // The next free place in the sheet: shelves of the tallest stamp on them.
    POINT next_{0, 0};
    int shelfHeight_ = 0;
};
