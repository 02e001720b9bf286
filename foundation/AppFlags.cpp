#include "foundation/AppFlags.h"

bool AppFlags::longFileNames = true;
bool AppFlags::trueTypeFontsOnly = false;
bool AppFlags::navigating = true;
bool AppFlags::exportBlackAndWhite = false;
int AppFlags::useScreenForSizing = 1;
bool AppFlags::noPrinterSettings = false;
bool AppFlags::fullDocumentTitles = true;
