#include "foundation/RecentFileList.h"

#include "foundation/PreferencesStore.h"

namespace {

const char* const Section = "RecentFiles";
constexpr uint32_t MaxPathBytes = 300;

// "File1" .. "File6".
zString ValueName(int number)
{
    zString name("File");
    name += static_cast<char>('0' + number);
    return name;
}

} // namespace

RecentFileList::RecentFileList()
{
    Load();
}

RecentFileList::~RecentFileList()
{
    Save();
}

void RecentFileList::Load()
{
    for (int number = 1; number <= Capacity && count_ < Capacity; ++number) {
        zString text;
        ReadProfileString(Section, ValueName(number).Text(), text, MaxPathBytes, false);
        if (text.IsEmpty())
            break;
        FilePath path(text.Text());
        if (path.Exists())
            entries_[count_++] = path;
    }
}

void RecentFileList::Save()
{
    DeleteProfileSection(Section, true);
    DeleteProfileSection(Section, false);
    for (int i = 0; i < count_; ++i) {
        WriteProfileString(Section, ValueName(i + 1).Text(), entries_[i].FullPath().Text(), false);
    }
}

void RecentFileList::AddToFront(const FilePath& path)
{
    for (int i = Capacity - 1; i > 0; --i)
        entries_[i] = entries_[i - 1];
    entries_[0] = path;
    if (count_ < Capacity)
        ++count_;
    Save();
}

void RecentFileList::MoveToFront(const FilePath& path)
{
    int found = -1;
    for (int i = count_ - 1; i >= 0; --i) {
        if (entries_[i].EqualsNoCase(path)) {
            found = i;
            break;
        }
    }
    if (found < 0) {
        AddToFront(path);
        return;
    }
    for (int i = found; i > 0; --i)
        entries_[i] = entries_[i - 1];
    entries_[0] = path;
    Save();
}

bool RecentFileList::Contains(const FilePath& path) const
{
    for (int i = 0; i < count_; ++i)
        if (entries_[i].EqualsNoCase(path))
            return true;
    return false;
}

bool RecentFileList::GetAt(int i, FilePath& path) const
{
    if (i < 0 || i >= count_)
        return false;
    path = entries_[i];
    return true;
}
