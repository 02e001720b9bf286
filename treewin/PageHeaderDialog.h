#pragma once
// Page Header & Footer (template 2810): the two texts, their fonts and their places on the page (-1 left,
// 0 centre, 1 right). Works on copies; Run() writes them back at OK and is then nonzero.

#include "widgets/AppDialog.h"
#include "foundation/FontRecord.h"
#include "foundation/zString.h"

#include <cstdint>
#include <memory>

class FontSampleControl;

class PageHeaderDialog : public AppDialog {
public:

    PageHeaderDialog(zString& header, zString& footer, FontRecord& headerFont, FontRecord& footerFont,
                     int16_t& headerPlace, int16_t& footerPlace);
    ~PageHeaderDialog() override;
    int Run();

private:
    // A pick of the "Insert:" menu puts its code ("^" and the letter of the item) at the caret.
    void InsertPickedText(const char* text, unsigned commandId) override;

    zString& header_;
    zString& footer_;
    FontRecord& headerFontOut_;
    FontRecord& footerFontOut_;
    int16_t& headerPlaceOut_;
    int16_t& footerPlaceOut_;
    zString headerText_;
    zString footerText_;
    FontRecord headerFont_;
    FontRecord footerFont_;
    int headerPlace_;
    int footerPlace_;
    std::unique_ptr<FontSampleControl> samples_[2];
};
