// The file-level part of the foreign tree format: detection, the tree prefix with the window's settings,
// risk preference, declared variables, note boxes, clone masters and the linked payoffs file.

#include "model/ForeignTreeImporter.h"

#include "foundation/Host.h"
#include "foundation/MessageBoxes.h"
#include "foundation/Archive.h"
#include "foundation/FileStream.h"
#include "formula/RunOutcome.h"
#include "model/ForeignStreamReader.h"
#include "model/LegacyTreeText.h"
#include "model/NoteBox.h"
#include "model/TreeNode.h"
#include "model/TreeNodeRecords.h"
#include "model/TreeWalks.h"
#include "model/TreeDocument.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

namespace {

bool IsTag(const uint8_t* bytes, const char* tag)
{
    return std::memcmp(bytes, tag, 4) == 0 ||
           (bytes[0] == tag[3] && bytes[1] == tag[2] && bytes[2] == tag[1] && bytes[3] == tag[0]);
}

// Back to the start with a good stream state.
void Rewind(Archive& archive, long start)
{
    archive.SetState(Archive::StateGood);
    if (archive.Tell() != start)
        archive.Seek(start, 0);
}

bool IsBorderCode(int code)
{
    return code == 1 || code == 7 || code == 20;
}

uint8_t Digits(int value)
{
    return static_cast<uint8_t>(value < 0 ? 0 : value > 20 ? 20 : value);
}

// The low byte of a number style is the power of ten divided out of the values (0, 3, 6 or 9 in the files
// that are checked); one beyond the formats' range divides nothing.
uint8_t ChopOffOfStyle(int style)
{
    const int power = style & 0xFF;
    return static_cast<uint8_t>(power <= 10 ? power : 0);
}

// The tree prefix that follows the header (or starts a headerless file).
struct TreePrefix {
    int16_t flags = 0;
    int32_t value1 = 0;
    int32_t value2 = 0;
    uint8_t digits1 = 0;
    uint8_t digits2 = 0;
    int8_t border = 0;
    uint8_t spare = 0;
    int16_t numberStyle = 0;

