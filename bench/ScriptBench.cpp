// A script file looping 100 times over 100 commands, one roll back per pass, on a small tree in the main
// frame: 10,000 commands as "Run Script" runs them.

#include "bench/Bench.h"
#include "bench/BenchApp.h"

#include "app/MainFrame.h"
#include "framework/window/FrameworkApp.h"
#include "model/TreeNode.h"
#include "script/ScriptManager.h"
#include "treewin/TreeWindow.h"

#include <cstdio>
#include <cstdlib>
#include <string>

KIVO_BENCH(ScriptFileCommands)
{
    const char* temp = std::getenv("TEMP");
    const std::string scriptPath = std::string(temp ? temp : ".") + "\\kivo-bench-script.txt";
    BenchApp app;
    {
        MainFrame frame;
        frame.EndStartup();
        frame.Show(SW_SHOWNOACTIVATE);
        auto* tree = new TreeWindow;
        TreeDocument& document = tree->Document();
        document.Root->SetKind(ChanceNode, false);
        document.AddChild(document.Root, TerminalNode, "A", "0.3", "100");
        document.AddChild(document.Root, TerminalNode, "B", "#", "0");
        tree->Show(SW_SHOWNORMAL);

        // Each pass: 100 commands, the last a jump back while the counter is below 100.
        std::string text = "!SetScriptVar(n,0)\n:Pass\n!SelectRoot\n!RollBack(0)\n!RollBack\n";
        for (int i = 0; i < 89; ++i)
            text += i % 3 == 0 ? "!ExpectedValue(EV)\n" : i % 3 == 1 ? "!GetNodeName(name)\n" : "!CatScriptVar(s,x)\n";
        text += "!SetScriptVar(s,\"\")\n!SetScriptVar(f,@n)\n!CatScriptVar(f,+1)\n!Evaluate(@f,n,0)\n"
                "!SetScriptVar(f,@n)\n!CatScriptVar(f,<100)\n!Evaluate(@f,again,0)\n!BranchVar(again,Pass)\n";
        std::FILE* file = std::fopen(scriptPath.c_str(), "wb");
        std::fputs(text.c_str(), file);
        std::fclose(file);

        ScriptManager script;
        BenchReport("10,000 script commands (100 passes of 100, a roll back each)", 1,
                    [&] { script.RunScriptFile(scriptPath.c_str()); });
        std::string passes;
        script.GetVariableValue("n", passes);
        std::printf("passes run: %s (aim: under 1 s)\n", passes.c_str());
        delete tree;
    }
    std::remove(scriptPath.c_str());
}
