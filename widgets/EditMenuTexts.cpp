#include "widgets/EditMenuTexts.h"

#include "CommandIds.h"

#include <algorithm>

std::string EditItemText(unsigned id, const char* word, bool popup)
{
    static const struct {
        unsigned id;
        const char* verb;
        const char* key;
    } items[] = {{Cmd::EditCut, "Cu&t", "\tCtrl+X"},
                 {Cmd::EditCopy, "&Copy", "\tCtrl+C"},
                 {Cmd::EditClear, "Clea&r", "\tDel"},
                 {Cmd::EditPaste, "&Paste", "\tCtrl+V"}};
    const auto item = std::find_if(std::begin(items), std::end(items), [id](const auto& i) { return i.id == id; });
    if (item == std::end(items))
        return std::string();
    std::string text = item->verb;
    if (word == nullptr)
        text += "...";
    else if (*word != 0)
        text += std::string(" ") + word;
    if (popup)
        text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    else
        text += item->key;
    return text;
}
