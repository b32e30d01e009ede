// Doubles shared by the host-layer tests: a host callback that records every
// request, an effect whose overrides record how they were called, and an
// editor that does the same.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/aeffeditor.h"
#include "host/audioeffectx.h"

namespace hostlayer {

// Stand-in addresses: passed through and compared, never dereferenced.
inline void* const kPtr = reinterpret_cast<void*>(uintptr_t{0x1000});
inline void* const kPtr2 = reinterpret_cast<void*>(uintptr_t{0x2000});

// One ordered log of everything the doubles see, so tests can check order.
inline std::vector<std::string> gLog;

std::string describe(const void* p);
std::string describe(float f);
inline std::string describe(VstInt32 v) { return std::to_string(v); }
inline std::string describe(bool b) { return b ? "1" : "0"; }
inline std::string describe(VstIntPtr v) { return std::to_string(v); }

template <typename... Args>
std::string callText(const char* name, Args... args) {
  std::string text = std::string(name) + "(";
  bool first = true;
  ((text += (first ? "" : ",") + describe(args), first = false), ...);
  return text + ")";
}

struct HostCall {
  AEffect* effect;
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  void* ptr;
  float opt;
};

struct RecordingHost {
  static inline std::vector<HostCall> calls;
  static inline VstIntPtr answer = 0;

  static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                            void* ptr, float opt) {
    calls.push_back({effect, opcode, index, value, ptr, opt});
    gLog.push_back("host:" + std::to_string(opcode));
    return answer;
  }
  static void reset() {
    calls.clear();
    answer = 0;
  }
};

// An effect that logs every operation the dispatcher can reach and answers
// with `answer` (bools: answer != 0, pointers: answer as address).
class TestEffect : public AudioEffectX {
 public:
  explicit TestEffect(audioMasterCallback host = nullptr, VstInt32 programs = 5,
                      VstInt32 params = 6)
      : AudioEffectX(host, programs, params) {}
  ~TestEffect() override { gLog.push_back("~effect"); }

  VstIntPtr answer = 0;
  float vu = 0.0f;
  bool throwOnOpen = false;

  template <typename... Args>
  void log(const char* name, Args... args) {
    gLog.push_back(callText(name, args...));
  }
  bool yes() const { return answer != 0; }
  VstInt32 n() const { return static_cast<VstInt32>(answer); }
  template <typename T>
  T* p() const {
    return reinterpret_cast<T*>(answer);
  }

  void processReplacing(float** in, float** out, VstInt32 frames) override {
    log("processReplacing", static_cast<void*>(in), static_cast<void*>(out), frames);
  }
  void processDoubleReplacing(double** in, double** out, VstInt32 frames) override {
    log("processDoubleReplacing", static_cast<void*>(in), static_cast<void*>(out), frames);
  }
  void process(float** in, float** out, VstInt32 frames) override {
    log("process", static_cast<void*>(in), static_cast<void*>(out), frames);
  }
  void open() override {
    log("open");
    if (throwOnOpen) throw std::runtime_error("cannot open");
  }
  void close() override { log("close"); }
  void suspend() override { log("suspend"); }
  void resume() override { log("resume"); }
  void setSampleRate(float rate) override { log("setSampleRate", rate); }
  void setBlockSize(VstInt32 size) override { log("setBlockSize", size); }
  void setParameter(VstInt32 index, float value) override { log("setParameter", index, value); }
  float getParameter(VstInt32 index) override {
    log("getParameter", index);
    return 0.125f;
  }
  VstInt32 getProgram() override {
    log("getProgram");
    return n();
  }
  void setProgram(VstInt32 program) override { log("setProgram", program); }
  void setProgramName(char* name) override { log("setProgramName", name); }
  void getProgramName(char* name) override { log("getProgramName", name); }
  void getParameterLabel(VstInt32 i, char* t) override { log("getParameterLabel", i, t); }
  void getParameterDisplay(VstInt32 i, char* t) override { log("getParameterDisplay", i, t); }
  void getParameterName(VstInt32 i, char* t) override { log("getParameterName", i, t); }
  VstInt32 getChunk(void** data, bool isPreset) override {
    log("getChunk", static_cast<void*>(data), isPreset);
    return n();
  }
  VstInt32 setChunk(void* data, VstInt32 size, bool isPreset) override {
    log("setChunk", data, size, isPreset);
    return n();
  }
  float getVu() override {
    log("getVu");
    return vu;
  }

