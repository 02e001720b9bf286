#include "framework/draw/FontRecordFonts.h"

#include "framework/draw/DrawingScale.h"
#include "foundation/Archive.h"
#include "framework/dialog/FontDialog.h"
#include "framework/draw/BitmapDisplay.h"
#include "framework/draw/zFont.h"
#include "framework/window/ScreenMetrics.h"
#include "framework/window/TopWindow.h"
#include "tests/foundation/StreamBytes.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

Bytes StoredFace(const char* face)
{
    Bytes bytes = {0x03, 0x05, 0x00, static_cast<uint8_t>(std::strlen(face)), 0x00, 0x00, 0x00};
    for (const char* c = face; *c != '\0'; ++c)
        bytes.push_back(static_cast<uint8_t>(*c));
    bytes.push_back(0x00);
    return bytes;
}

FontRecord Font(int size, int italic, int bold, int turned, const char* face)
{
    FontRecord font;
    font.pointSize = static_cast<int16_t>(size);
    font.italic = static_cast<uint8_t>(italic);
    font.bold = static_cast<uint8_t>(bold);
    font.turned = static_cast<uint8_t>(turned);
    font.face = face;
    return font;
}

TEST(FontRecord, DefaultsToTimesNewRomanTwelve)
{
    EXPECT_EQ(FontRecord(), Font(12, 0, 0, 0, "Times New Roman"));
}

TEST(FontRecord, EqualityComparesEveryField)
{
    const FontRecord base = Font(10, 1, 0, 1, "Arial");
    const FontRecord others[] = {Font(11, 1, 0, 1, "Arial"), Font(10, 0, 0, 1, "Arial"), Font(10, 1, 1, 1, "Arial"),
                                 Font(10, 1, 0, 0, "Arial"), Font(10, 1, 0, 1, "arial")};
    EXPECT_EQ(base, Font(10, 1, 0, 1, "Arial"));
    for (const FontRecord& other : others)
        EXPECT_NE(base, other) << other.face.Text();
}

// Stored form: version record, size (2), italic, bold, turned, marker 202 (2), face as a stored string.
TEST(FontRecordStored, WritesTheRecordAndReadsItBackEqual)
{
    FontRecord font = Font(14, 1, 0, 1, "Courier New");
    Bytes bytes = WrittenBytes([&](Archive& archive) { font.Serialize(archive); });
    EXPECT_EQ(bytes, Join({{0x03, 0x05, 0x00, 0x0E, 0x00, 0x01, 0x00, 0x01, 0xCA, 0x00}, StoredFace("Courier New")}));

    FontRecord back;
    ReadStream in(bytes);
    back.Serialize(in);
    EXPECT_EQ(in->FormatError(), 0u);
    EXPECT_EQ(back, font);
}

TEST(FontRecordStored, FieldsOutOfRangeSetError31)
{
    struct Row { uint8_t sizeLow, sizeHigh, italic, bold, turned, markerLow; uint32_t error; };
    const Row rows[] = {
        {200, 0, 0, 0, 0, 202, 0},  {201, 0, 0, 0, 0, 202, 31}, {0, 0, 1, 1, 1, 202, 0},
        {0xFF, 0xFF, 0, 0, 0, 202, 31}, {10, 0, 0x80, 0, 0, 202, 31}, {10, 0, 0, 0xFF, 0, 202, 31},
        {10, 0, 0, 0, 0x90, 202, 31},   {10, 0, 0, 0, 0, 203, 31},
    };
    for (const Row& row : rows) {
        ReadStream in(Join({{0x03, 0x05, 0x00, row.sizeLow, row.sizeHigh, row.italic, row.bold, row.turned,
                             row.markerLow, 0x00},
                            StoredFace("Arial")}));
        FontRecord font;
        font.Serialize(in);
        EXPECT_EQ(in->FormatError(), row.error) << int(row.sizeLow) << " " << int(row.italic);
        EXPECT_STREQ(font.face.Text(), "Arial");
    }
}

TEST(FontRecordStored, StreamsBeforeVersionTwoSixHoldAFourByteValueForTheMarker)
{
    ReadStream in({0x02, 0x05, 0x00, 0x0A, 0x00, 0x01, 0x00, 0x00, 0x11, 0x22, 0x33, 0x44,
                   0x02, 0x05, 0x00, 0x05, 0x00, 0x00, 0x00, 'A', 'r', 'i', 'a', 'l', 0x00});
    FontRecord font;
    font.Serialize(in);
    EXPECT_EQ(in->FormatError(), 0u);
    EXPECT_EQ(in->BytesLeft(), 0u);
    EXPECT_EQ(font, Font(10, 1, 0, 0, "Arial"));
}

