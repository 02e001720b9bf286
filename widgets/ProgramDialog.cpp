#include "widgets/ProgramDialog.h"

#include "widgets/AppDialog.h"
#include "widgets/HelpContext.h"
#include "widgets/OnlineHelp.h"
#include "widgets/WindowPlacement.h"
#include "framework/dialog/ComboBoxCtrl.h"
#include "framework/dialog/DialogUnits.h"
#include "framework/dialog/PaintedArea.h"
#include "framework/dialog/RadioGroup.h"
#include "framework/draw/GdiScopes.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/HandlerDescriptor.h"
#include "framework/window/TopWindow.h"
#include "model/DocVariable.h"

#include <cstring>

ProgramDialog::ProgramDialog(unsigned templateId)
    : OkCancelDialog(TheApp ? TheApp->MainWindow() : nullptr, ResourceId(templateId, nullptr))
{
    // As every application dialog: with a Help button the dialog is the help context while it lives.
    if (FindChild(HelpButtonId)) {
        helpContext_ = std::make_unique<HelpContextScope>(static_cast<int>(templateId));
        OnButton(HelpButtonId, [] { ShowHelpForContext(); });
    }
}

ProgramDialog::~ProgramDialog() = default;

void ProgramDialog::OnButton(unsigned id, std::function<void()> handler)
{
    OnNotification(id, kAnyCode, std::move(handler));
}

void ProgramDialog::OnNotification(unsigned id, unsigned code, std::function<void()> handler)
{
    const auto first = handlers_.lower_bound({id, 0});
    if (first == handlers_.end() || first->first.first != id)
        AddHandlerDescriptor(std::make_unique<HandlerDescriptor>(id, AsEventHandler(&ProgramDialog::OnAnyButton),
                                                                 this, WM_COMMAND));
    handlers_[{id, code}] = std::move(handler);
}

long ProgramDialog::OnAnyButton(WindowEvent* event)
{
    const unsigned id = event->CommandId();
    auto found = handlers_.find({id, kAnyCode});
    if (found == handlers_.end())
        found = handlers_.find({id, event->NotifyCode()});
    if (found == handlers_.end())
        return 0;
    found->second();
    return 1;
}

void ProgramDialog::Every(unsigned period, std::function<void()> handler)
{
    onTimer_ = std::move(handler);
    timer_ = std::make_unique<Timer>(this, &ProgramDialog::OnTimer, period);
}

void ProgramDialog::OnTimer()
{
    onTimer_();
}

int ProgramDialog::Run()
{
    if (!TheApp || !Handle())
        return IDCANCEL;
    // Over the window the user works in, as every application dialog.
    PlaceDialogInFrame(Handle());
    RunModal();
    timer_.reset();
    return Result() ? IDOK : IDCANCEL;
}

bool ProgramDialog::Accept()
{
    if (!ValidateAndStore())
        return false;
    EndModal();
    return true;
}

int ProgramDialog::RunRadioChoice(unsigned templateId, unsigned firstId, unsigned lastId, int& checkedId)
{
    ProgramDialog dialog(templateId);
    new RadioGroup(&dialog, firstId, lastId, &checkedId, 0);
    return dialog.Run();
}

ComboBoxCtrl* ProgramDialog::BindVariableNames(unsigned id, const DocVariableList* variables, zString* chosen)
{
    ComboBoxCtrl* names = ComboBoxCtrl::FromTemplate(this, id);
    if (names == nullptr)
        return nullptr;
    for (int i = 0; variables != nullptr && i < variables->Count(); ++i)
        names->AddString(variables->At(i)->name);
    names->SetTextBuffer(chosen, 0);
    names->Load();
    return names;
}

PaintedArea* ProgramDialog::PaintArea(unsigned id, std::function<void(HDC, const RECT&)> paint)
{
    return FindChild(id) ? PaintedArea::FromTemplate(this, id, std::move(paint)) : nullptr;
}

RECT ProgramDialog::TakePlaceOf(unsigned id)
{
    RECT rect{};
    if (HWND control = Control(id)) {
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rect), 2);
        ::ShowWindow(control, SW_HIDE);
    }
    return rect;
}

HFONT ProgramDialog::DialogFont() const
{
    return reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0));
}

std::string ProgramDialog::FittedText(const char* text, int width) const
{
    ScopedScreenInfoContext dc;
    ScopedSelection font(dc.Get(), DialogFont());
    const zDialogUnit units(dc.Get());
    std::string fitted(text);
    // Room for the three dots that may replace the end.
    fitted.resize(fitted.size() + 4, '\0');
    RECT room{0, 0, units.ToPixelsX(width), 100};
    DrawTextA(dc.Get(), &fitted[0], -1, &room, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING | DT_NOPREFIX | DT_CALCRECT);
    fitted.resize(std::strlen(fitted.c_str()));
    return fitted;
}
