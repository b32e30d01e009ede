// MIDI controller bindings and the learn state, shared by the audio thread
// (Control Change messages), the user-interface thread (learn gestures) and
// the host's main thread (program changes). Each is one 64-bit word swapped
// whole, so no thread ever waits, allocates or sees a half-built table.
#pragma once

#include <atomic>
#include <cstdint>

#include "params/bramble_program.h"

// Controller bound to each parameter 0..5, one byte each; a negative byte
// means unbound. Bindings of tags that are not parameters drive nothing, so
// the table keeps only the six that can.
class MidiBindings {
 public:
  using Table = uint64_t;
  static constexpr Table kEmpty = 0xFFFFFFFFFFFFull;  // six unbound bytes

  static int8_t controllerOf(Table table, int parameter) {
    return static_cast<int8_t>(table >> (8 * parameter));
  }
  static Table with(Table table, int parameter, int8_t controller) {
    const unsigned shift = 8u * static_cast<unsigned>(parameter);
    return (table & ~(Table{0xFF} << shift)) |
           (Table{static_cast<uint8_t>(controller < 0 ? -1 : controller)} << shift);
  }

  Table load() const { return table_.load(std::memory_order_acquire); }
  void store(Table table) { table_.store(table, std::memory_order_release); }
  // Changes one parameter's binding and keeps the others as they are now.
  // Rivals change the table only at human speed, so this settles at once;
  // the bound keeps the audio thread's work finite regardless.
  void set(int parameter, int8_t controller) {
    Table expected = load();
    for (int attempt = 0; attempt < 64; ++attempt) {
      if (table_.compare_exchange_weak(expected, with(expected, parameter, controller),
                                       std::memory_order_acq_rel, std::memory_order_acquire))
        return;
    }
    store(with(load(), parameter, controller));
  }

 private:
  std::atomic<Table> table_{kEmpty};
};

// Learn state: armed or idle, the tag waiting for a controller, and the
// controller of the previous message received while armed (-1: none).
struct LearnState {
  bool armed = false;
  int8_t lastController = -1;
  int32_t target = 0;

  uint64_t pack() const {
    return (uint64_t{armed} << 40) | (uint64_t{static_cast<uint8_t>(lastController)} << 32) |
           static_cast<uint32_t>(target);
  }
  static LearnState unpack(uint64_t word) {
    return LearnState{((word >> 40) & 1) != 0, static_cast<int8_t>(word >> 32),
                      static_cast<int32_t>(static_cast<uint32_t>(word))};
  }
};

class LearnWord {
 public:
  LearnState load() const { return LearnState::unpack(word_.load(std::memory_order_acquire)); }
  // Replaces `expected` by `desired`; on failure `expected` holds the state now.
  bool exchange(LearnState& expected, const LearnState& desired) {
    uint64_t seen = expected.pack();
    const bool done = word_.compare_exchange_strong(seen, desired.pack(), std::memory_order_acq_rel,
                                                    std::memory_order_acquire);
    if (!done) expected = LearnState::unpack(seen);
    return done;
  }

 private:
  std::atomic<uint64_t> word_{LearnState{}.pack()};
};
