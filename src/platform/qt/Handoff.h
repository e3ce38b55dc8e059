#pragma once

// Qt is not built with the thread sanitizer, so the locks inside its queues are invisible to it.
// Where work crosses threads through one of them, the queue says what it guarantees: everything
// the handing thread did before handing the work over happens before the work runs. Outside the
// thread sanitizer these are empty.

#if defined(__SANITIZE_THREAD__)
#define FENWOLD_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define FENWOLD_THREAD_SANITIZER 1
#endif
#endif

#ifdef FENWOLD_THREAD_SANITIZER
extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);
#endif

namespace fenwold::handoff {

// On the handing thread, once the handed object is complete and before the queue takes it.
inline void release([[maybe_unused]] void* handed) {
#ifdef FENWOLD_THREAD_SANITIZER
    __tsan_release(handed);
#endif
}

// On the receiving thread, before the handed object is read.
inline void acquire([[maybe_unused]] void* handed) {
#ifdef FENWOLD_THREAD_SANITIZER
    __tsan_acquire(handed);
#endif
}

} // namespace fenwold::handoff
