#include "influence/OutcomeTableEditor.h"

#include "analysis/ProbabilityVerification.h"
#include "analysis/RollBack.h"
#include "widgets/MainToolbar.h"
#include "widgets/MenuButton.h"
#include "widgets/Shell.h"
#include "widgets/ZoomPane.h"
#include "treewin/DistributionPicker.h"
#include "treewin/FormulaMenus.h"
#include "treewin/ProbabilityWheel.h"
#include "formula/Distribution.h"
#include "formula/FormulaRef.h"
#include "formula/RunOutcome.h"
#include "foundation/MessageBoxes.h"
#include "foundation/NumericFormatParsing.h"
#include "framework/dialog/FormattedEdit.h"
#include "framework/dialog/Menu.h"
#include "framework/dialog/PictureButtonCtrl.h"
#include "framework/draw/DrawingScale.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/window/LayoutManager.h"
#include "framework/window/WindowEvent.h"
#include "model/InfluenceChecks.h"
#include "model/InfluenceNode.h"
#include "model/NameRules.h"
#include "model/TreeNode.h"
#include "widgets/DdeLinkManager.h"
#include "treewin/NodeMeasure.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <algorithm>

namespace {

namespace Id = Ctl::Assign;
constexpr unsigned kZoomPicture = 32221;
constexpr unsigned kPrevPicture = 32218;
constexpr unsigned kNextPicture = 32219;

// The Insert menu's items, one per variable.
constexpr unsigned kFirstInsertedVariable = 1100;

const char* const kNumberOutOfRange = "If you enter a numeric probability value, it must be between 0 and 1.";

// The static's definition without its "= ".
std::string DefinitionOf(const std::string& shown)
{
    return shown.rfind("= ", 0) == 0 ? shown.substr(2) : shown;
}

bool ReadNumber(const std::string& text, double& value)
{
    int error = 0;
    ParseNumber(text.c_str(), value, error);
    return !text.empty() && error == 0;
}

} // namespace

// The table's tree in the dialog: a click on an end node goes to its cell; the mouse does nothing else.
class TablePane : public ZoomPane {
public:
    TablePane(OutcomeTableEditor& editor, TreeWindow& tree, const RECT& place)
        : ZoomPane(&tree, &editor, new LayoutManager(place, nullptr), WS_CHILD | WS_VISIBLE | WS_BORDER),
          editor_(editor), tree_(tree)
    {
        EnableZoom(true);
        AttachScrollBars(16, 16, 8, 8);
    }

    long OnMouseDown(const MouseInput& mouse) override
    {
        ZoomPaneScale scale(*this);
        const POINT pixels = ClientToDrawing(mouse.at);
        const LogicalPoint point{PixelXToLogical(pixels.x, *CurrentDisplay()), PixelYToLogical(pixels.y, *CurrentDisplay())};
        if (TreeNode* node = FindNodeAt(tree_, tree_.Document().Root, point))
            editor_.GoTo(editor_.FindRow(node));
        return 1;
    }
    long OnMouseMoved(const MouseInput&) override { return 1; }
    long OnMouseUp(const MouseInput&) override { return 1; }

private:
    OutcomeTableEditor& editor_;
    TreeWindow& tree_;
};

