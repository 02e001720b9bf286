#pragma once
// Preferences (template 4000): a list of categories on the left and the page of the category chosen on the
// right. The pages edit working copies of the settings; OK writes them back. Opened on a tree window it edits
// the tree's calculation and display settings (and the application's); opened without a document window it
// edits the application's settings alone ("Global Prefs"), and "Sa&ve settings" is disabled because those
// are stored at OK anyway. Run() runs it; Result() is nonzero after OK.
// The frame and the category list live in PreferencesDialog.cpp; the tree's pages in PreferencesTreePages.cpp,
// PreferencesMethodPage.cpp and PreferencesTreeRecords.cpp; the diagram's in PreferencesDiagramPages.cpp.

#include "dialogs/HookedDialog.h"

#include <memory>

class GraphWindow;
class InfluenceDiagramWindow;
class ListBoxCtrl;
class TreeWindow;
struct DiagramPreferenceValues;
struct PreferencesPage;
struct TreePreferenceValues;

class PreferencesDialog : public HookedDialog {
public:

    // The application's settings, for when no document window takes the Preferences command.
    PreferencesDialog();
    // The tree window's settings and the application's; the pages edit the tree's records at OK.
    explicit PreferencesDialog(TreeWindow& tree);
    // The diagram window's display preferences and print zoom, and the application's; the pages edit the
    // window's records at OK.
    explicit PreferencesDialog(InfluenceDiagramWindow& diagram);
    // The graph window's print zoom and centring, and the application's; the window takes them at OK.
    explicit PreferencesDialog(GraphWindow& graph);
    ~PreferencesDialog() override;
    // The modal run; at OK the settings are applied (and, with the check box, kept for new trees). Nonzero
    // after OK.
    int Run();

    // After OK on a tree: a changed value makes the tree's layout stale.
    bool Relayout() const { return relayout_ != 0; }

    long OnCommandId(unsigned id, unsigned code, HWND control) override;

private:
    long OnCategoryChange(WindowEvent* event);
    long OnCategoryInput(WindowEvent* event);
    int ValidatePage() override;
    void BuildPage() override;
    void ReleasePage() override;
    void LoadFromDocument();
    void Apply();
    void SaveTreeSettings();
    // The working copies read from the window's records.
    void LoadTreeValues();
    void LoadDiagramValues();
    // A button clicked on a tree's page; ids the pages do not own go on to the dialog.
    long OnTreePageClick(unsigned id, unsigned code, HWND control);
    // A button clicked on a diagram's page; false when the page does not own it.
    bool OnDiagramPageClick(unsigned id);

    void BuildTreePage();
    void BuildDiagramPage();
    void ApplyDiagram();
    // The conversion number format's sample, 1234567.8901234, in static 4121.
    void ShowConversionNumericSample();
    void BuildMethodPage();
    long OnMethodChange(WindowEvent* event);
    long OnPayoffChange(WindowEvent* event);
    long OnVariableMarkingChange(WindowEvent* event);
    void StoreMethodLists();
    void CheckOptimalPath(bool checked);
    void ShowNumericSample();
    void ApplyTreeDisplay();
    void ApplyTreeCalculation();
    // The page's control window, null when the page shown has none of that id.
    HWND Item(unsigned id) const;
    void EnableItem(unsigned id, bool enable) const;
    void ShowItem(unsigned id, bool show) const;

    bool firstShow_ = true;
    int selected_ = 0;
    int shown_ = -1;
    const PreferencesPage* pages_ = nullptr;
    ListBoxCtrl* categories_ = nullptr;
    // The last input to the category list was a press of the mouse, not a key.
    bool categoryClicked_ = false;
    int save_ = 0;
    TreeWindow* tree_ = nullptr;
    bool rolledBack_ = false;
    // A number format was accepted on a page: shown results change with it.
    bool subDialogAccepted_ = false;
    int relayout_ = 0;
    std::unique_ptr<TreePreferenceValues> values_;
    InfluenceDiagramWindow* diagram_ = nullptr;
    std::unique_ptr<DiagramPreferenceValues> diagramValues_;
    GraphWindow* graph_ = nullptr;
    int graphZoom_ = 100;
    int graphCentre_ = 0;

    // Working values of the "Global Prefs" page.
    int exportBlackAndWhite_ = 0;
    int trueTypeOnly_ = 0;
    int usePrinterForSizing_ = 0;
};
