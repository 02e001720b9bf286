#include "framework/dialog/FontDialog.h"

#include "framework/draw/zFont.h"
#include "framework/window/FrameworkApp.h"
#include "framework/window/TopWindow.h"

namespace {

int PresentOnScreen(CHOOSEFONTA& dialog)
{
    return ChooseFontA(&dialog);
}

FontDialogPresenter& Presenter()
{
    static FontDialogPresenter presenter = PresentOnScreen;
    return presenter;
}

} // namespace

bool ChooseFontDialog(HWND owner, zFontSpec& logicalFont, DWORD flags)
{
    CHOOSEFONTA dialog{};
    dialog.lStructSize = sizeof dialog;
    // Without an owner the dialog belongs to the application's main window.
    if (!owner && TheApp && TheApp->MainWindow())
        owner = TheApp->MainWindow()->Handle();
    dialog.hwndOwner = owner;
    dialog.lpLogFont = &logicalFont.logFont;
    dialog.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | flags;
    if (!Presenter()(dialog))
        return false;
    logicalFont.size = static_cast<uint16_t>(dialog.iPointSize);
    return true;
}

FontDialogPresenter SetFontDialogPresenter(FontDialogPresenter presenter)
{
    FontDialogPresenter previous = Presenter();
    Presenter() = presenter ? std::move(presenter) : FontDialogPresenter(PresentOnScreen);
    return previous;
}
