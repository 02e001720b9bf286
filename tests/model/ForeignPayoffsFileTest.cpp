#include "framework/dialog/FileDialogs.h"
#include "model/ForeignTreeImporter.h"
#include "tests/model/ForeignFileBuilder.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

using namespace foreign_test;

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
        EXPECT_TRUE(ReadForeignPayoffsFile(stream, result.document.get(), "x.pay"));
        TreeNode* root = result.document->Root;
        EXPECT_EQ(Binding(root, "RATE"), "0.1");
        EXPECT_EQ(Binding(root, "COSTA"), "100");
        EXPECT_TRUE(result.document->HasVariable("COSTA", true));
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
        EXPECT_FALSE(ReadForeignPayoffsFile(stream, result.document.get(), "costs.pay")) << length;
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
        EXPECT_EQ(Binding(refused.document->Root, "COSTA"), "<none>");
        ImportResult found = Import(Sample205(7, "nowhere.pay", 1).bytes);
        ASSERT_TRUE(found.ok);
        EXPECT_EQ(Binding(found.document->Root, "COSTA"), "100");
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

}  // namespace
