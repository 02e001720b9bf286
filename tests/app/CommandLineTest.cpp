#include "widgets/CommandLine.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

struct ParseCase {
    const char* commandLine;
    uint32_t flags;
    const char* outlinePath;
    const char* decimals; // from and to
    std::vector<std::string> messages;
};

const ParseCase ParseCases[] = {
    {"", 0, "", "", {}},
    {"/T", 1u << NoFirstTreeBit, "", "", {}},
    {"-n -u -i -x", 0x1D, "", "", {}},
    // One letter per option: the rest of the word is skipped.
    {"-nt", 1u << ShortMenusBit, "", "", {}},
    {"-d,. -t", 1u << ChangeDecimalsBit | 1u << NoFirstTreeBit, "", ",.", {}},
    // The path ends at a "-", which is used up; the letter after it goes with the rest of the word.
    {"-^ C:\\trees\\a.tre-n", 1u << OutlineRequestBit, "C:\\trees\\a.tre", "", {}},
    {"-^\"C:\\x.tre\" -i", 1u << OutlineRequestBit | 1u << InfluenceFirstBit, "C:\\x.tre", "", {}},
    {"-t -^ \"C:\\my trees\\job-1.txt\"", 1u << OutlineRequestBit | 1u << NoFirstTreeBit, "C:\\my trees\\job-1.txt",
     "", {}},
    // A quoted file name holding blanks and dashes starts no option.
    {"\"C:\\my -i trees\\b.tre\" -x", 1u << NoPrinterSettingsBit, "", "", {}},
    {"a.tre -q /t", 1u << NoFirstTreeBit, "", "", {"Illegal command line option: -q"}},
    {"/Z", 0, "", "", {"Illegal command line option: /Z"}},
    // Incomplete tails are ignored and never read past the end.
    {"-t -", 1u << NoFirstTreeBit, "", "", {}},
    {"-d,", 0, "", "", {}},
};

TEST(CommandLine, OptionsSetTheirBitsAndTexts)
{
    for (const ParseCase& row : ParseCases) {
        SCOPED_TRACE(row.commandLine);
        MessageBoxRecorder boxes;
        const CommandLineOptions options = ReadCommandLineOptions(row.commandLine);
        EXPECT_EQ(options.flags, row.flags);
        EXPECT_STREQ(options.outlineRequestPath.Text(), row.outlinePath);
        EXPECT_EQ(std::string(options.decimalFrom.Text()) + options.decimalTo.Text(), row.decimals);
        std::vector<std::string> messages;
        for (const auto& box : boxes.Boxes()) {
            messages.push_back(box.text);
            EXPECT_EQ(box.caption, "KIVO");
            EXPECT_EQ(box.style & 0xF0u, static_cast<unsigned>(MB_ICONINFORMATION));
        }
        EXPECT_EQ(messages, row.messages);
    }
    // A run's options are read afresh, not added to what was read before.
    ParseCommandLine("-t");
    EXPECT_TRUE(CommandLineFlag(NoFirstTreeBit));
    ParseCommandLine("-i");
    EXPECT_FALSE(CommandLineFlag(NoFirstTreeBit));
    ParseCommandLine("");
}

} // namespace
