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
#include "graph/GraphWindow.h"
#include "influence/InfluenceDiagramWindow.h"
#include "script/ScriptCommandHandlers.h"
#include "treewin/TreeWindow.h"

#include "CommandIds.h"

#include <climits>
#include <string>

namespace {

MDIchildCL* FrameTopWindow()
{
    return TheShell().ActiveChild();
}

// The window whose document a save writes: a diagram's sub-model window saves the diagram it belongs to,
// whole, as its File menu does.
DocumentWindow* SavedWindow()
{
    if (auto* diagram = dynamic_cast<InfluenceDiagramWindow*>(FrameTopWindow()))
        return &diagram->OwnerWindow();
    return dynamic_cast<DocumentWindow*>(FrameTopWindow());
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
    DocumentWindow* document = SavedWindow();
    if (document != nullptr && document->SaveToFile() == 0)
        script.EndAfterReportedFailure();
}

void Handlers::SaveFileAs(ScriptManager& script, const Parameters& parameters)
{
    DocumentWindow* document = SavedWindow();
    const char* path = parameters.size() == 1 ? parameters[0].c_str() : nullptr;
    if (document != nullptr && document->SaveAs(path) == 0)
        script.EndAfterReportedFailure();
}

// CloseTopWindow: deleted at once unless the parameter reads as 0.
void Handlers::CloseTopWindow(ScriptManager& script, const Parameters& parameters)
{
    int force = 1;
    if (!script.OptionalFlag(parameters, 0, 1, force))
        return;
    MDIchildCL* top = FrameTopWindow();
    if (top == nullptr)
        return;
    if (force == 0)
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
    int fullPath = 0;
    if (!script.OptionalFlag(parameters, 1, 0, fullPath))
        return;
    MDIchildCL* top = FrameTopWindow();
    auto* document = dynamic_cast<DocumentWindow*>(top);
    std::string name;
    if (document != nullptr && fullPath != 0) {
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
    for (size_t i = 0; i < 2; ++i) {
        if (!script.NumberParameter(parameters, i + 1, numbers[i]))
            return;
    }
    if (table->SetEntry(numbers[0], numbers[1]) < 0) {
        script.ReportError(2, ScriptCmd::TableVal, parameters[1].c_str());
        return;
    }
    if (!table->Save())
        script.ReportError(2, ScriptCmd::TableVal, parameters[0].c_str());
}

// SetNFSigDigs: the top tree's or graph's number of digits, by its first parameter. A count outside 0-9
// leaves its digits as they are.
void Handlers::SetNumberDigits(ScriptManager& script, const Parameters& parameters)
{
    const int32_t id = Cmd::DisplayNumericFormatting;
    int which = 0;
    int digits[2] = {-1, -1};
    if (!script.IntegerParameter(parameters, 0, 0, 2, which))
        return;
    for (size_t i = 0; i < 2 && i + 1 < parameters.size(); ++i) {
        if (!script.IntegerParameter(parameters, i + 1, INT_MIN, INT_MAX, digits[i]))
            return;
    }
    const auto set = [](uint8_t& count, int n) {
        if (n >= 0 && n <= 9)
            count = static_cast<uint8_t>(n);
    };
    if (which == 0) {
        TreeWindow* tree = TopTree();
        if (tree == nullptr) {
            script.ReportError(4, id);
            return;
        }
        NumericFormat& format = tree->Document().NumberFormat();
        set(format.expValDigits, digits[0]);
        set(format.probDigits, digits[1]);
        tree->Redraw();
    } else {
        auto* graph = dynamic_cast<GraphWindow*>(FrameTopWindow());
        if (graph == nullptr) {
            script.ReportError(5, id);
            return;
        }
        set((which == 1 ? graph->horizontalAxis : graph->verticalAxis).numberFormat.axisDigits, digits[0]);
        graph->InvalidateAll();
    }
}
