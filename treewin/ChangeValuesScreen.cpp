// Change Values on the screen: one row per parameter in a pane over the dialog's area, each with its label,
// its value box (a number edit opens over the selected one) or its switch, and "?" for the variable's comment.

#include "widgets/RangeValidator.h"
#include "treewin/ChangeValuesDialog.h"
#include "treewin/NamedCommentDialog.h"
#include "treewin/ProbabilityWheel.h"
#include "widgets/ProgramDialog.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatting.h"
#include "framework/dialog/ButtonCtrl.h"
#include "framework/dialog/DialogUnits.h"
#include "framework/dialog/FormattedEdit.h"
#include "framework/dialog/StaticCtrl.h"
#include "framework/draw/GdiScopes.h"
#include "framework/window/LayoutManager.h"
#include "framework/window/PaneWindowCL.h"
#include "framework/window/WindowEvent.h"
#include "model/CustomInterfaceSettings.h"
#include "model/DocVariable.h"
#include "model/TreeDocument.h"

#include "CommandIds.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace Ids = Ctl::ChangeValues;

namespace {

constexpr int kRowHeight = 25;
// Horizontal places in dialog units: the label, the value box and the "?" button.
// not a resource id: dialog units
constexpr int kLabelLeft = 5, kLabelWidth = 120, kValueLeft = 128, kValueWidth = 56, kHelpLeft = 188, kHelpWidth = 10;
constexpr unsigned kFirstSwitch = 6800, kFirstHelp = 7000, kEditor = 3586;

// The rows (the custom interface window). Clicking a value box selects its row; the dialog's buttons act on
// the selected row through it.
class ParameterRows : public PaneWindowCL {
public:
    ParameterRows(ProgramDialog& dialog, CustomInterfaceSettings& parameters, const TreeDocument& tree);

    long Paint(WindowEvent*) override;
    long OnMouseDown(const MouseInput& mouse) override;
    long OnCommandId(unsigned id, unsigned code, HWND control) override;

    // Stores the open editor into its row and closes it; false, keeping it open, when its value is refused.
    bool Commit();
    // Commits, then makes the row the selected one, opening an editor over a number's box.
    void Select(int row);
    // The selected row's working value as the editor or check box shows it, the editor focused.
    void ShowSelected();
    void UseDefault(int row);
    void AssessWithWheel();
    // The switches' checks into their working values.
    void StoreSwitches();
    int Selected() const { return selected_; }

protected:
    // The vertical scroll bar moves the rows in steps of one row.
    long HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer) override;

private:
    int ClientHeight() const;
    // Scrolls so that the rows start that many pixels above the pane's top, within the rows' extent.
    void ScrollTo(int top);
    CustomInterfaceParameter& Row(int i) const { return *parameters_.At(i); }
    RECT ValueBox(int i) const;
    long OnEditorKey(WindowEvent* event);
    void EnableButtons();

    ProgramDialog& dialog_;
    CustomInterfaceSettings& parameters_;
    const TreeDocument& tree_;
    zDialogUnit units_;
    std::vector<ButtonCtrl*> switches_;
    FormattedEdit* editor_ = nullptr;
    double realBuffer_ = 0.0;
    int integerBuffer_ = 0;
    int selected_ = 0;
    // Pixels the rows are scrolled up by.
    int top_ = 0;
    // What the editor showed when it was last loaded.
    zString shownText_;
};

zDialogUnit FontUnits(const ProgramDialog& dialog)
{
    ScopedScreenInfoContext dc;
    ScopedSelection font(dc.Get(), dialog.DialogFont());
    return zDialogUnit(dc.Get());
}

