#pragma once
// The ground of the bar and distribution graph tests: a main frame, a small tree whose chance nodes lead to
// the given payoffs, message boxes recorded, and graph files written with Save As and read with Open.

#include "analysis/ProbabilityDistribution.h"
#include "app/MainFrame.h"
#include "framework/dialog/FileDialogs.h"
#include "graph/BarGraphs.h"
#include "graph/GraphWindow.h"
#include "tests/graph/GraphPicture.h"
#include "tests/model/TreeBuilder.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ProcessLock.h"
#include "tests/support/ScopedApplication.h"

#include "CommandIds.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

class BarGraphFixture : public ::testing::Test {
protected:
    BarGraphFixture()
    {
        frame = new MainFrame;
        frame->EndStartup();
        frame->Show(SW_SHOWNOACTIVATE);
        InstallBarGraphs();
        previousDialogs = SetFileDialogPresenter([this](OPENFILENAMEA& dialog, bool) {
            std::strcpy(dialog.lpstrFile, chosenPath.c_str());
            return 1;
        });
    }
    ~BarGraphFixture() override
    {
        SetFileDialogPresenter(previousDialogs);
        delete frame;
    }

    // A chance node under the root whose branches have the payoffs, equally likely.
    TreeNode* Chance(const char* name, const std::vector<int>& payoffs)
    {
        TreeNode* node = tree.Add(tree.Root(), ChanceNode, name);
        for (size_t i = 0; i < payoffs.size(); ++i) {
            const std::string probability = i + 1 < payoffs.size() ? "1/" + std::to_string(payoffs.size()) : "#";
            tree.Terminal(node, ("t" + std::to_string(i)).c_str(), probability.c_str(),
                          std::to_string(payoffs[i]).c_str());
        }
        return node;
    }
    // The Probability Distribution command on the nodes.
    void Distribution(const std::vector<TreeNode*>& nodes)
    {
        NodeChildList selection(2, Ownership::Borrows);
        for (TreeNode* node : nodes)
            selection.Add(node);
        RunProbabilityDistribution(&tree.Document(), selection, nullptr);
    }
    // The graph of the kind that is not the one given, or null.
    template <class Graph>
    Graph* Newest(const GraphWindow* other = nullptr)
    {
        std::vector<WindowCL*> windows;
        frame->CollectWindows(windows);
        for (WindowCL* window : windows)
            if (auto* graph = dynamic_cast<Graph*>(window); graph != nullptr && graph != other)
                return graph;
        return nullptr;
    }
    static std::string TempPath(const char* name)
    {
        const char* temp = std::getenv("TEMP");
        return std::string(temp ? temp : ".") + "\\" + name;
    }
    static std::vector<uint8_t> FileBytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void Save(GraphWindow* graph, const std::string& path) { Command(graph, Cmd::FileSaveAs, path); }
    // File Open on the path: the graph of the kind it opened, or null.
    template <class Graph>
    Graph* OpenFile(const std::string& path)
    {
        Command(frame, Cmd::FileOpen, path);
        return Newest<Graph>();
    }
    static void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
    {
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
    }

    // Saves the graph, opens a copy of the file from the File menu, closes the graph and saves the opened one.
    // True when the graph opened as its kind, drew as before and saved the same bytes.
    template <class Graph>
    bool SavesAfterReopeningTheSame(Graph* graph, const char* name)
    {
        const std::string first = TempPath((std::string(name) + "1.grf").c_str());
        const std::string second = TempPath((std::string(name) + "2.grf").c_str());
        Command(graph, Cmd::FileSaveAs, first);
        const std::vector<uint8_t> picture = Picture(*graph);
        // A copy opened beside the first window, so not maximised to fill the frame.
        const std::string copy = TempPath((std::string(name) + "3.grf").c_str());
        CopyFileA(first.c_str(), copy.c_str(), FALSE);
        Command(frame, Cmd::FileOpen, copy);
        Graph* opened = Newest<Graph>(graph);
        delete graph;
        std::remove(copy.c_str());
        if (opened == nullptr)
            return false;
        Command(opened, Cmd::FileSaveAs, second);
        const bool same = FileBytes(first) == FileBytes(second) && !FileBytes(first).empty() &&
                          Picture(*opened) == picture;
        std::remove(first.c_str());
        std::remove(second.c_str());
        return same;
    }

    FocusTestLock focus;
    ScopedApplication app;
    MainFrame* frame;
    MessageBoxRecorder boxes;
    TreeBuilder tree;

private:
    void Command(WindowCL* window, unsigned id, const std::string& path)
    {
        chosenPath = path;
        SendMessageA(window->Handle(), WM_COMMAND, id, 0);
    }

    std::string chosenPath;
    FileDialogPresenter previousDialogs;
};
