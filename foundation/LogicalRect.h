#pragma once
// A rectangle of a document drawing in logical units (inches, single-precision floats).

struct LogicalRect {
    float left;
    float top;
    float right;
    float bottom;
};
