#include "treewin/PageHeaderDialog.h"

#include "widgets/FontSampleControl.h"
#include "widgets/MenuButton.h"
#include "framework/dialog/EditCtrl.h"
#include "framework/dialog/Menu.h"
#include "framework/dialog/RadioGroup.h"
#include "framework/window/ResourceId.h"

#include "CommandIds.h"

#include <cstring>

namespace Ids = Ctl::PageHeaderFooter;

PageHeaderDialog::PageHeaderDialog(zString& header, zString& footer, FontRecord& headerFont, FontRecord& footerFont,
                                   int16_t& headerPlace, int16_t& footerPlace)
    : AppDialog(DialogRes::PageHeaderFooter), header_(header), footer_(footer), headerFontOut_(headerFont),
      footerFontOut_(footerFont), headerPlaceOut_(headerPlace), footerPlaceOut_(footerPlace), headerText_(header),
      footerText_(footer), headerFont_(headerFont), footerFont_(footerFont),
      headerPlace_(Ids::SampleCenter + headerPlace), footerPlace_(Ids::FooterCentre + footerPlace)
{
    TrackFocus(EditCtrl::FromTemplate(this, Ids::HeaderEdit, &headerText_, CtrlWindowCL::MayBeEmpty));
    TrackFocus(EditCtrl::FromTemplate(this, Ids::FooterEdit, &footerText_, CtrlWindowCL::MayBeEmpty));
    new RadioGroup(this, Ids::SampleCenter - 1, Ids::SampleCenter + 1, &headerPlace_, 0);
    new RadioGroup(this, Ids::FooterCentre - 1, Ids::FooterCentre + 1, &footerPlace_, 0);
    samples_[0] = std::make_unique<FontSampleControl>(this, Ctl::PageHeaderFooter::Font, &headerFont_,
                                                      Ctl::PageHeaderFooter::SampleText, nullptr);
    samples_[1] = std::make_unique<FontSampleControl>(this, Ctl::PageHeaderFooter::Font2821, &footerFont_,
                                                      Ctl::PageHeaderFooter::SampleText2822, nullptr);
    std::unique_ptr<Menu> codes(Menu::PopupFromResource(ResourceId(MenuRes::HeaderCodesPopup, nullptr)));
    if (MenuButton* button = MakeOwningMenuButton(std::move(codes), this, Ctl::PageHeaderFooter::InsertText))
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
    headerPlaceOut_ = static_cast<int16_t>(headerPlace_ - Ids::SampleCenter);
    footerPlaceOut_ = static_cast<int16_t>(footerPlace_ - Ids::FooterCentre);
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
