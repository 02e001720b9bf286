// The file and clipboard forms of a text report, and how its columns are counted.

#include "foundation/TextReport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

void Fill(TextReport& report, bool notes)
{
    report.SetTitle("KIVO(tm) Test");
    report.AddHeaderLine("Sub one");
    report.AddColumns("A\tB\tC", 2);
    report.AddLine(zString("1\t2"));
    report.AddLine(zString("3\t4"));
    if (notes) {
        report.AddNote("n1");
        report.AddNote("n2");
    }
}

} // namespace

TEST(TextReport, FileAndClipboardLayouts)
{
    struct Case {
        bool notes;
        const char* file;
        const char* clipboard;
    } cases[] = {
        {false, "KIVO(tm) Test\r\nSub one\r\n\r\nA\tB\r\n1\t2\r\n3\t4\r\n",
         "KIVO(tm) Test\r\nSub one\r\n\r\nA\tB\r\n1\t2\r\n3\t4"},
        {true, "KIVO(tm) Test\r\nSub one\r\n\r\nA\tB\r\n1\t2\r\n3\t4\r\n\r\n\r\nn1\r\nn2\r\n",
         "KIVO(tm) Test\r\nSub one\r\n\r\nA\tB\r\n1\t2\r\n3\t4\r\n\r\n\r\nn1\r\nn2"},
    };
    for (const Case& c : cases) {
        TextReport report;
        Fill(report, c.notes);
        EXPECT_EQ(report.ExportText(), c.file);
        std::string clip;
        EXPECT_TRUE(report.ClipboardText(clip));
        EXPECT_EQ(clip, c.clipboard);
    }
}

// The limit counts the header line, the rows and the notes, not the title; rows are taken whole.
TEST(TextReport, ClipboardStopsAtTheLimit)
{
    TextReport report;
    report.SetTitle(std::string(100, 't').c_str());
    report.AddColumnHeader("H");  // "H\r\n" counts 3
    const std::string row(999, 'r');
    for (int i = 0; i < 31; ++i)  // 3 + 999 + 30 * 1001 = 31032; one more row makes 32033
        report.AddLine(zString(row.c_str()));
    std::string clip;
    EXPECT_TRUE(report.ClipboardText(clip));
    report.AddLine(zString(row.c_str()));
    EXPECT_FALSE(report.ClipboardText(clip));
    EXPECT_EQ(clip.size(), 100 + 4 + 3 + 999 + 30 * 1001);
    EXPECT_EQ(clip.substr(clip.size() - 3), "rrr");
}

TEST(TextReport, ColumnsCountTheFirstTwentyRowsAndPadTheHeaders)
{
    TextReport report;
    report.AddColumnHeader("Only");
    for (int i = 0; i < 20; ++i)
        report.AddLine(zString(i == 5 ? "a\tb\tc" : "a"));
    report.AddLine(zString("a\tb\tc\td\te"));
    EXPECT_EQ(report.CountColumns(true), 3);
    EXPECT_EQ(report.ColumnHeaders().Count(), 3);
    zString cell("unchanged");
    TextReport::ColumnText("x\t\ty", 2, cell);
    EXPECT_EQ(std::string(cell.Text()), "y");
    TextReport::ColumnText("x\ty", 4, cell);
    EXPECT_EQ(std::string(cell.Text()), "y");
}
