#pragma once
// The program's dialogs as they reach the screen: an OK/Cancel dialog from its template, owned by the main
// window, with per-button handlers; its Help button (111) opens help on the dialog. Without an application
// there is no message loop to run it in, and the dialog answers Cancel.

#include "framework/dialog/OkCancelDialog.h"
#include "framework/window/Timer.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>

class ComboBoxCtrl;
class HelpContextScope;
class PaintedArea;
class DocVariableList;
class zString;

class ProgramDialog : public OkCancelDialog {
public:
    explicit ProgramDialog(unsigned templateId);
    ~ProgramDialog() override;

    // The handler runs instead of anything else the button would do.
    void OnButton(unsigned id, std::function<void()> handler);
    // The handler runs when the control sends that notification (LBN_DBLCLK, ...); a control may have one
    // handler for each of its notifications.
    void OnNotification(unsigned id, unsigned code, std::function<void()> handler);
    // The handler runs every period (milliseconds) while the dialog is open.
    void Every(unsigned period, std::function<void()> handler);
    // Runs the dialog when there is an application; answers IDOK after a successful OK, else IDCANCEL.
    int Run();
    // The area control is painted white and then by the function from now on; null without the control.
    PaintedArea* PaintArea(unsigned id, std::function<void(HDC, const RECT&)> paint);
    // Ends the dialog as accepted after storing its controls, also without an OK button; false, keeping it
    // open, when a control refuses.
    bool Accept();
    // Runs a dialog whose only choice is a run of radio buttons, firstId to lastId; on OK the checked
    // button's id is stored in checkedId.
    static int RunRadioChoice(unsigned templateId, unsigned firstId, unsigned lastId, int& checkedId);
    // The place of a control of the template that a pane or a control made in code takes: its rectangle in
    // the dialog's client coordinates; the control itself is hidden.
    RECT TakePlaceOf(unsigned id);
    // Check boxes and radio buttons of the template, and messages to its controls.
    bool IsChecked(unsigned id) const { return IsDlgButtonChecked(Handle(), static_cast<int>(id)) == BST_CHECKED; }
    void SetChecked(unsigned id, bool on) { CheckDlgButton(Handle(), static_cast<int>(id), on ? BST_CHECKED : 0); }
    LRESULT SendToItem(unsigned id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return SendDlgItemMessageA(Handle(), static_cast<int>(id), message, wParam, lParam);
    }
    // The dialog's font, for controls made in code.
    HFONT DialogFont() const;
    // The text shortened with "..." at its end until it fits the width (dialog units) in the dialog's font.
    std::string FittedText(const char* text, int width) const;
    // The combo box lists the variables' names and holds the chosen one in the text.
    ComboBoxCtrl* BindVariableNames(unsigned id, const DocVariableList* variables, zString* chosen);

private:
    long OnAnyButton(WindowEvent* event);
    void OnTimer();

    // Keyed by control id and notification code; kAnyCode for a button's handler.
    static constexpr unsigned kAnyCode = 0xFFFFFFFFu;
    std::map<std::pair<unsigned, unsigned>, std::function<void()>> handlers_;
    std::function<void()> onTimer_;
    std::unique_ptr<Timer> timer_;
    std::unique_ptr<HelpContextScope> helpContext_;
};
