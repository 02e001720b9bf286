#pragma once
// The screen's metrics, read once from the desktop's device context. Measurement units without a display of
// their own convert through them.

struct ScreenMetrics {
    int horzSize;   // millimetres
    int vertSize;   // millimetres
    int logPixelsY; // pixels per inch
    int logPixelsX; // pixels per inch
    int horzRes;    // pixels
    int vertRes;    // pixels
};

const ScreenMetrics& Screen();

// Replaces what a display failed to report: a width of 0 becomes 480 and a height of 0 becomes 640, and a
// resolution of 0 pixels per inch becomes 96, so that nothing divides by it.
ScreenMetrics WithScreenFallbacks(ScreenMetrics metrics);
