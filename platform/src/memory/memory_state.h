// The records of movable memory: a block with its bytes, size and lock count, and the plan of
// refused allocations that tests set. The blocks' handle table lives with the other tables in
// the window system's context.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>

namespace plat {

struct FreeBytes {
  void operator()(unsigned char* p) const { std::free(p); }
};

struct MemoryBlock {
  std::unique_ptr<unsigned char, FreeBytes> bytes;
  size_t size = 0;
  unsigned locks = 0;
};

struct MemoryState {
  int succeed_before_failing = 0;
  int failures_left = 0;  // < 0: every allocation fails
};

}  // namespace plat
