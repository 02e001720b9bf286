#pragma once
// How a tree is shown: the display flags that file importers and the display preferences set, and the
// border style of note boxes.

#include <cstdint>

struct TreeDisplayPrefs {
    uint8_t AlignEndNodes = 0;
    uint8_t AddAbove = 0;
    uint8_t ShowProbsAsNumericEquiv = 0;
    uint8_t AlwaysShowPayoffs = 0;
    uint8_t ShowEVatTermEtc = 0;
    uint8_t MarkNodesWithVars = 0;
    // Border of note boxes: 0 solid frame, 1 dashed frame, any other value none.
    int32_t NoteBoxBorderKey = 1;
};