    void Read(ForeignStreamReader& reader)
    {
        flags = reader.Short();
        value1 = reader.Long();
        value2 = reader.Long();
        digits1 = reader.Byte();
        digits2 = reader.Byte();
        border = reader.SignedByte();
        spare = reader.Byte();
        numberStyle = reader.Short();
    }
    bool Flag(int bit) const { return (static_cast<uint16_t>(flags) >> bit & 1) != 0; }
};

void ApplyPrefix(const TreePrefix& prefix, int version, TreeDocument* document)
{
    TreeDisplayPrefs& display = document->DisplayPrefs;
    TreeCalcPrefs& calc = document->CalcPrefs;
    display.AlignEndNodes = prefix.Flag(1);
    display.AddAbove = prefix.Flag(6);
    calc.OptPath[0] = prefix.Flag(5);
    calc.CurrentPayoff = 0;
    NumericFormat& format = document->CalcPrefs.PayoffFormats[0];
    format.chopOff = ChopOffOfStyle(prefix.numberStyle);
    format.commas = static_cast<uint8_t>(prefix.numberStyle & 1);
    if (version < ForeignVersion205) {
        format.expValDigits = format.probDigits = Digits(prefix.digits1);
        return;
    }
    calc.RollBackCalculatesKey = prefix.Flag(0) ? RollBackExpectedValues : RollBackPathProbabilities;
    display.ShowProbsAsNumericEquiv = prefix.Flag(2);
    display.AlwaysShowPayoffs = prefix.Flag(3);
    calc.CalcComplementaryProbs = prefix.Flag(4);
    display.ShowEVatTermEtc = prefix.Flag(7);
    calc.OptPath[1] = !prefix.Flag(8);
    calc.OptPath[2] = !prefix.Flag(11);
    calc.OptPath[3] = !prefix.Flag(12);
    document->HideCloneContents = prefix.Flag(13);
    display.MarkNodesWithVars = prefix.Flag(14);
    const int border = std::abs(static_cast<int>(prefix.border));
    display.NoteBoxBorderKey = border == 7 ? 1 : border == 20 ? 2 : 0;
    format.expValDigits = Digits(prefix.digits2);
    format.probDigits = Digits(prefix.digits1);
}

// Number formats of payoffs 2 to 4: three 16-bit values (axis digits, commas, number style) and two digit
// bytes each.
void ReadPayoffFormats(ForeignStreamReader& reader, int version, TreeDocument* document)
{
    for (int payoff = 1; payoff < 4; ++payoff) {
        NumericFormat& format = document->CalcPrefs.PayoffFormats[payoff];
        if (version < ForeignVersion205) {
            format.chopOff = document->CalcPrefs.PayoffFormats[0].chopOff;
            format.commas = document->CalcPrefs.PayoffFormats[0].commas;
            format.expValDigits = document->CalcPrefs.PayoffFormats[0].expValDigits;
            format.probDigits = document->CalcPrefs.PayoffFormats[0].probDigits;
            continue;
        }
        const int16_t first = reader.Short();
        const int16_t second = reader.Short();
        const int16_t third = reader.Short();
        const uint8_t expValDigits = reader.Byte();
        const uint8_t probDigits = reader.Byte();
        format.commas = second != 0 ? 1 : 0;
        format.chopOff = ChopOffOfStyle(third);
        format.expValDigits = Digits(expValDigits);
        format.probDigits = Digits(probDigits);
        format.axisDigits = Digits(first & 0xFF);
    }
}

void ReadRiskPreference(ForeignStreamReader& reader, int version, TreeDocument* document)
{
    RiskPrefAssessment& risk = document->RiskAssessment;
    document->CalcPrefs.UseUtility = reader.Byte();
    risk.coefficient = std::strtod(reader.String(false).c_str(), nullptr);
    risk.type = reader.Byte() != 0 ? 2 : 1;
    risk.constantAssessed = reader.Byte();
    risk.pointsAssessed = reader.Byte();
    reader.Byte();
    if (version == ForeignVersion205) {
        reader.Skip(16 * 6 * 4);
        if (risk.pointsAssessed != 0 && reader.Good()) {
            risk.pointsAssessed = 0;
            ReportNotice(OutcomeCode::ImportNotice, nullptr,
                         "Your non-constant risk preference function has been lost in translation.", -1);
        }
        return;
    }
    risk.ResetTable();
    for (int i = 0; i < 16; ++i) {
        risk.points[i].value = reader.Double();
        risk.points[i].utility = reader.Double();
    }
}

// Link ids of 16 bits that a tree of ours cannot store are dropped, and the person told how many.
void DropWideLinkIds(TreeNode* root)
{
    int dropped = 0;
    ForEachInSubtree(root, [&dropped](TreeNode* node) {
        const int ids[] = {node->GetLinkId0(), node->GetLinkId1(), node->GetLinkId2()};
        void (TreeNode::*const setters[])(int) = {&TreeNode::SetLinkId0, &TreeNode::SetLinkId1,
                                                  &TreeNode::SetLinkId2};
        for (int i = 0; i < 3; ++i) {
            if (ids[i] > kMaxStoredLinkId) {
                (node->*setters[i])(0);
                ++dropped;
            }
        }
    });
    if (dropped == 0)
        return;
    const std::string text = std::to_string(dropped) + (dropped == 1 ? " link id was" : " link ids were") +
                             " dropped: a tree keeps link ids from 1 to 255 only.";
    ReportNotice(OutcomeCode::ImportNotice, nullptr, text.c_str(), -1);
}

// A count that a damaged file cannot make negative.
int ReadCount(ForeignStreamReader& reader)
{
    const int16_t count = reader.Short();
    if (count < 0) {
        reader.Stream().SetFormatError(kForeignFormatError);
        return 0;
    }
    return count;
}

void ReadNoteBoxes(ForeignStreamReader& reader, TreeDocument* document)
{
    // The rectangles are in the pixels of the screen that wrote them, taken to be this one.
    const PixelsPerInch screen = TheHost().ScreenResolution();
    const int count = ReadCount(reader);
    for (int i = 0; i < count && reader.Good(); ++i) {
        reader.Long();
        const int16_t top = reader.Short();
        const int16_t left = reader.Short();
        const int16_t bottom = reader.Short();
        const int16_t right = reader.Short();
        const std::string text = reader.FixedString(256, true);
        reader.Skip(6);
        if (!reader.Good())
            break;
        const double scale = 1.3333334;
        LogicalRect rect{static_cast<float>(left / screen.x * scale), static_cast<float>(top / screen.y * scale),
                         static_cast<float>(right / screen.x * scale), static_cast<float>(bottom / screen.y * scale)};
        if (rect.left > rect.right)
            std::swap(rect.left, rect.right);
        if (rect.top > rect.bottom)
            std::swap(rect.top, rect.bottom);
        NoteBox* note = new NoteBox(rect, document);
        note->text = text.c_str();
        document->AddNoteBox(note);
    }
}

void ReadCloneMasters(ForeignStreamReader& reader, TreeDocument* document)
{
    const int count = ReadCount(reader);
    for (int i = 0; i < count && reader.Good(); ++i) {
        const std::string name = reader.String(true);
        const std::string path = reader.String(false);
        TreeNode* master = reader.Good() ? FindForeignNodeByPath(document->Root, path.c_str()) : nullptr;
        if (!master || master->cloneStatus == CloneMasterNode)
            continue;
        document->AddCloneMaster(master, name.c_str());
    }
}

bool FileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void ReadLinkedPayoffs(const std::string& name, TreeDocument* document)
{
    std::string path = name;
    if (!FileExists(path)) {
        const std::string question = "The linked payoffs file \"" + name +
                                     "\" is needed for calculations in the tree you are loading, but cannot be "
                                     "located.\n\n Do you want to locate it now?";
        if (AskYesNo(nullptr, question.c_str(), -1) != 1)
            return;
        static const char* const filters[] = {"Payoff Files (*.pay)", "*.pay", "All Files (*.*)", "*.*", nullptr};
        zString located;
        if (!TheHost().LocateFile("Locate Payoffs File", "*.pay", filters, located))
            return;
        path = located.Text();
    }
    FileStream stream(path.c_str(), false);
    if (stream.State() != 0)
        return;
    ReadForeignPayoffsFile(stream, document, name.c_str());
}

}  // namespace

