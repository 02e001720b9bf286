// What the command line asks for once the main frame stands: an outline request, or the documents to open
// with their bindings and decimal characters.

#include "widgets/CommandLine.h"

#include "widgets/MessageBoxes.h"
#include "app/OpenFileByName.h"
#include "app/StartProgram.h"
#include "widgets/StatusMessage.h"
#include "foundation/FilePath.h"
#include "foundation/StringHelpers.h"
#include "framework/window/FrameworkApp.h"
#include "model/DecimalConversion.h"
#include "model/NameRules.h"
#include "model/TreeNode.h"
#include "model/TreeOutline.h"
#include "treewin/TreeWindow.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string FullPathOf(const std::string& path)
{
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return length > 0 && length < sizeof full ? std::string(full) : path;
}

StartupFileArgument SplitFileArgument(const std::string& word)
{
    StartupFileArgument argument;
    size_t mark = word.find('?');
    argument.path = FullPathOf(word.substr(0, mark));
    while (mark != std::string::npos) {
        const size_t next = word.find('?', mark + 1);
        const std::string part = word.substr(mark + 1, next == std::string::npos ? std::string::npos : next - mark - 1);
        const size_t equals = part.find('=');
        if (equals == std::string::npos)
            break;
        argument.bindings.emplace_back(part.substr(0, equals), part.substr(equals + 1));
        mark = next;
    }
    return argument;
}

// The argument's names that are names bound at the root, in order; each makes its variable.
void SetStartupBindings(TreeWindow& tree, const StartupFileArgument& argument)
{
    TreeDocument& document = tree.Document();
    bool changed = false;
    for (const auto& binding : argument.bindings) {
        if (CheckVariableName(zString(binding.first.c_str()), true, false) == 0)
            continue;
        document.EnsureVariable(binding.first.c_str(), nullptr);
        document.Root->SetBinding(binding.first.c_str(), binding.second.c_str(), true);
        changed = true;
    }
    if (!changed)
        return;
    tree.SetModified(1);
    tree.Relayout();
}

void ChangeStartupDecimals(TreeWindow& tree)
{
    const CommandLineOptions& options = TheCommandLine();
    zString message("Changing decimals from \"$1\" to \"$2\" ...");
    SubstituteArgs(message, options.decimalFrom.Text(), options.decimalTo.Text());
    ShowStatusMessage(message.Text());
    const DecimalChangeCount count =
        ChangeTreeDecimals(tree.Document(), options.decimalFrom.Text()[0], options.decimalTo.Text()[0], message.Text());
    if (count.changed == 0)
        return;
    tree.SetModified(1);
    tree.Relayout();
    if (count.unreadable > 0) {
        char text[160];
        std::snprintf(text, sizeof text, "Some formulas of \"%s\" cannot be read after changing decimals (%d).",
                      tree.Document().Title().Text(), count.unreadable);
        ShowErrorBox(nullptr, text, 0);
    }
}

// The script job of the command line, run once start-up has ended.
zString StartupScriptPath;

// 1 when a tree was put on the clipboard as an outline, 0 when a script job was kept for later; -1 when the
// request is not for an existing ".tre" or ".txt" file.
int RunOutlineRequest()
{
    const zString& path = TheCommandLine().outlineRequestPath;
    const FilePath file(path.Text());
    if (path.IsEmpty() || !file.Exists())
        return -1;
    zString extension;
    file.GetExtension(extension);
    extension.MakeLower();
    if (extension == "txt") {
        StartupScriptPath = file.FullPath();
        return 0;
    }
    if (extension != "tre")
        return -1;
    auto* tree = new TreeWindow(file.FullPath().Text());
    // A file that could not be read was reported; no window stays, and the clipboard keeps what it holds.
    if (!tree->FileRead()) {
        delete tree;
        return 1;
    }
    tree->Show(-1);
    zString outline;
    WriteTreeOutline(tree->Document().Root, outline);
    TheProgram()->PutClipboardText(outline.Text());
    ShowInfoBox("KIVO", "The open tree has been converted to an outline. The outline is now on the clipboard.", 0);
    return 1;
}

} // namespace

std::vector<StartupFileArgument> ReadFileArguments(const char* commandLine)
{
    std::vector<StartupFileArgument> arguments;
    const std::string text = commandLine != nullptr ? commandLine : "";
    size_t at = 0;
    for (;;) {
        while (at < text.size() && IsBlank(text[at]))
            ++at;
        if (at >= text.size())
            break;
        if (text[at] == '"') {
            const size_t close = text.find('"', at + 1);
            if (close == std::string::npos)
                break;
            arguments.push_back(SplitFileArgument(text.substr(at + 1, close - at - 1)));
            at = close + 1;
            continue;
        }
        size_t end = at;
        while (end < text.size() && !IsBlank(text[end]))
            ++end;
        if (text[at] != '-' && text[at] != '/')
            arguments.push_back(SplitFileArgument(text.substr(at, end - at)));
        at = end;
    }
    return arguments;
}

bool TakeStartupScript(zString& path)
{
    if (StartupScriptPath.IsEmpty())
        return false;
    path = StartupScriptPath;
    StartupScriptPath = "";
    return true;
}

int RunStartupActions()
{
    return RunStartupActionsText(TheApp && TheApp->CommandLine() ? TheApp->CommandLine() : "");
}

int RunStartupActionsText(const char* commandLine)
{
    if (CommandLineFlag(OutlineRequestBit)) {
        const int outline = RunOutlineRequest();
        if (outline >= 0)
            return outline;
    }
    int opened = 0;
    for (const StartupFileArgument& argument : ReadFileArguments(commandLine)) {
        DocumentWindow* window = OpenFileByName(argument.path.c_str());
        if (window == nullptr)
            continue;
        if (window->IsTree()) {
            auto* tree = static_cast<TreeWindow*>(window);
            SetStartupBindings(*tree, argument);
            if (CommandLineFlag(ChangeDecimalsBit))
                ChangeStartupDecimals(*tree);
        }
        ++opened;
    }
    return opened;
}
