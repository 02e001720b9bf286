#pragma once
// The stored-string record used by the program's own records:
//   current version record   3 bytes
//   length n                 4 bytes
//   characters               n bytes, no terminator
//   flag byte                1 byte: 0, except 42 in the link records between documents; readers discard it
//
// windows.h comes first on purpose: it defines LoadString as a macro, so every translation unit must see
// the same spelling of the reader below (the macro then renames it consistently, and the Win32 function
// remains reachable as an overload).

#include <windows.h>

#include "foundation/zString.h"

#include <cstdint>

class Archive;

// Writes nothing while the archive has a format error.
void StoreString(Archive& archive, const zString& text, uint8_t flag = 0);
void StoreString(Archive& archive, const char* text, uint8_t flag = 0);
// Empties the text, then reads the record. Stops after the version record and length on a format error;
// a length larger than the bytes left sets state 2 without allocating, and a failed allocation sets format
// error 29.
void LoadString(Archive& archive, zString& text);
