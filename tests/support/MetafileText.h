#pragma once
// The texts a picture (a Windows metafile) recorded, in order, each at the point it was drawn.

#include <windows.h>

#include <string>
#include <vector>

struct RecordedText {
    int x, y;
    std::string text;
};

std::vector<RecordedText> MetafileTexts(HMETAFILE metafile);
