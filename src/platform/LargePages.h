// A buffer of many megabytes costs a page fault every 4 KiB as it is first written; in large
// pages, where the system has them, it costs one every 2 MiB.
#pragma once

#include <cstddef>

namespace tasklane::platform {

// Only a hint about the whole 2 MiB pages inside the buffer; the system may say no.
void PreferLargePages(void* buffer, std::size_t bytes);

}  // namespace tasklane::platform
