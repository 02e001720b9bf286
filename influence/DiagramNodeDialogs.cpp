#include "influence/DiagramNodeDialogs.h"

#include "widgets/ProgramDialog.h"
#include "framework/dialog/PaintedArea.h"
#include "framework/draw/GdiScopes.h"
#include "influence/DiagramPainter.h"
#include "influence/InfluenceDiagramWindow.h"
#include "influence/NodePropertyActions.h"
#include "model/InfluenceNode.h"

#include "CommandIds.h"

#include <string>

namespace {

namespace Shape = Ctl::ChangeNodeType;
namespace Align = Ctl::AlignNodes;

// Each kind's button, top to bottom, with the picture beside it.
struct KindButton {
    unsigned button;
    int kind;
    unsigned picture;
};
constexpr KindButton kKindButtons[] = {{Shape::Decision, InfluenceKind::Decision, Shape::Area2082},
                                       {Shape::Chance, InfluenceKind::Chance, Shape::Area2083},
                                       {Shape::Deterministic, InfluenceKind::Deterministic, Shape::Area2084},
                                       {Shape::Value, InfluenceKind::Value, Shape::Area2081}};

void PaintKind(int kind, HDC dc, const RECT& area)
{
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    const Colour colour = NodeKindColour(kind, false);
    ScopedPen pen(dc, RGB(colour.red, colour.green, colour.blue));
    ScopedSelection hollow(dc, GetStockObject(NULL_BRUSH));
    const int inset = (area.bottom - area.top) / 5;
    PaintNodeShape(dc, kind, area, inset, inset);
}

// The button's mode: the first of each group is none (0).
int ModeOf(const ProgramDialog& dialog, unsigned first)
{
    for (int mode = 0; mode < 4; ++mode)
        if (dialog.IsChecked(first + static_cast<unsigned>(mode)))
            return mode;
    return 0;
}

// The sample's three shapes, each aligned inside the drawing area before it is drawn.
void PaintAlignSample(HDC dc, const RECT& area, int vertical, int horizontal)
{
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    const int width = area.right - area.left - 1;
    const int height = area.bottom - area.top - 1;
    ScopedPen pen(dc, RGB(0, 0, 0));
    ScopedSelection hollow(dc, GetStockObject(NULL_BRUSH));
    const RECT boxes[] = {{0, 0, 15, 15}, {35, 15, 60, 43}, {width - 20, height - 20, width, height}};
    for (int i = 0; i < 3; ++i) {
        const RECT& box = boxes[i];
        const int dx = static_cast<int>(AlignOffset(horizontal, static_cast<float>(box.left), static_cast<float>(box.right), 0,
                                                    static_cast<float>(width)));
        const int dy = static_cast<int>(AlignOffset(vertical, static_cast<float>(box.top), static_cast<float>(box.bottom), 0,
                                                    static_cast<float>(height)));
        const RECT r{area.left + box.left + dx, area.top + box.top + dy, area.left + box.right + dx,
                     area.top + box.bottom + dy};
        if (i == 0) {
            Rectangle(dc, r.left, r.top, r.right, r.bottom);
        } else if (i == 1) {
            Ellipse(dc, r.left, r.top, r.right, r.bottom);
        } else {
            const int midX = (r.left + r.right) / 2;
            const int midY = (r.top + r.bottom) / 2;
            const POINT diamond[] = {{r.left, midY}, {midX, r.top}, {r.right, midY}, {midX, r.bottom}, {r.left, midY}};
            Polyline(dc, diamond, 5);
        }
    }
}

} // namespace

int RunMakeCloneDialog(const std::vector<InfluenceNodeRecord*>& subModels)
{
    namespace Clone = Ctl::MakeClone;
    ProgramDialog dialog(DialogRes::MakeClone);
    dialog.SendToItem(Clone::Models, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("(Main Document Window)"));
    for (const InfluenceNodeRecord* node : subModels) {
        const std::string entry = std::string("Sub-model: ") + ShortenLabel(node->name.Text(), 16).Text();
        dialog.SendToItem(Clone::Models, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    dialog.SendToItem(Clone::Models, LB_SETCURSEL, 0);
    int chosen = -1;
    const auto accept = [&] {
        chosen = static_cast<int>(dialog.SendToItem(Clone::Models, LB_GETCURSEL));
        dialog.Accept();
    };
    dialog.OnButton(IDOK, accept);
    dialog.OnNotification(Clone::Models, LBN_DBLCLK, accept);
    dialog.SelectField(Clone::Models);
    return dialog.Run() == IDOK ? chosen : -1;
}

void RunNodeShapeDialog(InfluenceDiagramWindow& window, InfluenceNodeRecord& node)
{
    window.EndInPlaceEdit();
    ProgramDialog dialog(DialogRes::ChangeNodeType);
    const bool influenced = !node.arcsIn.empty();
    for (const KindButton& entry : kKindButtons) {
        if (entry.kind == InfluenceKind::Deterministic && influenced) {
            dialog.EnableItem(entry.button, false);
            continue;
        }
        dialog.PaintArea(entry.picture, [kind = entry.kind](HDC dc, const RECT& area) { PaintKind(kind, dc, area); });
    }
    // The buttons stand apart in the template: one chosen clears the others.
    for (const KindButton& entry : kKindButtons) {
        dialog.OnButton(entry.button, [&dialog, id = entry.button] {
            CheckRadioButton(dialog.Handle(), Shape::Chance, Shape::Deterministic, static_cast<int>(id));
        });
        if (entry.kind == node.kind) {
            dialog.SetChecked(entry.button, true);
            dialog.SelectField(entry.button);
        }
    }
    int chosen = node.kind;
    dialog.OnButton(IDOK, [&] {
        for (const KindButton& entry : kKindButtons)
            if (dialog.IsChecked(entry.button))
                chosen = entry.kind;
        dialog.Accept();
    });
    if (dialog.Run() != IDOK || chosen == node.kind)
        return;
    window.AddUndoAction(new DiagramChangeNodeTypeAction(&window, &node, chosen));
}

void RunAlignNodesDialog(InfluenceDiagramWindow& window, const std::vector<InfluenceNodeRecord*>& nodes)
{
    window.EndInPlaceEdit();
    ProgramDialog dialog(DialogRes::AlignNodes);
    dialog.SetChecked(Align::None, true);
    dialog.SetChecked(Align::None3745, true);
    int vertical = 0;
    int horizontal = 0;
    PaintedArea* sample = dialog.PaintArea(Align::Area3749, [&](HDC dc, const RECT& area) {
        PaintAlignSample(dc, area, vertical, horizontal);
    });
    const auto follow = [&] {
        vertical = ModeOf(dialog, Align::None);
        horizontal = ModeOf(dialog, Align::None3745);
        if (sample != nullptr)
            InvalidateRect(sample->Handle(), nullptr, TRUE);
    };
    for (unsigned id = Align::None; id <= Align::Right; ++id)
        dialog.OnButton(id, follow);
    dialog.OnButton(IDOK, [&] {
        follow();
        dialog.Accept();
    });
    if (dialog.Run() != IDOK || (vertical == 0 && horizontal == 0))
        return;
    window.AddUndoAction(new DiagramAlignNodesAction(&window, nodes, vertical, horizontal));
}
