#include "model/CustomInterfaceSettings.h"

#include "foundation/Archive.h"
#include "foundation/NumericFormat.h"
#include "foundation/NumericFormatting.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"
#include "model/TreeNode.h"

namespace {

void Transfer(Archive& archive, int16_t& value)
{
    if (archive.IsStoring())
        archive.WriteShort(value);
    else
        archive.ReadShort(value);
}

void Transfer(Archive& archive, double& value)
{
    if (archive.IsStoring())
        archive.WriteDouble(value);
    else
        archive.ReadDouble(value);
}

void Transfer(Archive& archive, zString& text)
{
    if (archive.IsStoring())
        StoreString(archive, text);
    else
        LoadString(archive, text);
}

// The count of a list: written from the list, read into count.
int16_t TransferCount(Archive& archive, const PtrArray& list)
{
    int16_t count = list.Count();
    Transfer(archive, count);
    return archive.Failed() ? 0 : count;
}

} // namespace

void CustomInterfaceSettings::Serialize(Archive& archive)
{
    if (archive.HasFormatError())
        return;
    VersionRecord version;
    version.Serialize(archive);
    SerializeOptions(archive);
    const int16_t count = TransferCount(archive, *this);
    for (int i = 0; i < count && !archive.Failed(); ++i) {
        if (archive.IsStoring()) {
            SerializeParameter(archive, *At(i), version);
            continue;
        }
        auto* parameter = new CustomInterfaceParameter;
        if (!Add(parameter)) {
            delete parameter;
            archive.SetState(Archive::StateIoFailure);
            return;
        }
        SerializeParameter(archive, *parameter, version);
    }
    Transfer(archive, comment);
}

void CustomInterfaceSettings::SerializeOptions(Archive& archive)
{
    VersionRecord version;
    version.Serialize(archive);
    Transfer(archive, options.allowRiskToggle);
    Transfer(archive, options.constantRiskAversion);
    Transfer(archive, options.allowCalcMethodChange);
    Transfer(archive, options.allowViewTree);
    Transfer(archive, options.allowSaveTree);
    const int16_t count = TransferCount(archive, options);
    for (int i = 0; i < count && !archive.Failed(); ++i) {
        CalcMethodChoice* choice = archive.IsStoring() ? options.At(i) : new CalcMethodChoice;
        Transfer(archive, choice->code);
        Transfer(archive, choice->menuText);
        if (archive.IsLoading() && !options.Add(choice)) {
            delete choice;
            archive.SetState(Archive::StateIoFailure);
        }
    }
    const bool storing = archive.IsStoring();
    if (storing || version.IsAtLeast(KnownVersion::k3_0_Beta2))
        Transfer(archive, options.extended);
    if (storing)
        archive.WriteLong(static_cast<int32_t>(options.analysesOffered));
    else if (version.IsNewerThan(KnownVersion::k3_0_Beta2))
        archive.ReadLong(options.analysesOffered);
}

void CustomInterfaceSettings::SerializeParameter(Archive& archive, CustomInterfaceParameter& parameter,
                                                 const VersionRecord& version)
{
    const bool storing = archive.IsStoring();
    if (!storing && version.IsOlderThan(KnownVersion::k3_0_Beta2)) {
        zString discarded;
        LoadString(archive, discarded);
        LoadString(archive, discarded);
    }
    Transfer(archive, parameter.variableName);
    Transfer(archive, parameter.switchLabel);
    Transfer(archive, parameter.low);
    Transfer(archive, parameter.high);
    Transfer(archive, parameter.defaultValue);
    Transfer(archive, parameter.currentValue);
    Transfer(archive, parameter.integerOnly);
    Transfer(archive, parameter.onOffSwitch);
    Transfer(archive, parameter.wheelAllowed);
    if (storing || version.IsAtLeast(KnownVersion::k3_5))
        Transfer(archive, parameter.valueText);
}

TreeNode* CustomInterfaceSettings::ApplyParameterValue(const CustomInterfaceParameter& parameter, TreeNode* root,
                                                       TreeNode* node)
{
    zString key(parameter.variableName);
    key.MakeUpper();
    zString text(parameter.valueText);
    if (text.IsEmpty())
        FormatNumber(DefaultNumericFormat, parameter.currentValue, text, false, false, -9);
    for (TreeNode* target : {node, root})
        if (target != nullptr && target->FindBinding(key.Text(), true) != nullptr) {
            target->SetBinding(key.Text(), text.Text(), true);
            return target;
        }
    return nullptr;
}
