// Junkyard Reverb: a stereo echo-based reverb with the controls of a small
// hardware unit and a microphone input stage.
#pragma once

#include <atomic>
#include <cstdint>

#include "dsp/delay_fad.h"
#include "dsp/dist_mxr.h"
#include "dsp/filter_butterworth.h"
#include "editor/bramble_learn_target.h"
#include "host/audioeffectx.h"
#include "params/bramble_program.h"
#include "params/midi_learn.h"

class brambleEditor;
class brambleParamManager;

// Delay-line slots: enough for the right channel's longest delay up to 94117 Hz.
constexpr uint32_t kDelayLineSlots = 14400;
// The right channel's echo runs this many milliseconds behind the left one.
constexpr float kRightChannelOffsetMs = 3.0f;
// Longest delay a line must hold: the longest Delay plus the right channel's offset.
constexpr float kLongestDelayMs = 150.0f + kRightChannelOffsetMs;

class bramble : public AudioEffectX, public brambleLearnTarget {
 public:
  explicit bramble(audioMasterCallback audioMaster);
  ~bramble() override;

  void suspend() override;
  void resume() override;
  void setSampleRate(float sampleRate) override;
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;

  void setParameter(VstInt32 index, float value) override;
  float getParameter(VstInt32 index) override;

  // Programs and the chunk.
  void initPresets();
  VstInt32 getProgram() override;
  void setProgram(VstInt32 program) override;
  void setProgramName(char* name) override;
  void getProgramName(char* name) override;
  bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;
  VstInt32 getChunk(void** data, bool isPreset = false) override;
  VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset = false) override;

  // MIDI controllers and learning.
  VstInt32 processEvents(VstEvents* events) override;
  void midiController(char controller, char value, int deltaFrames);
  void handleSpecialClick(long tag) override;
  void getParameterLabel(VstInt32 index, char* label) override;
  void getParameterDisplay(VstInt32 index, char* text) override;
  void getParameterName(VstInt32 index, char* text) override;

  bool getEffectName(char* name) override;
  bool getVendorString(char* text) override;
  bool getProductString(char* text) override;
  VstInt32 getVendorVersion() override;
  VstInt32 canDo(char* text) override;
  VstInt32 getPlugCategory() override;

  // Slots of each delay line (grows above 94117 Hz so the longest delay fits).
  uint32_t delayLineSlots() const { return leftDelay.length; }

 protected:
  // Processing values as one block reads them.
  struct ChainSettings {
    bool mic;
    float micLevel;
    float repeat;
    float dryGain;
    float wetGain;
  };
  void processPlain(const ChainSettings& settings, const float* in0, const float* in1, float* out0,
                    float* out1, VstInt32 frames);
  // The same arithmetic with both channels side by side; false when the
  // modules are in a state it does not cover.
  bool processSteady(const ChainSettings& settings, const float* in0, const float* in1, float* out0,
                     float* out1, VstInt32 frames);
  void handOverDelayTime();
  bool sizeDelayLines(uint32_t slots);
  void applyFilterCutoffs();

  void completeLearn(int32_t target, int8_t controller);
  void cancelLearn(int32_t target);
  // Forwards the learn mark to the editor, when there is one.
  virtual void highlightControl(long tag, bool on);
  void storeProgramRecord(int program, const uint8_t* record);
  void loadProgramRecord(int program, uint8_t* record) const;

  // MIDI controller bindings of the current program, and the learn state.
  MidiBindings bindings;
  LearnWord learn;

  brambleProgram programs[kNumPrograms];
  // The current program, read by parameter changes on any thread.
  std::atomic<int32_t> currentProgram{0};
  // What getChunk hands the host: a copy, so the host never reads the bank
  // while a controller is writing into it.
  uint8_t chunkImage[kNumPrograms * sizeof(brambleProgram)] = {};
  brambleParamManager* paramManager = nullptr;
  // The editor as this class knows it; owned (and deleted) as the base
  // class's editor.
  brambleEditor* guiEditor = nullptr;

  _delay_fad_struct leftDelay{};
  _delay_fad_struct rightDelay{};
  _filter_butterworth_2P_struct leftHighPass{};
  _filter_butterworth_2P_struct rightHighPass{};
  _filter_butterworth_2P_struct leftLowPass{};
  _filter_butterworth_2P_struct rightLowPass{};
  _dist_mxr_struct clipper{};

  float leftFeedback = 0.0f;
  float rightFeedback = 0.0f;

  // Processing values: written by setParameter on any thread, read per use by
  // the audio thread. Each is one word written whole.
  std::atomic<float> repeat{0.0f};
  std::atomic<float> dryGain{1.0f};
  std::atomic<float> wetGain{0.0f};
  std::atomic<float> delayTime{500.0f};
  std::atomic<bool> delayTimePending{true};
  std::atomic<int32_t> power{1};
  std::atomic<int32_t> inputSelector{0};
  std::atomic<float> micLevel{0.0f};

  int32_t inputsInUse = 2;
  int32_t outputsInUse = 2;
};
