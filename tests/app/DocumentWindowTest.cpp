#include "widgets/DocumentWindow.h"
#include "app/MainFrame.h"
#include "widgets/MainToolbar.h"
#include "foundation/Archive.h"
#include "foundation/DocumentFileHeader.h"
#include "foundation/FileStream.h"
#include "foundation/MemoryStream.h"
#include "framework/dialog/FileDialogs.h"
#include "framework/draw/Display.h"
#include "framework/visual/VisualListPane.h"
#include "framework/visual/VisualToggleSet.h"
#include "framework/window/MDIframeCL.h"
#include "model/DocumentHeader.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// A document of one line of text after the header, drawn as a filled rectangle of 2 x 1 inches.
class NoteDocument : public DocumentWindow {
public:
    NoteDocument() : DocumentWindow("Untitled Note", 0) {}
    int DocumentKind() override { return 1; }
    int CanSaveAsPicture() override { return 1; }
    const char* const* FileFilter() override
    {
        static const char* const filter[] = {"Tree Files (*.tre)", "*.tre", nullptr};
        return filter;
    }
    bool WriteDocument(Archive& stream) override
    {
        if (failWrite)
            return false;
        WriteFileHeader(stream);
        stream.WriteBytes(text.data(), static_cast<uint32_t>(text.size()));
        return true;
    }
    bool ReadDocument(Archive& stream, uint32_t size) override
    {
        if (ReadDocumentHeader(stream) != 1)
            return false;
        text.assign(size - 7, ' ');
        stream.ReadBytes(&text[0], size - 7);
        return stream.State() == 0;
    }
    // An open edit whose text does not parse shows its error and answers false; none here.
    bool EndOpenEdits() override { return editsEnd; }
    void Bounds(LogicalRect& rect) override { rect = LogicalRect{0, 0, 2, 1}; }
    void Draw(Display* display) override
    {
        DisplayLock lock(*display);
        PatBlt(display->DeviceContext(), -1000, -1000, 5000, 5000, BLACKNESS);
    }
    std::string text = "first";
    bool failWrite = false;
    bool editsEnd = true;
};

// Adds or removes a letter of the note.
class LetterAction : public UndoAction {
public:
    explicit LetterAction(NoteDocument* note) : UndoAction(note, "Typing"), note_(note) {}
    void Do() override { note_->text += "!"; }
    void Undo() override { note_->text.pop_back(); }

private:
    NoteDocument* note_;
};

std::string TempPath(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + name;
}

std::string FileText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

class DocumentWindowTest : public testing::Test {
protected:
    void TearDown() override
    {
        delete note;
        for (const std::string& path : used)
            DeleteFileA(path.c_str());
    }
    // A file of this test alone (tests run side by side in one temporary directory).
    std::string Path(const char* name)
    {
        used.push_back(TempPath(name));
        return used.back();
    }
    std::vector<std::string> used;
    ScopedApplication app;
    MDIframeCL frame{nullptr, 0, "frame"};
    NoteDocument* note = new NoteDocument;
};

TEST(DocumentFileHeader, MarkVersionAndKindAreCheckedWithTheirMessages)
{
    MemoryStream written(100);
    ASSERT_TRUE(WriteFileHeader(written, TreeDocumentKind));
    written.WriteShort(0x1234);
    const std::string ours(reinterpret_cast<const char*>(written.Data()), written.Size());
    std::string swapped = ours;
    std::swap(swapped[0], swapped[1]);
    std::swap(swapped[5], swapped[6]);
    std::swap(swapped[7], swapped[8]);
    std::string newer = ours;
    newer[2] = 9;
    const struct {
        std::string bytes;
        int kind;
        uint32_t code;
        std::string message;
    } rows[] = {
        {ours, 1, 0, ""},
        {swapped, 1, 0, ""},
        {newer, 0, HeaderNewerVersion,
         "The file you have opened cannot be read by this version of KIVO. Please call Morlund Software at (555) "
         "010-4477 or visit our web site at www.morlund.example  to update your copy of the program."},
        {"PK" + ours.substr(2), 0, HeaderNotADocument, "This file was not created by KIVO. It cannot be read."},
        {"", 0, HeaderFileMissing, "File not found, or the file is empty."},
    };
    for (const auto& row : rows) {
        MessageBoxRecorder boxes;
        std::string bytes = row.bytes;
        MemoryStream stream(bytes.empty() ? nullptr : &bytes[0], static_cast<uint32_t>(bytes.size()), false);
        EXPECT_EQ(ReadDocumentHeader(stream), row.kind);
        EXPECT_EQ(stream.FormatError(), row.code);
        if (row.kind) {
            int16_t after = 0;
            stream.ReadShort(after);
            EXPECT_EQ(after, 0x1234);
            EXPECT_EQ(boxes.Count(), 0u);
        } else {
            ASSERT_EQ(boxes.Count(), 1u);
            EXPECT_EQ(boxes.Last().text, row.message);
            EXPECT_EQ(boxes.Last().style, static_cast<unsigned>(MB_OK | MB_ICONHAND));
        }
    }
}

