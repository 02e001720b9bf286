#include "graph/ShowHideLinesDialog.h"

#include "widgets/MultiSelectListBox.h"
#include "foundation/MessageBoxes.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "framework/window/FrameworkApp.h"

#include <algorithm>

namespace Ids = Ctl::ShowHide;

ShowHideLinesDialog::ShowHideLinesDialog(const std::vector<std::string>& names, std::vector<int>& shown, int maximum)
    : ProgramDialog(DialogRes::ShowHide), shown_(shown), maximum_(maximum < 0 ? kNoLimit : maximum)
{
    if (!Handle())
        return;
    MultiSelectListBox list(this, Ids::ClickOnAnyItemToToggleItsStateList);
    for (const std::string& name : names)
        list.Box()->Send(LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.c_str()));
    for (int index : shown)
        if (index >= 0 && index < static_cast<int>(names.size()))
            list.Select(index, false);
    SetFocus(GetDlgItem(Handle(), Ids::ClickOnAnyItemToToggleItsStateList));
}

int ShowHideLinesDialog::Run()
{
    return ProgramDialog::Run() == IDOK ? 1 : 0;
}

std::vector<int> ShowHideLinesDialog::Chosen() const
{
    // Read item by item: the list may hold more lines than a selection cache.
    std::vector<int> chosen;
    const LRESULT count = SendToItem(Ids::ClickOnAnyItemToToggleItsStateList, LB_GETCOUNT);
    for (int i = 0; i < count; ++i)
        if (SendToItem(Ids::ClickOnAnyItemToToggleItsStateList, LB_GETSEL, static_cast<WPARAM>(i)) > 0)
            chosen.push_back(i);
    return chosen;
}

int ShowHideLinesDialog::OkPreCheck()
{
    if (static_cast<int>(Chosen().size()) <= maximum_)
        return 0;
    const std::string text = "You may only show " + std::to_string(maximum_) + " lines at one time.";
    ShowInfoBox(nullptr, text.c_str(), 0);
    return 1;
}

int ShowHideLinesDialog::OkResult()
{
    shown_ = Chosen();
    return 1;
}
