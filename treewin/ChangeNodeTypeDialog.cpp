#include "treewin/ChangeNodeTypeDialog.h"

#include "widgets/CommandLine.h"
#include "dialogs/ChoiceControls.h"
#include "model/NodeChildList.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/DrawingPrimitives.h"
#include "model/TreeNode.h"
#include "treewin/NodeSymbols.h"
#include "treewin/TreePainter.h"

#include "CommandIds.h"

#include <algorithm>

namespace {

// Each button with its kind and the picture static beside it.
struct KindButton {
    unsigned button;
    int kind;
    unsigned picture;
};
namespace Kinds = Ctl::ChangeNodeType2070;
constexpr KindButton kKindButtons[] = {
    {Kinds::Chance, ChanceNode, Kinds::Area2083},     {Kinds::Terminal, TerminalNode, Kinds::Area2081},
    {Kinds::Decision, DecisionNode, Kinds::Area2082}, {Kinds::Logic, LogicNode, Kinds::Area2084},
    {Kinds::Markov, MarkovNode, Kinds::Area2085},     {Kinds::Label, LabelNode, Kinds::Area2086}};

const KindButton* ButtonOfKind(int kind)
{
    for (const KindButton& entry : kKindButtons)
        if (entry.kind == (kind == ReversedDecisionNode ? DecisionNode : kind))
            return &entry;
    return nullptr;
}

int KindOfButton(int button)
{
    for (const KindButton& entry : kKindButtons)
        if (static_cast<int>(entry.button) == button)
            return entry.kind;
    return -1;
}

// The kind's symbol centred in the area, on a node made for the purpose.
void PaintSymbol(TreeWindow& window, int kind, HDC dc, const RECT& area)
{
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    BitmapDisplay picture(width, height);
    DisplayLock lock(picture);
    DrawShape(picture, RECT{0, 0, width, height}, RGB(255, 255, 255));
    PaintContext context(window, picture, nullptr, nullptr);
    TreeNode sample;
    sample.kind = kind;
    const int side = std::max(1, std::min(width, height) - 4);
    const RECT symbol{(width - side) / 2, (height - side) / 2, (width + side) / 2, (height + side) / 2};
    PaintNodeSymbol(&sample, symbol, context, false, false);
    BitBlt(dc, area.left, area.top, width, height, picture.DeviceContext(), 0, 0, SRCCOPY);
}

// Without a common kind OK waits for a choice.
int ShowOnScreen(ChangeNodeTypeDialog& change)
{
    ProgramDialog dialog(DialogRes::ChangeNodeType2070);
    for (const KindButton& entry : kKindButtons)
        if (!change.Shows(entry.kind))
            for (unsigned id : {entry.button, entry.picture})
                dialog.ShowItem(id, false);
    for (const KindButton& entry : kKindButtons)
        if (change.Offers(entry.kind))
            dialog.PaintArea(entry.picture, [&change, &entry](HDC dc, const RECT& area) {
                PaintSymbol(change.Window(), entry.kind, dc, area);
            });
    const KindButton* current = ButtonOfKind(change.kind);
    int checked = current != nullptr ? static_cast<int>(current->button) : 0;
    dialog.EnableItem(IDOK, current != nullptr);
    for (const KindButton& entry : kKindButtons)
        dialog.OnButton(entry.button, [&dialog] { dialog.EnableItem(IDOK, true); });
    const int answer =
        RunRadioChoice(dialog, Ctl::ChangeNodeType2070::Chance, Ctl::ChangeNodeType2070::Label, checked,
                       [&change](unsigned id) { return change.Offers(KindOfButton(static_cast<int>(id))); });
    change.kind = KindOfButton(checked);
    return answer;
}

} // namespace

ChangeNodeTypeDialog::ChangeNodeTypeDialog(TreeWindow& window, const NodeChildList& nodes)
    : window_(window), shortMenus_(CommandLineFlag(ShortMenusBit))
{
    bool belowMarkov = false;
    int mostBranches = 0;
    for (int i = 0; i < nodes.Count(); ++i) {
        const TreeNode* node = nodes.At(i);
        if (i == 0)
            kind = node->kind;
        else if (node->kind != kind)
            kind = -1;
        belowMarkov = belowMarkov || node->IsInMarkovSubtree();
        mostBranches = std::max<int>(mostBranches, node->childCount);
    }
    for (const KindButton& entry : kKindButtons)
        offered_ |= 1u << entry.kind;
    if (belowMarkov)
        offered_ &= ~((1u << MarkovNode) | (1u << DecisionNode));
    if (mostBranches > 0)
        offered_ &= ~(1u << TerminalNode);
    if (mostBranches > 1)
        offered_ &= ~(1u << LabelNode);
    if (shortMenus_)
        offered_ &= ~((1u << MarkovNode) | (1u << LogicNode) | (1u << LabelNode));
}

bool ChangeNodeTypeDialog::Shows(int kindShown) const
{
    return !shortMenus_ || (kindShown != MarkovNode && kindShown != LogicNode && kindShown != LabelNode);
}

bool ChangeNodeTypeDialog::Offers(int kindOffered) const
{
    const KindButton* entry = ButtonOfKind(kindOffered);
    return entry != nullptr && (offered_ & (1u << entry->kind)) != 0;
}

int ChangeNodeTypeDialog::Run()
{
    const int answer = HasPresenter() ? Present() : ShowOnScreen(*this);
    return answer == IDOK && Offers(kind) ? kind : -1;
}
