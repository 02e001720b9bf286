#include "treewin/BayesDialogs.h"

#include "widgets/MenuButton.h"
#include "foundation/MessageBoxes.h"
#include "framework/dialog/Menu.h"
#include "model/DocVariable.h"
#include "model/TreeDocument.h"
#include "framework/dialog/FormattedEdit.h"
#include "model/TreeNode.h"

#include "CommandIds.h"

#include <windows.h>

namespace BayesRevisionIds = Ctl::BayesRevision;
namespace BayesRevision3340Ids = Ctl::BayesRevision3340;

namespace {

}  // namespace

BayesProbabilitiesDialog::BayesProbabilitiesDialog(BayesRevision& record) : BayesProbabilitiesDialog(record, true)
{
    NextStep(true);
}

BayesProbabilitiesDialog::BayesProbabilitiesDialog(BayesRevision& record, bool)
    : AppDialog(DialogRes::BayesRevision), record(record)
{
    valueField = AddRealField(BayesRevisionIds::ValueEdit, &value, 0.0, 1.0);
    expressionField = TextEditCtrl::FromTemplate(this, BayesRevisionIds::ExpressionEdit, &expression);
    // The document's variables: a pick replaces the Expression field's selection.
    auto menu = std::make_unique<Menu>();
    const DocVariableList& variables = record.document->Variables;
    for (int i = 0; i < variables.Count(); ++i)
        menu->AppendItem(kFirstVariableItem + i, variables.At(i)->name.Text());
    if (MenuButton* button = MakeOwningMenuButton(std::move(menu), this, BayesRevisionIds::VariablesText))
        AddMenuButton(button->ButtonMenu());
    TrackFocus(expressionField);
}

int BayesProbabilitiesDialog::OkResult()
{
    if (!StoreStep())
        return 0;
    NextStep(false);
    return done ? 1 : 0;
}

// Priors and likelihoods alternate: the prior of a condition, then each result given that condition.
void BayesProbabilitiesDialog::NextStep(bool first)
{
    if (first) {
        test = -1;
        condition = 0;
    } else if (++test >= record.testCount) {
        test = -1;
        likelihoodSum = 0.0;
        if (++condition >= record.conditionCount) {
            Finish();
            return;
        }
    }
    ShowPrompt(MakeBayesPrompt(record, test, condition, test < 0 ? priorSum : likelihoodSum));
}

bool BayesProbabilitiesDialog::StoreStep()
{
    if (!ParseBayesEntry(record, expression, expressionField))
        return false;
    const zString valueText = valueField->GetText();
    if (test < 0) {
        record.priorValues.push_back(valueText);
        record.priorExpressions.push_back(expression);
        priorSum += value;
    } else {
        record.likelihoodValues.push_back(valueText);
        record.likelihoodExpressions.push_back(expression);
        likelihoodSum += value;
    }
    return true;
}

void BayesProbabilitiesDialog::ShowPrompt(const BayesPrompt& prompt)
{
    if (WindowCL* text = FindChild(BayesRevisionIds::PromptText))
        text->SetText(prompt.text);
    valueField->SetText(prompt.value);
    expressionField->SetText(prompt.expression);
    EditCtrl* focused = prompt.expression.IsEmpty() ? valueField : expressionField;
    SetFocus(focused->Handle());
    focused->SetSelection(0, -1);
}

void BayesProbabilitiesDialog::Finish()
{
    BuildBayesRevision(record);
    BindVariables();
    done = true;
}

BayesTestDialog::BayesTestDialog(const BayesRevision& record) : AppDialog(DialogRes::BayesRevision3340)
{
    for (int i = 0; i < 2; ++i) {
        if (WindowCL* radio = FindChild(BayesRevision3340Ids::T1 + i))
            radio->SetText(record.testNames[i]);
        if (WindowCL* radio = FindChild(BayesRevision3340Ids::C1 + i))
            radio->SetText(record.conditionNames[i]);
    }
    ChooseBayesTestDefaults(record, positiveTest, presenceCondition);
    for (int i = 0; i < 2; ++i) {
        CheckItem(BayesRevision3340Ids::T1 + i, i == positiveTest);
        CheckItem(BayesRevision3340Ids::C1 + i, i == presenceCondition);
    }
}

int BayesTestDialog::OkResult()
{
    positiveTest = IsItemChecked(BayesRevision3340Ids::T1 + 1) ? 1 : 0;
    presenceCondition = IsItemChecked(BayesRevision3340Ids::C1 + 1) ? 1 : 0;
    return 1;
}

BayesSensSpecDialog::BayesSensSpecDialog(BayesRevision& record, int positiveTest, int presenceCondition)
    : BayesProbabilitiesDialog(record, true), positiveTest(positiveTest), presenceCondition(presenceCondition)
{
    NextStep(true);
}

void BayesSensSpecDialog::NextStep(bool first)
{
    step = first ? 0 : step + 1;
    BayesPrompt prompt;
    prompt.value = "0";
    if (step == 0) {
        prompt.text = MakeBayesPrompt(record, -1, presenceCondition, 0.0).text;
    } else if (step == 1) {
        prompt.text = "Enter the SENSITIVITY of the test:";
    } else if (step == 2) {
        prompt.text = "Enter the SPECIFICITY of the test:";
    } else {
        Finish();
        return;
    }
    ShowPrompt(prompt);
}

bool BayesSensSpecDialog::StoreStep()
{
    if (!ParseBayesEntry(record, expression, expressionField))
        return false;
    const zString valueText = valueField->GetText();
    StoreSensSpecEntry(record, step, positiveTest, presenceCondition, value, valueText, expression);
    if (step == 1) {
        sensitivityExpression = expression;
        sensitivityText = valueText;
    } else if (step == 2) {
        specificityExpression = expression;
        specificityText = valueText;
    }
    return true;
}

void BayesSensSpecDialog::BindVariables()
{
    BindBayesEntry(record, sensitivityExpression, sensitivityText);
    BindBayesEntry(record, specificityExpression, specificityText);
}

void RunBayesRevision(BayesRevision& record)
{
    BayesProbabilitiesDialog(record).RunModal();
}

void RunBayesTestRevision(BayesRevision& record)
{
    int positiveTest = 0;
    int presenceCondition = 0;
    {
        BayesTestDialog dialog(record);
        if (!dialog.RunModal())
            return;
        positiveTest = dialog.positiveTest;
        presenceCondition = dialog.presenceCondition;
    }
    BayesSensSpecDialog(record, positiveTest, presenceCondition).RunModal();
}

void ReviseWithBayes(TreeNode* node)
{
    BayesRevision record(node);
    if (record.failed)
        return;
    if (record.testCount != 2 || record.conditionCount != 2) {
        RunBayesRevision(record);
        return;
    }
    switch (AskYesNoCancel(nullptr, "Do you have sensitivity/specificity information for this test?",
                           DialogRes::BayesRevision3340)) {
    case 1:
        RunBayesTestRevision(record);
        break;
    case 3:
        RunBayesRevision(record);
        break;
    default:
        break;
    }
}
