#include "framework/dialog/ButtonCtrl.h"
#include "framework/dialog/ComboBoxCtrl.h"
#include "framework/dialog/DialogFrameCL.h"
#include "framework/dialog/FormattedEdit.h"
#include "foundation/IntlSettings.h"
#include "foundation/LocaleChars.h"
#include "framework/dialog/ListBoxCtrl.h"
#include "framework/dialog/RadioGroup.h"
#include "framework/dialog/StaticCtrl.h"
#include "formula/Formula.h"
#include "framework/window/Clipboard.h"
#include "tests/framework/dialog/TestRangeValidator.h"
#include "tests/framework/window/TestWindows.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

struct DialogFixture {
    ScopedApplication app;
    RecordingTopWindow top;
    std::unique_ptr<DialogFrameCL> dialog;
    DialogFixture()
    {
        top.Create();
        dialog = std::make_unique<DialogFrameCL>(&top, ResourceId(61100u, nullptr));
    }
    HWND Item(unsigned id) const { return dialog->FindChild(id)->Handle(); }
};

// Holds the keys down in this thread's keyboard state, which GetKeyState reads, and lets them go after.
class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<int> keys)
    {
        GetKeyboardState(saved_);
        BYTE state[256];
        GetKeyboardState(state);
        for (int key : keys)
            state[key] = 0x80;
        SetKeyboardState(state);
    }
    ~HeldKeys() { SetKeyboardState(saved_); }

private:
    BYTE saved_[256];
};

TEST(FormattedEdit, NumbersAreOfferedToTheValidatorSignedAndWithoutTrailingZeros)
{
    DialogFixture fixture;
    std::vector<std::string> offered;
    const struct {
        double value;
        const char* text;
    } reals[] = {{0.0, "+0"}, {-1.25, "-1.25"}, {2.5, "+2.5"}, {3.0, "+3"}, {10.0, "+10"}, {30.5, "+30.5"}, {1e-8, "+0"}};
    for (const auto& c : reals) {
        double value = c.value;
        auto* field = RealEdit::FromTemplate(fixture.dialog.get(), 101, new TestRangeValidator(-10, 10, &offered), 0, &value);
        ASSERT_FALSE(offered.empty());
        EXPECT_EQ(offered.back(), c.text) << c.value;
        EXPECT_EQ(field->GetText(), c.text);
    }
    int count = 42;
    IntegerEdit::FromTemplate(fixture.dialog.get(), 102, new TestRangeValidator(0, 100, &offered), 0, &count);
    EXPECT_EQ(offered.back(), "+42");
}

TEST(FormattedEdit, EnterIsSwallowedEscapeCancelsAndRejectedKeysChangeNothing)
{
    DialogFixture fixture;
    std::vector<std::string> log;
    RecordingTarget cancel(&log, "cancel", 1);
    fixture.dialog->AddHandler(&cancel, &RecordingTarget::Handle, WM_COMMAND);
    double value = 1.5;
    auto* field = RealEdit::FromTemplate(fixture.dialog.get(), 101, new TestRangeValidator(-10, 10), 0, &value);
    field->SetSelection(0, -1);
    SendMessageA(field->Handle(), WM_CHAR, '\r', 0);
    SendMessageA(field->Handle(), WM_CHAR, 'x', 0);
    EXPECT_EQ(field->GetText(), "+1.5");
    SendMessageA(field->Handle(), WM_CHAR, '7', 0);
    EXPECT_EQ(field->GetText(), "7");
    SendMessageA(field->Handle(), WM_CHAR, 27, 0);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, fixture.dialog->Handle(), WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(message.wParam, static_cast<WPARAM>(IDCANCEL));
}

