#pragma once
// The base of the document windows (trees, influence diagrams, graphs): the window is the document. It holds
// the file path and the modified flag, writes and checks the header that every document file begins with,
// saves through a temporary copy so that a failed save never damages the file, saves its picture as a
// bitmap or a metafile, puts it on the clipboard, and keeps its title equal to its file name.

#include "widgets/DocChildWindow.h"
#include "foundation/FilePath.h"

class Archive;

class DocumentWindow : public DocChildWindow {
public:
    DocumentWindow(const char* title, DWORD style, unsigned menuId = 0);
    ~DocumentWindow() override;

    int IsDocument() override { return 1; }
    int IsModified() override { return modified_; }
    // A modified document asks the question (Yes saves, No closes unsaved, Cancel keeps it open) once the
    // window itself may close; an edit open over the document ends first.
    int QueryClose(const char* question) override;              // 27
    // Save (1104) and Save As (1105), then the child window's commands.
    long OnCommandId(unsigned id, unsigned code, HWND control) override;
    // As every child window, and Save while the document is modified or untitled.
    void SetDefaultCommandStates() override;                    // 42
    // A changed flag refreshes the frame's commands.
    void SetModified(int flag) override;                        // 57
    virtual int CanSaveAsPicture() { return 0; }                // 58
    // Writes header and body; false when the document could not be written.
    virtual bool WriteDocument(Archive& stream) = 0;            // 59
    // The file dialog's filter pairs (description, pattern) ending with null; the first pattern gives the
    // document's extension.
    virtual const char* const* FileFilter();                    // 60
    // Reads header and body; false when the file is no readable document of this kind.
    virtual bool ReadDocument(Archive& stream, uint32_t fileSize) = 0; // 61
    // The path becomes the document's file and its name the title.
    virtual void SetTitleFromPath(const char* path);            // 62
    // 1 tree, 2 graph, 3 influence diagram.
    virtual int DocumentKind() { return 0; }                    // 63
    // False while the document has no stored form it can be saved in (only its picture can be saved).
    virtual bool CanWriteDocument() { return true; }
    // False, saying why, when the document holds what its file cannot store: Save refuses before it writes.
    virtual bool Storable(zString&) { return true; }
    // False when the file this window was made from could not be read (the reading said why): such a
    // window is deleted unseen.
    virtual bool FileRead() const { return true; }
    // Every in-place edit open over the document ends as a click elsewhere ends it, its text taken into the
    // document. Each write of the document, its picture included, and its close question begin here, so
    // that what is written is what shows and typing counts as a change. False when a typed text does not
    // parse (its error shown, its window kept open with it): the write or the close stops there. Nothing here.
    virtual bool EndOpenEdits() { return true; }

    // Writes the header with this document's kind; false (after recording error 6) when it failed.
    bool WriteFileHeader(Archive& stream);

    // True when the document's file still reads as a document of its kind (the reading reports what is
    // wrong); Revert asks before it gives up the unsaved work.
    virtual bool FileStillReadable();

    // Reads the document from its file; a file that cannot be read is reported and leaves the document
    // untitled, so that Save never writes an empty document over it.
    int ReadFromFile();
    // Saves to the document's file through a temporary file; untitled documents ask for a name. 0 when
    // nothing was saved (reported to the user).
    int SaveToFile();
    // Saves under a name (null: asked for); ".bmp" and ".wmf" names save the picture instead and leave the
    // document's own path alone; any other name takes the document's own extension.
    int SaveAs(const char* path);
    // The picture as a file; false, reported once, when an open edit does not end (nothing is written then)
    // or the file could not be written.
    bool SaveAsBitmap(const char* path);
    bool SaveAsMetafile(const char* path);
    // The picture on the clipboard as a metafile and as a bitmap.
    bool CopyPicture();
    // Snapshot: the picture saved as the metafile or bitmap the person chooses a form and a name for.
    void SnapshotPicture();

    // Opens the document file as the window of the kind its header names; null after the header's or the
    // reading's message, or for a kind that has no window. `reported` tells whether the failure was already
    // shown.
    // The shell defines it (app/DocumentKinds.cpp): it knows the kinds of document window.
    static DocumentWindow* OpenDocument(const char* path, bool* reported = nullptr);
    // The window, or null after deleting it when its file could not be read.
    static DocumentWindow* DropUnread(DocumentWindow* window);

    zString FullPath() const { return filePath_.FullPath(); }
    const FilePath& FilePathObject() const { return filePath_; }

    // True while a window of this or another KIVO process has the file open as its document.
    static bool FileOpenElsewhere(const FilePath& file);
    // A document opened while another window holds its file: it never saves over that file (Save asks for
    // a new name) and leaves the file to the other window.
    void KeepReadOnly();
    bool IsReadOnly() const { return readOnly_; }

private:
    // Saves to the target through a temporary file; the target becomes the document's file and title only
    // when it was saved.
    int SaveToPath(const FilePath& target);
    // Keeps the file's last-write time and size, so that a save can tell when another program changed it.
    void KeepFileStamp();
    // True when the document's file is there and differs from the stamp kept when it was opened or saved.
    bool FileChangedElsewhere() const;
    // The drawing bounds in pixels of the display at scale 1.
    RECT PicturePixels(const Display& display);

    // Holds the named mark that tells other windows and processes this file is open here.
    void MarkFileOpen();

    int modified_ = 0;
    FilePath filePath_;
    void* openMark_ = nullptr;
    bool readOnly_ = false;
    bool stamped_ = false;
    uint64_t stampTime_ = 0;
    uint64_t stampSize_ = 0;
};
