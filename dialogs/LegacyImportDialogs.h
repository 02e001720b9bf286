#pragma once
// The dialogs around importing a tree of the older text form: File Import Options before the import, File
// Conversion when the file holds several trees, File Import Results after it. The program's host installs
// them; with no application to show them on, the import takes its saved options, chooses no tree and shows
// no report, as the importer does on its own.

#include "model/LegacyTreeImporter.h"

LegacyImportPrompts LegacyImportDialogs();
