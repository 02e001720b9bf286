// The graph templates file beside the program and the default size of new graphs.

#include "foundation/FilePath.h"
#include "model/GraphTemplate.h"
#include "model/GraphTemplateFile.h"
#include "tests/foundation/RegistryTestSupport.h"
#include "tests/support/ProcessLock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<char> FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::vector<char>& bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

GraphTemplate* NewTemplate(const char* description, int labels)
{
    auto* made = new GraphTemplate;
    made->description = description;
    made->width = 4.5f;
    made->height = 3.0f;
    made->title = "Survival";
    made->extraBytes = {7, 8};
    for (int i = 0; i < labels; ++i) {
        auto* label = new TemplateLabel;
        label->rect = {0.5f, 0.25f + i, 1.5f, 0.5f + i};
        label->text = "Note";
        label->vertical = static_cast<uint8_t>(i);
        made->labels.Add(label);
    }
    made->flags[GraphTemplate::HasLabels] = labels > 0;
    return made;
}

class GraphTemplateFileTest : public ::testing::Test {
protected:
    GraphTemplateFileTest() { Remove(); }
    ~GraphTemplateFileTest() override { Remove(); }
    void Remove()
    {
        DeleteFileA(path.c_str());
        RemoveDirectoryA(path.c_str());
        GraphTemplates().Clear();
    }

    ProgramFilesTestLock lock;
    const std::string path = TemplateFilePath();
    std::string message;
};

TEST_F(GraphTemplateFileTest, TwoTemplatesReadAndWrittenBackGiveTheSameBytes)
{
    EXPECT_FALSE(TemplatesAvailable());
    EXPECT_EQ(ReadGraphTemplates(message), TemplateFileRead::Missing);
    GraphTemplates().Add(NewTemplate("Plain", 0));
    GraphTemplates().Add(NewTemplate("With labels", 2));
    ASSERT_TRUE(WriteGraphTemplates(message)) << message;
    EXPECT_EQ(GraphTemplates().Count(), 0);
    EXPECT_TRUE(TemplatesAvailable());
    const std::vector<char> written = FileBytes(path);

    ASSERT_EQ(ReadGraphTemplates(message), TemplateFileRead::Read);
    ASSERT_EQ(GraphTemplates().Count(), 2);
    const GraphTemplate& labelled = *GraphTemplates().Template(1);
    EXPECT_STREQ(labelled.description.Text(), "With labels");
    ASSERT_EQ(labelled.labels.Count(), 2);
    EXPECT_EQ(labelled.labels.Label(1)->rect.top, 1.25f);
    EXPECT_EQ(labelled.labels.Label(1)->vertical, 1);
    EXPECT_EQ(labelled.extraBytes, (std::vector<uint8_t>{7, 8}));
    ASSERT_TRUE(WriteGraphTemplates(message));
    EXPECT_EQ(FileBytes(path), written);
}

// A damaged, cut short or newer file is reported and its templates dropped from the list; the caller then
// leaves the file alone.
TEST_F(GraphTemplateFileTest, AFileThatFailsToReadIsReported)
{
    GraphTemplates().Add(NewTemplate("Plain", 1));
    ASSERT_TRUE(WriteGraphTemplates(message));
    const std::vector<char> whole = FileBytes(path);
    struct Damage {
        const char* what;
        std::vector<char> bytes;
        const char* reason;
    };
    std::vector<char> cut(whole.begin(), whole.end() - 1);
    std::vector<char> newer = whole;
    newer[3] = 9; // the file's version record: 3.9
    std::vector<char> longExtra = whole;
    longExtra[longExtra.size() - 6] = 100; // the extra bytes' length, past the end of the file
    std::vector<char> badMark = whole;
    badMark[0] = 1;
    // The label's left side (0.5, then its top 0.25) a billion inches out.
    std::vector<char> farLabel = whole;
    const char sides[] = {0, 0, 0, 0x3F, 0, 0, static_cast<char>(0x80), 0x3E};
    const auto left = std::search(farLabel.begin(), farLabel.end(), std::begin(sides), std::end(sides));
    ASSERT_NE(left, farLabel.end());
    const float billion = 1e9f;
    std::memcpy(&*left, &billion, sizeof billion);
    for (const Damage& damage : {Damage{"cut", cut, "damaged"}, Damage{"newer", newer, "newer version"},
                                 Damage{"extra bytes", longExtra, "damaged"}, Damage{"mark", badMark, "damaged"},
                                 Damage{"far label", farLabel, "damaged"}}) {
        WriteBytes(path, damage.bytes);
        GraphTemplates().Add(NewTemplate("Before", 0));
        message.clear();
        EXPECT_EQ(ReadGraphTemplates(message), TemplateFileRead::Failed) << damage.what;
        EXPECT_EQ(GraphTemplates().Count(), 0) << damage.what;
        EXPECT_NE(message.find(damage.reason), std::string::npos) << damage.what << ": " << message;
    }
}

TEST_F(GraphTemplateFileTest, AFailedWriteIsReportedAndLeavesNothingHalfWritten)
{
    // A directory in the file's place cannot be replaced.
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
    GraphTemplates().Add(NewTemplate("Plain", 0));
    EXPECT_FALSE(WriteGraphTemplates(message));
    EXPECT_NE(message.find("GTempl.dat"), std::string::npos) << message;
    EXPECT_FALSE(FilePath((path + ".tmp~").c_str()).Exists());
}

TEST(DefaultGraphSize, ParsedFromThePreference)
{
    const struct {
        const char* text;
        float width;
        float height;
    } cases[] = {{"3", 3, 3}, {"3,4.5", 3, 4.5f}, {"junk", 2, 2}, {"", 2, 2}, {nullptr, 2, 2},
                 {"0", 2, 2}, {"-1,3", 2, 2}, {"3,-0.5", 2, 2}, {"inf", 2, 2}};
    for (const auto& row : cases) {
        const DefaultGraphSize size = ParseDefaultGraphSize(row.text);
        EXPECT_EQ(size.width, row.width) << (row.text ? row.text : "(none)");
        EXPECT_EQ(size.height, row.height) << (row.text ? row.text : "(none)");
    }
    StoreTestLock lock;
    SavedRegistryValue saved("Preferences", "DefaultGraphSize");
    WriteDefaultGraphSize(3.25f, 1.5f);
    EXPECT_EQ(ReadDefaultGraphSize().width, 3.25f);
    EXPECT_EQ(ReadDefaultGraphSize().height, 1.5f);
}

} // namespace
