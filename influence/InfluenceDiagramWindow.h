#pragma once
// The influence-diagram window: the document window of one influence diagram. It owns the diagram's
// document, shows it in a zoomable pane, paints it and reads and writes its ".ind" file.

#include "app/DocumentWindow.h"
#include "model/InfluenceDiagram.h"

#include <memory>

class InfluenceDiagramWindow : public DocumentWindow {
public:
    // A new, empty diagram titled "Untitled Influence Diagram n" (or "DIAGn.IND" without full document
    // titles) with the next number of the run, made hidden inside the main frame.
    InfluenceDiagramWindow();
    // The diagram of the file, titled by it; a file that cannot be read is reported and leaves a new,
    // untitled diagram, so that Save never writes over it.
    explicit InfluenceDiagramWindow(const char* path);
    ~InfluenceDiagramWindow() override;

    int DocumentKind() override { return 3; }
    const char* const* FileFilter() override;
    // Header and document, with the pane's zoom.
    bool WriteDocument(Archive& stream) override;
    // Header and document; laid out and shown at the zoom it was stored with.
    bool ReadDocument(Archive& stream, uint32_t fileSize) override;

    void Draw(Display* display) override;
    void Bounds(LogicalRect& rect) override;
    PrinterSetupRecord& PrinterSettings() override { return document.diagram.pageSetup; }
    double GetPrintScale() override { return document.diagram.PrintScale(); }

    // The diagram's command table (the Diagram menu). The diagram editor brings the handlers and their
    // rules; until then every command is without a rule, so its item is grayed.
    void UpdateMenus(HMENU bar) override;
    static bool HasCommand(unsigned id);

    // Preferences of the diagram; after OK every node is laid out again and the diagram is modified.
    void EditPreferences();

    InfluenceDocument document;

private:
    void GiveUntitledTitle();
    // The pane at the document's zoom, and the measuring of texts on its display.
    void CreatePane();
    // The document (laid out as it was read) shown at its zoom.
    void ShowDocument();

    std::unique_ptr<DiagramMeasure> measure_;
};
