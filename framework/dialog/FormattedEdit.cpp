#include "framework/dialog/FormattedEdit.h"

#include "framework/window/Clipboard.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool KeyHeld(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

} // namespace

FormattedEdit::FormattedEdit(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id,
                             Validator* validator, int mode)
    : BorderedEditCtrl(parent, rect, style, text, id)
{
    Initialise(validator, mode, text);
}

FormattedEdit::FormattedEdit(WindowCL* parent, unsigned id, Validator* validator, int mode)
    : BorderedEditCtrl(parent, id, nullptr, 0)
{
    Initialise(validator, mode, nullptr);
}

FormattedEdit* FormattedEdit::FromTemplate(WindowCL* parent, unsigned id, Validator* validator, int mode)
{
    return new FormattedEdit(parent, id, validator, mode);
}

void FormattedEdit::Initialise(Validator* validator, int mode, const char* initialText)
{
    validator_.reset(validator);
    mode_ = mode;
    AddHandler(this, &FormattedEdit::OnKeyDown, WM_KEYDOWN);
    AddHandler(this, &FormattedEdit::OnCut, WM_CUT);
    AddHandler(this, &FormattedEdit::OnPaste, WM_PASTE);
    skipNextCharacter_ = 0;
    TextSelection selection{0, 0};
    if (validator_) {
        zString text("");
        std::string input = initialText ? initialText : "";
        validator_->Edit(text, &input[0], static_cast<int>(input.size()), selection);
        SetTextForced(text.Text());
    }
    SetSelection(selection.start, selection.end);
}

FormattedEdit::~FormattedEdit()
{
    RemoveHandler(this, &FormattedEdit::OnKeyDown, WM_KEYDOWN);
    RemoveHandler(this, &FormattedEdit::OnCut, WM_CUT);
    RemoveHandler(this, &FormattedEdit::OnPaste, WM_PASTE);
}

TextSelection FormattedEdit::CurrentSelection() const
{
    const Selection selection = GetSelection();
    return TextSelection{selection.low, selection.high};
}

void FormattedEdit::TakeEdit(const zString& text, const TextSelection& selection)
{
    SetTextForced(text.Text());
    SetSelection(selection.start, selection.end);
}

long FormattedEdit::OnChar(WindowEvent* event)
{
    if (!validator_ || (event->lParam & (1 << 29)) || (style_ & ES_READONLY))
        return 0;
    if (skipNextCharacter_) {
        skipNextCharacter_ = 0;
        return 1;
    }
    char character = static_cast<char>(event->wParam);
    if (character == '\r')
        return 1;
    if (character == 27) {
        if (parent_)
            PostMessageA(parent_->Handle(), WM_COMMAND, IDCANCEL, 0);
        return 1;
    }
    zString text = GetText();
    TextSelection selection = CurrentSelection();
    switch (validator_->Edit(text, &character, 1, selection)) {
    case Validator::TakeText:
        TakeEdit(text, selection);
        return 1;
    case Validator::Reject:
        return 1;
    case Validator::AcceptCharacter:
        event->wParam = static_cast<unsigned char>(character);
        return 0;
    default:
        return 0;
    }
}

long FormattedEdit::DeleteSelection(bool copyFirst)
{
    zString text = GetText();
    TextSelection selection = CurrentSelection();
    char input[2] = {8, 0};
    if (validator_->Edit(text, input, 2, selection) == Validator::TakeText) {
        if (copyFirst)
            Copy();
        TakeEdit(text, selection);
    }
    return 1;
}

long FormattedEdit::OnKeyDown(WindowEvent* event)
{
    if (!validator_)
        return 0;
    const bool shift = KeyHeld(VK_SHIFT);
    const bool control = KeyHeld(VK_CONTROL);
    switch (event->wParam) {
    case VK_INSERT:
        if (shift) {
            skipNextCharacter_ = 1;
            return OnPaste(event);
        }
        if (control) {
            skipNextCharacter_ = 1;
            Copy();
            return 1;
        }
        return 0;
    case VK_DELETE:
        if (shift)
            skipNextCharacter_ = 1;
        return DeleteSelection(shift);
    case 'C':
        if (!control)
            return 0;
        skipNextCharacter_ = 1;
        Copy();
        return 1;
    case 'V':
        if (!control)
            return 0;
        skipNextCharacter_ = 1;
        return OnPaste(event);
    case 'X':
        if (!control)
            return 0;
        skipNextCharacter_ = 1;
        return OnCut(event);
    default:
        return 0;
    }
}

long FormattedEdit::OnCut(WindowEvent*)
{
    return validator_ ? DeleteSelection(true) : 0;
}

long FormattedEdit::OnPaste(WindowEvent*)
{
    Clipboard clipboard(this);
    std::unique_ptr<char[]> text(clipboard.GetText());
    if (!text)
        return 1;
    return CheckText(text.get());
}

