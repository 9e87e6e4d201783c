// Checked handles: a handle is a tag, a generation and a slot number packed into a pointer-sized
// value. Looking one up checks all three, so a handle that was freed, that belongs to another
// table or that was never issued finds nothing instead of touching freed memory. A slot's
// generation only ever moves on, through clear() too, so a freed handle stays dead until its
// slot has been reused 2^20 - 1 times (511 times with 32-bit pointers), when the generation
// comes round again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace plat {

// Where the parts sit in a handle: with 64-bit pointers the tag at bit 44, a 20-bit generation at
// bit 24 and a 24-bit slot number; with 32-bit pointers (WebAssembly) a 3-bit tag at bit 29, a
// 9-bit generation at bit 20 and a 20-bit slot number.
constexpr bool WIDE_HANDLES = sizeof(uintptr_t) >= 8;
constexpr unsigned HANDLE_TAG_SHIFT = WIDE_HANDLES ? 44 : 29;
constexpr unsigned HANDLE_GENERATION_SHIFT = WIDE_HANDLES ? 24 : 20;
constexpr uintptr_t HANDLE_GENERATION_MASK = WIDE_HANDLES ? 0xFFFFF : 0x1FF;
constexpr uintptr_t HANDLE_SLOT_MASK = (uintptr_t(1) << HANDLE_GENERATION_SHIFT) - 1;

constexpr uintptr_t pack_handle(unsigned tag, uintptr_t generation, uintptr_t slot) {
  return (uintptr_t(tag) << HANDLE_TAG_SHIFT) | (generation << HANDLE_GENERATION_SHIFT) | slot;
}

template <class T>
class HandleTable {
 public:
  // max_slots is for tests; the slot number must stay below the generation's bits.
  explicit HandleTable(unsigned tag, size_t max_slots = HANDLE_SLOT_MASK)
      : tag_(tag), max_slots_(max_slots < HANDLE_SLOT_MASK ? max_slots : HANDLE_SLOT_MASK) {}

  // The new entry's handle, or 0 when every slot number is taken by a live entry: a slot number
  // past them would spill into the generation and could name another entry.
  uintptr_t add(T value) {
    size_t index;
    if (!free_.empty()) {
      index = free_.back();
      free_.pop_back();
    } else {
      if (slots_.size() >= max_slots_) return 0;
      index = slots_.size();
      slots_.push_back(Slot{});
    }
    Slot& slot = slots_[index];
    slot.generation = (slot.generation + 1) & HANDLE_GENERATION_MASK;
    if (slot.generation == 0) slot.generation = 1;
    slot.value.emplace(std::move(value));
    ++live_;
    return pack_handle(tag_, slot.generation, uintptr_t(index + 1));
  }

  T* get(uintptr_t handle) {
    Slot* slot = find(handle);
    return slot ? &*slot->value : nullptr;
  }

  template <class H>
  T* get(H handle) {
    return get(reinterpret_cast<uintptr_t>(handle));
  }

  bool remove(uintptr_t handle) {
    Slot* slot = find(handle);
    if (!slot) return false;
    slot->value.reset();
    free_.push_back(size_t(handle & HANDLE_SLOT_MASK) - 1);
    --live_;
    return true;
  }

  template <class H>
  bool remove(H handle) {
    return remove(reinterpret_cast<uintptr_t>(handle));
  }

  // Drops every entry but keeps each slot's generation, so that no handle issued before names
  // an entry added after.
  void clear() {
    free_.clear();
    for (size_t i = slots_.size(); i-- > 0;) {
      slots_[i].value.reset();
      free_.push_back(i);
    }
    live_ = 0;
  }

  size_t live() const { return live_; }

  // Calls f(handle, value) for every live entry.
  template <class F>
  void for_each(F f) {
    for (size_t i = 0; i < slots_.size(); ++i) {
      if (!slots_[i].value) continue;
      f(pack_handle(tag_, slots_[i].generation, uintptr_t(i + 1)), *slots_[i].value);
    }
  }

 private:
  struct Slot {
    uint32_t generation = 0;
    std::optional<T> value;
  };

  Slot* find(uintptr_t handle) {
    if ((handle >> HANDLE_TAG_SHIFT) != tag_) return nullptr;
    size_t index = handle & HANDLE_SLOT_MASK;
    if (index == 0 || index > slots_.size()) return nullptr;
    Slot& slot = slots_[index - 1];
    if (!slot.value ||
        slot.generation != ((handle >> HANDLE_GENERATION_SHIFT) & HANDLE_GENERATION_MASK)) {
      return nullptr;
    }
    return &slot;
  }

  unsigned tag_;
  size_t max_slots_;
  std::vector<Slot> slots_;
  std::vector<size_t> free_;
  size_t live_ = 0;
};

// Tags of the handle kinds, so that a handle of one kind is never found in another table.
enum HandleTag : unsigned {
  TAG_WINDOW = 1,
  TAG_MENU = 2,
  TAG_DC = 3,
  TAG_GDIOBJ = 4,
  TAG_GLOBAL = 5,
  TAG_ICON = 6,
  TAG_INSTANCE = 7,
};

template <class H>
inline H to_handle(uintptr_t value) {
  return reinterpret_cast<H>(value);
}

}  // namespace plat
