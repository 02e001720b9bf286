#pragma once
// The items of a framework push button: a state item that knows its look, a press item that tracks a press
// with the mouse (capture, drag off and back, latching, the command on release) and the face that draws the
// raised, pressed and latched looks and the image from a strip of frames.

#include "framework/visual/VisualItem.h"

#include <memory>

class Bitmap;
class Timer;

class VisualStateItem : public VisualItem {
public:
    // Looks: latched, up, being pressed from latched, being pressed from up, not drawn.
    enum State { Latched = 0, Up = 1, PressedFromLatched = 2, PressedFromUp = 3, Blank = 4 };

    VisualStateItem(VisualItemGroup* parent, LayoutManager* geometry, unsigned style, int id);

    void Draw(const RECT* clip) override; // 11
    virtual void DrawUp();                // 14
    virtual void DrawBlank();             // 15

    int State() const { return state_; }
    int Id() const { return id_; }
    unsigned Style() const { return style_; }
    void SetStyle(unsigned style) { style_ = style; }

protected:
    int id_;
    int pressKind_ = 0;
    unsigned style_;
    int state_ = Up;
};

class VisualPressItem : public VisualStateItem {
public:
    static constexpr unsigned LatchingStyle = 0x200;

    VisualPressItem(VisualItemGroup* parent, LayoutManager* geometry, unsigned style, int id);
    // Stops the hover timer and leaves the tracking of the groups above.
    ~VisualPressItem() override;

    long OnButtonUp(WindowEvent& event) override;   // 6
    long OnButtonDown(WindowEvent& event) override; // 7
    long OnMouseMove(WindowEvent& event) override;  // 8
    void Draw(const RECT* clip) override;           // 11
    void DrawUp() override;                         // 14
    void DrawBlank() override;                      // 15
    virtual void DrawLatched();                     // 17
    virtual void DrawPressed();                     // 18
    virtual void SetPressedState();                 // 19
    virtual void DrawReleased();                    // 20
    virtual void SetDefault(bool flag);             // 21
    virtual bool IsDefault() const;                 // 22

    void SetLatching(bool on) { latching_ = releasable_ = on ? 1 : 0; }
    bool Hovering() const { return hovering_ != 0; }
    // The host window of the button the pointer rests on (one for all buttons).
    static HWND HoverWindow();

protected:
    // The window whose parent is told of the command's help and receives nothing else: the frame.
    HWND FrameWindow() const;
    void ClearTracking();
    void Locked(void (VisualPressItem::*draw)());
    // Every 500 ms while hovering: the pointer has left the host window, or another button took over.
    void HoverCheck();
    void StopHover();
    void SendMenuSelect(WPARAM wParam);

    int captured_ = 0;
    int pressed_ = 0;
    int savedState_ = Up;
    int latching_ = 0;
    int releasable_ = 0;
    int hovering_ = 0;
    std::unique_ptr<Timer> hoverTimer_;
};

class VisualButtonFace : public VisualPressItem {
public:
    static constexpr unsigned ImagePolicy = 0x30;
    static constexpr unsigned DefaultRingStyle = 0x1000;
    static constexpr unsigned FlatStyle = 0x2000;
    static constexpr unsigned BareStyle = 0x4000;
    static constexpr unsigned GreyFramesStyle = 0x8000000;

    // Takes the bitmap (owned; may be null).
    VisualButtonFace(VisualItemGroup* parent, LayoutManager* geometry, unsigned style, int id, Bitmap* bitmap,
                     int frameCount);
    ~VisualButtonFace() override;

    void DrawUp() override;
    void DrawLatched() override;
    void DrawPressed() override;
    void DrawReleased() override;
    void SetDefault(bool flag) override { default_ = flag ? 1 : 0; }
    bool IsDefault() const override { return default_ != 0; }

    void SetGrayed(bool grayed) { grayed_ = grayed ? 1 : 0; }
    // One frame of the strip: (bitmap width / frame count, bitmap height); (0, 0) without a bitmap.
    SIZE ImageSize() const;
    // Outlines the bounds for the default-button mark (black), or erases it (face colour).
    void DrawDefaultRing(bool erase);

private:
    void Paint(int state, int bevel, int drawMode, int offset);
    void PlaceImage();
    void DrawImage(int drawMode, int x, int y);
    void MakeGreyImage(HDC reference);

    std::unique_ptr<Bitmap> bitmap_;
    std::unique_ptr<Bitmap> grey_;
    POINT imagePosition_{0, 0};
    int default_ = 0;
    int grayed_ = 0;
    int frameCount_;
};
