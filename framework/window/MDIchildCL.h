#pragma once
// A document window inside the MDI client of the frame. Created hidden through the client; its default
// processing is the MDI child's. A child that deletes itself with its window is deleted later by the frame.

#include "framework/window/TopWindow.h"

// Lives around an activation of a child of the MDI client. The system's client keeps the active child
// maximised: activating another child restores the maximised one and maximises the new one. A child without a
// maximise box (a tool window) is activated over a maximised child that stays maximised; a child with one,
// activated while another child stays maximised under a tool window, is maximised in its place.
class MaximisedStateKeeper {
public:
    MaximisedStateKeeper(HWND client, HWND target);
    ~MaximisedStateKeeper();
    MaximisedStateKeeper(const MaximisedStateKeeper&) = delete;
    MaximisedStateKeeper& operator=(const MaximisedStateKeeper&) = delete;

private:
    HWND target_;
    HWND kept_ = nullptr;       // the maximised child, its maximised mark lifted during the activation
    bool maximise_ = false;     // the target is maximised afterwards
};

class MDIchildCL : public TopWindow {
public:
    // Posted to a tool window that the client maximised: it is restored.
    static constexpr UINT RestoreToolMessage = 6227;

    MDIchildCL(WindowCL* parent, LayoutManager* layout, DWORD style, const char* title);
    explicit MDIchildCL(WindowCL* parent);
    // Destroys the window through the client unless it is gone already; unregisters the child's class.
    ~MDIchildCL() override;

    LRESULT DefaultProcessing(WindowEvent* event) override; // 1
    std::unique_ptr<WNDCLASSA> ClassRecord() override;     // 2
    void Show(int showCommand) override;                    // 17
    void Create() override;                                 // 18
    // Called on WM_MDIACTIVATE after the frame has been told; the answer is the procedure's. Calls
    // OnMDIActivation with whether this child is the one being activated.
    virtual long OnMDIActivate(WindowEvent* event);         // 19
    virtual long OnMDIActivation(bool active);

    // Makes this child the client's active child.
    void Activate();

protected:
    // The first showing's opening steps: the title goes up and the child is shown, and activated unless the
    // command keeps it inactive, and the Window menu lists it. False, after only showing it as asked, when it was shown before.
    bool BeginFirstShow(int showCommand);
    // The first showing's closing steps: painted at once, and visible from then on when shown.
    void EndFirstShow(int showCommand);
    // Creates the window hidden inside the MDI client, without flicker, at the given place (CW_USEDEFAULT
    // lets the system choose) and with the given title for the request (null: none); the window text is the
    // child's title afterwards.
    void CreateInClient(const char* mdiTitle, int x, int y, int width, int height);
    // The child's rows: sizes and moves also reach the MDI default procedure, activation is reported to
    // the frame, and a child deleted with its window is handed to the frame for deletion.
    long HandleMessage(WindowEvent& event, bool& answeredAtOnce, LRESULT& answer) override;
};
