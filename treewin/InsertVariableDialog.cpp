#include "treewin/InsertVariableDialog.h"

#include "widgets/InPlaceEdit.h"
#include "dialogs/ChoiceControls.h"
#include "formula/TableDirectory.h"
#include "model/DocVariable.h"
#include "model/NameRules.h"
#include "treewin/TreeWindow.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// A name fits the word when they agree over the shorter of the two lengths (any case).
bool Fits(const zString& name, const zString& upperWord)
{
    zString upper(name);
    upper.MakeUpper();
    const size_t n = std::min<size_t>(upper.Length(), upperWord.Length());
    return std::strncmp(upper.Text(), upperWord.Text(), n) == 0;
}

} // namespace

const zString* InsertVariableDialog::Run()
{
    const int answer = HasPresenter() ? Present()
                                      : ShowListChooser("Insert Variable", "Choose a &variable to insert:", candidates,
                                                        selected);
    return answer == IDOK ? candidates.At(selected) : nullptr;
}

void FindNameAtSelection(const char* text, int selectionStart, int selectionEnd, int& start, int& end)
{
    const int length = static_cast<int>(std::strlen(text));
    start = std::min(selectionStart, length);
    while (start > 0 && IsNameChar(text[start - 1]))
        --start;
    while (start < selectionStart && !IsNameStartChar(text[start]))
        ++start;
    if (start < length && IsNameStartChar(text[start])) {
        end = start;
        while (end < length && IsNameChar(text[end]))
            ++end;
    } else {
        end = std::max(start, std::min(selectionEnd, length));
    }
}

bool InsertVariableName(TreeWindow* window, EditCtrl* edit)
{
    if (edit == nullptr)
        return false;
    const zString text = edit->GetText();
    const EditCtrl::Selection selection = edit->GetSelection();
    const int selectionStart = selection.low;
    const int selectionEnd = selection.high;
    int start = 0;
    int end = 0;
    FindNameAtSelection(text.Text(), selectionStart, selectionEnd, start, end);
    zString word(std::string(text.Text() + start, static_cast<size_t>(end - start)).c_str());
    word.MakeUpper();

    NameList names(2, true);
    const DocVariableList& variables = window->Document().Variables;
    for (int i = 0; i < variables.Count(); ++i)
        names.AddCopy(variables.At(i)->name);
    ListTableNames(names);
    NameList candidates(2, false);
    for (int i = 0; i < names.Count(); ++i)
        if (Fits(*names.At(i), word))
            candidates.Add(names.At(i));
    if (candidates.Count() == 0) {
        // Nothing fits: every name is offered for the selection.
        start = selectionStart;
        end = selectionEnd;
        for (int i = 0; i < names.Count(); ++i)
            candidates.Add(names.At(i));
    }
    const zString* chosen = candidates.At(0);
    if (candidates.Count() != 1)
        chosen = InsertVariableDialog(candidates).Run();
    if (chosen == nullptr)
        return false;
    edit->SetSelection(start, end);
    if (auto* inPlace = dynamic_cast<InPlaceEdit*>(edit))
        inPlace->TypeText(*chosen);
    else
        edit->ReplaceSelection(chosen->Text());
    SetFocus(edit->Handle());
    return true;
}
