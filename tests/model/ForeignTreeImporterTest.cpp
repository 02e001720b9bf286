#include "foundation/MemoryStream.h"
#include "framework/dialog/FileDialogs.h"
#include "model/ForeignTreeImporter.h"
#include "model/MarkovInfo.h"
#include "model/NoteBox.h"
#include "model/TreeNode.h"
#include "model/VariableDefinition.h"
#include "tests/support/MessageBoxRecorder.h"
#include "treewin/TreeWindow.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// Hand-built files in the foreign program's big-endian layout.
class BigEndian {
public:
    BigEndian& U8(int value)
    {
        bytes.push_back(static_cast<uint8_t>(value));
        return *this;
    }
    BigEndian& I16(int value) { return U8(value >> 8).U8(value); }
    BigEndian& I32(long value) { return I16(static_cast<int>(value >> 16)).I16(static_cast<int>(value)); }
    BigEndian& F64(double value)
    {
        uint8_t raw[8];
        std::memcpy(raw, &value, 8);
        for (int i = 7; i >= 0; --i)
            U8(raw[i]);
        return *this;
    }
    BigEndian& Raw(const std::string& text)
    {
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
    BigEndian& Str(const std::string& text) { return U8(static_cast<int>(text.size())).Raw(text); }
    BigEndian& Fixed(const std::string& text, size_t size)
    {
        Str(text);
        bytes.insert(bytes.end(), size - 1 - text.size(), 0);
        return *this;
    }
    BigEndian& Zeros(size_t count)
    {
        bytes.insert(bytes.end(), count, 0);
        return *this;
    }
    BigEndian& Append(const Bytes& more)
    {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }

    Bytes bytes;
};

// The 152-byte header with its tags.
BigEndian Header(const char* ego = "EGO!", const char* tree = "TREE")
{
    BigEndian file;
    file.I16(0).I32(0).I16(5).Raw(ego).I16(1).I16(2).Raw(tree).Zeros(152 - 20);
    return file;
}

void Prefix(BigEndian& file, int flags, long value2, int digits1, int digits2, int border, int style)
{
    file.I16(flags).I32(0).I32(value2).U8(digits1).U8(digits2).U8(border).U8(0).I16(style);
}

// A node record of the newer variants: texts, kind, payoffs, skipped values, ids, clone, Markov, bindings.
void Node205(BigEndian& file, const std::string& text, const std::string& probability, int kind,
             const std::vector<std::string>& payoffs, int clone, int children,
             const std::vector<std::pair<std::string, std::string>>& bindings = {}, int markov = 0,
             const std::vector<std::string>& markovTexts = {})
{
    file.Str(text).Str(probability).U8(kind);
    if (kind == TerminalNode) {
        file.U8(static_cast<int>(payoffs.size()));
        for (const std::string& payoff : payoffs)
            file.Fixed(payoff, 256);
    }
    file.Zeros(12).U8(0).I16(0).I16(0).I16(0).I16(0).I16(0).I16(clone).U8(markov);
    for (const std::string& markovText : markovTexts)
        file.Str(markovText);
    file.I16(static_cast<int>(bindings.size()));
    for (const auto& binding : bindings)
        file.Str(binding.first).Str(binding.second);
    file.U8(children);
}

// Everything of a headerless file before the root node; border 7 gives 0x205, -7 gives 0x206.
BigEndian FileStart205(int border, const std::string& payoffsName, long linked, bool nonConstant = false)
{
    BigEndian file;
    Prefix(file, 0x0002 | 0x0020 | 0x0100 | 0x2000, 0, 3, 2, border, 3);
    for (int i = 0; i < 3; ++i)
        file.I16(4).I16(1).I16(6).U8(1).U8(5);
    file.U8(1).Str("0.25").U8(0).U8(1).U8(nonConstant ? 1 : 0).U8(0);
    if (border > 0) {
        file.Zeros(16 * 6 * 4);
    } else {
        for (int i = 0; i < 16; ++i)
            file.F64(i * 10.0).F64(i / 16.0);
    }
    file.I16(0).I16(0).I16(0);
    file.Str(payoffsName).I32(linked).I16(0);
    file.I16(1).Str("rate");
    file.I16(1).I32(0).I16(72).I16(36).I16(144).I16(108).Fixed(std::string("Note \x8A"), 256).I16(0).I16(0).I16(0);
    return file;
}

// Root "Start" (decision) with a terminal "A" and a chance node "B" over a terminal copy "C"; clone master B
// is named by the path "bn".
BigEndian Sample205(int border = 7, const std::string& payoffsName = "", long linked = 0, bool nonConstant = false)
{
    BigEndian file = FileStart205(border, payoffsName, linked, nonConstant);
    Node205(file, "Start", "", DecisionNode, {}, 0, 2, {{"rate", "0.1"}});
    Node205(file, std::string("A\x8A\xD2"), "0.4", TerminalNode, {"10", "rate * 2"}, 0, 0);
    Node205(file, "B", "#", MarkovNode, {}, 0, 1, {}, 1, {"_stage > 5"});
    Node205(file, "C", "", TerminalNode, {"5"}, 3, 0);
    file.I16(1).Str("Master").Str("bn");
    return file;
}

struct ImportResult {
    std::unique_ptr<TreeWindow> window = std::make_unique<TreeWindow>();
    bool ok = false;
    uint32_t formatError = 0;
    uint32_t state = 0;
};

ImportResult Import(Bytes bytes)
{
    ImportResult result;
    MemoryStream stream(bytes.empty() ? nullptr : bytes.data(), static_cast<uint32_t>(bytes.size()), false);
    result.ok = ImportForeignTree(stream, result.window.get());
    result.formatError = stream.FormatError();
    result.state = stream.State();
    return result;
}

std::string Payoff(TreeNode* node, int i)
{
    zString text;
    node->GetPayoffText(text, i);
    return text.Text();
}

std::string Binding(const TreeNode* node, const char* upperName)
{
    const VariableDefinition* binding = node->FindBinding(upperName, true);
    return binding ? binding->definition.Text().Text() : "<none>";
}

TEST(ForeignCharacters, MapTable)
{
    const struct {
        int byte;
        char mapped;
    } cases[] = {{135, 'a'}, {138, 'a'}, {140, 'a'}, {141, 'c'}, {162, 'c'}, {169, 'c'}, {142, 'e'}, {145, 'e'},
                 {146, 'i'}, {149, 'i'}, {150, 'n'}, {151, 'o'}, {155, 'o'}, {156, 'u'}, {159, 'u'}, {165, '*'},
                 {167, 'b'}, {168, 'r'}, {170, '"'}, {210, '"'}, {211, '"'}, {177, '+'}, {192, '?'}, {193, '!'},
                 {201, '.'}, {207, 'f'}, {208, '-'}, {209, '-'}, {212, '\''}, {213, '\''}, {65, 'A'},
                 {134, static_cast<char>(134)}, {160, static_cast<char>(160)}, {0, '\0'}};
    for (const auto& c : cases)
        EXPECT_EQ(MapForeignChar(static_cast<uint8_t>(c.byte)), c.mapped) << c.byte;
}

TEST(ForeignDetection, HeaderMarksAndBorderCode)
{
    auto prefixOnly = [](int firstByte, int secondByte, int border) {
        BigEndian file;
        file.U8(firstByte).U8(secondByte).Zeros(10).U8(border).Zeros(3);
        return file.bytes;
    };
    BigEndian textLike;
    textLike.Raw("Start(D)\r\nTO:").U8(7).Zeros(3);
    const struct {
        const char* name;
        Bytes bytes;
        bool header;
        bool foreign;
    } cases[] = {
        {"header", Header().bytes, true, true},
        {"reversed tags", Header("!OGE", "EERT").bytes, true, true},
        {"wrong tag", Header("EGO?", "TREE").bytes, false, false},
        {"border 1", prefixOnly(0, 1, 1), false, true},
        {"border 7", prefixOnly(0, 1, 7), false, true},
        {"border -7", prefixOnly(0, 1, 0xF9), false, true},
        {"border 20", prefixOnly(0, 1, 20), false, true},
        {"border 3", prefixOnly(0, 1, 3), false, false},
        {"native mark read swapped", prefixOnly(0x00, 0x22, 7), false, false},
        {"native mark", prefixOnly(0x22, 0x00, 7), false, false},
        {"older text", textLike.bytes, false, false},
        {"too short", Bytes{0, 1, 7}, false, false},
        {"empty", Bytes{}, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = c.bytes;
        MemoryStream stream(bytes.empty() ? nullptr : bytes.data(), static_cast<uint32_t>(bytes.size()), false);
        EXPECT_EQ(IsForeignTreeFile(stream), c.foreign);
        EXPECT_EQ(stream.Tell(), 0);
        EXPECT_EQ(stream.State(), 0u);
        EXPECT_EQ(HasForeignHeader(stream), c.header);
    }
}

TEST(ForeignImport, Variant205SettingsNotesVariablesNodesAndClones)
{
    MessageBoxRecorder boxes;
    ImportResult result = Import(Sample205(7, "", 0, true).bytes);
    ASSERT_TRUE(result.ok) << result.state << " " << result.formatError;
    TreeWindow& window = *result.window;
    EXPECT_EQ(window.DisplayPrefs.AlignEndNodes, 1);
    EXPECT_EQ(window.DisplayPrefs.AddAbove, 0);
    EXPECT_EQ(window.CalcPrefs.OptPath[0], 1);
    EXPECT_EQ(window.CalcPrefs.OptPath[1], 0);
    EXPECT_EQ(window.CalcPrefs.OptPath[2], 1);
    EXPECT_EQ(window.CalcPrefs.RollBackCalculatesKey, RollBackPathProbabilities);
    EXPECT_EQ(window.HideCloneContents, 1);
    EXPECT_EQ(window.DisplayPrefs.NoteBoxBorderKey, 1);
    EXPECT_EQ(window.PayoffFormats[0].expValDigits, 2);
    EXPECT_EQ(window.PayoffFormats[0].probDigits, 3);
    EXPECT_EQ(window.PayoffFormats[0].commas, 1);
    EXPECT_EQ(window.PayoffFormats[2].expValDigits, 1);
    EXPECT_EQ(window.PayoffFormats[2].probDigits, 5);
    EXPECT_EQ(window.PayoffFormats[2].chopOff, 4);
    EXPECT_EQ(window.CalcPrefs.UseUtility, 1);
    EXPECT_EQ(window.RiskAssessment.coefficient, 0.25);
    EXPECT_EQ(window.RiskAssessment.type, 1);
    // The non-constant function of variant 0x205 is not carried over.
    EXPECT_EQ(window.RiskAssessment.pointsAssessed, 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().text, "Your non-constant risk preference function has been lost in translation.");

    EXPECT_TRUE(window.HasVariable("RATE", true));
    ASSERT_EQ(window.NoteBoxes.Count(), 1);
    NoteBox* note = window.NoteBoxes.At(0);
    EXPECT_STREQ(note->text.Text(), "Note a");
    EXPECT_EQ(note->ownerTree, &window);
    HDC screen = GetDC(nullptr);
    const double perInch = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    EXPECT_NEAR(note->GetTextRect().left, 36 / perInch * 1.3333334, 1e-5);
    EXPECT_NEAR(note->GetTextRect().bottom, 144 / perInch * 1.3333334, 1e-5);

    TreeNode* root = window.Root;
    EXPECT_STREQ(root->text.Text(), "Start");
    EXPECT_EQ(root->kind, DecisionNode);
    EXPECT_EQ(Binding(root, "RATE"), "0.1");
    ASSERT_EQ(root->childCount, 2);
    TreeNode* a = root->GetChild(0);
    EXPECT_STREQ(a->text.Text(), "Aa\"");
    EXPECT_EQ(Payoff(a, 0), "10");
    EXPECT_EQ(Payoff(a, 1), "rate * 2");
    TreeNode* b = root->GetChild(1);
    EXPECT_EQ(b->kind, MarkovNode);
    zString termination;
    b->GetMarkovTerminationText(termination, 0);
    EXPECT_STREQ(termination.Text(), "_stage > 5");
    EXPECT_EQ(b->cloneStatus, CloneMasterNode);
    EXPECT_EQ(window.FindCloneMaster(b->cloneId), b);
    TreeNode* c = b->GetChild(0);
    EXPECT_EQ(c->cloneStatus, CloneCopyNode);
    EXPECT_EQ(c->cloneId, 1);
}

TEST(ForeignImport, NegativeBorderCodeReadsVariant206WithRiskTable)
{
    MessageBoxRecorder boxes;
    ImportResult result = Import(Sample205(-7, "", 0, true).bytes);
    ASSERT_TRUE(result.ok);
    const RiskPrefAssessment& risk = result.window->RiskAssessment;
    ASSERT_NE(risk.points, nullptr);
    EXPECT_EQ(risk.points[3].value, 30.0);
    EXPECT_EQ(risk.points[3].utility, 3 / 16.0);
    EXPECT_EQ(risk.points[16].value, 0.0);
    EXPECT_EQ(risk.pointsAssessed, 1);
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_EQ(result.window->DisplayPrefs.NoteBoxBorderKey, 1);
}

TEST(ForeignImport, BadPrefixIsFormatError28)
{
    for (int border : {7, 3}) {
        BigEndian file;
        Prefix(file, 0, 0, 2, 2, border, border == 7 ? 5 : 3);
        file.Zeros(64);
        ImportResult result = Import(file.bytes);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.formatError, 28u);
    }
}

TEST(ForeignImport, Variant100ReadsTextsFromOneString)
{
    BigEndian file = Header();
    Prefix(file, 0x0040, 0, 2, 9, 1, 0);
    file.Str("");
    file.Str(std::string("Start\\0.5\\") + '\x02' + "xDx");
    file.U8(4).Raw("cost").Str("12").U8('\\');
    file.Str(std::string("Leaf\x8A\\0.3\\") + '\x00' + "xTx" + "7*rate\\");
    file.U8('\\');
    file.Str(std::string("Other\\#\\") + '\x00' + "xTx" + "\\");
    file.U8('\\');
    ImportResult result = Import(file.bytes);
    ASSERT_TRUE(result.ok) << result.state << " " << result.formatError;
    TreeWindow& window = *result.window;
    EXPECT_EQ(window.DisplayPrefs.AddAbove, 1);
    EXPECT_EQ(window.PayoffFormats[0].expValDigits, 2);
    EXPECT_EQ(window.PayoffFormats[3].expValDigits, 2);
    TreeNode* root = window.Root;
    EXPECT_STREQ(root->text.Text(), "Start");
    zString probability;
    root->GetProbabilityText(probability);
    EXPECT_STREQ(probability.Text(), "0.5");
    EXPECT_EQ(root->kind, DecisionNode);
    EXPECT_EQ(Binding(root, "COST"), "12");
    EXPECT_TRUE(window.HasVariable("COST", true));
    ASSERT_EQ(root->childCount, 2);
    EXPECT_STREQ(root->GetChild(0)->text.Text(), "Leafa");
    EXPECT_EQ(Payoff(root->GetChild(0), 0), "7*rate");
    EXPECT_EQ(root->GetChild(1)->kind, TerminalNode);
    EXPECT_EQ(Payoff(root->GetChild(1), 0), "");
}

TEST(ForeignImport, Variant200ReadsSeparateStringsAndSkippedValues)
{
    BigEndian file = Header();
    Prefix(file, 0, -1, 1, 0, 1, 0);
    file.I16(0).I16(0).I16(0).Str("").I32(0).I16(0);
    file.I16(2).Str("alpha").Str("beta");
    file.I16(0);
    file.Str("Root").Str(std::string("\\") + '\x01' + "xCx").Zeros(12).I16(5);
    file.U8('\\');
    file.Str("End").Str(std::string("1\\") + '\x00' + "xTx3\\").Zeros(12).I16(0);
    file.U8(5).Raw("alpha").Str("beta + 1").U8('\\');
    ImportResult result = Import(file.bytes);
    ASSERT_TRUE(result.ok) << result.state << " " << result.formatError;
    TreeNode* root = result.window->Root;
    EXPECT_EQ(root->kind, ChanceNode);
    EXPECT_EQ(root->GetLinkId2(), 5);
    EXPECT_TRUE(result.window->HasVariable("BETA", true));
    ASSERT_EQ(root->childCount, 1);
    TreeNode* end = root->GetChild(0);
    EXPECT_EQ(Payoff(end, 0), "3");
    EXPECT_EQ(Binding(end, "ALPHA"), "beta + 1");
}

TEST(ForeignImport, FindNodeByPathFollowsFirstChildAndSibling)
{
    ImportResult result = Import(Sample205().bytes);
    ASSERT_TRUE(result.ok);
    TreeNode* root = result.window->Root;
    const struct {
        const char* path;
        const char* text;
    } cases[] = {{"", "Start"}, {"b", "Aa\""}, {"bn", "B"}, {"b-n", "B"}, {"bnb", "C"}, {"bnn", nullptr},
                 {"n", nullptr}, {"bbb", nullptr}};
    for (const auto& c : cases) {
        TreeNode* node = FindForeignNodeByPath(root, c.path);
        if (c.text == nullptr)
            EXPECT_EQ(node, nullptr) << c.path;
        else
            ASSERT_NE(node, nullptr) << c.path;
        if (node && c.text)
            EXPECT_STREQ(node->text.Text(), c.text) << c.path;
    }
}

BigEndian PayoffsFile(bool header)
{
    BigEndian file;
    if (header)
        file.U8(0).Zeros(23);
    file.Str("rate\r\n").Str("0.5");
    file.Str(std::string("cost\x8A")).Str("100");
    file.U8('\\');
    return file;
}

TEST(ForeignPayoffs, EntriesBindAtTheRootUnlessBound)
{
    for (bool header : {false, true}) {
        SCOPED_TRACE(header);
        ImportResult result = Import(Sample205().bytes);
        ASSERT_TRUE(result.ok);
        Bytes bytes = PayoffsFile(header).bytes;
        MemoryStream stream(bytes.data(), static_cast<uint32_t>(bytes.size()), false);
        EXPECT_TRUE(ReadForeignPayoffsFile(stream, result.window.get(), "x.pay"));
        TreeNode* root = result.window->Root;
        EXPECT_EQ(Binding(root, "RATE"), "0.1");
        EXPECT_EQ(Binding(root, "COSTA"), "100");
        EXPECT_TRUE(result.window->HasVariable("COSTA", true));
    }
}

TEST(ForeignPayoffs, TruncatedFileEndsInAClearError)
{
    const Bytes whole = PayoffsFile(true).bytes;
    for (size_t length = 0; length < whole.size(); ++length) {
        MessageBoxRecorder boxes;
        ImportResult result = Import(Sample205().bytes);
        Bytes bytes(whole.begin(), whole.begin() + static_cast<long>(length));
        MemoryStream stream(bytes.empty() ? nullptr : bytes.data(), static_cast<uint32_t>(bytes.size()), false);
        EXPECT_FALSE(ReadForeignPayoffsFile(stream, result.window.get(), "costs.pay")) << length;
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Last().text,
                  "The linked payoffs file \"costs.pay\" ends before its last entry; only the variables before that "
                  "point were read.");
    }
}

