#pragma once
// The application of a benchmark that makes windows: while a BenchApp lives, a hidden framework application
// is installed, with the program's main frame where asked, and the application before comes back after.

#include "app/MainFrame.h"
#include "framework/window/FrameworkApp.h"

#include <memory>

class BenchApp {
public:
    enum FrameChoice { NoFrame, WithMainFrame };

    explicit BenchApp(FrameChoice choice = NoFrame) : previous_(TheApp)
    {
        TheApp = new FrameworkApp(GetModuleHandleA(nullptr), nullptr, "", SW_HIDE);
        if (choice == WithMainFrame) {
            frame_ = std::make_unique<MainFrame>();
            frame_->EndStartup();
        }
    }
    ~BenchApp()
    {
        frame_.reset();
        delete TheApp;
        TheApp = previous_;
    }
    BenchApp(const BenchApp&) = delete;
    BenchApp& operator=(const BenchApp&) = delete;

private:
    FrameworkApp* previous_;
    std::unique_ptr<MainFrame> frame_;
};
