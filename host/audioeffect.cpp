// The effect record, its trampolines and the level-1 questions to the host.
#include "host/audioeffect.h"

#include <cstring>

#include "host/aeffeditor.h"
#include "host/host_numeric.h"

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms,
                         VstInt32 numParams)
    : audioMaster(audioMaster),
      editor(nullptr),
      sampleRate(44100.0f),
      blockSize(1024),
      numPrograms(numPrograms),
      numParams(numParams),
      curProgram(0) {
  // The host may read reserved and future fields; they must be zero.
  std::memset(&cEffect, 0, sizeof(cEffect));
  cEffect.magic = kEffectMagic;
  cEffect.dispatcher = dispatchEffectClass;
  cEffect.process = processClass;
  cEffect.setParameter = setParameterClass;
  cEffect.getParameter = getParameterClass;
  cEffect.numPrograms = numPrograms;
  cEffect.numParams = numParams;
  cEffect.numInputs = 1;
  cEffect.numOutputs = 2;
  cEffect.ioRatio = 1.0f;
  cEffect.object = this;
  cEffect.uniqueID = kFourCC('N', 'o', 'E', 'f');
  cEffect.version = 1;
  cEffect.processReplacing = processClassReplacing;
  setFlag(effFlagsCanReplacing, true);
  cEffect.processDoubleReplacing = processClassDoubleReplacing;
}

AudioEffect::~AudioEffect() {
  delete editor;
  editor = nullptr;
}

void AudioEffect::setEditor(AEffEditor* newEditor) {
  editor = newEditor;
  setFlag(effFlagsHasEditor, newEditor != nullptr);
}

// --- Trampolines -----------------------------------------------------------
// The host is C: nothing may unwind into it, so an escaping exception turns
// into the "not handled" answer.

static AudioEffect* objectOf(AEffect* e) {
  return e ? static_cast<AudioEffect*>(e->object) : nullptr;
}

VstIntPtr AudioEffect::dispatchEffectClass(AEffect* e, VstInt32 opcode, VstInt32 index,
                                           VstIntPtr value, void* ptr, float opt) {
  AudioEffect* ae = objectOf(e);
  if (!ae) return 0;
  VstIntPtr result = 0;
  try {
    result = ae->dispatcher(opcode, index, value, ptr, opt);
  } catch (...) {
    result = 0;
  }
  if (opcode == effClose) {
    // The record lives inside the object: after this the host's pointer is dead.
    delete ae;
    return 1;
  }
  return result;
}

float AudioEffect::getParameterClass(AEffect* e, VstInt32 index) {
  AudioEffect* ae = objectOf(e);
  if (!ae) return 0.0f;
  try {
    return ae->getParameter(index);
  } catch (...) {
    return 0.0f;
  }
}

void AudioEffect::setParameterClass(AEffect* e, VstInt32 index, float value) {
  AudioEffect* ae = objectOf(e);
  if (!ae) return;
  try {
    ae->setParameter(index, value);
  } catch (...) {
  }
}

void AudioEffect::processClass(AEffect* e, float** inputs, float** outputs,
                               VstInt32 sampleFrames) {
  AudioEffect* ae = objectOf(e);
  if (!ae) return;
  try {
    ae->process(inputs, outputs, sampleFrames);
  } catch (...) {
  }
}

void AudioEffect::processClassReplacing(AEffect* e, float** inputs, float** outputs,
                                        VstInt32 sampleFrames) {
  AudioEffect* ae = objectOf(e);
  if (!ae) return;
  try {
    ae->processReplacing(inputs, outputs, sampleFrames);
  } catch (...) {
  }
}

void AudioEffect::processClassDoubleReplacing(AEffect* e, double** inputs, double** outputs,
                                              VstInt32 sampleFrames) {
  AudioEffect* ae = objectOf(e);
  if (!ae) return;
  try {
    ae->processDoubleReplacing(inputs, outputs, sampleFrames);
  } catch (...) {
  }
}

// --- Questions to the host ---------------------------------------------------
// Each one works without a host too, so an effect can be exercised standalone.

VstInt32 AudioEffect::getMasterVersion() {
  if (!audioMaster) return 1;
  VstIntPtr version = audioMaster(&cEffect, audioMasterVersion, 0, 0, nullptr, 0.0f);
  return version != 0 ? clampToInt32(version) : 1;
}

VstInt32 AudioEffect::getCurrentUniqueId() {
  if (!audioMaster) return 0;
  return clampToInt32(audioMaster(&cEffect, audioMasterCurrentId, 0, 0, nullptr, 0.0f));
}

void AudioEffect::masterIdle() {
  if (audioMaster) audioMaster(&cEffect, audioMasterIdle, 0, 0, nullptr, 0.0f);
}

// The host answers 0 for "connected" (the question is really "is it unused").
bool AudioEffect::isInputConnected(VstInt32 input) {
  if (!audioMaster) return true;
  return audioMaster(&cEffect, audioMasterPinConnected, input, 0, nullptr, 0.0f) == 0;
}

bool AudioEffect::isOutputConnected(VstInt32 output) {
  if (!audioMaster) return true;
  return audioMaster(&cEffect, audioMasterPinConnected, output, 1, nullptr, 0.0f) == 0;
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
  setParameter(index, value);
  if (audioMaster) audioMaster(&cEffect, audioMasterAutomate, index, 0, nullptr, value);
}
