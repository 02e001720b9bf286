#include "widgets/DocumentWindow.h"

#include "widgets/BmpFile.h"
#include "widgets/CursorStack.h"
#include "widgets/FilePathDialogs.h"
#include "widgets/FrameCommands.h"
#include "framework/window/MDIframeCL.h"
#include "widgets/Shell.h"
#include "widgets/MainToolbar.h"
#include "widgets/ProgramPreferences.h"
#include "widgets/SnapshotFormatDialog.h"
#include "foundation/DocumentFileHeader.h"
#include "foundation/FileHelpers.h"
#include "foundation/FileStream.h"
#include "framework/window/WindowEvent.h"
#include "foundation/MessageBoxes.h"
#include "foundation/RecentFileList.h"
#include "formula/RunOutcome.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/DrawingScale.h"
#include "framework/draw/MetafileDisplay.h"
#include "model/DocumentHeader.h"

#include "CommandIds.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char* const AllFilesFilter[] = {"All Files (*.*)", "*.*", nullptr};

// The extension a filter's first pattern gives ("*.tre" gives "tre"); empty for "*.*".
zString FilterExtension(const char* const* filter)
{
    const char* pattern = filter && filter[0] && filter[1] ? filter[1] : "";
    if (std::strncmp(pattern, "*.", 2) == 0 && std::strcmp(pattern + 2, "*") != 0)
        return zString(pattern + 2);
    return zString();
}

// Draws the picture at scale 1 with the bounds' top-left at the display's origin.
class PictureScale {
public:
    PictureScale() { SaveDrawingScale(), SetCurrentDrawingScale(1.0f); }
    ~PictureScale() { RestoreDrawingScale(); }
    PictureScale(const PictureScale&) = delete;
    PictureScale& operator=(const PictureScale&) = delete;
};

} // namespace

namespace {

// A new document opens as the active one is shown (maximised or not); the frame notes it before the
// window is made. The title passes through.
const char* NoteChildShowCommand(const char* title)
{
    TheShell().RememberChildShowCommand();
    return title;
}

} // namespace

DocumentWindow::DocumentWindow(const char* title, DWORD style, unsigned menuId)
    : DocChildWindow(NoteChildShowCommand(title), style, menuId)
{
}

DocumentWindow::~DocumentWindow()
{
    if (openMark_ != nullptr)
        CloseHandle(openMark_);
}

namespace {

// The name of the mark of an open file: the same for every spelling of its path, and short enough for any.
std::string OpenMarkName(const FilePath& file)
{
    zString path = file.NormalPath();
    path.MakeLower();
    uint64_t hash = 14695981039346656037ull;
    for (const char* c = path.Text(); *c != 0; ++c)
        hash = (hash ^ static_cast<unsigned char>(*c == '/' ? '\\' : *c)) * 1099511628211ull;
    char name[48];
    std::snprintf(name, sizeof name, "KIVO-open-file-%016llx", static_cast<unsigned long long>(hash));
    return name;
}

} // namespace

bool DocumentWindow::FileOpenElsewhere(const FilePath& file)
{
    if (file.IsEmpty())
        return false;
    HANDLE mark = OpenMutexA(SYNCHRONIZE, FALSE, OpenMarkName(file).c_str());
    if (mark == nullptr)
        return false;
    CloseHandle(mark);
    return true;
}

void DocumentWindow::MarkFileOpen()
{
    if (openMark_ != nullptr)
        CloseHandle(openMark_);
    openMark_ = nullptr;
    if (!readOnly_ && !filePath_.IsEmpty())
        openMark_ = CreateMutexA(nullptr, FALSE, OpenMarkName(filePath_).c_str());
}

void DocumentWindow::KeepReadOnly()
{
    readOnly_ = true;
    MarkFileOpen();
}

void DocumentWindow::SetModified(int flag)
{
    if (flag == modified_)
        return;
    modified_ = flag;
    RefreshFrameCommands();
}

void DocumentWindow::SetDefaultCommandStates()
{
    DocChildWindow::SetDefaultCommandStates();
    EnableSaveCommand(IsModified() || filePath_.IsEmpty() ? 1 : 0);
}

