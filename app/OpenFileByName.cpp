#include "app/OpenFileByName.h"

#include "app/MainFrame.h"
#include "widgets/MessageBoxes.h"
#include "app/RecentFilesMenu.h"
#include "widgets/StatusMessage.h"
#include "foundation/FilePath.h"
#include "foundation/MessageBoxes.h"
#include "foundation/StringHelpers.h"
#include "formula/RunOutcome.h"
#include "model/DocumentHeader.h"
#include "treewin/TreeWindow.h"

#include <string>
#include <vector>

DocumentWindow* FindOpenDocument(const char* path)
{
    const FilePath file(path);
    MainFrame* frame = MainFrame::Program();
    if (frame == nullptr)
        return nullptr;
    std::vector<WindowCL*> windows;
    frame->CollectWindows(windows);
    for (WindowCL* window : windows) {
        auto* document = dynamic_cast<DocumentWindow*>(window);
        if (document && document->IsDocument() && !document->FilePathObject().IsEmpty() &&
            file.EqualsNoCase(document->FilePathObject()))
            return document;
    }
    return nullptr;
}

DocumentWindow* OpenFileByName(const char* path, const RECT* placement)
{
    // The window, the recent files and the messages know the file by its one normal spelling.
    const FilePath file(FilePath(path).NormalPath().Text());
    const zString fullPath = file.FullPath();
    if (DocumentWindow* open = FindOpenDocument(fullPath.Text())) {
        MessageBeep(0);
        ShowStatusMessage("The file is already loaded.");
        open->Activate();
        return nullptr;
    }
    if (!file.Exists()) {
        std::string text = std::string("File \"") + fullPath.Text() + "\" not found.";
        const DWORD attributes = GetFileAttributesA(fullPath.Text());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            text += "\n\nIt is a folder, not a file: open a document inside it.";
        ReportFailure(OutcomeCode::FileRefused, nullptr, nullptr, text.c_str(), 0);
        return nullptr;
    }
    // Another KIVO process has it open: two windows saving one file would lose one's work.
    const bool readOnly = DocumentWindow::FileOpenElsewhere(file);
    if (readOnly) {
        const std::string question = std::string("\"") + fullPath.Text() +
                                     "\" is already open in another KIVO window.\n\n"
                                     "Open it read-only? Saving it will ask for a new name.";
        if (AskYesNo(nullptr, question.c_str(), 0) != 1)
            return nullptr;
    }
    zString extension;
    file.GetExtension(extension);
    extension.MakeLower();
    DocumentWindow* window = nullptr;
    if (extension == "tre" || extension == "trb") {
        // The reading names the reason when the file cannot be read.
        window = DocumentWindow::DropUnread(new TreeWindow(fullPath.Text()));
    } else {
        bool reported = false;
        window = DocumentWindow::OpenDocument(fullPath.Text(), &reported);
        // A file no window takes is refused naming it and saying why, as a tree's is.
        if (window == nullptr && !reported)
            ReportRefusedHeader(fullPath.Text());
    }
    if (window == nullptr)
        return nullptr;
    if (readOnly)
        window->KeepReadOnly();
    if (placement != nullptr && window->Handle() != nullptr)
        MoveWindow(window->Handle(), placement->left, placement->top, placement->right - placement->left,
                   placement->bottom - placement->top, TRUE);
    window->Show(-1);
    // A tree imported from the older text form is a new, untitled document: neither a recent file nor opened.
    if (window->FilePathObject().IsEmpty())
        return window;
    AddRecentFile(MainFrame::Program(), file, false);
    ShowStatusMessage((std::string(readOnly ? "Opened read-only \"" : "Opened \"") + fullPath.Text() + "\"").c_str());
    return window;
}
