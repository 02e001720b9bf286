#include "framework/dialog/ColorDialog.h"

#include <commdlg.h>

namespace {

COLORREF* CustomColours()
{
    static COLORREF colours[16] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
                                   0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    return colours;
}

} // namespace

void ShowColorDialog(ColorDialogResult& result, HWND parent, const Colour& initial)
{
    CHOOSECOLORA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = parent;
    dialog.rgbResult = initial.ToColorRef();
    dialog.lpCustColors = CustomColours();
    dialog.Flags = CC_RGBINIT;
    result.chosen = ChooseColorA(&dialog) ? 1 : 0;
    result.colour = SplitColour(dialog.rgbResult);
}
