#pragma once
// A bevelled frame item: one or two three-dimensional borders drawn around its bounds. Fields of the status
// pane and the border of a button row pane draw theirs with it.

#include "framework/visual/VisualButtonFace.h"

class VisualBevelFrame : public VisualStateItem {
public:
    static constexpr unsigned OuterRaised = 0x200;
    static constexpr unsigned BlackShadow = 0x400;
    static constexpr unsigned InnerRaised = 0x4000;

    // The text is not drawn; the frame takes no input.
    VisualBevelFrame(VisualItemGroup* parent, LayoutManager* geometry, unsigned style, const char* text, int id,
                     int bevelWidth, int margin, bool innerBevel);

    void DrawUp() override; // 14: paints the frame

    int BevelWidth() const { return bevelWidth_; }
    int Margin() const { return margin_; }

private:
    void DrawBevel(HDC dc, bool raised);

    RECT rect_{0, 0, 0, 0};
    int bevelWidth_;
    int margin_;
    int innerBevel_;
};
