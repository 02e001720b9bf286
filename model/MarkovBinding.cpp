#include "model/MarkovBinding.h"

#include "foundation/Archive.h"
#include "foundation/StoredString.h"

#include <cstring>

MarkovBinding::MarkovBinding(const char* targetText, const char* userNameText)
{
    SetTarget(targetText);
    SetUserName(userNameText);
}

void MarkovBinding::SetTarget(const char* text)
{
    target = text;
    upperTarget = text;
    upperTarget.MakeUpper();
}

void MarkovBinding::SetUserName(const char* text)
{
    userName = text;
    upperUserName = text;
    upperUserName.MakeUpper();
}

void MarkovBinding::Assign(const MarkovBinding& source)
{
    target = source.target;
    upperTarget = source.upperTarget;
    userName = source.userName;
    upperUserName = source.upperUserName;
}

void MarkovBinding::Serialize(Archive& archive)
{
    zString* fields[] = {&target, &upperTarget, &userName, &upperUserName};
    for (zString* field : fields) {
        if (archive.IsStoring())
            StoreString(archive, *field);
        else
            LoadString(archive, *field);
    }
}

void MarkovBindingList::StoreItem(Archive& archive, void* item)
{
    static_cast<MarkovBinding*>(item)->Serialize(archive);
}

void* MarkovBindingList::LoadItem(Archive& archive)
{
    auto* binding = new MarkovBinding;
    binding->Serialize(archive);
    return binding;
}

void* MarkovBindingList::CloneItem(void* item)
{
    auto* binding = new MarkovBinding;
    binding->Assign(*static_cast<const MarkovBinding*>(item));
    return binding;
}

void MarkovBindingList::DeleteItem(void* item)
{
    delete static_cast<MarkovBinding*>(item);
}

MarkovBinding* MarkovBindingList::FindUserName(const char* upperName) const
{
    for (int i = 0; i < Count(); ++i) {
        MarkovBinding* binding = At(i);
        if (std::strcmp(binding->upperUserName.Text(), upperName) == 0)
            return binding;
    }
    return nullptr;
}

void MarkovBindingList::Assign(const MarkovBindingList& source)
{
    Clear();
    Copy(source, true);
}
