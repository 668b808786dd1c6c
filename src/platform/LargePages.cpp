#include "platform/LargePages.h"

#include <cstdint>

#ifndef _WIN32
#include <sys/mman.h>
#endif

namespace tasklane::platform {

void PreferLargePages([[maybe_unused]] void* buffer, [[maybe_unused]] std::size_t bytes) {
#ifndef _WIN32
  constexpr std::uintptr_t largePage = std::uintptr_t{2} << 20;
  const auto start = (reinterpret_cast<std::uintptr_t>(buffer) + largePage - 1) & ~(largePage - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(buffer) + bytes) & ~(largePage - 1);
  if (end > start) ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
#endif
}

}  // namespace tasklane::platform
