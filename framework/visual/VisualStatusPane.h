#pragma once
// The status pane: a strip of field items laid out side by side under a two-line top edge, which also shows
// the help text of the menu item (or tool bar button) under the pointer. VisualPane adds the standard
// indicators and the message field chosen by style bits.

#include "framework/visual/VisualItemPane.h"
#include "framework/window/ResourceId.h"

#include <list>
#include <memory>
#include <string>

class ChildLayout;
class DockLayout;
class VisualFieldItem;
class VisualItemGroup;
class zFont;

// The four margin rules of a pane's layout, one per side, made when first set.
class PaneMargins {
public:
    explicit PaneMargins(ChildLayout* layout) : layout_(layout) {}
    PaneMargins(const PaneMargins&) = delete;
    PaneMargins& operator=(const PaneMargins&) = delete;
    ~PaneMargins();

    void SetTop(int value) { Set(top_, 2, value); }
    void SetBottom(int value) { Set(bottom_, 3, value); }
    void SetRight(int value) { Set(right_, 1, value); }
    void SetLeft(int value) { Set(left_, 0, value); }

private:
    void Set(DockLayout*& rule, int kind, int value);

    ChildLayout* layout_;
    DockLayout* top_ = nullptr;
    DockLayout* bottom_ = nullptr;
    DockLayout* right_ = nullptr;
    DockLayout* left_ = nullptr;
};

class VisualStatusPane : public VisualItemPane {
public:
    // A help table entry: command id and text; a null text ends the table.
    struct HelpEntry {
        unsigned id;
        const char* text;
    };

    // With no font, "Helv" at 12 points. The layout must be a container docked in the parent's layout.
    VisualStatusPane(WindowCL* parent, LayoutManager* layout, unsigned style, zFont* font = nullptr);
    ~VisualStatusPane() override;

    LRESULT DefaultProcessing(WindowEvent* event) override; // 1
    long Paint(WindowEvent* event) override;                // 23
    long OnSize(WindowEvent* event) override;               // 5
    long OnMenuSelect(WindowEvent* event);                  // 29

    // The pane's height from its font, and the four margins.
    void ApplyLayout();
    void RegisterField(VisualFieldItem* field);
    void UnregisterField(VisualFieldItem* field);
    VisualFieldItem* FindItem(int key) const;
    void SetItemTextByKey(int key, const char* text);
    // Menu help from the table (null: the string table); the pane shows it.
    void SetHelpTable(const HelpEntry* table);
    void SetPaneHelp();
    // Menu help goes to the field, which shows its own text again when the menu closes.
    void SetActiveItem(VisualFieldItem* field);
    void SetActiveItemByKey(int key);
    // Help string ids are command ids plus the numeric value; a library name names the module of the strings.
    void SetHelpStrings(const ResourceId& strings) { helpStrings_ = strings; }
    // Where a text is drawn in the rectangle: vertically centred; centred (flag 4), right (2) or left.
    POINT PlaceText(const char* text, unsigned flags, const RECT& rect);

    ChildLayout* PaneLayout() const;
    VisualItemGroup* FrameGroup() const { return frameGroup_.get(); }
    bool ShowingHelp() const { return showingHelp_ != 0; }
    const std::string& HelpText() const { return helpText_; }
    const std::list<VisualFieldItem*>& Fields() const { return fields_; }

protected:
    // The window that receives the pane's commands: the parent, or its parent when forwarding to it.
    WindowCL* CommandWindow() const;

    int32_t forwardToGrandparent_ = 1;
    unsigned paneStyle_;

private:
    void ShowHelp(const char* text);
    void ClearHelp();
    void EndHelp();
    // The strip from y = 2 down, repainted without erasing.
    void InvalidateHelpArea();
    // Fill rules are laid out after every docked rule, so that they take what the others leave.
    void KeepFillRulesLast();

    const HelpEntry* helpTable_ = nullptr;
    std::string helpText_;
    std::string savedText_;
    int showingHelp_ = 0;
    int inMenu_ = 0;
    ResourceId helpStrings_{0u, nullptr};
    HMODULE stringModule_ = nullptr;
    HMODULE loadedModule_ = nullptr;
    VisualFieldItem* activeField_ = nullptr;
    int helpTarget_ = 0;
    zFont* font_ = nullptr; // on the display's font stack
    std::unique_ptr<PaneMargins> margins_;
    std::list<VisualFieldItem*> fields_;
    int topMargin_ = 2;
    int bottomMargin_ = 0;
    int rightExtra_ = 0;
    int leftExtra_ = 0;
    int border_ = 2;
    std::unique_ptr<VisualItemGroup> frameGroup_;
    // The window whose WM_MENUSELECT the pane listens to, once help is set up.
    WindowCL* helpListener_ = nullptr;
};

class VisualPane : public VisualStatusPane {
public:
    static constexpr unsigned MessageField = 0x100;
    static constexpr unsigned NumLock = 0x800;
    static constexpr unsigned Clock = 0x1000;
    static constexpr unsigned PaneShowsHelp = 0x2000;
    static constexpr unsigned CapsLock = 0x4000;

    VisualPane(WindowCL* parent, LayoutManager* layout, unsigned style, zFont* font = nullptr);

    void Show(int showCommand) override; // 17
};
