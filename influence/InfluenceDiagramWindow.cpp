#include "influence/InfluenceDiagramWindow.h"

#include "widgets/FrameCommands.h"
#include "widgets/InPlaceEdit.h"
#include "widgets/InputHelpers.h"
#include "widgets/Shell.h"
#include "foundation/Archive.h"
#include "framework/draw/Display.h"
#include "framework/draw/DrawingScale.h"
#include "framework/draw/MultiLineText.h"
#include "framework/draw/zFont.h"
#include "influence/DiagramPainter.h"
#include "influence/DiagramPane.h"
#include "model/NoteBox.h"
#include "treewin/NoteBoxDrawing.h"

#include "CommandIds.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

// New diagrams of this run; a number is never given twice.
int UntitledDiagramCount = 0;

const char* const DiagramFileFilter[] = {"Influence Files (*.ind)", "*.ind", nullptr};

constexpr unsigned kDiagramIconId = 32027;
// The drawing keeps this margin (inches) on its left and top.
constexpr float kExtentMargin = 0.25f;

// Texts measured on the pane's display at scale 1, so that a diagram's layout does not follow the zoom.
class PaneMeasure : public DiagramMeasure {
public:
    explicit PaneMeasure(Display& display) : display_(display) {}

    void TextSize(const char* text, const FontRecord& font, float& width, float& height) override
    {
        Unzoomed scale;
        const LogicalSize size = MeasureMultiLineText(display_, text, &font, true, true);
        width = size.width;
        height = size.height;
    }

    float LineHeight(const FontRecord& font) override
    {
        Unzoomed scale;
        return TextLineHeight(display_, &font);
    }

private:
    class Unzoomed {
    public:
        Unzoomed() { SaveDrawingScale(), SetCurrentDrawingScale(1.0f); }
        ~Unzoomed() { RestoreDrawingScale(); }
        Unzoomed(const Unzoomed&) = delete;
        Unzoomed& operator=(const Unzoomed&) = delete;
    };

    Display& display_;
};

} // namespace

InfluenceDiagramWindow::InfluenceDiagramWindow()
    : DocumentWindow("", WS_OVERLAPPEDWINDOW, MenuRes::DiagramMenu),
      ownDocument_(std::make_unique<InfluenceDocument>()), document(*ownDocument_)
{
    GiveUntitledTitle();
    CreatePane();
}

InfluenceDiagramWindow::InfluenceDiagramWindow(const char* path)
    : DocumentWindow("", WS_OVERLAPPEDWINDOW, MenuRes::DiagramMenu),
      ownDocument_(std::make_unique<InfluenceDocument>()), document(*ownDocument_)
{
    CreatePane();
    fileRead_ = document.ReadFile(path);
    if (fileRead_)
        SetTitleFromPath(path);
    ShowDocument();
}

InfluenceDiagramWindow::InfluenceDiagramWindow(InfluenceDiagramWindow& shower, InfluenceNodeRecord& subModel)
    : DocumentWindow("", WS_OVERLAPPEDWINDOW, MenuRes::DiagramMenu), document(shower.document),
      subModelNode_(&subModel), owner_(&shower.OwnerWindow())
{
    if (!subModel.subDiagram)
        subModel.subDiagram = std::make_unique<InfluenceDiagram>();
    level_ = subModel.subDiagram.get();
    owner_->subModelWindows_.push_back(this);
    SetText(SubModelTitle().c_str());
    CreatePane();
    if (ZoomPane* pane = Pane(); pane != nullptr && shower.Pane() != nullptr)
        pane->SetZoom(shower.Pane()->Zoom());
    UpdateExtent();
}

InfluenceDiagramWindow::~InfluenceDiagramWindow()
{
    delete editor_;
    editor_ = nullptr;
    if (owner_ != nullptr) {
        auto& open = owner_->subModelWindows_;
        open.erase(std::remove(open.begin(), open.end(), this), open.end());
        return;
    }
    while (!subModelWindows_.empty())
        delete subModelWindows_.back();
    document.measure = nullptr;
}

