#pragma once
// The whole life of the program between WinMain and its exit, and the process-wide objects it makes. Each
// global exists from its creation step until ShutdownApplication (or the end of StartProgram); code that
// runs inside the message loop may rely on all of them. A global that could not be made stays null.

#include "framework/draw/Colour.h"
#include "foundation/zString.h"
#include "framework/window/ProgramEntry.h"

class Clipboard;
class DdeLinkManager;
class FontRecord;
class PopupMenu;
class RecentFileList;
class ScriptManager;
class WindowCL;
class zFont;

// The default fonts, in the order they are made; each is replaced by its saved value under its name.
enum DefaultFontIndex {
    TreeFont, ProbFont, EVFont, VariablesFont, GraphLabelFont, GraphHAxisLabelFont, GraphVAxisLabelFont,
    GraphAxisFont, GraphVAxisFont, GraphTitleFont, OutlineFont, PageHeaderFont, DefaultFontCount
};

extern zString ProgramDirectory;       // directory of the running program file
extern RecentFileList* TheRecentFiles; // its destructor saves the list
extern Colour ButtonFaceColour;        // COLOR_BTNFACE at start-up
extern zFont* DialogFont;              // "MS Sans Serif", 8 points, weight 400
extern zFont* DialogFontHeavy;         // the same at weight 900
extern zFont* CurrentDialogFont;       // the font that dialogs use
extern Clipboard* AppClipboard;        // the application's access to the system clipboard
extern PopupMenu* OperatorsMenu;       // operators for formula editing (menu 120)
extern PopupMenu* KeywordsMenu;        // keywords for formula editing (menu 119)
extern PopupMenu* FunctionsMenu;       // built-in functions for formula editing (menu 122)
extern ScriptManager* TheScriptManager;
extern DdeLinkManager* TheLinkManager; // DDE links, service "KIVO_Node"
extern FontRecord* DefaultFonts[DefaultFontCount];
// The default font saved under that name ("Tree", "Prob", ...), or null while it is not made.
const FontRecord* DefaultFontNamed(const char* name);

// The application-wide start-up once the main frame exists, and its shut-down after the message loop.
void StartApplication();
void ShutdownApplication();
// Makes the Operators, Keywords and Functions menus of formula fields, and deletes them.
void CreateFormulaMenus(WindowCL* owner);
void DestroyFormulaMenus();
// Makes DialogFont, DialogFontHeavy and CurrentDialogFont.
void CreateDialogFont();
