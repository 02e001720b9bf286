#include "model/InfDiagPrefs.h"

#include "foundation/Archive.h"
#include "foundation/PreferencesFonts.h"
#include "foundation/PreferencesStore.h"
#include "foundation/VersionRecord.h"

#include <cstdio>

namespace {

const char* const Section = "InfDiagPrefs";

// The byte fields kept as integers under their keys, in the order the store keeps them.
struct FlagKey {
    const char* key;
    uint8_t InfDiagPrefs::*field;
    int fallback;
};

const FlagKey FlagKeys[] = {
    {"FixedSize", &InfDiagPrefs::fixedSize, 0},       {"CenterPrint", &InfDiagPrefs::centerPrint, 0},
    {"ShowHidArcs", &InfDiagPrefs::showHidArcs, 1},   {"PrintHidArcs", &InfDiagPrefs::printHidArcs, 0},
    {"DotHidArcs", &InfDiagPrefs::dotHidArcs, 1},     {"OptHigh", &InfDiagPrefs::optHigh, 1},
    {"VerticalInf", &InfDiagPrefs::verticalInf, 0},
};

void ReadSize(const char* key, float& size)
{
    zString text;
    if (!ReadProfileString(Section, key, text, 60, false))
        return;
    double value = 0;
    int error = 0;
    ParseNumber(text.Text(), value, error);
    if (error == 0)
        size = static_cast<float>(value);
}

void WriteSize(const char* key, float size)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.6g", size);
    WriteProfileString(Section, key, text, false);
}

} // namespace

InfDiagPrefs::InfDiagPrefs()
{
    SetDefaults();
    LoadPreferences(*this);
}

void InfDiagPrefs::SetDefaults()
{
    nodeFont = FontRecord();
    arcFont = FontRecord();
    arcFont.Shrink();
    noteEdge = 1;
    arcEdge = 1;
    fixedSize = 0;
    centerPrint = 0;
    optHigh = 1;
    showHidArcs = 1;
    printHidArcs = 0;
    dotHidArcs = 1;
    verticalInf = 0;
    sizeH = 0.8f;
    sizeV = 0.4f;
}

void InfDiagPrefs::ReadProfile()
{
    noteEdge = ReadProfileInt(Section, "NoteEdge", 1);
    arcEdge = ReadProfileInt(Section, "ArcEdge", 1);
    for (const FlagKey& flag : FlagKeys)
        this->*flag.field = static_cast<uint8_t>(ReadProfileInt(Section, flag.key, flag.fallback));
    ReadSize("SizeH", sizeH);
    ReadSize("SizeV", sizeV);
    LoadFontPreference(nodeFont, "InfDiag");
    LoadFontPreference(arcFont, "InfDiagArc");
}

void InfDiagPrefs::WriteProfile()
{
    WriteProfileInt(Section, "NoteEdge", noteEdge);
    WriteProfileInt(Section, "ArcEdge", arcEdge);
    for (const FlagKey& flag : FlagKeys)
        WriteProfileInt(Section, flag.key, this->*flag.field);
    WriteSize("SizeH", sizeH);
    WriteSize("SizeV", sizeV);
    SaveFontPreference(nodeFont, "InfDiag");
    SaveFontPreference(arcFont, "InfDiagArc");
}

void InfDiagPrefs::Serialize(Archive& archive, const VersionRecord& version)
{
    nodeFont.Serialize(archive);
    arcFont.Serialize(archive);
    uint8_t* const bytes[] = {&fixedSize, &centerPrint, &showHidArcs, &optHigh, &printHidArcs, &dotHidArcs};
    if (archive.IsStoring()) {
        archive.WriteShort(static_cast<int16_t>(noteEdge));
        for (uint8_t* byte : bytes)
            archive.WriteByte(*byte);
        archive.WriteFloat(sizeH).WriteFloat(sizeV);
        SerializeWithVersion(numberFormat, archive);
        archive.WriteByte(verticalInf);
        return;
    }
    int16_t edge = 0;
    archive.ReadShort(edge);
    noteEdge = edge;
    for (uint8_t* byte : bytes)
        archive.ReadByte(*byte);
    archive.ReadFloat(sizeH).ReadFloat(sizeV);
    SerializeWithVersion(numberFormat, archive);
    if (version.IsAtLeast(KnownVersion::k3_0_Beta2))
        archive.ReadByte(verticalInf);
}
