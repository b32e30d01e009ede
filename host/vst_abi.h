// The published binary records of the VST 2.4 plug-in interface, written from
// their documented layout (x86_64: pointer-sized fields are 8 bytes, natural
// alignment). Every offset a host relies on is checked at compile time.
#pragma once

#include <cstddef>
#include <cstdint>

typedef int32_t VstInt32;
typedef int64_t VstIntPtr;

struct AEffect;

typedef VstIntPtr (*audioMasterCallback)(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                         VstIntPtr value, void* ptr, float opt);
typedef VstIntPtr (*AEffectDispatcherProc)(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                           VstIntPtr value, void* ptr, float opt);
typedef void (*AEffectProcessProc)(AEffect* effect, float** inputs, float** outputs,
                                   VstInt32 sampleFrames);
typedef void (*AEffectProcessDoubleProc)(AEffect* effect, double** inputs, double** outputs,
                                         VstInt32 sampleFrames);
typedef void (*AEffectSetParameterProc)(AEffect* effect, VstInt32 index, float parameter);
typedef float (*AEffectGetParameterProc)(AEffect* effect, VstInt32 index);

// Four characters packed with the first one in the most significant byte.
constexpr VstInt32 kFourCC(char a, char b, char c, char d) {
  return static_cast<VstInt32>((static_cast<uint32_t>(static_cast<unsigned char>(a)) << 24) |
                               (static_cast<uint32_t>(static_cast<unsigned char>(b)) << 16) |
                               (static_cast<uint32_t>(static_cast<unsigned char>(c)) << 8) |
                               static_cast<uint32_t>(static_cast<unsigned char>(d)));
}

constexpr VstInt32 kEffectMagic = kFourCC('V', 's', 't', 'P');

struct AEffect {
  VstInt32 magic;
  AEffectDispatcherProc dispatcher;
  AEffectProcessProc process;
  AEffectSetParameterProc setParameter;
  AEffectGetParameterProc getParameter;
  VstInt32 numPrograms;
  VstInt32 numParams;
  VstInt32 numInputs;
  VstInt32 numOutputs;
  VstInt32 flags;
  VstIntPtr resvd1;
  VstIntPtr resvd2;
  VstInt32 initialDelay;
  VstInt32 realQualities;
  VstInt32 offQualities;
  float ioRatio;
  void* object;
  void* user;
  VstInt32 uniqueID;
  VstInt32 version;
  AEffectProcessProc processReplacing;
  AEffectProcessDoubleProc processDoubleReplacing;
  char future[56];
};

static_assert(sizeof(AEffect) == 192);
static_assert(offsetof(AEffect, magic) == 0);
static_assert(offsetof(AEffect, dispatcher) == 8);
static_assert(offsetof(AEffect, process) == 16);
static_assert(offsetof(AEffect, setParameter) == 24);
static_assert(offsetof(AEffect, getParameter) == 32);
static_assert(offsetof(AEffect, numPrograms) == 40);
static_assert(offsetof(AEffect, numParams) == 44);
static_assert(offsetof(AEffect, numInputs) == 48);
static_assert(offsetof(AEffect, numOutputs) == 52);
static_assert(offsetof(AEffect, flags) == 56);
static_assert(offsetof(AEffect, resvd1) == 64);
static_assert(offsetof(AEffect, resvd2) == 72);
static_assert(offsetof(AEffect, initialDelay) == 80);
static_assert(offsetof(AEffect, realQualities) == 84);
static_assert(offsetof(AEffect, offQualities) == 88);
static_assert(offsetof(AEffect, ioRatio) == 92);
static_assert(offsetof(AEffect, object) == 96);
static_assert(offsetof(AEffect, user) == 104);
static_assert(offsetof(AEffect, uniqueID) == 112);
static_assert(offsetof(AEffect, version) == 116);
static_assert(offsetof(AEffect, processReplacing) == 120);
static_assert(offsetof(AEffect, processDoubleReplacing) == 128);
static_assert(offsetof(AEffect, future) == 136);

