#include "influence/InfluenceDiagramWindow.h"

#include "framework/window/FillLayout.h"
#include "app/ZoomPane.h"
#include "foundation/Archive.h"
#include "framework/draw/Display.h"
#include "framework/draw/DrawingScale.h"
#include "framework/draw/MultiLineText.h"
#include "influence/DiagramPainter.h"
#include "dialogs/PreferencesDialog.h"

#include "CommandIds.h"

#include <cstdio>

namespace {

// New diagrams of this run; a number is never given twice.
int UntitledDiagramCount = 0;

const char* const DiagramFileFilter[] = {"Influence Files (*.ind)", "*.ind", nullptr};

// A command of the diagram: enabled while its rule allows it; none has a rule yet.
struct DiagramCommand {
    unsigned id;
    bool (*rule)(const InfluenceDiagramWindow& window);
};

const DiagramCommand DiagramCommands[] = {
    {Cmd::DiagramDescription, nullptr},  {Cmd::DiagramVariable, nullptr},      {Cmd::DiagramOutcomes, nullptr},
    {Cmd::DiagramProbabilities, nullptr}, {Cmd::DiagramValues, nullptr},       {Cmd::DiagramStraightenArc, nullptr},
    {Cmd::DiagramFlipArc, nullptr},       {Cmd::OptionsChangeNodeType, nullptr}, {Cmd::DiagramBayesRevision, nullptr},
};

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

InfluenceDiagramWindow::InfluenceDiagramWindow() : DocumentWindow("", WS_OVERLAPPEDWINDOW, MenuRes::DiagramMenu)
{
    GiveUntitledTitle();
    CreatePane();
}

InfluenceDiagramWindow::InfluenceDiagramWindow(const char* path)
    : DocumentWindow("", WS_OVERLAPPEDWINDOW, MenuRes::DiagramMenu)
{
    CreatePane();
    if (document.ReadFile(path))
        SetTitleFromPath(path);
    else
        GiveUntitledTitle();
    ShowDocument();
}

InfluenceDiagramWindow::~InfluenceDiagramWindow()
{
    document.measure = nullptr;
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
    auto* pane = new ZoomPane(this, new FillLayout(), WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL);
    SetPane(pane);
    pane->EnableZoom(true);
    pane->AttachScrollBars(40, 40, 160, 160);
    measure_ = std::make_unique<PaneMeasure>(*PaneDisplay());
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
    PaintDiagram(document, document.diagram, *display, clip);
}

void InfluenceDiagramWindow::Bounds(LogicalRect& rect)
{
    Display* display = PaneDisplay();
    rect = display != nullptr ? DiagramBounds(document.diagram, *display) : LogicalRect{0, 0, 0, 0};
}

void InfluenceDiagramWindow::UpdateMenus(HMENU bar)
{
    for (const DiagramCommand& command : DiagramCommands)
        EnableMenuItem(bar, command.id,
                       MF_BYCOMMAND | (command.rule != nullptr && command.rule(*this) ? MF_ENABLED : MF_GRAYED));
}

bool InfluenceDiagramWindow::HasCommand(unsigned id)
{
    for (const DiagramCommand& command : DiagramCommands)
        if (command.id == id)
            return true;
    return false;
}

void InfluenceDiagramWindow::EditPreferences()
{
    PreferencesDialog dialog(*this);
    if (!dialog.Run())
        return;
    document.LayoutAll();
    InvalidateAll();
    SetModified(1);
}