  VstInt32 processEvents(VstEvents* e) override {
    log("processEvents", static_cast<void*>(e));
    return n();
  }
  bool canParameterBeAutomated(VstInt32 i) override {
    log("canParameterBeAutomated", i);
    return yes();
  }
  bool string2parameter(VstInt32 i, char* t) override {
    log("string2parameter", i, t);
    return yes();
  }
  VstInt32 getNumCategories() override {
    log("getNumCategories");
    return n();
  }
  bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* t) override {
    log("getProgramNameIndexed", category, index, t);
    return yes();
  }
  bool copyProgram(VstInt32 destination) override {
    log("copyProgram", destination);
    return yes();
  }
  void inputConnected(VstInt32 i, bool state) override { log("inputConnected", i, state); }
  void outputConnected(VstInt32 i, bool state) override { log("outputConnected", i, state); }
  bool getInputProperties(VstInt32 i, VstPinProperties* pp) override {
    log("getInputProperties", i, static_cast<void*>(pp));
    return yes();
  }
  bool getOutputProperties(VstInt32 i, VstPinProperties* pp) override {
    log("getOutputProperties", i, static_cast<void*>(pp));
    return yes();
  }
  VstInt32 getPlugCategory() override {
    log("getPlugCategory");
    return n();
  }
  VstInt32 reportCurrentPosition() override {
    log("reportCurrentPosition");
    return n();
  }
  float* reportDestinationBuffer() override {
    log("reportDestinationBuffer");
    return p<float>();
  }
  bool offlineNotify(VstAudioFile* f, VstInt32 count, bool start) override {
    log("offlineNotify", static_cast<void*>(f), count, start);
    return yes();
  }
  bool offlinePrepare(VstOfflineTask* t, VstInt32 count) override {
    log("offlinePrepare", static_cast<void*>(t), count);
    return yes();
  }
  bool offlineRun(VstOfflineTask* t, VstInt32 count) override {
    log("offlineRun", static_cast<void*>(t), count);
    return yes();
  }
  bool processVariableIo(VstVariableIo* io) override {
    log("processVariableIo", static_cast<void*>(io));
    return yes();
  }
  bool setSpeakerArrangement(VstSpeakerArrangement* in, VstSpeakerArrangement* out) override {
    log("setSpeakerArrangement", static_cast<void*>(in), static_cast<void*>(out));
    return yes();
  }
  void setBlockSizeAndSampleRate(VstInt32 size, float rate) override {
    log("setBlockSizeAndSampleRate", size, rate);
  }
  bool setBypass(bool onOff) override {
    log("setBypass", onOff);
    return yes();
  }
  bool getEffectName(char* t) override {
    log("getEffectName", t);
    return yes();
  }
  bool getErrorText(char* t) override {
    log("getErrorText", t);
    return yes();
  }
  bool getVendorString(char* t) override {
    log("getVendorString", t);
    return yes();
  }
  bool getProductString(char* t) override {
    log("getProductString", t);
    return yes();
  }
  VstInt32 getVendorVersion() override {
    log("getVendorVersion");
    return n();
  }
  VstInt32 vendorSpecific(VstInt32 a, VstInt32 b, void* ptr, float f) override {
    log("vendorSpecific", a, b, ptr, f);
    return n();
  }
  VstInt32 canDo(char* t) override {
    log("canDo", t);
    return n();
  }
  VstInt32 getGetTailSize() override {
    log("getGetTailSize");
    return n();
  }
  VstInt32 fxIdle() override {
    log("fxIdle");
    return n();
  }
  void* getIcon() override {
    log("getIcon");
    return p<void>();
  }
  bool setViewPosition(VstInt32 x, VstInt32 y) override {
    log("setViewPosition", x, y);
    return yes();
  }
  bool getParameterProperties(VstInt32 i, VstParameterProperties* pp) override {
    log("getParameterProperties", i, static_cast<void*>(pp));
    return yes();
  }
  bool keysRequired() override {
    log("keysRequired");
    return yes();
  }
  VstInt32 getVstVersion() override {
    log("getVstVersion");
    return n();
  }
  VstInt32 getMidiProgramName(VstInt32 ch, MidiProgramName* m) override {
    log("getMidiProgramName", ch, static_cast<void*>(m));
    return n();
  }
  VstInt32 getCurrentMidiProgram(VstInt32 ch, MidiProgramName* m) override {
    log("getCurrentMidiProgram", ch, static_cast<void*>(m));
    return n();
  }
  VstInt32 getMidiProgramCategory(VstInt32 ch, MidiProgramCategory* c) override {
    log("getMidiProgramCategory", ch, static_cast<void*>(c));
    return n();
  }
  bool hasMidiProgramsChanged(VstInt32 ch) override {
    log("hasMidiProgramsChanged", ch);
    return yes();
  }
  bool getMidiKeyName(VstInt32 ch, MidiKeyName* k) override {
    log("getMidiKeyName", ch, static_cast<void*>(k));
    return yes();
  }
  bool beginSetProgram() override {
    log("beginSetProgram");
    return yes();
  }
  bool endSetProgram() override {
    log("endSetProgram");
    return yes();
  }
  bool getSpeakerArrangement(VstSpeakerArrangement** in, VstSpeakerArrangement** out) override {
    log("getSpeakerArrangement", static_cast<void*>(in), static_cast<void*>(out));
    return yes();
  }
  VstInt32 getNextShellPlugin(char* name) override {
    log("getNextShellPlugin", name);
    return n();
  }
  VstInt32 startProcess() override {
    log("startProcess");
    return n();
  }
  VstInt32 stopProcess() override {
    log("stopProcess");
    return n();
  }
  VstInt32 setTotalSampleToProcess(VstInt32 value) override {
    log("setTotalSampleToProcess", value);
    return n();
  }
  bool setPanLaw(VstInt32 type, float value) override {
    log("setPanLaw", type, value);
    return yes();
  }
  VstInt32 beginLoadBank(VstPatchChunkInfo* info) override {
    log("beginLoadBank", static_cast<void*>(info));
    return n();
  }
  VstInt32 beginLoadProgram(VstPatchChunkInfo* info) override {
    log("beginLoadProgram", static_cast<void*>(info));
    return n();
  }
  bool setProcessPrecision(VstInt32 precision) override {
    log("setProcessPrecision", precision);
    return yes();
  }
  VstInt32 getNumMidiInputChannels() override {
    log("getNumMidiInputChannels");
    return n();
  }
  VstInt32 getNumMidiOutputChannels() override {
    log("getNumMidiOutputChannels");
    return n();
  }
};