// Capability bits of AEffect::flags.
enum VstAEffectFlags : VstInt32 {
  effFlagsHasEditor = 1 << 0,
  effFlagsHasClip = 1 << 1,
  effFlagsHasVu = 1 << 2,
  effFlagsCanMono = 1 << 3,
  effFlagsCanReplacing = 1 << 4,
  effFlagsProgramChunks = 1 << 5,
  effFlagsIsSynth = 1 << 8,
  effFlagsNoSoundInStop = 1 << 9,
  effFlagsExtIsAsync = 1 << 10,
  effFlagsExtHasBuffer = 1 << 11,
  effFlagsCanDoubleReplacing = 1 << 12,
};

// Opcodes the host sends through the dispatcher.
enum AEffectOpcodes : VstInt32 {
  effOpen = 0, effClose, effSetProgram, effGetProgram, effSetProgramName, effGetProgramName,
  effGetParamLabel, effGetParamDisplay, effGetParamName, effGetVu, effSetSampleRate,
  effSetBlockSize, effMainsChanged, effEditGetRect, effEditOpen, effEditClose, effEditDraw,
  effEditMouse, effEditKey, effEditIdle, effEditTop, effEditSleep, effIdentify, effGetChunk,
  effSetChunk,
  effProcessEvents = 25, effCanBeAutomated, effString2Parameter, effGetNumProgramCategories,
  effGetProgramNameIndexed, effCopyProgram, effConnectInput, effConnectOutput,
  effGetInputProperties, effGetOutputProperties, effGetPlugCategory, effGetCurrentPosition,
  effGetDestinationBuffer, effOfflineNotify, effOfflinePrepare, effOfflineRun,
  effProcessVarIo, effSetSpeakerArrangement, effSetBlockSizeAndSampleRate, effSetBypass,
  effGetEffectName, effGetErrorText, effGetVendorString, effGetProductString,
  effGetVendorVersion, effVendorSpecific, effCanDo, effGetTailSize, effIdle, effGetIcon,
  effSetViewPosition, effGetParameterProperties, effKeysRequired, effGetVstVersion,
  effEditKeyDown, effEditKeyUp, effSetEditKnobMode, effGetMidiProgramName,
  effGetCurrentMidiProgram, effGetMidiProgramCategory, effHasMidiProgramsChanged,
  effGetMidiKeyName, effBeginSetProgram, effEndSetProgram, effGetSpeakerArrangement,
  effShellGetNextPlugin, effStartProcess, effStopProcess, effSetTotalSampleToProcess,
  effSetPanLaw, effBeginLoadBank, effBeginLoadProgram, effSetProcessPrecision,
  effGetNumMidiInputChannels, effGetNumMidiOutputChannels,
};
static_assert(effSetChunk == 24 && effGetNumMidiOutputChannels == 79 && effCanDo == 51);

