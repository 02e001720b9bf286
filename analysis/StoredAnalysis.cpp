#include "analysis/StoredAnalysis.h"

#include "analysis/StoredAnalysisKinds.h"
#include "analysis/StoredAnalysisVariables.h"
#include "app/MessageBoxes.h"
#include "analysis/GraphTemplate.h"

void StoredAnalysis::Init()
{
    parameters = new StoredNameList(2, true);
    name = "";
    comment = "";
    version = VersionRecord();
    kind = 0;
    graphTemplate = nullptr;
    templateAllowed = 0;
    spare = 0;
    next = nullptr;
}

void StoredAnalysis::Destroy()
{
    delete parameters;
    parameters = nullptr;
    delete graphTemplate;
    graphTemplate = nullptr;
    name = "";
    comment = "";
}

StoredAnalysis* StoredAnalysis::New()
{
    auto* record = new StoredAnalysis;
    record->Init();
    return record;
}

void StoredAnalysis::Delete(StoredAnalysis* record)
{
    if (record == nullptr)
        return;
    record->Destroy();
    delete record;
}

StoredAnalysis* StoredAnalysis::Clone() const
{
    StoredAnalysis* copy = New();
    copy->name = name;
    copy->comment = comment;
    copy->parameters->Assign(*parameters, true);
    copy->version = version;
    copy->kind = kind;
    if (graphTemplate != nullptr) {
        copy->graphTemplate = new GraphTemplate;
        copy->graphTemplate->Assign(*graphTemplate);
    }
    copy->templateAllowed = templateAllowed;
    copy->spare = spare;
    copy->next = next;
    return copy;
}

void StoredAnalysis::Describe(TreeWindow* window, StoredAnalysis* record, zString& text)
{
    const StoredAnalysisHandlers handlers = StoredAnalysisKindHandlers(record->kind);
    if (handlers.describe != nullptr)
        handlers.describe(window, record, text);
}

void StoredAnalysis::Run(StoredAnalysis* record, TreeWindow* window)
{
    const StoredAnalysisHandlers handlers = StoredAnalysisKindHandlers(record->kind);
    if (handlers.run == nullptr)
        return;
    // A variable deleted since the record was made leaves the analysis nothing to vary; the record stays
    // so that the person can see what it was.
    zString missing;
    if (window != nullptr && FindMissingStoredVariable(*record, *window, missing)) {
        zString message("The variable \"");
        message += missing;
        message += "\" has no definitions.";
        ShowErrorBox("Sensitivity Error", message.Text(), -1);
        return;
    }
    handlers.run(record, window);
}

void StoredAnalysis::RunNext(StoredAnalysis* record, TreeWindow* window)
{
    StoredAnalysis* successor = record->next;
    if (successor == nullptr)
        return;
    record->next = nullptr;
    Run(successor, window);
}
