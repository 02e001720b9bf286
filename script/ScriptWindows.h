#pragma once
// What a script shows the person: the timed message pump of Delay and TextBox, the text window,
// the "Script Control" branch dialog and the one-field input dialog.

#include "widgets/ProgramDialog.h"

#include <functional>
#include <string>

// Dispatches the messages that wait now; keystrokes and mouse clicks are dropped. An Escape press or a quit
// message (posted again for the loop it belongs to) ends the serving: true then. `stopped` is asked after
// every message; once it answers true nothing more is served.
bool ServeWaitingScriptMessages(const std::function<bool()>& stopped);
// Serves messages in the same way for the time (milliseconds), waiting on the clock; true when Escape, a
// quit message or `stopped` ended the wait early.
bool PumpScriptMessages(unsigned milliseconds, const std::function<bool()>& stopped);

// Shows the text in a bordered note over the main frame for the time, without taking the activation, then
// removes it; true when the wait ended early, as for PumpScriptMessages.
bool ShowScriptText(const std::string& text, unsigned milliseconds, const std::function<bool()>& stopped);

// The branch dialog: a text, up to four branch buttons and the Exit button.
class ScriptControlDialog : public ProgramDialog {
public:
    enum : unsigned { kMaxBranches = 4 };

    // An empty caption keeps "Script Control", an empty exit text keeps "E&xit".
    ScriptControlDialog(const std::string& text, const std::string& caption, const std::string& exitText);
    // The next button gets the text; false (nothing changes) once four are defined.
    bool AddBranch(const std::string& text);
    // Runs the dialog; the index of the branch pressed, -1 for Exit or a closed dialog.
    int RunBranches();

private:
    int branches_ = 0;
    int chosen_ = -1;
};

// Asks for a value with the prompt. With bounds (low below high) the field takes a number within them and
// the answer is that number as text; else any text. An empty answer after Cancel.
std::string AskScriptInput(const std::string& prompt, double low, double high);