// Opcodes the plug-in sends to the host callback.
enum AudioMasterOpcodes : VstInt32 {
  audioMasterAutomate = 0, audioMasterVersion, audioMasterCurrentId, audioMasterIdle,
  audioMasterPinConnected,
  audioMasterWantMidi = 6, audioMasterGetTime, audioMasterProcessEvents,
  audioMasterTempoAt = 10, audioMasterGetNumAutomatableParameters,
  audioMasterGetParameterQuantization, audioMasterIOChanged, audioMasterNeedIdle,
  audioMasterSizeWindow, audioMasterGetSampleRate, audioMasterGetBlockSize,
  audioMasterGetInputLatency, audioMasterGetOutputLatency, audioMasterGetPreviousPlug,
  audioMasterGetNextPlug, audioMasterWillReplaceOrAccumulate,
  audioMasterGetCurrentProcessLevel, audioMasterGetAutomationState, audioMasterOfflineStart,
  audioMasterOfflineRead, audioMasterOfflineWrite, audioMasterOfflineGetCurrentPass,
  audioMasterOfflineGetCurrentMetaPass, audioMasterSetOutputSampleRate,
  audioMasterGetOutputSpeakerArrangement, audioMasterGetVendorString,
  audioMasterGetProductString, audioMasterGetVendorVersion, audioMasterVendorSpecific,
  audioMasterCanDo = 37, audioMasterGetLanguage, audioMasterOpenWindow,
  audioMasterCloseWindow, audioMasterGetDirectory, audioMasterUpdateDisplay,
  audioMasterBeginEdit, audioMasterEndEdit, audioMasterOpenFileSelector,
  audioMasterCloseFileSelector,
  audioMasterGetChunkFile = 48, audioMasterGetInputSpeakerArrangement,
};
static_assert(audioMasterSetOutputSampleRate == 30 && audioMasterEndEdit == 44 &&
              audioMasterGetInputSpeakerArrangement == 49);

enum VstPlugCategory : VstInt32 { kPlugCategUnknown = 0, kPlugCategEffect, kPlugCategSynth };

// Event lists handed to processEvents.
enum { kVstMidiType = 1 };

struct VstEvent {
  VstInt32 type;
  VstInt32 byteSize;
  VstInt32 deltaFrames;
  VstInt32 flags;
  char data[16];
};
static_assert(sizeof(VstEvent) == 32);

struct VstMidiEvent {
  VstInt32 type;
  VstInt32 byteSize;
  VstInt32 deltaFrames;
  VstInt32 flags;
  VstInt32 noteLength;
  VstInt32 noteOffset;
  char midiData[4];
  char detune;
  char noteOffVelocity;
  char reserved1;
  char reserved2;
};
static_assert(sizeof(VstMidiEvent) == 32);
static_assert(offsetof(VstMidiEvent, deltaFrames) == 8);
static_assert(offsetof(VstMidiEvent, noteLength) == 16);
static_assert(offsetof(VstMidiEvent, midiData) == 24);
static_assert(offsetof(VstMidiEvent, detune) == 28);
static_assert(offsetof(VstMidiEvent, reserved2) == 31);

struct VstEvents {
  VstInt32 numEvents;
  VstIntPtr reserved;
  VstEvent* events[2];  // variable length: numEvents entries
};
static_assert(offsetof(VstEvents, reserved) == 8);
static_assert(offsetof(VstEvents, events) == 16);

struct ERect {
  int16_t top;
  int16_t left;
  int16_t bottom;
  int16_t right;
};
static_assert(sizeof(ERect) == 8 && offsetof(ERect, bottom) == 4);

struct VstKeyCode {
  VstInt32 character;
  unsigned char virt;
  unsigned char modifier;
};
static_assert(offsetof(VstKeyCode, virt) == 4 && offsetof(VstKeyCode, modifier) == 5 &&
              sizeof(VstKeyCode) == 8);

// Speaker arrangements, built by the helpers of AudioEffectX.
struct VstSpeakerProperties {
  float azimuth;
  float elevation;
  float radius;
  float reserved;
  char name[64];
  VstInt32 type;
  char future[28];
};
static_assert(sizeof(VstSpeakerProperties) == 112);

struct VstSpeakerArrangement {
  VstInt32 type;
  VstInt32 numChannels;
  VstSpeakerProperties speakers[8];  // variable length: numChannels entries
};
static_assert(offsetof(VstSpeakerArrangement, speakers) == 8);

// Records the dispatcher only passes through.
struct VstTimeInfo;
struct VstPinProperties;
struct VstParameterProperties;
struct VstPatchChunkInfo;
struct VstVariableIo;
struct VstAudioFile;
struct VstOfflineTask;
struct VstFileSelect;
struct VstWindow;
struct MidiProgramName;
struct MidiProgramCategory;
struct MidiKeyName;
