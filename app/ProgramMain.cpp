#include "app/StartProgram.h"

#include "widgets/AppDialog.h"
#include "app/AppHost.h"
#include "widgets/CommandLine.h"
#include "widgets/CursorStack.h"
#include "app/FramePlacement.h"
#include "app/MainFrame.h"
#include "widgets/MainToolbar.h"
#include "widgets/OnlineHelp.h"
#include "widgets/ProgramPreferences.h"
#include "app/RecentFilesMenu.h"
#include "app/SplashDialog.h"
#include "dialogs/CEReportQuestionDialog.h"
#include "treewin/CESensitivityWindow.h"
#include "treewin/DefinitionChoiceDialog.h"
#include "dialogs/NodeValueDialogs.h"
#include "dialogs/TornadoDialog.h"
#include "treewin/MonteCarloProgressDialog.h"
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
#include "widgets/DdeLinkManager.h"
#include "script/ScriptManager.h"
#include "treewin/NodeValueCommandSender.h"
#include "influence/DiagramClipboard.h"
#include "influence/InfluenceDiagramWindow.h"
#include "treewin/TreeWindow.h"

#include <commctrl.h>
#include <objbase.h>

#include <cstring>


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

ProgramApp* currentProgram = nullptr;

// 8 points on the screen.
std::unique_ptr<zFont> MakeDialogFont(int weight)
{
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return std::make_unique<zFont>("MS Sans Serif", 0, height, weight, VARIABLE_PITCH, FF_DONTCARE, 0, 0, 0,
                                   ANSI_CHARSET, OUT_STROKE_PRECIS, CLIP_STROKE_PRECIS, DRAFT_QUALITY);
}

} // namespace

ProgramApp* TheProgram()
{
    return currentProgram;
}

ProgramApp::ProgramApp() : previous_(currentProgram)
{
    currentProgram = this;
}

ProgramApp::~ProgramApp()
{
    currentProgram = previous_;
}

const FontRecord* ProgramApp::DefaultFontNamed(const char* name) const
{
    for (int i = 0; i < DefaultFontCount; ++i) {
        if (std::strcmp(DefaultFontSpecs[i].preference, name) == 0)
            return defaultFonts_[i].get();
    }
    return nullptr;
}

HFONT ProgramApp::DialogFontHandle() const
{
    return currentDialogFont_ != nullptr ? currentDialogFont_->Handle() : nullptr;
}

bool ProgramApp::CanPasteLink() const
{
    return linkManager_ != nullptr && linkManager_->CanPasteLink();
}

std::unique_ptr<RecentFileList> ProgramApp::ReplaceRecentFiles(std::unique_ptr<RecentFileList> list)
{
    recentFiles_.swap(list);
    return list;
}

std::unique_ptr<ScriptManager> ProgramApp::ReplaceScripts(std::unique_ptr<ScriptManager> scripts)
{
    scriptManager_.swap(scripts);
    return scripts;
}

std::unique_ptr<DdeLinkManager> ProgramApp::ReplaceLinks(std::unique_ptr<DdeLinkManager> links)
{
    linkManager_.swap(links);
    return links;
}

void ProgramApp::PutClipboardText(const char* text) const
{
    if (!clipboard_)
        return;
    clipboard_->Empty();
    clipboard_->PutText(text);
}

std::unique_ptr<Clipboard> ProgramApp::ReplaceClipboard(std::unique_ptr<Clipboard> clipboard)
{
    clipboard_.swap(clipboard);
    return clipboard;
}

std::unique_ptr<FontRecord> ProgramApp::ReplaceDefaultFont(DefaultFontIndex index, std::unique_ptr<FontRecord> font)
{
    defaultFonts_[index].swap(font);
    return font;
}

void ProgramApp::MakeDefaultFonts()
{
    for (int i = 0; i < DefaultFontCount; ++i) {
        auto font = std::make_unique<FontRecord>();
        font->face = "Times New Roman";
        font->pointSize = DefaultFontSpecs[i].size;
        font->bold = DefaultFontSpecs[i].bold;
        font->turned = DefaultFontSpecs[i].turned;
        defaultFonts_[i] = std::move(font);
    }
    for (DefaultFontIndex index : SavedFontOrder)
        LoadFontPreference(*defaultFonts_[index], DefaultFontSpecs[index].preference);
}

