// The screenshot tour: the program's own start path, driven in-process by a thread timer through a fixed
// sequence of commands. After each step the driver waits until the program is idle (nothing queued, no idle
// task, no analysis running, and the step's own window ready), then writes the step's name to the request
// file and waits until tools/screens.sh has taken the picture and removed the file. Timer callbacks run in
// every message loop, so the steps go on inside modal dialogs too. With KIVO_TOUR_REPAINT not empty, each
// picture is followed by a second one (NN-step-repaint) taken after every window of the program was painted
// afresh, so that screens.sh can show where the screen differs from what a full repaint shows.
//
//   kivo_tour.exe REQUEST-FILE

#include "analysis/AnalysisRun.h"
#include "widgets/HelpWindow.h"
#include "app/MainFrame.h"
#include "widgets/MainToolbar.h"
#include "widgets/MenuButton.h"
#include "widgets/PrinterDevice.h"
#include "app/StartProgram.h"
#include "treewin/DefineValuesDialog.h"
#include "dialogs/HookedDialog.h"
#include "app/PreferencesDialog.h"
#include "treewin/DefineVariableWindow.h"
#include "treewin/MarkovAnalysisWindow.h"
#include "treewin/MonteCarloProgressDialog.h"
#include "treewin/MarkovValueWindows.h"
#include "app/PreferencesDialog.h"
#include "dialogs/CorrelationsDialog.h"
#include "treewin/DistributeChildrenDialog.h"
#include "dialogs/SensitivityDialogs.h"
#include "treewin/StoredAnalysisDialogs.h"
#include "treewin/VariableCorrelationsDialog.h"
#include "treewin/VariablePropertiesDialog.h"
#include "formula/CorrelationList.h"
#include "model/DisplayColumnList.h"
#include "model/DocVariable.h"
#include "model/DocumentVariableOps.h"
#include "framework/dialog/DialogFrameCL.h"
#include "framework/draw/Display.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/visual/VisualToggleSet.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/IdleList.h"
#include "framework/window/ProgramEntry.h"
#include "widgets/CommandLine.h"
#include "widgets/ZoomPane.h"
#include "analysis/BarGraphData.h"
#include "analysis/ThreeWaySensitivityAnalysis.h"
#include "analysis/TornadoDiagram.h"
#include "analysis/TwoWaySensitivityAnalysis.h"
#include "formula/LookupTable.h"
#include "formula/TableDirectory.h"
#include "graph/CEGraph.h"
#include "graph/CESensitivityGraph.h"
#include "graph/DistributionGraph.h"
#include "graph/LineGraph.h"
#include "graph/OptionBarGraph.h"
#include "graph/ProbDistributionGraph.h"
#include "graph/RegionGraph.h"
#include "graph/SensitivityRegionGraphs.h"
#include "treewin/TableGraphWindow.h"
#include "graph/TornadoGraph.h"
#include "widgets/InPlaceEdit.h"
#include "influence/DiagramPane.h"
#include "influence/InfluenceDiagramWindow.h"
#include "model/CustomInterfaceSettings.h"
#include "model/MarkovInfo.h"
#include "model/TreeNode.h"
#include "model/DocumentLink.h"
#include "widgets/DocumentLinks.h"
#include "script/ScriptManager.h"
#include "tests/support/SampleDiagram.h"
#include "tests/support/SampleTornado.h"
#include "tests/support/TestPrinter.h"
#include "tests/support/ThreadWindow.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// A step acts once, then waits until its window is ready and the program idle; a named step is then shot.
struct Step {
    const char* shot;
    std::function<void()> act;
    std::function<bool()> ready;
};

// Ticks in a row with nothing to do before a picture is asked for: each tick comes after every paint (timer
// messages come last), and each wait between two ticks lets the window system put the paint on the screen.
constexpr int kQuietTicks = 3;
constexpr UINT kTickMilliseconds = 40;
// A step whose window never comes, or a program that never comes to rest (a box nobody answers, a paint that
// never ends), is pictured as it is after this many ticks (30 seconds), and the tour ends there.
constexpr int kGiveUpTicks = 750;

std::string requestFile;
std::vector<Step> steps;
size_t current = 0;
bool acted = false;
bool shooting = false;
int quietTicks = 0;
int waitedTicks = 0;
bool givingUp = false;
int shotNumber = 0;
std::string lastShot;
// With a repaint check: 0 before the step's picture was taken, 1 once the program was repainted, 2 once the
// picture of the repaint is asked for.
bool checkRepaint = false;
int repaintPhase = 0;

MainFrame* Frame()
{
    return MainFrame::Program();
}

TreeWindow* Tree()
{
    std::vector<WindowCL*> windows;
    if (Frame())
        Frame()->CollectWindows(windows);
    for (WindowCL* window : windows)
        if (auto* tree = dynamic_cast<TreeWindow*>(window))
            return tree;
    return nullptr;
}

template <class Window>
Window* FrameChild()
{
    std::vector<WindowCL*> windows;
    if (Frame())
        Frame()->CollectWindows(windows);
    for (WindowCL* window : windows)
        if (auto* found = dynamic_cast<Window*>(window))
            return found;
    return nullptr;
}

template <class Window>
BOOL CALLBACK FindTopWindow(HWND handle, LPARAM out)
{
    auto* window = dynamic_cast<Window*>(WindowCL::FromHandle(handle));
    if (window && IsWindowVisible(handle))
        *reinterpret_cast<Window**>(out) = window;
    return window == nullptr;
}

template <class Window>
Window* TopWindow()
{
    Window* found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindTopWindow<Window>, reinterpret_cast<LPARAM>(&found));
    return found;
}

DialogFrameCL* ModalDialog()
{
    const auto& stack = DialogFrameCL::ModalStack();
    return !stack.empty() && IsWindowVisible(stack.back()->Handle()) ? stack.back() : nullptr;
}

void Command(unsigned id)
{
    PostMessageA(Frame()->Handle(), WM_COMMAND, id, 0);
}

