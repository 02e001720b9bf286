#include "app/OpenFileByName.h"

#include "app/MainFrame.h"
#include "app/MessageBoxes.h"
#include "app/RecentFilesMenu.h"
#include "app/StatusMessage.h"
#include "foundation/FilePath.h"
#include "foundation/StringHelpers.h"
#include "treewin/TreeWindow.h"

#include <windows.h>

#include <string>

TreeWindow* OpenFileByName(const char* path)
{
    const FilePath file(path);
    const zString fullPath = file.FullPath();
    for (TreeWindow* window : TreeWindow::OpenWindows()) {
        if (!window->FilePath().IsEmpty() && file.EqualsNoCase(FilePath(window->FilePath().Text()))) {
            MessageBeep(0);
            ShowStatusMessage("The file is already loaded.");
            return nullptr;
        }
    }
    if (!file.Exists()) {
        ShowErrorBox(nullptr, (std::string("File \"") + fullPath.Text() + "\" not found.").c_str(), 0);
        return nullptr;
    }
    zString extension;
    file.GetExtension(extension);
    extension.MakeLower();
    if (extension != "tre" && extension != "trb") {
        ShowErrorBox(nullptr, "Unrecognized file type.", 0);
        return nullptr;
    }
    auto* window = new TreeWindow(fullPath.Text());
    // A damaged file was reported and gave an untitled tree: it is neither a recent file nor opened.
    if (window->FilePath().IsEmpty())
        return window;
    AddRecentFile(MainFrame::Program(), file, false);
    ShowStatusMessage((std::string("Opened \"") + fullPath.Text() + "\"").c_str());
    return window;
}
