#include "foundation/AppFlags.h"

bool AppFlags::longFileNames = true;
bool AppFlags::trueTypeFontsOnly = false;
