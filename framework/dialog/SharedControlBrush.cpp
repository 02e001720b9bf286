#include "framework/dialog/SharedControlBrush.h"

ScopedGdiObject<HBRUSH> SharedControlBrush;
