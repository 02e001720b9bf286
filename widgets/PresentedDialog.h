#pragma once
// The seam through which a modal dialog of the tree commands meets the person: the dialog object holds its
// fields, and the presenter (installed by the program's dialog engine, or by a test) shows it, lets the
// fields be changed and answers IDOK or IDCANCEL. Without a presenter the dialog is cancelled.

#include "foundation/PresenterSlot.h"

#include <windows.h>

#include <functional>
#include <utility>

template <class Dialog>
class PresentedDialog {
public:
    using Presenter = std::function<int(Dialog&)>;
    // Installs the presenter (an empty one removes it) and returns the one it replaces.
    static Presenter SetPresenter(Presenter presenter) { return Slot::Replace(std::move(presenter)); }

protected:
    // The presenter's answer, IDCANCEL without one.
    int Present() { return Slot::Current() ? Slot::Current()(static_cast<Dialog&>(*this)) : IDCANCEL; }
    static bool HasPresenter() { return static_cast<bool>(Slot::Current()); }

private:
    using Slot = PresenterSlot<Dialog, Presenter>;
};