void ProgramApp::CreateDialogFont()
{
    dialogFont_ = MakeDialogFont(FW_NORMAL);
    dialogFontHeavy_ = MakeDialogFont(FW_HEAVY);
    currentDialogFont_ = dialogFont_.get();
}

void ProgramApp::CreateFormulaMenus(WindowCL* owner)
{
    operatorsMenu_ = std::make_unique<PopupMenu>(0, 0, owner, ResourceId(MenuRes::OperatorsPopup, nullptr));
    keywordsMenu_ = std::make_unique<PopupMenu>(0, 0, owner, ResourceId(MenuRes::KeywordsPopup, nullptr));
    functionsMenu_ = std::make_unique<PopupMenu>(0, 0, owner, ResourceId(MenuRes::FunctionsPopup, nullptr));
}

void ProgramApp::DestroyFormulaMenus()
{
    operatorsMenu_.reset();
    keywordsMenu_.reset();
    functionsMenu_.reset();
}

void ProgramApp::StartApplication(MainFrame& frame)
{
    InitCommonControls();
    AppDialog::ResetOpenDialogs();
    BuildRecentFilesMenu(&frame);
    InstallHelpHook();
    BuildBuiltinNameRegistry();
    LocaleChars::Create(CommandLineFlag(DefaultLocaleBit));
    CursorStack::Create();
    BuildMainToolbar(frame.ToolBar());
    LoadTablesDirectory();
    ThePreferences().Load();
    CreatePrinterInfoContext();
    clipboard_ = std::make_unique<Clipboard>(&frame);
    linkManager_ = std::make_unique<DdeLinkManager>(clipboard_.get(), "KIVO_Node");
    CreateFormulaMenus(&frame);
    scriptManager_ = std::make_unique<ScriptManager>(&linkManager_->Server());
    MakeDefaultFonts();
}

void ProgramApp::ShutdownApplication()
{
    // The program's documents close before the services they use.
    while (!TreeWindow::OpenWindows().empty())
        delete TreeWindow::OpenWindows().back();
    CursorStack::Destroy();
    FreeBuiltinNameRegistry();
    LocaleChars::Destroy();
    DestroyMainToolbar();
    FreeTables();
    scriptManager_.reset();
    DestroyFormulaMenus();
    clipboard_.reset();
    linkManager_.reset();
    DeletePrinterInfoContext();
    dialogFont_.reset();
    dialogFontHeavy_.reset();
    currentDialogFont_ = nullptr;
    for (DefaultFontIndex index : SavedFontOrder)
        defaultFonts_[index].reset();
}

void StartProgram(FrameworkApp* app)
{
    AppHost host;
    Host* previousHost = SetHost(&host);
    ProgramApp program;
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
    zString directory;
    FilePath(path).GetDirectory(directory);
    program.SetDirectory(directory);
    program.ReplaceRecentFiles(std::make_unique<RecentFileList>());
    program.SetButtonFace(SplitColour(GetSysColor(COLOR_BTNFACE)));
    ParseCommandLine(app->CommandLine());
    program.CreateDialogFont();
    RegisterDiagramClipboardFormats();
    auto frame = std::make_unique<MainFrame>();
    const int showCommand = RestoreFramePlacement(frame.get(), app->ShowCommand());
    if (showCommand == SW_HIDE) {
        frame->EndSplash();
        PostMessageA(frame->Handle(), WM_COMMAND, Cmd::SplashEnded, 0);
    }
    else
        (new SplashDialog(frame.get(), 2000))->Show(SW_SHOW);  // not a resource id: milliseconds
    program.StartApplication(*frame);
    frame->Show(showCommand);
    // Without a document from the command line the program starts with a new tree, unless asked not to.
    if (RunStartupActions() == 0) {
        if (CommandLineFlag(InfluenceFirstBit))
            (new InfluenceDiagramWindow())->Show(-1);
        else if (!CommandLineFlag(NoFirstTreeBit))
            TreeWindow::ShowNew(-1);
    }
    frame->RefreshCommands();
    app->RunMessageLoop();
    program.ShutdownApplication();
    program.ReplaceRecentFiles(nullptr);
    frame.reset();
    SetHost(previousHost);
}
