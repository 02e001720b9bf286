#include "framework/dialog/GenericCtrl.h"

#include "framework/window/FrameworkApp.h"
#include "framework/window/LayoutManager.h"
#include "framework/window/ResourceLibrary.h"
#include "framework/window/WindowMap.h"

GenericCtrl::GenericCtrl(WindowCL* parent, const RECT& rect, DWORD style, const char* text, unsigned id,
                         const char* className, LPVOID creationParameter)
    : CtrlWindowCL(parent, rect, style, text, id), creationParameter_(creationParameter)
{
    kind_ = KindGeneric;
    if (className)
        className_ = className;
    Create();
}

GenericCtrl::~GenericCtrl()
{
    if (partner_) {
        partner_->SetStateBits(StateWindowGone);
        const bool deleteIt = partner_->State() & StateDeleteWithWindow;
        CtrlWindowCL* partner = partner_;
        partner_ = nullptr;
        if (deleteIt) {
            partner->ClearStateBits(StateDeleteWithWindow);
            delete partner;
        }
    }
}

void GenericCtrl::Create()
{
    ResourceLibrary* library = ResourceLibrary::Find(className_.c_str());
    if (!library)
        return;
    className_ = library->FileName();
    HWND handle = CreateWindowExA(0, className_.c_str(), title_.c_str(), style_ & ~WS_CLIPSIBLINGS,
                                  layout_ ? layout_->X() : 0, layout_ ? layout_->Y() : 0,
                                  layout_ ? layout_->Width() : 0, layout_ ? layout_->Height() : 0,
                                  parent_ ? parent_->Handle() : nullptr,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id_)),
                                  TheApp ? TheApp->Instance() : GetModuleHandleA(nullptr), creationParameter_);
    if (!handle)
        return;
    handle_ = handle;
    if (TheApp && TheApp->Map())
        TheApp->Map()->Insert(handle, this);
    // The library's class procedure stays with this control and answers what the framework leaves.
    previousProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(handle, GWLP_WNDPROC));
    SetWindowLongPtrA(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc));
}
