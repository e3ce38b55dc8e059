#pragma once

namespace fenwold {

// The program holds a few large blocks for long (copied texts and images, window previews) and
// makes many more briefly (decoding, scaling). The C library's allocator here raises its bar for
// giving a block its own pages each time such a block is freed, after which large blocks come
// from its heap and what they leave behind stays resident. A Mac's allocator gives large blocks
// their own pages and returns them when freed; before the first allocation the program asks for
// the same here, so the memory it reports is what it holds.
void giveLargeBlocksTheirOwnPages();

} // namespace fenwold
