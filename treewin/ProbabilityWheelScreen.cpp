// The probability wheel on the screen: the pie (ProbabilityWheelPie.h), and the legend of the branches with
// a value box per branch and, with the store column, the list choosing where each value goes.

#include "treewin/NodeCommentWindow.h"
#include "treewin/ProbabilityWheel.h"
#include "treewin/ProbabilityWheelPie.h"
#include "widgets/ProgramDialog.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatting.h"
#include "foundation/NumericFormatParsing.h"
#include "framework/dialog/ComboBoxCtrl.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/draw/GdiScopes.h"
#include "framework/window/LayoutManager.h"
#include "framework/window/PaneWindowCL.h"
#include "model/DocVariable.h"
#include "model/TreeNode.h"

#include "CommandIds.h"

#include <string>

namespace Ids = Ctl::ProbabilityWheel;

namespace {

constexpr int kRowStep = 22;
constexpr int kValueBoxWidth = 44;
constexpr int kStoreListWidth = 110;  // not a resource id: dialog units

// The two panes tell each other of a change through this.
struct WheelScreen {
    ProbabilityWheelDialog& wheel;
    ProgramDialog& dialog;
    PaneWindowCL* pie = nullptr;
    class LegendPane* legend = nullptr;
    // The shares changed other than by typing into value box `typed` (-1: by a drag or a choice).
    void Changed(int typed);
};

// One row per branch: its colour, its name, its value box (the last one shows what the others leave) and,
// with the store column, the list of where its value goes.
class LegendPane : public PaneWindowCL {
public:
    LegendPane(ProgramDialog& owner, WheelScreen& screen);

    long Paint(WindowEvent*) override;
    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    // Writes the shares into the value boxes, all but the one being typed into.
    void ShowValues(int typed);
    // The lists' choices into the store targets.
    void StoreTargets();
    HWND StoreList(int k) const { return lists_.empty() ? nullptr : lists_[static_cast<size_t>(k)]->Handle(); }

private:
    int NameWidth() const;