char MapForeignChar(uint8_t c)
{
    if (c >= 135 && c <= 140)
        return 'a';
    if (c >= 142 && c <= 145)
        return 'e';
    if (c >= 146 && c <= 149)
        return 'i';
    if (c >= 151 && c <= 155)
        return 'o';
    if (c >= 156 && c <= 159)
        return 'u';
    switch (c) {
    case 141: case 162: case 169: return 'c';
    case 150: return 'n';
    case 165: return '*';
    case 167: return 'b';
    case 168: return 'r';
    case 170: case 210: case 211: return '"';
    case 177: return '+';
    case 192: return '?';
    case 193: return '!';
    case 201: return '.';
    case 207: return 'f';
    case 208: case 209: return '-';
    case 212: case 213: return '\'';
    default: return static_cast<char>(c);
    }
}

void MapForeignText(std::string& text)
{
    for (char& c : text)
        c = MapForeignChar(static_cast<uint8_t>(c));
}

bool HasForeignHeader(Archive& archive)
{
    if (archive.Failed())
        return false;
    const uint32_t left = archive.BytesLeft();
    if (left != Archive::kNoLimit && left < 20)
        return false;
    uint8_t bytes[20] = {};
    archive.ReadBytes(bytes, sizeof bytes);
    if (archive.State() != 0)
        return false;
    const bool zeros = bytes[0] == 0 && bytes[1] == 0 && bytes[2] == 0 && bytes[3] == 0 && bytes[4] == 0 && bytes[5] == 0;
    return zeros && IsTag(bytes + 8, "EGO!") && IsTag(bytes + 16, "TREE");
}

