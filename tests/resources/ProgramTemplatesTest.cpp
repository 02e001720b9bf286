// Every dialog template the program carries: the classic layout the engine reads, system classes by atom
// only, one of the program's two fonts, the standard ids of OK, Cancel and Help; the engine builds each one
// completely, hiding what it hides; and, built as the program builds it in the program's dialog font, it lays out as a person must
// see it: controls inside the client area, none overlapping, every text fitting.

#include "widgets/AppDialog.h"
#include "app/StartProgram.h"
#include "dialogs/HookedDialog.h"
#include "app/PreferencesDialog.h"
#include "framework/dialog/DialogFrameCL.h"
#include "framework/dialog/DialogTemplate.h"
#include "framework/dialog/MDIdialogCL.h"
#include "framework/window/MDIframeCL.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/DialogLayoutCheck.h"
#include "tests/support/ScopedApplication.h"

#include "CommandIds.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

BOOL CALLBACK CollectDialog(HMODULE, LPCSTR, LPSTR name, LONG_PTR ids)
{
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<unsigned>*>(ids)->push_back(static_cast<unsigned>(reinterpret_cast<UINT_PTR>(name)));
    return TRUE;
}

std::vector<unsigned> ProgramTemplateIds()
{
    std::vector<unsigned> ids;
    EnumResourceNamesA(GetModuleHandleA(nullptr), RT_DIALOG, CollectDialog, reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}

bool ReadTemplate(unsigned id, DialogTemplate& parsed)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), RT_DIALOG);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    return bytes && ParseDialogTemplate(static_cast<const uint8_t*>(bytes), SizeofResource(module, found), parsed);
}

// A button's text without its mnemonic mark.
std::string Plain(const std::string& text)
{
    std::string plain;
    for (char c : text) {
        if (c != '&')
            plain += c;
    }
    return plain;
}

class CountingDialog : public DialogFrameCL {
public:
    CountingDialog(WindowCL* parent, unsigned id) : DialogFrameCL(parent, ResourceId(id, nullptr), 0, true) { Create(); }
    void OnUnknownClass(const char* className, const char*, unsigned id, POINT, SIZE, DWORD) override
    {
        unknown.push_back(std::string(className) + " " + std::to_string(id));
    }
    std::vector<std::string> unknown;
};

TEST(ProgramTemplates, EveryTemplateIsClassicWithAtomClassesOneOfTwoFontsAndStandardButtonIds)
{
    const std::vector<unsigned> ids = ProgramTemplateIds();
    ASSERT_FALSE(ids.empty());
    for (unsigned id : ids) {
        SCOPED_TRACE("dialog " + std::to_string(id));
        DialogTemplate parsed;
        ASSERT_TRUE(ReadTemplate(id, parsed));
        EXPECT_EQ(parsed.extendedStyle, 0u);
        ASSERT_TRUE(parsed.hasFont);
        const std::string font = parsed.faceName + " " + std::to_string(parsed.pointSize);
        EXPECT_TRUE(font == "MS Sans Serif 8" || font == "Arial 12") << font;
        std::set<unsigned> controlIds;
        for (const DialogItemTemplate& item : parsed.items) {
            SCOPED_TRACE("item " + std::to_string(item.id) + " " + item.title);
            // Controls are found by id: every id but the unnamed one stands once.
            if ((item.id & 0xFFFF) != 0xFFFF) {
                EXPECT_TRUE(controlIds.insert(item.id).second);
            }
            EXPECT_GE(item.classAtom, 0x80u);
            EXPECT_LE(item.classAtom, 0x85u);
            EXPECT_EQ(item.extendedStyle, 0u);
            EXPECT_FALSE(item.ordinalTitle);
            EXPECT_EQ(item.extraBytes, 0u);
            if (item.classAtom != 0x80)
                continue;
            const std::string text = Plain(item.title);
            // OK ends a dialog with IDOK, or with IDCANCEL where it is the only way out.
            if (text == "OK") {
                EXPECT_TRUE(item.id == static_cast<unsigned>(IDOK) || item.id == static_cast<unsigned>(IDCANCEL));
            }
            if (text == "Cancel") {
                EXPECT_EQ(item.id, static_cast<unsigned>(IDCANCEL));
            }
            // Help opens the on-line help, except in the Extended Custom Interface Parameters dialog, whose
            // Help opens a dialog of its own.
            if (text == "Help" && id != 3810) {
                EXPECT_EQ(item.id, 111u);
            }
        }
    }
}