int DocumentWindow::QueryClose(const char* question)
{
    if (!DocChildWindow::QueryClose(question))
        return 0;
    if (!EndOpenEdits())
        return 0;
    if (!IsModified())
        return 1;
    switch (AskYesNoCancel(nullptr, question, 0)) {
    case 1:
        return SaveToFile();
    case 3:
        return 1;
    default:
        return 0;
    }
}

long DocumentWindow::OnCommandId(unsigned id, unsigned code, HWND control)
{
    switch (id) {
    case Cmd::FileSave:
        SaveToFile();
        return 1;
    case Cmd::FileSaveAs:
        SaveAs(nullptr);
        return 1;
    default:
        return DocChildWindow::OnCommandId(id, code, control);
    }
}

bool DocumentWindow::FileStillReadable()
{
    if (!filePath_.Exists()) {
        ShowErrorBox(nullptr, "File not found, or the file is empty.", 0);
        return false;
    }
    std::unique_ptr<FileStream> stream = filePath_.OpenStream(false);
    return ReadDocumentHeader(*stream) == DocumentKind();
}

DocumentWindow* DocumentWindow::DropUnread(DocumentWindow* window)
{
    if (window == nullptr || window->FileRead())
        return window;
    delete window;
    return nullptr;
}

const char* const* DocumentWindow::FileFilter()
{
    return AllFilesFilter;
}

namespace {

bool ReadFileStamp(const FilePath& file, uint64_t& time, uint64_t& size)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (file.IsEmpty() || !GetFileAttributesExA(file.FullPath().Text(), GetFileExInfoStandard, &data))
        return false;
    time = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

} // namespace

void DocumentWindow::KeepFileStamp()
{
    stamped_ = ReadFileStamp(filePath_, stampTime_, stampSize_);
}

bool DocumentWindow::FileChangedElsewhere() const
{
    uint64_t time = 0, size = 0;
    return stamped_ && ReadFileStamp(filePath_, time, size) && (time != stampTime_ || size != stampSize_);
}

void DocumentWindow::SetTitleFromPath(const char* path)
{
    filePath_.SetFullPath(path);
    KeepFileStamp();
    MarkFileOpen();
    zString title;
    filePath_.GetBaseName(title);
    SetText(title);
}

bool DocumentWindow::WriteFileHeader(Archive& stream)
{
    return ::WriteFileHeader(stream, static_cast<::DocumentKind>(DocumentKind()));
}

namespace {

// Why a document's reading stopped, for the person; empty when the header's refusal has said it already.
std::string UnreadReason(FileStream& stream)
{
    if (!stream.IsOpen())
        return "It is in use by another program. Close it there and open it again.";
    const uint32_t format = stream.FormatError();
    if (FileHeaderMessage(format) != nullptr)
        return std::string();
    return FileDamageReason(FileDamageCode(stream), stream.RanOutFromDamage());
}

} // namespace

int DocumentWindow::ReadFromFile()
{
    if (filePath_.IsEmpty())
        return 0;
    const uint32_t size = filePath_.FileSize();
    bool read = false;
    std::string reason;
    {
        std::unique_ptr<FileStream> stream = filePath_.OpenStream(false);
        WaitCursorScope wait;
        read = ReadDocument(*stream, size);
        if (!read)
            reason = UnreadReason(*stream);
    }
    if (read)
        return 1;
    const zString path = filePath_.FullPath();
    std::string text = std::string("Unable to open file.\n\n\"") + path.Text() + "\"";
    if (!reason.empty())
        text += "\n\n" + reason;
    ReportFailure(reason.empty() ? OutcomeCode::FileRefused : OutcomeCode::FileDamaged, nullptr, nullptr,
                  text.c_str(), 0);
    filePath_.Clear();
    MarkFileOpen();
    return 0;
}

namespace {

// A file another program holds open is in use there; any other refusal is the file's or the disk's.
int AskToSaveUnderNewName(bool heldElsewhere)
{
    return AskOkCancel(nullptr,
                       heldElsewhere
                           ? "This file is in use by another program. Would you like to save it under a new name?"
                           : "This file is read-only, or is on a locked disk. Would you like to save it under a new "
                             "name?",
                       0, 3);
}

} // namespace

