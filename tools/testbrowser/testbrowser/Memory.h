// The browser's allocator as the plug-in sees it (memalloc / memfree): every block is recorded with what it
// was for, so a block freed twice, a pointer the browser never gave out, and blocks left at the end are seen.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace testbrowser {

class Memory {
 public:
  struct Block {
    void* address;
    uint32_t size;
    std::string purpose;
  };

  ~Memory();
  // Never returns null, also for size 0 (the block then has one byte).
  void* allocate(uint32_t size, const std::string& purpose);
  // False (and nothing freed) for a pointer that is not an outstanding block. Null is accepted.
  bool release(void* address);
  bool owns(const void* address) const;
  std::vector<Block> outstanding() const;
  uint64_t outstandingBytes() const;
  // Frees every outstanding block (after they have been reported).
  void reclaimAll();

 private:
  mutable std::mutex mutex_;
  std::map<void*, Block> blocks_;
};

}  // namespace testbrowser
