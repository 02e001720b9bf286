#pragma once
// Window classes for the window framework's tests: they record which operations ran.

#include "framework/window/ChildWindow.h"
#include "framework/window/ChildLayout.h"
#include "framework/window/TopWindow.h"
#include "tests/support/ScopedApplication.h"

#include <string>
#include <vector>

// A hidden top-level window whose operations record their calls and answer what the test sets.
class RecordingTopWindow : public TopWindow {
public:
    explicit RecordingTopWindow(std::vector<std::string>* log = nullptr, const char* name = "top",
                                DWORD style = WS_OVERLAPPEDWINDOW, LayoutManager* layout = nullptr)
        : TopWindow(nullptr, layout, style, name), log_(log), name_(name)
    {
    }
    ~RecordingTopWindow() override { Record("delete " + name_); }

    long OnClose(WindowEvent*) override
    {
        Record("OnClose " + name_);
        return closeAnswer;
    }
    long OnCommand(WindowEvent* event) override
    {
        commands.push_back(event->CommandId());
        return 1;
    }
    long OnSize(WindowEvent* event) override
    {
        ++sizes;
        return TopWindow::OnSize(event);
    }
    long OnMove(WindowEvent* event) override
    {
        ++moves;
        return TopWindow::OnMove(event);
    }

    void Record(const std::string& entry)
    {
        if (log_)
            log_->push_back(entry);
    }

    long closeAnswer = 1;
    std::vector<unsigned> commands;
    int sizes = 0;
    int moves = 0;

private:
    std::vector<std::string>* log_;
    std::string name_;
};

// A child window that records its deletion and the destruction of its system window.
class RecordingChildWindow : public ChildWindow {
public:
    RecordingChildWindow(WindowCL* parent, std::vector<std::string>* log, const char* name,
                         LayoutManager* layout = nullptr)
        : ChildWindow(parent, layout, WS_VISIBLE), log_(log), name_(name)
    {
    }
    ~RecordingChildWindow() override
    {
        if (log_)
            log_->push_back("delete " + name_);
    }

    // Gives the child a brush of its colour, as controls have, to answer its parent's colour requests.
    void MakeBrush(COLORREF colour) { backgroundBrush_.Reset(CreateSolidBrush(colour)); }

private:
    std::vector<std::string>* log_;
    std::string name_;
};

// A handler target that records the events it sees and answers a set value.
class RecordingTarget : public EventTarget {
public:
    RecordingTarget(std::vector<std::string>* log, std::string name, long answer)
        : log_(log), name_(std::move(name)), answer_(answer)
    {
    }
    long Handle(WindowEvent*)
    {
        log_->push_back(name_);
        return answer_;
    }

private:
    std::vector<std::string>* log_;
    std::string name_;
    long answer_;
};

// An application whose created top window is the main window, for the tests that need one.
struct AppWithFrame {
    ScopedApplication app;
    RecordingTopWindow frame;
    AppWithFrame() { frame.Create(); }
};
