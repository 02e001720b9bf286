#include "framework/dialog/FileDialogs.h"

#include <cstring>
#include <string>

namespace {

int PresentOnScreen(OPENFILENAMEA& dialog, bool saving)
{
    return saving ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
}

FileDialogPresenter& Presenter()
{
    static FileDialogPresenter presenter = PresentOnScreen;
    return presenter;
}

// Each text with its terminator, then two more zeros.
std::string BuildFilter(const char* const* filters)
{
    static const char* const allFiles[] = {"All Files (*.*)", "*.*", nullptr};
    if (!filters)
        filters = allFiles;
    std::string block;
    for (const char* const* entry = filters; *entry; ++entry) {
        block += *entry;
        block += '\0';
    }
    block += '\0';
    block += '\0';
    return block;
}

const char* FirstFilterPattern(const char* const* filters)
{
    return (filters && filters[0]) ? filters[1] : nullptr;
}

// Fills the name field and works out the default extension (empty: none).
std::string PrepareInitialName(FileDialogResult& result, const char* initial, const char* const* filters,
                               bool saving)
{
    std::string extension;
    if (!initial || !*initial) {
        extension = saving ? "" : "*";
    } else if (initial[0] == '*') {
        if (!saving)
            std::strncpy(result.path, initial, sizeof result.path - 1);
        extension = std::strlen(initial) > 2 ? initial + 2 : "";
    } else {
        std::strncpy(result.path, initial, sizeof result.path - 1);
        // The extension follows the last dot of the name itself ("my.model.tre" is a "tre"), not of a folder.
        const char* name = initial;
        for (const char* at = initial; *at; ++at)
            if (*at == '\\' || *at == '/' || *at == ':')
                name = at + 1;
        if (const char* dot = std::strrchr(name, '.'))
            extension = dot + 1;
        else if (const char* pattern = FirstFilterPattern(filters))
            extension = pattern;
        else
            extension = saving ? "" : "*";
    }
    if (saving && !extension.empty() && extension[0] == '*')
        extension.clear();
    return extension;
}

// The hook of a dialog with a placement: the placement (in the custom data) moves the dialog, the parent of
// the hook's own empty page, once the dialog has laid itself out.
UINT_PTR CALLBACK PlacingHook(HWND page, UINT message, WPARAM, LPARAM data)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(page, GWLP_USERDATA, reinterpret_cast<const OPENFILENAMEA*>(data)->lCustData);
    } else if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(data)->code == CDN_INITDONE) {
        if (auto place = reinterpret_cast<DialogPlacement>(GetWindowLongPtrA(page, GWLP_USERDATA)))
            place(GetParent(page));
    }
    return 0;
}

void RunFileDialog(FileDialogResult& result, HWND parent, const char* title, const char* initial,
                   const char* const* filters, bool saving, DialogPlacement place)
{
    result.chosen = 0;
    std::string filter = BuildFilter(filters);
    std::string extension = PrepareInitialName(result, initial, filters, saving);

    OPENFILENAMEA dialog{};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = parent;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = result.path;
    dialog.nMaxFile = sizeof result.path;
    dialog.nMaxFileTitle = 256;
    dialog.lpstrTitle = title;
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags = OFN_LONGNAMES | OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT |
                   (saving ? 0 : OFN_FILEMUSTEXIST);
    if (place) {
        dialog.Flags |= OFN_ENABLEHOOK;
        dialog.lpfnHook = PlacingHook;
        dialog.lCustData = reinterpret_cast<LPARAM>(place);
    }
    if (Presenter()(dialog, saving))
        result.chosen = 1;
}

} // namespace

void ShowOpenFileDialog(FileDialogResult& result, HWND parent, const char* title, const char* initial,
                        const char* const* filters, DialogPlacement place)
{
    RunFileDialog(result, parent, title, initial, filters, false, place);
}

void ShowSaveFileDialog(FileDialogResult& result, HWND parent, const char* title, const char* initial,
                        const char* const* filters, DialogPlacement place)
{
    RunFileDialog(result, parent, title, initial, filters, true, place);
}

FileDialogPresenter SetFileDialogPresenter(FileDialogPresenter presenter)
{
    FileDialogPresenter previous = Presenter();
    Presenter() = presenter ? std::move(presenter) : FileDialogPresenter(PresentOnScreen);
    return previous;
}