TEST(FormattedEdit, ControlKeysCopyAndCutThroughTheClipboardAndSwallowTheirCharacter)
{
    ClipboardTestLock lock;
    DialogFixture fixture;
    double value = 12.25;
    auto* field = RealEdit::FromTemplate(fixture.dialog.get(), 101, new TestRangeValidator(-100, 100), 0, &value);
    Clipboard clipboard(field);
    auto clipboardText = [&] {
        std::unique_ptr<char[]> text(clipboard.GetText());
        return std::string(text ? text.get() : "");
    };
    field->SetSelection(1, 3);
    {
        HeldKeys control({VK_CONTROL});
        SendMessageA(field->Handle(), WM_KEYDOWN, 'C', 0);
        SendMessageA(field->Handle(), WM_CHAR, 3, 0);
    }
    EXPECT_EQ(clipboardText(), "12");
    EXPECT_EQ(field->GetText(), "+12.25");
    {
        HeldKeys shift({VK_SHIFT});
        field->SetSelection(3, 6);
        SendMessageA(field->Handle(), WM_KEYDOWN, VK_DELETE, 0);
        SendMessageA(field->Handle(), WM_CHAR, 8, 0);
    }
    EXPECT_EQ(clipboardText(), ".25");
    EXPECT_EQ(field->GetText(), "+12");
    clipboard.Empty();
    clipboard.PutText("-3");
    field->SetSelection(0, -1);
    SendMessageA(field->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(field->GetText(), "-3");
}

TEST(RadioGroup, OneCheckedMemberCarriesTheTabStopAndIsStored)
{
    DialogFixture fixture;
    int choice = 105;
    auto* group = new RadioGroup(fixture.dialog.get(), 104, 105, &choice, 0);
    auto tabStop = [&](unsigned id) { return (GetWindowLongA(fixture.Item(id), GWL_STYLE) & WS_TABSTOP) != 0; };
    EXPECT_EQ(SendMessageA(fixture.Item(105), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(fixture.Item(104), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(tabStop(105));
    EXPECT_FALSE(tabStop(104));

    SendMessageA(fixture.Item(104), BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(fixture.Item(105), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(tabStop(104));
    EXPECT_FALSE(tabStop(105));
    EXPECT_EQ(group->Store(), 1);
    EXPECT_EQ(choice, 104);

    // Clicking the checked member again keeps it checked with its tab stop.
    SendMessageA(fixture.Item(104), BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(fixture.Item(104), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(tabStop(104));

    // An id outside the range is ignored on load.
    choice = 300;
    EXPECT_EQ(group->Load(), 1);
    EXPECT_EQ(SendMessageA(fixture.Item(104), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST(RadioGroup, AnIdInRangeWithoutAControlLeavesNoMemberCheckedAndRefuses)
{
    DialogFixture fixture;
    int choice = 104;
    auto* group = new RadioGroup(fixture.dialog.get(), 104, 109, &choice, 0);
    choice = 109;
    group->Load();
    EXPECT_EQ(group->CheckedMember(), nullptr);
    EXPECT_EQ(group->Validate(), 0);
    EXPECT_EQ(group->Store(), 0);
    EXPECT_EQ(choice, 109);
}

TEST(ListsAndCombos, TextBindingsSelectByPrefixAndRefuseNoSelectionUnlessAllowed)
{
    DialogFixture fixture;
    const char* const fruit[] = {"apple", "banana", "cherry", nullptr};
    zString wanted("zebra");
    auto* drop = DropListCtrl::FromTemplateText(fixture.dialog.get(), 107, &wanted, 0);
    drop->AddStrings(fruit);
    drop->Load();
    EXPECT_EQ(drop->GetCurSel(), -1);
    EXPECT_EQ(drop->Validate(), 0);
    drop->SetFlags(CtrlWindowCL::MayBeEmpty);
    EXPECT_EQ(drop->Validate(), 1);
    wanted = "ban";
    drop->Load();
    drop->Store();
    EXPECT_EQ(wanted, "banana");

    // A combo box with an edit part stores the typed text, in no entry or not.
    zString typed("");
    auto* combo = ComboBoxCtrl::FromTemplate(fixture.dialog.get(), 108);
    combo->SetTextBuffer(&typed, 0);
    combo->AddStrings(fruit);
    SetWindowTextA(combo->Handle(), "durian");
    EXPECT_EQ(combo->Validate(), 1);
    combo->Store();
    EXPECT_EQ(typed, "durian");

    int index = 7;
    auto* list = ListIndexCtrl::FromTemplateIndex(fixture.dialog.get(), 106, &index, 0);
    list->AddStrings(fruit);
    list->SetCurSel(-1);
    list->Store();
    EXPECT_EQ(index, -1);
    zString past("x");
    list->GetString(past, 10);
    EXPECT_EQ(past, "");
}

TEST(Controls, AControlThatDeletesWithItsWindowIsDeletedOnceAfterItsMapEntryIsGone)
{
    ScopedApplication app;
    RecordingTopWindow top;
    top.Create();
    static int deletions;
    static bool mappedWhileDeleted;
    deletions = 0;
    struct CountedEdit : EditCtrl {
        CountedEdit(WindowCL* parent) : EditCtrl(parent, RECT{0, 0, 50, 20}, WS_CHILD, "text", 7) {}
        ~CountedEdit() override
        {
            ++deletions;
            mappedWhileDeleted = WindowCL::FromHandle(handle_) != nullptr;
        }
    };
    auto* edit = new CountedEdit(&top);
    edit->SetStateBits(WindowCL::StateDeleteWithWindow);
    HWND handle = edit->Handle();
    ASSERT_EQ(WindowCL::FromHandle(handle), edit);
    DestroyWindow(handle);
    EXPECT_EQ(deletions, 1);
    EXPECT_FALSE(mappedWhileDeleted);
    EXPECT_TRUE(top.Children().empty());
}

TEST(StaticCtrl, FillAndFrameKindsReplaceTheStylesKindAndTheFrameWins)
{
    ScopedApplication app;
    RecordingTopWindow top;
    top.Create();
    struct Case {
        int fill, frame;
        DWORD kind;
    };
    const Case cases[] = {{-1, -1, SS_CENTER}, {1, -1, SS_GRAYRECT}, {-1, 2, SS_WHITEFRAME},
                          {2, 0, SS_BLACKFRAME}, {3, -1, SS_CENTER}};
    for (const Case& c : cases) {
        auto* label = new StaticCtrl(&top, RECT{0, 0, 40, 20}, SS_CENTER | WS_TABSTOP, "", 9, c.fill, c.frame);
        const DWORD style = GetWindowLongA(label->Handle(), GWL_STYLE);
        EXPECT_EQ(style & SS_TYPEMASK, c.kind) << c.fill << " " << c.frame;
        EXPECT_EQ(style & WS_TABSTOP, 0u);
        DestroyWindow(label->Handle());
    }
}

class WinIniIntl {
public:
    WinIniIntl() : lock_("KIVO-tests-winini-intl", LockRank::SystemSettings)
    {
        for (const char* key : Keys) {
            char value[64];
            const bool present = GetProfileStringA("intl", key, "\x01", value, sizeof value) && value[0] != '\x01';
            saved_.push_back({key, present, value});
        }
    }
    ~WinIniIntl()
    {
        for (const Saved& entry : saved_)
            WriteProfileStringA("intl", entry.key, entry.present ? entry.value.c_str() : nullptr);
    }
    void Set(const char* key, const char* value) { WriteProfileStringA("intl", key, value); }

private:
    static constexpr const char* Keys[] = {"sDecimal", "sThousand", "sCurrency", "iCurrDigits", "iCurrency",
                                           "iNegCurr"};
    struct Saved {
        const char* key;
        bool present;
        std::string value;
    };
    ProcessLock lock_;
    std::vector<Saved> saved_;
};

TEST(IntlSettings, ReadsWinIniWithDefaultsAndTheNegativeCurrencyStyles)
{
    WinIniIntl intl;
    intl.Set("sDecimal", ",");
    intl.Set("sThousand", "");
    intl.Set("sCurrency", "kr");
    intl.Set("iCurrDigits", "3");
    intl.Set("iCurrency", "3");
    const struct {
        const char* negCurr;
        char symbolBefore, flag5, style;
    } cases[] = {{"0", '1', '0', '0'}, {"1", '1', '0', '1'}, {"2", '1', '0', '4'},  {"3", '1', '0', '2'},
                 {"4", '0', '0', '0'}, {"5", '0', '0', '1'}, {"6", '0', '0', '3'},  {"7", '0', '0', '2'},
                 {"8", '0', '1', '1'}, {"9", '1', '1', '1'}, {"10", '1', '1', '2'}, {"15", '1', '0', '1'}};
    for (const auto& c : cases) {
        intl.Set("iNegCurr", c.negCurr);
        const IntlSettings settings;
        EXPECT_EQ(settings.flags[4], c.symbolBefore) << c.negCurr;
        EXPECT_EQ(settings.flags[5], c.flag5) << c.negCurr;
        EXPECT_EQ(settings.flags[7], c.style) << c.negCurr;
    }
    const IntlSettings settings;
    EXPECT_STREQ(settings.decimal, ",");
    EXPECT_STREQ(settings.thousands, ",");
    EXPECT_STREQ(settings.currency, "kr");
    EXPECT_EQ(std::string(settings.flags, 4), "3301");
    EXPECT_STREQ(settings.negativeSign, "-");
    // The program's number characters come from these settings; a long currency symbol keeps two.
    intl.Set("sCurrency", "EUR");
    LocaleChars chars;
    chars.Read();
    EXPECT_EQ(std::string() + chars.decimalChar + chars.thousandsChar + chars.currency, ",,EU");
}

} // namespace

namespace {

TEST(EditCtrl, FormulaErrorSelectsTheFailingWordInTheFieldAndFocusesIt)
{
    FocusTestLock lock;
    DialogFixture fixture;
    zString formula("cost + badName * 2");
    auto* field = EditCtrl::FromTemplate(fixture.dialog.get(), 101, &formula);
    fixture.dialog->Show(SW_SHOW);
    SetFocus(fixture.Item(102));
    SelectErrorInEdit(field, 7);
    const EditCtrl::Selection selection = field->GetSelection();
    EXPECT_EQ(selection.low, 7);
    EXPECT_EQ(selection.high, 14);
    EXPECT_EQ(GetFocus(), field->Handle());
}

} // namespace
