// The script's commands on the frame's files and windows: open, save, close, print, the top window's kind and
// name, a lookup table's entry, the number of digits shown.

#include "script/ScriptManager.h"

#include "widgets/InputHelpers.h"
#include "widgets/Shell.h"
#include "widgets/SaveQuestions.h"
#include "formula/LookupTable.h"
#include "formula/TableDirectory.h"
#include "foundation/FilePath.h"
#include "framework/window/MDIframeCL.h"
#include "foundation/NumericFormatParsing.h"
#include "graph/GraphWindow.h"
#include "script/ScriptCommandHandlers.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <string>

namespace {

MDIchildCL* FrameTopWindow()
{
    return TheShell().ActiveChild();
}

} // namespace

using Handlers = ScriptManager::Handlers;

// OpenFile: a file open already comes to the front, as File Open brings it.
void Handlers::OpenFile(ScriptManager& script, const Parameters& parameters)
{
    for (const std::string& path : parameters) {
        const FilePath file(path.c_str());
        if (TheShell().FindOpenDocument(path.c_str()) != nullptr) {
            TheShell().OpenFileByName(path.c_str());
        } else if (!file.Exists()) {
            const std::string message = std::string("File \"") + file.FullPath().Text() + "\" not found.";
            script.Fail(message, CommandName(Cmd::FileOpen));
            return;
        } else if (TheShell().OpenFileByName(path.c_str()) == nullptr) {
            script.EndAfterReportedFailure();
            return;
        }
    }
}

void Handlers::SaveFile(ScriptManager& script, const Parameters&)
{
    auto* document = dynamic_cast<DocumentWindow*>(FrameTopWindow());
    if (document != nullptr && document->SaveToFile() == 0)
        script.EndAfterReportedFailure();
}

void Handlers::SaveFileAs(ScriptManager& script, const Parameters& parameters)
{
    auto* document = dynamic_cast<DocumentWindow*>(FrameTopWindow());
    const char* path = parameters.size() == 1 ? parameters[0].c_str() : nullptr;
    if (document != nullptr && document->SaveAs(path) == 0)
        script.EndAfterReportedFailure();
}

// CloseTopWindow: deleted at once unless the parameter reads as 0.
void Handlers::CloseTopWindow(ScriptManager&, const Parameters& parameters)
{
    MDIchildCL* top = FrameTopWindow();
    if (top == nullptr)
        return;
    if (!parameters.empty() && ParseScriptFlag(parameters[0]) == 0)
        AskSaveChanges(TheShell().Frame(), top, false);
    else
        delete top;
}

void Handlers::CopyPicture(ScriptManager&, const Parameters&)
{
    if (auto* document = dynamic_cast<DocumentWindow*>(FrameTopWindow()))
        document->CopyPicture();
}

void Handlers::PrintFile(ScriptManager&, const Parameters&)
{
    auto* document = dynamic_cast<DocumentWindow*>(FrameTopWindow());
    if (document != nullptr && document->CanPrint() && TheShell().Frame() != nullptr)
        SendCommand(TheShell().Frame()->Handle(), Cmd::FilePrint);
}

void Handlers::TopWindowType(ScriptManager& script, const Parameters& parameters)
{
    MDIchildCL* top = FrameTopWindow();
    script.StoreResult(parameters[0], top == nullptr                              ? "0"
                                      : dynamic_cast<TreeWindow*>(top) != nullptr  ? "1"
                                      : dynamic_cast<GraphWindow*>(top) != nullptr ? "2"
                                                                                   : "3");
}

void Handlers::TopWindowName(ScriptManager& script, const Parameters& parameters)
{
    MDIchildCL* top = FrameTopWindow();
    auto* document = dynamic_cast<DocumentWindow*>(top);
    std::string name;
    if (document != nullptr && parameters.size() > 1 && ParseScriptFlag(parameters[1]) != 0) {
        name = document->FullPath().Text();
    } else if (top != nullptr) {
        char title[260] = {};
        GetWindowTextA(top->Handle(), title, sizeof title);
        name = title;
    }
    script.StoreResult(parameters[0], name);
}

// TableVal: an unknown table, a number that does not read, a full table or a failed save is a bad parameter.
void Handlers::TableVal(ScriptManager& script, const Parameters& parameters)
{
    LookupTable* table = FindTable(parameters[0].c_str());
    if (table == nullptr) {
        script.ReportError(2, ScriptCmd::TableVal, parameters[0].c_str());
        return;
    }
    double numbers[2] = {};
    for (int i = 0; i < 2; ++i) {
        int error = 0;
        ParseNumber(parameters[i + 1].c_str(), numbers[i], error);
        if (error != 0) {
            script.ReportError(2, ScriptCmd::TableVal, parameters[i + 1].c_str());
            return;
        }
    }
    if (table->SetEntry(numbers[0], numbers[1]) < 0) {
        script.ReportError(2, ScriptCmd::TableVal, parameters[1].c_str());
        return;
    }
    if (!table->Save())
        script.ReportError(2, ScriptCmd::TableVal, parameters[0].c_str());
}

// SetNFSigDigs: the top tree's or graph's number of digits, by its first parameter.
void Handlers::SetNumberDigits(ScriptManager& script, const Parameters& parameters)
{
    const int32_t id = Cmd::DisplayNumericFormatting;
    TreeWindow* tree = TopTree();
    const int which = ParseScriptFlag(parameters[0]);
    const int digits = ParseScriptFlag(parameters[1]);
    const auto fits = [](int n) { return n >= 0 && n <= 9; };
    if (which == 0) {
        if (tree == nullptr) {
            script.ReportError(4, id);
            return;
        }
        NumericFormat& format = tree->Document().NumberFormat();
        if (fits(digits))
            format.expValDigits = static_cast<int8_t>(digits);
        if (parameters.size() > 2 && fits(ParseScriptFlag(parameters[2])))
            format.probDigits = static_cast<int8_t>(ParseScriptFlag(parameters[2]));
        tree->Redraw();
    } else if (which == 1 || which == 2) {
        auto* graph = dynamic_cast<GraphWindow*>(FrameTopWindow());
        if (graph == nullptr) {
            script.ReportError(5, id);
            return;
        }
        if (fits(digits))
            (which == 1 ? graph->horizontalAxis : graph->verticalAxis).numberFormat.axisDigits =
                static_cast<int8_t>(digits);
        graph->InvalidateAll();
    } else {
        script.ReportError(2, id, parameters[0].c_str());
    }
}
