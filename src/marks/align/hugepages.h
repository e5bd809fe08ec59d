#pragma once
// The reference, the warp's steps: buffers of megabytes written once from start to end. In huge
// pages, where the system offers them (Linux's "madvise" setting), they take a five-hundredth of
// the page faults, which cost a virtual machine about a fifth of a whole suggestion. Elsewhere this
// does nothing.

#include <cstddef>
#include <cstdint>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace lumora::marks::align {

// Before the first write to the `bytes` at `data`.
inline void preferHugePages(void* data, std::size_t bytes) {
#ifdef __linux__
    constexpr std::uintptr_t kHuge = std::uintptr_t(2) << 20;
    const auto at = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t from = (at + kHuge - 1) & ~(kHuge - 1), to = (at + bytes) & ~(kHuge - 1);
    if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

} // namespace lumora::marks::align
