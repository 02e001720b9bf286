#include "app/NamePopupMenu.h"

#include <cctype>

void NamePopupMenu::Rebuild()
{
    names.clear();
    menu.Clear();
    subMenus.clear();
}

void NamePopupMenu::AddName(unsigned id, const char* name) { names.push_back({id, name}); }

unsigned NamePopupMenu::IdAt(int i) const
{
    return i >= 0 && i < static_cast<int>(names.size()) ? names[i].id : 0;
}

void NamePopupMenu::Build()
{
    menu.Clear();
    subMenus.clear();
    if (static_cast<int>(names.size()) <= kMaxFlatItems) {
        for (const Entry& entry : names)
            menu.AppendItem(entry.id, entry.name.c_str());
        return;
    }
    // One sub-menu per run of names that share their upper-cased initial.
    size_t i = 0;
    while (i < names.size()) {
        const char initial = static_cast<char>(std::toupper(static_cast<unsigned char>(names[i].name[0])));
        auto child = std::make_unique<Menu>();
        size_t j = i;
        for (; j < names.size(); ++j) {
            const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(names[j].name[0])));
            if (c != initial)
                break;
            child->AppendItem(names[j].id, names[j].name.c_str());
        }
        const char label[2] = {initial ? initial : ' ', '\0'};
        menu.AppendPopup(*child, label);
        subMenus.push_back(std::move(child));
        i = j;
    }
}
