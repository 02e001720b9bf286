#include "model/NameRules.h"

#include "formula/RunOutcome.h"
#include "formula/BuiltinRegistry.h"
#include "formula/TableDirectory.h"

#include <cstring>

bool IsNameStartChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsNameChar(char c)
{
    return IsNameStartChar(c) || (c >= '0' && c <= '9');
}

namespace {

bool HasNameCharacters(const char* text)
{
    if (!IsNameStartChar(text[0]))
        return false;
    for (const char* p = text + 1; *p; ++p) {
        if (!IsNameChar(*p))
            return false;
    }
    return true;
}

// The suffix of the first rule the name breaks, or null when it breaks none.
const char* BrokenNameRule(const zString& name, const zString& upperName)
{
    if (FindBuiltinFunction(upperName) >= 0)
        return " is the name of a function, and cannot be used for a variable or table.";
    if (FindKeyword(upperName) >= 0)
        return " is the name of a keyword, and cannot be used for a variable or table.";
    if (FindTable(name) != nullptr)
        return " is the name of a table.";
    if (!HasNameCharacters(upperName.Text()))
        return " is not a valid variable or table name. It must begin with a letter or underscore, and contain "
               "only letters, numbers, and underscores.";
    if (upperName.Length() > kMaxVariableNameLength)
        return " is too long. Variable and table names are limited to 32 characters.";
    return nullptr;
}

}  // namespace

int CheckVariableName(const zString& name, bool showMessage, bool alreadyUpper)
{
    zString upperName(name);
    if (!alreadyUpper)
        upperName.MakeUpper();
    const char* suffix = BrokenNameRule(name, upperName);
    if (suffix == nullptr)
        return 1;
    if (showMessage) {
        zString message("The name \"");
        message += name;
        message += "\"";
        message += suffix;
        ReportFailure(OutcomeCode::NameRejected, nullptr, nullptr, message.Text(), -1);
    }
    return 0;
}

char NameValidator::MapChar(char c, bool first)
{
    const bool allowed = first ? IsNameStartChar(c) : IsNameChar(c);
    return allowed ? c : '_';
}

void MakeValidName(zString& text)
{
    zString result(text);
    char* buffer = result.Buffer();
    for (char* p = buffer; *p; ++p)
        *p = NameValidator::MapChar(*p, p == buffer);
    result.Truncate(kMaxVariableNameLength);
    uint32_t length = result.Length();
    while (length > 2 && result[length - 1] == '_')
        --length;
    result.Truncate(length);
    text = result;
}

void NormalizeVariableName(zString& text)
{
    if (text[0] == '{' && text.Length() >= 5) {
        zString rest(text.Text() + 4);
        text = rest;
    }
    const char* start = text.Text();
    const char* end = std::strpbrk(start, " \t");
    if (end != nullptr)
        text.Truncate(static_cast<uint32_t>(end - start));
}

int StripTMarker(zString& name)
{
    if (std::strncmp(name.Text(), "{T} ", 4) != 0)
        return 0;
    const char* rest = name.Text() + 4;
    while (*rest == ' ')
        ++rest;
    zString stripped(rest);
    name = stripped;
    return 1;
}
