#include "widgets/MimicRunTime.h"

namespace {

bool mimicRunTime = false;

} // namespace

bool IsMimicRunTime() { return mimicRunTime; }

void SetMimicRunTime(bool on) { mimicRunTime = on; }
