#include "app/StartProgram.h"

#include "app/AppDialog.h"
#include "app/AppHost.h"
#include "app/CommandLine.h"
#include "app/CursorStack.h"
#include "app/FramePlacement.h"
#include "app/MainFrame.h"
#include "app/MainToolbar.h"
#include "app/OnlineHelp.h"
#include "app/ProgramPreferences.h"
#include "app/RecentFilesMenu.h"
#include "app/SplashDialog.h"
#include "dialogs/CEReportQuestionDialog.h"
#include "dialogs/CESensitivityWindow.h"
#include "dialogs/DefinitionChoiceDialog.h"
#include "dialogs/NodeValueDialogs.h"
#include "dialogs/TornadoDialog.h"
#include "dialogs/MonteCarloDialogs.h"
#include "dialogs/TextReportDialog.h"
#include "dialogs/ThresholdResultsDialog.h"
#include "formula/BuiltinRegistry.h"
#include "formula/TableDirectory.h"
#include "foundation/FilePath.h"
#include "foundation/FontRecord.h"
#include "foundation/LocaleChars.h"
#include "foundation/PreferencesFonts.h"
#include "foundation/PreferencesStore.h"
#include "foundation/RecentFileList.h"
#include "framework/dialog/PopupMenu.h"
#include "framework/draw/MeasuringDisplay.h"
#include "framework/draw/zFont.h"
#include "framework/window/Clipboard.h"
#include "framework/window/FrameworkApp.h"
#include "graph/BarGraphs.h"
#include "graph/LineGraph.h"
#include "graph/SensitivityRegionGraphs.h"
#include "graph/TornadoGraph.h"
#include "script/DdeLinkManager.h"
#include "script/ScriptManager.h"
#include "treewin/NodeValueCommandSender.h"
#include "influence/DiagramClipboard.h"
#include "influence/InfluenceDiagramWindow.h"
#include "treewin/TreeWindow.h"

#include <commctrl.h>
#include <objbase.h>

#include <cstring>

zString ProgramDirectory;
RecentFileList* TheRecentFiles = nullptr;
Colour ButtonFaceColour{0, 0, 0, 0};
zFont* DialogFont = nullptr;
zFont* DialogFontHeavy = nullptr;
zFont* CurrentDialogFont = nullptr;
Clipboard* AppClipboard = nullptr;
PopupMenu* OperatorsMenu = nullptr;
PopupMenu* KeywordsMenu = nullptr;
PopupMenu* FunctionsMenu = nullptr;
ScriptManager* TheScriptManager = nullptr;
DdeLinkManager* TheLinkManager = nullptr;
FontRecord* DefaultFonts[DefaultFontCount] = {};

namespace {

// COM lives for the whole process: initialised before StartProgram, uninitialised at process exit.
struct ComLifetime {
    ComLifetime() { CoInitialize(nullptr); }
    ~ComLifetime() { CoUninitialize(); }
} TheComLifetime;

struct DefaultFontSpec {
    const char* preference;
    int16_t size;
    uint8_t bold;
    uint8_t turned;
};

// In the order the fonts are made.
const DefaultFontSpec DefaultFontSpecs[DefaultFontCount] = {
    {"Tree", 9, 0, 0},           {"Prob", 8, 0, 0},          {"EV", 9, 0, 0},
    {"Variables", 7, 0, 0},      {"GraphLbl", 9, 0, 0},      {"GraphHAxisLabel", 11, 0, 0},
    {"GraphVAxisLabel", 11, 0, 1}, {"GraphAxis", 8, 0, 0},   {"GraphVAxis", 8, 0, 0},
    {"GraphTitle", 12, 1, 0},    {"Outline", 9, 0, 0},       {"PageHeader", 11, 1, 0},
};

// The order in which the saved values are loaded and the fonts freed.
const DefaultFontIndex SavedFontOrder[DefaultFontCount] = {
    TreeFont, ProbFont, EVFont, VariablesFont, GraphLabelFont, GraphAxisFont, GraphVAxisFont,
    GraphHAxisLabelFont, GraphVAxisLabelFont, GraphTitleFont, OutlineFont, PageHeaderFont,
};

MainFrame* TheMainFrame = nullptr;

// 8 points on the screen.
zFont* MakeDialogFont(int weight)
{
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return new zFont("MS Sans Serif", 0, height, weight, VARIABLE_PITCH, FF_DONTCARE, 0, 0, 0, ANSI_CHARSET,
                     OUT_STROKE_PRECIS, CLIP_STROKE_PRECIS, DRAFT_QUALITY);
}

void MakeDefaultFonts()
{
    for (int i = 0; i < DefaultFontCount; ++i) {
        auto* font = new FontRecord;
        font->face = "Times New Roman";
        font->pointSize = DefaultFontSpecs[i].size;
        font->bold = DefaultFontSpecs[i].bold;
        font->turned = DefaultFontSpecs[i].turned;
        DefaultFonts[i] = font;
    }
    for (DefaultFontIndex index : SavedFontOrder)
        LoadFontPreference(*DefaultFonts[index], DefaultFontSpecs[index].preference);
}

template <class T>
void DeleteGlobal(T*& global)
{
    delete global;
    global = nullptr;
}

} // namespace

