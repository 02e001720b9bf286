#include "widgets/CommandLine.h"

#include "widgets/MessageBoxes.h"

#include <cctype>
#include <string>

namespace {

CommandLineOptions runOptions;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

const char* SkipBlanks(const char* p)
{
    while (*p && IsBlank(*p))
        ++p;
    return p;
}

// "^" path: a quote flips the in-quotes state and a flip that leaves quotes ends the path; outside quotes a
// blank, "-" or "/" ends it as well (used up). Returns where the scan goes on.
const char* ReadOutlinePath(const char* p, bool& inQuotes, CommandLineOptions& options)
{
    std::string path;
    p = SkipBlanks(p);
    while (*p) {
        const char c = *p++;
        if (c == '"') {
            inQuotes = !inQuotes;
            if (!inQuotes)
                break;
            continue;
        }
        if (!inQuotes && (IsBlank(c) || c == '-' || c == '/'))
            break;
        path += c;
    }
    options.outlineRequestPath = path.c_str();
    return p;
}

// Acts on the option letter at p (just after the "-" or "/"); returns where the scan goes on.
const char* ReadOption(const char* p, bool& inQuotes, CommandLineOptions& options)
{
    const char typed = *p;
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(typed)));
    ++p;
    switch (letter) {
    case 'n': options.flags |= 1u << ShortMenusBit; return p;
    case 't': options.flags |= 1u << NoFirstTreeBit; return p;
    case 'u': options.flags |= 1u << DefaultLocaleBit; return p;
    case 'i': options.flags |= 1u << InfluenceFirstBit; return p;
    case 'x': options.flags |= 1u << NoPrinterSettingsBit; return p;
    case '^':
        options.flags |= 1u << OutlineRequestBit;
        return ReadOutlinePath(p, inQuotes, options);
    case 'd':
        if (!p[0] || !p[1])
            return p + (p[0] ? 1 : 0);
        options.flags |= 1u << ChangeDecimalsBit;
        options.decimalFrom = std::string(1, p[0]).c_str();
        options.decimalTo = std::string(1, p[1]).c_str();
        return p + 2;
    default: {
        const char text[] = {p[-2], typed, '\0'};
        ShowInfoBox("KIVO", (std::string("Illegal command line option: ") + text).c_str(), 0);
        return p;
    }
    }
}

} // namespace

const CommandLineOptions& TheCommandLine()
{
    return runOptions;
}

bool CommandLineFlag(int bit)
{
    return (runOptions.flags >> bit) & 1u;
}

void ParseCommandLine(const char* text)
{
    runOptions = ReadCommandLineOptions(text);
}

CommandLineOptions ReadCommandLineOptions(const char* text)
{
    CommandLineOptions options;
    bool inQuotes = false;
    const char* p = text ? text : "";
    for (;;) {
        p = SkipBlanks(p);
        if (!*p)
            return options;
        const char c = *p++;
        if (c == '"') {
            inQuotes = !inQuotes;
            continue;
        }
        if (!inQuotes && (c == '-' || c == '/')) {
            if (*p)
                p = ReadOption(p, inQuotes, options);
            continue;
        }
        // A word that is not an option: skipped to its end outside quotes, character by character inside.
        if (!inQuotes) {
            while (*p && !IsBlank(*p))
                ++p;
        }
    }
}
