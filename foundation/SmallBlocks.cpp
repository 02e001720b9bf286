// The program's operator new and delete. Blocks of up to 512 bytes come from 64 KB spans of one block size
// each, handed out from the span's own free list or, when that is empty, from its untouched end; larger
// blocks come from a heap of their own, and every block while the system heap's checks are on (WINEDEBUG
// naming "heap") from malloc. A system heap gives the free end of its memory back to the system, and with no
// small blocks after them the larger ones are that end: a buffer grown and freed again and again (an archive
// written to memory) would have its pages faulted in anew every time. The first 16 MB of their heap stay
// committed (pages are only backed once written), so such buffers reuse the same pages.
// The system heap spends about 160 ns on a small block's allocation and release and adds a header to each
// block; a tree of a million nodes makes several million of them. A span given back empty is released to
// the system, except the one its size currently allocates from. The program runs on one thread; a spin lock
// keeps a block made on another (a system callback's) from corrupting the lists.

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

constexpr uintptr_t kSpanBytes = 64 * 1024;  // the system's allocation granularity: spans come aligned
constexpr unsigned kSpanShift = 16;
constexpr size_t kGrain = 8;
constexpr size_t kLargestSmall = 512;
constexpr size_t kClasses = kLargestSmall / kGrain + 1;

struct Span {
    Span* next;  // in its size's list of spans with free blocks, other than the current one
    Span* previous;
    void* freeBlocks;
    char* untouched;  // the first block never handed out
    char* end;
    uint32_t live;
    uint32_t blockBytes;
    uint32_t sizeClass;
    uint32_t listed;
};
constexpr uintptr_t kFirstBlock = (sizeof(Span) + 15) & ~uintptr_t{15};

struct SizeClass {
    Span* current;
    Span* withRoom;
};

SizeClass classes[kClasses];
// One byte per 64 KB of the 4 GB address space: 1 where a span lies.
uint8_t spanAt[uintptr_t{1} << (32 - kSpanShift)];
volatile long locked;
// 0 undecided, 1 spans and the heap of larger blocks, 2 every block from malloc.
int mode;
constexpr SIZE_T kLargerHeapKept = 16 << 20;
HANDLE largerBlocks;

struct Lock {
    Lock()
    {
        while (__atomic_exchange_n(&locked, 1, __ATOMIC_ACQUIRE) != 0)
            YieldProcessor();
    }
    ~Lock() { __atomic_store_n(&locked, 0, __ATOMIC_RELEASE); }
};

bool UseSpans()
{
    if (mode == 0) {
        char setting[256] = "";
        const DWORD length = GetEnvironmentVariableA("WINEDEBUG", setting, sizeof setting);
        setting[length < sizeof setting ? length : 0] = 0;
        bool checked = false;
        for (const char* at = setting; *at != 0 && !checked; ++at)
            checked = at[0] == 'h' && at[1] == 'e' && at[2] == 'a' && at[3] == 'p';
        if (!checked)
            largerBlocks = HeapCreate(0, kLargerHeapKept, 0);
        mode = !checked && largerBlocks != nullptr ? 1 : 2;
    }
    return mode == 1;
}

Span* SpanOf(void* block)
{
    const uintptr_t address = reinterpret_cast<uintptr_t>(block);
    return spanAt[address >> kSpanShift] ? reinterpret_cast<Span*>(address & ~(kSpanBytes - 1)) : nullptr;
}

void Unlist(SizeClass& size, Span* span)
{
    if (span->previous != nullptr)
        span->previous->next = span->next;
    else
        size.withRoom = span->next;
    if (span->next != nullptr)
        span->next->previous = span->previous;
    span->listed = 0;
}

Span* NewSpan(uint32_t sizeClass)
{
    void* memory = VirtualAlloc(nullptr, kSpanBytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (memory == nullptr)
        return nullptr;
    auto* span = static_cast<Span*>(memory);
    char* base = static_cast<char*>(memory);
    *span = Span{nullptr, nullptr, nullptr, base + kFirstBlock, base + kSpanBytes, 0,
                 static_cast<uint32_t>(sizeClass * kGrain), sizeClass, 0};
    spanAt[reinterpret_cast<uintptr_t>(memory) >> kSpanShift] = 1;
    return span;
}

void* Take(Span* span)
{
    void* block = span->freeBlocks;
    if (block != nullptr) {
        span->freeBlocks = *static_cast<void**>(block);
    } else if (span->untouched + span->blockBytes <= span->end) {
        block = span->untouched;
        span->untouched += span->blockBytes;
    } else {
        return nullptr;
    }
    ++span->live;
    return block;
}

void* AllocateSmall(size_t bytes)
{
    const uint32_t sizeClass = bytes == 0 ? 1 : static_cast<uint32_t>((bytes + kGrain - 1) / kGrain);
    SizeClass& size = classes[sizeClass];
    Lock lock;
    if (size.current != nullptr) {
        if (void* block = Take(size.current))
            return block;
    }
    // The current span is full: it leaves the lists until a block of it is given back.
    Span* span = size.withRoom;
    if (span != nullptr)
        Unlist(size, span);
    else if ((span = NewSpan(sizeClass)) == nullptr)
        return nullptr;
    size.current = span;
    return Take(span);
}

void Release(Span* span, void* block)
{
    SizeClass& size = classes[span->sizeClass];
    Lock lock;
    *static_cast<void**>(block) = span->freeBlocks;
    span->freeBlocks = block;
    --span->live;
    if (span == size.current)
        return;
    if (span->live == 0) {
        if (span->listed)
            Unlist(size, span);
        spanAt[reinterpret_cast<uintptr_t>(span) >> kSpanShift] = 0;
        VirtualFree(span, 0, MEM_RELEASE);
        return;
    }
    if (!span->listed) {
        span->previous = nullptr;
        span->next = size.withRoom;
        if (size.withRoom != nullptr)
            size.withRoom->previous = span;
        size.withRoom = span;
        span->listed = 1;
    }
}

void* Allocate(size_t bytes)
{
    for (;;) {
        void* block = !UseSpans()              ? std::malloc(bytes ? bytes : 1)
                      : bytes <= kLargestSmall ? AllocateSmall(bytes)
                                               : HeapAlloc(largerBlocks, 0, bytes);
        if (block != nullptr)
            return block;
        std::new_handler handler = std::get_new_handler();
        if (handler == nullptr)
            throw std::bad_alloc();
        handler();
    }
}

void Free(void* block)
{
    if (block == nullptr)
        return;
    if (Span* span = SpanOf(block))
        Release(span, block);
    else if (mode == 1)
        HeapFree(largerBlocks, 0, block);
    else
        std::free(block);
}

}  // namespace

void* operator new(size_t bytes)
{
    return Allocate(bytes);
}

void* operator new[](size_t bytes)
{
    return Allocate(bytes);
}

void* operator new(size_t bytes, const std::nothrow_t&) noexcept
{
    try {
        return Allocate(bytes);
    } catch (...) {
        return nullptr;
    }
}

void* operator new[](size_t bytes, const std::nothrow_t&) noexcept
{
    try {
        return Allocate(bytes);
    } catch (...) {
        return nullptr;
    }
}

void operator delete(void* block) noexcept
{
    Free(block);
}

void operator delete[](void* block) noexcept
{
    Free(block);
}

void operator delete(void* block, size_t) noexcept
{
    Free(block);
}

void operator delete[](void* block, size_t) noexcept
{
    Free(block);
}

void operator delete(void* block, const std::nothrow_t&) noexcept
{
    Free(block);
}

void operator delete[](void* block, const std::nothrow_t&) noexcept
{
    Free(block);
}