int InfluenceDiagramWindow::QueryClose(const char* question)
{
    if (owner_ == nullptr)
        return DocumentWindow::QueryClose(question);
    if (!DocChildWindow::QueryClose(question))
        return 0;
    EndInPlaceEdit();
    return 1;
}

bool InfluenceDiagramWindow::EndOpenEdits()
{
    InfluenceDiagramWindow& owner = OwnerWindow();
    owner.EndInPlaceEdit();
    for (InfluenceDiagramWindow* window : owner.subModelWindows_)
        window->EndInPlaceEdit();
    return true;
}

void InfluenceDiagramWindow::SetModified(int flag)
{
    if (owner_ != nullptr)
        owner_->SetModified(flag);
    else
        DocumentWindow::SetModified(flag);
}

void InfluenceDiagramWindow::AddUndoAction(UndoAction* action)
{
    DocumentWindow::AddUndoAction(action);
    if (owner_ != nullptr)
        owner_->SetModified(1);
}

InfluenceDiagramWindow* InfluenceDiagramWindow::SubModelWindow(const InfluenceNodeRecord* node)
{
    for (InfluenceDiagramWindow* window : OwnerWindow().subModelWindows_)
        if (window->subModelNode_ == node)
            return window;
    return nullptr;
}

InfluenceDiagramWindow* InfluenceDiagramWindow::OpenSubModel(InfluenceNodeRecord* node)
{
    node = node != nullptr ? node->Effective() : nullptr;
    if (node == nullptr || node->kind != InfluenceKind::SubModel)
        return nullptr;
    InfluenceDiagramWindow* window = SubModelWindow(node);
    if (window == nullptr) {
        InfluenceDiagramWindow* shower =
            node->parentSubModel != nullptr ? OpenSubModel(node->parentSubModel) : &OwnerWindow();
        if (shower == nullptr)
            return nullptr;
        window = new InfluenceDiagramWindow(*shower, *node);
        window->Show(-1);
    }
    window->Activate();
    return window;
}

void InfluenceDiagramWindow::CloseSubModelWindows(const std::vector<InfluenceNodeRecord*>& nodes)
{
    const std::vector<InfluenceDiagramWindow*> open = OwnerWindow().subModelWindows_;
    for (InfluenceDiagramWindow* window : open) {
        for (const InfluenceNodeRecord* node = window->subModelNode_; node != nullptr; node = node->parentSubModel) {
            if (std::find(nodes.begin(), nodes.end(), node) != nodes.end()) {
                delete window;
                break;
            }
        }
    }
}

void InfluenceDiagramWindow::RetitleSubModel(const InfluenceNodeRecord* node)
{
    if (InfluenceDiagramWindow* window = SubModelWindow(node))
        window->SetText(window->SubModelTitle().c_str());
}

void InfluenceDiagramWindow::SetTitleFromPath(const char* path)
{
    DocumentWindow::SetTitleFromPath(path);
    for (InfluenceDiagramWindow* window : subModelWindows_)
        RetitleSubModel(window->SubModelNode());
}

std::string InfluenceDiagramWindow::SubModelTitle() const
{
    if (subModelNode_ == nullptr || owner_ == nullptr)
        return Text();
    return std::string(owner_->Text()) + ": Sub-Model \"" + ShortenLabel(subModelNode_->name.Text(), 16).Text() + "\"";
}

DiagramPane* InfluenceDiagramWindow::Pane() const
{
    return static_cast<DiagramPane*>(DocChildWindow::Pane());
}

void InfluenceDiagramWindow::GiveUntitledTitle()
{
    char title[48];
    ++UntitledDiagramCount;
    std::snprintf(title, sizeof title, "Untitled Influence Diagram %d", UntitledDiagramCount);
    SetText(title);
}

void InfluenceDiagramWindow::CreatePane()
{
    if (handle_ == nullptr)
        return;
    SetIconId(kDiagramIconId);
    auto* pane = new DiagramPane(*this);
    SetPane(pane);
    pane->EnableZoom(true);
    pane->AttachScrollBars(40, 40, 160, 160);
    measure_ = std::make_unique<PaneMeasure>(*PaneDisplay());
    if (ownDocument_)
        document.measure = measure_.get();
}

