#pragma once
// The whole life of the program between WinMain and its exit, and the application object that holds the
// process-wide objects it makes.

#include "framework/draw/Colour.h"
#include "foundation/zString.h"
#include "framework/window/ProgramEntry.h"
#include "widgets/Shell.h"

#include <windows.h>

#include <memory>

class Clipboard;
class DdeLinkManager;
class FontRecord;
class MainFrame;
class PopupMenu;
class RecentFileList;
class ScriptManager;
class WindowCL;
class zFont;

// The program's application object: the process-wide objects the start-up steps make, each from its step
// until ShutdownApplication (the recent files until the end of StartProgram); code that runs inside the
// message loop may rely on all of them. One that was not made is null. StartProgram makes the one object
// of the program; a test may make its own, which is current while it lives.
class ProgramApp {
public:
    ProgramApp();
    ~ProgramApp();
    ProgramApp(const ProgramApp&) = delete;
    ProgramApp& operator=(const ProgramApp&) = delete;

    // Directory of the running program file.
    const zString& Directory() const { return directory_; }
    void SetDirectory(const zString& directory) { directory_ = directory; }
    RecentFileList* RecentFiles() const { return recentFiles_.get(); }
    // COLOR_BTNFACE at start-up.
    Colour ButtonFace() const { return buttonFace_; }
    void SetButtonFace(Colour colour) { buttonFace_ = colour; }
    // "MS Sans Serif", 8 points, weight 400; the same at weight 900; the font that dialogs use.
    zFont* DialogFont() const { return dialogFont_.get(); }
    zFont* DialogFontHeavy() const { return dialogFontHeavy_.get(); }
    zFont* CurrentDialogFont() const { return currentDialogFont_; }
    // The current dialog font's handle; null while there is none.
    HFONT DialogFontHandle() const;
    // The operators (menu 120), keywords (menu 119) and built-in functions (menu 122) of formula fields.
    PopupMenu* OperatorsMenu() const { return operatorsMenu_.get(); }
    PopupMenu* KeywordsMenu() const { return keywordsMenu_.get(); }
    PopupMenu* FunctionsMenu() const { return functionsMenu_.get(); }
    ScriptManager* Scripts() const { return scriptManager_.get(); }
    // DDE links, service "KIVO_Node".
    DdeLinkManager* Links() const { return linkManager_.get(); }
    // The application's access to the system clipboard; null until start-up and after shut-down.
    Clipboard* SystemClipboard() const { return clipboard_.get(); }
    // The clipboard then holds the text alone (nothing happens without a clipboard).
    void PutClipboardText(const char* text) const;
    // The links are made and the clipboard holds a link to paste.
    bool CanPasteLink() const;
    // The default font of that index; null while it is not made.
    FontRecord* DefaultFont(DefaultFontIndex index) const { return defaultFonts_[index].get(); }
    // The default font saved under that name ("Tree", "Prob", ...), or null while it is not made.
    const FontRecord* DefaultFontNamed(const char* name) const;

    // Each takes the object in place of the one held so far and hands that back.
    std::unique_ptr<RecentFileList> ReplaceRecentFiles(std::unique_ptr<RecentFileList> list);
    std::unique_ptr<ScriptManager> ReplaceScripts(std::unique_ptr<ScriptManager> scripts);
    std::unique_ptr<DdeLinkManager> ReplaceLinks(std::unique_ptr<DdeLinkManager> links);
    std::unique_ptr<Clipboard> ReplaceClipboard(std::unique_ptr<Clipboard> clipboard);
    std::unique_ptr<FontRecord> ReplaceDefaultFont(DefaultFontIndex index, std::unique_ptr<FontRecord> font);

    // The application-wide start-up once the main frame exists, and its shut-down after the message loop.
    void StartApplication(MainFrame& frame);
    void ShutdownApplication();
    // Makes the Operators, Keywords and Functions menus of formula fields, and deletes them.
    void CreateFormulaMenus(WindowCL* owner);
    void DestroyFormulaMenus();
    // Makes DialogFont, DialogFontHeavy and CurrentDialogFont.
    void CreateDialogFont();

private:
    void MakeDefaultFonts();

    ProgramApp* previous_;
    zString directory_;
    std::unique_ptr<RecentFileList> recentFiles_; // its destructor saves the list
    Colour buttonFace_{0, 0, 0, 0};
    std::unique_ptr<zFont> dialogFont_;
    std::unique_ptr<zFont> dialogFontHeavy_;
    zFont* currentDialogFont_ = nullptr;
    std::unique_ptr<PopupMenu> operatorsMenu_;
    std::unique_ptr<PopupMenu> keywordsMenu_;
    std::unique_ptr<PopupMenu> functionsMenu_;
    std::unique_ptr<ScriptManager> scriptManager_;
    std::unique_ptr<Clipboard> clipboard_;
    std::unique_ptr<DdeLinkManager> linkManager_;
    std::unique_ptr<FontRecord> defaultFonts_[DefaultFontCount];
};

// The current program object; null when there is none.
ProgramApp* TheProgram();
