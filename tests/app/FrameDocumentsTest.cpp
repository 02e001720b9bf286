// The main frame with document windows: the save questions of quitting and closing, the Undo and Redo items
// and printing from the frame, each command posted as the menu sends it.

#include "widgets/DocChildWindow.h"
#include "app/MainFrame.h"
#include "app/StartProgram.h"
#include "widgets/ZoomPane.h"
#include "app/PreferencesDialog.h"
#include "foundation/PreferencesStore.h"
#include "framework/dialog/FileDialogs.h"
#include "framework/draw/MeasuringDisplay.h"
#include "script/ScriptManager.h"
#include "framework/window/ChildLayout.h"
#include "framework/dialog/Menu.h"
#include "tests/support/MenuItemState.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalDialogDriver.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/PumpMessages.h"
#include "tests/support/ScopedApplication.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A document window as far as the frame sees it: it asks its save question and prints on no printer.
class TestDocument : public DocChildWindow {
public:
    explicit TestDocument(const char* title) : DocChildWindow(title, 0) { Show(SW_SHOWNORMAL); }
    int QueryClose(const char* question) override { return AskYesNoCancel(nullptr, question, 0) != 2; }
    int IsDocument() override { return 1; }
    int CanPrint() override { return 1; }
    int Print(int) override { return 0; }
};

// A document that prints through its pane, as the program's documents do.
class PaneDocument : public DocChildWindow {
public:
    explicit PaneDocument(const char* title) : DocChildWindow(title, 0)
    {
        SetPane(new ZoomPane(this, new ChildLayout(0, 0, 300, 200, nullptr), WS_CHILD | WS_VISIBLE));
        Show(SW_SHOWNORMAL);
    }
    int CanPrint() override { return 1; }
};

class Typing : public UndoAction {
public:
    explicit Typing(DocChildWindow* window) : UndoAction(window, "Typing") {}
    void Do() override {}
    void Undo() override {}
};

class FrameDocuments : public ::testing::Test {
protected:
    FrameDocuments()
    {
        frame = new MainFrame;
        frame->EndStartup();
        frame->Show(SW_SHOWNOACTIVATE);
    }
    ~FrameDocuments() override { delete frame; }

    void Post(unsigned id)
    {
        PostMessageA(frame->Handle(), WM_COMMAND, id, 0);
        MSG pending;
        PumpMessagesUntil([&] { return !PeekMessageA(&pending, frame->Handle(), WM_COMMAND, WM_COMMAND, PM_NOREMOVE); });
    }
    std::vector<std::string> Questions() const
    {
        std::vector<std::string> texts;
        for (const auto& box : boxes.Boxes())
            texts.push_back(box.text);
        return texts;
    }
    size_t WindowCount() const
    {
        std::vector<WindowCL*> windows;
        frame->CollectWindows(windows);
        return windows.size();
    }
    std::string ItemText(UINT id) const
    {
        char text[64] = {};
        GetMenuStringA(GetMenu(frame->Handle()), id, text, sizeof text, MF_BYCOMMAND);
        return text;
    }
    bool Grayed(UINT id) const { return MenuItemGrayed(GetMenu(frame->Handle()), id); }
    void OpenMenu() { SendMessageA(frame->Handle(), WM_INITMENU, 0, 0); }

    // The documents must stay the active children while the commands reach them.
    FocusTestLock focus;
    ScopedApplication app;
    MainFrame* frame;
    MessageBoxRecorder boxes;
};

