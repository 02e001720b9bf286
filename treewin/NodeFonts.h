#pragma once
// A node's own font, or else one of the tree's fonts, pushed on a display for the length of a scope.

#include "foundation/FontRecord.h"
#include "framework/draw/Display.h"
#include "framework/draw/FontRecordFonts.h"
#include "framework/draw/zFont.h"

class PushedNodeFont {
public:
    // The node's own font is made for the display; the tree's font is lent (wrapped, never deleted).
    PushedNodeFont(Display& display, const FontRecord* own, const zFont& fallback) : display_(display)
    {
        display_.Lock();
        if (own != nullptr)
            display_.PushFont(CreateRecordFont(*own, &display_).release());
        else
            display_.PushFont(new zFont(fallback.Handle()));
    }
    ~PushedNodeFont()
    {
        display_.PopFont();
        display_.Unlock();
    }
    PushedNodeFont(const PushedNodeFont&) = delete;
    PushedNodeFont& operator=(const PushedNodeFont&) = delete;

private:
    Display& display_;
};
