#include "widgets/NamePopupMenu.h"

#include <cctype>

namespace {

const char Initials[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

std::string KeyOf(const char* name)
{
    std::string key;
    for (const char* p = name; *p; ++p) {
        if (*p != '_')
            key += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    }
    return key;
}

char KeyCharAt(const NameEntry& entry, int position)
{
    return position < static_cast<int>(entry.key.size()) ? entry.key[position] : '\0';
}

void CopyItems(HMENU source, HMENU target)
{
    const int count = GetMenuItemCount(source);
    for (int i = 0; i < count; ++i) {
        char text[64] = {};
        MENUITEMINFOA item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
        item.dwTypeData = text;
        item.cch = sizeof text;
        if (!GetMenuItemInfoA(source, static_cast<UINT>(i), TRUE, &item))
            continue;
        text[sizeof text - 1] = '\0';  // a longer text is cut; not every system ends the cut with a zero
        if (item.hSubMenu) {
            HMENU copy = CreateMenu();
            CopyItems(item.hSubMenu, copy);
            item.hSubMenu = copy;
        }
        item.dwTypeData = text;
        InsertMenuItemA(target, static_cast<UINT>(i), TRUE, &item);
    }
}

} // namespace

NamePopupMenu::NamePopupMenu(std::string title, int position) : position_(position), title_(std::move(title)) {}

void NamePopupMenu::Reset()
{
    subMenus_.clear();
    entries_.clear();
    added_.clear();
    position_ = 0;
    menu_.Clear();
}

void NamePopupMenu::Rebuild()
{
    Reset();
    Build();
}

void NamePopupMenu::AddName(unsigned id, const char* name)
{
    NameEntry entry{name ? name : "", KeyOf(name ? name : ""), id};
    auto at = entries_.begin();
    while (at != entries_.end() && at->key < entry.key)
        ++at;
    entries_.insert(at, std::move(entry));
    added_.push_back(id);
}

unsigned NamePopupMenu::IdAt(int i) const
{
    return i >= 0 && i < static_cast<int>(added_.size()) ? added_[i] : 0;
}

void NamePopupMenu::Build()
{
    SplitByInitial();
    Collapse();
    Fill();
}

void NamePopupMenu::SplitByInitial()
{
    if (static_cast<int>(entries_.size()) <= kMaxFlatItems)
        return;
    bool splitAny = false;
    int total = 0;
    char first = 0;
    char last = 0;
    auto splitGroup = [&] {
        if (total > 0) {
            MakeSubMenu(first, last);
            splitAny = true;
        }
        total = 0;
        first = last = 0;
    };
    for (const char* initial = Initials; *initial && !entries_.empty(); ++initial) {
        int count = 0;
        for (const NameEntry& entry : entries_)
            count += KeyCharAt(entry, position_) == *initial ? 1 : 0;
        if (total > 0 && total + count > kMaxFlatItems)
            splitGroup();
        if (count > 0) {
            first = first ? first : *initial;
            last = *initial;
            total += count;
        }
        if (*initial == '9')
            splitGroup();
    }
    if (splitAny)
        splitGroup();
}

void NamePopupMenu::MakeSubMenu(char low, char high)
{
    std::string title = title_ + low;
    if (low != high)
        title += "-" + title_ + high;
    auto sub = std::unique_ptr<NamePopupMenu>(new NamePopupMenu(title, static_cast<int>(title.size())));
    for (auto it = entries_.begin(); it != entries_.end();) {
        const char c = KeyCharAt(*it, position_);
        if (c >= low && c <= high) {
            sub->entries_.push_back(std::move(*it));
            it = entries_.erase(it);
        } else {
            ++it;
        }
    }
    if (sub->entries_.empty())
        return;
    sub->SplitByInitial();
    subMenus_.push_back(std::move(sub));
}

void NamePopupMenu::Collapse()
{
    for (auto& sub : subMenus_)
        sub->Collapse();
    if (subMenus_.size() == 1 && entries_.empty()) {
        std::unique_ptr<NamePopupMenu> only = std::move(subMenus_.front());
        subMenus_.clear();
        entries_ = std::move(only->entries_);
        subMenus_ = std::move(only->subMenus_);
    }
}

void NamePopupMenu::Fill()
{
    for (const NameEntry& entry : entries_)
        menu_.AppendItem(entry.commandId, entry.name.c_str());
    entries_.clear();
    for (auto& sub : subMenus_) {
        sub->Fill();
        menu_.AppendPopup(sub->menu_, sub->title_.c_str());
    }
}

std::unique_ptr<Menu> CopyMenu(HMENU menu)
{
    auto copy = std::make_unique<Menu>();
    CopyItems(menu, copy->Handle());
    return copy;
}
