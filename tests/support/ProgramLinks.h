#pragma once
// A DDE link manager of a test's own, on the clipboard and service given: it stands in for the program's
// links while it lives, and the program's own come back afterwards.

#include "app/StartProgram.h"
#include "script/DdeLinkManager.h"

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
