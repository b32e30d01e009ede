// One effect instance driven through the binary interface, as a host drives
// it: the record's dispatcher and function slots, plus a host callback that
// answers the few questions an effect asks and remembers every call, so that
// tests can check what the effect told its host.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "host/vst_abi.h"
#include "tools/vsthost/plugin_library.h"

namespace junkyard::vsthost {

// One call the effect made to its host, as received.
struct HostCall {
  AEffect* effect;
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  void* ptr;
  float opt;
};

struct HostSettings {
  // Answer to audioMasterVersion; 0 makes a well-behaved entry point refuse.
  VstIntPtr version = 2400;
  float sampleRate = 44100.0f;
  VstInt32 blockSize = 512;
  // Optional override: return a value to answer a call differently from the
  // defaults (still recorded). Runs on whatever thread the effect calls from.
  std::function<std::optional<VstIntPtr>(const HostCall&)> answer;
};

class PluginInstance {
 public:
  // Calls the module's entry point; valid() tells whether an instance resulted.
  explicit PluginInstance(const PluginLibrary& library, HostSettings settings = {});
  // Sends effClose when the instance is still open.
  ~PluginInstance();
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  bool valid() const { return effect() != nullptr; }
  AEffect* effect() const { return effect_.load(std::memory_order_acquire); }

  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                     void* ptr = nullptr, float opt = 0.0f);

  void open();
  // effClose: the effect deletes itself, so effect() is null afterwards.
  void close();
  // Also changes what the host answers to audioMasterGetSampleRate/BlockSize.
  void setSampleRate(float rate);
  void setBlockSize(VstInt32 frames);
  void resume();
  void suspend();

  std::string getParameterName(VstInt32 index);
  std::string getParameterLabel(VstInt32 index);
  std::string getParameterDisplay(VstInt32 index);
  std::string getEffectName();
  std::string getVendorString();
  std::string getProductString();
  VstIntPtr canDo(const std::string& what);

  void setParameter(VstInt32 index, float value);
  float getParameter(VstInt32 index);
  void processReplacing(float** inputs, float** outputs, VstInt32 frames);
  VstIntPtr processEvents(VstEvents* events);

  float sampleRate() const { return sampleRate_.load(std::memory_order_relaxed); }
  VstInt32 blockSize() const { return blockSize_.load(std::memory_order_relaxed); }

  // Every call received from the effect since construction (or clearCalls).
  std::vector<HostCall> calls() const;
  std::size_t countCalls(VstInt32 opcode) const;
  void clearCalls();

  // The host side of one callback; reached through the routing in host_callback.
  VstIntPtr answerHostCall(const HostCall& call);

 private:
  std::string dispatchText(VstInt32 opcode, VstInt32 index);

  HostSettings settings_;
  std::atomic<AEffect*> effect_{nullptr};
  std::atomic<float> sampleRate_;
  std::atomic<VstInt32> blockSize_;
  mutable std::mutex callsMutex_;
  std::vector<HostCall> calls_;
};

}  // namespace junkyard::vsthost