bool IsForeignTreeFile(Archive& archive)
{
    const long start = archive.Tell();
    bool foreign = HasForeignHeader(archive);
    Rewind(archive, start);
    if (!foreign) {
        const uint32_t left = archive.BytesLeft();
        uint8_t prefix[16] = {};
        if (left == Archive::kNoLimit || left >= sizeof prefix) {
            archive.ReadBytes(prefix, sizeof prefix);
            const uint16_t mark = static_cast<uint16_t>(prefix[0] | prefix[1] << 8);
            const std::string text(reinterpret_cast<const char*>(prefix), 14);
            if (archive.State() == 0 && mark != 0x0022 && mark != 0x2200 && FindNodeTypeMark(text) == std::string::npos)
                foreign = IsBorderCode(std::abs(static_cast<int>(static_cast<int8_t>(prefix[12]))));
        }
        Rewind(archive, start);
    }
    return foreign;
}

bool ImportForeignTree(Archive& archive, TreeDocument* document)
{
    if (!document || archive.Failed())
        return false;
    const long start = archive.Tell();
    const bool header = HasForeignHeader(archive);
    Rewind(archive, start);
    archive.SetSwapping(true);
    ForeignStreamReader reader(archive);
    if (header)
        reader.Skip(kForeignHeaderSize);
    TreePrefix prefix;
    prefix.Read(reader);
    if (!reader.Good())
        return false;
    int version;
    if (header)
        version = prefix.value2 < 0 ? ForeignVersion200 : ForeignVersion100;
    else
        version = prefix.border < 0 ? ForeignVersion206 : ForeignVersion205;
    if (version >= ForeignVersion205) {
        const int styleRest = static_cast<uint16_t>(prefix.numberStyle) % 512;
        const bool styleKnown = styleRest == 0 || styleRest == 3 || styleRest == 6 || styleRest == 9;
        if (!IsBorderCode(std::abs(static_cast<int>(prefix.border))) || !styleKnown) {
            archive.SetFormatError(kForeignFormatError);
            return false;
        }
    }
    ApplyPrefix(prefix, version, document);
    ReadPayoffFormats(reader, version, document);
    if (version >= ForeignVersion205)
        ReadRiskPreference(reader, version, document);
    if (version >= ForeignVersion200)
        reader.Skip(6);
    const std::string payoffsName = reader.String(true);
    bool linked = !payoffsName.empty();
    if (version >= ForeignVersion200) {
        const int32_t link = reader.Long();
        reader.Short();
        linked = linked && link != 0;
        const int count = ReadCount(reader);
        for (int i = 0; i < count && reader.Good(); ++i) {
            const std::string name = reader.String(true);
            if (reader.Good() && !name.empty())
                document->EnsureVariable(name.c_str(), nullptr);
        }
        ReadNoteBoxes(reader, document);
    }
    if (!reader.Good())
        return false;
    delete document->Root;
    document->Root = new TreeNode(document);
    if (!ReadForeignNode(archive, document->Root, document, version))
        return false;
    DropWideLinkIds(document->Root);
    if (version >= ForeignVersion205)
        ReadCloneMasters(reader, document);
    if (!reader.Good())
        return false;
    if (linked)
        ReadLinkedPayoffs(payoffsName, document);
    return true;
}

TreeNode* FindForeignNodeByPath(TreeNode* root, const char* path)
{
    TreeNode* node = root;
    for (const char* step = path; node && step && *step; ++step) {
        if (*step == 'b')
            node = node->childCount > 0 ? node->GetChild(0) : nullptr;
        else if (*step == 'n')
            node = node->NextSibling();
    }
    return node;
}
