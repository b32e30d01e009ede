#include "effect/bramble.h"

#include <atomic>
#include <cmath>
#include <cstring>
#include <new>

#include "dsp/qmx.h"
#include "editor/bramble_editor.h"
#include "params/bramble_param_manager.h"

namespace {

constexpr VstInt32 kUniqueId = kFourCC('M', 'F', 'j', 'r');
constexpr float kHighPassCutoffHz = 200.0f;
constexpr float kLowPassCutoffHz = 2500.0f;
constexpr const char* kEffectName = "Junkyard Reverb";
constexpr const char* kVendorName = "Mirefield Audio, Inc.";

// Truncation toward zero that stays defined for NaN and huge values.
int32_t truncateToInt(float value) {
  if (!(value == value)) return 0;
  if (value >= 2147483520.0f) return INT32_MAX;
  if (value <= -2147483648.0f) return INT32_MIN;
  return static_cast<int32_t>(value);
}

// Slots a delay line needs so the right channel's longest delay stays inside
// it at this rate: never fewer than the classic 14400.
uint32_t slotsForRate(float rate) {
  const float longestSamples = (kLongestDelayMs * 0.001f) * rate;
  if (!(longestSamples < 16777216.0f)) return kDelayLineSlots;  // absurd rates: keep the default
  const uint32_t needed = static_cast<uint32_t>(longestSamples) + 1;
  return needed > kDelayLineSlots ? needed : kDelayLineSlots;
}

void copyText(char* destination, const char* text) {
  if (destination) std::strcpy(destination, text);
}

}  // namespace

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
  return new bramble(audioMaster);
}

bramble::bramble(audioMasterCallback audioMaster) : AudioEffectX(audioMaster, kNumPrograms, 6) {
  setNumInputs(2);
  setNumOutputs(2);
  canProcessReplacing(true);
  setUniqueID(kUniqueId);

  paramManager = new brambleParamManager();

  const uint32_t slots = slotsForRate(gAudioSamplingRate);
  delay_fad_init(&leftDelay, slots);
  delay_fad_init(&rightDelay, slots);
  if (!leftDelay.buffer || !rightDelay.buffer) {
    // The destructor does not run for a half-built object: release here.
    delay_fad_free(&leftDelay);
    delay_fad_free(&rightDelay);
    delete paramManager;
    paramManager = nullptr;
    throw std::bad_alloc();
  }
  filter_butterworth_2P_LP_init(&leftLowPass);
  filter_butterworth_2P_LP_init(&rightLowPass);
  filter_butterworth_2P_HP_init(&leftHighPass);
  filter_butterworth_2P_HP_init(&rightHighPass);
  delay_fad_clear(&leftDelay);
  delay_fad_clear(&rightDelay);

  dist_mxr_init(&clipper);
  dist_mxr_set_attr(&clipper, ATTR_MXR_GAIN, 1.0f);
  dist_mxr_set_attr(&clipper, ATTR_MXR_LEVEL, 0.25f);
  applyFilterCutoffs();

  leftFeedback = 0.0f;
  rightFeedback = 0.0f;
  delayTime.store(500.0f, std::memory_order_relaxed);
  delayTimePending.store(true, std::memory_order_release);
  power.store(truncateToInt(paramManager->getNaturalValue(kPowerSwitch)),
              std::memory_order_relaxed);

  // The window itself opens only when the host asks; the base constructor
  // registers the editor with us, which tells the host there is one.
  try {
    guiEditor = new brambleEditor(this);
  } catch (...) {
    // The half-built editor had registered itself: take it back before the
    // base destructor would delete it a second time.
    setEditor(nullptr);
    delay_fad_free(&leftDelay);
    delay_fad_free(&rightDelay);
    delete paramManager;
    paramManager = nullptr;
    throw;
  }

  programsAreChunks(true);
  initPresets();
  setProgram(0);
  resume();
}

bramble::~bramble() {
  delete paramManager;
  paramManager = nullptr;
  delay_fad_free(&leftDelay);
  delay_fad_free(&rightDelay);
  filter_butterworth_2P_LP_free(&leftLowPass);
  filter_butterworth_2P_LP_free(&rightLowPass);
  filter_butterworth_2P_HP_free(&leftHighPass);
  filter_butterworth_2P_HP_free(&rightHighPass);
}

void bramble::suspend() {}

void bramble::resume() {
  inputsInUse = isInputConnected(1) ? 2 : 1;
  outputsInUse = isOutputConnected(1) ? 2 : 1;
  wantEvents(1);
}

