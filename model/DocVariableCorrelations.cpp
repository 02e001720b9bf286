// A document variable's correlation entries: made on demand, renamed and removed by name.

#include "formula/CorrelationList.h"
#include "model/DocVariable.h"
#include "model/DocumentVariableOps.h"

#include <cstring>

CorrelationList& DocVariable::GetCorrelations()
{
    if (correlations == nullptr)
        correlations = new CorrelationList(2, true);
    return *correlations;
}

void DocVariable::RenameCorrelation(const char* oldUpper, const char* newUpper)
{
    if (correlations == nullptr)
        return;
    for (int i = correlations->Count() - 1; i >= 0; --i) {
        CorrelationItem* item = correlations->At(i);
        if (std::strcmp(item->name.Text(), oldUpper) != 0)
            continue;
        if (newUpper == nullptr || *newUpper == '\0')
            correlations->DeleteAt(i);
        else
            item->name = newUpper;
        return;
    }
}

void DocVariable::RemoveCorrelation(const char* upperName)
{
    if (correlations == nullptr)
        return;
    for (int i = 0; i < correlations->Count(); ++i) {
        if (std::strcmp(correlations->At(i)->name.Text(), upperName) == 0) {
            correlations->DeleteAt(i);
            return;
        }
    }
}

void FormatCorrelationText(const TreeDocument* document, const CorrelationList* list, zString& out)
{
    out.Clear();
    if (list == nullptr)
        return;
    for (int i = 0; i < list->Count(); ++i) {
        const CorrelationItem* item = list->At(i);
        if (i > 0)
            out += ", ";
        out += item->negative ? '-' : '+';
        zString name(item->name);
        if (document != nullptr)
            FindVariableTrimmed(*document, name);
        out += name;
    }
}
