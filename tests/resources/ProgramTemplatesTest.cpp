// Every dialog template the program carries: the classic layout the engine reads, system classes by atom
// only, one of the program's two fonts, the standard ids of OK, Cancel and Help; and the engine builds each
// one completely.

#include "framework/dialog/DialogFrameCL.h"
#include "framework/dialog/DialogTemplate.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

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
            if ((item.id & 0xFFFF) != 0xFFFF)
                EXPECT_TRUE(controlIds.insert(item.id).second);
            EXPECT_GE(item.classAtom, 0x80u);
            EXPECT_LE(item.classAtom, 0x85u);
            EXPECT_EQ(item.extendedStyle, 0u);
            EXPECT_FALSE(item.ordinalTitle);
            EXPECT_EQ(item.extraBytes, 0u);
            if (item.classAtom != 0x80)
                continue;
            const std::string text = Plain(item.title);
            // OK ends a dialog with IDOK, or with IDCANCEL where it is the only way out.
            if (text == "OK")
                EXPECT_TRUE(item.id == static_cast<unsigned>(IDOK) || item.id == static_cast<unsigned>(IDCANCEL));
            if (text == "Cancel")
                EXPECT_EQ(item.id, static_cast<unsigned>(IDCANCEL));
            // Help opens the on-line help, except in the Extended Custom Interface Parameters dialog, whose
            // Help opens a dialog of its own.
            if (text == "Help" && id != 3810)
                EXPECT_EQ(item.id, 111u);
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
        EXPECT_EQ(dialog.Children().size(), parsed.items.size());
        for (const WindowCL* child : dialog.Children())
            EXPECT_TRUE(IsWindow(child->Handle()));
    }
}

} // namespace
