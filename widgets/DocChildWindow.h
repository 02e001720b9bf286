#pragma once
// The base of the application's child windows of the main frame (documents and node-bound tool windows):
// an MDI-hosted dialog, made as a plain child or from a dialog template, that may hold a drawing pane and
// answers the pane's questions about its drawing. It adds what all of them share: an undo history of ten
// actions, the Edit commands of its in-place edit controls, focus memory, the printing parameters and its
// printer, and the refusal to close while an application dialog is open or its pane is printing.

#include "widgets/UndoHistory.h"
#include "foundation/FontRecord.h"
#include "framework/draw/LogicalUnits.h"
#include "framework/dialog/MDIdialogCL.h"

#include "CommandIds.h"

#include <memory>
#include <vector>

class Display;
class EditCtrl;
class PageGrid;
class PrinterDevice;
class PrinterSetupRecord;
class ZoomPane;

// What DrawPageHeaderText marks on a drawing: the page breaks, and the header and footer of every page
// (their texts expanded as page headers, aligned as AlignOffset aligns), on the display, within the rectangle
// to be drawn (logical units).
struct PageHeaderOptions {
    bool breaks = false;
    bool headers = false;
    FontRecord headerFont;
    FontRecord footerFont;
    zString headerText;
    zString footerText;
    int headerAlignment = -1;
    int footerAlignment = 1;
    Display* display = nullptr;
    LogicalRect rect{0, 0, 0, 0};
};

// The offset in pixels of a text in a width of pixels: alignment < 0 left (0), 0 centred, > 0 right; the
// text is measured in the display's current font.
int AlignOffset(int alignment, Display& display, const char* text, int width);

class DocChildWindow : public MDIdialogCL {
public:

    // A plain child of the main frame's MDI client; style 0 gives an overlapped window. A menu (nonzero id)
    // is merged into the frame's menu bar while the window is active.
    DocChildWindow(const char* title, DWORD style, unsigned menuId = 0);
    // A child built from the dialog template.
    explicit DocChildWindow(const ResourceId& templateId);
    // Deletes the undo actions, the pane and the printer.
    ~DocChildWindow() override;

    long OnClose(WindowEvent* event) override;          // 7: the frame's save question, then closing
    long OnCommandId(unsigned id, unsigned code, HWND control) override; // OnEditCommand
    long OnMDIActivation(bool active) override;
    // A negative command: the frame's show command of new windows. Maximised only with a maximise box.
    void Show(int showCommand) override;                // 17

    // 1 when the window may close now: no application dialog is open and the pane is not printing (the
    // user is told to cancel the job first). Documents ask the save question first.
    virtual int QueryClose(const char* question);       // 27
    virtual int IsDocument() { return 0; }              // 29
    // Only tree windows answer 1.
    virtual int IsTree() { return 0; }
    virtual int CanPrint() { return 0; }                // 30
    // Whether the window has a page header and footer of its own (tree windows), and the dialog that edits
    // them: 1 when they changed.
    virtual bool HasPageHeader() { return false; }
    virtual int EditPageHeader() { return 0; }
    // Prints the pane's picture (silent: every page once, no dialog); 0 when nothing was printed.
    virtual int Print(int silent);                      // 31
    virtual int IsModified() { return 0; }              // 32
    // Where printed pages start when the user placed the drawing; false when the window keeps no offset.
    virtual bool GetPrintOffset(float& x, float& y);    // 36
    virtual void SetPrintOffset(float x, float y) {}    // 37
    virtual int CentreOnePage() { return 0; }           // 38
    virtual double GetPrintScale() { return 1.0; }      // 39
    virtual void SetPrintScale(double x, double y) {}   // 40
    virtual void PrintScaleRange(double& minimum, double& maximum); // 41
    // The frame's tool bar and menu states for this window: nothing to save, printing as CanPrint, no
    // analysis, font or variable commands, the default mode.
    virtual void SetDefaultCommandStates();             // 42
    // The window's own states and texts of the frame's menu bar, set after the frame's. Nothing here.
    virtual void UpdateMenus(HMENU bar) {}
    // The drawing's bounds in logical units; empty here.
    virtual void Bounds(LogicalRect& rect);             // 48
    // The pane's zoom changed: the drawing lays itself out again. Nothing here.
    virtual void OnZoomChanged();                       // 50
    // The window's printer, opened on the current printer with the window's printer settings on first use,
    // scaled by the print scale kept within the print-scale range; it may have no device context.
    virtual PrinterDevice* PrinterSetup();              // 51
    // Draws the picture on the display. Nothing here.
    virtual void Draw(Display* display);                // 52
    void InvalidateAll() { InvalidateLogicalRect(nullptr); } // 53
    virtual void OnActivated();                         // 55
    // The window stops being the active child. Nothing here.
    virtual void OnDeactivated() {}
    // Documents keep a modified flag; other windows have none.
    virtual void SetModified(int flag) {}               // 57

