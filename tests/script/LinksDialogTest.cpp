// The Links dialog through the tree window's Links command: links copied from one tree and pasted into
// another, Link Properties' index checks and re-pointing, Replace Directories and the delete question.

#include "model/DocumentLink.h"
#include "widgets/DocumentLinks.h"
#include "widgets/LinksDialog.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"
#include "treewin/TreeWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// Runs the Links dialog of the window with the steps in place of a person.
void WithLinksDialog(TreeWindow& window, std::function<void(LinksDialog&)> steps)
{
    auto saved = LinksDialog::SetPresenter([&steps](LinksDialog& dialog) {
        steps(dialog);
        return IDCANCEL;
    });
    window.OnCommand(1213);
    LinksDialog::SetPresenter(saved);
}

TEST(LinksDialog, LinksTravelBetweenTreesAndAreEditedRepointedAndDeleted)
{
    ClipboardTestLock clipboardLock;
    ScopedApplication app;
    MessageBoxRecorder boxes;
    TreeWindow source, target;
    DocumentLinkList& links = target.Document().DocumentLinks;
    CreateDdeLink(source.Document().DocumentLinks, "KIVO_Node", "C:\\models\\a.tre", "DDE_1", "0.5");
    CreateDdeLink(source.Document().DocumentLinks, "KIVO_Node", "C:\\models\\b.tre", "DDE_2", "7");
    source.Document().DocumentLinks.At(1)->description = "second";

    WithLinksDialog(source, [](LinksDialog& d) { EXPECT_TRUE(d.Copy({0, 1})); });
    target.SetModified(0);
    WithLinksDialog(target, [](LinksDialog& d) {
        EXPECT_EQ(d.LinksOnClipboard(), 2);
        EXPECT_EQ(d.Paste(), (std::vector<int>{0, 1}));
        EXPECT_STREQ(d.RowText(1).Text(), "2\t\t\tsecond");
    });
    ASSERT_EQ(links.Count(), 2);
    EXPECT_STREQ(links.At(0)->topic.Text(), "C:\\models\\a.tre");
    EXPECT_EQ(target.IsModified(), 1);

    // Another link's index is refused; a free one is taken with a warning, and a new source re-points it.
    int index = 2;
    auto properties = LinkSourceDialog::SetPresenter([&index](LinkSourceDialog& d) {
        d.index = index;
        d.item = "DDE_9";
        return IDOK;
    });
    WithLinksDialog(target, [&](LinksDialog& d) {
        EXPECT_EQ(d.Edit(0), -1);
        EXPECT_EQ(boxes.Last().text, "This index is being used by another subscriber.");
        index = 5;
        EXPECT_EQ(d.Edit(0), 1);
        EXPECT_EQ(boxes.Last().text,
                  "You have changed this subscriber's index. This may leave unresolved references to the old index.");
    });
    LinkSourceDialog::SetPresenter(properties);
    EXPECT_EQ(links.At(1)->index, 5);
    EXPECT_STREQ(links.At(1)->item.Text(), "DDE_9");
    EXPECT_EQ(links.Find(1), nullptr);

    // Replace Directories changes the chosen links' sources and the workbook path.
    target.Document().Links.WorkbookPath() = "C:\\models\\book.xls";
    WithLinksDialog(target, [](LinksDialog& d) {
        EXPECT_EQ(d.ReplaceInSources("\\models\\", "\\data\\", {1}), (std::vector<int>{1}));
    });
    EXPECT_STREQ(links.At(0)->topic.Text(), "C:\\models\\b.tre");
    EXPECT_STREQ(links.At(1)->topic.Text(), "C:\\data\\a.tre");
    EXPECT_STREQ(target.Document().Links.WorkbookPath().Text(), "C:\\data\\book.xls");

    // The question names one link or several; No keeps them.
    boxes.Answer(IDNO);
    WithLinksDialog(target, [](LinksDialog& d) {
        d.Delete({0, 1});
        d.Delete({1});
    });
    ASSERT_GE(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Boxes()[boxes.Count() - 2].text,
              "If you cancel these links, unresolved references to it may remain in the tree.\n\nAre you sure you "
              "want to cancel these links?");
    EXPECT_EQ(boxes.Last().text, "If you cancel this link, unresolved references to it may remain in the tree.\n\n"
                                 "Are you sure you want to cancel this link?");
    EXPECT_EQ(links.Count(), 1);
}

} // namespace
