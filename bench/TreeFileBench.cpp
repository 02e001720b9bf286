// Saving and opening a tree file of a generated tree of 100,001 nodes: a decision root over 100 chance
// nodes of 999 terminals each. The root defines three variables, every chance node binds one of them
// again, and every terminal carries a probability and a payoff formula; the tree is rolled back once
// first, so that the formulas are stored with their parse trees as a program's save stores them.
// TreeProgramMillionNodes takes the same tree at 1,000,001 nodes through the program's own commands in its
// frame: File Open, Analysis > Roll Back and File Save, each until the program has answered every message.

#include "bench/Bench.h"
#include "bench/BenchApp.h"
#include "bench/BenchProgramTrees.h"

#include "analysis/TreeEngines.h"
#include "app/MainFrame.h"
#include "app/OpenFileByName.h"
#include "framework/window/FrameworkApp.h"
#include "model/TreeDocument.h"
#include "model/TreeNode.h"
#include "treewin/TreeWindow.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

namespace {

constexpr int kTerminals = 999;

double SecondsOf(const std::function<void()>& body)
{
    const auto start = std::chrono::steady_clock::now();
    body();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Dispatches messages until none is waiting; the longest time one message took to handle.
double AnswerMessages()
{
    double longest = 0.0;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            break;
        const double seconds = SecondsOf([&] {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        });
        if (seconds > longest)
            longest = seconds;
    }
    return longest;
}

long FileBytes(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ? static_cast<long>(data.nFileSizeLow) : -1;
}

}  // namespace

KIVO_BENCH(TreeFile)
{
    const char* temp = std::getenv("TEMP");
    const std::string path = std::string(temp != nullptr ? temp : ".") + "\\kivo_bench_tree.tre";
    TreeWindow window;
    GrowFileBenchTree(window.Document(), 100);
    const RollBackResult result = RollBackDocument(window.Document());
    const long nodes = 1L + 100 + 100L * kTerminals;
    std::printf("tree of %ld nodes, rolled back to %.4f\n", nodes, result.root.value);

    zString message;
    bool saved = false;
    const double saveSeconds = SecondsOf([&] { saved = window.SaveAs(path.c_str(), message); });
    std::printf("save: %.3f s%s\n", saveSeconds, saved ? "" : " (failed)");

    std::unique_ptr<TreeWindow> opened;
    const double openSeconds = SecondsOf([&] { opened = std::make_unique<TreeWindow>(path.c_str()); });
    std::printf("open: %.3f s (%d nodes stored, %d branches at the root)\n", openSeconds,
                static_cast<int>(opened->Document().StoredNodeCount), opened->Document().Root->childCount);
    std::remove(path.c_str());
}

KIVO_BENCH(TreeProgramMillionNodes)
{
    const char* temp = std::getenv("TEMP");
    const std::string path = std::string(temp != nullptr ? temp : ".") + "\\kivo_bench_million.tre";
    {
        TreeWindow tree;
        GrowFileBenchTree(tree.Document(), 1000);
        zString message;
        if (!tree.SaveAs(path.c_str(), message)) {
            std::printf("the tree could not be saved: %s\n", message.Text());
            return;
        }
    }
    const long opened = FileBytes(path);
    BenchApp app;
    {
        MainFrame frame;
        frame.EndStartup();
        frame.Show(SW_SHOWNOACTIVATE);
        AnswerMessages();
        DocumentWindow* window = nullptr;
        double busiest = 0.0;
        const double open = SecondsOf([&] {
            window = OpenFileByName(path.c_str());
            busiest = AnswerMessages();
        });
        if (window == nullptr) {
            std::printf("the tree did not open\n");
        } else {
            std::printf("File Open of 1,000,001 nodes (%.1f MB): %.2f s (aim 5 s), longest message %.2f s\n",
                        opened / 1e6, open, busiest);
            // The command as the window's menu hands it on.
            auto command = [&](unsigned id) {
                return SecondsOf([&] {
                    SendMessageA(window->Handle(), WM_COMMAND, id, 0);
                    busiest = AnswerMessages();
                });
            };
            const double rollBack = command(1612);
            std::printf("Analysis > Roll Back: %.2f s (aim 5 s), longest message %.2f s\n", rollBack, busiest);
            const double save = command(1104);
            std::printf("File Save: %.2f s (aim 5 s), longest message %.2f s, the file %.1f MB after %.1f MB\n", save,
                        busiest, FileBytes(path) / 1e6, opened / 1e6);
            delete window;
        }
        AnswerMessages();
    }
    std::remove(path.c_str());
}
