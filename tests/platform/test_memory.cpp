// Movable memory: lock counts, sizes, freeing, failures on demand and refused handles.
#include <cstdint>
#include <cstring>

#include "platform/support.h"

namespace {

using MemoryTest = PlatformTest;

TEST_F(MemoryTest, LockCountsAndFreeing) {
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 16);
  ASSERT_TRUE(mem);
  EXPECT_EQ(GlobalSize(mem), 16u);
  auto* p = static_cast<unsigned char*>(GlobalLock(mem));
  ASSERT_TRUE(p);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(p[i], 0) << i;
  std::memcpy(p, "hello", 6);
  EXPECT_EQ(GlobalLock(mem), p) << "same block while locked twice";
  EXPECT_TRUE(GlobalUnlock(mem)) << "still locked once";
  EXPECT_FALSE(GlobalUnlock(mem)) << "now unlocked";
  EXPECT_FALSE(GlobalUnlock(mem)) << "not locked at all";
  EXPECT_STREQ(static_cast<char*>(GlobalLock(mem)), "hello") << "contents survive unlocking";
  EXPECT_EQ(headless_counters().memory_blocks, 1);

  // Freeing works even while locked; afterwards the handle is refused everywhere.
  EXPECT_EQ(GlobalFree(mem), nullptr);
  EXPECT_EQ(GlobalFree(mem), mem);
  EXPECT_EQ(GlobalLock(mem), nullptr);
  EXPECT_FALSE(GlobalUnlock(mem));
  EXPECT_EQ(GlobalSize(mem), 0u);
  EXPECT_EQ(headless_counters().memory_blocks, 0);

  // An empty block is a block: it locks to an address and frees.
  HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);
  ASSERT_TRUE(empty);
  EXPECT_NE(GlobalLock(empty), nullptr);
  EXPECT_EQ(GlobalSize(empty), 0u);
  EXPECT_EQ(GlobalFree(empty), nullptr);
}

TEST_F(MemoryTest, AllocationFailsOnDemand) {
  headless_fail_global_alloc(2, 1);
  HGLOBAL a = GlobalAlloc(GMEM_MOVEABLE, 4);
  HGLOBAL b = GlobalAlloc(GMEM_MOVEABLE, 4);
  HGLOBAL c = GlobalAlloc(GMEM_MOVEABLE, 4);
  HGLOBAL d = GlobalAlloc(GMEM_MOVEABLE, 4);
  EXPECT_TRUE(a);
  EXPECT_TRUE(b);
  EXPECT_FALSE(c);
  EXPECT_TRUE(d);
  EXPECT_EQ(headless_counters().memory_blocks, 3);

  headless_fail_global_alloc(0, -1);
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(GlobalAlloc(GMEM_MOVEABLE, 4)) << i;
  headless_reset();
  EXPECT_EQ(headless_counters().memory_blocks, 0);
  EXPECT_TRUE(GlobalAlloc(GMEM_MOVEABLE, 4)) << "reset ends the failures";

  // A size no machine can give fails quietly instead of reaching malloc.
  EXPECT_FALSE(GlobalAlloc(GMEM_MOVEABLE, SIZE_MAX));
  EXPECT_FALSE(GlobalAlloc(GMEM_MOVEABLE, SIZE_MAX / 2));
}

TEST_F(MemoryTest, ForeignHandlesAreRefused) {
  HMENU menu = CreateMenu();
  HGLOBAL foreign = reinterpret_cast<HGLOBAL>(menu);
  EXPECT_EQ(GlobalLock(foreign), nullptr);
  EXPECT_EQ(GlobalFree(foreign), foreign);
  EXPECT_EQ(GlobalSize(foreign), 0u);
  EXPECT_EQ(GlobalLock(nullptr), nullptr);
  EXPECT_EQ(GlobalFree(nullptr), nullptr);
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 4);
  // A handle whose generation is stale (the slot was reused) is not the new block.
  GlobalFree(mem);
  HGLOBAL reused = GlobalAlloc(GMEM_MOVEABLE, 8);
  EXPECT_EQ(GlobalSize(mem), 0u);
  EXPECT_EQ(GlobalSize(reused), 8u);
}

}  // namespace
