#pragma once
// The system's colour dialog. The sixteen custom colours last for the whole run of the program.

#include "framework/draw/Colour.h"

#include <windows.h>

#include <cstdint>

struct ColorDialogResult {
    int32_t chosen = 0; // 1 when the user confirmed
    Colour colour{0, 0, 0, 0};
};

// Runs the dialog from the initial colour; a cancelled dialog answers the initial colour.
void ShowColorDialog(ColorDialogResult& result, HWND parent, const Colour& initial);