int DocumentWindow::SaveToFile()
{
    if (filePath_.IsEmpty() || readOnly_)
        return SaveAs(nullptr);
    return SaveToPath(filePath_);
}

int DocumentWindow::SaveToPath(const FilePath& target)
{
    if (!EndOpenEdits())
        return 0;
    if (bool held = false; target.IsInUse(&held))
        return AskToSaveUnderNewName(held) == 1 ? SaveAs(nullptr) : 0;
    // Another window's file is left to it: saving over it would lose what that window saves next.
    if ((readOnly_ || !target.EqualsNoCase(filePath_)) && FileOpenElsewhere(target)) {
        const std::string question = std::string("\"") + target.FullPath().Text() +
                                     "\" is open in another KIVO window. Would you like to save it under a new name?";
        return AskOkCancel(nullptr, question.c_str(), 0, 3) == 1 ? SaveAs(nullptr) : 0;
    }
    // Another program's changes are overwritten only when the person says so; No keeps the document unsaved.
    if (target.EqualsNoCase(filePath_) && FileChangedElsewhere()) {
        const std::string question = std::string("\"") + filePath_.FullPath().Text() +
                                     "\" was changed by another program since it was opened. Save over it?";
        if (AskYesNo(nullptr, question.c_str(), 0) != 1)
            return 0;
    }
    zString message;
    // A document its file cannot hold is refused with the one reason, before anything is written.
    if (!Storable(message)) {
        ShowErrorBox(nullptr, message.Text(), 0);
        return 0;
    }
    SaveFailure cause = SaveFailure::Other;
    bool saved = false;
    {
        WaitCursorScope wait;
        const zString path = target.FullPath();
        saved = SaveFileBeside(path.Text(), [this](FileStream& stream) { return WriteDocument(stream); }, message,
                               &cause);
    }
    // The document takes the new name only once its file is there.
    if (saved && std::strcmp(target.FullPath().Text(), filePath_.FullPath().Text()) != 0) {
        readOnly_ = false;
        SetTitleFromPath(target.FullPath().Text());
    } else if (saved) {
        KeepFileStamp();
        // Saved over its own file once the other window let it go, the document holds the file again.
        if (readOnly_) {
            readOnly_ = false;
            MarkFileOpen();
        }
    }
    SetModified(saved ? 0 : 1);
    if (saved)
        return 1;
    // The file was taken by another program, or made read-only, while the document was written.
    if (cause == SaveFailure::Locked || cause == SaveFailure::InUse)
        return AskToSaveUnderNewName(cause == SaveFailure::InUse) == 1 ? SaveAs(nullptr) : 0;
    ShowErrorBox(nullptr, message.Text(), 0);
    return 0;
}

int DocumentWindow::SaveAs(const char* path)
{
    const char* const* filter = FileFilter();
    FilePath target;
    if (path && *path) {
        target.SetFullPath(path);
    } else {
        zString initial = filePath_.IsEmpty() ? zString(Text()) : filePath_.Name();
        if (!ChooseSavePath(handle_, filter, "Save As", initial.Text(), target))
            return 0;
    }
    // A document knows its file by the one normal spelling of its path, as the open files are matched.
    target.SetFullPath(target.NormalPath().Text());
    zString extension;
    target.GetExtension(extension);
    extension.MakeLower();
    if (extension == "wmf" || extension == "bmp") {
        const bool metafile = extension == "wmf";
        if (!CanSaveAsPicture()) {
            zString text("This document cannot be saved as a ");
            text += metafile ? "metafile." : "bitmap.";
            ShowInfoBox(nullptr, text.Text(), 0);
            return 0;
        }
        const zString full = target.FullPath();
        return (metafile ? SaveAsMetafile(full.Text()) : SaveAsBitmap(full.Text())) ? 1 : 0;
    }
    if (!CanWriteDocument()) {
        ShowInfoBox(nullptr,
                    "This graph cannot be saved as a graph file yet. It can be saved as a picture (\".bmp\" or "
                    "\".wmf\").",
                    0);
        return 0;
    }
    const zString own = FilterExtension(filter);
    zString ownLower = own;
    ownLower.MakeLower();
    if (!own.IsEmpty() && extension != ownLower) {
        target.SetExtension(own.Text());
        // The dialog asked about the name the user typed, not about this one.
        if (target.Exists() && !target.EqualsNoCase(filePath_)) {
            zString text("\"");
            text += target.FullPath();
            text += "\" already exists. Do you want to replace it?";
            if (AskOkCancel(nullptr, text.Text(), 0, 3) != 1)
                return 0;
        }
    }
    const int saved = SaveToPath(target);
    RecentFileList* recent = TheShell().RecentFiles();
    if (saved && recent) {
        if (recent->Contains(target))
            recent->MoveToFront(target);
        else
            recent->AddToFront(target);
    }
    return saved;
}

