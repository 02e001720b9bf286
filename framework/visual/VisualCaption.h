#pragma once
// The static texts of the framework's visual controls: labels that can size their layout rule to their text,
// captions that draw a button's or a box's text with a keyboard mnemonic ("&" marks the next character), an
// optional engraved or embossed colour scheme, a disabled look and a dotted focus rectangle, and the layout
// rule through which a label takes the size of its text.

#include "framework/draw/Colour.h"
#include "framework/visual/VisualItem.h"
#include "framework/window/LayoutManager.h"

#include <string>

class VisualLabelItem;

// A plain rule whose size its target measures.
class AutoSizeLayout : public LayoutManager {
public:
    using Measure = void (VisualLabelItem::*)(LayoutGeometry&);

    AutoSizeLayout(ChildLayout* owner, VisualLabelItem* target, Measure measure);

    void Geometry(LayoutGeometry& geometry) override;
    void Place(RECT* rect, int keepWindow) override;

private:
    VisualLabelItem* target_;
    Measure measure_;
};

class VisualLabelItem : public VisualItem {
public:
    // With auto-size the geometry is replaced by a rule, in the same owner, that takes the text's size.
    VisualLabelItem(VisualItemGroup* parent, LayoutManager* geometry, const char* text, bool autoSize);

    long OnKey(WindowEvent& event) override;  // 9
    void Draw(const RECT* clip) override;     // 11

    // Does not redraw; with auto-size the owner lays out again.
    void SetText(const char* text);
    const std::string& Text() const { return text_; }
    // The text's extent in the host display, as the rule's size.
    void MeasureText(LayoutGeometry& geometry);

protected:
    std::string text_;
    int autoSize_ = 0;
};

class VisualCaption : public VisualLabelItem {
public:
    static constexpr unsigned SchemeBits = 0x1c0;
    static constexpr unsigned NarrowMargin = 0x20;
    static constexpr unsigned FocusMark = 0x8000;
    static constexpr unsigned GrayedAtStart = 0x8000000;

    VisualCaption(VisualItemGroup* parent, LayoutManager* geometry, unsigned style, const char* text);

    void Draw(const RECT* clip) override; // 11

    void SetStyle(unsigned style);
    // A font made from the handle (the stock system font for null) replaces the display's top font.
    void SetFont(HFONT font);
    // Fills the text rectangle with the light-grey stock brush.
    void Erase();
    int TextWidth();
    int TextHeight();
    // The dotted rectangle around the text, on even coordinates so that erasing hits the same pixels.
    void DrawFocusRect(bool erase);

    void SetFocused(bool focused) { focused_ = focused ? 1 : 0; }
    bool Focused() const { return focused_ != 0; }
    void SetGrayed(bool grayed) { grayed_ = grayed ? 1 : 0; }
    // The text as drawn: "&&" gives "&", a single "&" is dropped and marks the next character.
    const std::string& ShownText();
    bool HasMnemonic() const { return hasMnemonic_ != 0; }
    int MnemonicIndex() const { return mnemonicIndex_; }
    POINT TextPosition() const { return position_; }

protected:
    // Draws the shown text at the text position: grey for a grayed caption, else in the scheme's passes.
    void DrawTextPasses();
    SIZE Extent();

    unsigned style_;
    Colour colour1_;
    Colour colour2_;
    int focused_ = 0;
    int grayed_ = 0;
    int hasMnemonic_ = 0;
    POINT position_{0, 0};
    int mnemonicIndex_ = 0;

private:
    void ApplyScheme();

    std::string shown_;
};

class VisualButtonCaption : public VisualCaption {
public:
    VisualButtonCaption(VisualItemGroup* parent, LayoutManager* geometry, unsigned style, const char* text,
                        bool hasImage);

    void Draw(const RECT* clip) override; // 11

    void SetButtonState(int state) { buttonState_ = state; }

private:
    int hasImage_;
    int buttonState_ = 1;
};
