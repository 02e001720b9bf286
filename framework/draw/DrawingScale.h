#pragma once
// The application-wide drawing scale: the zoom of the pane being drawn, 1.0 when not drawing on the screen.
// Logical-to-device conversions and font heights are multiplied by it.

float CurrentDrawingScale();
void SetCurrentDrawingScale(float scale);

// Saves the drawing scale on the program-wide scale stack, and sets it back to the last saved value (1.0
// when nothing is saved). A pane saves the scale while it draws.
void SaveDrawingScale();
void RestoreDrawingScale();
