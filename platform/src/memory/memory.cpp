// Movable memory blocks: GlobalAlloc hands out a checked handle, GlobalLock gives the block's
// address and counts locks, GlobalUnlock and GlobalFree undo them. Allocation can be made to
// fail on demand, so that programs' handling of a refused block can be tested.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "context.h"

namespace plat {

namespace {

// Requests above this size are refused rather than handed to malloc: no block this system
// uses comes near it, and a wild size must fail quietly instead of exhausting the machine.
constexpr size_t MAX_BLOCK_BYTES = size_t(1) << 30;

MemoryState& memory() {
  return context().memory;
}

HandleTable<MemoryBlock>& blocks() {
  return context().handles.blocks;
}

MemoryBlock* find_block(HGLOBAL mem) {
  return blocks().get(mem);
}

// Consumes one allocation from the failure plan; true when this one must fail.
bool planned_failure() {
  MemoryState& m = memory();
  if (m.failures_left == 0) return false;
  if (m.succeed_before_failing > 0) return false;
  if (m.failures_left > 0) --m.failures_left;
  return true;
}

}  // namespace

void memory_fail_after(int after, int count) {
  memory().succeed_before_failing = std::max(after, 0);
  memory().failures_left = count;
}

int live_memory_blocks() {
  return int(blocks().live());
}

}  // namespace plat

using namespace plat;

HGLOBAL WINAPI GlobalAlloc(UINT flags, size_t bytes) {
  if (bytes > MAX_BLOCK_BYTES || planned_failure()) return nullptr;
  // A block of 0 bytes still has an address, so locking it is not mistaken for a failure.
  auto* raw = static_cast<unsigned char*>(std::malloc(std::max<size_t>(bytes, 1)));
  if (!raw) return nullptr;
  if (flags & GMEM_ZEROINIT) std::memset(raw, 0, std::max<size_t>(bytes, 1));
  MemoryBlock block;
  block.bytes.reset(raw);
  block.size = bytes;
  MemoryState& m = memory();
  if (m.succeed_before_failing > 0) --m.succeed_before_failing;
  return to_handle<HGLOBAL>(blocks().add(std::move(block)));
}

LPVOID WINAPI GlobalLock(HGLOBAL mem) {
  MemoryBlock* b = find_block(mem);
  if (!b) return nullptr;
  if (b->locks < UINT_MAX) ++b->locks;
  return b->bytes.get();
}

BOOL WINAPI GlobalUnlock(HGLOBAL mem) {
  MemoryBlock* b = find_block(mem);
  if (!b || b->locks == 0) return FALSE;
  --b->locks;
  return b->locks > 0 ? TRUE : FALSE;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL mem) {
  return blocks().remove(mem) ? nullptr : mem;
}

size_t WINAPI GlobalSize(HGLOBAL mem) {
  MemoryBlock* b = find_block(mem);
  return b ? b->size : 0;
}