TEST(FontRecordStored, ATruncatedRecordFailsTheStream)
{
    ReadStream in({0x03, 0x05, 0x00, 0x0A, 0x00, 0x01});
    FontRecord font;
    font.Serialize(in);
    EXPECT_TRUE(in->Failed());
}

TEST(FontRecordText, ReadsTheOlderTextForm)
{
    struct Row { const char* text; bool ok; FontRecord expected; };
    const Row rows[] = {
        {"10,0,1,0,Courier^New", true, Font(10, 0, 1, 0, "Courier New")},
        {"8,1,0,1,Arial", true, Font(8, 1, 0, 1, "Arial")},
        {"9,0,0,0,Times^New^Roman trailing", true, Font(9, 0, 0, 0, "Times New Roman")},
        {"10,0,1,Arial", false, FontRecord()},
        {"10,0,1,0,", false, FontRecord()},
        {"", false, FontRecord()},
        {"201,0,0,0,Arial", false, FontRecord()},
        {"10,-1,0,0,Arial", false, FontRecord()},
    };
    for (const Row& row : rows) {
        FontRecord font;
        EXPECT_EQ(font.FromText(row.text), row.ok) << row.text;
        EXPECT_EQ(font, row.expected) << row.text;
    }
}

TEST(FontRecord, ShrinkStopsAtFive)
{
    FontRecord font = Font(6, 0, 0, 0, "Arial");
    EXPECT_TRUE(font.Shrink());
    EXPECT_EQ(font.pointSize, 5);
    EXPECT_FALSE(font.Shrink());
    EXPECT_EQ(font.pointSize, 5);
}

TEST(FontRecord, OnlyCommand1303EditsAFont)
{
    EXPECT_TRUE(IsFontCommand(1303));
    EXPECT_FALSE(IsFontCommand(1304));
    FontRecord font;
    EXPECT_FALSE(HandleFontCommand(1304, font, nullptr, false));
    EXPECT_EQ(FontWeightForBold(true), 700);
    EXPECT_EQ(FontWeightForBold(false), 200);
}

class FontOnDisplay : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(display.LogPixelsY(), 96); }
    void TearDown() override { SetCurrentDrawingScale(1.0f); }
    BitmapDisplay display{16, 16};
};

TEST_F(FontOnDisplay, SizeFromHeightPrefersTheSizeInTenths)
{
    struct Row { uint16_t tenths; int height; int16_t expected; };
    const Row rows[] = {
        {100, 0, 10}, {125, 40, 12}, {0, 20, 15}, {0, 16, 12}, {0, 13, 9},
    };
    for (const Row& row : rows) {
        zFontSpec spec("Arial", 0, row.height, 400, 0, 0, 0, 0, 0, 0, 3, 2, 2);
        spec.size = row.tenths;
        EXPECT_EQ(FontSizeFromSpec(spec, &display), row.expected) << row.tenths << " " << row.height;
    }
}

TEST_F(FontOnDisplay, SizeFromHeightMeasuresACharacterHeightOnTheDisplay)
{
    zFontSpec spec("Arial", 0, -20, 400, 0, 0, 0, 0, 0, 0, 3, 2, 2);
    EXPECT_EQ(FontSizeFromSpec(spec, &display), 15);
    // Without a display nothing can be measured: the default size.
    EXPECT_EQ(FontSizeFromSpec(spec, nullptr), 12);
}

TEST_F(FontOnDisplay, FillLogFontGivesTheCharacterHeightUnderTheDrawingScale)
{
    struct Row { int size; float scale; int expected; };
    const Row rows[] = {{12, 1.0f, -16}, {10, 1.0f, -13}, {0, 1.0f, -1}, {12, 2.0f, -32}, {12, 0.5f, -8}};
    for (const Row& row : rows) {
        SetCurrentDrawingScale(row.scale);
        EXPECT_EQ(FontHeightForSize(row.size, &display), row.expected) << row.size << " " << row.scale;
    }
}

TEST_F(FontOnDisplay, FromAFontSpecTakesFaceSizeAndFlags)
{
    zFontSpec spec("Courier New", 0, 0, 700, 0, 0, zFontSpec::StyleItalic, 900, 900, 0, 3, 2, 2);
    spec.size = 100;
    EXPECT_EQ(FontRecordFromSpec(spec, &display), Font(10, 1, 1, 1, "Courier New"));
    zFontSpec plain("Arial", 0, 0, 699, 0, 0, 0, -900, 0, 0, 3, 2, 2);
    plain.size = 80;
    EXPECT_EQ(FontRecordFromSpec(plain, &display), Font(8, 0, 0, 0, "Arial"));
}

