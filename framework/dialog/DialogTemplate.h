#pragma once
// The bytes of a classic RT_DIALOG template read into plain records, with no window involved.
//
// Header (little-endian, offsets from the start):
//   0  4  style             4  4  extended style     8  2  item count
//   10 2  x   12 2  y   14 2  cx   16 2  cy  (dialog units, unsigned)
//   18 2  menu: the single word 0      20 2  window class: the single word 0
//   22    title: UTF-16 ending in a 0 word
//         with DS_SETFONT: point size (2), face name (UTF-16 ending in a 0 word)
// Items, each at the next 4-byte boundary:
//   0  4  style   4  4  extended style   8  2  x   10 2  y   12 2  cx   14 2  cy   16 2  id
//   18    class: 0xFFFF and a 16-bit atom, or a UTF-16 name ending in a 0 word
//         title: UTF-16 ending in a 0 word (0xFFFF and a number for an ordinal)
//         extra-bytes count (2), then that many creation bytes
// Texts are narrowed by keeping the low byte of each code unit (Latin-1); titles and the face name keep at
// most 99 characters, item titles 259.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct DialogItemTemplate {
    DWORD style = 0;
    DWORD extendedStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    unsigned id = 0;
    unsigned classAtom = 0;   // 0 when the class is given by name
    std::string className;    // the name, when there is no atom
    std::string title;
    bool ordinalTitle = false;
    unsigned extraBytes = 0;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD extendedStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::string title;
    bool hasFont = false;
    int pointSize = 0;
    std::string faceName;
    std::vector<DialogItemTemplate> items;
};

// Reads a classic template; false for the extended layout, a menu or class field other than the single
// word 0, or bytes that end before the template does.
bool ParseDialogTemplate(const uint8_t* bytes, size_t size, DialogTemplate& out);
