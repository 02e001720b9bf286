#include "framework/dialog/FontWidthTable.h"

#include "framework/draw/Display.h"

void FontWidthTable::Build(FontWidthTable& table, Display& display)
{
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    for (int code = 0; code < 256; ++code) {
        const char character = static_cast<char>(code);
        SIZE extent{0, 0};
        GetTextExtentPoint32A(dc, &character, 1, &extent);
        table.widths[code] = extent.cx;
    }
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    table.height = metrics.tmHeight;
    table.externalLeading = metrics.tmExternalLeading;
}
