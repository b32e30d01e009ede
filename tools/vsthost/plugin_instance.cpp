#include "tools/vsthost/plugin_instance.h"

#include <algorithm>
#include <array>
#include <utility>

#include "tools/vsthost/host_callback.h"

namespace junkyard::vsthost {

PluginInstance::PluginInstance(const PluginLibrary& library, HostSettings settings)
    : settings_(std::move(settings)),
      sampleRate_(settings_.sampleRate),
      blockSize_(settings_.blockSize) {
  if (!library.ok()) return;
  AEffect* effect = nullptr;
  {
    detail::ConstructionScope constructing(this);
    effect = library.entry()(&detail::hostCallback);
  }
  if (!effect) return;
  detail::registerInstance(effect, this);
  effect_.store(effect, std::memory_order_release);
}

PluginInstance::~PluginInstance() { close(); }

VstIntPtr PluginInstance::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
  AEffect* e = effect();
  if (!e || !e->dispatcher) return 0;
  return e->dispatcher(e, opcode, index, value, ptr, opt);
}

void PluginInstance::open() { dispatch(effOpen); }

void PluginInstance::close() {
  AEffect* e = effect();
  if (!e) return;
  // The effect may still call its host while closing, so it stays routable
  // until the dispatcher returns; after that the record is freed memory.
  if (e->dispatcher) e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
  detail::unregisterInstance(e);
  effect_.store(nullptr, std::memory_order_release);
}

void PluginInstance::setSampleRate(float rate) {
  sampleRate_.store(rate, std::memory_order_relaxed);
  dispatch(effSetSampleRate, 0, 0, nullptr, rate);
}

void PluginInstance::setBlockSize(VstInt32 frames) {
  blockSize_.store(frames, std::memory_order_relaxed);
  dispatch(effSetBlockSize, 0, frames);
}

void PluginInstance::resume() { dispatch(effMainsChanged, 0, 1); }

void PluginInstance::suspend() { dispatch(effMainsChanged, 0, 0); }

std::string PluginInstance::dispatchText(VstInt32 opcode, VstInt32 index) {
  // Far larger than any text the interface allows, and zero-filled, so an
  // effect that forgets its terminator still yields a bounded string.
  std::array<char, 256> text{};
  dispatch(opcode, index, 0, text.data());
  text.back() = '\0';
  return std::string(text.data());
}

std::string PluginInstance::getParameterName(VstInt32 index) {
  return dispatchText(effGetParamName, index);
}

std::string PluginInstance::getParameterLabel(VstInt32 index) {
  return dispatchText(effGetParamLabel, index);
}

std::string PluginInstance::getParameterDisplay(VstInt32 index) {
  return dispatchText(effGetParamDisplay, index);
}

std::string PluginInstance::getEffectName() { return dispatchText(effGetEffectName, 0); }

std::string PluginInstance::getVendorString() { return dispatchText(effGetVendorString, 0); }

std::string PluginInstance::getProductString() { return dispatchText(effGetProductString, 0); }

VstIntPtr PluginInstance::canDo(const std::string& what) {
  std::string text = what;  // the interface takes a non-const pointer
  return dispatch(effCanDo, 0, 0, text.data());
}

void PluginInstance::setParameter(VstInt32 index, float value) {
  AEffect* e = effect();
  if (e && e->setParameter) e->setParameter(e, index, value);
}

float PluginInstance::getParameter(VstInt32 index) {
  AEffect* e = effect();
  return (e && e->getParameter) ? e->getParameter(e, index) : 0.0f;
}

void PluginInstance::processReplacing(float** inputs, float** outputs, VstInt32 frames) {
  AEffect* e = effect();
  if (e && e->processReplacing) e->processReplacing(e, inputs, outputs, frames);
}

VstIntPtr PluginInstance::processEvents(VstEvents* events) {
  return dispatch(effProcessEvents, 0, 0, events);
}

std::vector<HostCall> PluginInstance::calls() const {
  std::lock_guard<std::mutex> lock(callsMutex_);
  return calls_;
}

std::size_t PluginInstance::countCalls(VstInt32 opcode) const {
  std::lock_guard<std::mutex> lock(callsMutex_);
  return static_cast<std::size_t>(std::count_if(
      calls_.begin(), calls_.end(), [opcode](const HostCall& c) { return c.opcode == opcode; }));
}

void PluginInstance::clearCalls() {
  std::lock_guard<std::mutex> lock(callsMutex_);
  calls_.clear();
}

VstIntPtr PluginInstance::answerHostCall(const HostCall& call) {
  {
    std::lock_guard<std::mutex> lock(callsMutex_);
    calls_.push_back(call);
  }
  if (settings_.answer) {
    if (std::optional<VstIntPtr> answer = settings_.answer(call)) return *answer;
  }
  switch (call.opcode) {
    case audioMasterVersion:
      return settings_.version;
    case audioMasterGetSampleRate: {
      // Tests feed odd rates on purpose; converting NaN or huge floats is undefined.
      float rate = sampleRate();
      return (rate >= 0.0f && rate < 1.0e9f) ? static_cast<VstIntPtr>(rate) : 0;
    }
    case audioMasterGetBlockSize:
      return blockSize();
    case audioMasterCurrentId: {
      AEffect* e = effect();
      return e ? e->uniqueID : 0;
    }
    default:
      return 0;
  }
}

}  // namespace junkyard::vsthost
