#include "widgets/ProgramPreferences.h"

#include "foundation/PreferencesStore.h"
#include "framework/draw/MeasuringDisplay.h"

void ProgramPreferences::Load()
{
    navigating = ReadProfileInt("General", "Navigating", 1) != 0;
    exportBlackAndWhite = ReadProfileInt("General", "ExportBW", 0) != 0;
    trueTypeFontsOnly = ReadProfileInt("General", "TrueTypeOnly", 0) != 0;
    SetMeasuringOnScreen(ReadProfileInt("General", "UseScreenForSizing", 1) != 0);
}

ProgramPreferences& ThePreferences()
{
    static ProgramPreferences preferences;
    return preferences;
}
