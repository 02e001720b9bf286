#include "framework/dialog/DialogFrameCL.h"
#include "foundation/MemoryStream.h"
#include "framework/dialog/DialogUnits.h"
#include "framework/dialog/GenericCtrl.h"
#include "framework/window/ResourceLibrary.h"
#include "framework/window/FrameworkApp.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The client rectangle of a control in its dialog's client coordinates.
RECT PlaceOf(HWND dialog, HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST(DialogUnits, BaseUnitsRoundHalfUp)
{
    struct Case {
        int lettersWidth, base, units, horizontal;
    };
    // 1275 / 52 = 24 remainder 27: base 25; 25 x 7 = 175 = 43 x 4 + 3: 44 pixels.
    const Case cases[] = {{1275, 25, 7, 44}, {1273, 24, 7, 42}, {312, 6, 10, 15}, {338, 7, 2, 4}};
    for (const Case& c : cases) {
        EXPECT_EQ(zDialogUnit::BaseFromLettersWidth(c.lettersWidth), c.base) << c.lettersWidth;
        EXPECT_EQ(zDialogUnit::Horizontal(c.base, c.units), c.horizontal) << c.lettersWidth;
    }
    // Vertically the remainder of 8 rounds up from 4: 13 x 12 = 156 = 19 x 8 + 4.
    EXPECT_EQ(zDialogUnit::Vertical(13, 12), 20);
    EXPECT_EQ(zDialogUnit::Vertical(13, 11), 18);
}

// A dialog-unit measure is stored as an object and made again by its class name.
TEST(DialogUnits, StoredAndMadeByName)
{
    const LONG bases = GetDialogBaseUnits();
    const zDialogUnit units(8, 16, nullptr);
    EXPECT_EQ(units.DeviceX(), LOWORD(bases) * 8 / 4);
    EXPECT_EQ(units.DeviceY(), HIWORD(bases) * 16 / 8);
    MemoryStream out(100);
    out.WriteObject(&units);
    MemoryStream in(const_cast<uint8_t*>(out.Data()), out.Position(), false);
    zStorable* object = nullptr;
    in.ReadObject(object);
    ASSERT_NE(object, nullptr);
    std::unique_ptr<zStorable> made(object);
    EXPECT_EQ(made->ClassRecord(), StorableRegistry::Find("zDialogUnit"));
    const auto& back = static_cast<const zDialogUnit&>(*made);
    EXPECT_EQ(back.DeviceX(), units.DeviceX());
    EXPECT_EQ(back.DeviceY(), units.DeviceY());
    EXPECT_EQ(back.LogicalX(), 8);
    EXPECT_EQ(back.LogicalY(), 16);
}

TEST(DialogTemplateParse, ShortOrExtendedBytesAreRefused)
{
    // Header of a classic template with one item, cut inside the item.
    std::vector<uint8_t> bytes = {0x00, 0x00, 0xC0, 0x80, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 10, 0, 10, 0,
                                  0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    DialogTemplate parsed;
    EXPECT_FALSE(ParseDialogTemplate(bytes.data(), bytes.size(), parsed));
    const uint8_t extended[] = {1, 0, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(ParseDialogTemplate(extended, sizeof extended, parsed));
    // Without the item the header alone is complete.
    bytes[8] = 0;
    ASSERT_TRUE(ParseDialogTemplate(bytes.data(), 26, parsed));
    EXPECT_EQ(parsed.cx, 10);
    EXPECT_TRUE(parsed.items.empty());
}

TEST(DialogEngine, BuildsEveryControlWithItsSystemClassInTheDialogFontsUnits)
{
    ScopedApplication app;
    RecordingTopWindow top;
    top.Create();
    DialogFrameCL dialog(&top, ResourceId(61100u, nullptr));
    ASSERT_TRUE(dialog.TemplateFound());
    ASSERT_NE(dialog.Handle(), nullptr);
    EXPECT_FALSE(GetWindowLongA(dialog.Handle(), GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(ClassOf(dialog.Handle()), "DialogFrameCL");

    const struct {
        unsigned id;
        const char* className;
    } expected[] = {{101, "Edit"},    {102, "Edit"},     {103, "Button"}, {104, "Button"}, {105, "Button"},
                    {106, "ListBox"}, {107, "ComboBox"}, {108, "ComboBox"}, {IDOK, "Button"}, {IDCANCEL, "Button"}};
    ASSERT_EQ(dialog.Children().size(), std::size(expected));
    auto child = dialog.Children().begin();
    for (const auto& item : expected) {
        EXPECT_EQ((*child)->Id(), item.id);
        EXPECT_EQ(ClassOf((*child)->Handle()), std::string(item.className)) << item.id;
        EXPECT_EQ(GetDlgCtrlID((*child)->Handle()), static_cast<int>(item.id));
        ++child;
    }
    EXPECT_EQ(dialog.DefaultButtonId(), static_cast<unsigned>(IDOK));

    // The dialog font is MS Sans Serif at 8 points of the parent's screen, and every control uses it.
    LOGFONTA font{};
    ASSERT_NE(dialog.DialogFont(), nullptr);
    GetObjectA(dialog.DialogFont(), sizeof font, &font);
    HDC screen = GetDC(top.Handle());
    EXPECT_EQ(font.lfHeight, -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(dialog.FindChild(101)->Handle(), WM_GETFONT, 0, 0)),
              dialog.DialogFont());

    // Units measured here with that font place the OK button (90, 110, 50, 14).
    HGDIOBJ previous = SelectObject(screen, dialog.DialogFont());
    SIZE letters;
    GetTextExtentPoint32A(screen, "ABCDEFGHIJLKMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
    TEXTMETRICA metrics;
    GetTextMetricsA(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(top.Handle(), screen);
    const int baseX = letters.cx / 52 + (letters.cx % 52 >= 26);
    const int baseY = metrics.tmHeight + metrics.tmExternalLeading;
    auto pixelsX = [&](int units) { return (baseX * units) / 4 + ((baseX * units) % 4 >= 2); };
    auto pixelsY = [&](int units) { return (baseY * units) / 8 + ((baseY * units) % 8 >= 4); };
    const RECT ok = PlaceOf(dialog.Handle(), dialog.FindChild(IDOK)->Handle());
    EXPECT_EQ(ok.left, pixelsX(90));
    EXPECT_EQ(ok.top, pixelsY(110));
    EXPECT_EQ(ok.right - ok.left, pixelsX(50));
    EXPECT_EQ(ok.bottom - ok.top, pixelsY(14));
    RECT client;
    GetClientRect(dialog.Handle(), &client);
    EXPECT_EQ(client.right, pixelsX(200));
    EXPECT_EQ(client.bottom, pixelsY(130));
}

TEST(DialogEngine, WithoutAFontOrAParentTheSystemsBaseUnitsApply)
{
    ScopedApplication app;
    DialogFrameCL dialog(nullptr, ResourceId(61300u, nullptr));
    ASSERT_NE(dialog.Handle(), nullptr);
    EXPECT_EQ(dialog.DialogFont(), nullptr);
    const LONG units = GetDialogBaseUnits();
    const RECT edit = PlaceOf(dialog.Handle(), dialog.FindChild(301)->Handle());
    EXPECT_EQ(edit.left, LOWORD(units) * 7 / 4);
    EXPECT_EQ(edit.top, HIWORD(units) * 8 / 8);
    EXPECT_EQ(edit.right - edit.left, LOWORD(units) * 40 / 4);

    // A dialog with a font but no parent drops the font.
    DialogFrameCL orphan(nullptr, ResourceId(61100u, nullptr));
    EXPECT_EQ(orphan.DialogFont(), nullptr);
}

class RecordingUnknownClasses : public DialogFrameCL {
public:
    explicit RecordingUnknownClasses(WindowCL* parent) : DialogFrameCL(parent, ResourceId(61200u, nullptr), 0, true)
    {
        Create();
    }
    void OnUnknownClass(const char* className, const char* text, unsigned id, POINT, SIZE, DWORD) override
    {
        unknown.push_back(std::string(className) + "/" + text + "/" + std::to_string(id));
    }
    std::vector<std::string> unknown;
};

TEST(DialogEngine, UnknownClassGoesToTheHookAndLaterItemsAreStillMade)
{
    ScopedApplication app;
    RecordingTopWindow top;
    top.Create();
    RecordingUnknownClasses dialog(&top);
    // The resource compiler keeps class names in capitals.
    EXPECT_EQ(dialog.unknown, std::vector<std::string>{"NOSUCHCONTROLCLASS/ /201"});
    EXPECT_EQ(dialog.FindChild(201), nullptr);
    ASSERT_NE(dialog.FindChild(202), nullptr);
    ASSERT_NE(dialog.FindChild(203), nullptr);
    EXPECT_EQ(ClassOf(dialog.FindChild(202)->Handle()), "Edit");
    // No BS_DEFPUSHBUTTON: no default button.
    EXPECT_EQ(dialog.DefaultButtonId(), DialogFrameCL::NoDefaultButton);
}

const UINT Probe = WM_APP + 11;

LRESULT CALLBACK LibraryClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return message == Probe ? 42 : DefWindowProcA(window, message, wParam, lParam);
}

TEST(GenericCtrl, ALibrarysClassKeepsItsProcedureBehindTheControls)
{
    ScopedApplication app;
    RecordingTopWindow top;
    top.Create();
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = LibraryClassProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KivoLibraryCtl";
    RegisterClassA(&windowClass);
    ResourceLibrary::Add("KivoLibraryCtl", nullptr);
    struct Recording : GenericCtrl {
        using GenericCtrl::GenericCtrl;
        LRESULT DefaultProcessing(WindowEvent* event) override
        {
            passedOn += event && event->message == Probe;
            return GenericCtrl::DefaultProcessing(event);
        }
        int passedOn = 0;
    };
    auto* control = new Recording(&top, RECT{0, 0, 30, 20}, WS_CHILD, "", 5, "KivoLibraryCtl", nullptr);
    ASSERT_NE(control->Handle(), nullptr);
    EXPECT_EQ(SendMessageA(control->Handle(), Probe, 0, 0), 42);
    EXPECT_EQ(control->passedOn, 1);
    DestroyWindow(control->Handle());
    ResourceLibrary::FreeAll();
    UnregisterClassA("KivoLibraryCtl", GetModuleHandleA(nullptr));
}

TEST(DialogEngine, MissingTemplateGivesAnEmptyFrame)
{
    ScopedApplication app;
    DialogFrameCL dialog(nullptr, ResourceId(9999u, nullptr));
    EXPECT_FALSE(dialog.TemplateFound());
    ASSERT_NE(dialog.Handle(), nullptr);
    EXPECT_TRUE(dialog.Children().empty());
}

} // namespace
