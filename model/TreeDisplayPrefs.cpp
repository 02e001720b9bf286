#include "model/TreeDisplayPrefs.h"

#include "model/TreeCalcPrefs.h"

#include "foundation/Archive.h"
#include "foundation/ArchiveTransfer.h"
#include "foundation/Host.h"
#include "foundation/PreferencesStore.h"
#include "foundation/StoredString.h"

#include <cstdio>

namespace {

const char* const Section = "TreeDisplayPrefs";
constexpr uint32_t kMaxTextLength = 200;

uint8_t ValidZoom(int value) { return static_cast<uint8_t>(value < 10 || value > 250 ? 100 : value); }

// The program's default font of that name, else the plain font record.
FontRecord DefaultFont(const char* name)
{
    FontRecord font;
    TheHost().DefaultFont(name, font);
    return font;
}

// The four fonts of the tree drawing take the program's defaults.
void TakeDefaultFonts(TreeDisplayPrefs& prefs)
{
    prefs.TreeFont = DefaultFont("Tree");
    prefs.ProbFont = DefaultFont("Prob");
    prefs.EVFont = DefaultFont("EV");
    prefs.VariablesFont = DefaultFont("Variables");
}

uint8_t ReadFlag(const char* key, int defaultValue)
{
    return static_cast<uint8_t>(ReadProfileInt(Section, key, defaultValue));
}

void ReadText(const char* key, zString& text)
{
    text = "";
    ReadProfileString(Section, key, text, kMaxTextLength, false);
}

} // namespace

TreeDisplayPrefs::TreeDisplayPrefs()
{
    SetDefaults();
    LoadPreferences(*this);
    PageHeaderString = "";
    PageFooterString = "";
}

void TreeDisplayPrefs::SetDefaults()
{
    TakeDefaultFonts(*this);
    AlignEndNodes = 0;
    AddAbove = 1;
    ShowProbsAsNumericEquiv = 1;
    HideCloneCopies = 0;
    MarkNodesWithComments = 1;
    ShowEVatTermEtc = 0;
    BranchesPerNode = 2;
    ShowTermNodeNumbers = 0;
    AlwaysShowPayoffs = 1;
    ShowPageHeadersInTree = 0;
    CenterTreeOnPage = 0;
    PackTreeVert = 0;
    ShowColumns = 0;
    TermNodeStyle = 0;
    NoteBoxBorderKey = 1;
    MarkNodesWithVars = 0;
    ArrowHeadSize = 0;
    ArrowLineStyleKey = 0;
    ShowPageBreaksInTree = 0;
    WideVars = 0;
    ShowMarkovInfo = 0;
    BranchesAt90 = 0;
    BoxPayoffs = 0;
    Schematic = 0;
    HideProbs = 0;
    TermNumString = "";
    PageHeaderString = "";
    PageFooterString = "";
    PageHeaderFont = DefaultFont("PageHeader");
    PageFooterFont = PageHeaderFont;
    PageHeaderLoc = -1;
    PageFooterLoc = 1;
    PrintZoomFact = 100;
}

// Older text form: AlignEndNodes, AddAbove, ShowProbsAsNumericEquiv, bits (0 AlwaysShowPayoffs,
// 1 ShowTermNodeNumbers), HideCloneCopies, MarkNodesWithVars, ShowEVatTermEtc, BranchesPerNode, NoteBoxBorderKey;
// the fonts are the program's defaults.
bool TreeDisplayPrefs::FromText(const char* text, int, const VersionRecord&)
{
    int values[9] = {};
    if (text == nullptr || std::sscanf(text, "%d,%d,%d,%d,%d,%d,%d,%d,%d", &values[0], &values[1], &values[2],
                                       &values[3], &values[4], &values[5], &values[6], &values[7], &values[8]) < 9)
        return false;
    AlignEndNodes = static_cast<uint8_t>(values[0]);
    AddAbove = static_cast<uint8_t>(values[1]);
    ShowProbsAsNumericEquiv = static_cast<uint8_t>(values[2]);
    AlwaysShowPayoffs = static_cast<uint8_t>(values[3] & 1);
    ShowTermNodeNumbers = static_cast<uint8_t>((values[3] >> 1) & 1);
    HideCloneCopies = static_cast<uint8_t>(values[4]);
    MarkNodesWithVars = values[5];
    ShowEVatTermEtc = static_cast<uint8_t>(values[6]);
    BranchesPerNode = static_cast<uint8_t>(values[7] >= 0 && values[7] <= 20 ? values[7] : 2);
    NoteBoxBorderKey = values[8] >= 0 && values[8] <= 20 ? values[8] : 1;
    TakeDefaultFonts(*this);
    return true;
}

