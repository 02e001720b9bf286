#include "framework/draw/FontRecordFonts.h"

#include "framework/draw/DrawingScale.h"
#include "framework/dialog/FontDialog.h"
#include "framework/draw/Display.h"
#include "framework/draw/GdiScopes.h"
#include "framework/draw/zFont.h"
#include "framework/window/ScreenMetrics.h"

namespace {

constexpr int TurnedEscapement = 900;
constexpr int DefaultOutPrecision = 3;
constexpr int DefaultClipPrecision = 2;
constexpr int DefaultQuality = 2;

int LogPixelsY(Display* display)
{
    return display ? display->LogPixelsY() : Screen().logPixelsY;
}

// Metrics of the font realised on the display; false when the display has no device context.
bool RealisedMetrics(Display& display, const zFont& font, TEXTMETRICA& metrics)
{
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    if (!dc)
        return false;
    ScopedSelection selection(dc, font.Handle());
    return GetTextMetricsA(dc, &metrics) != 0;
}

} // namespace

FontRecord FontRecordFromSpec(const zFontSpec& spec, Display* display)
{
    FontRecord record;
    record.pointSize = FontSizeFromSpec(spec, display);
    record.italic = spec.logFont.lfItalic != 0;
    record.bold = spec.logFont.lfWeight >= 700;
    record.turned = spec.logFont.lfEscapement > 0;
    record.face = spec.FaceName();
    return record;
}

int16_t FontSizeFromSpec(const zFontSpec& spec, Display* display)
{
    if (spec.size >= 1)
        return static_cast<int16_t>(spec.size / 10);
    int pixelsPerInch = LogPixelsY(display);
    int height = spec.logFont.lfHeight;
    if (height > 0 && pixelsPerInch > 0)
        return static_cast<int16_t>(static_cast<int16_t>(height * 720 / pixelsPerInch) / 10);
    if (display && display->LogPixelsY() > 0) {
        zFont font(spec, display);
        TEXTMETRICA metrics{};
        if (font.Handle() && RealisedMetrics(*display, font, metrics))
            return static_cast<int16_t>(
                MulDiv(metrics.tmHeight - metrics.tmInternalLeading, 72, display->LogPixelsY()));
    }
    return 12;
}

int FontHeightForSize(int size, Display* display)
{
    auto tenths = static_cast<int16_t>(static_cast<float>(size * 10) * CurrentDrawingScale());
    int device = display ? display->PointTenthsToDevice(tenths) : tenths * Screen().logPixelsY / 720;
    return device == 0 ? -1 : -device;
}

std::unique_ptr<zFont> CreateRecordFont(const FontRecord& record, Display* display)
{
    int escapement = record.turned ? TurnedEscapement : 0;
    zFontSpec spec(record.face.Text(), 0, FontHeightForSize(record.pointSize, display), FontWeightForBold(record.bold),
                   0, 0, record.italic ? unsigned(zFontSpec::StyleItalic) : 0u, escapement, escapement, DEFAULT_CHARSET,
                   DefaultOutPrecision, DefaultClipPrecision, DefaultQuality);
    auto font = std::make_unique<zFont>(spec, display);
    if (!display || display->Kind() != Display::KindPrinter)
        return font;

    // Match the printer: remake the font from the metrics of the one it realised.
    TEXTMETRICA metrics{};
    if (!RealisedMetrics(*display, *font, metrics))
        return font;
    int pitch = (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) ? VARIABLE_PITCH : FIXED_PITCH;
    int family = metrics.tmPitchAndFamily & 0xF0;
    zFontSpec printerSpec(record.face.Text(), 0, metrics.tmHeight, metrics.tmWeight, pitch, family,
                          metrics.tmItalic ? unsigned(zFontSpec::StyleItalic) : 0u, escapement, escapement,
                          metrics.tmCharSet, DefaultOutPrecision, DefaultClipPrecision, DefaultQuality);
    return std::make_unique<zFont>(printerSpec, display);
}

bool EditFontRecord(FontRecord& record, HWND owner, bool trueTypeOnly)
{
    int escapement = record.turned ? TurnedEscapement : 0;
    zFontSpec spec(record.face.Text(), 0, FontHeightForSize(record.pointSize, nullptr), FontWeightForBold(record.bold),
                   0, 0, record.italic ? unsigned(zFontSpec::StyleItalic) : 0u, escapement, escapement, DEFAULT_CHARSET,
                   DefaultOutPrecision, DefaultClipPrecision, DefaultQuality);
    DWORD flags = (record.turned || trueTypeOnly) ? CF_TTONLY : 0;
    if (!ChooseFontDialog(owner, spec, flags))
        return false;
    record.pointSize = FontSizeFromSpec(spec, nullptr);
    record.italic = spec.logFont.lfItalic != 0;
    record.bold = spec.logFont.lfWeight >= 700;
    record.face = spec.FaceName();
    return true;
}

bool HandleFontCommand(int id, FontRecord& record, HWND owner, bool trueTypeOnly)
{
    if (!IsFontCommand(id))
        return false;
    return EditFontRecord(record, owner, trueTypeOnly);
}
