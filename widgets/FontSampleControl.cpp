#include "widgets/FontSampleControl.h"

#include "widgets/ProgramPreferences.h"
#include "framework/dialog/ButtonCtrl.h"
#include "framework/draw/FontRecordFonts.h"
#include "framework/draw/zFont.h"
#include "framework/window/WindowCL.h"

FontSampleControl::FontSampleControl(WindowCL* dialog, unsigned buttonId, FontRecord* record, unsigned sampleId,
                                     Display* display)
    : savedFlag_(record->turned), record_(record), sample_(dialog->FindChild(sampleId)), dialog_(dialog),
      display_(display)
{
    if (!sample_)
        return;
    MakeSampleFont(false);
    ButtonCtrl::FromTemplate(dialog, buttonId)->OnClick(this, &FontSampleControl::OnClick);
}

FontSampleControl::~FontSampleControl()
{
    record_->turned = savedFlag_;
}

void FontSampleControl::MakeSampleFont(bool redraw)
{
    record_->turned = 0;
    std::unique_ptr<zFont> font = CreateRecordFont(*record_, display_);
    record_->turned = savedFlag_;
    SendMessageA(sample_->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font->Handle()), redraw ? TRUE : FALSE);
    // The template's own text shows the font; a sample left empty gets a few letters (the box is small).
    if (GetWindowTextLengthA(sample_->Handle()) == 0)
        SetWindowTextA(sample_->Handle(), "AaBbCc");
    // The sample lets go of the old font before it is deleted.
    sampleFont_ = std::move(font);
}

long FontSampleControl::OnClick(WindowEvent*)
{
    if (EditFontRecord(*record_, dialog_->Handle(), ThePreferences().trueTypeFontsOnly)) {
        MakeSampleFont(true);
        Changed = 1;
    }
    return 1;
}
