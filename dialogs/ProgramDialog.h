#pragma once
// The program's dialogs as they reach the screen: an OK/Cancel dialog from its template, owned by the main
// window, with per-button handlers. Without an application there is no message loop to run it in, and the
// dialog answers Cancel.

#include "framework/dialog/OkCancelDialog.h"

#include <functional>
#include <map>

class ProgramDialog : public OkCancelDialog {
public:
    explicit ProgramDialog(unsigned templateId);

    // The handler runs instead of anything else the button would do.
    void OnButton(unsigned id, std::function<void()> handler);
    // The handler runs when the control sends that notification (LBN_DBLCLK, ...).
    void OnNotification(unsigned id, unsigned code, std::function<void()> handler);
    // Runs the dialog when there is an application; answers IDOK after a successful OK, else IDCANCEL.
    int Run();
    // Focuses the field and selects its whole text.
    void SelectField(unsigned id);

private:
    long OnAnyButton(WindowEvent* event);

    std::map<unsigned, std::function<void()>> handlers_;
    std::map<unsigned, unsigned> codes_;
};