long FormattedEdit::CheckText(const char* text)
{
    if (!validator_) {
        SetTextForced(text);
        return 1;
    }
    zString current = GetText();
    TextSelection selection = CurrentSelection();
    std::string input = text ? text : "";
    if (validator_->Edit(current, &input[0], static_cast<int>(input.size()), selection) == Validator::TakeText)
        TakeEdit(current, selection);
    return 1;
}

long FormattedEdit::Validate()
{
    if (!validator_)
        return 1;
    TextSelection selection{0, 32767};
    if (validator_->Check(GetText(), selection))
        return 1;
    SetSelection(selection.start, selection.end);
    return 0;
}

void FormattedEdit::LoadThroughValidator(const char* text)
{
    SetSelection(0, 32767);
    CheckText(text);
    const int caret = validator_ ? validator_->CaretPosition(GetText().Text()) : 0;
    SetSelection(caret, caret);
}

zString FormattedEdit::NormalisedText() const
{
    zString text = GetText();
    if (validator_)
        validator_->Normalise(text, mode_);
    return text;
}

RealEdit::RealEdit(WindowCL* parent, const RECT& rect, DWORD style, unsigned id, Validator* validator, int mode,
                   double* value)
    : FormattedEdit(parent, rect, style, nullptr, id, validator, mode)
{
    buffer_ = value;
    Load();
}

RealEdit::RealEdit(WindowCL* parent, unsigned id, Validator* validator, int mode, double* value)
    : FormattedEdit(parent, id, validator, mode)
{
    buffer_ = value;
    Load();
}

RealEdit* RealEdit::FromTemplate(WindowCL* parent, unsigned id, Validator* validator, int mode, double* value)
{
    return new RealEdit(parent, id, validator, mode, value);
}

zString RealEdit::FormatValue(double value)
{
    char text[400];
    snprintf(text, sizeof text, "%f", value);
    if (std::strchr(text, '.')) {
        size_t length = std::strlen(text);
        while (length > 0 && text[length - 1] == '0')
            text[--length] = '\0';
        // A whole number shows without its dot: "10", not "10.".
        if (length > 0 && text[length - 1] == '.')
            text[--length] = '\0';
    }
    zString shown(value >= 0 ? "+" : "");
    shown += text;
    return shown;
}

long RealEdit::Load()
{
    const double value = buffer_ ? *static_cast<double*>(buffer_) : 0.0;
    LoadThroughValidator(FormatValue(value).Text());
    loadedText_ = GetText();
    loadedValue_ = value;
    return 1;
}

long RealEdit::Store()
{
    if (!buffer_)
        return 0;
    const zString text = GetText();
    // An untouched field keeps its value: "%f" would turn values below 5e-7 into 0.
    if (text == loadedText_)
        *static_cast<double*>(buffer_) = loadedValue_;
    else
        *static_cast<double*>(buffer_) = atof(NormalisedText().Text());
    return 1;
}

double* RealEdit::SwapBuffer(double* value)
{
    double* previous = static_cast<double*>(buffer_);
    buffer_ = value;
    return previous;
}

IntegerEdit::IntegerEdit(WindowCL* parent, const RECT& rect, DWORD style, unsigned id, Validator* validator,
                         int mode, int* value)
    : FormattedEdit(parent, rect, style, nullptr, id, validator, mode)
{
    buffer_ = value;
    Load();
}

IntegerEdit::IntegerEdit(WindowCL* parent, unsigned id, Validator* validator, int mode, int* value)
    : FormattedEdit(parent, id, validator, mode)
{
    buffer_ = value;
    Load();
}

IntegerEdit* IntegerEdit::FromTemplate(WindowCL* parent, unsigned id, Validator* validator, int mode, int* value)
{
    return new IntegerEdit(parent, id, validator, mode, value);
}

zString IntegerEdit::FormatValue(int value)
{
    char text[32];
    snprintf(text, sizeof text, "%s%d", value >= 0 ? "+" : "", value);
    return zString(text);
}

long IntegerEdit::Load()
{
    LoadThroughValidator(FormatValue(buffer_ ? *static_cast<int*>(buffer_) : 0).Text());
    return 1;
}

long IntegerEdit::Store()
{
    if (!buffer_)
        return 0;
    *static_cast<int*>(buffer_) = static_cast<int>(atol(NormalisedText().Text()));
    return 1;
}

StringEdit::StringEdit(WindowCL* parent, unsigned id, Validator* validator, int mode, zString* value)
    : FormattedEdit(parent, id, validator, mode)
{
    buffer_ = value;
    Load();
}

StringEdit* StringEdit::FromTemplate(WindowCL* parent, unsigned id, Validator* validator, int mode, zString* value)
{
    return new StringEdit(parent, id, validator, mode, value);
}

long StringEdit::Load()
{
    LoadThroughValidator(buffer_ ? static_cast<zString*>(buffer_)->Text() : "");
    return 1;
}

long StringEdit::Store()
{
    if (!buffer_)
        return 0;
    *static_cast<zString*>(buffer_) = NormalisedText();
    return 1;
}
