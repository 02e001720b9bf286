#pragma once
// The command line's options: one bit set and three option texts, filled once before the main frame exists
// and read-only afterwards. Options are "-" or "/" and one letter (either case); only "d" and "^" take the
// characters that follow them. File names are read again by the start-up actions.

#include "foundation/zString.h"

#include <cstdint>

enum CommandLineBit {
    ShortMenusBit = 0,        // n: the short menu bar
    NoFirstTreeBit = 1,       // t: no new tree when nothing was opened
    DefaultLocaleBit = 2,     // u: the locale characters keep their built-in defaults
    InfluenceFirstBit = 3,    // i: influence diagrams first
    NoPrinterSettingsBit = 4, // x: no printer settings record
    OutlineRequestBit = 5,    // ^: OutlineRequestPath holds a file path
    ChangeDecimalsBit = 6,    // d: DecimalFromChar and DecimalToChar hold one character each
};

extern uint32_t CommandLineFlags;
extern zString OutlineRequestPath;
extern zString DecimalFromChar;
extern zString DecimalToChar;

// True when the bit is set.
bool CommandLineFlag(int bit);
// Reads the application's command line into the flags and option texts.
void ParseCommandLine();
// The scan behind it, over the given text. An unknown letter is reported ("Illegal command line option: "
// and the two characters) and scanning goes on; a lone "-" or "/" at the very end, and "d" with fewer than
// two characters after it, are ignored.
void ParseCommandLineText(const char* text);
// Carries out what the command line asks for and returns the number of documents it opened.
int RunStartupActions();