const FontRecord* DefaultFontNamed(const char* name)
{
    for (int i = 0; i < DefaultFontCount; ++i) {
        if (std::strcmp(DefaultFontSpecs[i].preference, name) == 0)
            return DefaultFonts[i];
    }
    return nullptr;
}

void CreateDialogFont()
{
    DialogFont = MakeDialogFont(FW_NORMAL);
    DialogFontHeavy = MakeDialogFont(FW_HEAVY);
    CurrentDialogFont = DialogFont;
}

void CreateFormulaMenus(WindowCL* owner)
{
    OperatorsMenu = new PopupMenu(0, 0, owner, ResourceId(120, nullptr));
    KeywordsMenu = new PopupMenu(0, 0, owner, ResourceId(119, nullptr));
    FunctionsMenu = new PopupMenu(0, 0, owner, ResourceId(122, nullptr));
}

void DestroyFormulaMenus()
{
    DeleteGlobal(OperatorsMenu);
    DeleteGlobal(KeywordsMenu);
    DeleteGlobal(FunctionsMenu);
}

void StartApplication()
{
    InitCommonControls();
    AppDialog::ResetOpenDialogs();
    BuildRecentFilesMenu(TheMainFrame);
    InstallHelpHook();
    BuildBuiltinNameRegistry();
    LocaleChars::Create(CommandLineFlag(DefaultLocaleBit));
    CursorStack::Create();
    BuildMainToolbar(TheMainFrame->ToolBar());
    LoadTablesDirectory();
    ThePreferences().Load();
    CreatePrinterInfoContext();
    AppClipboard = new Clipboard(TheMainFrame);
    TheLinkManager = new DdeLinkManager(AppClipboard, "KIVO_Node");
    CreateFormulaMenus(TheMainFrame);
    TheScriptManager = new ScriptManager(&TheLinkManager->Server());
    MakeDefaultFonts();
}

void ShutdownApplication()
{
    // The program's documents close before the services they use.
    while (!TreeWindow::OpenWindows().empty())
        delete TreeWindow::OpenWindows().back();
    CursorStack::Destroy();
    FreeBuiltinNameRegistry();
    LocaleChars::Destroy();
    DestroyMainToolbar();
    FreeTables();
    DeleteGlobal(TheScriptManager);
    DestroyFormulaMenus();
    DeleteGlobal(AppClipboard);
    DeleteGlobal(TheLinkManager);
    DeletePrinterInfoContext();
    DeleteGlobal(DialogFont);
    DeleteGlobal(DialogFontHeavy);
    CurrentDialogFont = nullptr;
    for (DefaultFontIndex index : SavedFontOrder)
        DeleteGlobal(DefaultFonts[index]);
}

void StartProgram(FrameworkApp* app)
{
    AppHost host;
    Host* previousHost = SetHost(&host);
    InstallThresholdResultsDialog();
    InstallTextReportDialog();
    InstallDefinitionChoiceDialog();
    InstallCEReportQuestionDialog();
    InstallLineGraphWindows();
    InstallSensitivityRegionGraphs();
    InstallTornadoGraphs();
    InstallNodeValueDialogs();
    InstallTornadoSetupDialog();
    InstallNodeValueCommandSender();
    InstallCESensitivityWindow();
    InstallMonteCarloDialogs();
    InstallBarGraphs();
    char path[300];
    const DWORD length = GetModuleFileNameA(app->Instance(), path, sizeof path);
    path[length < sizeof path ? length : sizeof path - 1] = '\0';
    FilePath(path).GetDirectory(ProgramDirectory);
    TheRecentFiles = new RecentFileList;
    ButtonFaceColour = SplitColour(GetSysColor(COLOR_BTNFACE));
    ParseCommandLine(app->CommandLine());
    CreateDialogFont();
    RegisterDiagramClipboardFormats();
    TheMainFrame = new MainFrame;
    const int showCommand = RestoreFramePlacement(TheMainFrame, app->ShowCommand());
    if (showCommand == SW_HIDE) {
        TheMainFrame->EndSplash();
        PostMessageA(TheMainFrame->Handle(), WM_COMMAND, SplashDialog::EndedCommand, 0);
    }
    else
        (new SplashDialog(TheMainFrame, 2000))->Show(SW_SHOW);
    StartApplication();
    TheMainFrame->Show(showCommand);
    // Without a document from the command line the program starts with a new tree, unless asked not to.
    if (RunStartupActions() == 0) {
        if (CommandLineFlag(InfluenceFirstBit))
            (new InfluenceDiagramWindow())->Show(-1);
        else if (!CommandLineFlag(NoFirstTreeBit))
            (new TreeWindow())->Show(-1);
    }
    TheMainFrame->RefreshCommands();
    app->RunMessageLoop();
    ShutdownApplication();
    DeleteGlobal(TheRecentFiles);
    DeleteGlobal(TheMainFrame);
    SetHost(previousHost);
}
