#include "foundation/FileNameRules.h"

#include "foundation/AppFlags.h"

#include <cstring>

namespace {

const char* const LongNamePunctuation = " !\"#$%&'()+,-.;=@[]^_`{}~";
const char* const ShortNamePunctuation = "!#$%&'()-.@^_`{}~";

} // namespace

bool IsLegalFileNameChar(char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    if (c == 0)
        return false;
    return std::strchr(AppFlags::longFileNames ? LongNamePunctuation : ShortNamePunctuation, c) != nullptr;
}

bool IsLegalFileName(const char* text)
{
    if (!text || !*text)
        return false;
    size_t length = 0;
    for (const char* p = text; *p; ++p, ++length)
        if (!IsLegalFileNameChar(*p))
            return false;
    return AppFlags::longFileNames || length <= 8;
}