TEST_F(DocumentWindowTest, SavesThroughATemporaryFileAndReadsBack)
{
    const std::string path = Path("kivo-saved.tre");
    note->AddUndoAction(new LetterAction(note));
    EXPECT_EQ(note->IsModified(), 1);
    // ".txt" takes the document's own extension.
    ASSERT_EQ(note->SaveAs(TempPath("kivo-saved.txt").c_str()), 1);
    EXPECT_EQ(std::string(note->FullPath().Text()), path);
    EXPECT_STREQ(note->Text(), "kivo-saved");
    EXPECT_EQ(note->IsModified(), 0);
    EXPECT_EQ(FileText(path).substr(7), "first!");
    // Undo changes the document again.
    note->Undo();
    EXPECT_EQ(note->IsModified(), 1);
    // A write that fails leaves the file as it was, is reported and keeps the document modified.
    MessageBoxRecorder boxes;
    note->failWrite = true;
    EXPECT_EQ(note->SaveToFile(), 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Unable to save file. \"" + path + "\" was left unchanged.");
    EXPECT_EQ(FileText(path).substr(7), "first!");
    EXPECT_EQ(note->IsModified(), 1);
    note->failWrite = false;
    ASSERT_EQ(note->SaveToFile(), 1);
    note->text = "";
    EXPECT_EQ(note->ReadFromFile(), 1);
    EXPECT_EQ(note->text, "first");
}

// A file another program wrote since it was opened or saved is saved over only when the person says Yes.
TEST_F(DocumentWindowTest, SaveAsksBeforeOverwritingAFileChangedElsewhere)
{
    const std::string path = Path("kivo-changed.tre");
    ASSERT_EQ(note->SaveAs(path.c_str()), 1);
    const std::string theirs = FileText(path) + " and more from elsewhere";
    WriteFile(path, theirs);
    note->AddUndoAction(new LetterAction(note));
    MessageBoxRecorder boxes;
    boxes.Answer(IDNO);
    EXPECT_EQ(note->SaveToFile(), 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text,
              "\"" + path + "\" was changed by another program since it was opened. Save over it?");
    EXPECT_EQ(FileText(path), theirs);
    EXPECT_EQ(note->IsModified(), 1);
    boxes.Answer(IDYES);
    EXPECT_EQ(note->SaveToFile(), 1);
    EXPECT_EQ(FileText(path).substr(7), "first!");
    // Its own save is no change by another program.
    note->AddUndoAction(new LetterAction(note));
    EXPECT_EQ(note->SaveToFile(), 1);
    EXPECT_EQ(boxes.Count(), 2u);
}