TEST(ProgramTemplates, TheEngineBuildsEveryItemOfEveryTemplate)
{
    ScopedApplication app;
    RecordingTopWindow top;
    top.Create();
    for (unsigned id : ProgramTemplateIds()) {
        SCOPED_TRACE("dialog " + std::to_string(id));
        DialogTemplate parsed;
        ASSERT_TRUE(ReadTemplate(id, parsed));
        CountingDialog dialog(&top, id);
        ASSERT_NE(dialog.Handle(), nullptr);
        EXPECT_TRUE(dialog.unknown.empty());
        ASSERT_EQ(dialog.Children().size(), parsed.items.size());
        auto item = parsed.items.begin();
        for (const WindowCL* child : dialog.Children()) {
            EXPECT_TRUE(IsWindow(child->Handle()));
            // An item the template hides stays hidden.
            const bool shown = GetWindowLongA(child->Handle(), GWL_STYLE) & WS_VISIBLE;
            EXPECT_EQ(shown, (item->style & WS_VISIBLE) != 0) << item->id;
            ++item;
        }
    }
}

// Texts of the dialogs in the program's own words: each is an item of its template.
TEST(ProgramTemplates, TextsReadInTheProgramsOwnWords)
{
    const struct {
        unsigned dialog;
        const char* text;
    } rows[] = {
        {DialogRes::SensitivityAnalysis, "Number of &Intervals:"},
        {DialogRes::SensitivityAnalysis, "High v&alue:"},
        {DialogRes::SensitivityAnalysis, "Draw one sensitivity line for:"},
        {DialogRes::ThresholdAnalysis, "High v&alue:"},
        {DialogRes::DefineValues, "Cl&ose"},
    };
    for (const auto& row : rows) {
        DialogTemplate parsed;
        ASSERT_TRUE(ReadTemplate(row.dialog, parsed));
        bool found = false;
        for (const auto& item : parsed.items)
            found = found || item.title == row.text;
        EXPECT_TRUE(found) << row.dialog << " " << row.text;
    }
}

class DialogLayout : public testing::TestWithParam<unsigned> {
protected:
    static void SetUpTestSuite()
    {
        if (!TheProgram()->CurrentDialogFont())
            TheProgram()->CreateDialogFont();
    }

    ScopedApplication app;
    MDIframeCL frame{nullptr, WS_OVERLAPPEDWINDOW, "frame"};
};

TEST_P(DialogLayout, ControlsStayInsideApartAndTheirTextsFit)
{
    const unsigned id = GetParam();
    DialogTemplate parsed;
    ASSERT_TRUE(ReadTemplate(id, parsed));
    // A page lives in the Preferences dialog; a window template becomes a child of the frame's client;
    // the others are the program's dialogs.
    std::unique_ptr<HookedDialog> host;
    std::unique_ptr<WindowCL> window;
    if (parsed.style & DS_CONTROL) {
        host = std::make_unique<HookedDialog>(DialogRes::Preferences);
        window = std::make_unique<DialogPage>(host.get(), id);
    } else if (parsed.style & WS_CHILD) {
        window = std::make_unique<MDIdialogCL>(&frame, ResourceId(id, nullptr));
    } else {
        window = std::make_unique<AppDialog>(id);
    }
    ASSERT_NE(window->Handle(), nullptr);
    EXPECT_THAT(DialogLayoutFaults(window->Handle()), testing::IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(ProgramTemplates, DialogLayout, testing::ValuesIn(ProgramTemplateIds()),
                         [](const testing::TestParamInfo<unsigned>& info) { return std::to_string(info.param); });

} // namespace
