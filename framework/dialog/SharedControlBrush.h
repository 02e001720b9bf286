#pragma once
// The one brush that controls answer to their parent's colour requests; replaced on every colour reply and
// deleted when the application object goes.

#include "framework/draw/GdiScopes.h"

#include <windows.h>

extern ScopedGdiObject<HBRUSH> SharedControlBrush;
