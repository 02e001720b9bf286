#include "script/ScriptWindows.h"

#include "widgets/AppDialog.h"
#include "widgets/Shell.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatting.h"
#include "foundation/zString.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/draw/GdiScopes.h"
#include "framework/draw/zFont.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/LayoutManager.h"
#include "framework/window/TopWindow.h"

#include "CommandIds.h"

#include <algorithm>
#include <cstdlib>

namespace PromptIds = Ctl::PromptOneLine;
namespace ScriptControlIds = Ctl::ScriptControl;

namespace {

bool IsDroppedInput(UINT message)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return true;
    default:
        return false;
    }
}

constexpr DWORD kNoteStyle = WS_POPUP | WS_BORDER;
constexpr DWORD kNoteExtendedStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST;

HFONT ScriptFont()
{
    const HFONT dialogFont = TheShell().DialogFontHandle();
    return dialogFont != nullptr ? dialogFont : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// The script's note: the text in the info-tip colours and the dialog font, in a bordered pop-up that floats
// above its owner without taking the activation.
class ScriptTextWindow : public WindowCL {
public:
    ScriptTextWindow(const std::string& text, const RECT& place)
        : WindowCL(new LayoutManager(place, nullptr), 0), text_(text)
    {
        // No clipping bits: the note has no children and floats above its siblings.
        style_ = kNoteStyle;
        // The paint fills the whole client.
        background_ = NoBackground;
        className_ = "KivoScriptText";
    }

    void Create(HWND owner)
    {
        RegisterClassOf(ClassRecord());
        CreateSystemWindow(owner, kNoteExtendedStyle);
    }

    std::unique_ptr<WNDCLASSA> ClassRecord() override
    {
        std::unique_ptr<WNDCLASSA> record = ClassRecordTemplate();
        record->hCursor = LoadCursor(nullptr, IDC_ARROW);
        record->hbrBackground = nullptr;
        return record;
    }

protected:
    long HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer) override
    {
        if (event.message == WM_GETFONT) {
            answeredAtOnce = true;
            answer = reinterpret_cast<LRESULT>(ScriptFont());
            return 1;
        }
        if (event.message != WM_PAINT)
            return WindowCL::HandleMessage(event, answeredAtOnce, answer);
        Paint();
        return 1;
    }

private:
    void Paint()
    {
        ScopedPaint paint(handle_);
        RECT client;
        GetClientRect(handle_, &client);
        FillRect(paint.Get(), &client, GetSysColorBrush(COLOR_INFOBK));
        InflateRect(&client, -2, -2);
        ScopedSelection font(paint.Get(), ScriptFont());
        SetBkMode(paint.Get(), TRANSPARENT);
        SetTextColor(paint.Get(), GetSysColor(COLOR_INFOTEXT));
        DrawTextA(paint.Get(), text_.c_str(), static_cast<int>(text_.size()), &client, DT_WORDBREAK | DT_NOPREFIX);
    }

    std::string text_;
};

// The note's window size: the text's box (its unwrapped width up to 100 pixels, wrapped; a box taller than
// wide is widened to 0.8 of height plus width and wrapped again), 2 pixels of margin round it, and the
// window's border.
SIZE MeasureScriptText(const std::string& text)
{
    ScopedWindowDC screen(nullptr);
    ScopedSelection font(screen.Get(), ScriptFont());
    const auto wrapped = [&](int width, UINT format) {
        RECT area{0, 0, width, 0};
        DrawTextA(screen.Get(), text.c_str(), static_cast<int>(text.size()), &area, DT_CALCRECT | DT_NOPREFIX | format);
        return area;
    };
    RECT box = wrapped(0, 0);
    box = wrapped(std::min<int>(box.right, 100), DT_WORDBREAK);
    if (box.bottom > box.right)
        box = wrapped(static_cast<int>(0.8 * (box.bottom + box.right)), DT_WORDBREAK);
    RECT window{0, 0, box.right + 4, box.bottom + 4};
    AdjustWindowRectEx(&window, kNoteStyle, FALSE, kNoteExtendedStyle);
    return SIZE{window.right - window.left, window.bottom - window.top};
}

} // namespace

