#pragma once
// A docked container whose size is a share of its owner's: per cents of 0.0 mean the owner's whole size.

#include "framework/window/DockLayout.h"

class PercentLayout : public DockLayout {
public:
    PercentLayout(int kind, float heightPercent, float widthPercent, ChildLayout* owner = nullptr);

    void Geometry(LayoutGeometry& geometry) override;

private:
    float heightPercent_;
    float widthPercent_;
};