    WheelScreen& screen_;
    std::vector<EditCtrl*> boxes_;
    std::vector<ComboBoxCtrl*> lists_;
    bool showing_ = false;
};

LegendPane::LegendPane(ProgramDialog& owner, WheelScreen& screen)
    : PaneWindowCL(&owner, new LayoutManager(owner.TakePlaceOf(Ids::LegendArea), nullptr), WS_CHILD | WS_VISIBLE),
      screen_(screen)
{
    background_ = GetSysColor(COLOR_BTNFACE);
    RECT client;
    GetClientRect(Handle(), &client);
    const ProbabilityWheelDialog& wheel = screen.wheel;
    const size_t count = wheel.shares.size();
    const HFONT font = owner.DialogFont();
    const int listLeft = client.right - kStoreListWidth;
    const int boxLeft = (wheel.targets != nullptr ? listLeft - 4 : client.right) - kValueBoxWidth;
    for (size_t k = 0; k < count; ++k) {
        const int top = 2 + kRowStep * static_cast<int>(k);
        const unsigned id = DialogRes::SnapshotFormat + static_cast<unsigned>(k);
        const DWORD readOnly = k + 1 == count ? ES_READONLY : 0;
        boxes_.push_back(new BorderedEditCtrl(this, RECT{boxLeft, top, boxLeft + kValueBoxWidth, top + 20},
                                              WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL | readOnly, "", id));
        SendMessageA(boxes_.back()->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (wheel.targets == nullptr)
            continue;
        auto* list = new ComboBoxCtrl(this, RECT{listLeft, top, client.right, top + 180},
                                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT, "",
                                      DialogRes::AddOutcomes + static_cast<unsigned>(k));
        list->Create();
        SendMessageA(list->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        list->AddString(zString(kStoreNumerically));
        list->AddString(zString("#"));
        for (int v = 0; wheel.variables != nullptr && v < wheel.variables->Count(); ++v)
            list->AddString(wheel.variables->At(v)->name);
        const zString* target = wheel.targets->At(static_cast<int>(k));
        const LRESULT found = SendMessageA(list->Handle(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(target != nullptr ? target->Text() : ""));
        SendMessageA(list->Handle(), CB_SETCURSEL, found == CB_ERR ? 0 : static_cast<WPARAM>(found), 0);
        lists_.push_back(list);
    }
    ShowValues(-1);
    // The first value is the one to type over.
    boxes_.front()->SetSelection(0, -1);
    SetFocus(boxes_.front()->Handle());
}

int LegendPane::NameWidth() const
{
    RECT box{};
    GetWindowRect(boxes_.front()->Handle(), &box);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&box), 2);
    return box.left - 15;
}

long LegendPane::Paint(WindowEvent*)
{
    const HDC dc = PaintContext();
    ScopedSelection font(dc, screen_.dialog.DialogFont());
    SetBkMode(dc, TRANSPARENT);
    const ProbabilityWheelDialog& wheel = screen_.wheel;
    for (size_t k = 0; k < wheel.shares.size(); ++k) {
        const int y = 4 + kRowStep * static_cast<int>(k);
        ScopedBrush brush(dc, WheelSliceColour(k, wheel.shares.size() - 1));
        Rectangle(dc, 0, y + 3, 8, y + 11);
        const zString* name = wheel.names.At(static_cast<int>(k));
        RECT text{11, y, 11 + NameWidth(), y + kRowStep};
        if (name != nullptr)
            DrawTextA(dc, name->Text(), -1, &text, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    return 1;
}

void LegendPane::ShowValues(int typed)
{
    // The texts are the values as they will be stored: the last is 1 less the others as shown.
    showing_ = true;
    double sum = 0.0;
    for (size_t k = 0; k < boxes_.size(); ++k) {
        zString text;
        if (k + 1 < boxes_.size())
            sum += RoundAsDisplayed(screen_.wheel.shares[k], &text, nullptr, 2);
        else
            FormatNumber(DefaultNumericFormat, 1.0 - sum, text, false, false, 2);
        if (static_cast<int>(k) != typed)
            boxes_[k]->SetText(text);
    }
    showing_ = false;
}

long LegendPane::OnCommandId(unsigned id, unsigned code, HWND control)
{
    const size_t k = id - DialogRes::SnapshotFormat;
    if (k >= boxes_.size() || showing_)
        return PaneWindowCL::OnCommandId(id, code, control);
    if (code == EN_CHANGE) {
        double value = 0.0;
        int error = 0;
        const zString text = boxes_[k]->GetText();
        ParseNumber(text.Text(), value, error);
        if (error == 0 && screen_.wheel.SetShare(k, value))
            screen_.Changed(static_cast<int>(k));
    } else if (code == EN_KILLFOCUS) {
        ShowValues(-1);
    }
    return 1;
}

void LegendPane::StoreTargets()
{
    for (size_t k = 0; k < lists_.size(); ++k) {
        char text[64] = "";
        GetWindowTextA(lists_[k]->Handle(), text, sizeof text);
        *screen_.wheel.targets->At(static_cast<int>(k)) = text;
    }
}

void WheelScreen::Changed(int typed)
{
    InvalidateRect(pie->Handle(), nullptr, TRUE);
    legend->ShowValues(typed);
}

} // namespace

int ProbabilityWheelDialog::ShowOnScreen()
{
    ProgramDialog dialog(targets != nullptr ? DialogRes::ProbabilityWheel3330 : DialogRes::ProbabilityWheel);
    WheelScreen screen{*this, dialog};
    // The panes belong to the dialog, which deletes them.
    screen.pie = new WheelPiePane(
        dialog, Ids::AdjustTheSizesOfTheShadedRegionsToReflectYourBestAssessmentOfTheProbabilitiesArea, *this,
        [&screen] { screen.Changed(-1); });
    auto* legend = new LegendPane(dialog, screen);
    screen.legend = legend;
    dialog.ShowItem(Ids::KeepProportions, shares.size() > 2);
    dialog.ShowItem(Ids::Comment, node != nullptr && !node->ExtraListEmpty());
    dialog.OnButton(Ids::KeepProportions, [&] {
        keepProportions = IsDlgButtonChecked(dialog.Handle(), Ids::KeepProportions) == BST_CHECKED;
    });
    dialog.OnButton(Ids::Comment, [&] { NodeCommentDialog(node).Run(); });
    dialog.OnButton(IDOK, [&] {
        legend->StoreTargets();
        const int repeated = RepeatedTarget();
        if (repeated < 0) {
            dialog.Accept();
            return;
        }
        ShowRepeatedTarget(*targets->At(repeated));
        SetFocus(legend->StoreList(repeated));
    });
    return dialog.Run();
}
