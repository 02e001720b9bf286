#include "dialogs/PreferencesDialog.h"

#include "app/WindowPlacement.h"
#include "foundation/AppFlags.h"
#include "foundation/PreferencesStore.h"
#include "framework/dialog/ButtonCtrl.h"
#include "framework/dialog/ListBoxCtrl.h"

#include <cstdint>

namespace {

// A category of the list: the template of its page, 0 for a header line (shown, never selected).
struct PreferencesPage {
    int32_t pageId;
    const char* label;
};

const PreferencesPage ApplicationPages[] = {
    {0, "---- Other Prefs"},
    {PreferencesDialog::kGlobalPage, "Global Prefs"},
    {0, nullptr},
};

// The page rectangle in dialog units: right of the category list, as wide as the pages' templates.
constexpr POINT PageCorner{91, 7};
constexpr SIZE PageSize{158, 160};

} // namespace

PreferencesDialog::PreferencesDialog() : HookedDialog(kTemplateId)
{
    Run();
}

void PreferencesDialog::Run()
{
    POINT corner{};
    POINT size{};
    DialogUnitsToPixels(corner, PageCorner.x, PageCorner.y, Handle());
    DialogUnitsToPixels(size, PageSize.cx, PageSize.cy, Handle());
    pageRect_ = RECT{corner.x, corner.y, corner.x + size.x, corner.y + size.y};
    firstShow_ = true;
    const PreferencesPage* pages = ApplicationPages;
    selected_ = pages[0].pageId == 0 ? 1 : 0;
    shown_ = selected_ - 1;
    categories_ = ListBoxCtrl::FromTemplate(this, kCategoryList);
    for (const PreferencesPage* page = pages; page->label; ++page)
        categories_->AddChars(page->label);
    categories_->SetCurSel(selected_);
    categories_->OnSelChange(this, &PreferencesDialog::OnCategoryChange);
    CheckBoxCtrl* save = CheckBoxCtrl::FromTemplate(this, kSaveCheck, &save_);
    if (save->Handle())
        EnableWindow(save->Handle(), FALSE);
    LoadFromDocument();
    OnCategoryChange(nullptr);
    if (RunModal())
        Apply();
}

long PreferencesDialog::OnCategoryChange(WindowEvent*)
{
    if (firstShow_) {
        firstShow_ = false;
    } else {
        selected_ = categories_->GetCurSel();
        if (selected_ == shown_)
            return 1;
    }
    const int32_t pageId = ApplicationPages[selected_].pageId;
    if (pageId == 0 || !ShowPage(pageId)) {
        selected_ = shown_;
        categories_->SetCurSel(shown_);
    } else {
        shown_ = selected_;
    }
    if (categories_->Handle())
        SetFocus(categories_->Handle());
    return 1;
}

void PreferencesDialog::BuildPage()
{
    if (PageId() == static_cast<int>(kGlobalPage)) {
        CheckBoxCtrl::FromTemplate(Page(), kExportBlackAndWhiteCheck, &exportBlackAndWhite_);
        CheckBoxCtrl::FromTemplate(Page(), kTrueTypeOnlyCheck, &trueTypeOnly_);
        CheckBoxCtrl::FromTemplate(Page(), kUsePrinterForSizingCheck, &usePrinterForSizing_);
    }
}

void PreferencesDialog::LoadFromDocument()
{
    exportBlackAndWhite_ = AppFlags::exportBlackAndWhite ? 1 : 0;
    trueTypeOnly_ = AppFlags::trueTypeFontsOnly ? 1 : 0;
    usePrinterForSizing_ = AppFlags::useScreenForSizing == 0 ? 1 : 0;
}

// The application's settings take effect and are stored at once, whether or not "Sa&ve settings" is checked.
void PreferencesDialog::Apply()
{
    AppFlags::exportBlackAndWhite = exportBlackAndWhite_ != 0;
    AppFlags::trueTypeFontsOnly = trueTypeOnly_ != 0;
    const int useScreen = usePrinterForSizing_ ? 0 : 1;
    AppFlags::useScreenForSizing = useScreen;
    WriteProfileInt("General", "ExportBW", exportBlackAndWhite_ ? 1 : 0);
    WriteProfileInt("General", "TrueTypeOnly", trueTypeOnly_ ? 1 : 0);
    WriteProfileInt("General", "UseScreenForSizing", useScreen);
}
