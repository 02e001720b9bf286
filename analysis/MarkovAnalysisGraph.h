#pragma once
// What a Markov analysis's graph shows: its line graph has one value per recorded stage.

#include "analysis/LineGraphData.h"

#include <cstdint>

// What the user asked to see.
struct MarkovGraphRequest {
    int16_t firstStage = 0;
    int16_t stageStep = 1;
    int16_t points = 0;  // (last stage - first stage) / step, computed
    int16_t settingA = 1;
    int32_t settingB = 30;
    int32_t reportKind = 1;
};