ParameterRows::ParameterRows(ProgramDialog& dialog, CustomInterfaceSettings& parameters, const TreeDocument& tree)
    : PaneWindowCL(&dialog, new LayoutManager(dialog.TakePlaceOf(Ids::Area), nullptr),
                   WS_CHILD | WS_VISIBLE | WS_VSCROLL),
      dialog_(dialog), parameters_(parameters), tree_(tree), units_(FontUnits(dialog))
{
    background_ = GetSysColor(COLOR_BTNFACE);
    const HFONT font = dialog.DialogFont();
    const auto withFont = [font](WindowCL* control) {
        SendMessageA(control->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    };
    for (int i = 0; i < parameters_.Count(); ++i) {
        const CustomInterfaceParameter& row = Row(i);
        const DocVariable* variable = tree.FindVariable(row.variableName.Text(), false);
        zString label(row.variableName);
        if (variable != nullptr)
            variable->GetLabel(label);
        // The label is cut with "..." to fit its column.
        const RECT labelRect{units_.ToPixelsX(kLabelLeft), kRowHeight * i + 8,
                             units_.ToPixelsX(kLabelLeft + kLabelWidth) - 2, kRowHeight * i + 23};
        withFont(new StaticCtrl(this, labelRect, WS_CHILD | WS_VISIBLE | SS_NOPREFIX,
                                dialog.FittedText(label.Text(), kLabelWidth - 1).c_str(), 0));
        if (variable != nullptr && !variable->comment.IsEmpty()) {
            const RECT help{units_.ToPixelsX(kHelpLeft), kRowHeight * i + 2,
                            units_.ToPixelsX(kHelpLeft + kHelpWidth), kRowHeight * i + 22};
            withFont(new StyledButtonCtrl(this, help, BS_PUSHBUTTON | WS_TABSTOP, "?", kFirstHelp + i));
        }
        ButtonCtrl* check = nullptr;
        if (row.onOffSwitch != 0) {
            check = new StyledButtonCtrl(this, ValueBox(i), BS_AUTOCHECKBOX | WS_TABSTOP, row.switchLabel.Text(),
                                         kFirstSwitch + i);
            withFont(check);
            SendMessageA(check->Handle(), BM_SETCHECK, static_cast<int>(row.workingValue) != 0 ? BST_CHECKED : 0, 0);
        }
        switches_.push_back(check);
    }
    SCROLLINFO bar{sizeof bar, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0,
                   kRowHeight * parameters_.Count() - 1, static_cast<UINT>(ClientHeight()), 0, 0};
    SetScrollInfo(Handle(), SB_VERT, &bar, TRUE);
}

int ParameterRows::ClientHeight() const
{
    RECT client{};
    GetClientRect(Handle(), &client);
    return client.bottom;
}

void ParameterRows::ScrollTo(int top)
{
    top = std::max(0, std::min(top, kRowHeight * parameters_.Count() - ClientHeight()));
    if (top == top_)
        return;
    // The row controls and the open editor move with the painted boxes.
    ScrollWindowEx(Handle(), 0, top_ - top, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    top_ = top;
    SetScrollPos(Handle(), SB_VERT, top_, TRUE);
}

long ParameterRows::HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer)
{
    // The pane's own bar only: a scroll bar control's messages go on to the base.
    if (event.message != WM_VSCROLL || event.Control() != nullptr)
        return PaneWindowCL::HandleMessage(event, answeredAtOnce, answer);
    const int page = std::max(kRowHeight, ClientHeight() / kRowHeight * kRowHeight);
    switch (event.ScrollCode()) {
    case SB_LINEUP: ScrollTo(top_ - kRowHeight); break;
    case SB_LINEDOWN: ScrollTo(top_ + kRowHeight); break;
    case SB_PAGEUP: ScrollTo(top_ - page); break;
    case SB_PAGEDOWN: ScrollTo(top_ + page); break;
    case SB_TOP: ScrollTo(0); break;
    case SB_BOTTOM: ScrollTo(kRowHeight * parameters_.Count()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: ScrollTo(event.ThumbPosition()); break;
    default: break;
    }
    answeredAtOnce = true;
    answer = 0;
    return 1;
}

RECT ParameterRows::ValueBox(int i) const
{
    return RECT{units_.ToPixelsX(kValueLeft), kRowHeight * i + 2 - top_, units_.ToPixelsX(kValueLeft + kValueWidth),
                kRowHeight * i + 23 - top_};
}

long ParameterRows::Paint(WindowEvent*)
{
    const HDC dc = PaintContext();
    ScopedSelection font(dc, dialog_.DialogFont());
    ScopedPen pen(dc, RGB(128, 128, 128));
    ScopedBrush brush(dc, GetSysColor(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < parameters_.Count(); ++i) {
        const CustomInterfaceParameter& row = Row(i);
        if (row.onOffSwitch != 0)
            continue;
        const RECT box = ValueBox(i);
        Rectangle(dc, box.left, box.top, box.right - 1, box.bottom - 1);
        zString text(row.workingText);
        if (text.IsEmpty())
            FormatNumber(DefaultNumericFormat, row.workingValue, text, false, false, -9);
        TextOutA(dc, box.left + 3, box.top + 3, text.Text(), static_cast<int>(text.Length()));
    }
    return 1;
}

long ParameterRows::OnMouseDown(const MouseInput& mouse)
{
    for (int i = 0; i < parameters_.Count(); ++i) {
        const RECT box = ValueBox(i);
        if (mouse.at.x >= box.left && mouse.at.x <= box.right && mouse.at.y >= box.top && mouse.at.y <= box.bottom) {
            Select(i);
            return 1;
        }
    }
    return 1;
}

bool ParameterRows::Commit()
{
    if (editor_ == nullptr)
        return true;
    if (!editor_->Validate()) {
        SetFocus(editor_->Handle());
        return false;
    }
    editor_->Store();
    CustomInterfaceParameter& row = Row(selected_);
    row.workingValue = row.integerOnly != 0 ? integerBuffer_ : realBuffer_;
    // A value typed is written as typed; one only shown keeps the row's text (none after a default).
    const zString typed = editor_->GetText();
    if (!(typed == shownText_))
        row.workingText = typed;
    // The editor goes once the focus has left it.
    FormattedEdit* closing = editor_;
    editor_ = nullptr;
    delete closing;
    const RECT box = ValueBox(selected_);
    InvalidateRect(Handle(), &box, TRUE);
    EnableButtons();
    return true;
}

void ParameterRows::Select(int row)
{
    if (!Commit() || row < 0 || row >= parameters_.Count())
        return;
    selected_ = row;
    // A row reached by Tab beyond the visible ones is scrolled into view.
    if (kRowHeight * row < top_)
        ScrollTo(kRowHeight * row);
    else if (kRowHeight * (row + 1) > top_ + ClientHeight())
        ScrollTo(kRowHeight * (row + 1) - ClientHeight());
    const CustomInterfaceParameter& parameter = Row(row);
    if (parameter.onOffSwitch == 0) {
        if (parameter.integerOnly != 0) {
            integerBuffer_ = static_cast<int>(parameter.workingValue);
            editor_ = new IntegerEdit(this, ValueBox(row), WS_CHILD | ES_AUTOHSCROLL, kEditor,
                                      new IntegerRangeValidator(static_cast<int>(parameter.low),
                                                                static_cast<int>(parameter.high), 1),
                                      0, &integerBuffer_);
        } else {
            realBuffer_ = parameter.workingValue;
            editor_ = new RealEdit(this, ValueBox(row), WS_CHILD | ES_AUTOHSCROLL, kEditor,
                                   new RealRangeValidator(parameter.low, parameter.high, 1), 0, &realBuffer_);
        }
        if (!parameter.workingText.IsEmpty())
            editor_->SetText(parameter.workingText);
        SendMessageA(editor_->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(dialog_.DialogFont()), FALSE);
        editor_->AddMessageHandler(this, &ParameterRows::OnEditorKey, WM_KEYDOWN);
        editor_->AddMessageHandler(this, &ParameterRows::OnEditorKey, WM_CHAR);
        ::ShowWindow(editor_->Handle(), SW_SHOW);
    }
    ShowSelected();
}

void ParameterRows::ShowSelected()
{
    EnableButtons();
    if (parameters_.Count() == 0)
        return;
    const CustomInterfaceParameter& row = Row(selected_);
    if (editor_ != nullptr) {
        // Loading from the buffer, not from a text: setting the text would store it into the buffer first.
        if (row.workingText.IsEmpty())
            editor_->Load();
        else
            editor_->SetText(row.workingText);
        shownText_ = editor_->GetText();
        editor_->SetSelection(0, -1);
        SetFocus(editor_->Handle());
    } else if (ButtonCtrl* check = switches_[static_cast<size_t>(selected_)]) {
        SendMessageA(check->Handle(), BM_SETCHECK, static_cast<int>(row.workingValue) != 0 ? BST_CHECKED : 0, 0);
        SetFocus(check->Handle());
    }
}

void ParameterRows::EnableButtons()
{
    const bool editing = editor_ != nullptr;
    dialog_.EnableItem(Ids::UseDefault, editing);
    dialog_.EnableItem(Ids::WheelText, editing && Row(selected_).wheelAllowed != 0);
}

void ParameterRows::UseDefault(int row)
{
    CustomInterfaceParameter& parameter = Row(row);
    parameter.workingValue = parameter.defaultValue;
    parameter.workingText.Clear();
    if (row == selected_) {
        realBuffer_ = parameter.defaultValue;
        integerBuffer_ = static_cast<int>(parameter.defaultValue);
    }
    if (ButtonCtrl* check = switches_[static_cast<size_t>(row)])
        SendMessageA(check->Handle(), BM_SETCHECK, static_cast<int>(parameter.defaultValue) != 0 ? BST_CHECKED : 0, 0);
}

void ParameterRows::AssessWithWheel()
{
    if (editor_ == nullptr || !editor_->Validate())
        return;
    editor_->Store();
    CustomInterfaceParameter& row = Row(selected_);
    double value = realBuffer_;
    zString label(row.variableName);
    if (const DocVariable* variable = tree_.FindVariable(row.variableName.Text(), false))
        variable->GetLabel(label);
    if (!RunProbabilityWheelAt(value, label.Text()))
        return;
    zString text;
    row.workingValue = realBuffer_ = RoundAsDisplayed(value, &text, &tree_.NumberFormat(), 2);
    row.workingText = text;
    ShowSelected();
}

void ParameterRows::StoreSwitches()
{
    for (int i = 0; i < parameters_.Count(); ++i)
        if (ButtonCtrl* check = switches_[static_cast<size_t>(i)])
            Row(i).workingValue = SendMessageA(check->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1.0 : 0.0;
}

// Tab in the editor commits it and moves to the next row, after the last to the first.
long ParameterRows::OnEditorKey(WindowEvent* event)
{
    if (event->Key() != VK_TAB)
        return 0;
    if (event->message == WM_KEYDOWN)
        PostMessageA(Handle(), WM_COMMAND, Cmd::ChangeValuesNextRow, 0);
    return 1;
}

long ParameterRows::OnCommandId(unsigned id, unsigned code, HWND control)
{
    const int count = parameters_.Count();
    if (id == Cmd::ChangeValuesNextRow) {
        if (Commit() && count > 0)
            Select((selected_ + 1) % count);
        return 1;
    }
    if (id >= kFirstHelp && id < kFirstHelp + static_cast<unsigned>(count)) {
        if (const DocVariable* variable = tree_.FindVariable(Row(static_cast<int>(id - kFirstHelp)).variableName.Text(), false))
            RunNamedCommentDialog(variable->comment, "Comment");
        return 1;
    }
    if (id >= kFirstSwitch && id < kFirstSwitch + static_cast<unsigned>(count)) {
        // A switch taking the focus commits the open editor; its click selects its row.
        if (code == BN_SETFOCUS || code == BN_CLICKED) {
            if (Commit())
                selected_ = static_cast<int>(id - kFirstSwitch);
        }
        return 1;
    }
    return PaneWindowCL::OnCommandId(id, code, control);
}

} // namespace

int ChangeValuesDialog::ShowOnScreen()
{
    ProgramDialog dialog(DialogRes::ChangeValues);
    dialog.SetItemText(Ids::NodeCaption, nodeCaption.Text());
    // The "&Wheel" button in the place of its placeholder.
    RECT place = dialog.TakePlaceOf(Ids::WheelText);
    auto* wheel = new StyledButtonCtrl(&dialog, place, BS_PUSHBUTTON | WS_TABSTOP, "&Wheel", Ids::WheelText);
    SendMessageA(wheel->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(dialog.DialogFont()), FALSE);
    dialog.ShowItem(Cmd::OptionsNodeComment, false);
    dialog.ShowItem(Ids::UseDefault, defaultsShown);
    dialog.ShowItem(Ids::AllDefaults, defaultsShown);
    auto* rows = new ParameterRows(dialog, parameters, tree_);
    rows->Select(0);
    dialog.OnButton(Ids::UseDefault, [&] {
        if (parameters.Count() == 0)
            return;
        rows->UseDefault(rows->Selected());
        rows->ShowSelected();
    });
    dialog.OnButton(Ids::AllDefaults, [&] {
        for (int i = 0; i < parameters.Count(); ++i)
            rows->UseDefault(i);
        InvalidateRect(rows->Handle(), nullptr, TRUE);
        rows->ShowSelected();
    });
    dialog.OnButton(Ids::WheelText, [&] { rows->AssessWithWheel(); });
    dialog.OnButton(IDOK, [&] {
        if (!rows->Commit())
            return;
        rows->StoreSwitches();
        dialog.Accept();
    });
    return dialog.Run();
}