OutcomeTableEditor::OutcomeTableEditor(InfluenceNodeRecord& node, TreeWindow& tree, std::vector<PreparedRow>& rows,
                                       bool values)
    : ProgramDialog(DialogRes::Assign), node_(node), tree_(tree), rows_(rows), values_(values)
{
    SetText(values ? "Assign Values" : "Assign Probabilities");
    SetItemText(Id::ProbabilityText, values ? "&Value:" : "Pro&bability:");
    pane_ = new TablePane(*this, tree, TakePlaceOf(Id::Area3710));
    const auto menuButton = [this](unsigned resource, unsigned place) {
        std::unique_ptr<Menu> menu(Menu::PopupFromResource(ResourceId(resource, nullptr)));
        return MakeOwningMenuButton(std::move(menu), this, place);
    };
    MenuButton* tools = menuButton(MenuRes::DiagramToolsPopup, Id::ToolsText);
    tools_ = tools != nullptr ? tools->ButtonMenu() : nullptr;
    MenuButton* zoom = menuButton(MenuRes::DiagramZoomPopup, Id::ZoomText);
    zoom_ = zoom != nullptr ? zoom->ButtonMenu() : nullptr;
    // The zoom button shows a lens.
    if (zoom != nullptr)
        zoom->SetPicture(LoadToolbarPicture(kZoomPicture));
    // Prev and Next show their arrows before their texts.
    PictureButtonCtrl::FromTemplate(this, Id::Prev, LoadToolbarPicture(kPrevPicture));
    PictureButtonCtrl::FromTemplate(this, Id::Next, LoadToolbarPicture(kNextPicture));
    MakeInsertMenu();
    if (WindowCL* field = FindChild(Id::ProbabilityEdit))
        field->AddMessageHandler(this, &OutcomeTableEditor::OnFieldKey, WM_KEYDOWN);
    OnButton(Id::Prev, [this] { GoTo(current_ < 0 ? static_cast<int>(rows_.size()) - 1 : std::max(current_ - 1, 0)); });
    OnButton(Id::Next, [this] {
        GoTo(current_ < 0 ? 0 : std::min(current_ + 1, static_cast<int>(rows_.size()) - 1));
    });
    OnButton(Id::Define, [this] { OnDefine(); });
    OnButton(IDOK, [this] { OnOk(); });
    OnButton(Cmd::OptionsDistributeChildren, [this] { OnDistribution(); });
    OnButton(Cmd::ValuesProbabilityWheel, [this] { OnWheel(); });
    OnButton(Cmd::EditPasteLink, [this] { OnPasteLink(); });
    for (unsigned zoom : {Cmd::DisplayZoomIn, Cmd::DisplayZoomOut, Cmd::DisplayZoom})
        OnButton(zoom, [this, zoom] { OnZoom(zoom); });
}

OutcomeTableEditor::~OutcomeTableEditor() = default;

// The variables of the events before the node (for probabilities only the deterministic and value ones, the
// others being states rather than numbers); a pick types the name into the entry field.
void OutcomeTableEditor::MakeInsertMenu()
{
    auto menu = std::make_unique<Menu>();
    unsigned id = kFirstInsertedVariable;
    for (InfluenceNodeRecord* before : FilteredPredecessors(*node_.Effective(), PredecessorFilter{})) {
        const bool number = before->kind == InfluenceKind::Deterministic || before->kind == InfluenceKind::Value;
        if (before->neverDefine != 0 || before->variableName.IsEmpty() || (!values_ && !number))
            continue;
        const std::string name = before->variableName.Text();
        menu->AppendItem(id, name.c_str());
        OnButton(id++, [this, name] {
            SendToItem(Id::ProbabilityEdit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(name.c_str()));
            SetFocus(Control(Id::ProbabilityEdit));
        });
    }
    if (id == kFirstInsertedVariable || MakeOwningMenuButton(std::move(menu), this, Id::InsertText) == nullptr)
        ShowItem(Id::InsertText, false);
}

bool OutcomeTableEditor::Edit()
{
    GoTo(rows_.empty() ? -1 : 0);
    return Run() == IDOK;
}

int OutcomeTableEditor::FindRow(const TreeNode* node) const
{
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].node == node)
            return static_cast<int>(i);
    return -1;
}

std::string OutcomeTableEditor::FieldText() const
{
    return TextOf(Control(Id::ProbabilityEdit)).Text();
}

long OutcomeTableEditor::OnFieldKey(WindowEvent* event)
{
    const unsigned key = event->Key();
    if ((GetKeyState(VK_CONTROL) & 0x8000) == 0 || (key != VK_DOWN && key != VK_UP))
        return 0;
    const int last = static_cast<int>(rows_.size()) - 1;
    if (key == VK_DOWN && current_ < last)
        GoTo(current_ + 1);
    else if (key == VK_UP && current_ > 0)
        GoTo(current_ - 1);
    return 1;
}

bool OutcomeTableEditor::GoTo(int row)
{
    if (row == current_)
        return true;
    if (current_ >= 0 && !KeepCurrentCell())
        return false;
    current_ = row >= 0 && row < static_cast<int>(rows_.size()) && rows_[row].node->kind == TerminalNode ? row : -1;
    tree_.ClearSelection();
    if (current_ < 0) {
        SetItemText(Id::ProbabilityEdit, "");
        SetItemText(Id::ProbabilityText3722, "");
        EnableItem(Id::ProbabilityEdit, false);
        SetFocus(Control(IDCANCEL));
    } else {
        tree_.SelectNode(rows_[current_].node, 0, nullptr, false);
        ShowCell();
        EnableItem(Id::ProbabilityEdit, true);
        SendToItem(Id::ProbabilityEdit, EM_SETSEL, 0, 1000);
        SetFocus(Control(Id::ProbabilityEdit));
    }
    RedrawTree();
    UpdateControls();
    return true;
}

