#pragma once
// The command line's options: one bit set and three option texts, read once before the main frame exists
// and read-only afterwards. Options are "-" or "/" and one letter (either case); only "d" and "^" take the
// characters that follow them. File names are read again by the start-up actions.

#include "foundation/zString.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

enum CommandLineBit {
    ShortMenusBit = 0,        // n: the short menu bar
    NoFirstTreeBit = 1,       // t: no new tree when nothing was opened
    DefaultLocaleBit = 2,     // u: the locale characters keep their built-in defaults
    InfluenceFirstBit = 3,    // i: influence diagrams first
    NoPrinterSettingsBit = 4, // x: no printer settings record
    OutlineRequestBit = 5,    // ^: outlineRequestPath holds a file path
    ChangeDecimalsBit = 6,    // d: decimalFrom and decimalTo hold one character each
};

struct CommandLineOptions {
    uint32_t flags = 0; // bit n is CommandLineBit n
    zString outlineRequestPath;
    zString decimalFrom;
    zString decimalTo;
};

// The options of this run; none before ParseCommandLine.
const CommandLineOptions& TheCommandLine();
// True when the bit is set in this run's options.
bool CommandLineFlag(int bit);
// Reads the application's command line as this run's options (replacing any read before).
void ParseCommandLine(const char* text);
// The scan behind it, over the given text. An unknown letter is reported ("Illegal command line option: "
// and the two characters) and scanning goes on; a lone "-" or "/" at the very end, and "d" with fewer than
// two characters after it, are ignored.
CommandLineOptions ReadCommandLineOptions(const char* text);
// Carries out what the command line asks for and returns the number of documents it opened: an outline
// request (option "^") of a tree file opens it, puts its outline on the clipboard and ends the actions
// (1); of a ".txt" file keeps it as the script job run once start-up has ended, and ends them (0). Otherwise every
// file argument is opened; a tree gets the argument's bindings at its root and, with option "d", its
// decimal characters changed.
int RunStartupActions();
// The same over the given command line (the options already parsed).
int RunStartupActionsText(const char* commandLine);
// The script job of the command line, once: false when there is none (or it was taken).
bool TakeStartupScript(zString& path);

// One file argument of the command line: the file's path (made full) and the name=value pairs that follow
// it, each after a "?" (a part without "=" ends them).
struct StartupFileArgument {
    std::string path;
    std::vector<std::pair<std::string, std::string>> bindings;
};
// The file arguments in order: a word in double quotes (always a file, ending at the next quote; without
// one the walk ends) or a word up to the next blank that does not begin with "-" or "/".
std::vector<StartupFileArgument> ReadFileArguments(const char* commandLine);
