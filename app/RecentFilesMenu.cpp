#include "app/RecentFilesMenu.h"

#include "app/MainFrame.h"
#include "app/StartProgram.h"
#include "foundation/RecentFileList.h"
#include "framework/dialog/Menu.h"

#include "CommandIds.h"

#include <string>

namespace {

constexpr size_t LongestShownPath = 40;

// Cuts the text at its last backslash; false when it has none.
bool CutAtLastBackslash(std::string& text)
{
    const size_t slash = text.rfind('\\');
    if (slash == std::string::npos)
        return false;
    text.erase(slash);
    return true;
}

} // namespace

void BuildRecentFilesMenu(MainFrame* frame)
{
    const RecentFileList* recent = TheProgram()->RecentFiles();
    if (!recent)
        return;
    for (int i = 0; i < recent->Count(); ++i)
        AddRecentFile(frame, FilePath(), true);
    UpdateRecentFilesMenu(frame);
}

void AddRecentFile(MainFrame* frame, const FilePath& path, bool slotOnly)
{
    RecentFileList* recent = TheProgram()->RecentFiles();
    if (!slotOnly && recent && recent->Contains(path)) {
        recent->MoveToFront(path);
        UpdateRecentFilesMenu(frame);
        return;
    }
    HMENU bar = frame && frame->MenuBar() ? frame->MenuBar()->Handle() : nullptr;
    const int32_t slots = frame ? frame->RecentSlots() : 0;
    if (bar && slots < RecentFileList::Capacity) {
        const UINT id = Cmd::FirstRecentFile + static_cast<UINT>(slots);
        if (slots == 0) {
            InsertMenuA(bar, Cmd::FileExit, MF_BYCOMMAND | MF_STRING, id, "dummy");
            InsertMenuA(bar, Cmd::FileExit, MF_BYCOMMAND | MF_SEPARATOR, 0, nullptr);
        } else {
            InsertMenuA(bar, id - 1, MF_BYCOMMAND | MF_STRING, id, "dummy");
        }
        DrawMenuBar(frame->Handle());
        frame->SetRecentSlots(slots + 1);
    }
    if (!slotOnly && recent) {
        recent->AddToFront(path);
        UpdateRecentFilesMenu(frame);
    }
}

void UpdateRecentFilesMenu(MainFrame* frame)
{
    HMENU bar = frame && frame->MenuBar() ? frame->MenuBar()->Handle() : nullptr;
    if (!bar)
        return;
    const int32_t slots = frame->RecentSlots();
    for (int i = 0; i < slots; ++i) {
        const UINT id = Cmd::FirstRecentFile - 1 + static_cast<UINT>(slots - i);
        zString text;
        RecentFileMenuText(i, text);
        ModifyMenuA(bar, id, MF_BYCOMMAND | MF_STRING | MF_ENABLED, id, text.Text());
    }
}

void RecentFileMenuText(int entry, zString& out)
{
    out = "&";
    out += static_cast<char>('1' + entry);
    out += ' ';
    FilePath path;
    const RecentFileList* recent = TheProgram()->RecentFiles();
    if (recent && recent->GetAt(entry, path)) {
        zString shown;
        AbbreviatePath(path, shown);
        out += shown;
    }
}

void AbbreviatePath(const FilePath& path, zString& out)
{
    out = path.FullPath();
    if (out.Length() <= LongestShownPath)
        return;
    std::string directory = path.Directory().Text();
    const size_t nameLength = path.Name().Length();
    size_t testLength = directory.size() + 2;
    if (!CutAtLastBackslash(directory))
        return;
    while (testLength + nameLength > LongestShownPath) {
        if (!CutAtLastBackslash(directory))
            return;
        testLength = directory.size() + 3;
    }
    out = (directory + "\\...\\" + path.Name().Text()).c_str();
}

int RecentFileEntry(const MainFrame* frame, unsigned command)
{
    const int entry = frame->RecentSlots() - static_cast<int>(command - Cmd::FirstRecentFile) - 1;
    return entry >= 0 && entry < frame->RecentSlots() ? entry : -1;
}
