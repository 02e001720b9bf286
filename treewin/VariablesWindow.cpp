#include "treewin/VariablesWindow.h"

#include "analysis/VariableSubstitution.h"
#include "widgets/CursorStack.h"
#include "widgets/MainToolbar.h"
#include "widgets/MenuButton.h"
#include "widgets/NamePopupMenu.h"
#include "treewin/VariablesReportDialog.h"
#include "formula/FormulaRef.h"
#include "foundation/Host.h"
#include "foundation/NumericFormatting.h"
#include "foundation/StringHelpers.h"
#include "foundation/TextReport.h"
#include "framework/dialog/ButtonCtrl.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "framework/dialog/StaticCtrl.h"
#include "framework/draw/Bitmap.h"
#include "framework/window/Clipboard.h"
#include "framework/window/WindowEvent.h"
#include "model/DocVariable.h"
#include "model/EvalContext.h"
#include "model/NameRules.h"
#include "model/NodePath.h"
#include "model/TreeWalks.h"
#include "model/TreeNode.h"
#include "treewin/TreeAction.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <algorithm>
#include <string>

namespace Ids = Ctl::Variables;

namespace {

// A variable some branch probability names (a whole word, any case) holds a probability.
bool IsProbabilityVariable(TreeNode* root, const zString& name)
{
    bool named = false;
    ForEachInSubtree(root, [&](TreeNode* node) {
        zString text;
        node->GetProbabilityText(text);
        named = named || FindInText(text, name.Text(), true, false, 0) > 0;
    });
    return named;
}

// The variable's number in the tree's format: a probability with its probability places and no units,
// anything else as a value.
void FormatVariableNumber(const NumericFormat& format, bool probability, double value, zString& out)
{
    FormatNumber(format, value, out, !probability, !probability, DigitsOfFormat);
}

// The formula and value columns from the definition the report uses, when there is one.
void DefinitionColumns(TreeDocument& document, TreeNode* root, const DocVariable& variable, bool probability,
                       const VariablesReportSettings& settings, zString columns[ReportColumnCount])
{
    RangeBindingList definitions;
    CollectVariableDefinitions(definitions, root, variable.upperName.Text(), true);
    if (definitions.Count() == 0)
        return;
    RangeBinding& first = *definitions.At(0);
    if (definitions.Count() > 1 && !(first.node == root && settings.rootDefinitionWhenSeveral))
        return;
    Expression& expression = first.definition->definition;
    double value = 0.0;
    if (!expression.GetConstant(&value)) {
        columns[ReportFormula] = expression.Text();
        FormulaRef formula(new EvalContext(&document, first.node), 1, nullptr);
        value = formula.Evaluate(expression);
        if (formula.HasError())
            return;
    }
    FormatVariableNumber(document.NumberFormat(), probability, value, columns[ReportValue]);
}

} // namespace

void VariablesWindow::CopyAsText(TreeNode* root, TreeWindow* window)
{
    VariablesReportSettings settings{1, 1, 0, 1, 0, 0, 0, 1};
    if (!RunVariablesReportDialog(settings))
        return;
    TreeDocument& document = window->Document();
    TextReport report;
    report.SetTitle("Variables");
    static const char* const headers[ReportColumnCount] = {"Name", "Description", "Formula", "Value",
                                                           "Low", "High", "Comment"};
    const int32_t included[ReportColumnCount] = {settings.includeName, settings.includeShortDescription,
                                                 settings.includeFormula, settings.includeValue,
                                                 settings.includeLow, settings.includeHigh,
                                                 settings.includeComment};
    for (int column = 0; column < ReportColumnCount; ++column)
        if (included[column] != 0)
            report.AddColumnHeader(headers[column]);
    {
        WaitCursorScope wait;
        HostSilence notices(Silence::Notices);
        HostSilence messages(Silence::FormulaMessages);
        for (int i = 0; i < document.Variables.Count(); ++i) {
            const DocVariable& variable = *document.Variables.At(i);
            zString columns[ReportColumnCount];
            columns[ReportName] = variable.name;
            columns[ReportShortDescription] = variable.shortDescription;
            columns[ReportComment] = variable.comment;
            NormalizeLineEnds(columns[ReportComment], " ");
            const bool probability = IsProbabilityVariable(root, variable.name);
            if (variable.hasRange != 0) {
                FormatVariableNumber(document.NumberFormat(), probability, variable.low.value, columns[ReportLow]);
                FormatVariableNumber(document.NumberFormat(), probability, variable.high.value, columns[ReportHigh]);
            }
            DefinitionColumns(document, root, variable, probability, settings, columns);
            zString line;
            FormatVariablesReportLine(columns, line, settings);
            report.AddLine(line);
        }
    }
    ShowTextReport(report);
}

