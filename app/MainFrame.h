#pragma once
// The program's one MDI frame window: the menu bar with the "&Window" and "&Help" menus, the tool bar at the
// top, the status bar at the bottom and the recent-files entries of the File menu. Every command reaches it
// first; what is not application-wide goes on to the active document window. It is built before the splash
// and the application-wide start-up, so its constructor depends on neither; while its start-up state is on
// it ignores commands and menu updates.

#include "foundation/FilePath.h"
#include "framework/window/MDIframeCL.h"

#include <cstdint>
#include <memory>
#include <vector>

class BarLayoutRule;
class ProgressWindow;
class TableGraphWindow;
class MDImarginCL;
class VisualListPane;
class VisualPane;

class MainFrame : public MDIframeCL {
public:
    static constexpr const char* Title = "KIVO 3.5";
    static constexpr unsigned FirstChildId = 1000;
    // Posted to the frame: the command states are taken again.
    static constexpr UINT RefreshCommandsMessage = WM_APP + 0x2765;

    // Makes the frame window (not shown yet) with its menus, bars and accelerators.
    MainFrame();
    ~MainFrame() override;

    // The program's frame, null while there is none.
    static MainFrame* Program();

    long OnResize(SIZE client, UINT kind) override;
    long OnClose(WindowEvent* event) override;   // 7
    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    // The frame's command table has a row for the command.
    static bool HasCommand(unsigned id);

    // The splash has ended: commands and menu updates are taken from now on.
    void EndStartup();
    // No splash is showing (the frame is started hidden).
    void EndSplash() { EndStartup(); }
    bool StartupBusy() const { return startupBusy_ != 0; }

    // The active MDI child when it is one of the frame's document or tool windows, else null.
    MDIchildCL* ActiveChild() const;
    // Appends every child window of the frame except the two bar margins, in the frame's child order.
    void CollectWindows(std::vector<WindowCL*>& out) const;

    // The show command of new document windows: maximised (3) until a restored window was active.
    int ChildShowCommand() const { return childShowCommand_; }
    void RememberChildShowCommand();

    // The texts of the status bar's items by key: 0 the message field, 2 the risk-preference and 3 the
    // payoff-kind indicator.
    void SetStatusPane(const char* text, int key);
    void ClearStatusIndicators();

    // Sets the application-wide menu items (a menu is opening) and the tool-bar states (after a command).
    // The states are taken again once the message being handled is done, since the change that asked for
    // them may go on after asking (a selection cleared after its editor closed).
    void UpdateMenus();
    void RefreshCommands();
    // More Windows... of the Window menu runs here with the active window picked in its list.
    LRESULT DefaultProcessing(WindowEvent* event) override;

    // The recent-file items now in the File menu (0 to 6).
    int32_t RecentSlots() const { return recentSlots_; }
    void SetRecentSlots(int32_t slots) { recentSlots_ = slots; }

    // The windows of lookup tables, one per table (not owned). Open brings the table's window forward when
    // there is one, else makes it; null when no table has the name.
    TableGraphWindow* OpenTableGraph(const char* name);
    // Beeps and brings the named table's window to the top; null when none is open.
    TableGraphWindow* FindTableGraph(const char* name);
    void RemoveTableGraph(const TableGraphWindow* window);
    // Closes the windows of the named table.
    void CloseTableGraphsOf(const char* name);

    bool StatusBarVisible() const;
    bool ToolBarVisible() const;
    VisualPane* StatusPane() const { return statusPane_; }
    // The frame's menu bar (resource 116, or 109 with the short menus).
    Menu* MenuBar() const { return menuBar_; }
    // The progress display at the left of the status bar.
    ProgressWindow* Progress() const { return progress_; }
    VisualListPane* ToolBar() const { return toolBar_; }
    MDImarginCL* StatusMargin() const { return statusMargin_; }
    MDImarginCL* ToolBarMargin() const { return toolBarMargin_; }

private:
    void CreateStatusBar();
    void CreateToolBar();
    // Re-lays out the bars and the MDI client in the frame's client area.
    void Relayout();
    long OnInitMenu(WindowEvent* event);
    long OnMenuSelect(WindowEvent* event);
    // The tool bar and status bar speak for the active window.
    void ApplyCommandStates();
    long OnRefreshCommands(WindowEvent* event);
    // The program became active again: document links whose partner was absent try again.
    long OnActivateProgram(WindowEvent* event);
    // Files dropped from the shell on any window open as File Open opens them.
    long OnDropFiles(WindowEvent* event);

    // Command handlers (MainFrameCommands.cpp), through the frame's command table.
    struct CommandRow;
    static const CommandRow Commands[];
    long EditAppPreferences();
    long ZoomInActive();
    long ZoomOutActive();
    long HelpOnContext();
    long HelpContents();
    long HelpSearch();
    long NewTree();
    long NewDocument();
    long OpenFile();
    void OpenRecentFile(unsigned id);
    long RunScript();
    long RunStartupScript();
    long RevertActive();
    long ReopenReverted();
    long CloseActive();
    long PrintActive();
    long PageSetupActive();
    // Print Preview of the active document window.
    long PrintPreviewActive();
    long UndoActive();
    long RedoActive();
    long RedrawActive();
    void ZoomActive(bool in);
    long ZoomDialogActive();
    long CloseAll();
    long CloseAllExceptTrees();
    long RelayoutWindows();
    long Exit();
    long ToggleToolBar();
    long ToggleStatusBar();
    long ToggleTreeClipboard();
    long ToggleBar(BarLayoutRule* rule);
    long ToggleNavigating();
    long CascadeWindows();
    long TileWindows();
    long ArrangeWindowIcons();
    long About();

    int32_t startupBusy_ = 1;
    int32_t shortMenus_ = 0;
    int32_t childShowCommand_ = 3;
    int32_t recentSlots_ = 0;
    BarLayoutRule* statusBarRule_ = nullptr;
    BarLayoutRule* toolBarRule_ = nullptr;
    MDImarginCL* statusMargin_ = nullptr;
    VisualPane* statusPane_ = nullptr;
    ProgressWindow* progress_ = nullptr; // an item of the status pane
    Menu* menuBar_ = nullptr;            // the window's menu object
    std::unique_ptr<Menu> helpMenu_;     // resource 121, a pop-up of the bar
    VisualListPane* toolBar_ = nullptr;
    MDImarginCL* toolBarMargin_ = nullptr;
    std::vector<TableGraphWindow*> tableGraphs_;
    FilePath revertPath_;
    RECT revertRect_{};
    // Set by Exit once the program's end has started: nothing is refreshed after it.
    bool ending_ = false;
    // A second refresh of the command states is posted and not yet taken.
    bool refreshPosted_ = false;
};
