#pragma once

namespace fenwold {

class ClipboardStore;

// Fills a store with the demonstration clips of the preview mode: a note from Notes, a code
// snippet from Visual Studio Code, a link from Safari, an image from Photos two minutes old and
// a second note, which is pinned. `now` is seconds since 2001-01-01.
void insertSampleClips(ClipboardStore& store, double now);

} // namespace fenwold