// An empty probability shows "#" when it is the one empty branch of two or more and no branch is "#".
void OutcomeTableEditor::ShowCell()
{
    const PreparedRow& row = rows_[current_];
    zString first;
    zString second;
    row.cell.DisplayTexts(first, second);
    const TreeNode* parent = row.node->parent;
    if (!values_ && row.cell.kind == DefinitionCell::Empty && parent != nullptr && parent->childCount >= 2) {
        int empty = 0;
        bool complement = false;
        for (int i = 0; i < parent->childCount; ++i) {
            empty += parent->GetChild(i)->IsProbabilityEmpty() ? 1 : 0;
            complement = complement || parent->GetChild(i)->ProbabilityIsComplement();
        }
        if (empty == 1 && !complement)
            first = "#";
    }
    SetItemText(Id::ProbabilityEdit, first.Text());
    SetItemText(Id::ProbabilityText3722, second.Text());
}

void OutcomeTableEditor::UpdateControls()
{
    const bool none = current_ < 0;
    EnableItem(Id::Prev, !none && current_ > 0);
    EnableItem(Id::Next, !none && current_ + 1 < static_cast<int>(rows_.size()));
    if (tools_ != nullptr) {
        tools_->GrayItem(Cmd::OptionsDistributeChildren, none);
        tools_->GrayItem(Cmd::ValuesProbabilityWheel, none || values_);
        tools_->GrayItem(Cmd::EditPasteLink, none || !TheShell().CanPasteLink());
    }
    if (zoom_ != nullptr) {
        zoom_->GrayItem(Cmd::DisplayZoomIn, !pane_->CanZoomIn());
        zoom_->GrayItem(Cmd::DisplayZoomOut, !pane_->CanZoomOut());
    }
}

bool OutcomeTableEditor::KeepCurrentCell()
{
    PreparedRow& row = rows_[current_];
    const std::string text = FieldText();
    const std::string shown = TextOf(Control(Id::ProbabilityText3722)).Text();
    DefinitionCell cell;
    bool numberSet = false;
    bool dropDefinition = false;
    HWND field = Control(Id::ProbabilityEdit);
    if (text.empty()) {
        cell = DefinitionCell();
    } else if (text[0] == '#') {
        if (values_) {
            SetFocus(field);
            ShowErrorBox(nullptr, "You may only enter \"#\" when editing probabilities.", 0);
            return false;
        }
        cell.Set(text.c_str(), 0, "");
    } else if (ReadNumber(text, cell.number)) {
        if (!shown.empty()) {
            if (AskYesNo(nullptr, "You are about to eliminate a variable definition. Proceed?", 0) != 1)
                return false;
            dropDefinition = true;
        }
        cell.formula.Clear();
        cell.expression = text.c_str();
        cell.kind = DefinitionCell::ExpressionOnly;
        numberSet = true;
    } else if (CheckVariableName(zString(text.c_str()), false, false) != 0) {
        const std::string definition = DefinitionOf(shown);
        cell.formula = text.c_str();
        cell.expression = definition.c_str();
        cell.kind = DefinitionCell::Variable;
        numberSet = ReadNumber(definition, cell.number);
    } else {
        // Only the syntax: the names of the diagram are not known here.
        if (!FormulaSyntaxOk(zString(text.c_str()), nullptr, "expression")) {
            SetFocus(field);
            return false;
        }
        cell.Set(text.c_str(), 0, "");
        cell.kind = DefinitionCell::Formula;
    }
    if (!values_ && numberSet && (cell.number < 0 || cell.number > 1)) {
        SendMessageA(field, EM_SETSEL, 0, -1);
        SetFocus(field);
        ShowErrorBox(nullptr, kNumberOutOfRange, 0);
        return false;
    }
    TreeNode* branch = row.node;
    if (dropDefinition)
        for (TreeNode* at : {branch, branch->parent, tree_.Document().Root})
            if (at != nullptr)
                at->RemoveBinding(row.cell.formula.Text(), false, true);
    row.cell = cell;
    WriteCell(row);
    return true;
}