VariablesWindow::VariablesWindow(TreeWindow* tree, const NodeChildList& nodes)
    : TreeChildWindow(tree, ResourceId(DialogRes::Variables, nullptr), false),
      defineNewMenu(std::make_unique<NamePopupMenu>())
{
    SetIconId(32009);  // not a resource id: an icon, which the generated names leave out
    FitToFrame();
    PlaceAt(0.65, 0.5);
    OnTreeTitleChanged(tree->Document().Title().Text());
    if (Handle() == nullptr)
        return;
    // The list goes below the lowest of the template's controls.
    for (HWND child = GetWindow(Handle(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    {
        RECT rect{};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rect), 2);
        listTop = std::max(listTop, static_cast<int>(rect.bottom) + 4);
    }
    defineNewButton = MakeMenuButton(&defineNewMenu->GetMenu(), StaticCtrl::FromTemplate(this, Ids::DefineNewText),
                                     this, "Define New: ", false);
    // Drawn, grayed, also when every variable is defined at the node shown.
    if (defineNewButton != nullptr)
        defineNewButton->Reset();
    MakeArrowButtons();
    list = new NotifyListCtrl(this, RECT{0, listTop, 10, listTop + 10}, WS_BORDER | WS_TABSTOP, "",
                              DialogRes::MarkovTermination);
    SendMessageA(list->Handle(), WM_SETFONT, SendMessageA(Handle(), WM_GETFONT, 0, 0), FALSE);
    list->AddHandler(this, &VariablesWindow::OnListKey, WM_KEYDOWN);
    PlaceList();
    SetFocusChild(list);
    SetNodes(nodes);
}

VariablesWindow::~VariablesWindow()
{
    if (Tree() != nullptr && Tree()->VariablesView == this)
        Tree()->VariablesView = nullptr;
}

void VariablesWindow::MakeArrowButtons()
{
    const unsigned ids[4] = {Ids::DownButton, Ids::UpButton, Ids::LeftButton, Ids::RightButton};
    for (int i = 0; i < 4; ++i) {
        HWND placeholder = Control(ids[i]);
        if (placeholder == nullptr)
            continue;
        RECT rect{};
        GetWindowRect(placeholder, &rect);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rect), 2);
        DestroyWindow(placeholder);
        auto* button = new StyledButtonCtrl(this, rect, BS_PUSHBUTTON | BS_BITMAP | WS_TABSTOP, "", ids[i]);
        arrowPictures[i].reset(LoadToolbarPicture(ids[i]));
        if (arrowPictures[i] != nullptr)
            button->Send(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(arrowPictures[i]->Handle()));
    }
}

void VariablesWindow::OnTreeTitleChanged(const char*)
{
    SetCaption(": Variables");
}

void VariablesWindow::RefreshFromTree()
{
    SetNodes(Tree()->Selection);
}

TreeNode* VariablesWindow::Node() const
{
    return nodePath.IsEmpty() ? nullptr : FindNodeByPath(Tree()->Document().Root, nodePath.Text());
}

void VariablesWindow::SetNodes(const NodeChildList& nodes)
{
    severalSelected = nodes.Count() > 1;
    nodePath.Clear();
    zString label(severalSelected ? "(multiple)" : "(none)");
    if (nodes.Count() == 1) {
        RecordPath(nodes.At(0), nodePath);
        nodes.At(0)->GetShortText(label, 30);
    } else {
        showInherited = false;
    }
    if (Handle() != nullptr) {
        SetItemText(Ids::NodeLabel, label.Text());
        CheckItem(Ids::ShowInherited, showInherited);
        EnableItem(Ids::ShowInherited, nodes.Count() == 1);
    }
    Refill();
}

void VariablesWindow::SetShowInherited(bool on)
{
    showInherited = on && Node() != nullptr;
    if (Handle() != nullptr)
        CheckItem(Ids::ShowInherited, showInherited);
    Refill();
}

void VariablesWindow::Refill()
{
    if (list == nullptr)
        return;
    list->Clear();
    namesShown.Clear();
    TreeNode* node = Node();
    if (node != nullptr)
        AddDefinitions(node, false);
    // Built before the inherited lines: a variable the node only inherits may still be defined here.
    RebuildDefineNewMenu();
    if (node == nullptr || !showInherited)
        return;
    for (const TreeNode* above = node->parent; above != nullptr; above = above->parent)
        AddDefinitions(above, true);
}

