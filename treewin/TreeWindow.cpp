#include "treewin/TreeWindow.h"


#include "widgets/CommandLine.h"
#include "widgets/FrameCommands.h"
#include "framework/window/MDIframeCL.h"
#include "widgets/Shell.h"
#include "treewin/TreeChildWindow.h"
#include "widgets/NamePopupMenu.h"
#include "model/DocumentLink.h"
#include "widgets/DdeLinkManager.h"
#include "treewin/TreeDdeServer.h"
#include "foundation/Archive.h"
#include "foundation/DocumentFileHeader.h"
#include "foundation/MessageBoxes.h"
#include "framework/draw/Display.h"
#include "framework/draw/WindowDisplay.h"
#include "framework/draw/zFont.h"
#include "model/DocumentVariableOps.h"
#include "model/DocumentHeader.h"
#include "model/NoteBox.h"
#include "model/TreeNode.h"
#include "model/TreeNodeRecords.h"
#include "treewin/NodeMeasure.h"
#include "treewin/TreePane.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

namespace {

// The icon of a tree window.
constexpr unsigned TreeIconId = 32002;

// Untitled trees of this run; a number is never given twice.
int UntitledTreeCount = 0;

const char* const TreeFileFilter[] = {"Tree Files (*.tre)", "*.tre", nullptr};

// The tree window's menus, merged into the frame's bar: the short ones with the command-line option n.
unsigned TreeMenuId()
{
    return CommandLineFlag(ShortMenusBit) ? MenuRes::TreeMenuShort : MenuRes::TreeMenu;
}

std::vector<TreeWindow*>& LiveWindows()
{
    static std::vector<TreeWindow*> windows;
    return windows;
}

bool HasSnapshotExtension(const char* path)
{
    const char* dot = std::strrchr(path, '.');
    if (dot == nullptr || std::strlen(dot) != 4)
        return false;
    std::string extension(dot + 1);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == "trb";
}

} // namespace

const std::vector<TreeWindow*>& TreeWindow::OpenWindows()
{
    return LiveWindows();
}

TreeWindow::TreeWindow(TreeNode* root) : DocumentWindow("", WS_OVERLAPPEDWINDOW, TreeMenuId()), document(root)
{
    LiveWindows().push_back(this);
    document.View = this;
    GiveUntitledTitle();
    CreatePane();
}

TreeWindow::TreeWindow(const char* title, unsigned menuId) : DocumentWindow(title, WS_OVERLAPPEDWINDOW, menuId)
{
    LiveWindows().push_back(this);
    document.View = this;
    document.WindowTitle = title;
    CreatePane();
}

TreeWindow::TreeWindow(const char* path) : DocumentWindow("", WS_OVERLAPPEDWINDOW, TreeMenuId())
{
    LiveWindows().push_back(this);
    document.View = this;
    TreeDocument::FileForm form = TreeDocument::FileForm::Native;
    const bool read = document.ReadTreeFile(path, HasSnapshotExtension(path), &form, &Selection);
    fileRead = read;
    const bool importedText = form == TreeDocument::FileForm::OlderText;
    if (read && !importedText) {
        SetTitleFromPath(path);
        document.SetModified(0);
    } else if (read) {
        // A tree imported from the older text form is new in this form: saving asks for a name, and closing
        // asks to save it. A damaged file never keeps its path, so that Save cannot overwrite it.
        GiveUntitledTitle();
        document.SetModified(1);
    }
    try {
        // The variables menu lists the variables read.
        VariablesChanged();
        if (read && form == TreeDocument::FileForm::Foreign)
            PlaceForeignNoteBoxes();
        CreatePane();
    } catch (const std::bad_alloc&) {
        // A tree read whole may not fit once measured for the screen: it is refused as one too large to
        // read. The pane goes first, so that nothing paints the nodes going.
        Selection.Clear();
        SetPane(nullptr);
        paneDisplay = nullptr;
        document.RefuseForMemory(path);
        fileRead = false;
        return;
    }
    // A finished model opens on its custom interface.
    if (CanShowCustomInterface())
        ShowCustomInterface(1);
    // Its links to other programs' values join their items; conversations whose servers were absent try again.
    if (read) {
        document.DocumentLinks.ReconnectAll();
        if (DdeLinkManager* links = TheShell().Links())
            links->ReconnectAll();
    }
}

