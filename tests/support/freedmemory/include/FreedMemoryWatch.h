#pragma once
// Which freed blocks still held a secret. While a watch is alive, every block the program gives back
// through operator delete is searched, just before it is freed, for any run of `run` characters of the
// secret; a block that holds one is counted. A secret wiped before its buffer goes leaves the count at 0.
//
// Only blocks from operator new are seen (std::string, containers, the framework's values); the program
// that links the watch has its global operator new and delete replaced by plain malloc and free.

#include <cstddef>
#include <string_view>

namespace freedmemory {

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
