#pragma once

namespace fenwold {

// Messaging timeouts set on Accessibility elements before they are asked anything, in seconds: an
// application that does not answer costs at most this long.
inline constexpr double kEnumerateTimeout = 0.15; // listing an application's windows
inline constexpr double kLookupTimeout = 0.3;     // lookups and window operations
inline constexpr double kMenuTimeout = 0.5;       // walking a menu bar

} // namespace fenwold