TreeWindow::~TreeWindow()
{
    // The pane and the undo actions go while the tree they show is still whole.
    ClearUndoHistory();
    customInterfacePanel = nullptr;
    SetPane(nullptr);
    paneDisplay = nullptr;
    // The bound windows close before the document goes; a Monte Carlo run cut short stores and continues
    // nothing.
    childWindows.CloseAll();
    std::vector<TreeWindow*>& windows = LiveWindows();
    windows.erase(std::find(windows.begin(), windows.end(), this));
    document.View = nullptr;
}

void TreeWindow::PlaceForeignNoteBoxes()
{
    const NoteBoxList& notes = document.NoteBoxes;
    if (notes.Count() == 0)
        return;
    // The foreign program places them from its root, which here stands at the end of the root's branch:
    // the tree is laid out alone to find that end, then again with the notes moved right by it.
    RebuildFonts();
    MeasureNode(*this, document.Root, true);
    layout.Relayout(document.Root, document.DisplayPrefs);
    const float shift = document.Root->Geometry().SymbolX;
    for (int i = 0; i < notes.Count(); ++i)
        notes.At(i)->Offset(shift, 0.0f);
    Relayout();
}

void TreeWindow::CreatePane()
{
    // Headless, the tree is measured when it is first drawn or laid out.
    if (handle_ == nullptr)
        return;
    SetIconId(TreeIconId);
    auto* pane = new TreePane(this, *this);
    SetPane(pane);
    pane->EnableZoom(true);
    pane->AttachScrollBars(40, 40, 160, 160);
    SetPaneDisplay(pane->OwnDisplay());
    Redraw();
    // The zoom the tree was stored with; the pane keeps it within its range.
    pane->SetZoom(document.Zoom);
}

void TreeWindow::SetModified(int flag)
{
    if ((flag != 0 ? 1 : 0) == document.Modified)
        return;
    document.SetModified(flag);
    RefreshFrameCommands();
}

int TreeWindow::QueryClose(const char* question)
{
    if (document.RolledBack == RolledBackValues::Snapshot)
        SetModified(0);
    if (!DocumentWindow::QueryClose(question))
        return 0;
    // A running analysis steps on this tree from the idle loop; it must end before the tree goes.
    if (document.CurrentAnalysis != nullptr) {
        zString text("Please cancel the active \"processing\" window for \"");
        text += Text();
        text += "\" before closing it.";
        ShowErrorBox(nullptr, text.Text(), 0);
        return 0;
    }
    return 1;
}

void TreeWindow::OnActivated()
{
    // An arrow or note box begun before the window was left is not drawn by the next press.
    ClickMode = 0;
    DocumentWindow::OnActivated();
    StatusIndicatorsChanged();
}

void TreeWindow::OnDeactivated()
{
    // Only an open edit: closing focuses the pane, which must not take the focus back from the next window.
    if (InPlaceEditor != nullptr)
        CloseInPlaceEdit();
}

void TreeWindow::StatusIndicatorsChanged()
{
    if (TheShell().Frame() == nullptr || !IsActiveChild())
        return;
    zString risk, method;
    document.StatusIndicatorTexts(risk, method);
    TheShell().SetStatusPane(risk.Text(), 2);
    TheShell().SetStatusPane(method.Text(), 3);
}

void TreeWindow::Bounds(LogicalRect& rect)
{
    // The custom interface covers the tree: nothing to scroll, print or preview.
    if (CustomInterfaceShown != 0) {
        rect = LogicalRect{0, 0, 0, 0};
        return;
    }
    if (layoutPending)
        Relayout();
    const LayoutRect& bounds = layout.DrawingBounds;
    rect = LogicalRect{bounds.left, bounds.top, bounds.right, bounds.bottom};
}

void TreeWindow::Draw(Display* display)
{
    if (display != nullptr && CustomInterfaceShown == 0)
        Draw(*display);
}

PrinterSetupRecord& TreeWindow::PrinterSettings()
{
    if (!document.PrinterSetup)
        document.PrinterSetup = std::make_unique<PrinterSetupRecord>();
    return *document.PrinterSetup;
}

void TreeWindow::OnZoomChanged()
{
    // Stored with the tree.
    if (ZoomPane* pane = Pane())
        document.Zoom = pane->Zoom();
    Redraw();
}

namespace {

// While a tree is written, its bound windows show the tree's own values.
class OriginalValuesScope {
public:
    explicit OriginalValuesScope(const WindowList& windows) : windows(windows) { Show(true); }
    ~OriginalValuesScope() { Show(false); }
    OriginalValuesScope(const OriginalValuesScope&) = delete;
    OriginalValuesScope& operator=(const OriginalValuesScope&) = delete;

private:
    void Show(bool original)
    {
        for (int i = 0; i < windows.Count(); ++i)
            static_cast<TreeChildWindow*>(windows.At(i))->ShowOriginalValues(original);
    }
    const WindowList& windows;
};

} // namespace

