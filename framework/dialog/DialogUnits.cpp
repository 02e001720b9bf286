#include "framework/dialog/DialogUnits.h"

namespace {

// J, L and K stand in this order.
const char Letters[] = "ABCDEFGHIJLKMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

zStorable* CreateDialogUnit() { return new zDialogUnit; }
StorableClassRecord dialogUnitRecord = {0, "zDialogUnit", sizeof(zDialogUnit), &CreateDialogUnit, nullptr};
StorableClassRegistrar dialogUnitRegistrar(dialogUnitRecord);

} // namespace

const StorableClassRecord* zDialogUnit::ClassRecord() const { return &dialogUnitRecord; }

zDialogUnit::zDialogUnit(int x, int y, HDC dc) : zDialogUnit(dc)
{
    Convert(x, y, nullptr);
}

int zDialogUnit::BaseFromLettersWidth(int width)
{
    return width / 52 + (width % 52 >= 26 ? 1 : 0);
}

int zDialogUnit::Rounded(int product, int divisor)
{
    return product / divisor + (product % divisor >= divisor / 2 ? 1 : 0);
}

zDialogUnit::zDialogUnit(HDC dc) : measured_(dc != nullptr)
{
    if (!dc) {
        const LONG units = GetDialogBaseUnits();
        baseX_ = LOWORD(units);
        baseY_ = HIWORD(units);
        return;
    }
    SIZE extent{0, 0};
    GetTextExtentPointA(dc, Letters, 52, &extent);
    baseX_ = BaseFromLettersWidth(extent.cx);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    baseY_ = metrics.tmHeight + metrics.tmExternalLeading;
}

int zDialogUnit::ToPixelsX(int units) const
{
    return measured_ ? Horizontal(baseX_, units) : baseX_ * units / 4;
}

int zDialogUnit::ToPixelsY(int units) const
{
    return measured_ ? Vertical(baseY_, units) : baseY_ * units / 8;
}