TEST_F(FrameDocuments, QuitAsksTheLastDocumentFirstAndCancelKeepsTheRestOpen)
{
    new TestDocument("A");
    auto* b = new TestDocument("B");
    new TestDocument("C");
    boxes.Answer(IDNO);
    boxes.Answer(IDCANCEL);
    Post(1199);
    EXPECT_EQ((std::vector<std::string>{"Save changes to \"C\" before quitting?",
                                        "Save changes to \"B\" before quitting?"}),
              Questions());
    EXPECT_EQ(2u, WindowCount());
    EXPECT_TRUE(IsWindow(frame->Handle()));
    EXPECT_FALSE(DrainQuitMessage());

    // Close All asks the active window, then the next active one, until one refuses. The command is sent right
    // after the activation, with no message pumped in between that could move it.
    boxes.Clear();
    boxes.Answer(IDYES);
    boxes.Answer(IDCANCEL);
    b->Activate();
    SendMessageA(frame->Handle(), WM_COMMAND, 1904, 0);
    ASSERT_EQ(2u, boxes.Count());
    EXPECT_EQ("Save changes to \"B\" before closing?", boxes.Boxes()[0].text);
    EXPECT_EQ(1u, WindowCount());
}

// Windows without a question close together and the active one last; the first refusal keeps itself and
// the windows before it open, the frame's active child among them.
TEST_F(FrameDocuments, QuitClosesUnchangedWindowsUpToTheOneThatRefuses)
{
    auto* a = new TestDocument("A");
    auto* b = new PaneDocument("B");
    new PaneDocument("C");
    new PaneDocument("D");
    b->Activate();
    boxes.Answer(IDCANCEL);
    Post(1199);
    EXPECT_EQ(std::vector<std::string>{"Save changes to \"A\" before quitting?"}, Questions());
    ASSERT_EQ(1u, WindowCount());
    EXPECT_EQ(a, frame->ActiveChild());
    EXPECT_TRUE(IsWindow(frame->Handle()));
}

TEST_F(FrameDocuments, UndoAndRedoItemsNameTheActionAndGrayWithoutOne)
{
    OpenMenu();
    EXPECT_EQ("&Undo \tCtrl+Z", ItemText(1201));
    EXPECT_TRUE(Grayed(1201));
    auto* document = new TestDocument("A");
    document->AddUndoAction(new Typing(document));
    OpenMenu();
    EXPECT_EQ("&Undo Typing\tCtrl+Z", ItemText(1201));
    EXPECT_FALSE(Grayed(1201));
    EXPECT_EQ("Re&do \tCtrl+Shift+Z", ItemText(1219));
    EXPECT_TRUE(Grayed(1219));
    Post(1201);
    OpenMenu();
    EXPECT_EQ("Re&do Typing\tCtrl+Shift+Z", ItemText(1219));
    EXPECT_TRUE(Grayed(1201));
}

// With no document, and with the tree clipboard's window active, no Edit item but the clipboard's own can
// act: each reads its plain text and is gray, however the menu opened last.
TEST_F(FrameDocuments, EditItemsThatCannotActAreGrayWithNoDocumentAndUnderTheTreeClipboard)
{
    // The clipboard's window takes its slot items 1208 to 1211 and 1212 closes it.
    const UINT editItems[] = {1201, 1219, 1202, 1203, 1216, 1204, 1217, 1205, 1206, 1207, 1220, 1213, 1218};
    const auto expectEditGray = [&](const char* when) {
        for (UINT id : editItems)
            EXPECT_TRUE(Grayed(id)) << id << " " << when;
        EXPECT_FALSE(Grayed(1212)) << when;
        EXPECT_EQ("Cu&t\tCtrl+X", ItemText(1202)) << when;
    };
    new TestDocument("A");
    Post(1904);
    ASSERT_EQ(0u, WindowCount());
    OpenMenu();
    OpenMenu();
    expectEditGray("with no window");
    for (UINT id : {1208u, 1209u, 1210u, 1211u})
        EXPECT_TRUE(Grayed(id)) << id;
    for (UINT id : {1107u, 1904u, 1905u, 1104u, 1105u, 1111u, 1114u, 1106u, 1110u, 1112u, 1108u})
        EXPECT_TRUE(Grayed(id)) << id;
    EXPECT_EQ("Show Tr&ee Clipboard", ItemText(1212));

    Post(1212);
    ASSERT_EQ(1u, WindowCount());
    OpenMenu();
    expectEditGray("under the tree clipboard");
    EXPECT_EQ("Hide Tr&ee Clipboard", ItemText(1212));
    Post(1212);
    OpenMenu();
    EXPECT_EQ("Show Tr&ee Clipboard", ItemText(1212));
    EXPECT_EQ(0u, WindowCount());
}

