#include "widgets/MessageBoxes.h"

#include "widgets/CursorStack.h"
#include "widgets/HelpContext.h"
#include "widgets/MessageOwnerWindow.h"
#include "widgets/StatusMessage.h"

#include <windows.h>

#include <string>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The box wraps its text at blanks only and widens itself to its longest word, past the screen's edges for a
// long path: every word wider than half the work area is broken over lines of at most that width (after a
// path separator where one falls in the line's second half), measured in the boxes' font.
std::string BreakLongWords(const char* text)
{
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    const int widest = (area.right - area.left) / 2;
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    HFONT font = SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)
                     ? CreateFontIndirectA(&metrics.lfMessageFont)
                     : nullptr;
    const HDC dc = GetDC(nullptr);
    const HGDIOBJ shown = font != nullptr ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT);
    const HGDIOBJ previous = SelectObject(dc, shown);
    std::string fitted;
    for (const char* at = text; *at != '\0';) {
        if (IsBlank(*at)) {
            fitted += *at++;
            continue;
        }
        const char* end = at;
        while (*end != '\0' && !IsBlank(*end))
            ++end;
        while (at < end) {
            int fits = 0;
            SIZE size{};
            GetTextExtentExPointA(dc, at, static_cast<int>(end - at), widest, &fits, nullptr, &size);
            if (fits >= end - at) {
                fitted.append(at, end);
                break;
            }
            fits = fits > 0 ? fits : 1;
            for (int cut = fits; cut > fits / 2; --cut)
                if (at[cut - 1] == '\\' || at[cut - 1] == '/') {
                    fits = cut;
                    break;
                }
            fitted.append(at, fits);
            fitted += "\r\n";
            at += fits;
        }
        at = end;
    }
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    if (font != nullptr)
        DeleteObject(font);
    return fitted;
}

int PresentOnScreen(const MessageBoxRequest& request)
{
    const std::string text = BreakLongWords(request.text != nullptr ? request.text : "");
    // In front of whatever program has the foreground, as every box the person must answer.
    return MessageBoxA(MessageOwnerWindow(), text.c_str(), request.caption, request.style | MB_SETFOREGROUND);
}

MessageBoxPresenter& Presenter()
{
    static MessageBoxPresenter presenter = PresentOnScreen;
    return presenter;
}

} // namespace

MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter)
{
    MessageBoxPresenter previous = Presenter();
    Presenter() = presenter ? std::move(presenter) : MessageBoxPresenter(PresentOnScreen);
    return previous;
}

namespace {
int BoxesShowing = 0;
} // namespace

int MessageBoxesShowing()
{
    return BoxesShowing;
}

int PresentMessageBox(const MessageBoxRequest& request)
{
    HelpContextScope helpScope(request.help);
    WaitCursorScope arrow(CursorStack::kArrow);
    if (request.help > 0)
        ShowStatusMessage("Press F1 for help");
    ++BoxesShowing;
    const int answer = Presenter()(request);
    --BoxesShowing;
    ShowStatusMessage("");
    return answer;
}
