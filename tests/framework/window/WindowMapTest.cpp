#include "framework/window/WindowMap.h"

#include <gtest/gtest.h>

namespace {

HWND Handle(unsigned value)
{
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(value));
}

WindowCL* Window(unsigned value)
{
    return reinterpret_cast<WindowCL*>(static_cast<UINT_PTR>(value));
}

TEST(WindowMap, HashIsHandleTimesFour)
{
    const HWND handle = Handle(0x40000001u);
    EXPECT_EQ(WindowMapHash(&handle), 4u); // 0x40000001 * 4 wraps to 4
}

TEST(WindowMap, InsertingAgainReplacesAndAnswersTheOldWindow)
{
    WindowMap map(WindowMapHash, 97);
    EXPECT_EQ(map.Insert(Handle(0x1234), Window(0xA0)), nullptr);
    EXPECT_EQ(map.Insert(Handle(0x1234), Window(0xB0)), Window(0xA0));
    EXPECT_EQ(map.Find(Handle(0x1234)), Window(0xB0));
    EXPECT_EQ(map.Remove(Handle(0x1234)), Window(0xB0));
    EXPECT_EQ(map.Find(Handle(0x1234)), nullptr);
}

TEST(WindowMap, RemovingAnAbsentHandleChangesNothing)
{
    WindowMap map(WindowMapHash, 97);
    map.Insert(Handle(10), Window(0xA0));
    EXPECT_EQ(map.Remove(Handle(11)), nullptr);
    EXPECT_EQ(map.Find(Handle(10)), Window(0xA0));
}

TEST(WindowMap, HandlesSharingABucketAreToldApart)
{
    WindowMap map(WindowMapHash, 97);
    const HWND first = Handle(5);
    const HWND second = Handle(5 + 97);
    const HWND third = Handle(5 + 2 * 97);
    ASSERT_EQ(WindowMapHash(&first) % 97, WindowMapHash(&second) % 97);
    map.Insert(first, Window(1));
    map.Insert(second, Window(2));
    map.Insert(third, Window(3));
    EXPECT_EQ(map.Find(first), Window(1));
    EXPECT_EQ(map.Find(second), Window(2));
    EXPECT_EQ(map.Find(third), Window(3));
    map.Remove(second);
    EXPECT_EQ(map.Find(first), Window(1));
    EXPECT_EQ(map.Find(second), nullptr);
    EXPECT_EQ(map.Find(third), Window(3));
}

TEST(WindowMap, HandleZeroIsAnOrdinaryKey)
{
    WindowMap map(WindowMapHash, 97);
    EXPECT_EQ(map.Find(nullptr), nullptr);
    map.Insert(nullptr, Window(7));
    EXPECT_EQ(map.Find(nullptr), Window(7));
    EXPECT_EQ(map.Remove(nullptr), Window(7));
}

} // namespace