TEST_F(FrameDocuments, PrintingWithoutAPrinterIsReported)
{
    new TestDocument("A");
    for (unsigned id : {1108u, 1110u}) {
        boxes.Clear();
        Post(id);
        ASSERT_EQ(1u, boxes.Count()) << id;
        EXPECT_EQ("Unable to print: No Printer drivers.", boxes.Last().text) << id;
        EXPECT_EQ("KIVO", boxes.Last().caption) << id;
    }
    // A document printing through its pane is told once, not by the pane and then again by the frame.
    new PaneDocument("B");
    boxes.Clear();
    Post(1108);
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ("Unable to print: No Printer drivers.", boxes.Last().text);
}

TEST_F(FrameDocuments, ZoomCommandsStepTheActivePaneWithinItsRange)
{
    auto* document = new TestDocument("A");
    document->SetPane(new ZoomPane(document, new ChildLayout(0, 0, 300, 200, nullptr), WS_CHILD | WS_VISIBLE));
    ZoomPane* pane = document->Pane();
    pane->EnableZoom(true);
    const double before = pane->Zoom();
    Post(1350);
    EXPECT_GT(pane->Zoom(), before);
    Post(1351);
    EXPECT_DOUBLE_EQ(before, pane->Zoom());
    pane->SetZoom(ZoomPane::MinimumZoom);
    Post(1351);
    EXPECT_DOUBLE_EQ(ZoomPane::MinimumZoom, pane->Zoom());
}

TEST_F(FrameDocuments, ZoomDialogSetsAWholePercentWithinThePanesRange)
{
    auto* document = new TestDocument("A");
    document->SetPane(new ZoomPane(document, new ChildLayout(0, 0, 300, 200, nullptr), WS_CHILD | WS_VISIBLE));
    ZoomPane* pane = document->Pane();
    pane->EnableZoom(true);
    std::string prompt, shown;
    const auto read = [&](DialogFrameCL& dialog) {
        char text[100] = {};
        GetWindowTextA(dialog.FindChild(2802)->Handle(), text, sizeof text);
        prompt = text;
        GetWindowTextA(dialog.FindChild(2801)->Handle(), text, sizeof text);
        shown = text;
    };
    ModalDialogDriver driver;
    driver.Type(2801, "29").Press(IDOK);
    Post(1352);
    EXPECT_DOUBLE_EQ(0.29, pane->Zoom());
    // The factor set reads back as its percent; a percent outside the range is refused and Cancel keeps it.
    driver.Then(read).Type(2801, "251").Press(IDOK).Press(IDCANCEL);
    Post(1352);
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ("Enter the &zoom factor in percent, from 5% to 250%.", prompt);
    EXPECT_EQ("29", shown);
    EXPECT_EQ(1u, boxes.Count());
    EXPECT_DOUBLE_EQ(0.29, pane->Zoom());
}