void TreeDisplayPrefs::ReadProfile()
{
    AlignEndNodes = ReadFlag("AlignEndNodes", 0);
    BranchesAt90 = ReadFlag("BranchesAt90", 0);
    Schematic = ReadFlag("Schematic", 0);
    HideProbs = ReadFlag("HideProbs", 0);
    WideVars = ReadFlag("WideVars", 0);
    ShowMarkovInfo = ReadFlag("ShowMarkovInfo", 0);
    BoxPayoffs = ReadFlag("BoxPayoffs", 0);
    AddAbove = ReadFlag("AddAbove", 1);
    ShowProbsAsNumericEquiv = ReadFlag("ShowProbsAsNumericEquiv", 1);
    AlwaysShowPayoffs = ReadFlag("AlwaysShowPayoffs", 1);
    HideCloneCopies = ReadFlag("HideCloneCopies", 0);
    MarkNodesWithVars = ReadProfileInt(Section, "MarkNodesWithVars", 0);
    MarkNodesWithComments = ReadFlag("MarkNodesWithComments", 1);
    ShowEVatTermEtc = ReadFlag("ShowEVatTermEtc", 0);
    const int branches = ReadProfileInt(Section, "BranchesPerNode", 2);
    BranchesPerNode = static_cast<uint8_t>(branches >= 0 && branches <= 20 ? branches : 2);
    ShowTermNodeNumbers = ReadFlag("ShowTermNodeNumbers", 0);
    TermNodeStyle = ReadProfileInt(Section, "TermNodeStyle", 0);
    const int border = ReadProfileInt(Section, "NoteBoxBorderKey", 1);
    NoteBoxBorderKey = border >= 0 && border <= 20 ? border : 1;
    ArrowHeadSize = ReadProfileInt(Section, "ArrowHeadSize", 0);
    ArrowLineStyleKey = ReadProfileInt(Section, "ArrowLineStyleKey", 0);
    ShowPageBreaksInTree = ReadFlag("ShowPageBreaksInTree", 0);
    PrintZoomFact = ValidZoom(ReadProfileInt(Section, "PrintZoomFact", 100));
    ShowPageHeadersInTree = ReadFlag("ShowPageHeadersInTree", 0);
    CenterTreeOnPage = ReadFlag("CenterTreeOnPage", 0);
    PackTreeVert = ReadFlag("PackTreeVert", 0);
    ShowColumns = ReadFlag("ShowColumns", 0);
    if (AlignEndNodes)
        PackTreeVert = 0;
    ReadText("TermNumString", TermNumString);
    ReadText("PageHeaderString", PageHeaderString);
    ReadText("PageFooterString", PageFooterString);
    PageHeaderLoc = static_cast<int16_t>(ReadProfileInt(Section, "PageHeaderLoc", -1));
    PageFooterLoc = static_cast<int16_t>(ReadProfileInt(Section, "PageFooterLoc", 1));
}

void TreeDisplayPrefs::WriteProfile()
{
    const struct {
        const char* key;
        int value;
    } keys[] = {
        {"AlignEndNodes", AlignEndNodes}, {"BranchesAt90", BranchesAt90}, {"Schematic", Schematic},
        {"HideProbs", HideProbs}, {"WideVars", WideVars}, {"ShowMarkovInfo", ShowMarkovInfo},
        {"BoxPayoffs", BoxPayoffs}, {"AddAbove", AddAbove}, {"ShowProbsAsNumericEquiv", ShowProbsAsNumericEquiv},
        {"AlwaysShowPayoffs", AlwaysShowPayoffs}, {"HideCloneCopies", HideCloneCopies},
        {"MarkNodesWithVars", MarkNodesWithVars}, {"MarkNodesWithComments", MarkNodesWithComments},
        {"ShowEVatTermEtc", ShowEVatTermEtc}, {"BranchesPerNode", BranchesPerNode},
        {"ShowTermNodeNumbers", ShowTermNodeNumbers}, {"TermNodeStyle", TermNodeStyle},
        {"NoteBoxBorderKey", NoteBoxBorderKey}, {"ArrowHeadSize", ArrowHeadSize},
        {"ArrowLineStyleKey", ArrowLineStyleKey}, {"ShowPageBreaksInTree", ShowPageBreaksInTree},
        {"ShowPageHeadersInTree", ShowPageHeadersInTree}, {"CenterTreeOnPage", CenterTreeOnPage},
        {"PackTreeVert", PackTreeVert}, {"ShowColumns", ShowColumns}, {"PrintZoomFact", PrintZoomFact},
    };
    for (const auto& entry : keys)
        WriteProfileInt(Section, entry.key, entry.value);
    WriteProfileString(Section, "TermNumString", TermNumString.Text(), false);
    WriteProfileString(Section, "PageHeaderString", PageHeaderString.Text(), false);
    WriteProfileString(Section, "PageFooterString", PageFooterString.Text(), false);
    WriteProfileInt(Section, "PageHeaderLoc", PageHeaderLoc);
    WriteProfileInt(Section, "PageFooterLoc", PageFooterLoc);
}

bool TreeDisplayPrefs::SetConvertedTreeStyle(bool first, bool second)
{
    AlwaysShowPayoffs = first || second ? 1 : 0;
    MarkNodesWithVars = 2;
    WideVars = 1;
    ShowMarkovInfo = BranchesAt90 = BoxPayoffs = Schematic = AlignEndNodes = PackTreeVert = 0;
    TermNodeStyle = 1;
    if (!second)
        ShowPageHeadersInTree = ShowPageBreaksInTree = 0;
    return true;
}

