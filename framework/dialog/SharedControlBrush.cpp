#include "framework/dialog/SharedControlBrush.h"

HBRUSH SharedControlBrush = nullptr;
