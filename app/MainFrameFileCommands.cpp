// The main frame's File commands: new documents, open, revert, scripts, the recent files, exit.

#include "widgets/CommandLine.h"
#include "widgets/DocumentWindow.h"
#include "widgets/FilePathDialogs.h"
#include "app/MainFrame.h"
#include "app/OpenFileByName.h"
#include "app/RecentFilesMenu.h"
#include "app/StartProgram.h"
#include "dialogs/NewDocumentDialog.h"
#include "foundation/FilePath.h"
#include "foundation/MessageBoxes.h"
#include "foundation/RecentFileList.h"
#include "framework/window/FrameworkApp.h"
#include "influence/InfluenceDiagramWindow.h"
#include "script/ScriptManager.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <string>

namespace {

// The Open dialog's file kinds; influence diagrams come first with the command-line option i.
const char* const OpenFilters[] = {
    "Tree Files (*.tre)", "*.tre", "Influence Files (*.ind)", "*.ind", "Roll-back Files (*.trb)", "*.trb",
    "Graph Files (*.grf)", "*.grf", "All Files (*.*)", "*.*", nullptr,
};
const char* const InfluenceFirstOpenFilters[] = {
    "Influence Files (*.ind)", "*.ind", "Tree Files (*.tre)", "*.tre", "Roll-back Files (*.trb)", "*.trb",
    "Graph Files (*.grf)", "*.grf", "All Files (*.*)", "*.*", nullptr,
};

} // namespace

long MainFrame::NewTree()
{
    TreeWindow::ShowNew(SW_SHOWNORMAL);
    return 1;
}

long MainFrame::NewDocument()
{
    NewDocumentDialog dialog;
    if (!dialog.Run())
        return 1;
    if (dialog.Choice == NewDocumentDialog::InfluenceDiagram)
        (new InfluenceDiagramWindow())->Show(SW_SHOWNORMAL);
    else
        TreeWindow::ShowNew(SW_SHOWNORMAL);
    return 1;
}

long MainFrame::RevertActive()
{
    auto* document = dynamic_cast<DocumentWindow*>(MDIframeCL::ActiveChild());
    if (!document || !document->IsDocument() || !document->IsModified() || document->FilePathObject().IsEmpty())
        return 1;
    revertPath_ = document->FilePathObject();
    // The window's own rectangle in the MDI client, where the reopened window goes.
    if (document->Handle()) {
        GetWindowRect(document->Handle(), &revertRect_);
        MapWindowPoints(nullptr, ClientHandle(), reinterpret_cast<POINT*>(&revertRect_), 2);
    }
    const std::string question =
        std::string("You will lose unsaved changes to \"") + document->Text() + "\". Revert to the last saved version?";
    if (AskOkCancel(nullptr, question.c_str(), 0, 2) != 1)
        return 1;
    // The unsaved work stays when the saved file can no longer be read (the reading said why).
    if (!document->FileStillReadable())
        return 1;
    document->SetModified(0);
    // The reopened window is shown as this one was, maximised or not.
    RememberChildShowCommand();
    delete document;
    PostMessageA(handle_, WM_COMMAND, Cmd::ReopenReverted, 0);
    return 1;
}

long MainFrame::ReopenReverted()
{
    OpenFileByName(revertPath_.FullPath().Text(), &revertRect_);
    return 1;
}

long MainFrame::OpenFile()
{
    FilePath path;
    const char* const* filters = CommandLineFlag(InfluenceFirstBit) ? InfluenceFirstOpenFilters : OpenFilters;
    if (ChooseOpenPath(handle_, filters, "Open File", nullptr, path))
        OpenFileByName(path.FullPath().Text());
    return 1;
}

long MainFrame::RunScript()
{
    // Grayed while a script runs; a command that comes anyway (a posted one) finds it so too.
    ScriptManager* scripts = TheProgram()->Scripts();
    if (!scripts || scripts->FileRunning())
        return 1;
    static const char* const ScriptFilters[] = {"Script Files (*.txt)", "*.txt", nullptr};
    FilePath path;
    if (ChooseOpenPath(handle_, ScriptFilters, "Run Script", nullptr, path))
        scripts->RunScriptFile(path.FullPath().Text());
    return 1;
}

long MainFrame::RunStartupScript()
{
    zString path;
    ScriptManager* scripts = TheProgram()->Scripts();
    if (TakeStartupScript(path) && scripts != nullptr)
        scripts->RunScriptFile(path.Text());
    return 1;
}

void MainFrame::OpenRecentFile(unsigned id)
{
    FilePath path;
    const int entry = RecentFileEntry(this, id);
    const RecentFileList* recent = TheProgram()->RecentFiles();
    if (entry >= 0 && recent && recent->GetAt(entry, path))
        OpenFileByName(path.FullPath().Text());
}

long MainFrame::Exit()
{
    WindowEvent close{0, 0, WM_CLOSE, handle_};
    if (OnClose(&close) == 0) {
        ending_ = true;
        if (TheApp)
            TheApp->Quit();
    }
    return 1;
}