bool TreeWindow::WriteDocument(Archive& stream)
{
    // Save refused a tree its file cannot hold before writing (Storable).
    if (!WriteFileHeader(stream))
        return false;
    OriginalValuesScope original(childWindows);
    document.WriteDocumentBody(stream);
    return !stream.Failed();
}

bool TreeWindow::Storable(zString& message)
{
    return document.CheckStorable(message);
}

bool TreeWindow::FileStillReadable()
{
    const zString path = FullPath();
    TreeDocument probe;
    return probe.ReadTreeFile(path.Text(), HasSnapshotExtension(path.Text()));
}

const char* const* TreeWindow::FileFilter()
{
    return TreeFileFilter;
}

bool TreeWindow::ReadDocument(Archive& stream, uint32_t)
{
    if (ReadDocumentHeader(stream) != TreeDocumentKind)
        return false;
    Selection.RemoveAll();
    document.ReadDocumentBody(stream);
    return !stream.Failed();
}

void TreeWindow::VariablesChanged()
{
    if (!VariablesMenu)
        VariablesMenu = std::make_unique<NamePopupMenu>();
    VariablesMenu->Rebuild();
    const DocVariableList& variables = document.Variables;
    for (int i = 0; i < variables.Count(); ++i)
        VariablesMenu->AddName(Cmd::FirstVariable + static_cast<unsigned>(i), variables.At(i)->name.Text());
    VariablesMenu->Build();
    SyncVariablesWindow();
}

std::unique_ptr<TreeWindow> TreeWindow::Unshown(const char* title)
{
    return std::unique_ptr<TreeWindow>(new TreeWindow(title, TreeMenuId()));
}

TreeWindow* TreeWindow::ShowNew(int showCommand)
{
    auto* tree = new TreeWindow();
    tree->Show(showCommand);
    tree->SelectNode(tree->document.Root, 1, nullptr, false);
    return tree;
}

void TreeWindow::GiveUntitledTitle()
{
    char title[40];
    ++UntitledTreeCount;
    std::snprintf(title, sizeof title, "Untitled Tree %d", UntitledTreeCount);
    document.WindowTitle = title;
    SetText(title);
}

void TreeWindow::SetTitleFromPath(const char* path)
{
    DocumentWindow::SetTitleFromPath(path);
    document.WindowTitle = Text();
    for (int i = 0; i < childWindows.Count(); ++i)
        static_cast<TreeChildWindow*>(childWindows.At(i))->OnTreeTitleChanged(document.WindowTitle.Text());
    document.LinkItems.DocumentMoved(FilePathObject());
    CreateDdeTopic();
}

bool TreeWindow::GetPrintOffset(float& x, float& y)
{
    x = static_cast<float>(document.PrintOffset[0] / 1000.0);
    y = static_cast<float>(document.PrintOffset[1] / 1000.0);
    return true;
}

void TreeWindow::SetPrintOffset(float x, float y)
{
    document.PrintOffset[0] = static_cast<int32_t>(std::lround(x * 1000.0));
    document.PrintOffset[1] = static_cast<int32_t>(std::lround(y * 1000.0));
}

void TreeWindow::SetPrintScale(double scale, double)
{
    const double percent = std::min(std::max(scale * 100.0, 10.0), 250.0);
    document.DisplayPrefs.PrintZoomFact = static_cast<uint8_t>(percent);
}

bool TreeWindow::SaveAs(const char* path, zString& message)
{
    if (!WriteTreeFile(path, message))
        return false;
    SetTitleFromPath(path);
    SetModified(0);
    return true;
}

bool TreeWindow::SaveCopyAs(const char* path, zString& message)
{
    return WriteTreeFile(path, message, RecordForm::Snapshot, &Selection);
}

bool TreeWindow::WriteTreeFile(const char* path, zString& message, RecordForm form, const NodeChildList* selection)
{
    if (!EndOpenEdits())
        return false;
    OriginalValuesScope original(childWindows);
    return document.WriteTreeFile(path, message, form, selection);
}

bool TreeWindow::EndOpenEdits()
{
    if (InPlaceEditor != nullptr)
        CloseInPlaceEdit();
    // What is typed in a tool window that edits the tree's nodes (a payoff, a definition) and not yet taken;
    // the first that does not parse shows its error and stops the rest.
    for (int i = 0; i < childWindows.Count(); ++i)
        if (!static_cast<TreeChildWindow*>(childWindows.At(i))->EndEdit())
            return false;
    return true;
}
