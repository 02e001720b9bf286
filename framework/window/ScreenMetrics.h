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
