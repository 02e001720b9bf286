#include "tests/support/DialogLayoutCheck.h"

#include <cctype>

namespace {

enum class TextKind { None, Static, PushButton, CheckBox, GroupBox };

struct Control {
    HWND window;
    DWORD style;
    RECT rect; // in the dialog's client coordinates
    TextKind kind;
    std::string text;
};

std::string LowerClassName(HWND window)
{
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    std::string lower = name;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

TextKind KindOf(HWND window, DWORD style)
{
    const std::string name = LowerClassName(window);
    if (name == "static") {
        switch (style & SS_TYPEMASK) {
        case SS_LEFT:
        case SS_CENTER:
        case SS_RIGHT:
        case SS_SIMPLE:
        case SS_LEFTNOWORDWRAP:
            return TextKind::Static;
        default:
            return TextKind::None;
        }
    }
    if (name != "button" || (style & (BS_BITMAP | BS_ICON)))
        return TextKind::None;
    switch (style & BS_TYPEMASK) {
    case BS_GROUPBOX:
        return TextKind::GroupBox;
    case BS_OWNERDRAW:
    case BS_USERBUTTON:
        return TextKind::None;
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        return TextKind::PushButton;
    default:
        return (style & BS_PUSHLIKE) ? TextKind::PushButton : TextKind::CheckBox;
    }
}

std::string NameOf(const Control& control)
{
    return "control " + std::to_string(GetDlgCtrlID(control.window)) + " \"" + control.text + "\"";
}

bool Contains(const RECT& outer, const RECT& inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The extent of the control's text in its own font, wrapped at width when wrapping.
SIZE TextExtent(const Control& control, bool wrapping, int width, int& lineHeight)
{
    HDC dc = GetDC(control.window);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(control.window, WM_GETFONT, 0, 0));
    HGDIOBJ previous = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    lineHeight = metrics.tmHeight;
    UINT format = DT_CALCRECT | DT_EXPANDTABS | (wrapping ? DT_WORDBREAK : DT_SINGLELINE);
    if (control.kind == TextKind::Static && (control.style & SS_NOPREFIX))
        format |= DT_NOPREFIX;
    RECT rect{0, 0, width, 0};
    const std::string text = control.text.empty() ? " " : control.text;
    DrawTextA(dc, text.c_str(), -1, &rect, format);
    SelectObject(dc, previous);
    ReleaseDC(control.window, dc);
    return SIZE{control.text.empty() ? 0 : rect.right, rect.bottom};
}

// The room a control leaves its text: the client area less what the system draws round the text.
RECT TextRoom(const Control& control)
{
    RECT room{};
    GetClientRect(control.window, &room);
    switch (control.kind) {
    case TextKind::PushButton:
        // The raised edge and the focus rectangle inside it.
        InflateRect(&room, -3, -3);
        break;
    case TextKind::CheckBox: {
        // The box, then half the width of a digit before the text, as the system draws them.
        room.left += GetSystemMetrics(SM_CXMENUCHECK) + 3;
        break;
    }
    case TextKind::GroupBox:
        // The title stands on the frame, indented from its left edge.
        room.left += 8;
        room.right -= 2;
        break;
    default:
        break;
    }
    return room;
}

void CheckText(const Control& control, std::vector<std::string>& faults)
{
    const RECT room = TextRoom(control);
    const int width = room.right - room.left;
    const int height = room.bottom - room.top;
    int lineHeight = 0;
    TextExtent(control, false, width, lineHeight);
    const bool wrapping = control.kind != TextKind::GroupBox && height >= 2 * lineHeight &&
                          !(control.kind == TextKind::Static && (control.style & SS_TYPEMASK) == SS_LEFTNOWORDWRAP) &&
                          (control.kind == TextKind::Static || (control.style & BS_MULTILINE));
    const SIZE extent = TextExtent(control, wrapping, width, lineHeight);
    const int needed = control.kind == TextKind::GroupBox ? lineHeight / 2 : extent.cy;
    if (extent.cx > width || needed > height)
        faults.push_back(NameOf(control) + " needs " + std::to_string(extent.cx) + " x " + std::to_string(needed) +
                         " pixels for its text, has " + std::to_string(width) + " x " + std::to_string(height));
}

// The lines of a list box without a horizontal scroll bar must fit its width; tabbed and owner-drawn lists
// lay out their own lines.
void CheckListLines(const Control& control, std::vector<std::string>& faults)
{
    if (LowerClassName(control.window) != "listbox" ||
        (control.style & (WS_HSCROLL | LBS_USETABSTOPS | LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)))
        return;
    RECT client{};
    GetClientRect(control.window, &client);
    HDC dc = GetDC(control.window);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(control.window, WM_GETFONT, 0, 0));
    HGDIOBJ previous = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    const int count = static_cast<int>(SendMessageA(control.window, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char line[512] = {};
        if (SendMessageA(control.window, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) >= static_cast<LRESULT>(sizeof line))
            continue;
        SendMessageA(control.window, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line));
        SIZE extent{};
        GetTextExtentPoint32A(dc, line, lstrlenA(line), &extent);
        // The system draws a line a pixel in from the left.
        if (extent.cx + 2 > client.right)
            faults.push_back(NameOf(control) + " line \"" + line + "\" needs " + std::to_string(extent.cx + 2) +
                             " pixels, has " + std::to_string(client.right));
    }
    SelectObject(dc, previous);
    ReleaseDC(control.window, dc);
}

std::vector<Control> ControlsOf(HWND dialog)
{
    std::vector<Control> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        Control control{child, static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE)), {}, TextKind::None, {}};
        GetWindowRect(child, &control.rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&control.rect), 2);
        control.kind = KindOf(child, control.style);
        char text[512] = {};
        GetWindowTextA(child, text, sizeof text);
        control.text = text;
        controls.push_back(control);
    }
    return controls;
}

} // namespace

std::vector<std::string> DialogLayoutFaults(HWND dialog)
{
    std::vector<std::string> faults;
    RECT client{};
    GetClientRect(dialog, &client);
    const std::vector<Control> controls = ControlsOf(dialog);
    for (size_t i = 0; i < controls.size(); ++i) {
        const Control& control = controls[i];
        if (!Contains(client, control.rect))
            faults.push_back(NameOf(control) + " reaches outside the client area");
        if (control.kind != TextKind::None)
            CheckText(control, faults);
        CheckListLines(control, faults);
        // A scroll bar belongs to the drop-down list; on the closed box it covers the arrow.
        if (LowerClassName(control.window) == "combobox" && (control.style & (WS_VSCROLL | WS_HSCROLL)))
            faults.push_back(NameOf(control) + " has a scroll bar on its closed box");
        if (!(control.style & WS_VISIBLE))
            continue;
        for (size_t j = i + 1; j < controls.size(); ++j) {
            const Control& other = controls[j];
            RECT common{};
            if (!(other.style & WS_VISIBLE) || !IntersectRect(&common, &control.rect, &other.rect))
                continue;
            if ((control.kind == TextKind::GroupBox && Contains(control.rect, other.rect)) ||
                (other.kind == TextKind::GroupBox && Contains(other.rect, control.rect)))
                continue;
            faults.push_back(NameOf(control) + " overlaps " + NameOf(other));
        }
    }
    return faults;
}
