#include "dialogs/LegacyImportDialogs.h"

#include "widgets/ProgramDialog.h"
#include "framework/dialog/ButtonCtrl.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "framework/draw/GdiScopes.h"
#include "framework/window/Clipboard.h"
#include "framework/window/FrameworkApp.h"

#include "CommandIds.h"

#include <algorithm>
#include <string>

namespace {

namespace Options = Ctl::FileImportOptions;
namespace Conversion = Ctl::FileConversion;
namespace Results = Ctl::FileImportResults;

// The options as saved; OK keeps what the three boxes say.
bool AskImportOptions(LegacyImportOptions& options)
{
    if (!TheApp)
        return true;
    ProgramDialog dialog(DialogRes::FileImportOptions);
    int useClones = options.useClones, explicitHashMark = options.explicitHashMark;
    int truncate8Chars = options.truncate8Chars;
    CheckBoxCtrl::FromTemplate(&dialog, Options::UseClonesForDuplicatedSubtrees, &useClones);
    CheckBoxCtrl::FromTemplate(&dialog, Options::UseHashMarkExplicitlyInLastBranch, &explicitHashMark);
    CheckBoxCtrl::FromTemplate(&dialog, Options::TruncateIdentifiersTo8Characters, &truncate8Chars);
    if (dialog.Run() != IDOK)
        return false;
    options.useClones = useClones;
    options.explicitHashMark = explicitHashMark;
    options.truncate8Chars = truncate8Chars;
    return true;
}

// The subtree to convert among the possible roots; a double click chooses too.
int ChooseRootToConvert(const std::vector<std::string>& names)
{
    if (!TheApp || names.empty())
        return -1;
    ProgramDialog dialog(DialogRes::FileConversion);
    ListBoxCtrl* list = ListBoxCtrl::FromTemplate(&dialog, Conversion::SelectOneSubtreeForConversionList);
    if (list == nullptr)
        return -1;
    for (const std::string& name : names)
        list->AddString(zString(name.c_str()));
    list->SetCurSel(0);
    int chosen = -1;
    const auto choose = [&] {
        chosen = list->GetCurSel();
        if (chosen >= 0)
            dialog.Accept();
    };
    dialog.OnButton(IDOK, choose);
    dialog.OnNotification(Conversion::SelectOneSubtreeForConversionList, LBN_DBLCLK, choose);
    return dialog.Run() == IDOK ? chosen : -1;
}

// What the import rewrote, one line each; To Clipboard copies every line with its line end.
void ShowImportResults(const std::vector<std::string>& lines)
{
    if (!TheApp)
        return;
    ProgramDialog dialog(DialogRes::FileImportResults);
    if (ListBoxCtrl* list = ListBoxCtrl::FromTemplate(&dialog, Results::List4386)) {
        // The list scrolls sideways over its longest line.
        const ScopedWindowDC dc(list->Handle());
        const ScopedSelection font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageA(list->Handle(), WM_GETFONT, 0, 0)));
        LONG widest = 0;
        for (const std::string& line : lines) {
            list->AddString(zString(line.c_str()));
            SIZE size{};
            GetTextExtentPoint32A(dc.Get(), line.c_str(), static_cast<int>(line.size()), &size);
            widest = std::max(widest, size.cx);
        }
        SendMessageA(list->Handle(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + 8), 0);
    }
    dialog.OnButton(Results::ToClipboard, [&] {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\r\n";
        Clipboard clipboard = MainWindowClipboard();
        clipboard.Empty();
        clipboard.PutText(text.c_str());
    });
    dialog.Run();
}

} // namespace

LegacyImportPrompts LegacyImportDialogs()
{
    LegacyImportPrompts prompts;
    prompts.askOptions = AskImportOptions;
    prompts.chooseRoot = ChooseRootToConvert;
    prompts.showReport = ShowImportResults;
    return prompts;
}
