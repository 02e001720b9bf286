#pragma once
// Running out of memory is survivable only when the system still has a little address space to report it
// with: an exception is raised through the system, and the unwinder sorts its tables the first time one is
// thrown. So a block of address space is held back from the start, and the process's allocation failure
// handler gives it back and fails the allocation with std::bad_alloc. Whoever catches that and has freed
// what it was building takes the reserve again.

// Takes the reserve again after a failure was handled; nothing when it is held.
void RestoreMemoryReserve();
