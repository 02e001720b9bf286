#pragma once
// The diagram window's command rows and the facts their rules read, shared by the command table
// (DiagramCommands.cpp) and the Edit items and tool bar that follow it (DiagramMenuState.cpp).

#include "influence/InfluenceDiagramWindow.h"

// What the rules ask of the window, taken once per update.
struct DiagramFacts {
    explicit DiagramFacts(const InfluenceDiagramWindow& window)
        : window(window), nodes(static_cast<int>(window.SelectedNodes().size())),
          single(nodes == 1 ? window.FirstSelected() : nullptr), arc(window.SelectedArc()),
          editing(window.LabelEditor() != nullptr)
    {
    }

    const InfluenceDiagramWindow& window;
    int nodes;
    InfluenceNodeRecord* single;
    InfluenceArc* arc;
    bool editing;
};

// The kinds of edit the window carries out.
constexpr unsigned kHandledEdits = InfluenceDiagramWindow::OneNodeBit | InfluenceDiagramWindow::NodesBit |
                                   InfluenceDiagramWindow::TextBit | InfluenceDiagramWindow::NoteBit |
                                   InfluenceDiagramWindow::ArcBit;
constexpr unsigned kNodeBits = InfluenceDiagramWindow::OneNodeBit | InfluenceDiagramWindow::NodesBit;

// The one kind the mask names, 0 when it names none or several.
inline unsigned SingleBit(unsigned mask)
{
    return mask != 0 && (mask & (mask - 1)) == 0 ? mask : 0;
}

inline void SetItem(HMENU menu, unsigned id, bool enabled)
{
    EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

// The sub-model nodes of the window's level, in list order.
std::vector<InfluenceNodeRecord*> LevelSubModels(const InfluenceDiagramWindow& window);
// A sub-model node is on the window's level.
bool LevelHasSubModel(const InfluenceDiagramWindow& window);

struct InfluenceDiagramWindow::CommandRow {
    unsigned id;
    void (*handler)(InfluenceDiagramWindow& window);
    bool (*rule)(const DiagramFacts& f);
    // A tool button starts or ends its tool itself; every other command ends the tool.
    bool tool = false;
};
