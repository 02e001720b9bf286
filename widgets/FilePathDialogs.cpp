#include "widgets/FilePathDialogs.h"

#include "widgets/MessageBoxes.h"
#include "widgets/WindowPlacement.h"
#include "foundation/FilePath.h"
#include "framework/dialog/FileDialogs.h"

bool ChooseOpenPath(HWND owner, const char* const* filters, const char* title, const char* initial,
                    FilePath& path)
{
    FileDialogResult result;
    ShowOpenFileDialog(result, owner, title, initial, filters, PlaceDialogInFrame);
    if (!result.chosen)
        return false;
    path.SetFullPath(result.path);
    return true;
}

bool ChooseSavePath(HWND owner, const char* const* filters, const char* title, const char* initial,
                    FilePath& path)
{
    for (;;) {
        FileDialogResult result;
        ShowSaveFileDialog(result, owner, title, initial, filters, PlaceDialogInFrame);
        if (!result.chosen)
            return false;
        FilePath chosen(result.path);
        if (FilePath::CanWriteDirectory(chosen.Directory().Text())) {
            path = chosen;
            return true;
        }
        ShowErrorBox(nullptr, "That directory is either on a locked disk or non-existent.", -1);
    }
}
