#include "foundation/FileNameRules.h"

#include <cstring>

namespace {

const char* const NamePunctuation = " !\"#$%&'()+,-.;=@[]^_`{}~";

} // namespace

bool IsLegalFileNameChar(char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    if (c == 0)
        return false;
    return std::strchr(NamePunctuation, c) != nullptr;
}

bool IsLegalFileName(const char* text)
{
    if (!text || !*text)
        return false;
    for (const char* p = text; *p; ++p)
        if (!IsLegalFileNameChar(*p))
            return false;
    return true;
}
