#include "model/StoredAnalysis.h"

#include "model/GraphTemplate.h"

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
