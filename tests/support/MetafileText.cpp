#include "tests/support/MetafileText.h"

namespace {

int CALLBACK CollectText(HDC, HANDLETABLE*, METARECORD* record, int, LPARAM into)
{
    if (record->rdFunction != META_EXTTEXTOUT)
        return 1;
    // y, x, length, options, then the clipping rectangle when the options name one, then the characters.
    const WORD* words = record->rdParm;
    const int skip = (words[3] & (ETO_OPAQUE | ETO_CLIPPED)) ? 8 : 4;
    const char* text = reinterpret_cast<const char*>(words + skip);
    reinterpret_cast<std::vector<RecordedText>*>(into)->push_back(
        RecordedText{static_cast<short>(words[1]), static_cast<short>(words[0]), std::string(text, words[2])});
    return 1;
}

} // namespace

std::vector<RecordedText> MetafileTexts(HMETAFILE metafile)
{
    std::vector<RecordedText> texts;
    EnumMetaFile(nullptr, metafile, CollectText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}
