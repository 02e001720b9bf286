#include "model/NodeSideRecord.h"

#include "model/TreeDocument.h"

#include "formula/Distribution.h"
#include "foundation/Archive.h"
#include "foundation/StoredString.h"

NodeSideRecord::~NodeSideRecord()
{
    delete distribution;
}

void NodeSideRecord::Serialize(Archive& archive, TreeDocument* document)
{
    if (archive.IsStoring()) {
        StoreDistribution(distribution, archive);
        StoreString(archive, text);
        return;
    }
    Distribution* loaded = LoadDistribution(archive);
    if (loaded == nullptr) {
        archive.SetFormatError(17);
        return;
    }
    delete distribution;
    distribution = loaded;
    distribution->SetOwner(document);
    LoadString(archive, text);
}
