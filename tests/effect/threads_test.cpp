// Three kinds of caller at once, as in a host: MIDI and audio on the audio
// thread, learn gestures on the user-interface thread, program changes and
// session saves and restores on the main thread. Run under ThreadSanitizer
// this must stay quiet; in every build nothing may crash or leave a broken
// bank behind.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

#include "bramble_probe.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kRunTime = std::chrono::milliseconds(1500);

void audioThread(bramble& effect, const std::atomic<bool>& stop, long& blocks) {
  std::mt19937 rng(1);
  std::vector<float> in0(64, 0.1f), in1(64, -0.1f), out0(64), out1(64);
  float* ins[2] = {in0.data(), in1.data()};
  float* outs[2] = {out0.data(), out1.data()};
  std::vector<VstMidiEvent> messages(8);
  std::vector<unsigned char> storage(sizeof(VstEvents) + 8 * sizeof(VstEvent*));
  auto* list = reinterpret_cast<VstEvents*>(storage.data());
  // Through a plain pointer: the member array declares two entries, the list holds more.
  VstEvent** slots = list->events;
  while (!stop.load(std::memory_order_relaxed)) {
    list->numEvents = static_cast<VstInt32>(rng() % 9);
    for (int i = 0; i < list->numEvents; ++i) {
      messages[i] = VstMidiEvent{};
      messages[i].type = kVstMidiType;
      messages[i].byteSize = sizeof(VstMidiEvent);
      messages[i].midiData[0] = static_cast<char>(0xB0 | (rng() % 16));
      messages[i].midiData[1] = static_cast<char>(rng() % 4);  // few controllers: learns complete
      messages[i].midiData[2] = static_cast<char>(rng() % 128);
      slots[i] = reinterpret_cast<VstEvent*>(&messages[i]);
    }
    effect.processEvents(list);
    effect.processReplacing(ins, outs, 64);
    ++blocks;
  }
}

void interfaceThread(bramble& effect, const std::atomic<bool>& stop) {
  std::mt19937 rng(2);
  while (!stop.load(std::memory_order_relaxed)) {
    effect.handleSpecialClick(static_cast<long>(rng() % 8));
    std::this_thread::yield();
  }
}

void mainThread(bramble& effect, const std::atomic<bool>& stop) {
  std::mt19937 rng(3);
  std::vector<uint8_t> saved(280);
  char name[32];
  while (!stop.load(std::memory_order_relaxed)) {
    switch (rng() % 5) {
      case 0:
        effect.setProgram(static_cast<VstInt32>(rng() % 5));
        break;
      case 1: {
        void* data = nullptr;
        const VstInt32 size = effect.getChunk(&data, rng() % 2 == 0);
        if (size == 280) std::memcpy(saved.data(), data, 280);
        break;
      }
      case 2:
        effect.setChunk(saved.data(), 280, false);
        break;
      case 3:
        std::snprintf(name, sizeof name, "Take %u", static_cast<unsigned>(rng() % 100));
        effect.setProgramName(name);
        effect.getProgramName(name);
        break;
      default:
        effect.setParameter(static_cast<VstInt32>(rng() % 6), static_cast<float>(rng() % 1000) / 999.0f);
        break;
    }
  }
}

TEST(Threads, MidiLearnProgramsAndAudioAtOnce) {
  BrambleProbe effect;
  {
    void* data = nullptr;
    effect.getChunk(&data, false);
  }
  std::atomic<bool> stop{false};
  long blocks = 0;
  std::thread audio(audioThread, std::ref(effect), std::cref(stop), std::ref(blocks));
  std::thread gestures(interfaceThread, std::ref(effect), std::cref(stop));
  std::thread host(mainThread, std::ref(effect), std::cref(stop));
  std::this_thread::sleep_for(kRunTime);
  stop = true;
  audio.join();
  gestures.join();
  host.join();
  EXPECT_GT(blocks, 0);

  // The bank is whole: every controller slot bound to a real controller or
  // unbound, every name terminated within its field.
  void* data = nullptr;
  ASSERT_EQ(effect.getChunk(&data, false), 280);
  const auto* bank = static_cast<const uint8_t*>(data);
  for (int p = 0; p < 5; ++p) {
    EXPECT_NE(std::memchr(bank + 56 * p, 0, 24), nullptr) << p;
    for (int j = 0; j < 6; ++j) {
      const auto slot = static_cast<int8_t>(bank[56 * p + 48 + j]);
      EXPECT_TRUE(slot == -1 || (slot >= 0 && slot < 4)) << p << "," << j << ": " << int(slot);
    }
  }
  // And it still sounds.
  effect.setProgram(0);
  std::vector<float> in0(512, 0.1f), in1(512, 0.1f), out0(512), out1(512);
  float* ins[2] = {in0.data(), in1.data()};
  float* outs[2] = {out0.data(), out1.data()};
  effect.processReplacing(ins, outs, 512);
  for (float v : out0) ASSERT_TRUE(std::isfinite(v));
}

}  // namespace
