#pragma once
// The influence-diagram window: the document window of one influence diagram. So far it is a new, empty,
// untitled diagram with its menus; its nodes, arcs and file body come with the diagram editor.

#include "app/DocumentWindow.h"

class InfluenceDiagramWindow : public DocumentWindow {
public:
    // Titled "Untitled Influence Diagram n" (or "DIAGn.IND" without full document titles) with the next
    // number of the run, made hidden inside the main frame.
    InfluenceDiagramWindow();

    int DocumentKind() override { return 3; }
    const char* const* FileFilter() override;
    // An empty diagram has no body to store yet: nothing is written, and Save reports it.
    bool WriteDocument(Archive&) override { return false; }
    bool ReadDocument(Archive&, uint32_t) override { return false; }

    // The diagram's command table (the Diagram menu). The diagram editor brings the handlers and their
    // rules; until then every command is without a rule, so its item is grayed.
    void UpdateMenus(HMENU bar) override;
    static bool HasCommand(unsigned id);
};
