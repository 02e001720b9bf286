#pragma once
// Application-wide settings that several subsystems consult.

struct AppFlags {
    // Long file names are available: widens the legal file-name characters and lifts the 8-character limit.
    static bool longFileNames;
    // The font dialog offers TrueType fonts only.
    static bool trueTypeFontsOnly;
    // The tree window navigates the selection with the arrow keys (preference "Navigating").
    static bool navigating;
    // Pictures are exported in black and white (preference "ExportBW").
    static bool exportBlackAndWhite;
    // Text is measured on the display being drawn on rather than on the measuring printer.
    static int useScreenForSizing;
    // Stored printer settings are kept and written back but never handed to a printer (option x).
    static bool noPrinterSettings;
    // Documents are titled in full ("Untitled Tree 1") rather than as short file names ("TREE1.TRE").
    static bool fullDocumentTitles;
};
