#pragma once
// A plain child window of its own class, placed by its layout rule inside another window: a margin or strip
// beside a document's drawing area.

#include "framework/window/TopWindow.h"

class MDImarginCL : public TopWindow {
public:
    // The rule (a new container when null) leaves its previous owner and joins the parent's rule; the window
    // joins the parent's children and is created at once, sized when the parent lays out.
    MDImarginCL(WindowCL* parent, LayoutManager* layout = nullptr, DWORD style = 0);

    std::unique_ptr<WNDCLASSA> ClassRecord() override; // 2
    void Create() override;                            // 18
};