void InfluenceDiagramWindow::ShowDocument()
{
    if (ZoomPane* pane = Pane()) {
        pane->SetZoom(document.zoom);
        pane->DrawingChanged();
    }
}

const char* const* InfluenceDiagramWindow::FileFilter()
{
    return DiagramFileFilter;
}

bool InfluenceDiagramWindow::WriteDocument(Archive& stream)
{
    if (ZoomPane* pane = Pane())
        document.zoom = pane->Zoom();
    return document.Write(stream) && !stream.Failed();
}

bool InfluenceDiagramWindow::ReadDocument(Archive& stream, uint32_t)
{
    ClearSelection();
    while (!subModelWindows_.empty())
        delete subModelWindows_.back();
    const bool read = document.Read(stream);
    ShowDocument();
    return read;
}

void InfluenceDiagramWindow::Draw(Display* display)
{
    if (display == nullptr)
        return;
    // Locked first: a picture records from its first lock to its last unlock.
    DisplayLock lock(*display);
    // Only the nodes in what the display can show are painted (a picture shows all).
    RECT box{};
    LogicalRect visible{};
    const LogicalRect* clip = nullptr;
    if (display->Kind() != Display::KindMetafile && display->DeviceContext() != nullptr &&
        GetClipBox(display->DeviceContext(), &box) != ERROR) {
        visible = PixelRectToLogical(box, *display);
        clip = &visible;
    }
    PaintDiagram(document, Diagram(), *display, clip);
    if (display->Kind() != Display::KindWindow || DocChildWindow::Pane() == nullptr)
        return;
    for (const InfluenceNodeRecord* node : selectedNodes_)
        PaintSelectionBand(*node, *display);
    if (const InfluenceNodeRecord* hover = Pane()->HoverTarget())
        PaintSelectionBand(*hover, *display);
    if (selectedArc_ != nullptr)
        PaintArcSelection(document, *selectedArc_, *display);
    if (selectedNote_ != nullptr)
        DrawNoteBoxWithHandles(*selectedNote_, *display, editor_ != nullptr ? 0 : 1);
    if (editor_ != nullptr)
        editor_->RedrawFrame();
}

void InfluenceDiagramWindow::Bounds(LogicalRect& rect)
{
    Display* display = PaneDisplay();
    rect = display != nullptr ? DiagramBounds(Diagram(), *display) : LogicalRect{0, 0, 0, 0};
}

LogicalRect InfluenceDiagramWindow::VisibleArea() const
{
    ZoomPane* pane = DocChildWindow::Pane();
    if (pane == nullptr || DocChildWindow::PaneDisplay() == nullptr)
        return LogicalRect{0.0f, 0.0f, 8.5f, 11.0f};
    return pane->VisibleArea();
}

bool InfluenceDiagramWindow::GetPrintOffset(float& x, float& y)
{
    x = static_cast<float>(Diagram().printOffsetX / 1000.0);
    y = static_cast<float>(Diagram().printOffsetY / 1000.0);
    return true;
}

void InfluenceDiagramWindow::SetPrintOffset(float x, float y)
{
    Diagram().printOffsetX = static_cast<int32_t>(std::lround(x * 1000.0));
    Diagram().printOffsetY = static_cast<int32_t>(std::lround(y * 1000.0));
}

bool InfluenceDiagramWindow::IsSelected(const InfluenceNodeRecord* node) const
{
    return std::find(selectedNodes_.begin(), selectedNodes_.end(), node) != selectedNodes_.end();
}

void InfluenceDiagramWindow::SelectNode(InfluenceNodeRecord* node, bool startEdit)
{
    if (!(selectedNodes_.size() == 1 && selectedNodes_[0] == node && selectedArc_ == nullptr && selectedNote_ == nullptr))
        ShowNodes({node});
    if (startEdit)
        StartInPlaceEdit();
}