// An effect that keeps every default; only canDo is steerable (for resume).
class PlainEffect : public AudioEffectX {
 public:
  explicit PlainEffect(audioMasterCallback host = nullptr, VstInt32 programs = 5,
                       VstInt32 params = 6)
      : AudioEffectX(host, programs, params) {}
  void processReplacing(float**, float**, VstInt32) override {}

  VstInt32 canDoAnswer = 0;
  std::string lastCanDo;
  VstInt32 canDo(char* text) override {
    lastCanDo = text ? text : "(null)";
    return canDoAnswer;
  }
};

// An editor that logs every call and its own destruction.
class RecordingEditor : public AEffEditor {
 public:
  explicit RecordingEditor(AudioEffect* effect) : AEffEditor(effect) {}
  ~RecordingEditor() override { gLog.push_back("~editor"); }

  VstIntPtr answer = 0;

  template <typename... Args>
  void log(const char* name, Args... args) {
    gLog.push_back(callText(name, args...));
  }
  bool getRect(ERect** rect) override {
    log("getRect", static_cast<void*>(rect));
    return answer != 0;
  }
  bool open(void* window) override {
    log("open", window);
    return answer != 0;
  }
  void close() override { log("close"); }
  void idle() override { log("idle"); }
  void draw(ERect* rect) override { log("draw", static_cast<void*>(rect)); }
  VstInt32 mouse(VstInt32 x, VstInt32 y) override {
    log("mouse", x, y);
    return static_cast<VstInt32>(answer);
  }
  VstInt32 key(VstInt32 keyCode) override {
    log("key", keyCode);
    return static_cast<VstInt32>(answer);
  }
  void top() override { log("top"); }
  void sleep() override { log("sleep"); }
  bool onKeyDown(VstKeyCode& k) override {
    log("onKeyDown", k.character, static_cast<VstInt32>(k.virt), static_cast<VstInt32>(k.modifier));
    return answer != 0;
  }
  bool onKeyUp(VstKeyCode& k) override {
    log("onKeyUp", k.character, static_cast<VstInt32>(k.virt), static_cast<VstInt32>(k.modifier));
    return answer != 0;
  }
  bool setKnobMode(VstInt32 mode) override {
    log("setKnobMode", mode);
    return answer != 0;
  }
};

// How the test's createEffectInstance behaves (the module's is the effect's).
enum class FactoryMode { build, fail, throwError };
inline FactoryMode gFactoryMode = FactoryMode::build;
inline int gFactoryCalls = 0;

}  // namespace hostlayer