RECT DocumentWindow::PicturePixels(const Display& display)
{
    LogicalRect bounds{0, 0, 0, 0};
    Bounds(bounds);
    return LogicalRectToPixels(bounds, display);
}

bool DocumentWindow::SaveAsBitmap(const char* path)
{
    // The picture shows what is typed in an open edit; one that does not end (its error shown) stops it.
    if (!EndOpenEdits())
        return false;
    bool saved = false;
    {
        WaitCursorScope wait;
        PictureScale scale;
        BitmapDisplay screen(1, 1);
        const RECT pixels = PicturePixels(screen);
        const std::unique_ptr<BitmapDisplay> bitmap = PaperBitmap(pixels);
        Draw(bitmap.get());
        saved = SaveBitmapAsBmp(*bitmap, FilePath(path));
    }
    if (!saved)
        ShowErrorBox(nullptr, "Unable to save file.", 0);
    return saved;
}

bool DocumentWindow::SaveAsMetafile(const char* path)
{
    if (!EndOpenEdits())
        return false;
    const FilePath file(path);
    {
        WaitCursorScope wait;
        PictureScale scale;
        MetafileObject picture(file, PaneDisplay());
        picture.SetBlackAndWhite(ThePreferences().exportBlackAndWhite);
        const RECT pixels = PicturePixels(picture);
        picture.SetFrame(pixels);
        DisplayLock lock(picture);
        Draw(&picture);
    }
    if (!file.Exists()) {
        ShowErrorBox(nullptr, "Unable to save file.", 0);
        return false;
    }
    return true;
}

void DocumentWindow::SnapshotPicture()
{
    static const char* const MetafileFilters[] = {"Metafiles (*.wmf)", "*.wmf", nullptr};
    static const char* const BitmapFilters[] = {"Bitmap Files (*.bmp)", "*.bmp", nullptr};
    SnapshotFormatDialog format(false);
    if (!format.Run())
        return;
    const bool metafile = format.extension == "wmf";
    FilePath proposed(Text());
    proposed.SetExtension(format.extension.Text());
    FilePath path;
    if (!ChooseSavePath(handle_, metafile ? MetafileFilters : BitmapFilters, "Save Snapshot",
                        proposed.FullPath().Text(), path))
        return;
    path.SetExtension(format.extension.Text());
    const zString full = path.FullPath();
    metafile ? SaveAsMetafile(full.Text()) : SaveAsBitmap(full.Text());
}

bool DocumentWindow::CopyPicture()
{
    WaitCursorScope wait;
    PictureScale scale;
    LogicalRect bounds{0, 0, 0, 0};
    Bounds(bounds);
    if (!OpenClipboard(handle_))
        return false;
    EmptyClipboard();
    CloseClipboard();
    MetafileObject picture(FilePath(), PaneDisplay());
    picture.SetBlackAndWhite(ThePreferences().exportBlackAndWhite);
    const RECT pixels = PicturePixels(picture);
    picture.SetFrame(pixels);
    picture.SetLogicalRect(bounds.left, bounds.top, bounds.right, bounds.bottom);
    {
        DisplayLock lock(picture);
        Draw(&picture);
    }
    const bool metafile = picture.CopyToClipboard(handle_);
    const std::unique_ptr<BitmapDisplay> bitmap = PaperBitmap(pixels);
    Draw(bitmap.get());
    bool copied = false;
    if (HGLOBAL dib = bitmap->ExportDib()) {
        if (OpenClipboard(handle_)) {
            copied = SetClipboardData(CF_DIB, dib) != nullptr;
            CloseClipboard();
        }
        if (!copied)
            GlobalFree(dib);
    }
    return metafile && copied;
}
