#pragma once
// The base of the application's child windows of the main frame (documents and node-bound tool windows):
// an MDI-hosted dialog, made as a plain child or from a dialog template, that may hold a drawing pane and
// answers the pane's questions about its drawing.

#include "framework/draw/LogicalUnits.h"
#include "framework/dialog/MDIdialogCL.h"

class Display;
class ZoomPane;

class DocChildWindow : public MDIdialogCL {
public:
    // A plain child of the main frame's MDI client; style 0 gives an overlapped window.
    DocChildWindow(const char* title, DWORD style);
    // A child built from the dialog template.
    explicit DocChildWindow(const ResourceId& templateId);
    // Deletes the pane.
    ~DocChildWindow() override;

    // The drawing's bounds in logical units; empty here.
    virtual void Bounds(LogicalRect& rect);
    // The pane's zoom changed: the drawing lays itself out again. Nothing here.
    virtual void OnZoomChanged();
    // Draws the picture on the display. Nothing here.
    virtual void Draw(Display* display);
    // An open in-place text edit is put aside while the pane refits its scroll ranges and brought back
    // afterwards; true when there was one to put aside. None here.
    virtual bool SuspendInPlaceEdit();
    virtual void ResumeInPlaceEdit();

    // The drawing pane (owned), or null.
    ZoomPane* Pane() const { return pane_; }
    void SetPane(ZoomPane* pane);
    // The display of the pane, null without a pane.
    Display* PaneDisplay() const;

private:
    ZoomPane* pane_ = nullptr;
};
