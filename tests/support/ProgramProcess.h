#pragma once
// The program as a separate process, for tests that talk to it over DDE: started with a script job, asked
// for its interpreter's status on service "KIVO_Node", and closed through its frame.

#include <windows.h>

#include <string>
#include <vector>

// A file in the temporary directory.
std::string TempFilePath(const char* name);
// That file written with the text; its path.
std::string WriteTempFile(const char* name, const std::string& text);

class ProgramProcess {
public:
    // Starts "kivo -t -^ job" in the program's directory (made ready so that no first-start question shows).
    ProgramProcess(const char* program, const std::string& job);
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;
    // Ends the process when it still runs.
    ~ProgramProcess();

    bool Started() const { return info_.hProcess != nullptr; }
    // The titles of the process's visible top-level windows; the frame is the one titled "KIVO 3.5...".
    std::vector<std::string> WindowTitles(HWND* frame = nullptr) const;
    // The process's visible top-level window of that title; null when it shows none.
    HWND Window(const std::string& title) const;
    // The titles of the frame's document windows, top first.
    std::vector<std::string> DocumentTitles() const;
    // Closes the frame and waits for the end; false when it did not end in time (it is then ended).
    bool Close(DWORD& exitCode);
    // Serves this thread's windows until the program's "ScriptMgr" item (a script variable "SV_...") has the
    // value: first until its frame shows, found among its own windows, which asks nothing of other
    // processes; then asking the program five times a second, since a DDE connect sends its request to every
    // top-level window of the display. False when the deadline passes or the program ends first.
    bool WaitForScriptItem(const char* item, const char* value, DWORD deadline);
    // What the program shows, for a failure message: its windows' titles, or its exit code once it ended.
    std::string State() const;

private:
    PROCESS_INFORMATION info_{};
};

// Runs the DDE client program (tests' kivo_ddeclient) with its commands on the topic of service "KIVO_Node",
// serving this thread's windows until it ends; the lines it wrote.
std::vector<std::string> RunDdeClient(const char* client, const char* topic, const std::string& commands);

// An item of the "ScriptMgr" topic ("Status", "SV_" and a script variable); empty when no program answers.
std::string RequestScriptItem(const char* item);
inline std::string RequestScriptStatus() { return RequestScriptItem("Status"); }
