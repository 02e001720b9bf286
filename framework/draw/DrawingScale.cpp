#include "framework/draw/DrawingScale.h"

#include "foundation/DoubleStack.h"

namespace {

float drawingScale = 1.0f;
DoubleStack savedScales(1.0);

} // namespace

float CurrentDrawingScale()
{
    return drawingScale;
}

void SetCurrentDrawingScale(float scale)
{
    drawingScale = scale;
}

void SaveDrawingScale()
{
    savedScales.Push(drawingScale);
}

void RestoreDrawingScale()
{
    drawingScale = static_cast<float>(savedScales.Pop());
}
