#pragma once
// How an influence diagram is drawn and printed: node and arc fonts, the frames of notes and arc comments,
// fixed node size, hidden arcs, the layout axis, page centring and the number format. A new record takes the
// user's saved preferences; a diagram file replaces them by its own.

#include "foundation/FontRecord.h"
#include "foundation/NumericFormat.h"
#include "foundation/PreferenceRecord.h"

#include <cstdint>

struct InfDiagPrefs : PreferenceRecord {
    // Defaults, then the saved preferences.
    InfDiagPrefs();

    bool FromText(const char*, int, const VersionRecord&) override { return false; }
    const char* ClassName() const override { return "InfDiagPrefs"; }
    void ReadProfile() override;
    void WriteProfile() override;
    // Stored form (arcEdge is kept in the preferences store only):
    //   nodeFont, arcFont                                  FontRecord stored form each
    //   noteEdge                                           i16
    //   fixedSize, centerPrint, showHidArcs, optHigh       4 bytes
    //   printHidArcs, dotHidArcs                           2 bytes
    //   sizeH, sizeV                                       2 x float
    //   numberFormat                                       with its version record
    //   verticalInf                                        byte, from 3.0 beta 2 on
    void Serialize(Archive& archive, const VersionRecord& version) override;
    // Node font "Times New Roman" 12, the arc font a point smaller; a 0.8 x 0.4 fixed size; hidden arcs
    // shown dotted on the screen and left off paper.
    void SetDefaults() override;

    FontRecord nodeFont;
    FontRecord arcFont;
    // Frame of note boxes: 0 solid, 1 dashed, any other value none.
    int32_t noteEdge = 1;
    // Frame of arc comments: 0 solid, 1 dotted, any other value none.
    int32_t arcEdge = 1;
    uint8_t fixedSize = 0;
    uint8_t centerPrint = 0;
    uint8_t optHigh = 1;
    uint8_t showHidArcs = 1;
    uint8_t printHidArcs = 0;
    uint8_t dotHidArcs = 1;
    uint8_t verticalInf = 0;
    // Fixed node size in inches.
    float sizeH = 0.8f;
    float sizeV = 0.4f;
    NumericFormat numberFormat;
};