bool ServeWaitingScriptMessages(const std::function<bool()>& stopped)
{
    MSG message;
    while (!stopped() && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return true;
        }
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE)
            return true;
        if (IsDroppedInput(message.message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return false;
}

bool PumpScriptMessages(unsigned milliseconds, const std::function<bool()>& stopped)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
        if (ServeWaitingScriptMessages(stopped) || stopped())
            return true;
    }
}

bool ShowScriptText(const std::string& text, unsigned milliseconds, const std::function<bool()>& stopped)
{
    WindowCL* owner = TheApp != nullptr ? TheApp->MainWindow() : nullptr;
    HWND ownerHandle = owner != nullptr ? owner->Handle() : nullptr;
    const SIZE size = MeasureScriptText(text);
    RECT ownerRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (ownerHandle != nullptr)
        GetWindowRect(ownerHandle, &ownerRect);
    const int left = ownerRect.left + static_cast<int>(0.4 * (ownerRect.right - ownerRect.left)) - size.cx / 2;
    const int top = ownerRect.top + static_cast<int>(0.5 * (ownerRect.bottom - ownerRect.top)) - size.cy / 2;
    ScriptTextWindow window(text, RECT{left, top, left + size.cx, top + size.cy});
    window.Create(ownerHandle);
    if (window.Handle() == nullptr)
        return false;
    // The main window stays the active one.
    window.Show(SW_SHOWNOACTIVATE);
    return PumpScriptMessages(milliseconds, stopped);
}

ScriptControlDialog::ScriptControlDialog(const std::string& text, const std::string& caption,
                                         const std::string& exitText)
    : ProgramDialog(DialogRes::ScriptControl)
{
    SetItemText(ScriptControlIds::Message, text.c_str());
    if (!caption.empty())
        SetText(caption);
    if (!exitText.empty())
        SetItemText(IDCANCEL, exitText.c_str());
    for (unsigned i = 0; i < kMaxBranches; ++i) {
        OnButton(ScriptControlIds::FirstBranch + i, [this, i] {
            chosen_ = static_cast<int>(i);
            EndModal();
        });
    }
}

bool ScriptControlDialog::AddBranch(const std::string& text)
{
    if (branches_ >= static_cast<int>(kMaxBranches))
        return false;
    SetItemText(ScriptControlIds::FirstBranch + branches_, text.c_str());
    ShowItem(ScriptControlIds::FirstBranch + branches_, !text.empty());
    ++branches_;
    return true;
}

int ScriptControlDialog::RunBranches()
{
    for (int i = branches_; i < static_cast<int>(kMaxBranches); ++i)
        ShowItem(ScriptControlIds::FirstBranch + i, false);
    chosen_ = -1;
    Run();
    return chosen_;
}

namespace {

class ScriptInputDialog : public AppDialog {
public:
    ScriptInputDialog(const std::string& prompt, double low, double high) : AppDialog(DialogRes::PromptOneLine)
    {
        SetItemText(PromptIds::PromptText, prompt.c_str());
        ShowItem(HelpButtonId, false);
        if (low < high)
            AddRealField(PromptIds::NameField, &number, low, high);
        else
            BorderedEditCtrl::FromTemplate(this, PromptIds::NameField, &text, CtrlWindowCL::MayBeEmpty);
        bounded = low < high;
        SendDlgItemMessageA(Handle(), PromptIds::NameField, EM_SETSEL, 0, 1000);
    }

    bool bounded = false;
    double number = 0;
    zString text;
};

} // namespace

std::string AskScriptInput(const std::string& prompt, double low, double high)
{
    ScriptInputDialog dialog(prompt, low, high);
    if (!dialog.RunModal())
        return std::string();
    if (!dialog.bounded)
        return dialog.text.Text();
    zString formatted;
    FormatNumber(DefaultNumericFormat, dialog.number, formatted, false, false, -9);
    return formatted.Text();
}
