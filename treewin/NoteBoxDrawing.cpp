#include "treewin/NoteBoxDrawing.h"

#include "framework/draw/DrawingPrimitives.h"
#include "framework/draw/Display.h"
#include "model/NoteBox.h"

#include <windows.h>

namespace {

// Restores a device context's background mode when the scope ends.
class BackgroundModeScope {
public:
    BackgroundModeScope(HDC dc, int mode) : dc_(dc), previous_(SetBkMode(dc, mode)) {}
    ~BackgroundModeScope() { SetBkMode(dc_, previous_); }
    BackgroundModeScope(const BackgroundModeScope&) = delete;
    BackgroundModeScope& operator=(const BackgroundModeScope&) = delete;

private:
    HDC dc_;
    int previous_;
};

}  // namespace

void DrawNoteBox(const NoteBox& note, Display& display, bool plainFrame)
{
    DrawNoteBoxFramed(note, display, plainFrame ? 0 : note.BorderStyle());
}

void DrawNoteBoxFramed(const NoteBox& note, Display& display, int style)
{
    DisplayLock lock(display);
    HDC dc = display.DeviceContext();
    const RECT pixels = LogicalRectToPixels(note.frame, display);
    const RECT visibleTest{pixels.left, pixels.top, pixels.right + 1, pixels.bottom + 1};
    if (dc && RectVisible(dc, &visibleTest)) {
        DrawShape(display, pixels, GetBkColor(dc));
        if (style == 0)
            display.FrameRect(pixels);
        else if (style == 1)
            DrawDashedRect(display, note.frame, 0, RGB(0, 0, 0));
        BackgroundModeScope transparent(dc, TRANSPARENT);
        DrawBoxedText(note.text.Text(), note.GetTextRect(), display, &note.font, true, false);
    }
}

void DrawNoteBoxWithHandles(const NoteBox& note, Display& display, int mode)
{
    DrawNoteBox(note, display, mode == 2);
    if (mode != 1)
        return;
    const LogicalRect textRect = note.GetTextRect();
    const float half = NoteBox::kHandleSide / 2;
    const float corners[4][2] = {{textRect.left, textRect.top},
                                 {textRect.right, textRect.top},
                                 {textRect.right, textRect.bottom},
                                 {textRect.left, textRect.bottom}};
    for (const auto& corner : corners) {
        const LogicalRect square{corner[0] - half, corner[1] - half, corner[0] + half, corner[1] + half};
        DrawShape(display, LogicalRectToPixels(square, display), RGB(0, 0, 0));
    }
}
