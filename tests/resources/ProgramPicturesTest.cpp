// The program's pictures: every bitmap, icon and cursor it carries loads, and a drawing comes out as drawn.

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace {

BOOL CALLBACK CollectId(HMODULE, LPCSTR, LPSTR name, LONG_PTR ids)
{
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<WORD>*>(ids)->push_back(LOWORD(reinterpret_cast<UINT_PTR>(name)));
    return TRUE;
}

std::vector<WORD> IdsOf(LPCSTR type)
{
    std::vector<WORD> ids;
    EnumResourceNamesA(GetModuleHandleA(nullptr), type, CollectId, reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}

TEST(ProgramPictures, EveryBitmapIconAndCursorLoads)
{
    HINSTANCE module = GetModuleHandleA(nullptr);
    const std::vector<WORD> icons = IdsOf(RT_GROUP_ICON);
    const std::vector<WORD> cursors = IdsOf(RT_GROUP_CURSOR);
    const std::vector<WORD> bitmaps = IdsOf(RT_BITMAP);
    EXPECT_GE(icons.size(), 21u);
    EXPECT_EQ(cursors.size(), 2u);
    EXPECT_GE(bitmaps.size(), 38u);
    for (WORD id : icons) {
        HICON icon = LoadIconA(module, MAKEINTRESOURCEA(id));
        EXPECT_NE(icon, nullptr) << "icon " << id;
        DestroyIcon(icon);
    }
    for (WORD id : cursors)
        EXPECT_NE(LoadCursorA(module, MAKEINTRESOURCEA(id)), nullptr) << "cursor " << id;
    for (WORD id : bitmaps) {
        HBITMAP bitmap = LoadBitmapA(module, MAKEINTRESOURCEA(id));
        EXPECT_NE(bitmap, nullptr) << "bitmap " << id;
        DeleteObject(bitmap);
    }
}

// The striped band's pattern: white diagonals from upper left to lower right, one pixel in every four, on
// black; its top row is the first row drawn.
TEST(ProgramPictures, TheStripePatternHasItsDiagonalsWhereDrawn)
{
    HBITMAP pattern = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(32223));
    ASSERT_NE(pattern, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, pattern);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const COLORREF expected = (x - y + 8) % 4 == 0 ? RGB(255, 255, 255) : RGB(0, 0, 0);
            EXPECT_EQ(GetPixel(dc, x, y), expected) << x << "," << y;
        }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(pattern);
}

} // namespace
