#include "treewin/StoredAnalysisDialogs.h"

#include "analysis/StoredAnalysisKinds.h"
#include "widgets/MultiSelectListBox.h"
#include "dialogs/GraphTemplateDialogs.h"
#include "treewin/NamedCommentDialog.h"
#include "widgets/ProgramDialog.h"
#include "foundation/MessageBoxes.h"
#include "framework/dialog/EditCtrl.h"
#include "model/GraphTemplate.h"
#include "model/GraphTemplateFile.h"
#include "model/StoredAnalysis.h"
#include "model/StoredAnalysisList.h"
#include "model/TreeDocument.h"

#include "CommandIds.h"

#include <algorithm>
#include <memory>
#include <string>

namespace GraphRiskPreferenceFunctionIds = Ctl::GraphRiskPreferenceFunction;
namespace MaintainStoredAnalysesIds = Ctl::MaintainStoredAnalyses;
namespace RunAnalysisIds = Ctl::RunAnalysis;
namespace SaveAnalysisIds = Ctl::SaveAnalysis;

namespace {

constexpr const char* kCommentCaption = "Analysis Comment";

// The Choose Template dialog on the templates file; true when it ended with OK or "&None", and then chosen
// holds the analysis's own copy of the template, or null after "&None".
bool ChooseGraphTemplate(std::unique_ptr<GraphTemplate>& chosen)
{
    if (!TemplatesAvailable()) {
        ShowInfoBox(nullptr, "There are no graph templates available.", 0);
        return false;
    }
    std::string message;
    if (ReadGraphTemplates(message) == TemplateFileRead::Failed) {
        ShowErrorBox(nullptr, message.c_str(), 0);
        return false;
    }
    GraphTemplate* picked = nullptr;
    const bool accepted = RunChooseTemplateDialog(GraphTemplates(), picked);
    if (accepted) {
        chosen.reset();
        if (picked != nullptr) {
            chosen = std::make_unique<GraphTemplate>();
            chosen->Assign(*picked);
            // Said once a run, whichever dialog chose a template first.
            static bool noteShown = false;
            if (!noteShown)
                ShowInfoBox(nullptr, "A complete copy of the template will be permanently stored with the analysis.", 0);
            noteShown = true;
        }
    }
    // Nothing was changed in the file: the list goes without writing it back.
    GraphTemplates().Clear();
    return accepted;
}

// The record's template copy becomes the one given (none when null).
void ReplaceGraphTemplate(StoredAnalysis& record, std::unique_ptr<GraphTemplate> chosen)
{
    delete record.graphTemplate;
    record.graphTemplate = chosen.release();
}

// The list box shows the names of the stored analyses in list order.
HWND ShowNames(ProgramDialog& dialog, unsigned id, const StoredAnalysisList& list)
{
    const HWND names = dialog.Control(id);
    SendMessageA(names, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < list.Count(); ++i)
        SendMessageA(names, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(list.At(i)->name.Text()));
    return names;
}

zString Description(TreeDocument* document, StoredAnalysis* record)
{
    zString text;
    if (record != nullptr)
        DescribeStoredAnalysis(document, record, text);
    return text;
}

int ShowOnScreen(SaveAnalysisDialog& save, StoredAnalysis* record)
{
    ProgramDialog dialog(DialogRes::SaveAnalysis);
    EditCtrl::FromTemplate(&dialog, SaveAnalysisIds::EnterANameForTheAnalysisEdit, &save.name);
    dialog.SetItemText(SaveAnalysisIds::Summary, save.summary.Text());
    dialog.OnButton(SaveAnalysisIds::Comment, [&save] { RunCommentDialog(save.comment, kCommentCaption); });
    // "&Template..." is offered only for analyses that draw a graph.
    if (record->templateAllowed)
        dialog.OnButton(SaveAnalysisIds::Template,
                        [&save] { save.templateChosen = ChooseGraphTemplate(save.graphTemplate) || save.templateChosen; });
    else
        dialog.ShowItem(SaveAnalysisIds::Template, false);
    dialog.SelectField(SaveAnalysisIds::EnterANameForTheAnalysisEdit);
    return dialog.Run();
}

int ShowOnScreen(RunStoredAnalysisDialog& run)
{
    using Run = RunStoredAnalysisDialog;
    ProgramDialog dialog(run.commentForm ? DialogRes::RunAnalysis2523 : DialogRes::RunAnalysis);
    // The first entry is selected, so that Run at once runs it and its summary shows.
    const HWND list = ShowNames(dialog, RunAnalysisIds::AnalysesList, run.analyses);
    SendMessageA(list, LB_SETSEL, TRUE, 0);
    MultiSelectListBox names(&dialog, RunAnalysisIds::AnalysesList);
    // The selection is kept as it changes: the list is gone when the dialog has closed.
    auto selectionChanged = [&] {
        const int count = names.ReadSelection();
        run.chosen.assign(names.Selection, names.Selection + count);
        StoredAnalysis* single = count == 1 ? run.analyses.At(run.chosen[0]) : nullptr;
        if (run.commentForm) {
            dialog.SetItemText(RunAnalysisIds::Comment, single != nullptr ? single->comment.Text() : "");
            return;
        }
        dialog.SetItemText(RunAnalysisIds::Summary, Description(run.document, single).Text());
        dialog.EnableItem(RunAnalysisIds::Comment, single != nullptr && !single->comment.IsEmpty());
    };
    selectionChanged();
    dialog.OnNotification(RunAnalysisIds::AnalysesList, LBN_SELCHANGE, selectionChanged);
    dialog.OnNotification(RunAnalysisIds::AnalysesList, LBN_DBLCLK,
                          [&dialog] { SendMessageA(dialog.Handle(), WM_COMMAND, IDOK, 0); });
    if (!run.commentForm)
        dialog.OnButton(RunAnalysisIds::Comment, [&run] {
            if (run.chosen.size() == 1)
                RunNamedCommentDialog(run.analyses.At(run.chosen[0])->comment, kCommentCaption);
        });
    return dialog.Run();
}

void ShowOnScreen(StoredAnalysesDialog& maintain)
{
    using Maintain = StoredAnalysesDialog;
    ProgramDialog dialog(DialogRes::MaintainStoredAnalyses);
    int selected = 0;
    HWND names = nullptr;
    auto refresh = [&] {
        StoredAnalysis* record = maintain.analyses.At(selected);
        const bool graph = record != nullptr && record->templateAllowed != 0;
        dialog.SetItemText(MaintainStoredAnalysesIds::Summary, Description(maintain.document, record).Text());
        dialog.SetItemText(MaintainStoredAnalysesIds::NameEdit, record != nullptr ? record->name.Text() : "");
        for (unsigned id :
             {MaintainStoredAnalysesIds::Rename, MaintainStoredAnalysesIds::Delete, MaintainStoredAnalysesIds::Comment})
            dialog.EnableItem(id, record != nullptr);
        dialog.EnableItem(MaintainStoredAnalysesIds::MoveUp, record != nullptr && selected > 0);
        dialog.EnableItem(MaintainStoredAnalysesIds::MoveDown,
                          record != nullptr && selected < maintain.analyses.Count() - 1);
        dialog.EnableItem(MaintainStoredAnalysesIds::Template, graph);
        const char* templateName = "";
        if (record != nullptr && !graph)
            templateName = "(None permitted)";
        else if (record != nullptr)
            templateName = record->graphTemplate != nullptr ? record->graphTemplate->description.Text() : "(None)";
        dialog.SetItemText(MaintainStoredAnalysesIds::GraphTemplateText, templateName);
    };
    auto refill = [&](int select) {
        names = ShowNames(dialog, MaintainStoredAnalysesIds::AnalysesList, maintain.analyses);
        selected = select;
        SendMessageA(names, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
        refresh();
    };
    refill(0);
    dialog.OnNotification(MaintainStoredAnalysesIds::AnalysesList, LBN_SELCHANGE, [&] {
        selected = static_cast<int>(SendMessageA(names, LB_GETCURSEL, 0, 0));
        refresh();
    });
    dialog.OnButton(MaintainStoredAnalysesIds::MoveUp, [&] { refill(maintain.Move(selected, -1)); });
    dialog.OnButton(MaintainStoredAnalysesIds::MoveDown, [&] { refill(maintain.Move(selected, 1)); });
    dialog.OnButton(MaintainStoredAnalysesIds::Delete, [&] { refill(maintain.Delete(selected)); });
    dialog.OnButton(MaintainStoredAnalysesIds::Rename,
                    [&] { refill(maintain.Rename(selected, dialog.ItemText(MaintainStoredAnalysesIds::NameEdit))); });
    dialog.OnButton(MaintainStoredAnalysesIds::Comment, [&] { maintain.EditComment(selected); });
    dialog.OnButton(MaintainStoredAnalysesIds::Template, [&] {
        std::unique_ptr<GraphTemplate> chosen;
        if (StoredAnalysis* record = maintain.analyses.At(selected);
            record != nullptr && record->templateAllowed && ChooseGraphTemplate(chosen)) {
            ReplaceGraphTemplate(*record, std::move(chosen));
            maintain.changed = true;
            refresh();
        }
    });
    dialog.Run();
}

} // namespace

SaveAnalysisDialog::SaveAnalysisDialog(TreeDocument* document, StoredAnalysis* record, StoredAnalysisList& list)
    : name(record->name), comment(record->comment), document(document), record(record), list(list)
{
    DescribeStoredAnalysis(document, record, summary);
}

SaveAnalysisDialog::~SaveAnalysisDialog() = default;

bool SaveAnalysisDialog::Run()
{
    // An empty name keeps the dialog open; the person can only cancel then.
    const int answer = HasPresenter() ? Present() : ShowOnScreen(*this, record);
    accepted = answer == IDOK && !name.IsEmpty();
    if (!accepted)
        return false;
    record->name = name;
    record->comment = comment;
    if (templateChosen)
        ReplaceGraphTemplate(*record, std::move(graphTemplate));
    list.Add(record);
    document->SetModified(1);
    return true;
}

RunStoredAnalysisDialog::RunStoredAnalysisDialog(TreeDocument* document, StoredAnalysisList& list, bool commentForm)
    : document(document), analyses(list), commentForm(commentForm)
{
}

bool RunStoredAnalysisDialog::Run()
{
    accepted = (HasPresenter() ? Present() : ShowOnScreen(*this)) == IDOK;
    if (!accepted) {
        chosen.clear();
        return false;
    }
    // A list box hands its selection over in list order.
    chosen.erase(std::remove_if(chosen.begin(), chosen.end(),
                                [this](int i) { return i < 0 || i >= analyses.Count(); }),
                 chosen.end());
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    return true;
}

StoredAnalysis* RunStoredAnalysisDialog::Selected(int i) const
{
    return analyses.At(chosen[static_cast<size_t>(i)]);
}

StoredAnalysesDialog::StoredAnalysesDialog(TreeDocument* document, StoredAnalysisList& list)
    : document(document), analyses(list)
{
}

void StoredAnalysesDialog::Run()
{
    if (HasPresenter())
        Present();
    else
        ShowOnScreen(*this);
    if (changed)
        document->SetModified(1);
}

int StoredAnalysesDialog::Move(int index, int by)
{
    const int to = index + by;
    if (!analyses.IsValidIndex(index) || !analyses.IsValidIndex(to))
        return index;
    void* record = analyses.At(index);
    analyses.RemoveAt(index);
    analyses.InsertAt(to, record);
    changed = true;
    return to;
}

int StoredAnalysesDialog::Rename(int index, const zString& name)
{
    StoredAnalysis* record = analyses.At(index);
    if (record == nullptr)
        return index;
    if (!name.IsEmpty()) {
        record->name = name;
        changed = true;
        return index;
    }
    if (AskYesNo(nullptr, "Do you want to delete the analysis entirely?", 0) == 1)
        return Delete(index);
    return index;
}

int StoredAnalysesDialog::Delete(int index)
{
    if (!analyses.IsValidIndex(index))
        return index;
    analyses.DeleteAt(index);
    changed = true;
    return std::min(index, analyses.Count() - 1);
}

void StoredAnalysesDialog::EditComment(int index)
{
    if (StoredAnalysis* record = analyses.At(index))
        changed = RunCommentDialog(record->comment, kCommentCaption) != 0 || changed;
}

bool RiskPrefGraphDialog::Run()
{
    if (HasPresenter()) {
        accepted = Present() == IDOK;
        return accepted;
    }
    int checked = GraphRiskPreferenceFunctionIds::ConstantRiskAversion;
    accepted = ProgramDialog::RunRadioChoice(DialogRes::GraphRiskPreferenceFunction,
                                             GraphRiskPreferenceFunctionIds::ConstantRiskAversion,
                                             GraphRiskPreferenceFunctionIds::NonConstantRiskAversion, checked) == IDOK;
    constant = checked == GraphRiskPreferenceFunctionIds::ConstantRiskAversion;
    return accepted;
}
