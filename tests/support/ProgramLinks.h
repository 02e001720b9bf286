#pragma once
// A DDE link manager, or a clipboard, of a test's own: it stands in for the program's while it lives, and
// the program's own comes back afterwards.

#include "app/StartProgram.h"
#include "framework/window/Clipboard.h"
#include "widgets/DdeLinkManager.h"

#include <memory>

class ProgramLinks {
public:
    ProgramLinks(Clipboard* clipboard, const char* service)
        : saved_(TheProgram()->ReplaceLinks(std::make_unique<DdeLinkManager>(clipboard, service)))
    {
    }
    ~ProgramLinks() { TheProgram()->ReplaceLinks(std::move(saved_)); }
    ProgramLinks(const ProgramLinks&) = delete;
    ProgramLinks& operator=(const ProgramLinks&) = delete;

    DdeLinkManager& Manager() const { return *TheProgram()->Links(); }

private:
    std::unique_ptr<DdeLinkManager> saved_;
};

// The program's clipboard bound to the test's window.
class ProgramClipboard {
public:
    explicit ProgramClipboard(WindowCL* owner)
        : saved_(TheProgram()->ReplaceClipboard(std::make_unique<Clipboard>(owner)))
    {
    }
    ~ProgramClipboard() { TheProgram()->ReplaceClipboard(std::move(saved_)); }
    ProgramClipboard(const ProgramClipboard&) = delete;
    ProgramClipboard& operator=(const ProgramClipboard&) = delete;

    Clipboard* operator->() const { return TheProgram()->SystemClipboard(); }

private:
    std::unique_ptr<Clipboard> saved_;
};
