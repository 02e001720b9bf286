#include "influence/InfluenceDiagramWindow.h"

#include "foundation/AppFlags.h"

#include <cstdio>

namespace {

// New diagrams of this run; a number is never given twice.
int UntitledDiagramCount = 0;

const char* const DiagramFileFilter[] = {"Influence Files (*.ind)", "*.ind", nullptr};

constexpr unsigned DiagramMenuId = 125;

} // namespace

InfluenceDiagramWindow::InfluenceDiagramWindow() : DocumentWindow("", WS_OVERLAPPEDWINDOW, DiagramMenuId)
{
    char title[48];
    ++UntitledDiagramCount;
    if (AppFlags::fullDocumentTitles)
        std::snprintf(title, sizeof title, "Untitled Influence Diagram %d", UntitledDiagramCount);
    else
        std::snprintf(title, sizeof title, "DIAG%d.IND", UntitledDiagramCount);
    SetText(title);
}

const char* const* InfluenceDiagramWindow::FileFilter()
{
    return DiagramFileFilter;
}