// Stored form (v: the version record before it; the writer gives the current one):
//   tree font, expected-value font            font records (reading sets the probability font to the tree font)
//   AlignEndNodes, AddAbove, ShowProbsAsNumericEquiv, HideCloneCopies   u8 each
//   MarkNodesWithVars                         i16 (v < 2.6: u8, nonzero meaning 1)
//   ShowEVatTermEtc, BranchesPerNode, ShowTermNodeNumbers, AlwaysShowPayoffs   u8 each
//   NoteBoxBorderKey                          i16
//   -- v >= 2.6 --
//   ShowPageBreaksInTree u8; PrintZoomFact u8 (outside 10-250 reads as 100)
//   MarkNodesWithComments, WideVars, BranchesAt90, BoxPayoffs   u8 each
//   variables font; ArrowHeadSize i16; ArrowLineStyleKey i16
//   -- v >= 2.6 beta 2 --
//   ShowPageHeadersInTree u8; CenterTreeOnPage u8; PageHeaderString string
//   v == 2.6 beta 2: three i16, ignored; else PageFooterString string, PageHeaderLoc i16, PageFooterLoc i16,
//                    page-header font, page-footer font
//   -- v >= 3.0 --   PackTreeVert, ShowMarkovInfo, Schematic u8 each; TermNodeStyle i16
//   -- v >= 3.5 --   TermNumString string; ShowColumns u8
//   -- v >= 3.5 beta 4 --   HideProbs u8; probability font
// After reading, PackTreeVert is cleared under AlignEndNodes; BranchesPerNode or NoteBoxBorderKey outside
// 0-20 sets format error 23.
void TreeDisplayPrefs::Serialize(Archive& archive, const VersionRecord& version)
{
    if (archive.HasFormatError())
        return;
    const bool loading = archive.IsLoading();
    TreeFont.Serialize(archive);
    EVFont.Serialize(archive);
    if (loading)
        ProbFont = TreeFont;
    TransferByte(archive, AlignEndNodes);
    TransferByte(archive, AddAbove);
    TransferByte(archive, ShowProbsAsNumericEquiv);
    TransferByte(archive, HideCloneCopies);
    if (version.IsOlderThan(KnownVersion::k2_6)) {
        TransferByte(archive, MarkNodesWithVars);
        MarkNodesWithVars = MarkNodesWithVars != 0 ? 1 : 0;
    } else {
        TransferShort(archive, MarkNodesWithVars);
    }
    TransferByte(archive, ShowEVatTermEtc);
    TransferByte(archive, BranchesPerNode);
    TransferByte(archive, ShowTermNodeNumbers);
    TransferByte(archive, AlwaysShowPayoffs);
    TransferShort(archive, NoteBoxBorderKey);
    if (version.IsAtLeast(KnownVersion::k2_6)) {
        TransferByte(archive, ShowPageBreaksInTree);
        TransferByte(archive, PrintZoomFact);
        if (loading)
            PrintZoomFact = ValidZoom(PrintZoomFact);
        TransferByte(archive, MarkNodesWithComments);
        TransferByte(archive, WideVars);
        TransferByte(archive, BranchesAt90);
        TransferByte(archive, BoxPayoffs);
        VariablesFont.Serialize(archive);
        TransferShort(archive, ArrowHeadSize);
        TransferShort(archive, ArrowLineStyleKey);
    }
    if (version.IsAtLeast(KnownVersion::k2_6_Beta2)) {
        TransferByte(archive, ShowPageHeadersInTree);
        TransferByte(archive, CenterTreeOnPage);
        TransferString(archive, PageHeaderString);
        if (version.IsKey(KnownVersion::k2_6_Beta2)) {
            int16_t ignored = 0;
            for (int i = 0; i < 3; ++i)
                archive.ReadShort(ignored);
        } else {
            TransferString(archive, PageFooterString);
            TransferShort(archive, PageHeaderLoc);
            TransferShort(archive, PageFooterLoc);
            PageHeaderFont.Serialize(archive);
            PageFooterFont.Serialize(archive);
        }
    }
    if (version.IsAtLeast(KnownVersion::k3_0)) {
        TransferByte(archive, PackTreeVert);
        TransferByte(archive, ShowMarkovInfo);
        TransferByte(archive, Schematic);
        TransferShort(archive, TermNodeStyle);
    }
    if (version.IsAtLeast(KnownVersion::k3_5)) {
        TransferString(archive, TermNumString);
        TransferByte(archive, ShowColumns);
    }
    if (version.IsAtLeast(KnownVersion::k3_5_Beta4)) {
        TransferByte(archive, HideProbs);
        ProbFont.Serialize(archive);
    }
    if (!loading)
        return;
    if (AlignEndNodes)
        PackTreeVert = 0;
    if (BranchesPerNode > 20 || NoteBoxBorderKey < 0 || NoteBoxBorderKey > 20)
        archive.SetFormatError(FormatBadTreePrefs);
}
