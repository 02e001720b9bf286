#include "foundation/FontRecord.h"

#include "foundation/AppFlags.h"
#include "app/DrawingScale.h"
#include "foundation/Archive.h"
#include "foundation/StoredString.h"
#include "foundation/VersionRecord.h"
#include "framework/dialog/FontDialog.h"
#include "framework/draw/Display.h"
#include "framework/draw/GdiScopes.h"
#include "framework/draw/zFont.h"
#include "framework/window/ScreenMetrics.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int16_t MaxStoredSize = 200;
constexpr int16_t FaceMarker = 202;
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

int FontWeightForBold(bool bold)
{
    return bold ? 700 : 200;
}

FontRecord::FontRecord() : face("Times New Roman") {}

FontRecord::FontRecord(const zFontSpec& spec, Display* display)
    : pointSize(SizeFromHeight(spec, display)),
      italic(spec.logFont.lfItalic != 0),
      bold(spec.logFont.lfWeight >= 700),
      turned(spec.logFont.lfEscapement > 0),
      face(spec.FaceName())
{
}

bool FontRecord::operator==(const FontRecord& other) const
{
    return pointSize == other.pointSize && italic == other.italic && bold == other.bold &&
           turned == other.turned && face == other.face;
}

int16_t FontRecord::SizeFromHeight(const zFontSpec& spec, Display* display)
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

int FontRecord::FillLogFont(int size, Display* display)
{
    auto tenths = static_cast<int16_t>(static_cast<float>(size * 10) * CurrentDrawingScale());
    int device = display ? display->PointTenthsToDevice(tenths) : tenths * Screen().logPixelsY / 720;
    return device == 0 ? -1 : -device;
}

bool FontRecord::Shrink()
{
    if (pointSize < 6)
        return false;
    --pointSize;
    return true;
}

std::unique_ptr<zFont> FontRecord::CreateFont(Display* display) const
{
    int escapement = turned ? TurnedEscapement : 0;
    zFontSpec spec(face.Text(), 0, FillLogFont(pointSize, display), FontWeightForBold(bold), 0, 0,
                   italic ? unsigned(zFontSpec::StyleItalic) : 0u, escapement, escapement, DEFAULT_CHARSET,
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
    zFontSpec printerSpec(face.Text(), 0, metrics.tmHeight, metrics.tmWeight, pitch, family,
                          metrics.tmItalic ? unsigned(zFontSpec::StyleItalic) : 0u, escapement, escapement,
                          metrics.tmCharSet, DefaultOutPrecision, DefaultClipPrecision, DefaultQuality);
    return std::make_unique<zFont>(printerSpec, display);
}

bool FontRecord::Edit(HWND owner)
{
    int escapement = turned ? TurnedEscapement : 0;
    zFontSpec spec(face.Text(), 0, FillLogFont(pointSize, nullptr), FontWeightForBold(bold), 0, 0,
                   italic ? unsigned(zFontSpec::StyleItalic) : 0u, escapement, escapement, DEFAULT_CHARSET,
                   DefaultOutPrecision, DefaultClipPrecision, DefaultQuality);
    DWORD flags = (turned || AppFlags::trueTypeFontsOnly) ? CF_TTONLY : 0;
    if (!ChooseFontDialog(owner, spec, flags))
        return false;
    pointSize = SizeFromHeight(spec, nullptr);
    italic = spec.logFont.lfItalic != 0;
    bold = spec.logFont.lfWeight >= 700;
    face = spec.FaceName();
    return true;
}

void FontRecord::Serialize(Archive& archive)
{
    if (archive.HasFormatError())
        return;
    if (archive.IsStoring()) {
        VersionRecord version = VersionRecord::Current();
        version.Serialize(archive);
        archive.WriteShort(pointSize).WriteByte(italic).WriteByte(bold).WriteByte(turned);
        archive.WriteShort(FaceMarker);
        StoreString(archive, face);
        return;
    }
    VersionRecord version;
    version.Serialize(archive);
    if (archive.HasFormatError())
        return;
    archive.ReadShort(pointSize).ReadByte(italic).ReadByte(bold).ReadByte(turned);
    int16_t marker = FaceMarker;
    if (version.IsOlderThan(KnownVersion::k2_6)) {
        int32_t ignored = 0;
        archive.ReadLong(ignored);
    } else {
        archive.ReadShort(marker);
    }
    LoadString(archive, face);
    bool flagsValid = static_cast<int8_t>(italic) >= 0 && static_cast<int8_t>(bold) >= 0 &&
                      static_cast<int8_t>(turned) >= 0;
    if (pointSize < 0 || pointSize > MaxStoredSize || !flagsValid || marker != FaceMarker)
        archive.SetFormatError(Archive::FormatFontRecord);
}

bool FontRecord::IsStorable() const
{
    return pointSize >= 0 && pointSize <= MaxStoredSize && italic < 128 && bold < 128 && turned < 128;
}

bool FontRecord::FromText(const char* text)
{
    if (!text)
        return false;
    int size = 0, italicValue = 0, boldValue = 0, turnedValue = 0, faceStart = -1;
    if (std::sscanf(text, "%d,%d,%d,%d,%n", &size, &italicValue, &boldValue, &turnedValue, &faceStart) != 4 ||
        faceStart < 0)
        return false;
    const char* start = text + faceStart;
    while (*start == ' ' || *start == '\t')
        ++start;
    const char* end = start;
    while (*end && *end != ' ' && *end != '\t' && *end != '\r' && *end != '\n')
        ++end;
    if (end == start)
        return false;
    auto inFlagRange = [](int value) { return value >= 0 && value <= 127; };
    if (size < 0 || size > MaxStoredSize || !inFlagRange(italicValue) || !inFlagRange(boldValue) ||
        !inFlagRange(turnedValue))
        return false;

    zString faceText(start);
    faceText.Truncate(static_cast<uint32_t>(end - start));
    char* chars = faceText.Buffer();
    for (char* p = chars; *p; ++p)
        if (*p == '^')
            *p = ' ';
    pointSize = static_cast<int16_t>(size);
    italic = static_cast<uint8_t>(italicValue);
    bold = static_cast<uint8_t>(boldValue);
    turned = static_cast<uint8_t>(turnedValue);
    face = faceText;
    return true;
}

bool IsFontCommand(int id)
{
    return id == FontCommandId;
}

bool HandleFontCommand(int id, FontRecord& record, HWND owner)
{
    if (!IsFontCommand(id))
        return false;
    return record.Edit(owner);
}
