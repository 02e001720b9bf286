#pragma once
// Preferences (template 4000): a list of categories on the left and the page of the category chosen on the
// right. The pages edit working copies of the settings; OK writes them back. Opened without a document
// window it edits the application's settings alone ("Global Prefs"), and "Sa&ve settings" is disabled
// because those are stored at OK anyway. Built and run by its constructor; Result() is nonzero after OK.

#include "dialogs/HookedDialog.h"

class ListBoxCtrl;

class PreferencesDialog : public HookedDialog {
public:
    enum : unsigned {
        kTemplateId = 4000,
        kSaveCheck = 4001,
        kCategoryList = 4002,
        kGlobalPage = 4017,
        kExportBlackAndWhiteCheck = 4090,
        kTrueTypeOnlyCheck = 4091,
        kUsePrinterForSizingCheck = 4096,
    };

    // The application's settings, for when no document window takes the Preferences command.
    PreferencesDialog();

private:
    void Run();
    long OnCategoryChange(WindowEvent* event);
    void BuildPage() override;
    void LoadFromDocument();
    void Apply();

    bool firstShow_ = true;
    int selected_ = 0;
    int shown_ = -1;
    ListBoxCtrl* categories_ = nullptr;
    int save_ = 0;

    // Working values of the "Global Prefs" page.
    int exportBlackAndWhite_ = 0;
    int trueTypeOnly_ = 0;
    int usePrinterForSizing_ = 0;
};
