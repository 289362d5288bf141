#include "testbrowser/Memory.h"

#include <cstdlib>
#include <new>

namespace testbrowser {

Memory::~Memory() { reclaimAll(); }

void* Memory::allocate(uint32_t size, const std::string& purpose) {
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  std::lock_guard<std::mutex> lock(mutex_);
  blocks_[p] = Block{p, size, purpose};
  return p;
}

bool Memory::release(void* address) {
  if (!address) return true;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = blocks_.find(address);
    if (it == blocks_.end()) return false;
    blocks_.erase(it);
  }
  std::free(address);
  return true;
}

bool Memory::owns(const void* address) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return blocks_.count(const_cast<void*>(address)) != 0;
}

std::vector<Memory::Block> Memory::outstanding() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<Block> out;
  for (const auto& entry : blocks_) out.push_back(entry.second);
  return out;
}

uint64_t Memory::outstandingBytes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  uint64_t total = 0;
  for (const auto& entry : blocks_) total += entry.second.size;
  return total;
}

void Memory::reclaimAll() {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto& entry : blocks_) std::free(entry.first);
  blocks_.clear();
}

}  // namespace testbrowser
