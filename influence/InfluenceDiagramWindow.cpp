#include "influence/InfluenceDiagramWindow.h"

#include "foundation/AppFlags.h"

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

} // namespace

InfluenceDiagramWindow::InfluenceDiagramWindow() : DocumentWindow("", WS_OVERLAPPEDWINDOW, MenuRes::DiagramMenu)
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
