#include "framework/window/PercentLayout.h"

PercentLayout::PercentLayout(int kind, float heightPercent, float widthPercent, ChildLayout* owner)
    : DockLayout(kind, 0, owner), heightPercent_(heightPercent), widthPercent_(widthPercent)
{
}

void PercentLayout::Geometry(LayoutGeometry& geometry)
{
    DockLayout::Geometry(geometry);
    const int ownerWidth = owner_ ? owner_->Width() : 0;
    const int ownerHeight = owner_ ? owner_->Height() : 0;
    const int width = widthPercent_ == 0.0f ? ownerWidth
                                            : static_cast<int>(static_cast<float>(ownerWidth) * widthPercent_ / 100.0f);
    const int height = heightPercent_ == 0.0f
                           ? ownerHeight
                           : static_cast<int>(static_cast<float>(ownerHeight) * heightPercent_ / 100.0f);
    geometry.Assign(width, height);
}
