#pragma once
// Notes made at a rectangle, their rectangles checked and their stored bytes, for the note tests.

#include "model/NoteBox.h"
#include "tests/foundation/StreamBytes.h"

#include <gtest/gtest.h>

inline NoteBox MakeNote(float left, float top, float right, float bottom)
{
    NoteBox note;
    note.SetRect(left, top, right, bottom);
    return note;
}

inline void ExpectRect(const LogicalRect& rect, float left, float top, float right, float bottom)
{
    EXPECT_NEAR(rect.left, left, 1e-6);
    EXPECT_NEAR(rect.top, top, 1e-6);
    EXPECT_NEAR(rect.right, right, 1e-6);
    EXPECT_NEAR(rect.bottom, bottom, 1e-6);
}

inline Bytes NoteBytes(NoteBox note)
{
    return WrittenBytes([&](Archive& archive) { note.Serialize(archive); });
}
