#pragma once
// The multiple-document frame: a top-level window with the system's MDI client in its client area. Messages
// nobody handles go to the frame's default procedure; the frame deletes MDI children whose windows are gone
// once their own code has left the call stack.

#include "framework/window/TopWindow.h"

#include <memory>
#include <vector>

class ChildLayout;
class MDIchildCL;

class MDIframeCL : public TopWindow {
public:
    // Posted to the frame by a child on each activation change: wParam the child being activated (or 1:
    // merge at once), lParam the child object.
    static constexpr UINT MergeMenuMessage = 1029;
    // Posted to the frame with the object to delete in lParam.
    static constexpr UINT DeleteLaterMessage = 6225;
    static constexpr int ClientId = 3244;
    // Posted to the frame once the client's scroll bars are to fit its children again.
    static constexpr UINT FitScrollBarsMessage = 6231;

    // A new empty pop-up becomes the Window menu when none is given; the frame and its client are created
    // at once. The layout rule (a new one when null) holds the client's rule, which fills the frame.
    MDIframeCL(ChildLayout* layout, DWORD style, const char* title, Menu* windowMenu = nullptr,
               unsigned firstChildId = 0);
    // Deletes the children (the active one last), the Window menu and the client object.
    ~MDIframeCL() override;

    LRESULT DefaultProcessing(WindowEvent* event) override; // 1
    std::unique_ptr<WNDCLASSA> ClassRecord() override;     // 2
    void Show(int showCommand) override;                    // 17
    void Create() override;                                 // 18

    void Tile();
    void Cascade();
    void ArrangeIcons();
    // The active child's object, null when there is none or its window is not live.
    MDIchildCL* ActiveChild() const;
    HWND ClientHandle() const;
    Menu* WindowMenu() const { return windowMenu_.get(); }
    // How many items at the end of the frame's menu bar stay after the merged child's items (1 at start).
    static void SetWindowMenuPosition(int count);
    // The handler of MergeMenuMessage: inserts the child's items before the trailing items of the frame's
    // bar when the child is being activated (or wParam is 1), takes them out again otherwise.
    long MergeChildMenu(WindowEvent* event);
    MDIchildCL* MergedChild() const { return mergedChild_; }
    // While held, merges change the bar's items without redrawing it (the frame closing its children one
    // by one); the release draws it once.
    void HoldMenuBar(bool held);
    unsigned FirstChildId() const { return firstChildId_; }
    // The client lists this many windows in the Window menu, with ids from the first child id on, then
    // "More Windows..." with the next id.
    static constexpr unsigned ListedWindows = 9;
    // Has the client write the Window menu's list afresh, each window it leaves out (past the ninth, hidden)
    // holding an id of its own past More Windows...'s. The client gives the windows it lists their entries'
    // ids and leaves the others theirs: a listed window's from an earlier list, or More Windows...'s, which
    // the tenth window is made with.
    void RewriteWindowList();
    // The turn of Ctrl+F6 and Ctrl+Shift+F6: the children in the order they were last active, the active one
    // first, as the system's own stacking would hold them (the frame restacks a maximised child under a tool
    // window, so the stacking cannot tell). A child activated goes to the front.
    void NoteActivated(HWND child);
    // The visible, enabled, unowned child after (next) or before the window in the turn, round the ends; null
    // when there is none other. The next turn sends the window it leaves to the end, as the system does.
    HWND ChildInTurn(HWND window, bool next);
    void SendToEndOfTurn(HWND child);
    // The client's scroll bars are fitted to its children once the messages queued now are handled (a child
    // moved, sized, shown or gone, the client sized).
    void QueueScrollBarFit();

protected:
    // The frame's rows: destruction ends the program, sizes lay out without the default procedure, closing
    // asks every child first, commands go on to the active child, deferred deletion.
    long HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer) override;

private:
    long CloseChildrenFirst(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer);
    // The bar's items as the merge asks; true when they changed.
    bool MergeChildItems(WindowEvent* event);
    void FitScrollBars();

    std::unique_ptr<TopWindow> client_;
    std::unique_ptr<Menu> windowMenu_;
    unsigned firstChildId_;
    MDIchildCL* mergedChild_ = nullptr;
    std::vector<HWND> turns_;
    bool scrollFitQueued_ = false;
    bool menuBarHeld_ = false;
    // Items changed since the bar was last drawn.
    bool menuBarStale_ = false;
};
