#pragma once
// Which freed blocks still held a secret. While a watch is alive, every block the program gives back
// through operator delete is searched, just before it is freed, for any run of `run` characters of the
// secret; a block that holds one is counted. A secret wiped before its buffer goes leaves the count at 0.
//
// A hit means the block's owner wrote those characters there and left them: every block operator new
// hands out is first filled, to its usable end, with a byte that is no digit and no letter, so nothing
// an earlier owner of the same memory left can be found in it, whatever the allocator or the build.
// (A test must still keep the secret out of what it frees itself while watching, such as a trace text.)
//
// Only blocks from operator new are seen (std::string, containers, the framework's values); the program
// that links the watch has its global operator new and delete replaced by malloc and free.

#include <cstddef>
#include <string_view>

namespace freedmemory {

// What every block from operator new holds before its owner writes it.
constexpr unsigned char kFreshBlockByte = 0xA5;

class FreedMemoryWatch {
 public:
  // `secret` must outlive the watch and must not itself lie in a block freed while it watches.
  FreedMemoryWatch(std::string_view secret, std::size_t run);
  ~FreedMemoryWatch();
  FreedMemoryWatch(const FreedMemoryWatch&) = delete;
  FreedMemoryWatch& operator=(const FreedMemoryWatch&) = delete;

  // Freed blocks so far that held a piece of the secret.
  int blocksHoldingSecret() const;
};

// Whether n bytes hold any `run` consecutive characters of the secret (the whole secret when it is
// shorter than run).
bool holdsPiece(const void* bytes, std::size_t n, std::string_view secret, std::size_t run);

}  // namespace freedmemory
