#include "CommandIds.h"
#include "dialogs/PageHeaderDialog.h"

#include "app/FontSampleControl.h"
#include "app/MenuButton.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/dialog/Menu.h"
#include "framework/dialog/RadioGroup.h"
#include "framework/window/ResourceId.h"

#include <cstring>

PageHeaderDialog::PageHeaderDialog(zString& header, zString& footer, FontRecord& headerFont,
                                   FontRecord& footerFont, int16_t& headerPlace, int16_t& footerPlace)
    : AppDialog(DialogRes::PageHeaderFooter), header_(header), footer_(footer), headerFontOut_(headerFont), footerFontOut_(footerFont),
      headerPlaceOut_(headerPlace), footerPlaceOut_(footerPlace), headerText_(header), footerText_(footer),
      headerFont_(headerFont), footerFont_(footerFont), headerPlace_(Ctl::PageHeaderFooter::SampleCenter + headerPlace),
      footerPlace_(Ctl::PageHeaderFooter::FooterCentre + footerPlace)
{
    TrackFocus(EditCtrl::FromTemplate(this, Ctl::PageHeaderFooter::HeaderEdit, &headerText_, CtrlWindowCL::MayBeEmpty));
    TrackFocus(EditCtrl::FromTemplate(this, Ctl::PageHeaderFooter::FooterEdit, &footerText_, CtrlWindowCL::MayBeEmpty));
    new RadioGroup(this, Ctl::PageHeaderFooter::SampleCenter - 1, Ctl::PageHeaderFooter::SampleCenter + 1, &headerPlace_, 0);
    new RadioGroup(this, Ctl::PageHeaderFooter::FooterCentre - 1, Ctl::PageHeaderFooter::FooterCentre + 1, &footerPlace_, 0);
    samples_[0] = std::make_unique<FontSampleControl>(this, 2815, &headerFont_, 2816, nullptr);
    samples_[1] = std::make_unique<FontSampleControl>(this, 2821, &footerFont_, 2822, nullptr);
    std::unique_ptr<Menu> codes(Menu::PopupFromResource(ResourceId(124, nullptr)));
    if (MenuButton* button = MakeOwningMenuButton(std::move(codes), this, 2823))
        AddMenuButton(button->ButtonMenu());
}

int PageHeaderDialog::Run()
{
    if (!RunModal())
        return 0;
    header_ = headerText_;
    footer_ = footerText_;
    headerFontOut_ = headerFont_;
    footerFontOut_ = footerFont_;
    headerPlaceOut_ = static_cast<int16_t>(headerPlace_ - Ctl::PageHeaderFooter::SampleCenter);
    footerPlaceOut_ = static_cast<int16_t>(footerPlace_ - Ctl::PageHeaderFooter::FooterCentre);
    return 1;
}

PageHeaderDialog::~PageHeaderDialog() = default;

void PageHeaderDialog::InsertPickedText(const char* text, unsigned commandId)
{
    const char* code = std::strstr(text, "(^");
    if (code == nullptr || code[2] == '\0')
        return;
    const char insert[3] = {'^', code[2], '\0'};
    AppDialog::InsertPickedText(insert, commandId);
}
