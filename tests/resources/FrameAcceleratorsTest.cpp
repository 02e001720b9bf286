// The main frame's accelerator table 103, entry by entry.

#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <tuple>
#include <vector>

namespace {

TEST(FrameAccelerators, TableHoldsExactlyTheFrameKeysAllAsVirtualKeys)
{
    const BYTE C = FVIRTKEY | FCONTROL;
    const BYTE CS = FVIRTKEY | FCONTROL | FSHIFT;
    const BYTE V = FVIRTKEY;
    const struct {
        BYTE modifiers;
        WORD key;
        WORD command;
    } expected[] = {
        {C, '1', 1661}, {C, '2', 1662}, {C, '3', 1663}, {C, '4', 1664}, {C, '5', 1665}, {C, '6', 1666},
        {C, '7', 1667}, {C, '8', 1668}, {C, '9', 1669}, {C, 'A', 1403}, {C, 'B', 1401}, {C, 'C', 1203},
        {C, 'D', 1502}, {C, 'E', 1605}, {C, 'F', 1402}, {C, 'I', 1503}, {C, 'J', 1315}, {C, 'K', 1408},
        {C, 'M', 1414}, {C, 'N', 1115}, {C, 'O', 1103}, {C, 'P', 1108}, {C, 'R', 1612}, {C, 'S', 1104},
        {C, 'T', 1405}, {C, 'V', 1204}, {C, 'W', 1513}, {C, 'X', 1202}, {C, 'Y', 1506}, {C, 'Z', 1201},
        {CS, 'B', 1415}, {CS, 'F', 1303}, {CS, 'J', 1316}, {CS, 'P', 1112}, {CS, 'T', 1412}, {CS, 'V', 1217},
        {CS, 'Z', 1219},
        {V, VK_F1, 1910}, {V, VK_F5, 1651}, {V | FSHIFT, VK_F5, 1652}, {C, VK_F5, 1654}, {V, VK_F6, 1602},
        {V | FSHIFT, VK_F6, 1603}, {V | FALT, VK_F6, 1620}, {V, VK_F7, 1614}, {V | FSHIFT, VK_F7, 1613},
        {V, VK_F9, 1351}, {V | FSHIFT, VK_F9, 1350}, {V, VK_F10, 1309}, {V, VK_F11, 1308}, {V, VK_F12, 1105},
        {V, VK_INSERT, 1404}, {V, VK_DELETE, 1205},
        // Ctrl+] and Ctrl+[ as keys: as characters 29 and 27 they would also fire on Escape.
        {C, VK_OEM_6, 1304}, {C, VK_OEM_4, 1305},
    };
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(103));
    ASSERT_NE(table, nullptr);
    std::vector<ACCEL> entries(static_cast<size_t>(CopyAcceleratorTableA(table, nullptr, 0)));
    CopyAcceleratorTableA(table, entries.data(), static_cast<int>(entries.size()));
    DestroyAcceleratorTable(table);

    using Entry = std::tuple<int, int, int>;
    std::multiset<Entry> actual;
    for (const ACCEL& entry : entries)
        actual.insert(Entry{entry.fVirt & ~0x80, entry.key, entry.cmd});
    std::multiset<Entry> wanted;
    for (const auto& row : expected)
        wanted.insert(Entry{row.modifiers, row.key, row.command});
    EXPECT_EQ(55u, entries.size());
    EXPECT_EQ(wanted, actual);
}

} // namespace
