#include "influence/ArcDialogs.h"

#include "widgets/ProgramDialog.h"
#include "framework/dialog/ButtonCtrl.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/dialog/StaticCtrl.h"
#include "framework/draw/GdiScopes.h"
#include "framework/window/LayoutManager.h"
#include "framework/window/WindowEvent.h"
#include "influence/InfluenceDiagramWindow.h"
#include "influence/NodePropertyActions.h"
#include "model/InfluenceNode.h"

#include "CommandIds.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

namespace {

const char* const kInstructions[] = {"Symm", "Force >", "Elim >", "Skip", "Skip All"};
constexpr int kInstructionCount = 5;

bool NamesState(int32_t instruction)
{
    return instruction == ArcInfluenceRow::Force || instruction == ArcInfluenceRow::Eliminate;
}

bool Skips(int32_t instruction)
{
    return instruction == ArcInfluenceRow::Skip || instruction == ArcInfluenceRow::SkipAll;
}

bool Checked(const ButtonCtrl* box)
{
    return box != nullptr && SendMessageA(box->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The arc across the area, ending in a filled arrowhead whose sides spread 2 pi / 7 apart.
void PaintArcPicture(HDC dc, const RECT& area)
{
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    const int y = (area.top + area.bottom) / 2;
    const POINT start{area.left + 2, y};
    const POINT end{area.right - 3, y};
    ScopedPen pen(dc, RGB(0, 0, 0));
    ScopedBrush black(dc, RGB(0, 0, 0));
    MoveToEx(dc, start.x, start.y, nullptr);
    LineTo(dc, end.x, end.y);
    const double half = 3.14159265358979 / 7;
    const double size = std::max<int>(4, (area.bottom - area.top) / 2);
    const POINT head[3] = {end,
                           {end.x - static_cast<int>(size * std::cos(half)), y - static_cast<int>(size * std::sin(half))},
                           {end.x - static_cast<int>(size * std::cos(half)), y + static_cast<int>(size * std::sin(half))}};
    Polygon(dc, head, 3);
}

// The comment edit and its "&Show" box, which typing checks; OK reads both into comment and show, and then
// runs the step given.
void BindComment(ProgramDialog& dialog, const ArcSettings& settings, unsigned editId, unsigned showId, zString& comment,
                 int& show, std::function<void()> then)
{
    dialog.SetItemText(editId, settings.comment.Text());
    dialog.SetChecked(showId, settings.showComment != 0);
    dialog.OnNotification(editId, EN_CHANGE, [&dialog, showId] { dialog.SetChecked(showId, true); });
    dialog.OnButton(IDOK, [&dialog, &comment, &show, editId, showId, then] {
        comment = dialog.ItemText(editId);
        show = dialog.IsChecked(showId) ? 1 : 0;
        then();
        dialog.Accept();
    });
    dialog.SelectField(editId);
}

void EditArcComment(InfluenceDiagramWindow& window, InfluenceArc& arc)
{
    namespace Edit = Ctl::EditArc;
    ProgramDialog dialog(DialogRes::EditArc);
    zString comment;
    int show = 0;
    BindComment(dialog, arc.settings, Edit::CommentEdit, Edit::Show, comment, show, [] {});
    if (dialog.Run() != IDOK)
        return;
    if (comment == arc.settings.comment && show == arc.settings.showComment && arc.settings.rows.empty() &&
        arc.settings.hidden == 0)
        return;
    ArcSettings settings;
    settings.comment = comment;
    settings.showComment = static_cast<int16_t>(show != 0);
    window.AddUndoAction(new DiagramEditArcAction(&window, &arc, std::move(settings)));
}

void EditArcData(InfluenceDiagramWindow& window, InfluenceArc& arc, const InfluenceNodeRecord& source,
                 const InfluenceNodeRecord& target)
{
    namespace Data = Ctl::ArcData;
    ProgramDialog dialog(DialogRes::ArcData);
    zString comment;
    int show = 0;
    ArcSettings settings;
    ProbValueGrid* grid = nullptr;
    BindComment(dialog, arc.settings, Data::CommentEdit, Data::Show, comment, show,
                [&] { settings = grid->Apply(comment, static_cast<int16_t>(show != 0)); });
    dialog.SetItemText(Data::SourceName, ShortenLabel(source.name.Text(), 24).Text());
    dialog.SetItemText(Data::TargetName, ShortenLabel(target.name.Text(), 24).Text());
    if (source.kind == InfluenceKind::Decision)
        dialog.SetItemText(Data::OutcomeText, "Alternative:");
    dialog.PaintArea(Data::ArcPicture, PaintArcPicture);
    grid = new ProbValueGrid(dialog, Data::Grid, arc.settings, source, target);
    if (dialog.Run() != IDOK)
        return;
    window.AddUndoAction(new DiagramEditArcAction(&window, &arc, std::move(settings)));
}

} // namespace

void EditArcSettings(InfluenceDiagramWindow& window, InfluenceArc& arc)
{
    window.EndInPlaceEdit();
    InfluenceNodeRecord* source = arc.EffectiveTail();
    InfluenceNodeRecord* target = arc.head != nullptr ? arc.head->Effective() : nullptr;
    if (source != nullptr && target != nullptr && source->kind != InfluenceKind::Deterministic &&
        source->kind != InfluenceKind::Value && target->kind != InfluenceKind::Value && source->OutcomeCount() > 0 &&
        target->OutcomeCount() > 0) {
        arc.SyncRows();
        EditArcData(window, arc, *source, *target);
    } else {
        EditArcComment(window, arc);
    }
}

ProbValueGrid::ProbValueGrid(ProgramDialog& dialog, unsigned areaId, const ArcSettings& settings,
                             const InfluenceNodeRecord& source, const InfluenceNodeRecord& target)
    : PaneWindowCL(&dialog, new LayoutManager(dialog.TakePlaceOf(areaId), nullptr),
                   WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_CLIPCHILDREN),
      dialog_(dialog)
{
    background_ = GetSysColor(COLOR_BTNFACE);
    // The grid takes over the area's id.
    SetWindowLongPtrA(GetDlgItem(dialog.Handle(), static_cast<int>(areaId)), GWLP_ID, 0xFFFF);
    SetWindowLongPtrA(Handle(), GWLP_ID, static_cast<LONG_PTR>(areaId));
    SetId(areaId);
    AddMessageHandler(this, &ProbValueGrid::OnScroll, WM_VSCROLL);
    RECT client{};
    GetClientRect(Handle(), &client);
    width_ = client.right;
    for (int j = 0; j < target.OutcomeCount(); ++j)
        targetStates_.push_back(*target.outcomeNames.At(j));
    // Which boxes the target allows: a chance node that may be defined takes both.
    const bool chance = target.kind == InfluenceKind::Chance;
    const bool never = target.neverDefine != 0;
    const bool withProbs = chance;
    const bool withValues = !(chance && never) && !(!chance && never);
    const HFONT font = dialog.DialogFont();
    for (int i = 0; i < source.OutcomeCount(); ++i) {
        Row row;
        if (i < static_cast<int>(settings.rows.size()))
            row.entry = settings.rows[static_cast<size_t>(i)];
        if (!withProbs)
            row.entry.affectsProbabilities = 0;
        if (!withValues)
            row.entry.affectsValues = 0;
        const int top = kRowPitch * i;
        auto* label = new StaticCtrl(this, RECT{4, top + 12, width_ * 36 / 100, top + 30},
                                     WS_CHILD | WS_VISIBLE | SS_NOPREFIX,
                                     ShortenLabel(source.outcomeNames.At(i)->Text(), 24).Text(), 0);
        SendMessageA(label->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        const unsigned boxId = kFirstBox + 2 * static_cast<unsigned>(i);
        const int boxLeft = width_ * 37 / 100;
        const int boxRight = width_ * 60 / 100;
        const auto box = [&](const char* text, unsigned id, int y, uint8_t flag) {
            auto* made = new StyledButtonCtrl(this, RECT{boxLeft, y, boxRight, y + 18}, BS_AUTOCHECKBOX | WS_TABSTOP,
                                              text, id);
            SendMessageA(made->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
            SendMessageA(made->Handle(), BM_SETCHECK, flag != 0 ? BST_CHECKED : 0, 0);
            EnableWindow(made->Handle(), !Skips(row.entry.influenceType));
            return made;
        };
        if (withProbs)
            row.probs = box("Probs", boxId, withValues ? top + 2 : top + 12, row.entry.affectsProbabilities);
        if (withValues)
            row.values = box("Values", boxId + 1, withProbs ? top + 21 : top + 12, row.entry.affectsValues);
        rows_.push_back(row);
        MakeButtons(i);
    }
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, kRowPitch * RowCount() - 1,
                    static_cast<UINT>(client.bottom), 0, 0};
    SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
}

ProbValueGrid::~ProbValueGrid() = default;

// The row's instruction button, and its target-state button when the instruction names a state.
void ProbValueGrid::MakeButtons(int i)
{
    Row& row = rows_[static_cast<size_t>(i)];
    delete row.instruction;
    delete row.state;
    row.instruction = row.state = nullptr;
    const HFONT font = dialog_.DialogFont();
    const int top = kRowPitch * i - scroll_;
    const int type = std::clamp<int>(row.entry.influenceType, 0, kInstructionCount - 1);
    row.instruction = new StyledButtonCtrl(
        this, RECT{width_ * 61 / 100, top + 10, width_ * 79 / 100, top + 32}, BS_PUSHBUTTON | WS_TABSTOP,
        kInstructions[type], kFirstInstruction + 5 * static_cast<unsigned>(i) + static_cast<unsigned>(type));
    SendMessageA(row.instruction->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const int states = static_cast<int>(targetStates_.size());
    if (!NamesState(row.entry.influenceType) || states == 0)
        return;
    const int state = std::clamp<int>(row.entry.targetState, 0, states - 1);
    row.entry.targetState = state;
    row.state = new StyledButtonCtrl(
        this, RECT{width_ * 80 / 100, top + 10, width_ - 4, top + 32}, BS_PUSHBUTTON | WS_TABSTOP,
        ShortenLabel(targetStates_[static_cast<size_t>(state)].Text(), 16).Text(),
        kFirstTargetState + static_cast<unsigned>(i * states + state));
    SendMessageA(row.state->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

long ProbValueGrid::OnCommandId(unsigned id, unsigned code, HWND control)
{
    const int states = static_cast<int>(targetStates_.size());
    const unsigned instructionsEnd = kFirstInstruction + 5 * static_cast<unsigned>(RowCount());
    const unsigned statesEnd = kFirstTargetState + static_cast<unsigned>(RowCount() * states);
    const bool instruction = id >= kFirstInstruction && id < instructionsEnd;
    const bool state = !instruction && id >= kFirstTargetState && id < statesEnd;
    if (!instruction && !state)
        return PaneWindowCL::OnCommandId(id, code, control);
    // A button pressed opens its menu; a menu's item chooses.
    if (control != nullptr) {
        const int row = instruction ? static_cast<int>(id - kFirstInstruction) / 5
                                    : static_cast<int>(id - kFirstTargetState) / std::max(states, 1);
        PopUp(row, instruction);
    } else {
        Choose(id);
    }
    return 1;
}

void ProbValueGrid::PopUp(int i, bool instruction)
{
    const Row& row = rows_[static_cast<size_t>(i)];
    const ButtonCtrl* button = instruction ? row.instruction : row.state;
    HMENU menu = CreatePopupMenu();
    const int states = static_cast<int>(targetStates_.size());
    const int count = instruction ? kInstructionCount : states;
    const unsigned first = instruction ? kFirstInstruction + 5 * static_cast<unsigned>(i)
                                       : kFirstTargetState + static_cast<unsigned>(i * states);
    for (int k = 0; k < count; ++k) {
        const char* text = instruction ? kInstructions[k] : targetStates_[static_cast<size_t>(k)].Text();
        AppendMenuA(menu, MF_STRING, first + static_cast<unsigned>(k), text);
    }
    RECT rect{};
    GetWindowRect(button->Handle(), &rect);
    const unsigned picked = static_cast<unsigned>(TrackPopupMenu(
        menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY, rect.left, rect.bottom, 0, Handle(), nullptr));
    DestroyMenu(menu);
    if (picked != 0)
        Choose(picked);
}

// Skipping clears and disables the row's boxes; any other instruction enables them again.
void ProbValueGrid::Choose(unsigned id)
{
    const int states = static_cast<int>(targetStates_.size());
    int i = 0;
    if (id >= kFirstInstruction) {
        i = static_cast<int>(id - kFirstInstruction) / 5;
        Row& row = rows_[static_cast<size_t>(i)];
        row.entry.influenceType = static_cast<int32_t>(id - kFirstInstruction) % 5;
        for (ButtonCtrl* box : {row.probs, row.values}) {
            if (box == nullptr)
                continue;
            if (Skips(row.entry.influenceType))
                SendMessageA(box->Handle(), BM_SETCHECK, 0, 0);
            EnableWindow(box->Handle(), !Skips(row.entry.influenceType));
        }
    } else {
        i = static_cast<int>(id - kFirstTargetState) / std::max(states, 1);
        rows_[static_cast<size_t>(i)].entry.targetState = static_cast<int32_t>(id - kFirstTargetState) % std::max(states, 1);
    }
    MakeButtons(i);
}

ArcSettings ProbValueGrid::Apply(const zString& comment, int16_t show) const
{
    ArcSettings settings;
    settings.comment = comment;
    settings.showComment = show;
    bool any = false;
    for (const Row& row : rows_) {
        ArcInfluenceRow entry;
        entry.influenceType = row.entry.influenceType;
        entry.targetState = row.entry.targetState;
        if (row.probs != nullptr)
            entry.affectsProbabilities = Checked(row.probs) ? 1 : 0;
        if (row.values != nullptr)
            entry.affectsValues = Checked(row.values) ? 1 : 0;
        any = any || Checked(row.probs) || Checked(row.values);
        settings.rows.push_back(entry);
    }
    settings.hidden = any ? 0 : 1;
    return settings;
}

long ProbValueGrid::OnScroll(WindowEvent* event)
{
    RECT client{};
    GetClientRect(Handle(), &client);
    const int page = client.bottom;
    switch (event->ScrollCode()) {
    case SB_LINEUP:
        ScrollTo(scroll_ - kRowPitch);
        break;
    case SB_LINEDOWN:
        ScrollTo(scroll_ + kRowPitch);
        break;
    case SB_PAGEUP:
        ScrollTo(scroll_ - page);
        break;
    case SB_PAGEDOWN:
        ScrollTo(scroll_ + page);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        ScrollTo(event->ThumbPosition());
        break;
    default:
        break;
    }
    return 1;
}

void ProbValueGrid::ScrollTo(int position)
{
    RECT client{};
    GetClientRect(Handle(), &client);
    const int most = std::max<int>(0, kRowPitch * RowCount() - client.bottom);
    position = std::clamp(position, 0, most);
    if (position == scroll_)
        return;
    ScrollWindowEx(Handle(), 0, scroll_ - position, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    scroll_ = position;
    SetScrollPos(Handle(), SB_VERT, scroll_, TRUE);
}