// The row's cell into its end node: the branch probability, a value node's payoff, or the variable's value.
void OutcomeTableEditor::WriteCell(PreparedRow& row)
{
    const DefinitionCell& cell = row.cell;
    if (!values_)
        ApplyCellAsProbability(cell, *row.node);
    else if (node_.kind == InfluenceKind::Value)
        row.node->SetPayoffText(cell.formula.IsEmpty() ? cell.expression.Text() : cell.formula.Text(), 0, true);
    else
        ApplyCellAsValue(cell, *row.node, false, node_.variableName.Text());
    RedrawTree(row.node, 0);
}

void OutcomeTableEditor::OnOk()
{
    if (!GoTo(-1))
        return;
    if (values_) {
        Accept();
        return;
    }
    // Parents with an empty branch, or one whose probability cannot be evaluated, are bad; the first such
    // branch is where a No goes. The others' probabilities must add up to 1.
    std::vector<TreeNode*> bad;
    int firstBad = -1;
    const auto markBad = [&](TreeNode* parent, int row) {
        if (std::find(bad.begin(), bad.end(), parent) == bad.end())
            bad.push_back(parent);
        firstBad = firstBad < 0 || row < firstBad ? row : firstBad;
    };
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].node->parent != nullptr && rows_[i].node->IsProbabilityEmpty())
            markBad(rows_[i].node->parent, static_cast<int>(i));
    std::vector<TreeNode*> checked;
    for (int pass = 0; pass < 2; ++pass) {
        checked.clear();
        for (size_t i = 0; i < rows_.size(); ++i) {
            TreeNode* parent = rows_[i].node->parent;
            if (parent == nullptr || std::find(bad.begin(), bad.end(), parent) != bad.end() ||
                std::find(checked.begin(), checked.end(), parent) != checked.end())
                continue;
            checked.push_back(parent);
            if (pass == 0) {
                OutcomeScope quiet;
                RunFault error;
                if (TreeNode* failing = EvaluateBranchProbabilities(parent, &error); failing != nullptr || error)
                    markBad(parent, failing != nullptr && FindRow(failing) >= 0 ? FindRow(failing) : static_cast<int>(i));
            } else if (!VerifyProbabilities(&tree_.Document(), 0, parent, nullptr, 1)) {
                GoTo(static_cast<int>(i));
                return;
            }
        }
    }
    if (firstBad >= 0 && AskYesNo(nullptr, "At least one node parsed incorrectly. Proceed anyway?", 0) != 1) {
        GoTo(firstBad);
        return;
    }
    Accept();
}

void OutcomeTableEditor::OnDefine()
{
    const std::string name = FieldText();
    HWND field = Control(Id::ProbabilityEdit);
    if (name.empty() || CheckVariableName(zString(name.c_str()), false, false) == 0) {
        SendMessageA(field, EM_SETSEL, 0, 100);
        SetFocus(field);
        ShowInfoBox(nullptr, "To define a new variable, enter the variable name in the editor.", 0);
        return;
    }
    double value = 0;
    ReadNumber(DefinitionOf(TextOf(Control(Id::ProbabilityText3722)).Text()), value);
    ProgramDialog define(DialogRes::DefineVariable);
    define.SetText(("Define Variable \"" + name + "\"").c_str());
    RealEdit::FromTemplate(&define, Ctl::DefineVariable::EnterANumericValueToBeAssignedToThisVariableEdit, nullptr, 0,
                           &value);
    std::string typed;
    define.OnButton(IDOK, [&] {
        typed = TextOf(define.Control(Ctl::DefineVariable::EnterANumericValueToBeAssignedToThisVariableEdit)).Text();
        define.Accept();
    });
    if (define.Run() == IDOK)
        SetItemText(Id::ProbabilityText3722, ("= " + typed).c_str());
}

void OutcomeTableEditor::OnZoom(unsigned command)
{
    if (command == Cmd::DisplayZoom)
        pane_->SetZoom(1.0);
    else
        pane_->ZoomStep(command == Cmd::DisplayZoomIn);
    UpdateControls();
}

void OutcomeTableEditor::RedrawTree(TreeNode* changed, int mode)
{
    if (changed != nullptr)
        tree_.RedrawNode(changed, mode);
    pane_->DrawingChanged();
}
