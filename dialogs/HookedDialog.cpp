#include "dialogs/HookedDialog.h"

#include "widgets/RangeValidator.h"
#include "framework/dialog/DialogUnits.h"
#include "framework/dialog/FormattedEdit.h"
#include "framework/window/ResourceId.h"

DialogPage::DialogPage(HookedDialog* host, unsigned pageId)
    : OkCancelDialog(host, ResourceId(pageId, nullptr)), host_(host)
{
    ApplyDialogFont(*this);
    // The dialog's keyboard handling takes the page's controls as its own: Tab runs through the dialog's tab
    // stops and the page's, Alt+letter finds the page's controls, Enter and Escape act on OK and Cancel.
    if (Handle())
        SetWindowLongA(Handle(), GWL_EXSTYLE, GetWindowLongA(Handle(), GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
}

long DialogPage::OnCommandId(unsigned id, unsigned code, HWND control)
{
    if (host_->IsEnterOnPageButton(id, code))
        return host_->PressOk();
    return host_->OnCommandId(id, code, control);
}

HookedDialog::HookedDialog(unsigned templateId) : AppDialog(templateId) {}

void HookedDialog::PlacePages(int left, int top, int right, int bottom)
{
    const zDialogUnit system;
    pageRect_ = RECT{system.ToPixelsX(left), system.ToPixelsY(top), system.ToPixelsX(right), system.ToPixelsY(bottom)};
}

HookedDialog::~HookedDialog()
{
    ClosePage();
}

int HookedDialog::ShowPage(int pageId)
{
    if (pageId > 0 && pageId == pageId_)
        return 0;
    if (page_ && (!page_->ValidateAndStore() || !ValidatePage()))
        return 0;
    ClosePage();
    pageId_ = pageId;
    page_ = std::make_unique<DialogPage>(this, static_cast<unsigned>(pageId));
    // In the tab order the page's controls come just before OK, so Tab from its last stop reaches OK.
    const HWND ok = GetDlgItem(Handle(), IDOK);
    const HWND before = ok != nullptr ? GetWindow(ok, GW_HWNDPREV) : nullptr;
    SetWindowPos(page_->Handle(), before != nullptr ? before : HWND_BOTTOM, pageRect_.left, pageRect_.top,
                 pageRect_.right - pageRect_.left, pageRect_.bottom - pageRect_.top, SWP_NOACTIVATE);
    BuildPage();
    page_->Show(SW_SHOW);
    return 1;
}

bool HookedDialog::IsEnterOnPageButton(unsigned id, unsigned code) const
{
    if (code != BN_CLICKED || !page_ || GetKeyState(VK_RETURN) >= 0)
        return false;
    const HWND button = GetDlgItem(page_->Handle(), static_cast<int>(id));
    if (!button)
        return false;
    const LRESULT kind = SendMessageA(button, WM_GETDLGCODE, 0, 0);
    return (kind & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

long HookedDialog::PressOk()
{
    // Posted: OK ends the run and closes the page, whose button may still be reporting.
    PostMessageA(Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(Handle(), IDOK)));
    return 1;
}

void HookedDialog::ClosePage()
{
    if (!page_)
        return;
    ReleasePage();
    page_.reset();
}

int HookedDialog::OkResult()
{
    if (page_ && !page_->ValidateAndStore())
        return 0;
    return ValidatePage();
}

void HookedDialog::EndModal()
{
    ClosePage();
    AppDialog::EndModal();
}

IntegerEdit* HookedDialog::AddPageIntegerField(unsigned id, int* value, int low, int high)
{
    return IntegerEdit::FromTemplate(page_.get(), id, new IntegerRangeValidator(low, high, 1), 0, value);
}
