#include "framework/draw/DrawingScale.h"

namespace {

float drawingScale = 1.0f;

} // namespace

float CurrentDrawingScale()
{
    return drawingScale;
}

void SetCurrentDrawingScale(float scale)
{
    drawingScale = scale;
}
