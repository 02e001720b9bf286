#include "treewin/NoteBoxClipboard.h"

#include "foundation/MemoryStream.h"
#include "framework/window/Clipboard.h"
#include "framework/window/TopWindow.h"
#include "tests/model/NoteBoxSupport.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class NoteBoxClipboardTest : public testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<TopWindow>(nullptr, nullptr, WS_OVERLAPPEDWINDOW, "notes");
        window->Create();
        ASSERT_NE(window->Handle(), nullptr);
    }
    void TearDown() override { window.reset(); }

    ClipboardTestLock clipboardLock;
    ScopedApplication app;
    std::unique_ptr<TopWindow> window;
};

TEST_F(NoteBoxClipboardTest, NoteTravelsThroughTheClipboard)
{
    NoteBox note = MakeNote(0.5f, 0.5f, 1.5f, 1.0f);
    note.text = "On the clipboard";
    ASSERT_TRUE(PutNoteBoxOnClipboard(note));
    EXPECT_TRUE(IsNoteBoxOnClipboard());
    std::unique_ptr<NoteBox> pasted(GetNoteBoxFromClipboard());
    ASSERT_NE(pasted, nullptr);
    EXPECT_STREQ(pasted->text.Text(), "On the clipboard");
    ExpectRect(pasted->frame, note.frame.left, note.frame.top, note.frame.right, note.frame.bottom);
    EXPECT_EQ(pasted->ownerTree, nullptr);
}

TEST_F(NoteBoxClipboardTest, DamagedOrMissingNoteIsNotPasted)
{
    NoteBox note = MakeNote(0.5f, 0.5f, 1.5f, 1.0f);
    note.text = "damaged";
    Bytes bytes = NoteBytes(note);
    bytes[bytes.size() - 2] = 137;  // the end marker
    Clipboard clipboard(window.get());
    clipboard.Empty();
    ASSERT_NE(clipboard.PutBlock(bytes.data(), static_cast<uint32_t>(bytes.size()), NoteBoxClipboardFormat()), 0);
    EXPECT_TRUE(IsNoteBoxOnClipboard());
    EXPECT_EQ(GetNoteBoxFromClipboard(), nullptr);

    const Bytes truncated(bytes.begin(), bytes.begin() + 10);
    clipboard.Empty();
    clipboard.PutBlock(truncated.data(), static_cast<uint32_t>(truncated.size()), NoteBoxClipboardFormat());
    EXPECT_EQ(GetNoteBoxFromClipboard(), nullptr);

    clipboard.Empty();
    clipboard.PutText("just text");
    EXPECT_FALSE(IsNoteBoxOnClipboard());
    EXPECT_EQ(GetNoteBoxFromClipboard(), nullptr);
}

}  // namespace
