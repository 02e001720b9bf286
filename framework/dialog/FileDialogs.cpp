#include "framework/dialog/FileDialogs.h"

#include "foundation/MessageBoxes.h"

#include <dlgs.h>

#include <cstdio>
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

const char FileDialogProcProperty[] = "KivoFileDialogProc";
const char FileDialogOptionsProperty[] = "KivoFileDialogOptions";

HWND& ShownFileDialog()
{
    static HWND shown = nullptr;
    return shown;
}

// The name field of an explorer-style dialog: the combo box of newer systems or the plain edit.
HWND NameField(HWND dialog)
{
    HWND field = GetDlgItem(dialog, cmb13);
    return field != nullptr ? field : GetDlgItem(dialog, edt1);
}

// Selects the whole text of the name field, so that what is typed next replaces it.
void SelectName(HWND dialog, HWND field)
{
    if (field == GetDlgItem(dialog, cmb13))
        SendMessageA(field, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    else
        SendMessageA(field, EM_SETSEL, 0, -1);
}

// How long the full path of the typed name becomes: a relative name goes into the folder shown, a name
// without an extension gets the default one.
size_t FullPathLength(HWND dialog, const OPENFILENAMEA& options, const std::string& typed)
{
    size_t length = typed.size();
    const bool absolute = typed.size() >= 2 && (typed[1] == ':' || (typed[0] == '\\' && typed[1] == '\\'));
    if (!absolute) {
        char folder[1024] = {};
        SendMessageA(dialog, CDM_GETFOLDERPATH, sizeof folder, reinterpret_cast<LPARAM>(folder));
        const size_t folderLength = std::strlen(folder);
        if (!typed.empty() && (typed[0] == '\\' || typed[0] == '/'))
            length += 2; // the folder's drive
        else if (folderLength > 0)
            length += folderLength + (folder[folderLength - 1] == '\\' ? 0 : 1);
    }
    const size_t nameStart = typed.find_last_of("\\/:");
    const std::string name = nameStart == std::string::npos ? typed : typed.substr(nameStart + 1);
    if (options.lpstrDefExt != nullptr && name.find('.') == std::string::npos)
        length += 1 + std::strlen(options.lpstrDefExt);
    return length;
}

// Stands before the system's own dialog procedure: a name whose full path would not fit in the dialog's
// buffer is refused here, since the system's dialog with a hook fails on such a name instead of refusing it.
LRESULT CALLBACK GuardedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto previous = reinterpret_cast<WNDPROC>(GetPropA(dialog, FileDialogProcProperty));
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        const auto* options = static_cast<const OPENFILENAMEA*>(GetPropA(dialog, FileDialogOptionsProperty));
        HWND field = NameField(dialog);
        if (options != nullptr && field != nullptr) {
            std::string typed(static_cast<size_t>(GetWindowTextLengthA(field)) + 1, '\0');
            typed.resize(static_cast<size_t>(GetWindowTextA(field, &typed[0], static_cast<int>(typed.size()))));
            if (FullPathLength(dialog, *options, typed) >= options->nMaxFile) {
                char text[160];
                std::snprintf(text, sizeof text, "The file name is too long. A full path can have at most %u characters.",
                              static_cast<unsigned>(options->nMaxFile - 1));
                ShowErrorBox(nullptr, text, 0);
                SetFocus(field);
                SelectName(dialog, field);
                return 0;
            }
        }
    } else if (message == WM_NCDESTROY && previous != nullptr) {
        SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(dialog, FileDialogProcProperty);
        RemovePropA(dialog, FileDialogOptionsProperty);
        if (ShownFileDialog() == dialog)
            ShownFileDialog() = nullptr;
    }
    return previous != nullptr ? CallWindowProcA(previous, dialog, message, wParam, lParam)
                               : DefWindowProcA(dialog, message, wParam, lParam);
}

// The hook of every file dialog, on its own empty page inside the dialog. Once the dialog has laid itself
// out: the placement (in the custom data) moves it, the name field's text is selected so that typing
// replaces it, and the guard against names too long is put in place.
UINT_PTR CALLBACK FileDialogHook(HWND page, UINT message, WPARAM, LPARAM data)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(page, GWLP_USERDATA, data);
    } else if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(data)->code == CDN_INITDONE) {
        HWND dialog = GetParent(page);
        const auto* options = reinterpret_cast<const OPENFILENAMEA*>(GetWindowLongPtrA(page, GWLP_USERDATA));
        if (auto place = reinterpret_cast<DialogPlacement>(options->lCustData))
            place(dialog);
        if (GetPropA(dialog, FileDialogProcProperty) == nullptr) {
            SetPropA(dialog, FileDialogOptionsProperty, const_cast<OPENFILENAMEA*>(options));
            SetPropA(dialog, FileDialogProcProperty, reinterpret_cast<HANDLE>(GetWindowLongPtrA(dialog, GWLP_WNDPROC)));
            SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GuardedDialogProc));
            ShownFileDialog() = dialog;
        }
        if (HWND field = NameField(dialog))
            SelectName(dialog, field);
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
    dialog.Flags |= OFN_ENABLEHOOK;
    dialog.lpfnHook = FileDialogHook;
    dialog.lCustData = reinterpret_cast<LPARAM>(place);
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

HWND RunningFileDialog()
{
    return ShownFileDialog();
}

FileDialogPresenter SetFileDialogPresenter(FileDialogPresenter presenter)
{
    FileDialogPresenter previous = Presenter();
    Presenter() = presenter ? std::move(presenter) : FileDialogPresenter(PresentOnScreen);
    return previous;
}