void bramble::applyFilterCutoffs() {
  filter_butterworth_2P_HP_set_attr(&leftHighPass, ATTR_CUTOFF, kHighPassCutoffHz);
  filter_butterworth_2P_HP_set_attr(&rightHighPass, ATTR_CUTOFF, kHighPassCutoffHz);
  filter_butterworth_2P_LP_set_attr(&leftLowPass, ATTR_CUTOFF, kLowPassCutoffHz);
  filter_butterworth_2P_LP_set_attr(&rightLowPass, ATTR_CUTOFF, kLowPassCutoffHz);
}

bool bramble::sizeDelayLines(uint32_t slots) {
  if (slots == leftDelay.length && slots == rightDelay.length) return true;
  _delay_fad_struct left{}, right{};
  delay_fad_init(&left, slots);
  delay_fad_init(&right, slots);
  if (!left.buffer || !right.buffer) {
    delay_fad_free(&left);
    delay_fad_free(&right);
    return false;  // keep the old lines; delays beyond them are clamped
  }
  delay_fad_clear(&left);
  delay_fad_clear(&right);
  delay_fad_free(&leftDelay);
  delay_fad_free(&rightDelay);
  leftDelay = left;
  rightDelay = right;
  return true;
}

// Hosts change the rate while the effect is suspended, never from the audio thread.
void bramble::setSampleRate(float rate) {
  if (!(rate > 0.0f) || !std::isfinite(rate)) return;
  AudioEffectX::setSampleRate(rate);
  qmx_set_attr(ATTR_SAMPLING_RATE, rate);
  sizeDelayLines(slotsForRate(rate));
  // Keep the band limits where they belong at the new rate.
  applyFilterCutoffs();
  delayTimePending.store(true, std::memory_order_release);
}

void bramble::setParameter(VstInt32 index, float value) {
  if (index < 0 || index > 5) return;
  const int32_t program = currentProgram.load(std::memory_order_acquire);
  std::atomic_ref<float>(programs[program].values[index]).store(value, std::memory_order_relaxed);
  paramManager->setVSTvalue(index, value);
  const float natural = paramManager->getNaturalValue(index);
  switch (index) {
    case kMicLevel:
      micLevel.store(natural, std::memory_order_relaxed);
      break;
    case kDelay:
      delayTime.store(natural, std::memory_order_relaxed);
      delayTimePending.store(true, std::memory_order_release);
      break;
    case kRepeat:
      repeat.store(natural, std::memory_order_relaxed);
      break;
    case kDepth: {
      const float d = static_cast<float>(static_cast<double>(natural) * 0.01);
      dryGain.store(1.0f - d * d, std::memory_order_relaxed);
      wetGain.store(1.0f - (d - 1.0f) * (d - 1.0f), std::memory_order_relaxed);
      break;
    }
    case kInputSelector:
      inputSelector.store(truncateToInt(natural), std::memory_order_relaxed);
      break;
    case kPowerSwitch:
      power.store(truncateToInt(natural), std::memory_order_relaxed);
      break;
  }
  if (guiEditor) guiEditor->setParameter(index, value);
}

float bramble::getParameter(VstInt32 index) { return paramManager->getVSTvalue(index); }

void bramble::getParameterLabel(VstInt32 index, char* label) {
  if (label) paramManager->getUnitsName(index, label, 8);
}

void bramble::getParameterDisplay(VstInt32 index, char* text) {
  if (text) paramManager->getValueString(index, text, 8);
}

void bramble::getParameterName(VstInt32 index, char* text) {
  if (text) paramManager->getName(index, text, 8);
}

bool bramble::getEffectName(char* name) {
  copyText(name, kEffectName);
  return true;
}

bool bramble::getVendorString(char* text) {
  copyText(text, kVendorName);
  return true;
}

bool bramble::getProductString(char* text) {
  copyText(text, kEffectName);
  return true;
}

VstInt32 bramble::getVendorVersion() { return 1000; }

VstInt32 bramble::canDo(char* text) {
  if (!text) return -1;
  static const char* const kCanDo[] = {"plugAsChannelInsert", "receiveVstMidiEvent", "plugAsSend",
                                       "1in1out", "1in2out", "2in2out"};
  for (const char* capability : kCanDo)
    if (std::strcmp(text, capability) == 0) return 1;
  return -1;
}

VstInt32 bramble::getPlugCategory() { return kPlugCategEffect; }
