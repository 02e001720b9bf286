#pragma once
// Fonts in the preferences store: binary values (a version record and the font's stored form) named after
// the font's use, in the registry section "Fonts".

class FontRecord;

// Stores the font as the binary value `name` of section "Fonts"; when that succeeds, deletes the older INI
// keys name + "Font" and name + "FontVers" of section "Preferences". Returns success.
bool SaveFontPreference(FontRecord& font, const char* name);
// Reads the binary value `name` of section "Fonts" (a damaged value leaves the font as it was) and returns
// true. Without one, reads the older text value name + "Font" of section "Preferences": when it parses, the
// font is saved at once in the binary form; otherwise the font is left as it was. Returns whether the older
// text parsed.
bool LoadFontPreference(FontRecord& font, const char* name);
