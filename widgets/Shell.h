#pragma once
// What the windows ask of the program's shell: the main frame (its status line, its commands, its active
// window, the windows of lookup tables) and the process-wide objects of the application object (fonts,
// formula menus, clipboard, recent files, links). The shell (app/) implements it; the folders below it reach
// the frame and the application object only through TheShell().

#include "framework/draw/Colour.h"
#include "foundation/zString.h"

#include <windows.h>

class Clipboard;
class DdeLinkManager;
class DocumentWindow;
class FontRecord;
class GraphWindow;
class InfluenceDiagramWindow;
class MDIchildCL;
class MDIframeCL;
class PopupMenu;
class RecentFileList;
class TableGraphWindow;
class TreeWindow;
class zFont;

// The default fonts, in the order they are made; each is replaced by its saved value under its name.
enum DefaultFontIndex {
    TreeFont, ProbFont, EVFont, VariablesFont, GraphLabelFont, GraphHAxisLabelFont, GraphVAxisLabelFont,
    GraphAxisFont, GraphVAxisFont, GraphTitleFont, OutlineFont, PageHeaderFont, DefaultFontCount
};

class Shell {
public:
    virtual ~Shell() = default;

    // The main frame; null while there is none (then the calls below on the frame do nothing).
    virtual MDIframeCL* Frame() const = 0;
    // The active MDI child when it is one of the frame's document or tool windows, else null.
    virtual MDIchildCL* ActiveChild() const = 0;
    // Brings the frame's menus and tool bar up to date.
    virtual void RefreshCommands() = 0;
    // The texts of the status bar's items by key: 0 the message field, 2 the risk-preference and 3 the
    // payoff-kind indicator.
    virtual void SetStatusPane(const char* text, int key) = 0;
    virtual void ClearStatusIndicators() = 0;
    // The show command of new document windows (SW_SHOWNORMAL without a frame), and the active one's kept.
    virtual int ChildShowCommand() const = 0;
    virtual void RememberChildShowCommand() = 0;
    // The windows of lookup tables: opened (or brought forward), forgotten, closed by table name.
    virtual TableGraphWindow* OpenTableGraph(const char* name) = 0;
    virtual void RemoveTableGraph(const TableGraphWindow* window) = 0;
    virtual void CloseTableGraphsOf(const char* name) = 0;
    // The frame's document window that holds the file, or null.
    virtual DocumentWindow* FindOpenDocument(const char* path) const = 0;
    // Opens the file as a document window, as File Open does; null when nothing opened (the person was told).
    virtual DocumentWindow* OpenFileByName(const char* path) = 0;
    // The Preferences dialog of a tree, a diagram or a graph, with the application's pages; true at OK. The
    // tree's relayout tells whether its layout changed.
    virtual bool RunPreferences(TreeWindow& tree, bool* relayout) = 0;
    virtual bool RunPreferences(InfluenceDiagramWindow& diagram) = 0;
    virtual bool RunPreferences(GraphWindow& graph) = 0;

    // The application object's; each null while it is not made.
    virtual const zString& Directory() const = 0;
    virtual RecentFileList* RecentFiles() const = 0;
    virtual zFont* CurrentDialogFont() const = 0;
    virtual HFONT DialogFontHandle() const = 0;
    virtual FontRecord* DefaultFont(DefaultFontIndex index) const = 0;
    virtual const FontRecord* DefaultFontNamed(const char* name) const = 0;
    virtual PopupMenu* OperatorsMenu() const = 0;
    virtual PopupMenu* KeywordsMenu() const = 0;
    virtual PopupMenu* FunctionsMenu() const = 0;
    virtual Clipboard* SystemClipboard() const = 0;
    virtual void PutClipboardText(const char* text) const = 0;
    virtual bool CanPasteLink() const = 0;
    virtual DdeLinkManager* Links() const = 0;
};

// The program's shell. The program defines it (app/ProgramShell.cpp), as it defines StartProgram.
Shell& TheShell();