void VariablesWindow::AddDefinitions(const TreeNode* node, bool withHeader)
{
    bool headerWritten = false;
    for (int i = 0; i < node->BindingCount(); ++i) {
        const VariableDefinition* definition = node->GetBinding(i);
        if (namesShown.Contains(definition->upperName))
            continue;
        if (withHeader && !headerWritten) {
            zString header(" ----- ");
            if (node->parent == nullptr) {
                header += "(Tree Defaults)";
            } else {
                zString text;
                node->GetShortText(text, 30);
                header += text;
            }
            list->AddString(header);
            headerWritten = true;
        }
        zString line;
        definition->FormatAssignment(line, true);
        list->AddString(line);
        namesShown.AddCopy(definition->upperName);
    }
}

void VariablesWindow::RebuildDefineNewMenu()
{
    defineNewMenu->Rebuild();
    const DocVariableList& variables = Tree()->Document().Variables;
    for (int i = 0; i < variables.Count(); ++i)
        if (!namesShown.Contains(variables.At(i)->upperName))
            defineNewMenu->AddName(kFirstDefineNewCommand + static_cast<unsigned>(i), variables.At(i)->name.Text());
    defineNewMenu->Build();
    if (defineNewButton != nullptr) {
        defineNewButton->Enable(defineNewMenu->GetMenu().ItemCount() > 0);
        defineNewButton->UpdateEnabled();
    }
}

void VariablesWindow::OpenSelectedDefinition()
{
    zString name;
    if (list == nullptr || list->GetSelText(name) == 0)
        return;
    // The name as the line writes it: the window's caption and question show it so.
    NormalizeVariableName(name);
    TreeNode* node = Node();
    if (name.IsEmpty() || node == nullptr)
        return;
    if (showInherited)
        while (node != nullptr && node->FindBinding(name.Text(), false) == nullptr)
            node = node->parent;
    if (node != nullptr)
        Tree()->OpenNodeValueWindow(node, name.Text());
}

void VariablesWindow::DefineNew(unsigned command)
{
    zString name;
    TreeNode* node = Node();
    if (node == nullptr) {
        MessageBeep(MB_OK);
        return;
    }
    defineNewMenu->ItemText(command, name);
    Tree()->OpenNodeValueWindow(node, std::string(name.Text()).substr(0, 50).c_str());
}

void VariablesWindow::CopyLines()
{
    std::string text;
    for (int i = 0; list != nullptr && i < list->GetCount(); ++i) {
        zString line;
        list->GetString(line, i);
        text += line.Text();
        text += "\r\n";
    }
    Clipboard clipboard(this);
    clipboard.Empty();
    clipboard.PutText(text.c_str());
}

long VariablesWindow::OnListKey(WindowEvent* event)
{
    const unsigned key = event->Key();
    if (key != VK_RETURN && key != '\n' && key != VK_SPACE)
        return 0;
    OpenSelectedDefinition();
    return 1;
}

long VariablesWindow::OnCommandId(unsigned id, unsigned code, HWND control)
{
    zString picked;
    if (id == DialogRes::MarkovTermination && code == LBN_DBLCLK) {
        OpenSelectedDefinition();
    } else if (id == Ids::ShowInherited) {
        SetShowInherited(!showInherited);
    } else if (id >= Ids::DownButton && id <= Ids::RightButton) {
        // The buttons move the tree's selection as the arrow keys do.
        static const int keys[] = {VK_DOWN, VK_UP, VK_LEFT, VK_RIGHT};
        Tree()->NavigateByKey(keys[id - Ids::DownButton], false);
    } else if (id == Cmd::EditCopy) {
        CopyLines();
    } else if (id >= kFirstDefineNewCommand && defineNewMenu->ItemText(id, picked)) {
        DefineNew(id);
    } else {
        return TreeChildWindow::OnCommandId(id, code, control);
    }
    return 1;
}

long VariablesWindow::OnResize(SIZE client, UINT kind)
{
    const long answer = TreeChildWindow::OnResize(client, kind);
    if (kind != SIZE_MINIMIZED)
        PlaceList();
    return answer;
}

void VariablesWindow::PlaceList()
{
    if (list == nullptr || list->Handle() == nullptr)
        return;
    RECT client{};
    GetClientRect(Handle(), &client);
    MoveWindow(list->Handle(), 0, listTop, client.right, std::max(0, static_cast<int>(client.bottom) - listTop), TRUE);
}

void VariablesWindow::UpdateMenus(HMENU bar)
{
    TreeChildWindow::UpdateMenus(bar);
    const bool empty = list == nullptr || list->GetCount() == 0;
    ModifyMenuA(bar, Cmd::EditCopy, MF_BYCOMMAND | MF_STRING | (empty ? MF_GRAYED : MF_ENABLED), Cmd::EditCopy,
                "&Copy Variables");
}