TEST_F(FrameDocuments, PreferencesWithoutADocumentEditTheApplicationsSettingsAndStoreThemAtOk)
{
    const bool onScreen = MeasuringOnScreen();
    SetMeasuringOnScreen(true);
    std::vector<std::string> categories;
    bool saveEnabled = true;
    const auto usePrinter = [&](DialogFrameCL& dialog) {
        auto& preferences = dynamic_cast<PreferencesDialog&>(dialog);
        HWND list = preferences.FindChild(Ctl::Preferences::CategoryList)->Handle();
        char text[64] = {};
        for (LRESULT i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            categories.push_back(text + std::string(SendMessageA(list, LB_GETCURSEL, 0, 0) == i ? " *" : ""));
        }
        saveEnabled = IsWindowEnabled(preferences.FindChild(Ctl::Preferences::SaveSettings)->Handle());
        // A header line cannot be chosen: the page shown stays.
        SendMessageA(list, LB_SETCURSEL, 0, 0);
        SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(Ctl::Preferences::CategoryList, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
        ASSERT_EQ(1, SendMessageA(list, LB_GETCURSEL, 0, 0));
        ASSERT_EQ(static_cast<int>(DialogRes::GlobalPreferencesPage), preferences.PageId());
        CheckDlgButton(preferences.Page()->Handle(), Ctl::GlobalPreferencesPage::UsePrinterForSizing, BST_CHECKED);
    };
    // Tab from the category list (the save box is disabled here) goes on into the page.
    int focused = 0;
    ModalDialogDriver driver;
    driver.Then([](DialogFrameCL& dialog) {
        HWND categories = dialog.FindChild(Ctl::Preferences::CategoryList)->Handle();
        SetFocus(categories);
        PostMessageA(categories, WM_KEYDOWN, VK_TAB, 0);
    });
    driver.Then([&](DialogFrameCL&) { focused = GetDlgCtrlID(GetFocus()); });
    driver.Then(usePrinter).Press(IDCANCEL);
    Post(1308);
    EXPECT_TRUE(MeasuringOnScreen());
    driver.Then(usePrinter).Press(IDOK);
    Post(1308);
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ((std::vector<std::string>{"---- Other Prefs", "Global Prefs *", "---- Other Prefs", "Global Prefs *"}),
              categories);
    EXPECT_FALSE(saveEnabled);
    EXPECT_EQ(static_cast<int>(Ctl::GlobalPreferencesPage::ExportBitmapMetafileInBlackWhite), focused);
    EXPECT_FALSE(MeasuringOnScreen());
    EXPECT_EQ(0, ReadProfileInt("General", "UseScreenForSizing", -1));
    SetMeasuringOnScreen(onScreen);
    WriteProfileInt("General", "UseScreenForSizing", onScreen ? 1 : 0);
}

TEST_F(FrameDocuments, RunScriptReadsTheChosenFileLineByLineUntilItsFirstUnknownCommand)
{
    const char* temp = std::getenv("TEMP");
    const std::string path = std::string(temp ? temp : ".") + "\\frame script.txt";
    // Comment, LF CR as one line end, a label with a comment, an announcement, then an unknown command.
    const char text[] = "# only comment\r\n\n\r  :Start # label\n\r!Announce(\"a, b\") # why\r\n!Never\n";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, file);
    std::fwrite(text, 1, sizeof text - 1, file);
    std::fclose(file);
    std::string title, filter;
    const FileDialogPresenter previous = SetFileDialogPresenter([&](OPENFILENAMEA& dialog, bool) {
        title = dialog.lpstrTitle;
        filter = dialog.lpstrFilter;
        std::strcpy(dialog.lpstrFile, path.c_str());
        return 1;
    });
    std::unique_ptr<ScriptManager> running = TheProgram()->ReplaceScripts(std::make_unique<ScriptManager>());
    Post(1113);
    const std::unique_ptr<ScriptManager> script = TheProgram()->ReplaceScripts(std::move(running));
    SetFileDialogPresenter(previous);
    std::remove(path.c_str());
    EXPECT_EQ("Run Script", title);
    EXPECT_EQ("Script Files (*.txt)", filter);
    EXPECT_EQ((std::vector<std::string>{"a, b", "Unrecognized command \"Never\".\r\n\r\nCommand: !Never\r\nLine: 5"}), Questions());
    EXPECT_EQ(5, script->lineCount);
    EXPECT_FALSE(script->FileRunning());
}

} // namespace
