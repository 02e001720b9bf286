#include "foundation/MemoryReserve.h"

#include <windows.h>

#include <new>

namespace {

constexpr SIZE_T kReserveBytes = 16u << 20;

void* reserve = nullptr;

void GiveBackReserveAndFail()
{
    if (reserve != nullptr) {
        VirtualFree(reserve, 0, MEM_RELEASE);
        reserve = nullptr;
    }
    throw std::bad_alloc();
}

// At start-up, while there is memory: the first exception thrown, and the reserve with its handler.
const bool Prepared = [] {
    try {
        throw std::bad_alloc();
    } catch (const std::bad_alloc&) {
    }
    RestoreMemoryReserve();
    std::set_new_handler(GiveBackReserveAndFail);
    return true;
}();

} // namespace

void RestoreMemoryReserve()
{
    if (reserve == nullptr)
        reserve = VirtualAlloc(nullptr, kReserveBytes, MEM_RESERVE, PAGE_NOACCESS);
}