TEST_F(FontOnDisplay, CreateFontMakesTheDescribedFont)
{
    FontRecord font = Font(12, 1, 1, 1, "Arial");
    std::unique_ptr<zFont> made = CreateRecordFont(font, &display);
    ASSERT_NE(made->Handle(), nullptr);
    const LOGFONTA& spec = made->Spec().logFont;
    EXPECT_EQ(spec.lfHeight, -16);
    EXPECT_EQ(spec.lfWeight, 700);
    EXPECT_NE(spec.lfItalic, 0);
    EXPECT_EQ(spec.lfEscapement, 900);
    EXPECT_EQ(spec.lfOrientation, 900);
    EXPECT_STREQ(spec.lfFaceName, "Arial");
    EXPECT_EQ(CreateRecordFont(Font(12, 0, 0, 0, "Arial"), nullptr)->Spec().logFont.lfWeight, 200);
}

// A printer stand-in: a memory context of the screen, reporting the printer kind.
class PrinterLikeDisplay : public Display {
public:
    PrinterLikeDisplay() : Display(KindPrinter)
    {
        dc_ = CreateCompatibleDC(nullptr);
        ReadCapabilities(dc_);
    }
    ~PrinterLikeDisplay() override { DeleteDC(dc_); }
};

TEST_F(FontOnDisplay, OnAPrinterTheFontIsRemadeFromItsMetrics)
{
    PrinterLikeDisplay printer;
    std::unique_ptr<zFont> made = CreateRecordFont(Font(12, 0, 1, 0, "Arial"), &printer);
    ASSERT_NE(made->Handle(), nullptr);
    // The remade font carries the realised cell height (positive), not the requested character height.
    EXPECT_GT(made->Spec().logFont.lfHeight, 16);
    EXPECT_GE(made->Spec().logFont.lfWeight, 700);
}

class FontDialogAnswer : public testing::Test {
protected:
    void SetUp() override
    {
        previous = SetFontDialogPresenter([this](CHOOSEFONTA& dialog) {
            ++shown;
            flags = dialog.Flags;
            owner = dialog.hwndOwner;
            initial = *dialog.lpLogFont;
            if (!confirm)
                return 0;
            std::strcpy(dialog.lpLogFont->lfFaceName, "Arial");
            dialog.lpLogFont->lfWeight = 700;
            dialog.lpLogFont->lfItalic = 1;
            dialog.iPointSize = 140;
            return 1;
        });
    }
    void TearDown() override
    {
        SetFontDialogPresenter(previous);
    }

    FontDialogPresenter previous;
    bool confirm = true;
    int shown = 0;
    DWORD flags = 0;
    HWND owner = nullptr;
    LOGFONTA initial{};
};

TEST_F(FontDialogAnswer, EditTakesTheChosenFontAndKeepsTurned)
{
    FontRecord font = Font(10, 0, 0, 1, "Times New Roman");
    EXPECT_TRUE(HandleFontCommand(1303, font, nullptr, false));
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(font, Font(14, 1, 1, 1, "Arial"));
    EXPECT_EQ(flags & (CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_TTONLY),
              DWORD(CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_TTONLY));
    EXPECT_STREQ(initial.lfFaceName, "Times New Roman");
    EXPECT_EQ(initial.lfHeight, -(100 * Screen().logPixelsY / 720));
    EXPECT_EQ(initial.lfEscapement, 900);
}

TEST_F(FontDialogAnswer, TrueTypeOnlyWhenTurnedOrAskedFor)
{
    FontRecord font = Font(10, 0, 0, 0, "Arial");
    EditFontRecord(font, nullptr, false);
    EXPECT_EQ(flags & CF_TTONLY, 0u);
    EditFontRecord(font, nullptr, true);
    EXPECT_EQ(flags & CF_TTONLY, DWORD(CF_TTONLY));
}

TEST_F(FontDialogAnswer, WithoutAnOwnerTheMainWindowOwnsTheDialog)
{
    FontRecord font;
    HandleFontCommand(1303, font, nullptr, false);
    EXPECT_EQ(owner, nullptr);  // no application yet

    ScopedApplication app;
    TopWindow frame(nullptr);
    frame.Create();
    ASSERT_NE(frame.Handle(), nullptr);
    HandleFontCommand(1303, font, nullptr, false);
    EXPECT_EQ(owner, frame.Handle());

    TopWindow other(nullptr);
    other.Create();
    HandleFontCommand(1303, font, other.Handle(), false);
    EXPECT_EQ(owner, other.Handle());
}

TEST_F(FontDialogAnswer, CancelLeavesTheFont)
{
    confirm = false;
    FontRecord font = Font(10, 0, 0, 0, "Arial");
    EXPECT_FALSE(EditFontRecord(font, nullptr, false));
    EXPECT_EQ(font, Font(10, 0, 0, 0, "Arial"));
}

} // namespace
