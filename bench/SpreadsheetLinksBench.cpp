// One refresh pass of a tree's spreadsheet links through the tests' automation server (another process):
// 100 cells written before the link is read and 100 read back after it. The server's call log gives the calls
// made per cell. Needs the server registered in the build's prefix (tools/prefix-setup.sh).

#include "bench/Bench.h"

#include "analysis/TreeEngines.h"
#include "model/DocumentLink.h"
#include "model/TreeNode.h"
#include "widgets/ComSpreadsheet.h"
#include "treewin/TreeWindow.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

namespace {

long LineCount(const std::string& path)
{
    std::ifstream file(path);
    long count = 0;
    for (std::string line; std::getline(file, line);)
        ++count;
    return count;
}

} // namespace

KIVO_BENCH(SpreadsheetLinkPass)
{
    const char* temp = std::getenv("TEMP");
    const std::string folder = temp != nullptr ? temp : ".";
    const std::string book = folder + "\\kivo-bench-book.txt";
    const std::string log = folder + "\\kivo-bench-calls.log";
    {
        std::ofstream cells(book);
        cells << "In1 A1 n 0\nIn2 A2 n 0\nResult A3 n 0\n";
        for (int i = 3; i <= 100; ++i)
            cells << "Par" << i << " C" << i << " n 0\n";
        for (int i = 2; i <= 100; ++i)
            cells << "Out" << i << " D" << i << " n " << i << "\n";
    }
    std::remove(log.c_str());
    SetEnvironmentVariableA("KIVO_SHEET_LOG", log.c_str());
    const SpreadsheetAutomationMaker previous = SetSpreadsheetAutomationMaker(MakeComSpreadsheet);
    {
        TreeWindow window;
        TreeDocument& document = window.Document();
        document.Root->SetKind(DecisionNode, false);
        document.AddChild(document.Root, TerminalNode, "Linked", "", "Sub(1)");
        document.EnsureVariable("In1", "3")->WriteCell() = "In1";
        document.EnsureVariable("In2", "4")->WriteCell() = "In2";
        for (int i = 3; i <= 100; ++i) {
            const std::string name = "Par" + std::to_string(i);
            document.EnsureVariable(name.c_str(), std::to_string(i).c_str())->WriteCell() = name.c_str();
        }
        for (int i = 2; i <= 100; ++i) {
            const std::string name = "Out" + std::to_string(i);
            document.EnsureVariable(name.c_str(), nullptr)->ReadCell() = name.c_str();
        }
        auto link = std::make_unique<DocumentLink>(1);
        link->item = "Result";
        link->biDirectional = 1;
        document.DocumentLinks.InsertSorted(link.release());
        document.Links.WorkbookPath() = book.c_str();

        double root = 0;
        BenchReport("spreadsheet links: start, open and first pass", 1,
                    [&] { root = RollBackDocument(document).root.value; });
        const long before = LineCount(log);
        using Clock = std::chrono::steady_clock;
        const Clock::time_point start = Clock::now();
        BenchReport("spreadsheet links: one pass, 100 writes + 100 reads", 1,
                    [&] { root = RollBackDocument(document).root.value; });
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        const long calls = LineCount(log) - before;
        std::printf("root %g (workbook rule 3 x 2 + 4 = 10); %ld calls across the process boundary, %.2f per cell, "
                    "%.2f ms each (aim: pass under 2 s)\n",
                    root, calls, calls / 200.0, calls > 0 ? seconds * 1e3 / calls : 0.0);
    }
    SetSpreadsheetAutomationMaker(previous);
    SetEnvironmentVariableA("KIVO_SHEET_LOG", nullptr);
    std::remove(book.c_str());
    std::remove(log.c_str());
}
