#pragma once
// The application-wide drawing scale: the zoom of the pane being drawn, 1.0 when not drawing on the screen.
// Logical-to-device conversions and font heights are multiplied by it.

float CurrentDrawingScale();
void SetCurrentDrawingScale(float scale);