void PressInDialog(unsigned id)
{
    if (DialogFrameCL* dialog = ModalDialog())
        PostMessageA(dialog->Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void Select(TreeNode* node)
{
    TreeWindow* tree = Tree();
    MDIframeCL* frame = Frame();
    SendMessageA(frame->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(tree->Handle()), 0);
    tree->SelectNode(node, 1, nullptr, false);
}

TreeNode* NodeNamed(const char* name)
{
    TreeNode* root = Tree()->Document().Root;
    for (int i = 0; i < root->childCount; ++i)
        if (root->GetChild(i)->text == name)
            return root->GetChild(i);
    return root;
}

// The window's menu button showing the text.
HWND MenuButtonNamed(WindowCL* window, const char* face)
{
    for (HWND child = GetWindow(window->Handle(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if (auto* button = dynamic_cast<MenuButton*>(WindowCL::FromHandle(child)); button && button->FaceText() == face)
            return child;
    return nullptr;
}

// A control of the page the modal paged dialog shows.
HWND PageControl(unsigned id)
{
    auto* paged = dynamic_cast<HookedDialog*>(ModalDialog());
    return paged && paged->Page() ? GetDlgItem(paged->Page()->Handle(), static_cast<int>(id)) : nullptr;
}

// Chooses a category of the modal Preferences dialog as a click would.
void PickCategory(int index)
{
    const HWND list = ModalDialog()->Control(Ctl::Preferences::CategoryList);
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(ModalDialog()->Handle(), WM_COMMAND, MAKEWPARAM(Ctl::Preferences::CategoryList, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

BOOL CALLBACK FindMessageBox(HWND handle, LPARAM out)
{
    char name[16] = "";
    GetClassNameA(handle, name, sizeof name);
    if (IsWindowVisible(handle) && std::string(name) == "#32770" && WindowCL::FromHandle(handle) == nullptr) {
        *reinterpret_cast<HWND*>(out) = handle;
        return FALSE;
    }
    return TRUE;
}

// The system's message box this program shows, or null.
HWND MessageBoxShown()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindMessageBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool MenuShown()
{
    return ThreadPopupMenu() != nullptr;
}

// A decision between surgery (a chance of success, pSuccess), medicine, and a two-state Markov cohort.
void BuildTree()
{
    TreeDocument& tree = Tree()->Document();
    TreeNode* root = tree.Root;
    root->SetText("Treatment", false);
    tree.EnsureVariable("pSuccess", nullptr);
    root->SetBinding("pSuccess", "0.6", false);
    TreeNode* surgery = tree.AddChild(root, ChanceNode, "Surgery");
    tree.AddChild(surgery, TerminalNode, "Success", "pSuccess", "100");
    tree.AddChild(surgery, TerminalNode, "Failure", "#", "20");
    tree.AddChild(root, TerminalNode, "Medicine", "", "60");
    TreeNode* cohort = tree.AddChild(root, MarkovNode, "Cohort");
    cohort->SetMarkovTerminationText("_stage >= 10", 0);
    TreeNode* well = tree.AddChild(cohort, ChanceNode, "Well", "1");
    TreeNode* dead = tree.AddChild(cohort, TerminalNode, "Dead", "0");
    for (TreeNode* state : {well, dead})
        for (int kind : {InitialReward, IncrementalReward, FinalReward})
            state->SetMarkovRewardText(kind, state == well && kind == IncrementalReward ? "10" : "0", 0);
    tree.AddChild(well, TerminalNode, "stay", "#")->SetMarkovJumpState("Well", false);
    tree.AddChild(well, TerminalNode, "die", "0.2")->SetMarkovJumpState("Dead", false);
    Tree()->Redraw();
    Select(root);
}

// A double click as the system gives it: two presses of the real pointer at the pane's client point.
void DoubleClickAt(HWND pane, POINT at)
{
    ClientToScreen(pane, &at);
    SetCursorPos(at.x, at.y);
    // Each press and release at its own time, 40 ms apart, as a hand gives them.
    INPUT presses[4] = {};
    const DWORD now = GetTickCount();
    for (int i = 0; i < 4; ++i) {
        presses[i].type = INPUT_MOUSE;
        presses[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
        presses[i].mi.time = now + 40 * static_cast<DWORD>(i);
    }
    SendInput(4, presses, sizeof(INPUT));
}

// A double click on the histogram's tallest bar opens its Bar Details.
void OpenBarDetails()
{
    ProbDistributionGraph* graph = FrameChild<ProbDistributionGraph>();
    graph->LayoutBars();
    int tallest = 0;
    for (int i = 1; i < graph->bars.Count(); ++i)
        if (graph->bars.Bar(i)->value > graph->bars.Bar(tallest)->value)
            tallest = i;
    ZoomPane& pane = *graph->Pane();
    const RECT bar = pane.DrawingToClient(LogicalRectToPixels(graph->bars.Bar(tallest)->rect, *pane.CurrentDisplay()));
    DoubleClickAt(pane.Handle(), POINT{(bar.left + bar.right) / 2, bar.bottom - 2});
}

// The share of trials in which each of three options was optimal, as Monte Carlo simulation hands it over.
void ShowPercentOptimal()
{
    auto data = std::make_unique<OptionBarData>();
    data->texts[0] = "Monte Carlo Simulation";
    data->texts[2] = "Option";
    data->texts[3] = "Percent Optimal";
    data->optionNames = {"Surgery", "Medicine", "Cohort"};
    data->shares = {0.55, 0.3, 0.15};
    ShowOptionBarGraph(std::move(data));
}

// Comparative distributions of Surgery and a four-way trial, animated.
void CompareDistributions()
{
    TreeDocument& tree = Tree()->Document();
    TreeNode* trial = tree.AddChild(tree.Root, ChanceNode, "Trial");
    const char* payoffs[] = {"30", "50", "70", "90"};
    for (int i = 0; i < 4; ++i)
        tree.AddChild(trial, TerminalNode, payoffs[i], i < 3 ? "0.25" : "#", payoffs[i]);
    Tree()->Redraw();
    Select(NodeNamed("Surgery"));
    Tree()->SelectNode(trial, 1, nullptr, true);
    Command(Cmd::AnalysisProbabilityDistribution);
}

void RemoveTrial()
{
    TreeDocument& tree = Tree()->Document();
    TreeNode* trial = NodeNamed("Trial");
    Select(tree.Root);
    tree.Root->RemoveChild(trial);
    delete trial;
    Tree()->Redraw();
}

// The sample diagram saved at zoom 1.25 by a window of its own, then opened as "kivo.exe sample.ind" opens it.
void OpenSampleDiagram()
{
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string path = std::string(temp) + "sample.ind";
    auto* writer = new InfluenceDiagramWindow();
    BuildSampleDiagram(writer->document);
    writer->Pane()->SetZoom(1.25);
    writer->SaveAs(path.c_str());
    delete writer;
    RunStartupActionsText(path.c_str());
}

InfluenceDiagramWindow* ActiveDiagram()
{
    return Frame() ? dynamic_cast<InfluenceDiagramWindow*>(Frame()->ActiveChild()) : nullptr;
}

// The sample diagram's sub-model "Costs" opened in a window of its own, the two side by side.
void ShowSubModelBesideOwner()
{
    std::vector<WindowCL*> windows;
    Frame()->CollectWindows(windows);
    for (WindowCL* child : windows) {
        auto* owner = dynamic_cast<InfluenceDiagramWindow*>(child);
        if (owner == nullptr || owner->SubModelNode() != nullptr)
            continue;
        for (InfluenceNodeRecord* node : owner->Diagram().nodes) {
            if (node->kind != InfluenceKind::SubModel)
                continue;
            InfluenceDiagramWindow* inner = owner->OpenSubModel(node);
            RECT client{};
            GetClientRect(GetParent(owner->Handle()), &client);
            const int half = client.right / 2;
            ShowWindow(owner->Handle(), SW_RESTORE);
            MoveWindow(owner->Handle(), 0, 0, half, client.bottom, TRUE);
            MoveWindow(inner->Handle(), half, 0, client.right - half, client.bottom, TRUE);
            BringWindowToTop(owner->Handle());
            inner->Activate();
            return;
        }
    }
}

// A mouse message to the active diagram's pane at a point of the diagram (inches), sent, or posted when it
// opens a menu (the steps go on inside the menu's loop).
void SendToDiagram(UINT message, WPARAM keys, float x, float y, bool post = false)
{
    DiagramPane* pane = ActiveDiagram()->Pane();
    pane->PushDrawingScale();
    const POINT pixels = LogicalPointToPixels(LogicalPoint{x, y}, *pane->CurrentDisplay());
    pane->PopDrawingScale();
    const RECT client = pane->DrawingToClient(RECT{pixels.x, pixels.y, pixels.x, pixels.y});
    const LPARAM at = MAKELPARAM(client.left, client.top);
    if (post)
        PostMessageA(pane->Handle(), message, keys, at);
    else
        SendMessageA(pane->Handle(), message, keys, at);
}

void DragInDiagram(WPARAM keys, float fromX, float fromY, float toX, float toY)
{
    SendToDiagram(WM_LBUTTONDOWN, keys | MK_LBUTTON, fromX, fromY);
    SendToDiagram(WM_MOUSEMOVE, keys | MK_LBUTTON, (fromX + toX) / 2, (fromY + toY) / 2);
    SendToDiagram(WM_MOUSEMOVE, keys | MK_LBUTTON, toX, toY);
    SendToDiagram(WM_LBUTTONUP, keys, toX, toY);
}

// A new diagram drawn as a person draws it: a decision, a chance and a value node placed with the tools and
// named in place, an arc drawn with the arc tool and one with Ctrl, and the second arc curved by its middle.
void DrawTourDiagram()
{
    auto* window = new InfluenceDiagramWindow();
    window->Show(SW_SHOWNORMAL);
    const HWND handle = window->Handle();
    const struct {
        unsigned tool;
        float x, y;
        const char* label;
    } nodes[] = {{Cmd::ModeDecision, 1.2f, 1.0f, "Treat"}, {Cmd::ModeChance, 3.4f, 1.0f, "Recovery"},
                 {Cmd::ModeValue, 3.4f, 2.6f, "Utility"}};
    for (const auto& node : nodes) {
        SendMessageA(handle, WM_COMMAND, node.tool, 0);
        SendToDiagram(WM_LBUTTONDOWN, MK_LBUTTON, node.x, node.y);
        SendToDiagram(WM_LBUTTONUP, 0, node.x, node.y);
        if (InPlaceEdit* editor = window->LabelEditor())
            editor->TypeText(zString(node.label));
        window->ClearSelection();
    }
    SendMessageA(handle, WM_COMMAND, Cmd::ModeArc, 0);
    DragInDiagram(0, 1.2f, 1.0f, 3.4f, 1.0f);
    DragInDiagram(MK_CONTROL, 3.4f, 1.0f, 3.4f, 2.6f);
    const DiagramPoint middle = window->document.diagram.arcs.back()->middle;
    DragInDiagram(0, middle.x, middle.y, middle.x + 0.7f, middle.y);
}

// pSuccess gets a range and a correlation with pCure; pRelapse is left to correlate.
void RangeAndCorrelate()
{
    TreeDocument& tree = Tree()->Document();
    for (const char* name : {"pCure", "pRelapse"})
        tree.EnsureVariable(name, nullptr);
    DocVariable* success = tree.FindVariable("pSuccess", false);
    success->shortDescription = "Chance that surgery succeeds";
    success->hasRange = 1;
    success->low = FormattedValue{zString("0.4"), 0.4};
    success->high = FormattedValue{zString("0.8"), 0.8};
    CorrelationList entries;
    auto* cure = new CorrelationItem;
    cure->name = "PCURE";
    entries.Add(cure);
    SetVariableCorrelations(tree, *success, &entries);
}

// Three result columns, the first a custom calculation.
void AddTourColumns()
{
    DisplayColumnList& columns = Tree()->Document().RollBackColumns;
    const struct {
        const char* header;
        int kind;
        const char* formula;
    } added[] = {{"Twice the value", DisplayColumn::kCustomCalculation, "pSuccess*200"},
                 {"Path", DisplayColumn::kPathProbability, ""},
                 {"Marginal", DisplayColumn::kMarginalValue, ""}};
    for (const auto& each : added) {
        auto* column = new DisplayColumn;
        column->header = each.header;
        column->kind = each.kind;
        column->formula = each.formula;
        column->formatSource = DisplayColumn::kNoFormat;
        columns.Add(column);
    }
}

// Two links of the tree to values of another model, and the Links dialog with the first selected.
void OpenLinks()
{
    DocumentLinkList& links = Tree()->Document().DocumentLinks;
    CreateDdeLink(links, "KIVO_Node", "C:\\Models\\Follow-up.tre", "DDE_1", "0.25");
    CreateDdeLink(links, "KIVO_Node", "C:\\Models\\Costs.tre", "DDE_3", "1250");
    links.At(0)->description = "Success rate at follow-up";
    Command(1213);
}

// The spreadsheet part of the tour: a branch paid by the workbook's result through a bi-directional link, two
// variables written into the workbook, and a live link to the DDE peer of the tests (beside this program).
PROCESS_INFORMATION ddePeer = {};
DocumentLink* peerLink = nullptr;

void StartSpreadsheetLinks()
{
    char folder[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, folder, MAX_PATH);
    std::string peer = folder;
    peer = peer.substr(0, peer.find_last_of('\\') + 1) + "kivo_ddepeer.exe";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    CreateProcessA(nullptr, &peer[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &ddePeer);
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string book = std::string(temp) + "kivo-tour-book.txt";
    if (FILE* file = std::fopen(book.c_str(), "w")) {
        std::fputs("In1 A1 n 0\nIn2 A2 n 0\nResult A3 n 0\nRate B1 n 0.25\n", file);
        std::fclose(file);
    }
    TreeDocument& tree = Tree()->Document();
    tree.Links.WorkbookPath() = book.c_str();
    tree.EnsureVariable("cGrowth", "3")->WriteCell() = "In1";
    tree.EnsureVariable("cBase", "4")->WriteCell() = "In2";
    DocumentLinkList& links = tree.DocumentLinks;
    peerLink = links.Find(CreateDdeLink(links, "KivoPeer", "Values", "Rate", ""));
    peerLink->description = "Rate from a live server";
    auto* workbook = new DocumentLink(links.NextIndex());
    workbook->item = "Result";
    workbook->biDirectional = 1;
    workbook->description = "Workbook result";
    links.InsertSorted(workbook);
    tree.AddChild(tree.Root, TerminalNode, "Workbook", "", ("Sub(" + std::to_string(workbook->index) + ")").c_str());
    Tree()->Redraw();
    Select(tree.Root);
}

bool PeerLinkConnected()
{
    const DocumentLinkFeed* feed = TheDocumentLinkFeed();
    if (peerLink == nullptr || feed == nullptr)
        return false;
    if (!feed->IsConnected(*peerLink))
        peerLink->Reconnect();
    return feed->IsConnected(*peerLink);
}

int CellRows()
{
    return ModalDialog() == nullptr ? 0 : static_cast<int>(SendMessageA(ModalDialog()->Control(4404), LB_GETCOUNT, 0, 0));
}

void EndTour()
{
    if (ddePeer.hProcess != nullptr) {
        TerminateProcess(ddePeer.hProcess, 0);
        CloseHandle(ddePeer.hThread);
        CloseHandle(ddePeer.hProcess);
    }
    PostQuitMessage(0);
}

void ShowResultColumns(bool shown)
{
    Tree()->Document().DisplayPrefs.ShowColumns = shown ? 1 : 0;
    Command(1612);
}

// Selects the line of the list box that starts with the text.
void SelectLine(unsigned list, const char* text, bool multiple)
{
    const HWND box = ModalDialog()->Control(list);
    const LRESULT line = SendMessageA(box, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    if (multiple) {
        SendMessageA(box, LB_SETSEL, FALSE, -1);
        SendMessageA(box, LB_SETSEL, TRUE, line);
    } else {
        SendMessageA(box, LB_SETCURSEL, line, 0);
    }
    SendMessageA(ModalDialog()->Handle(), WM_COMMAND, MAKEWPARAM(list, LBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
}

// A double click on the graph element, as the mouse gives it to the graph's pane.
void DoubleClickElement(LineGraph* graph, const GraphElement& element)
{
    ZoomPane* pane = graph->Pane();
    // A hand reaches only what is on the screen: the element is scrolled into view first.
    pane->ScrollIntoView(element.rect);
    UpdateWindow(pane->Handle());
    pane->PushDrawingScale();
    const Display& display = *pane->CurrentDisplay();
    const RECT pixels = pane->DrawingToClient(LogicalRectToPixels(element.rect, display));
    pane->PopDrawingScale();
    DoubleClickAt(pane->Handle(), POINT{(pixels.left + pixels.right) / 2, (pixels.top + pixels.bottom) / 2});
}

// The sensitivity graph with its title selected and its plot dragged larger.
void EditGraph()
{
    LineGraph* graph = FrameChild<LineGraph>();
    ShowWindow(graph->Handle(), SW_MAXIMIZE);
    LogicalRect plot = graph->graphRect;
    plot.right += 1.5f;
    plot.bottom += 0.75f;
    graph->SetGraphRect(plot);
    graph->Refit();
    graph->Select(&graph->title);
}

std::string TourGraphPath()
{
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + "tour-graph.grf";
}

// The graph saved, closed and opened again from its file.
void ReopenGraph()
{
    LineGraph* graph = FrameChild<LineGraph>();
    graph->Deselect();
    graph->SaveAs(TourGraphPath().c_str());
    delete graph;
    RunStartupActionsText(TourGraphPath().c_str());
}

// A diagram whose test is observed before the decision while the state it depends on is not: Bayes'
// Revision names the state, predicted by the test.
InfluenceDiagramWindow* bayesWindow = nullptr;

void OpenBayesDiagram()
{
    bayesWindow = new InfluenceDiagramWindow();
    BuildBayesDiagram(bayesWindow->document);
    bayesWindow->Show(SW_SHOWNORMAL);
    bayesWindow->UpdateExtent();
    PostMessageA(bayesWindow->Handle(), WM_COMMAND, Cmd::DiagramBayesRevision, 0);
}

// The converted tree on the right half of the frame, the diagram on the left, the tree rolled back.
void RollBackBesideTheDiagram()
{
    RECT client{};
    GetClientRect(Frame()->ClientHandle(), &client);
    TreeWindow* tree = TreeWindow::OpenWindows().back();
    SendMessageA(Frame()->ClientHandle(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(tree->Handle()), 0);
    MoveWindow(bayesWindow->Handle(), 0, 0, client.right / 2, client.bottom, TRUE);
    MoveWindow(tree->Handle(), client.right / 2, 0, client.right - client.right / 2, client.bottom, TRUE);
    SendMessageA(Frame()->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(tree->Handle()), 0);
    Command(1612);
}

// The test's probabilities in the table editor, its first cell current.
void EditTestProbabilities()
{
    SendMessageA(Frame()->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(bayesWindow->Handle()), 0);
    for (InfluenceNodeRecord* node : bayesWindow->document.diagram.nodes)
        if (node->name == "A")
            bayesWindow->SelectNode(node, false);
    PostMessageA(bayesWindow->Handle(), WM_COMMAND, Cmd::DiagramProbabilities, 0);
}

// "Arc Data" of an arc from a chance node of three outcomes into another chance node: three rows.
void OpenArcData()
{
    auto* window = new InfluenceDiagramWindow();
    InfluenceDocument& document = window->document;
    InfluenceNodeRecord* weather =
        AddDiagramNode(document, document.diagram, InfluenceKind::Chance, "Weather", 0.5f, 0.5f, {"Sun", "Rain", "Snow"});
    InfluenceNodeRecord* crowd = AddDiagramNode(document, document.diagram, InfluenceKind::Chance, "Crowd", 3, 0.5f, {"Big", "Small"});
    InfluenceArc* arc = AddDiagramArc(document.diagram, weather, crowd);
    window->Show(SW_SHOWNORMAL);
    window->UpdateExtent();
    window->SelectArc(arc);
    PostMessageA(window->Handle(), WM_COMMAND, Cmd::ArcEditArc, 0);
}

// A map of three treatments over two probabilities, each best in its own part of the plane.
std::shared_ptr<StrategyRegionMap> TourRegionMap(int strategies, double shift)
{
    auto map = std::make_shared<StrategyRegionMap>(nullptr, 21, 21, strategies, 0.0, 1.0, 0.0, 1.0);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 21; ++x) {
            const double px = map->XAt(x);
            const double py = map->YAt(y);
            map->Cell(0, y, x).value = 40 + 60 * px * py;
            map->Cell(1, y, x).value = 45 + shift + 20 * py - 10 * px * px;
            if (strategies > 2)
                map->Cell(2, y, x).value = 30 + 50 * px * (1 - py);
        }
    map->labels = {"Surgery", "Medicine", "Watch"};
    map->labels.resize(static_cast<size_t>(strategies));
    return map;
}

// The two-way graph of two treatments with three isocontours.
void OpenTourTwoWayGraph()
{
    TwoWaySensitivityResults results;
    results.map = TourRegionMap(2, 0.0);
    results.title = "Sensitivity Analysis on";
    results.subtitle = "Treatment";
    results.xLabel = "pSuccess";
    results.yLabel = "pCure";
    auto* graph = new TwoWaySensGraph(results);
    graph->contourValues = {-10.0, 0.0, 10.0};
    graph->Open(nullptr);
}

// The three-way graph of three treatments, the third variable moving the Medicine region.
void OpenTourThreeWayGraph()
{
    ThreeWaySensitivityResults results;
    for (int step = 0; step < 3; ++step)
        results.maps.push_back(TourRegionMap(3, step * 5.0));
    results.title = "Sensitivity Analysis on";
    results.subtitle = "Treatment";
    results.labels[0] = "pSuccess";
    results.labels[1] = "pCure";
    results.labels[2] = "cost";
    results.zHigh = 10.0;
    results.zStep = 5.0;
    (new ThreeWaySensGraph(results))->Open(nullptr);
}

// A tornado of three variables, the widest first, the optimal treatment changing inside the first bar.
void OpenTourTornado()
{
    TornadoResults results = MakeTornadoResults(
        {{"pSuccess", 52.0, 100.0}, {"costSurgery", 55.0, 75.0}, {"pCure", 58.0, 66.0}}, 60.0, 50.0, 100.0,
        "Expected Value");
    results.node = Tree()->Document().Root;
    results.thisNodeOnly = false;
    (new TornadoGraph(results))->Open(nullptr);
}

// The cost-effectiveness planes of a sweep of pSuccess over the three treatments.
void OpenTourPlanes()
{
    SensitivityResultGrid grid(Tree()->Document().Root, 4, 3, 0.0, 1.0);
    for (int t = 0; t <= 4; ++t) {
        grid.Cell(0, t) = ValueTriple{3000.0, 5.0 + t, 0.0};
        grid.Cell(1, t) = ValueTriple{1000.0, 5.0, 0.0};
        grid.Cell(2, t) = ValueTriple{2000.0 + 300.0 * t, 6.0, 0.0};
    }
    (new CESensitivityGraph(grid, Tree()->Document().Root, "pSuccess", "pSuccess", 0))->Open(nullptr);
}

// The frame's stepped graph of the kind has played its steps as it opened and rests on the last.
template <class Window>
bool StepsPlayed()
{
    Window* graph = FrameChild<Window>();
    return graph != nullptr && !graph->Strip()->Animating();
}

// Shows a step of the frame's stepped graph of the kind.
template <class Window>
void ShowStepOf(int step)
{
    FrameChild<Window>()->Strip()->ShowStep(step);
}

// Deletes the frame's window of the kind.
template <class Window>
void CloseFrameChild()
{
    delete FrameChild<Window>();
}

int GraphCount()
{
    std::vector<WindowCL*> windows;
    Frame()->CollectWindows(windows);
    int graphs = 0;
    for (WindowCL* window : windows)
        graphs += dynamic_cast<LineGraph*>(window) != nullptr;
    return graphs;
}

bool Analysing()
{
    TreeWindow* tree = Tree();
    // An analysis still in its set-up (a chooser open) waits for the person, not for idle time.
    return tree && tree->Document().CurrentAnalysis != nullptr &&
           tree->Document().CurrentAnalysis->state != AnalysisRun::Created;
}

// The script's text window while it shows.
bool ScriptTextShown()
{
    return ThreadWindow("KivoScriptText") != nullptr;
}

// A script that asks for a branch, shows a note over the frame and asks for a number; it runs inside the
// step that starts it, and the steps after it go on in its dialogs and its wait.
void RunTourScript()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string path = std::string(temp) + "kivo-tour-script.txt";
    if (FILE* file = std::fopen(path.c_str(), "w")) {
        std::fputs("!BeginBranch(Which step comes next?)\n!Branch(Show a note,Note)\n!Branch(Ask a number,Ask)\n"
                   "!Branch(Stop here,Stop)\n!EndBranch\n:Note\n"
                   "!TextBox(\"Rolling back the tree: each node shows its expected value.\", 8000)\n:Ask\n"
                   "!UserInput(How many cycles should the Markov analysis run?,cycles,1,100)\n:Stop\n",
                   file);
        std::fclose(file);
    }
    TheProgram()->Scripts()->RunScriptFile(path.c_str());
    std::remove(path.c_str());
}

// A second tree in cost-effectiveness mode: four strategies at a decision node, one of them a blend of its
// neighbours, analysed with cost on the horizontal axis.
void AnalyseCostEffectiveness()
{
    auto* tree = new TreeWindow();
    tree->Show(SW_SHOWNORMAL);
    TreeDocument& document = tree->Document();
    document.CalcPrefs.CalcMethod = CostEffectivenessMethod;
    document.CalcPrefs.CECostPayoff = 0;
    document.CalcPrefs.CEEffPayoff = 1;
    document.Root->kind = DecisionNode;
    document.Root->SetText("Screening", false);
    const char* const strategies[][3] = {{"None", "0", "0"}, {"Yearly", "10", "2"}, {"Twice", "20", "5"},
                                         {"Scan", "15", "1"}};
    for (const auto& strategy : strategies)
        document.AddChild(document.Root, TerminalNode, strategy[0], "", strategy[1])->SetPayoffText(strategy[2], 1, false);
    tree->Redraw();
    tree->SelectNode(document.Root, 1, nullptr, false);
    PostMessageA(tree->Handle(), WM_COMMAND, Cmd::AnalysisCostEffectiveness, 0);
}

// A lookup table of five rates (made once in the tables directory), opened in its window.
void OpenTourTable()
{
    LookupTable* table = FindTable("TourRates");
    if (table == nullptr)
        table = CreateTable("TourRates", "tourrates", "", LookupTable::Interpolation, false);
    if (table == nullptr)
        return;
    const double entries[][2] = {{0, 0.02}, {1, 0.035}, {2.5, 0.05}, {4, 0.045}, {6, 0.07}};
    for (const auto& entry : entries)
        table->SetEntry(entry[0], entry[1]);
    table->Save();
    OpenTableGraph("TourRates");
}

bool Idle()
{
    const DWORD queued = HIWORD(GetQueueStatus(QS_ALLINPUT)) & ~QS_TIMER;
    IdleList* idle = TheApp->Idle();
    return queued == 0 && !(idle && idle->Count() > 0) && !Analysing();
}

void BuildSteps()
{
    const auto always = [] { return true; };
    const auto modal = [] { return ModalDialog() != nullptr; };
    const auto noModal = [] { return ModalDialog() == nullptr; };
    steps = {
        {"start", [] {}, [] { return Frame() && !Frame()->StartupBusy() && Tree(); }},
        {"tree", BuildTree, always},
        {"rolled-back", [] { Command(1612); }, [] { return Tree()->Document().IsRolledBack(); }},
        {nullptr, [] { Command(1612); }, [] { return !Tree()->Document().IsRolledBack(); }},
        {nullptr, OpenLinks, modal},
        {"links", [] { SelectLine(2191, "1", true); }, always},
        {nullptr, [] { PressInDialog(IDCANCEL); }, noModal},
        {"preferences", [] { Command(1308); }, modal},
        {"help-window", [] { PressInDialog(111); }, [] { return HelpWindow::Open() != nullptr; }},
        {nullptr, [] { PostMessageA(HelpWindow::Open()->Handle(), WM_COMMAND, IDCANCEL, 0); },
         [] { return HelpWindow::Open() == nullptr; }},
        {nullptr, [] { PressInDialog(IDCANCEL); }, noModal},
        {"variables", [] { Command(1306); }, always},
        {nullptr, [] { Select(Tree()->Document().Root); Command(1651); }, modal},
        {"sensitivity-graph",
         [] {
             DialogFrameCL* dialog = ModalDialog();
             SetDlgItemTextA(dialog->Handle(), Ctl::SensitivityAnalysis::LowValueEdit, "0");
             SetDlgItemTextA(dialog->Handle(), Ctl::SensitivityAnalysis::HighValueEdit, "1");
             SetDlgItemTextA(dialog->Handle(), Ctl::SensitivityAnalysis::NumberOfIntervalsEdit, "10");
             PressInDialog(IDOK);
         },
         [] { return FrameChild<LineGraph>() != nullptr; }},
        {"graph-edited", EditGraph, always},
        {"modify-axis", [] { DoubleClickElement(FrameChild<LineGraph>(), FrameChild<LineGraph>()->verticalAxis); },
         modal},
        {nullptr, [] { PressInDialog(IDCANCEL); }, noModal},
        {"graph-preferences", [] { Command(Cmd::DisplayPreferences); }, modal},
        {nullptr, [] { PressInDialog(IDCANCEL); }, noModal},
        {"marker-picker",
         [] { DoubleClickElement(FrameChild<LineGraph>(), *FrameChild<LineGraph>()->legendKeys.Key(0)); }, modal},
        {nullptr, [] { PressInDialog(IDCANCEL); }, noModal},
        {"graph-menu", [] { PostMessageA(Frame()->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'g'); }, MenuShown},
        {nullptr, [] { EndMenu(); }, [] { return !MenuShown(); }},
        {"graph-lines",
         [] {
             Command(1708);
         },
         modal},
        {"graph-dotted-lines",
         [] {
             const HWND dialog = ModalDialog()->Handle();
             CheckDlgButton(dialog, 3282, BST_CHECKED);
             CheckDlgButton(dialog, 3283, BST_CHECKED);
             SetDlgItemTextA(dialog, 3281, "60");
             SetDlgItemTextA(dialog, 3284, "0.5");
             PressInDialog(IDOK);
         },
         noModal},
        {"copy-graph", [] { Command(1216); }, modal},
        {nullptr, [] { PressInDialog(IDCANCEL); }, noModal},
        {"create-template", [] { Command(1714); }, modal},
        {nullptr,
         [] {
             const HWND dialog = ModalDialog()->Handle();
             SetDlgItemTextA(dialog, 3831, "Tour graphs");
             CheckDlgButton(dialog, 3834, BST_CHECKED);
             CheckDlgButton(dialog, 3844, BST_CHECKED);
             PressInDialog(IDOK);
         },
         noModal},
        // The template kept: Maintain with its properties, fonts and texts; then applied to the graph.
        {"maintain-templates", [] { Command(1716); }, modal},
        {"template-properties", [] { SelectLine(3862, "Tour graphs", false); PressInDialog(3891); },
         [] { return DialogFrameCL::ModalStack().size() == 2 && ModalDialog() != nullptr; }},
        {"template-fonts", [] { PressInDialog(3842); },
         [] { return DialogFrameCL::ModalStack().size() == 3 && ModalDialog() != nullptr; }},
        {nullptr, [] { PressInDialog(IDCANCEL); },
         [] { return DialogFrameCL::ModalStack().size() == 2 && ModalDialog() != nullptr; }},
        {"template-texts", [] { PressInDialog(3843); },
         [] { return DialogFrameCL::ModalStack().size() == 3 && ModalDialog() != nullptr; }},
        {nullptr, [] { PressInDialog(IDCANCEL); },
         [] { return DialogFrameCL::ModalStack().size() == 2 && ModalDialog() != nullptr; }},
        {nullptr, [] { PressInDialog(IDCANCEL); },
         [] { return DialogFrameCL::ModalStack().size() == 1 && ModalDialog() != nullptr; }},
        {nullptr, [] { PressInDialog(IDOK); }, noModal},
        {"apply-template", [] { Command(1715); }, modal},
        {"graph-template-applied", [] { SelectLine(3862, "Tour graphs", false); PressInDialog(IDOK); }, noModal},
        {"graph-reopened", ReopenGraph,
         [] { return FrameChild<LineGraph>() != nullptr && !FrameChild<LineGraph>()->FilePathObject().IsEmpty(); }},
        // The reopened one-way graph whole: its lines with their marks, the legend and the threshold block.
        {"line-graph-thresholds",
         [] {
             LineGraph* graph = FrameChild<LineGraph>();
             ShowWindow(graph->Handle(), SW_MAXIMIZE);
         },
         always},
        {"show-hide-lines", [] { Command(Cmd::GraphShowHide); }, modal},
        {nullptr, [] { PressInDialog(IDOK); }, noModal},
        {"line-to-table", [] { Command(Cmd::GraphLineToTable); }, modal},
        {nullptr, [] { PressInDialog(IDCANCEL); }, noModal},
        {nullptr, [] { ShowWindow(FrameChild<LineGraph>()->Handle(), SW_RESTORE); }, always},
        {"strategy-graph", [] { Command(Cmd::GraphStrategyGraph); },
         [] { return FrameChild<StrategyRegionGraph>() != nullptr; }},
        {nullptr, CloseFrameChild<StrategyRegionGraph>, always},
        {"two-way-graph", OpenTourTwoWayGraph, [] { return FrameChild<TwoWaySensGraph>() != nullptr; }},
        {nullptr, CloseFrameChild<TwoWaySensGraph>, always},
        // The stepped graphs play their steps as they open and rest on the last; then a middle step is shown.
        {"three-way-graph-played", OpenTourThreeWayGraph, StepsPlayed<ThreeWaySensGraph>},
        {"three-way-graph", [] { ShowStepOf<ThreeWaySensGraph>(1); }, always},
        {nullptr, CloseFrameChild<ThreeWaySensGraph>, always},
        {"tornado-diagram", OpenTourTornado, [] { return FrameChild<TornadoGraph>() != nullptr; }},
        {nullptr, CloseFrameChild<TornadoGraph>, always},
        {"cost-effectiveness-planes-played", OpenTourPlanes, StepsPlayed<CESensitivityGraph>},
        {"cost-effectiveness-planes", [] { ShowStepOf<CESensitivityGraph>(2); }, always},
        {nullptr, CloseFrameChild<CESensitivityGraph>, always},
        // The sweep saved with that template, then run again from the stored list.
        {nullptr, [] { Select(Tree()->Document().Root); Command(Cmd::AnalysisSaveLast); }, modal},
        {nullptr,
         [] {
             SetDlgItemTextA(ModalDialog()->Handle(), Ctl::SaveAnalysis::EnterANameForTheAnalysisEdit, "pSuccess sweep");
             PressInDialog(Ctl::SaveAnalysis::Template);
         },
         [] { return DialogFrameCL::ModalStack().size() == 2 && ModalDialog() != nullptr; }},
        {nullptr, [] { SelectLine(3862, "Tour graphs", false); PressInDialog(IDOK); },
         [] { return MessageBoxShown() != nullptr || DialogFrameCL::ModalStack().size() == 1; }},
        {nullptr,
         [] {
             if (const HWND box = MessageBoxShown())
                 PostMessageA(box, WM_COMMAND, IDOK, 0);
         },
         [] { return MessageBoxShown() == nullptr && DialogFrameCL::ModalStack().size() == 1; }},
        {"save-analysis-template", [] {}, always},
        {nullptr, [] { PressInDialog(IDOK); }, noModal},
        {nullptr, [] { Command(Cmd::AnalysisRunOldAnalysis); }, modal},
        {"rerun-graph-template",
         [] {
             SelectLine(Ctl::RunAnalysis::AnalysesList, "pSuccess sweep", true);
             PressInDialog(IDOK);
         },
         [] { return GraphCount() == 2 && !Analysing(); }},
        {"maintain-analyses-template", [] { Select(Tree()->Document().Root); Command(Cmd::AnalysisMaintainAnalyses); },
         modal},
        {nullptr, [] { PressInDialog(IDCANCEL); }, noModal},
        {"markov-window", [] { Select(NodeNamed("Cohort")); Command(1603); },
         [] { return FrameChild<MarkovAnalysisWindow>() != nullptr; }},
        {"markov-probabilities",
         [] { PostMessageA(FrameChild<MarkovAnalysisWindow>()->Handle(), WM_COMMAND, 1580, 0); },
         [] {
             return GraphCount() == 3;
         }},
        {"markov-report",
         [] {
             PostMessageA(FrameChild<MarkovAnalysisWindow>()->Handle(), WM_COMMAND,
                          MAKEWPARAM(Ctl::MarkovAnalysis::TextReport, BN_CLICKED), 0);
         },
         modal},
        {nullptr, [] { PressInDialog(IDOK); }, noModal},
        {nullptr, [] { PostMessageA(FrameChild<MarkovAnalysisWindow>()->Handle(), WM_COMMAND, IDOK, 0); },
         [] { return FrameChild<MarkovAnalysisWindow>() == nullptr; }},
        // A simulation of the tree: its window over the tree when the trials ended, the outcomes' graph over it,
        // then the window again once the graph closed.
        {nullptr, [] { Select(Tree()->Document().Root); Command(Cmd::AnalysisMonteCarloSimulation); }, modal},
        {"monte-carlo-window",
         [] {
             SetDlgItemTextA(ModalDialog()->Handle(), Ctl::MonteCarloSimulation::NumberOfTrialsEdit, "200");
             PressInDialog(IDOK);
         },
         [] {
             auto* simulation = FrameChild<MonteCarloProgressDialog>();
             return simulation != nullptr && simulation->Run().Finished();
         }},
        {"monte-carlo-graph",
         [] {
             PostMessageA(FrameChild<MonteCarloProgressDialog>()->Handle(), WM_COMMAND, Cmd::MonteCarloOutcomeGraph, 0);
         },
         [] { return FrameChild<ProbDistributionGraph>() != nullptr; }},
        {"monte-carlo-graph-closed", CloseFrameChild<ProbDistributionGraph>,
         [] { return FrameChild<ProbDistributionGraph>() == nullptr; }},
        {nullptr, [] { PostMessageA(FrameChild<MonteCarloProgressDialog>()->Handle(), WM_COMMAND, IDOK, 0); },
         [] { return FrameChild<MonteCarloProgressDialog>() == nullptr; }},
        {"define-variable-menus",
         [] {
             // At a Markov state, where the Markov keywords apply too.
             Tree()->OpenNodeValueWindow(NodeNamed("Cohort")->GetChild(0), "pSuccess");
             HWND functions = MenuButtonNamed(FrameChild<DefineVariableWindow>(), "Functions:");
             PostMessageA(functions, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
         },
         MenuShown},
        {nullptr, [] { EndMenu(); }, [] { return !MenuShown(); }},
        {nullptr, [] { PostMessageA(FrameChild<DefineVariableWindow>()->Handle(), WM_COMMAND, IDCANCEL, 0); },
         [] { return FrameChild<DefineVariableWindow>() == nullptr; }},
        {"markov-state-info",
         [] {
             Select(NodeNamed("Cohort")->GetChild(0));
             Command(1507);
         },
         [] { return FrameChild<MarkovRewardsWindow>() != nullptr; }},
        {nullptr, [] { PostMessageA(FrameChild<MarkovRewardsWindow>()->Handle(), WM_COMMAND, IDCANCEL, 0); },
         [] { return FrameChild<MarkovRewardsWindow>() == nullptr; }},
        // The wheel of Surgery's outcomes, pSuccess storing the first.
        {"probability-wheel", [] { Select(NodeNamed("Surgery")); Command(1513); }, modal},
        {nullptr, [] { PressInDialog(IDCANCEL); }, noModal},
        // Change Values of a custom interface: pSuccess (its editor open) and a switch.
        {"change-values",
         [] {
             TreeDocument& tree = Tree()->Document();
             tree.CustomInterface = std::make_unique<CustomInterfaceSettings>();
             tree.EnsureVariable("screening", nullptr);
             tree.Root->SetBinding("screening", "1", false);
             for (const char* name : {"pSuccess", "screening"}) {
                 auto* parameter = new CustomInterfaceParameter{name, "Screen"};
                 parameter->high = 1;
                 parameter->currentValue = parameter->defaultValue = 0.6;
                 parameter->wheelAllowed = 1;
                 parameter->onOffSwitch = name[0] == 's' ? 1 : 0;
                 tree.CustomInterface->Add(parameter);
             }
             Command(1192);
         },
         modal},
        {nullptr, [] { PressInDialog(IDCANCEL); }, noModal},
        // The designer's Basic parameters, then Edit Parameter of the first.
        {nullptr, [] { Command(1417); }, modal},
        {"designer-parameters", [] { PressInDialog(3512); }, [] { return DialogFrameCL::ModalStack().size() == 2; }},
        {"designer-edit-parameter",
         [] {
             SendDlgItemMessageA(ModalDialog()->Handle(), 3546, LB_SETCURSEL, 0, 0);
             PressInDialog(3547);
         },
         [] { return DialogFrameCL::ModalStack().size() == 3; }},
        {nullptr, [] { PressInDialog(IDCANCEL); }, [] { return DialogFrameCL::ModalStack().size() == 2; }},
        {nullptr, [] { PressInDialog(IDOK); }, [] { return DialogFrameCL::ModalStack().size() == 1; }},
        {nullptr, [] { PressInDialog(IDCANCEL); }, noModal},
        // The Formula Editor over the Distribution Picker of a new distribution, then the Function Helper.
        {nullptr, [] { Command(1515); }, modal},
        {nullptr, [] { PressInDialog(3442); }, [] { return DialogFrameCL::ModalStack().size() == 2; }},
        // The picker on Beta's picture, in its real-numbered mode.
        {"distribution-picker", [] { PressInDialog(2463); PressInDialog(2493); },
         [] { return DialogFrameCL::ModalStack().size() == 2; }},
        {"formula-editor", [] { PressInDialog(2489); }, [] { return DialogFrameCL::ModalStack().size() == 3; }},
        {"function-helper", [] { PostMessageA(ModalDialog()->Handle(), WM_COMMAND, 980, 0); },
         [] { return DialogFrameCL::ModalStack().size() == 4; }},
        {"function-prompt",
         [] {
             const HWND list = ModalDialog()->Control(2731);
             SendMessageA(list, LB_SETCURSEL, SendMessageA(list, LB_FINDSTRINGEXACT, -1, LPARAM("PMT")), 0);
             PressInDialog(IDOK);
         },
         [] { return ModalDialog() != nullptr && ModalDialog()->Control(2746) != nullptr; }},
        {nullptr, [] { PressInDialog(IDCANCEL); }, [] { return DialogFrameCL::ModalStack().size() == 3; }},
        {nullptr, [] { PressInDialog(IDCANCEL); }, [] { return DialogFrameCL::ModalStack().size() == 2; }},
        {nullptr, [] { PressInDialog(IDCANCEL); }, [] { return DialogFrameCL::ModalStack().size() == 1; }},
        {nullptr, [] { PressInDialog(IDCANCEL); }, noModal},
        {"create-slider", [] { Select(Tree()->Document().Root); Command(1510); }, modal},
        {nullptr, [] { PressInDialog(IDCANCEL); }, noModal},
        // Changing an event without branches into an end node asks first; Cancel changes nothing, and the
        // event goes again.
        {nullptr,
         [] {
             TreeDocument& tree = Tree()->Document();
             Select(tree.AddChild(tree.Root, ChanceNode, "Watch"));
             Tree()->Redraw();
             Command(Cmd::OptionsChangeNodeType);
         },
         modal},
        {"change-type-question",
         [] {
             SendMessageA(ModalDialog()->Control(2072), BM_CLICK, 0, 0);
             PressInDialog(IDOK);
         },
         [] { return MessageBoxShown() != nullptr; }},
        {nullptr, [] { PostMessageA(MessageBoxShown(), WM_COMMAND, IDCANCEL, 0); },
         [] { return MessageBoxShown() == nullptr && ModalDialog() == nullptr; }},
        {nullptr,
         [] {
             TreeDocument& tree = Tree()->Document();
             TreeNode* watch = tree.Root->GetChild(tree.Root->childCount - 1);
             Select(tree.Root);
             tree.Root->RemoveChild(watch);
             delete watch;
             Tree()->Redraw();
         },
         always},
        // Distribute Children into four uniform ranges, a boundary held mid-drag; then Cancel.
        {nullptr,
         [] {
             TreeDocument& tree = Tree()->Document();
             Select(tree.AddChild(tree.Root, ChanceNode, "Spread"));
             Tree()->Redraw();
             Command(Cmd::OptionsDistributeChildren);
         },
         modal},
        {nullptr,
         [] {
             SetDlgItemTextA(ModalDialog()->Handle(), Ctl::DistributeChildren::NumberOfNewBranchesEdit, "4");
             PressInDialog(IDOK);
         },
         [] { return ModalDialog() != nullptr && ModalDialog()->Control(2462) != nullptr; }},
        {nullptr, [] { PressInDialog(2462); }, always},
        {nullptr,
         [] {
             SetDlgItemTextA(ModalDialog()->Handle(), 2485, "0.5");
             PressInDialog(IDOK);
         },
         [] { return ModalDialog() != nullptr && ModalDialog()->Control(2568) != nullptr; }},
        {"distribute-children-drag",
         [] {
             const HWND markers = ModalDialog()->Control(2568);
             RECT strip{};
             GetClientRect(markers, &strip);
             SendMessageA(markers, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(strip.right / 4, 8));
             SendMessageA(markers, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(strip.right * 3 / 8, 8));
         },
         always},
        {nullptr,
         [] {
             const HWND markers = ModalDialog()->Control(2568);
             SendMessageA(markers, WM_LBUTTONUP, 0, MAKELPARAM(0, 8));
             PressInDialog(IDCANCEL);
         },
         noModal},
        {nullptr,
         [] {
             TreeDocument& tree = Tree()->Document();
             TreeNode* spread = NodeNamed("Spread");
             Select(tree.Root);
             tree.Root->RemoveChild(spread);
             delete spread;
             Tree()->Redraw();
         },
         always},
        // The Options menu with "Mimic Run-Time" checked, then unchecked again.
        {nullptr, [] { Command(Cmd::OptionsMimicRunTime); }, always},
        {"options-menu-mimic", [] { PostMessageA(Frame()->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'o'); }, MenuShown},
        {nullptr, [] { EndMenu(); }, [] { return !MenuShown(); }},
        {nullptr, [] { Command(Cmd::OptionsMimicRunTime); }, always},
        // Variable Properties of a ranged, correlated variable, its correlations, a new correlation, and a new
        // variable's properties, from Define Values.
        {nullptr, [] { RangeAndCorrelate(); Command(1502); }, modal},
        {"variable-properties",
         [] {
             SelectLine(Ctl::DefineValues::ShownList, "pSuccess", true);
             PressInDialog(Ctl::DefineValues::Properties);
         },
         [] { return DialogFrameCL::ModalStack().size() == 2; }},
        {"correlations", [] { PressInDialog(Ctl::VariableProperties::Correlations); },
         [] { return DialogFrameCL::ModalStack().size() == 3; }},
        {"new-correlation",
         [] {
             SelectLine(Ctl::Correlations3970::CorrelationsList, "pRelapse", false);
             PressInDialog(Ctl::Correlations3970::AddButton);
         },
         [] { return DialogFrameCL::ModalStack().size() == 4; }},
        {nullptr, [] { PressInDialog(IDCANCEL); }, [] { return DialogFrameCL::ModalStack().size() == 3; }},
        {nullptr, [] { PressInDialog(IDCANCEL); }, [] { return DialogFrameCL::ModalStack().size() == 2; }},
        {nullptr, [] { PressInDialog(IDCANCEL); }, [] { return DialogFrameCL::ModalStack().size() == 1; }},
        {"new-variable-properties", [] { PressInDialog(Cmd::DefineValuesNewVariable); },
         [] { return DialogFrameCL::ModalStack().size() == 2; }},
        {nullptr, [] { PressInDialog(IDCANCEL); }, [] { return DialogFrameCL::ModalStack().size() == 1; }},
        {nullptr, [] { PressInDialog(IDCANCEL); }, noModal},
        // A one-way set-up on the correlated pSuccess asks which partners move with it.
        {nullptr, [] { Select(Tree()->Document().Root); Command(1651); }, modal},
        {"correlations-chooser",
         [] {
             const HWND dialog = ModalDialog()->Handle();
             const HWND box = GetDlgItem(dialog, Ctl::SensitivityAnalysis::VariableCombo);
             SendMessageA(box, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("pSuccess"));
             SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(Ctl::SensitivityAnalysis::VariableCombo, CBN_SELCHANGE),
                          reinterpret_cast<LPARAM>(box));
             SetDlgItemTextA(dialog, Ctl::SensitivityAnalysis::NumberOfIntervalsEdit, "4");
             PressInDialog(IDOK);
         },
         [] { return ModalDialog() != nullptr && ModalDialog()->Control(Ctl::Correlations::CorrelatedVariablesList); }},
        {nullptr, [] { PressInDialog(IDCANCEL); }, noModal},
        // The Columns dialog on a custom calculation column, from the Terminal Nodes page of Preferences.
        {nullptr, [] { AddTourColumns(); Command(1308); }, modal},
        {"columns",
         [] {
             SelectLine(Ctl::Preferences::CategoryList, "Terminal Nodes", false);
             const HWND page = dynamic_cast<HookedDialog*>(ModalDialog())->Page()->Handle();
             SendMessageA(GetDlgItem(page, Ctl::TerminalNodesPage::ShowColumns), BM_CLICK, 0, 0);
             PostMessageA(GetDlgItem(page, Ctl::TerminalNodesPage::SetColumns), BM_CLICK, 0, 0);
         },
         [] { return DialogFrameCL::ModalStack().size() == 2; }},
        {nullptr, [] { PressInDialog(IDCANCEL); }, [] { return DialogFrameCL::ModalStack().size() == 1; }},
        {nullptr, [] { PressInDialog(IDCANCEL); }, noModal},
        {"result-columns", [] { ShowResultColumns(true); }, [] { return Tree()->Document().IsRolledBack(); }},
        {nullptr, [] { ShowResultColumns(false); }, [] { return !Tree()->Document().IsRolledBack(); }},
        {"print-preview",
         [] {
             const std::string entry = TestPrinterEntry();
             const DefaultPrinter described(entry.c_str());
             Tree()->UsePrinter(new PrinterDevice(&described));
             Select(Tree()->Document().Root);
             Command(1112);
         },
         modal},
        {nullptr, [] { PressInDialog(IDOK); }, noModal},
        // A histogram of Surgery with Bar Details open, then cumulative; Percent Optimal; comparative
        // distributions in the middle of their animation.
        {"histogram", [] { Select(NodeNamed("Surgery")); Command(Cmd::AnalysisProbabilityDistribution); },
         [] { return FrameChild<ProbDistributionGraph>() != nullptr; }},
        {"histogram-bar-details", OpenBarDetails, modal},
        {nullptr, [] { PressInDialog(IDCANCEL); }, noModal},
        {nullptr, [] { PostMessageA(FrameChild<ProbDistributionGraph>()->Handle(), WM_COMMAND, Cmd::GraphCumulative, 0); },
         [] { return FrameChild<ProbDistributionGraph>()->isCumulative != 0; }},
        {"cumulative-bar-details", OpenBarDetails, modal},
        {nullptr, [] { PressInDialog(IDCANCEL); }, noModal},
        {"percent-optimal", ShowPercentOptimal, [] { return FrameChild<OptionBarGraph>() != nullptr; }},
        {nullptr, CompareDistributions, [] { return FrameChild<DistributionGraph>() != nullptr; }},
        {"comparative-animation", [] { FrameChild<DistributionGraph>()->Strip()->Animate(); },
         [] { return FrameChild<DistributionGraph>()->Strip()->ScrollPosition() == 0; }},
        {nullptr, RemoveTrial, [] { return !FrameChild<DistributionGraph>()->Strip()->Animating(); }},
        {"influence-diagram", OpenSampleDiagram, [] { return FrameChild<InfluenceDiagramWindow>() != nullptr; }},
        {"diagram-drawn", DrawTourDiagram,
         [] { return ActiveDiagram() != nullptr && ActiveDiagram()->document.diagram.arcs.size() == 2; }},
        // A name typed into the editor of "Recovery", then Escape: the editor closes on the old name, the
        // diagram stays whole.
        {"diagram-name-typing",
         [] {
             InfluenceDiagramWindow* window = ActiveDiagram();
             window->SelectNode(window->document.diagram.nodes[1], true);
             if (InPlaceEdit* editor = window->LabelEditor())
                 editor->TypeText(zString("Disease"));
         },
         [] { return ActiveDiagram()->LabelEditor() != nullptr; }},
        {"diagram-name-escape",
         [] {
             const HWND editor = ActiveDiagram()->LabelEditor()->Handle();
             PostMessageA(editor, WM_KEYDOWN, VK_ESCAPE, 1);
             PostMessageA(editor, WM_KEYUP, VK_ESCAPE, 0xC0000001);
         },
         [] { return ActiveDiagram() != nullptr && ActiveDiagram()->LabelEditor() == nullptr; }},
        {"diagram-tool", [] { Command(Cmd::ModeChance); },
         [] { return ModeButtonSet() != nullptr && ModeButtonSet()->Current() == Cmd::ModeChance; }},
        // A rubber band held over the two upper nodes, then released: they show selected.
        {"diagram-band",
         [] {
             SendMessageA(ActiveDiagram()->Handle(), WM_COMMAND, Cmd::ModeNone, 0);
             SendToDiagram(WM_LBUTTONDOWN, MK_LBUTTON, 0.4f, 0.5f);
             SendToDiagram(WM_MOUSEMOVE, MK_LBUTTON, 2.5f, 1.2f);
             SendToDiagram(WM_MOUSEMOVE, MK_LBUTTON, 4.4f, 1.6f);
         },
         always},
        {"diagram-selection", [] { SendToDiagram(WM_LBUTTONUP, 0, 4.4f, 1.6f); }, always},
        {"diagram-edit-menu", [] { PostMessageA(Frame()->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'e'); }, MenuShown},
        {nullptr, [] { EndMenu(); }, [] { return !MenuShown(); }},
        // The Diagram menu with two nodes selected: Align is offered.
        {"diagram-menu", [] { PostMessageA(Frame()->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'i'); }, MenuShown},
        {nullptr, [] { EndMenu(); }, [] { return !MenuShown(); }},
        {"diagram-arc-menu",
         [] {
             const DiagramPoint middle = ActiveDiagram()->document.diagram.arcs.back()->middle;
             SendToDiagram(WM_RBUTTONDOWN, MK_RBUTTON, middle.x, middle.y, true);
         },
         MenuShown},
        {nullptr, [] { EndMenu(); }, [] { return !MenuShown(); }},
        // The diagram's pages on the tests' printer.
        {"diagram-print-preview",
         [] {
             const std::string entry = TestPrinterEntry();
             const DefaultPrinter described(entry.c_str());
             ActiveDiagram()->UsePrinter(new PrinterDevice(&described));
             Command(Cmd::FilePrintPreview);
         },
         modal},
        {nullptr, [] { PressInDialog(IDOK); }, noModal},
        // The diagram's Preferences: Tree Conversion, the node size preview in the middle of a drag, Fonts.
        {"diagram-preferences", [] { Command(Cmd::DisplayPreferences); }, modal},
        {"diagram-node-size",
         [] {
             PickCategory(2);
             SendMessageA(PageControl(Ctl::NodeSizePage::FixedNodeSize), BM_CLICK, 0, 0);
             const HWND area = PageControl(Ctl::NodeSizePage::TextSizeArea);
             const InfDiagPrefs& prefs = ActiveDiagram()->document.prefs;
             HDC dc = GetDC(area);
             const int right = (GetDeviceCaps(dc, LOGPIXELSX) * (8 + static_cast<int>(prefs.sizeH * 100))) / 100;
             const int bottom = (GetDeviceCaps(dc, LOGPIXELSY) * (8 + static_cast<int>(prefs.sizeV * 100))) / 100;
             ReleaseDC(area, dc);
             SendMessageA(area, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(right - 2, bottom - 2));
             SendMessageA(area, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(right + 40, bottom + 12));
         },
         modal},
        {"diagram-fonts",
         [] {
             const HWND area = PageControl(Ctl::NodeSizePage::TextSizeArea);
             SendMessageA(area, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
             PickCategory(4);
         },
         modal},
        {nullptr, [] { PressInDialog(IDCANCEL); }, noModal},
        {"diagram-bayes-revision", OpenBayesDiagram, modal},
        {nullptr, [] { PressInDialog(IDOK); }, noModal},
        {nullptr, [] { PostMessageA(bayesWindow->Handle(), WM_COMMAND, Cmd::FileConvertToOutline, 0); },
         [] { return TreeWindow::OpenWindows().size() == 2; }},
        {"diagram-converted", RollBackBesideTheDiagram,
         [] { return TreeWindow::OpenWindows().back()->Document().IsRolledBack(); }},
        {"diagram-table-editor", EditTestProbabilities, modal},
        {nullptr, [] { PressInDialog(IDCANCEL); }, noModal},
        {"diagram-arc-data", OpenArcData, modal},
        {nullptr, [] { PressInDialog(IDCANCEL); }, noModal},
        // The same diagram's weather node: its variable, then its kind.
        {"diagram-node-variable",
         [] {
             InfluenceDiagramWindow* window = ActiveDiagram();
             window->SelectNode(window->document.diagram.nodes.front(), false);
             Command(Cmd::DiagramVariable);
         },
         modal},
        {nullptr, [] { PressInDialog(IDCANCEL); }, noModal},
        {"diagram-node-type", [] { Command(Cmd::OptionsChangeNodeType); }, modal},
        {nullptr, [] { PressInDialog(IDCANCEL); }, noModal},
        {"diagram-sub-model", ShowSubModelBesideOwner,
         [] { return ActiveDiagram() != nullptr && ActiveDiagram()->SubModelNode() != nullptr; }},
        {"script-branch", RunTourScript, modal},
        {"script-text-box", [] { PressInDialog(3232); }, [] { return ScriptTextShown(); }},
        {"script-input", [] {}, modal},
        {nullptr, [] { PressInDialog(IDCANCEL); }, noModal},
        {nullptr, StartSpreadsheetLinks, PeerLinkConnected},
        {nullptr, [] { Command(1213); }, modal},
        {"spreadsheet-links", [] { SelectLine(2191, "3", true); }, always},
        {nullptr, [] { PressInDialog(2200); }, [] { return DialogFrameCL::ModalStack().size() == 2; }},
        {"spreadsheet-connected", [] { PressInDialog(4403); }, [] { return CellRows() > 0; }},
        {nullptr, [] { PressInDialog(IDCANCEL); }, [] { return DialogFrameCL::ModalStack().size() == 1; }},
        {nullptr, [] { PressInDialog(IDCANCEL); }, noModal},
        // The other process shows its cells a moment after the last call.
        {"spreadsheet-rolled-back", [] { Command(1612); },
         [] {
             static DWORD rolledBack = 0;
             if (!Tree()->Document().IsRolledBack())
                 return false;
             rolledBack = rolledBack != 0 ? rolledBack : GetTickCount();
             return GetTickCount() - rolledBack > 500;
         }},
        // The cost-effectiveness graph with its extended dominance shown, then its report.
        {nullptr, AnalyseCostEffectiveness, modal},
        {nullptr, [] { PressInDialog(IDOK); }, [] { return FrameChild<CEGraph>() != nullptr; }},
        {"ce-graph", [] { ShowWindow(FrameChild<CEGraph>()->Handle(), SW_MAXIMIZE); }, always},
        {"ce-report", [] { Command(Cmd::GraphTextReport); }, modal},
        {nullptr, [] { PressInDialog(IDOK); }, noModal},
        {nullptr, [] { ShowWindow(FrameChild<CEGraph>()->Handle(), SW_RESTORE); }, always},
        // A lookup table's window, then the graph of the table.
        {"table-window", OpenTourTable, [] { return FrameChild<TableGraphWindow>() != nullptr; }},
        {"table-graph", [] { Command(Cmd::TableGraphTable); },
         [] {
             auto* graph = dynamic_cast<LineGraph*>(Frame()->ActiveChild());
             return graph != nullptr && graph->title.text == "Graph of Table: TourRates";
         }},
        {nullptr, EndTour, always},
    };
}

bool RequestPending()
{
    return GetFileAttributesA(requestFile.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteRequest(const std::string& name)
{
    if (FILE* file = std::fopen(requestFile.c_str(), "w")) {
        std::fputs(name.c_str(), file);
        std::fclose(file);
    }
}

void RequestShot(const char* name)
{
    char numbered[64];
    std::snprintf(numbered, sizeof numbered, "%02d-%s", ++shotNumber, name);
    lastShot = numbered;
    WriteRequest(lastShot);
}

BOOL CALLBACK RepaintWindow(HWND window, LPARAM)
{
    if (IsWindowVisible(window))
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return TRUE;
}

// After a step's picture, with the repaint check: repaints every window of the program, then once the program
// is idle again (so the window system has put the paint on the screen) asks for the picture of the repaint.
// True while the check still has work.
bool RepaintCheckPending()
{
    if (!checkRepaint || repaintPhase == 2) {
        repaintPhase = 0;
        return false;
    }
    if (repaintPhase == 0) {
        EnumThreadWindows(GetCurrentThreadId(), &RepaintWindow, 0);
        repaintPhase = 1;
    } else if (Idle()) {
        WriteRequest(lastShot + "-repaint");
        repaintPhase = 2;
    }
    return true;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (current >= steps.size())
        return;
    const Step& step = steps[current];
    if (shooting) {
        if (!RequestPending() && givingUp)
            ExitProcess(1);
        if (!RequestPending() && !RepaintCheckPending()) {
            shooting = false;
            acted = false;
            ++current;
        }
        return;
    }
    if (!acted) {
        if (current == 0 && !step.ready())
            return;
        acted = true;
        quietTicks = 0;
        waitedTicks = 0;
        std::fprintf(stderr, "step %u%s%s (dialogs %u%s%s)\n", static_cast<unsigned>(current), step.shot ? " " : "",
                     step.shot ? step.shot : "", static_cast<unsigned>(DialogFrameCL::ModalStack().size()),
                     MessageBoxShown() ? ", message box" : "",
                     !DialogFrameCL::ModalStack().empty() && !ModalDialog() ? ", top dialog hidden" : "");
        std::fflush(stderr);
        step.act();
        return;
    }
    quietTicks = step.ready() && Idle() ? quietTicks + 1 : 0;
    if (quietTicks < kQuietTicks && ++waitedTicks > kGiveUpTicks) {
        std::fprintf(stderr, "step %u did not come to rest (ready %d, queue %lx, analysing %d)\n",
                     static_cast<unsigned>(current), step.ready() ? 1 : 0,
                     static_cast<unsigned long>(GetQueueStatus(QS_ALLINPUT)), Analysing() ? 1 : 0);
        std::fflush(stderr);
        givingUp = shooting = true;
        RequestShot("stuck");
        return;
    }
    if (quietTicks < kQuietTicks)
        return;
    if (step.shot) {
        shooting = true;
        RequestShot(step.shot);
    } else {
        acted = false;
        ++current;
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand)
{
    requestFile = commandLine ? commandLine : "";
    const char* repaint = std::getenv("KIVO_TOUR_REPAINT");
    checkRepaint = repaint != nullptr && *repaint != '\0';
    TheApp = new FrameworkApp(instance, previousInstance, "", showCommand);
    BuildSteps();
    const UINT_PTR timer = SetTimer(nullptr, 0, kTickMilliseconds, &Tick);
    StartProgram(TheApp);
    KillTimer(nullptr, timer);
    const int exitCode = TheApp->ExitCode();
    delete TheApp;
    return exitCode;
}
