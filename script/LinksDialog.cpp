#include "script/LinksDialog.h"

#include "foundation/MessageBoxes.h"
#include "model/DocumentLink.h"

#include <algorithm>
#include <string>

bool LinksDialog::Run()
{
    Present();
    return changed_;
}

int LinksDialog::Count() const
{
    return links_.Count();
}

zString LinksDialog::RowText(int row) const
{
    const DocumentLink& link = *links_.At(row);
    // No conversation is connected while the links are not subscribed.
    const std::string text = std::to_string(link.index) + "\t\t" + (link.biDirectional != 0 ? "Y" : "") + "\t" +
                             link.description.Text();
    return zString(text.c_str());
}

void LinksDialog::Delete(const std::vector<int>& rows)
{
    std::vector<int> doomed;
    for (int row : rows)
        if (row >= 0 && row < Count() && std::find(doomed.begin(), doomed.end(), row) == doomed.end())
            doomed.push_back(row);
    if (doomed.empty())
        return;
    const char* which = doomed.size() == 1 ? "this link" : "these links";
    const std::string question = std::string("If you cancel ") + which +
                                 ", unresolved references to it may remain in the tree.\n\nAre you sure you want "
                                 "to cancel " + which + "?";
    if (AskYesNo(nullptr, question.c_str(), 0) != 1)
        return;
    std::sort(doomed.begin(), doomed.end());
    for (auto row = doomed.rbegin(); row != doomed.rend(); ++row)
        links_.DeleteAt(*row);
    changed_ = true;
}