TEST_F(DocumentWindowTest, SaveAsAsksBeforeReplacingAnotherFileAndPicturesKeepThePath)
{
    MessageBoxRecorder boxes;
    const std::string other = Path("kivo-other.tre");
    WriteFile(other, "keep");
    // The user typed a new name; the document's extension makes it an existing file.
    boxes.Answer(IDCANCEL);
    EXPECT_EQ(note->SaveAs(TempPath("kivo-other.txt").c_str()), 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "\"" + other + "\" already exists. Do you want to replace it?");
    EXPECT_EQ(FileText(other), "keep");
    EXPECT_TRUE(note->FullPath().IsEmpty());
    // A bitmap: the picture is written and the document stays untitled.
    const std::string bitmap = Path("kivo-NOTE.BMP");
    ASSERT_EQ(note->SaveAs(bitmap.c_str()), 1);
    EXPECT_EQ(FileText(bitmap).substr(0, 2), "BM");
    EXPECT_TRUE(note->FullPath().IsEmpty());
    // No picture is written while an open edit does not end (its error is its own box), and one that cannot
    // be written says so once.
    note->editsEnd = false;
    boxes.Clear();
    for (const char* name : {"kivo-unended.bmp", "kivo-unended.wmf"}) {
        const std::string unended = Path(name);
        EXPECT_EQ(note->SaveAs(unended.c_str()), 0) << name;
        EXPECT_EQ(GetFileAttributesA(unended.c_str()), INVALID_FILE_ATTRIBUTES) << name;
    }
    EXPECT_EQ(boxes.Count(), 0u);
    note->editsEnd = true;
    for (const char* name : {"kivo-gone-folder\\kivo.bmp", "kivo-gone-folder\\kivo.wmf"}) {
        boxes.Clear();
        EXPECT_EQ(note->SaveAs(TempPath(name).c_str()), 0) << name;
        ASSERT_EQ(boxes.Count(), 1u) << name;
        EXPECT_EQ(boxes.Last().text, "Unable to save file.") << name;
    }
    // A file another program holds, shared or not, is in use there: a new name is offered, and Cancel saves
    // nothing and keeps the older file.
    ASSERT_EQ(note->SaveAs(other.c_str()), 1);
    const std::string older = FileText(other);
    for (const DWORD share : {DWORD{FILE_SHARE_READ}, DWORD{0}}) {
        note->AddUndoAction(new LetterAction(note));
        HANDLE held = CreateFileA(other.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
        boxes.Clear();
        boxes.Answer(IDCANCEL);
        EXPECT_EQ(note->SaveToFile(), 0) << share;
        CloseHandle(held);
        ASSERT_EQ(boxes.Count(), 1u) << share;
        EXPECT_EQ(boxes.Last().text,
                  "This file is in use by another program. Would you like to save it under a new name?");
        EXPECT_EQ(FileText(other), older) << share;
    }
}

// The file is written beside itself and then moved into place: no temporary folder is needed, and a save
// that fails says why and leaves nothing behind.
TEST_F(DocumentWindowTest, SavesBesideTheFileAndNamesWhatStoppedTheSave)
{
    const std::string path = Path("kivo-beside.tre");
    const std::string gone = TempPath("kivo-gone-folder\\kivo.tre");
    char temp[MAX_PATH] = {}, tmp[MAX_PATH] = {};
    GetEnvironmentVariableA("TEMP", temp, sizeof temp);
    GetEnvironmentVariableA("TMP", tmp, sizeof tmp);
    SetEnvironmentVariableA("TEMP", gone.c_str());
    SetEnvironmentVariableA("TMP", gone.c_str());
    const int saved = note->SaveAs(path.c_str());
    SetEnvironmentVariableA("TEMP", temp);
    SetEnvironmentVariableA("TMP", tmp);
    ASSERT_EQ(saved, 1);
    EXPECT_EQ(FileText(path).substr(7), "first");

    // A failed Save As keeps the document's name and file.
    MessageBoxRecorder boxes;
    EXPECT_EQ(note->SaveAs(gone.c_str()), 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "The folder of this file cannot be found. \"" + gone + "\" was not saved.");
    EXPECT_STREQ(note->Text(), "kivo-beside");
    EXPECT_EQ(std::string(note->FullPath().Text()), path);
    EXPECT_EQ(note->IsModified(), 1);
    EXPECT_EQ(GetFileAttributesA((path + ".tmp~").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(DocumentWindowTest, ADamagedFileIsReportedAndLeavesTheDocumentUntitled)
{
    MessageBoxRecorder boxes;
    const std::string path = Path("kivo-damaged.tre");
    WriteFile(path, "not a tree at all");
    note->SetTitleFromPath(path.c_str());
    EXPECT_EQ(note->ReadFromFile(), 0);
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text, "This file was not created by KIVO. It cannot be read.");
    EXPECT_EQ(boxes.Last().text, "Unable to open file.\n\n\"" + path + "\"");
    EXPECT_TRUE(note->FullPath().IsEmpty());
    // Save now asks for a name instead of writing over the file.
    SetFileDialogPresenter([](OPENFILENAMEA&, bool) { return 0; });
    EXPECT_EQ(note->SaveToFile(), 0);
    SetFileDialogPresenter(nullptr);
    EXPECT_EQ(FileText(path), "not a tree at all");
}

// The frame's Save button follows the active document: on while it is modified or untitled.
TEST(DocumentCommands, SaveIsOnWhileTheDocumentIsModifiedOrUntitled)
{
    FocusTestLock focus;
    ScopedApplication app;
    auto* frame = new MainFrame;
    frame->EndStartup();
    BuildMainToolbar(frame->ToolBar());
    auto* note = new NoteDocument;
    note->Create();
    note->Show(SW_SHOWNORMAL);
    frame->RefreshCommands();
    auto saveOn = [&] { return VisualCtrlKit::IsItemEnabled(frame->ToolBar(), 1104); };
    EXPECT_TRUE(saveOn());
    note->SetTitleFromPath("C:\\notes\\a.tre");
    frame->RefreshCommands();
    EXPECT_FALSE(saveOn());
    note->SetModified(1);
    EXPECT_TRUE(saveOn());
    EXPECT_FALSE(VisualCtrlKit::IsItemEnabled(frame->ToolBar(), 1108));
    delete note;
    DestroyMainToolbar();
    delete frame;
}

TEST_F(DocumentWindowTest, ThePictureGoesOnTheClipboardAsMetafileAndBitmap)
{
    ClipboardTestLock clipboard;
    ASSERT_TRUE(note->CopyPicture());
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_METAFILEPICT));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB));
    ASSERT_TRUE(OpenClipboard(nullptr));
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(GetClipboardData(CF_DIB)));
    ASSERT_NE(header, nullptr);
    // 2 x 1 inches at the screen's resolution.
    const int perInch = GetDeviceCaps(GetDC(nullptr), LOGPIXELSX);
    EXPECT_EQ(header->biWidth, 2 * perInch);
    EXPECT_EQ(header->biHeight, perInch);
    GlobalUnlock(GetClipboardData(CF_DIB));
    EmptyClipboard();
    CloseClipboard();
}

} // namespace
