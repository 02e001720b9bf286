#include "dialogs/ChoiceControls.h"

#include "foundation/NameList.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "framework/dialog/RadioGroup.h"

#include "CommandIds.h"

namespace Ids = Ctl::FileConversion;

namespace {

}  // namespace

int RunRadioChoice(ProgramDialog& dialog, unsigned first, unsigned last, int& checked,
                   const std::function<bool(unsigned)>& available)
{
    auto* group = new RadioGroup(&dialog, first, last, &checked, 0);
    for (unsigned id = first; id <= last; ++id)
        dialog.EnableItem(id, available(id));
    if (checked >= static_cast<int>(first) && checked <= static_cast<int>(last))
        SetFocus(dialog.Control(checked));
    const int answer = dialog.Run();
    // Read from the group itself: a disabled first button stores nothing.
    if (answer == IDOK && group->CheckedMember() != nullptr)
        checked = static_cast<int>(group->CheckedMember()->Id());
    return answer;
}

int ShowListChooser(const char* caption, const char* prompt, const NameList& rows, int& selected)
{
    ProgramDialog dialog(DialogRes::FileConversion);
    dialog.SetText(caption);
    dialog.SetItemText(Ids::SelectOneSubtreeForConversionText, prompt);
    if (selected < 0 || selected >= rows.Count())
        selected = 0;
    if (ListBoxCtrl* list =
            NotifyListCtrl::FromTemplateIndex(&dialog, Ids::SelectOneSubtreeForConversionList, &selected, 0)) {
        for (int i = 0; i < rows.Count(); ++i)
            list->AddString(*rows.At(i));
        list->Load();
        SetFocus(list->Handle());
    }
    dialog.OnNotification(Ids::SelectOneSubtreeForConversionList, LBN_DBLCLK, [&dialog] { dialog.Accept(); });
    return dialog.Run();
}