    // An open in-place text edit is put aside while the pane refits its scroll ranges and brought back
    // afterwards; true when there was one to put aside. None here.
    virtual bool SuspendInPlaceEdit();
    virtual void ResumeInPlaceEdit();

    // The drawing pane (owned), or null.
    ZoomPane* Pane() const { return pane_.get(); }
    void SetPane(ZoomPane* pane);
    // The display of the pane, null without a pane.
    Display* PaneDisplay() const;

    // Places the window at fractions of the frame's client area (across, down).
    void PlaceAt(double across, double down);
    // Keeps the window within the frame's client area, shrinking it where it is larger.
    void FitToFrame();
    // Sizes the window to show the whole drawing (18 pixels to spare), keeping its left or right edge and
    // its top or bottom edge; with keepInside it is then moved back inside the frame's client area. Nothing
    // without a pane or with an empty drawing.
    void FitToContents(bool anchorRight, bool anchorBottom, bool keepInside);
    // Marks the printed pages on the drawing: dashed page breaks and each page's header and footer. While
    // the pane prints, the header and footer of the page being printed.
    void DrawPageHeaderText(const PageHeaderOptions& options);

    // The undo history. An action is applied at once and marks a document modified.
    void AddUndoAction(UndoAction* action);
    // Forgets every action: after a change that cannot be taken back, none of them fits any more.
    void ClearUndoHistory() { undo_.Clear(); }
    UndoAction* CurrentUndoAction() const { return undo_.Current(); }
    // Forgets the current action without taking it back: a typing step whose typing was given up.
    void DropCurrentUndoAction() { undo_.DropCurrent(); }
    UndoAction* NextRedoAction() const { return undo_.NextRedo(); }
    // Take back and apply again; a document is then modified, as its contents changed.
    void Undo();
    void Redo();
    const UndoHistory& History() const { return undo_; }

    // Invalidates the rectangle (logical units) grown by 0.15 on every side; null: the whole pane.
    void InvalidateLogicalRect(const LogicalRect* rect);
    bool HasPrinter();
    // The print set-up dialog on the window's printer; 0 without a usable printer.
    int PrintSetup();
    // The printer settings kept with the window: the device mode the user last confirmed.
    virtual PrinterSetupRecord& PrinterSettings();
    // The printer the user chose for this window (owned), replacing the one it had.
    void UsePrinter(PrinterDevice* printer);
    // The printer given up to a print job, which deletes it; the window opens a new one when next asked.
    PrinterDevice* ReleasePrinter();

    // The Edit commands go to the edit control that last had the focus among those tracked.
    void TrackFocus(EditCtrl* control);
    EditCtrl* FocusEdit() const { return focusEdit_; }
    // Gives the focus back: the tracked edit, else the focus child, else the pane.
    void RestoreFocus();
    void SetFocusChild(WindowCL* window);
    bool IsActiveChild() const;
    // A window without a maximise box is shown restored even when the others are maximised.
    void ShowRestoredIfFixed();
    // The window class's icon from the resource (0: none).
    void SetIconId(unsigned id);

private:
    // A page of the drawing on a display: its column and row (-1: the page being printed) and pixels.
    struct PageOnDisplay {
        int column;
        int row;
        RECT pixels;
    };
    // Draws the page breaks within the options' rectangle and lists the pages that touch it (in pixels of
    // the options' display); false without a printer page to lay out.
    bool LayOutPages(const PageHeaderOptions& options, PageGrid& grid, std::vector<PageOnDisplay>& pages);
    void Initialise();
    long OnEditCommand(unsigned id);
    long OnTrackedFocus(WindowEvent* event);

    UndoHistory undo_;
    unsigned iconId_ = 0;
    EditCtrl* focusEdit_ = nullptr;
    WindowCL* focusChild_ = nullptr;
    int editCommandsOn_ = 1;
    // The window that was maximised when this one opened restored; maximised again when this one closes.
    HWND maximiseOnClose_ = nullptr;
    std::unique_ptr<ZoomPane> pane_;
    std::unique_ptr<PrinterDevice> printer_;
    std::unique_ptr<PrinterSetupRecord> settings_;
};
