#pragma once
// Framed field items of a status pane: a rectangle with a sunken bevel that shows one line of text, placed by
// its alignment flags. A new text repaints only the field, and a shorter text erases only what the old one
// covered.

#include "framework/visual/VisualItem.h"

#include <memory>
#include <string>

class VisualBevelFrame;
class VisualStatusPane;

class VisualFramedItem : public VisualItem {
public:
    // Enters the pane's root group; the frame is made in the pane's frame group.
    VisualFramedItem(VisualStatusPane* pane, LayoutManager* geometry);
    ~VisualFramedItem() override;

    void Draw(const RECT* clip) override; // 11: the frame

    VisualStatusPane* Pane() const { return pane_; }

protected:
    VisualStatusPane* pane_;
    std::unique_ptr<VisualBevelFrame> frame_;
};

class VisualFieldItem : public VisualFramedItem {
public:
    static constexpr unsigned RightAligned = 2;
    static constexpr unsigned Centred = 4;
    static constexpr unsigned ClipToField = 0x400;
    static constexpr unsigned NoGap = 0x800;

    // A field the caller sizes through the geometry.
    VisualFieldItem(VisualStatusPane* pane, LayoutManager* geometry, int key, unsigned flags);
    // A field as wide as the sample text plus 8 pixels, docked by the kind (5: fills the rest, width 0).
    VisualFieldItem(VisualStatusPane* pane, int kind, const char* sample, int key, unsigned flags);
    ~VisualFieldItem() override;

    void Draw(const RECT* clip) override; // 11

    // Null erases at once; an equal text changes nothing; another one invalidates the field alone.
    void SetText(const char* text);
    // Draws the text now.
    void Redraw();
    void EraseText();
    // The bounds less one pixel on each side.
    void GetRect(RECT& rect) const;
    // The 4-pixel gap after a field docked left or right.
    void MakeGap();

    const std::string& Text() const { return text_; }
    int Key() const { return key_; }
    unsigned Flags() const { return flags_; }
    RECT LastTextRect() const { return lastText_; }

protected:
    // Measures the sample in the pane's display and docks a rule of that width (plus 8) by the kind.
    void SizeBySample(int kind, const char* sample);

private:
    void DrawFrame();

    std::string text_;
    unsigned flags_;
    int key_;
    RECT lastText_{0, 0, 0, 0};
    std::unique_ptr<LayoutManager> gap_;
};
