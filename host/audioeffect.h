// Level-1 base of every effect: owns the AEffect record the host holds, keeps
// the host callback and the editor, and turns the level-1 opcodes into
// virtual operations so that an effect only overrides, never parses opcodes.
#pragma once

#include "host/vst_abi.h"

class AEffEditor;
class AudioEffect;

// Made by the effect: allocates and constructs one instance for the host.
AudioEffect* createEffectInstance(audioMasterCallback audioMaster);

class AudioEffect {
 public:
  AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);
  virtual ~AudioEffect();

  virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt);
  virtual void open() {}
  virtual void close() {}
  virtual void suspend() {}
  virtual void resume() {}
  virtual void setSampleRate(float sampleRate) { this->sampleRate = sampleRate; }
  virtual void setBlockSize(VstInt32 blockSize) { this->blockSize = blockSize; }
  virtual void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) = 0;
  virtual void processDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames) {}
  virtual void setParameter(VstInt32 index, float value) {}
  virtual float getParameter(VstInt32 index) { return 0.0f; }
  virtual void setParameterAutomated(VstInt32 index, float value);
  virtual VstInt32 getProgram() { return curProgram; }
  virtual void setProgram(VstInt32 program) { curProgram = program; }
  virtual void setProgramName(char* name) {}
  virtual void getProgramName(char* name) { clearText(name); }
  virtual void getParameterLabel(VstInt32 index, char* label) { clearText(label); }
  virtual void getParameterDisplay(VstInt32 index, char* text) { clearText(text); }
  virtual void getParameterName(VstInt32 index, char* text) { clearText(text); }
  virtual VstInt32 getChunk(void** data, bool isPreset = false) { return 0; }
  virtual VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset = false) { return 0; }
  virtual void setUniqueID(VstInt32 iD) { cEffect.uniqueID = iD; }
  virtual void setNumInputs(VstInt32 inputs) { cEffect.numInputs = inputs; }
  virtual void setNumOutputs(VstInt32 outputs) { cEffect.numOutputs = outputs; }
  virtual void canProcessReplacing(bool state = true) { setFlag(effFlagsCanReplacing, state); }
  virtual void canDoubleReplacing(bool state = true) { setFlag(effFlagsCanDoubleReplacing, state); }
  virtual void programsAreChunks(bool state = true) { setFlag(effFlagsProgramChunks, state); }
  virtual void setInitialDelay(VstInt32 delay) { cEffect.initialDelay = delay; }
  virtual AEffEditor* getEditor() { return editor; }
  virtual AEffect* getAeffect() { return &cEffect; }
  virtual float getSampleRate() { return sampleRate; }
  virtual VstInt32 getBlockSize() { return blockSize; }
  virtual VstInt32 getMasterVersion();
  virtual VstInt32 getCurrentUniqueId();
  virtual void masterIdle();
  virtual bool isInputConnected(VstInt32 input);
  virtual bool isOutputConnected(VstInt32 output);
  virtual void dB2string(float value, char* text, VstInt32 maxLen);
  virtual void Hz2string(float samples, char* text, VstInt32 maxLen);
  virtual void ms2string(float samples, char* text, VstInt32 maxLen);
  virtual void float2string(float value, char* text, VstInt32 maxLen);
  virtual void int2string(VstInt32 value, char* text, VstInt32 maxLen);
  // Accumulating processing is not offered.
  virtual void process(float** inputs, float** outputs, VstInt32 sampleFrames) {}
  virtual float getVu() { return 0.0f; }
  virtual void hasVu(bool state = true) { setFlag(effFlagsHasVu, state); }
  virtual void hasClip(bool state = true) { setFlag(effFlagsHasClip, state); }
  virtual void canMono(bool state = true) { setFlag(effFlagsCanMono, state); }
  virtual void setRealtimeQualities(VstInt32 qualities) { cEffect.realQualities = qualities; }
  virtual void setOfflineQualities(VstInt32 qualities) { cEffect.offQualities = qualities; }

  // Takes ownership; the host learns from the flag whether to ask for a window.
  void setEditor(AEffEditor* newEditor);

  // The record's slots lead here; each finds its object through record->object.
  static VstIntPtr dispatchEffectClass(AEffect* e, VstInt32 opcode, VstInt32 index,
                                       VstIntPtr value, void* ptr, float opt);
  static float getParameterClass(AEffect* e, VstInt32 index);
  static void setParameterClass(AEffect* e, VstInt32 index, float value);
  static void processClass(AEffect* e, float** inputs, float** outputs, VstInt32 sampleFrames);
  static void processClassReplacing(AEffect* e, float** inputs, float** outputs,
                                    VstInt32 sampleFrames);
  static void processClassDoubleReplacing(AEffect* e, double** inputs, double** outputs,
                                          VstInt32 sampleFrames);

 protected:
  void setFlag(VstInt32 bit, bool state) {
    if (state)
      cEffect.flags |= bit;
    else
      cEffect.flags &= ~bit;
  }
  // Default texts are empty; a host may hand us no buffer at all.
  static void clearText(char* text) {
    if (text) *text = 0;
  }

  audioMasterCallback audioMaster;
  AEffEditor* editor;
  float sampleRate;
  VstInt32 blockSize;
  VstInt32 numPrograms;
  VstInt32 numParams;
  VstInt32 curProgram;
  AEffect cEffect;
};
