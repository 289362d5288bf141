#include "FreedMemoryWatch.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

namespace freedmemory {
namespace {

struct Watched {
  std::string_view secret;
  std::size_t run = 0;
};

std::atomic<const Watched*> watched{nullptr};
std::atomic<int> hits{0};

void inspect(void* block) {
  const Watched* w = watched.load(std::memory_order_acquire);
  if (block == nullptr || w == nullptr) return;
  if (holdsPiece(block, malloc_usable_size(block), w->secret, w->run)) hits.fetch_add(1);
}

// malloc may hand back memory an earlier owner left its text in (glibc does, in a plain build); the
// fill makes what a freed block holds the work of its last owner alone.
void* fresh(std::size_t n) noexcept {
  void* block = std::malloc(n == 0 ? 1 : n);
  if (block != nullptr) std::memset(block, kFreshBlockByte, malloc_usable_size(block));
  return block;
}

void* allocate(std::size_t n) {
  void* block = fresh(n);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

void release(void* block) {
  inspect(block);
  std::free(block);
}

}  // namespace

FreedMemoryWatch::FreedMemoryWatch(std::string_view secret, std::size_t run) {
  hits.store(0);
  watched.store(new Watched{secret, run}, std::memory_order_release);
}

FreedMemoryWatch::~FreedMemoryWatch() {
  const Watched* w = watched.exchange(nullptr);
  delete w;
}

int FreedMemoryWatch::blocksHoldingSecret() const { return hits.load(); }

bool holdsPiece(const void* bytes, std::size_t n, std::string_view secret, std::size_t run) {
  if (secret.empty()) return false;
  if (run == 0 || run > secret.size()) run = secret.size();
  const char* begin = static_cast<const char*>(bytes);
  for (std::size_t start = 0; start + run <= secret.size(); ++start) {
    if (memmem(begin, n, secret.data() + start, run) != nullptr) return true;
  }
  return false;
}

}  // namespace freedmemory

// The whole program's allocation goes through malloc and free, so that every new block can be filled
// and every freed block searched first. Array and nothrow forms are replaced too: a block must be freed
// by the family that made it.
void* operator new(std::size_t n) { return freedmemory::allocate(n); }
void* operator new[](std::size_t n) { return freedmemory::allocate(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return freedmemory::fresh(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return freedmemory::fresh(n); }
void operator delete(void* block) noexcept { freedmemory::release(block); }
void operator delete[](void* block) noexcept { freedmemory::release(block); }
void operator delete(void* block, std::size_t) noexcept { freedmemory::release(block); }
void operator delete[](void* block, std::size_t) noexcept { freedmemory::release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { freedmemory::release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { freedmemory::release(block); }
