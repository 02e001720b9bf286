// The shell the windows see: the main frame and the current application object, each when there is one.

#include "widgets/Shell.h"

#include "app/MainFrame.h"
#include "app/OpenFileByName.h"
#include "app/PreferencesDialog.h"
#include "app/StartProgram.h"

namespace {

class ProgramShell final : public Shell {
public:
    MDIframeCL* Frame() const override { return MainFrame::Program(); }
    MDIchildCL* ActiveChild() const override
    {
        MainFrame* frame = MainFrame::Program();
        return frame != nullptr ? frame->ActiveChild() : nullptr;
    }
    void RefreshCommands() override
    {
        if (MainFrame* frame = MainFrame::Program())
            frame->RefreshCommands();
    }
    void SetStatusPane(const char* text, int key) override
    {
        if (MainFrame* frame = MainFrame::Program())
            frame->SetStatusPane(text, key);
    }
    void ClearStatusIndicators() override
    {
        if (MainFrame* frame = MainFrame::Program())
            frame->ClearStatusIndicators();
    }
    int ChildShowCommand() const override
    {
        MainFrame* frame = MainFrame::Program();
        return frame != nullptr ? frame->ChildShowCommand() : SW_SHOWNORMAL;
    }
    void RememberChildShowCommand() override
    {
        if (MainFrame* frame = MainFrame::Program())
            frame->RememberChildShowCommand();
    }
    TableGraphWindow* OpenTableGraph(const char* name) override
    {
        MainFrame* frame = MainFrame::Program();
        return frame != nullptr ? frame->OpenTableGraph(name) : nullptr;
    }
    void RemoveTableGraph(const TableGraphWindow* window) override
    {
        if (MainFrame* frame = MainFrame::Program())
            frame->RemoveTableGraph(window);
    }
    void CloseTableGraphsOf(const char* name) override
    {
        if (MainFrame* frame = MainFrame::Program())
            frame->CloseTableGraphsOf(name);
    }
    DocumentWindow* FindOpenDocument(const char* path) const override { return ::FindOpenDocument(path); }
    DocumentWindow* OpenFileByName(const char* path) override { return ::OpenFileByName(path); }
    bool RunPreferences(TreeWindow& tree, bool* relayout) override
    {
        PreferencesDialog dialog(tree);
        const bool done = dialog.Run() != 0;
        *relayout = dialog.Relayout();
        return done;
    }
    bool RunPreferences(InfluenceDiagramWindow& diagram) override { return PreferencesDialog(diagram).Run() != 0; }
    bool RunPreferences(GraphWindow& graph) override { return PreferencesDialog(graph).Run() != 0; }

    const zString& Directory() const override { return TheProgram()->Directory(); }
    RecentFileList* RecentFiles() const override { return TheProgram()->RecentFiles(); }
    zFont* CurrentDialogFont() const override { return TheProgram()->CurrentDialogFont(); }
    HFONT DialogFontHandle() const override { return TheProgram()->DialogFontHandle(); }
    FontRecord* DefaultFont(DefaultFontIndex index) const override { return TheProgram()->DefaultFont(index); }
    const FontRecord* DefaultFontNamed(const char* name) const override
    {
        return TheProgram()->DefaultFontNamed(name);
    }
    PopupMenu* OperatorsMenu() const override { return TheProgram()->OperatorsMenu(); }
    PopupMenu* KeywordsMenu() const override { return TheProgram()->KeywordsMenu(); }
    PopupMenu* FunctionsMenu() const override { return TheProgram()->FunctionsMenu(); }
    Clipboard* SystemClipboard() const override { return TheProgram()->SystemClipboard(); }
    void PutClipboardText(const char* text) const override { TheProgram()->PutClipboardText(text); }
    bool CanPasteLink() const override { return TheProgram()->CanPasteLink(); }
    DdeLinkManager* Links() const override { return TheProgram()->Links(); }
};

} // namespace

Shell& TheShell()
{
    static ProgramShell shell;
    return shell;
}
