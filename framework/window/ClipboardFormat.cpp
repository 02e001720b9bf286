#include "framework/window/ClipboardFormat.h"

#include <windows.h>

ClipboardFormat::ClipboardFormat(uint32_t formatNumber)
    : kind(formatNumber >= 1 && formatNumber <= 9 ? formatNumber : kRegistered), number(formatNumber)
{
}

ClipboardFormat ClipboardFormat::Register(const char* name)
{
    ClipboardFormat format;
    format.number = name ? RegisterClipboardFormatA(name) : 0;
    return format;
}
