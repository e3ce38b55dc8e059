#pragma once

namespace fenwold {

// Asks the C library's allocator to give back to the system the pages of memory it keeps free
// (what freed small blocks leave between those still in use). It keeps them for the next
// allocation, which is right while the program is busy and wasted once it has gone quiet: called
// when a panel gives back its pixels. Takes a few milliseconds at most; main thread or any.
void returnFreeMemory();

} // namespace fenwold