TEST(ForeignPayoffs, MissingLinkedFileIsAskedForAndLocated)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string located = std::string(temp) + "kivo_foreign_located.pay";
    {
        const Bytes bytes = PayoffsFile(false).bytes;
        FILE* file = std::fopen(located.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    std::string title;
    FileDialogPresenter previous = SetFileDialogPresenter([&](OPENFILENAMEA& dialog, bool) {
        title = dialog.lpstrTitle ? dialog.lpstrTitle : "";
        std::snprintf(dialog.lpstrFile, dialog.nMaxFile, "%s", located.c_str());
        return 1;
    });
    {
        MessageBoxRecorder boxes;
        boxes.Answer(IDNO);
        boxes.Answer(IDYES);
        ImportResult refused = Import(Sample205(7, "nowhere.pay", 1).bytes);
        ASSERT_TRUE(refused.ok);
        EXPECT_EQ(Binding(refused.window->Root, "COSTA"), "<none>");
        ImportResult found = Import(Sample205(7, "nowhere.pay", 1).bytes);
        ASSERT_TRUE(found.ok);
        EXPECT_EQ(Binding(found.window->Root, "COSTA"), "100");
        EXPECT_EQ(title, "Locate Payoffs File");
        ASSERT_EQ(boxes.Count(), 2u);
        EXPECT_EQ(boxes.Boxes()[1].text,
                  "The linked payoffs file \"nowhere.pay\" is needed for calculations in the tree you are loading, "
                  "but cannot be located.\n\n Do you want to locate it now?");
        // A name without the link flag is not looked for.
        ImportResult unlinked = Import(Sample205(7, "nowhere.pay", 0).bytes);
        EXPECT_TRUE(unlinked.ok);
        EXPECT_EQ(boxes.Count(), 2u);
    }
    SetFileDialogPresenter(previous);
    DeleteFileA(located.c_str());
}

TEST(ForeignImport, TruncatedBindingListIsAnError)
{
    BigEndian file = FileStart205(7, "", 0);
    file.Str("Start").Str("").U8(DecisionNode).Zeros(12).U8(0).Zeros(12).U8(0);
    file.I16(30000).Str("a").Str("1");
    MessageBoxRecorder boxes;
    ImportResult result = Import(file.bytes);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.state, 0u);
}

TEST(ForeignImport, FuzzedFilesFailCleanly)
{
    MessageBoxRecorder boxes;
    const Bytes sources[] = {Sample205().bytes, Sample205(-7).bytes};
    for (const Bytes& source : sources) {
        for (size_t length = 0; length < source.size(); length += 7) {
            ImportResult result = Import(Bytes(source.begin(), source.begin() + static_cast<long>(length)));
            EXPECT_FALSE(result.ok) << length;
        }
    }
    std::mt19937 random(77);
    for (int trial = 0; trial < 3000; ++trial) {
        Bytes bytes = sources[trial % 2];
        const int changes = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < changes; ++i)
            bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        if (trial % 5 == 0)
            bytes.resize(random() % bytes.size());
        ImportResult result = Import(bytes);
        if (!result.ok)
            EXPECT_TRUE(result.state != 0 || result.formatError != 0);
        boxes.Clear();
    }
}

}  // namespace
