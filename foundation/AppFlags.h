#pragma once
// Application-wide settings that several subsystems consult.

struct AppFlags {
    // Long file names are available: widens the legal file-name characters and lifts the 8-character limit.
    static bool longFileNames;
    // The font dialog offers TrueType fonts only.
    static bool trueTypeFontsOnly;
};
