// Storage for large blocks of bytes and records: the bytes of a vocabulary
// file and the list's pair records. Growing such a buffer leaves its new
// elements uninitialised instead of zeroing 30 MB that are about to be
// overwritten by a read, and large ones come in huge pages
// (platform/large_blocks.h). Allocation failure throws std::bad_alloc, as
// any allocation does.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/large_blocks.h"

namespace zl {

template <typename T>
struct UninitialisedAllocator {
  using value_type = T;
  UninitialisedAllocator() = default;
  template <typename U>
  UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    return static_cast<T*>(allocateBlock(n * sizeof(T)));
  }
  void deallocate(T* p, std::size_t n) noexcept { releaseBlock(p, n * sizeof(T)); }
  // Growing leaves new elements uninitialised where they are trivial to
  // copy, default member values too: they are about to be overwritten.
  template <typename U>
  void construct(U* p) noexcept {
    if constexpr (!std::is_trivially_copyable_v<U>) ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
  template <typename U>
  bool operator==(const UninitialisedAllocator<U>&) const noexcept {
    return true;
  }
};

using ByteBuffer = std::vector<char, UninitialisedAllocator<char>>;

inline std::string_view viewOf(const ByteBuffer& bytes) { return {bytes.data(), bytes.size()}; }
inline ByteBuffer bufferOf(std::string_view text) { return ByteBuffer(text.begin(), text.end()); }

}  // namespace zl