void InfluenceDiagramWindow::AddToSelection(InfluenceNodeRecord* node)
{
    if (selectedNodes_.empty()) {
        SelectNode(node, false);
        return;
    }
    EndInPlaceEdit();
    if (!IsSelected(node))
        selectedNodes_.push_back(node);
    InvalidateAll();
    RefreshFrameCommands();
}

void InfluenceDiagramWindow::DeselectNode(InfluenceNodeRecord* node)
{
    EndInPlaceEdit();
    selectedNodes_.erase(std::remove(selectedNodes_.begin(), selectedNodes_.end(), node), selectedNodes_.end());
    InvalidateAll();
    if (selectedNodes_.size() == 1)
        StartInPlaceEdit();
    RefreshFrameCommands();
}

void InfluenceDiagramWindow::ShowNodes(const std::vector<InfluenceNodeRecord*>& nodes)
{
    ClearSelection();
    selectedNodes_ = nodes;
    if (ZoomPane* pane = DocChildWindow::Pane(); pane != nullptr && !nodes.empty())
        pane->ScrollIntoView(nodes.front()->NodeRect());
    InvalidateAll();
    RefreshFrameCommands();
}

void InfluenceDiagramWindow::SelectArc(InfluenceArc* arc)
{
    if (arc == selectedArc_)
        return;
    ClearSelection();
    selectedArc_ = arc;
    InvalidateAll();
    RefreshFrameCommands();
}

void InfluenceDiagramWindow::SelectNote(NoteBox* note, bool edit)
{
    if (note != selectedNote_) {
        ClearSelection();
        selectedNote_ = note;
        InvalidateAll();
        RefreshFrameCommands();
    }
    if (edit)
        StartInPlaceEdit();
}

void InfluenceDiagramWindow::ClearSelection()
{
    EndInPlaceEdit();
    if (selectedNodes_.empty() && selectedArc_ == nullptr && selectedNote_ == nullptr)
        return;
    selectedNodes_.clear();
    selectedArc_ = nullptr;
    selectedNote_ = nullptr;
    InvalidateAll();
    RefreshFrameCommands();
}

InfluenceArc* InfluenceDiagramWindow::ArcAtPoint(DiagramPoint point)
{
    ZoomPane* pane = DocChildWindow::Pane();
    if (pane == nullptr)
        return nullptr;
    ZoomPaneScale scale(*pane);
    for (InfluenceArc* arc : Diagram().arcs)
        if (ArcHit(document, *arc, point, *pane->CurrentDisplay()))
            return arc;
    return nullptr;
}

void InfluenceDiagramWindow::EditPreferences()
{
    InfluenceDiagramWindow& owner = OwnerWindow();
    if (!TheShell().RunPreferences(owner))
        return;
    document.LayoutAll();
    owner.UpdateExtent();
    for (InfluenceDiagramWindow* window : owner.subModelWindows_)
        window->UpdateExtent();
    SetModified(1);
}

void InfluenceDiagramWindow::UpdateExtent()
{
    InfluenceDiagram& diagram = Diagram();
    float left = kExtentMargin;
    float top = kExtentMargin;
    for (const InfluenceNodeRecord* node : diagram.nodes) {
        left = std::min(left, node->left);
        top = std::min(top, node->top);
    }
    for (int i = 0; i < diagram.notes.Count(); ++i) {
        left = std::min(left, diagram.notes.At(i)->frame.left);
        top = std::min(top, diagram.notes.At(i)->frame.top);
    }
    const DiagramPoint shift{kExtentMargin - left, kExtentMargin - top};
    if (shift.x > 0 || shift.y > 0) {
        for (InfluenceNodeRecord* node : diagram.nodes)
            node->MoveBy(shift);
        for (int i = 0; i < diagram.notes.Count(); ++i)
            diagram.notes.At(i)->Offset(shift.x, shift.y);
    }
    if (ZoomPane* pane = DocChildWindow::Pane())
        pane->DrawingChanged();
}
