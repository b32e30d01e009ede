// What the effect's programs, bindings and learn state must be after a
// sequence of controller messages, learn gestures, program changes and
// parameter changes, worked out the plain way so that the fuzzer can compare.
#pragma once

#include <cstdint>
#include <cstring>

namespace junkyard::fuzz {

class LearnModel {
 public:
  static constexpr int kPrograms = 5;
  static constexpr int kParams = 6;
  static constexpr int kRecordSize = 56;

  // Starts from the bank the effect reports and the program it has current.
  void start(const uint8_t* bank, int current) {
    for (int i = 0; i < kPrograms; ++i) {
      std::memcpy(values_[i], bank + i * kRecordSize + 24, sizeof values_[i]);
      std::memcpy(controllers_[i], bank + i * kRecordSize + 48, sizeof controllers_[i]);
    }
    current_ = current;
    rebuildBindings();
  }

  // One Control Change message that reached the effect (data bytes 0..127).
  void controlChange(int8_t controller, uint8_t value) {
    if (armed_) {
      if (controller != lastController_) {
        lastController_ = controller;
        return;
      }
      if (isParameter(target_)) {
        bindings_[target_] = controller;
        controllers_[current_][target_] = controller;
      }
      lastController_ = -1;
      armed_ = false;
      return;
    }
    const float v = static_cast<float>(value) / 127.0f;
    for (int j = 0; j < kParams; ++j)
      if (bindings_[j] == controller) values_[current_][j] = v;
  }

  // The learn gesture; the tag is held as a 32-bit word, saturated.
  void specialClick(long tagValue) {
    const int32_t tag = tagValue > INT32_MAX   ? INT32_MAX
                        : tagValue < INT32_MIN ? INT32_MIN
                                               : static_cast<int32_t>(tagValue);
    if (!armed_) {
      armed_ = true;
      target_ = tag;
    } else if (tag == target_) {
      if (isParameter(tag) && bindings_[tag] >= 0) {
        bindings_[tag] = -1;
        controllers_[current_][tag] = -1;
      }
      armed_ = false;
    } else {
      target_ = tag;
    }
  }

  // effSetProgram with this value.
  void setProgram(int64_t value) {
    if (value < 0 || value >= kPrograms) return;
    current_ = static_cast<int>(value);
    rebuildBindings();
  }

  void setParameter(int32_t index, float value) {
    if (isParameter(index)) values_[current_][index] = value;
  }

  int current() const { return current_; }
  float value(int program, int parameter) const { return values_[program][parameter]; }
  int8_t controller(int program, int parameter) const { return controllers_[program][parameter]; }

 private:
  static bool isParameter(int32_t tag) { return tag >= 0 && tag < kParams; }

  void rebuildBindings() {
    for (int j = 0; j < kParams; ++j)
      bindings_[j] = controllers_[current_][j] < 0 ? int8_t{-1} : controllers_[current_][j];
  }

  float values_[kPrograms][kParams] = {};
  int8_t controllers_[kPrograms][kParams] = {};
  int8_t bindings_[kParams] = {};
  int current_ = 0;
  bool armed_ = false;
  int32_t target_ = 0;
  int8_t lastController_ = -1;
};

}  // namespace junkyard::fuzz
