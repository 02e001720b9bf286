// Every dialog template of the program, built as the program builds it and in the program's dialog font,
// lays out as a person must see it: controls inside the client area, none overlapping, every text fitting.

#include "app/AppDialog.h"
#include "app/StartProgram.h"
#include "dialogs/HookedDialog.h"
#include "dialogs/PreferencesDialog.h"
#include "framework/dialog/MDIdialogCL.h"
#include "framework/window/MDIframeCL.h"
#include "tests/support/DialogLayoutCheck.h"
#include "tests/support/ScopedApplication.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
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

DWORD TemplateStyle(unsigned id)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), RT_DIALOG);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const auto* bytes = static_cast<const DWORD*>(loaded ? LockResource(loaded) : nullptr);
    return bytes ? *bytes : 0;
}

class DialogLayout : public testing::TestWithParam<unsigned> {
protected:
    static void SetUpTestSuite()
    {
        if (!CurrentDialogFont)
            CreateDialogFont();
    }

    ScopedApplication app;
    MDIframeCL frame{nullptr, WS_OVERLAPPEDWINDOW, "frame"};
};

TEST_P(DialogLayout, ControlsStayInsideApartAndTheirTextsFit)
{
    const unsigned id = GetParam();
    const DWORD style = TemplateStyle(id);
    // A page lives in the Preferences dialog; a window template becomes a child of the frame's client;
    // the others are the program's dialogs.
    std::unique_ptr<HookedDialog> host;
    std::unique_ptr<WindowCL> window;
    if (style & DS_CONTROL) {
        host = std::make_unique<HookedDialog>(PreferencesDialog::kTemplateId);
        window = std::make_unique<DialogPage>(host.get(), id);
    } else if (style & WS_CHILD) {
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
