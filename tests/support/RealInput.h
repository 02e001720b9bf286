#pragma once
// Input as a person gives it: the X server's own pointer and keyboard events (xdotool), which the system turns
// into messages as it does a person's (a double click only for a window class that asks for one, the focus
// window's keys, the capture). Hold the FocusTestLock and have the window on top (ScreenOnTop) meanwhile: the
// pointer and keyboard are one for the whole display.
//
// Each call returns once the server has taken the events, without dispatching anything: the caller then
// pumps messages (PumpMessagesUntil) or runs a ModalDialogDriver for the dialog the input opens.

#include <windows.h>

#include <string>

namespace RealInput {

// Moves the pointer to the screen point, no button held.
void Move(POINT screen);
// Moves the pointer to the screen point and presses the left button once, or twice as a double click.
void Click(POINT screen);
// Click, then dispatches this thread's messages until the button's release has been dispatched (and what it
// opened has closed again): a thread timer that falls due meanwhile (a ModalDialogDriver's next step) is
// otherwise taken before the click.
void ClickAndDispatch(POINT screen);
void DoubleClick(POINT screen);
// Presses and releases the right button at the screen point.
void RightClick(POINT screen);
// Drags with the left button held from one screen point to another.
void Drag(POINT from, POINT to);
// Presses the left button at the screen point and holds it: Move then drags, until Release lets it go.
void Press(POINT screen);
void Release();
// Key strokes to the foreground window, in xdotool's names, separated by blanks: "Home", "shift+End",
// "ctrl+F6", "Escape", "Tab".
void Keys(const std::string& keys);
// Types a text into the focus window, one key per character.
void Type(const std::string& text);

// Key strokes sent to the foreground window after a pause while the caller goes on, for keys that must come
// while the program is busy (running its own loop meanwhile). The destructor waits until they were sent.
class KeysLater {
public:
    KeysLater(const std::string& keys, unsigned milliseconds);
    ~KeysLater();
    KeysLater(const KeysLater&) = delete;
    KeysLater& operator=(const KeysLater&) = delete;
    // The keys have gone to the X server.
    bool Sent() const;

private:
    std::string arguments_;
    std::string marker_;
};

// A client point of a window as a screen point.
POINT OnScreen(HWND window, POINT client);
// The middle of a window's client area (a button's face) on the screen.
POINT Middle(HWND window);

}  // namespace RealInput
