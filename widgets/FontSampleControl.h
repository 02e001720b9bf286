#pragma once
// A font record bound to a "Font..." button and a sample control of a dialog: the sample shows the record's
// font (never turned), and the button edits the record in the font dialog. The record's turned flag is kept
// as it was at construction, whatever the dialog does to it.

#include "framework/window/EventTarget.h"

#include <cstdint>
#include <memory>

class Display;
class FontRecord;
class WindowCL;
class zFont;

class FontSampleControl : public EventTarget {
public:
    // The display is the one the sample font is made for (the screen when null). Without the sample control
    // the button is left alone.
    FontSampleControl(WindowCL* dialog, unsigned buttonId, FontRecord* record, unsigned sampleId, Display* display);
    ~FontSampleControl() override;
    FontSampleControl(const FontSampleControl&) = delete;
    FontSampleControl& operator=(const FontSampleControl&) = delete;

    // 1 once the user confirmed a font.
    int32_t Changed = 0;

private:
    long OnClick(WindowEvent* event);
    // The record's font without its turn, given to the sample.
    void MakeSampleFont(bool redraw);

    uint8_t savedFlag_;
    FontRecord* record_;
    std::unique_ptr<zFont> sampleFont_;
    WindowCL* sample_;
    WindowCL* dialog_;
    Display* display_;
};
