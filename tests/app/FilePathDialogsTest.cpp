#include "widgets/FilePathDialogs.h"

#include "foundation/FileHelpers.h"
#include "foundation/FileNameRules.h"
#include "foundation/FilePath.h"
#include "framework/dialog/FileDialogs.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Text(const zString& text) { return text.Text(); }

TEST(FileNames, LegalNames)
{
    struct Row { const char* name; bool legal; };
    const Row rows[] = {
        {"abcdefgh", true},  {"abcdefghi", true}, {"a\"b", true},   {"a/b", false},   {"a b", true},
        {"a+b", true},       {"a!b", true},       {"", false},       {"a\\b", false}, {"a:b", false},
        {"a*b", false},      {"a\x7F", false},   {"\xE9t\xE9", false}, {"a\tb", false}, {"x~1", true},
        {"[a]", true},
    };
    for (const Row& row : rows)
        EXPECT_EQ(IsLegalFileName(row.name), row.legal) << row.name;
}

// The file dialogs are answered by a presenter that records what the dialog was given.
class FileDialogAnswers : public testing::Test {
protected:
    void SetUp() override
    {
        previous = SetFileDialogPresenter([this](OPENFILENAMEA& dialog, bool saving) {
            savingSeen.push_back(saving);
            initialNames.push_back(dialog.lpstrFile);
            extensions.push_back(dialog.lpstrDefExt ? dialog.lpstrDefExt : "(none)");
            flags = dialog.Flags;
            filter.assign(dialog.lpstrFilter, dialog.lpstrFilter + 40);
            if (answers.empty())
                return 0;
            std::strcpy(dialog.lpstrFile, answers.front().c_str());
            answers.erase(answers.begin());
            return 1;
        });
    }
    void TearDown() override { SetFileDialogPresenter(previous); }

    FileDialogPresenter previous;
    std::vector<std::string> answers;
    std::vector<bool> savingSeen;
    std::vector<std::string> initialNames;
    std::vector<std::string> extensions;
    std::string filter;
    DWORD flags = 0;
};

TEST_F(FileDialogAnswers, OpenStoresTheChosenPath)
{
    answers = {"C:\\trees\\chosen.tre"};
    const char* const filters[] = {"Trees (*.tre)", "*.tre", nullptr};
    FilePath path;
    EXPECT_TRUE(ChooseOpenPath(nullptr, filters, "Open", "*.tre", path));
    EXPECT_EQ(Text(path.FullPath()), "C:\\trees\\chosen.tre");
    EXPECT_EQ(initialNames[0], "*.tre");
    EXPECT_EQ(extensions[0], "tre");
    EXPECT_EQ(flags, DWORD(0x281006 | OFN_ENABLEHOOK));
    EXPECT_EQ(filter.substr(0, 21), std::string("Trees (*.tre)\0*.tre\0\0", 21));
    EXPECT_FALSE(ChooseOpenPath(nullptr, nullptr, "Open", nullptr, path));
    EXPECT_EQ(extensions[1], "*");
    EXPECT_EQ(filter.substr(0, 22), std::string("All Files (*.*)\0*.*\0\0", 22));
    EXPECT_EQ(Text(path.FullPath()), "C:\\trees\\chosen.tre");
}

TEST_F(FileDialogAnswers, SaveAsksAgainUntilTheDirectoryIsWritable)
{
    FilePath temp;
    ASSERT_TRUE(MakeTempFilePath(temp));
    temp.Delete();
    answers = {"Z:\\no\\such\\directory\\x.tre", temp.FullPath().Text()};
    MessageBoxRecorder boxes;
    FilePath path;
    EXPECT_TRUE(ChooseSavePath(nullptr, nullptr, "Save", "tree.tre", path));
    EXPECT_TRUE(path.EqualsNoCase(temp));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Last().caption, "KIVO");
    EXPECT_EQ(boxes.Last().text, "That directory is either on a locked disk or non-existent.");
    EXPECT_EQ(savingSeen, (std::vector<bool>{true, true}));
    EXPECT_EQ(initialNames[0], "tree.tre");
    EXPECT_EQ(extensions[0], "tre");
    EXPECT_EQ(flags, DWORD(0x280006 | OFN_ENABLEHOOK));
}

TEST_F(FileDialogAnswers, SaveCancelledChoosesNothing)
{
    FilePath path("C:\\kept.tre");
    EXPECT_FALSE(ChooseSavePath(nullptr, nullptr, "Save", "*.tre", path));
    EXPECT_EQ(initialNames[0], "");
    EXPECT_EQ(extensions[0], "tre");
    EXPECT_FALSE(ChooseSavePath(nullptr, nullptr, "Save", nullptr, path));
    EXPECT_EQ(extensions[1], "(none)");
    EXPECT_FALSE(ChooseSavePath(nullptr, nullptr, "Save", "C:\\v1.2\\my.model.tre", path));
    EXPECT_EQ(extensions[2], "tre");
    EXPECT_EQ(Text(path.FullPath()), "C:\\kept.tre");
}

} // namespace
