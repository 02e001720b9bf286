#pragma once
// Counts the system beeps (MessageBeep) of this program while it lives, by holding the call's entry in the
// program's import table: a beep is the program's whole answer to some presses.

#include <windows.h>

#include <cstring>

class BeepCounter {
public:
    BeepCounter() : slot_(ImportSlot("user32.dll", "MessageBeep"))
    {
        if (slot_ != nullptr)
            original_ = Swap(reinterpret_cast<ULONG_PTR>(&Counted));
        Count() = 0;
    }
    ~BeepCounter()
    {
        if (slot_ != nullptr)
            Swap(original_);
    }
    BeepCounter(const BeepCounter&) = delete;
    BeepCounter& operator=(const BeepCounter&) = delete;

    bool Installed() const { return slot_ != nullptr; }
    static int& Count()
    {
        static int count = 0;
        return count;
    }

private:
    static BOOL WINAPI Counted(UINT)
    {
        ++Count();
        return TRUE;
    }
    ULONG_PTR Swap(ULONG_PTR function)
    {
        DWORD protection = 0;
        VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &protection);
        const ULONG_PTR previous = *slot_;
        *slot_ = function;
        VirtualProtect(slot_, sizeof *slot_, protection, &protection);
        return previous;
    }
    // The program's import address slot of the named function of the named library, or null.
    static ULONG_PTR* ImportSlot(const char* library, const char* function)
    {
        auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
             imports.VirtualAddress != 0 && entry->Name != 0; ++entry) {
            if (lstrcmpiA(reinterpret_cast<const char*>(base + entry->Name), library) != 0)
                continue;
            auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
            auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
            for (; names->u1.AddressOfData != 0; ++names, ++slots) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                    continue;
                const auto* named = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (std::strcmp(reinterpret_cast<const char*>(named->Name), function) == 0)
                    return reinterpret_cast<ULONG_PTR*>(&slots->u1.Function);
            }
        }
        return nullptr;
    }

    ULONG_PTR* slot_;
    ULONG_PTR original_ = 0;
};
