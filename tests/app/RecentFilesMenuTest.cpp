// Recent-file items of the File menu: their texts and their places.

#include "app/RecentFilesMenu.h"

#include <gtest/gtest.h>

namespace {

TEST(RecentFilesMenu, LongPathsShowTheirLeadingDirectoriesAndTheFileName)
{
    const struct {
        const char* path;
        const char* shown;
    } rows[] = {
        // 40 characters stay whole.
        {"C:\\abcdefghij\\abcdefghij\\abcdefghi\\a.tre", "C:\\abcdefghij\\abcdefghij\\abcdefghi\\a.tre"},
        {"C:\\Program Files\\KIVO\\Examples\\Trees\\decision.tre", "C:\\Program Files\\KIVO\\...\\decision.tre"},
        {"Z:\\work\\trees\\2026\\december\\cost\\model.tre", "Z:\\work\\trees\\2026\\december\\...\\model.tre"},
        // Nothing left to cut: the whole path.
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa.tre", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa.tre"},
        {"C:\\d\\nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn.tre",
         "C:\\d\\nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn.tre"},
    };
    for (const auto& row : rows) {
        zString shown;
        AbbreviatePath(FilePath(row.path), shown);
        EXPECT_STREQ(row.shown, shown.Text()) << row.path;
    }
}

} // namespace
