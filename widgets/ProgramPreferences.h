#pragma once
// The program's own settings in the "General" section of the preferences: read at start-up, changed by the
// Preferences dialog and the Navigating button, and stored when changed. Windows and commands consult them;
// the computing core never does. Whether texts are measured on the screen belongs to the measuring display
// (framework/draw/MeasuringDisplay.h), which reads it from here at start-up.

struct ProgramPreferences {
    // "Navigating": the arrow keys move the tree's selection (else they move the caret of the open edit).
    bool navigating = true;
    // "ExportBW": pictures written to a file or the clipboard are black and white.
    bool exportBlackAndWhite = false;
    // "TrueTypeOnly": the font dialog offers TrueType fonts only.
    bool trueTypeFontsOnly = false;

    // Reads the settings, and the measuring choice ("UseScreenForSizing") into the measuring display.
    void Load();
};

// The running program's settings.
ProgramPreferences& ThePreferences();
