// VST 2.x opcodes (25 to 79); everything else goes down to the level-1 table.
#include "host/aeffeditor.h"
#include "host/audioeffectx.h"
#include "host/host_numeric.h"

namespace {

// Keys reach the editor as a key code: character from the index, virtual key
// from the value's low byte, modifiers from the low byte of the truncated opt.
VstKeyCode keyCodeOf(VstInt32 index, VstIntPtr value, float opt) {
  VstKeyCode keyCode{};
  keyCode.character = index;
  keyCode.virt = static_cast<unsigned char>(value & 0xFF);
  keyCode.modifier = static_cast<unsigned char>(truncateToInt32(opt) & 0xFF);
  return keyCode;
}

}  // namespace

VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
  switch (opcode) {
    case effProcessEvents:
      return processEvents(static_cast<VstEvents*>(ptr));
    case effCanBeAutomated:
      return canParameterBeAutomated(index);
    case effString2Parameter:
      return string2parameter(index, static_cast<char*>(ptr));
    case effGetNumProgramCategories:
      return getNumCategories();
    case effGetProgramNameIndexed:
      return getProgramNameIndexed(clampToInt32(value), index, static_cast<char*>(ptr));
    case effCopyProgram:
      return copyProgram(index);
    case effConnectInput:
      inputConnected(index, value != 0);
      return 1;
    case effConnectOutput:
      outputConnected(index, value != 0);
      return 1;
    case effGetInputProperties:
      return getInputProperties(index, static_cast<VstPinProperties*>(ptr));
    case effGetOutputProperties:
      return getOutputProperties(index, static_cast<VstPinProperties*>(ptr));
    case effGetPlugCategory:
      return getPlugCategory();
    case effGetCurrentPosition:
      return reportCurrentPosition();
    case effGetDestinationBuffer:
      return reinterpret_cast<VstIntPtr>(reportDestinationBuffer());
    case effOfflineNotify:
      return offlineNotify(static_cast<VstAudioFile*>(ptr), clampToInt32(value), index != 0);
    case effOfflinePrepare:
      return offlinePrepare(static_cast<VstOfflineTask*>(ptr), clampToInt32(value));
    case effOfflineRun:
      return offlineRun(static_cast<VstOfflineTask*>(ptr), clampToInt32(value));
    case effProcessVarIo:
      return processVariableIo(static_cast<VstVariableIo*>(ptr));
    case effSetSpeakerArrangement:
      return setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                   static_cast<VstSpeakerArrangement*>(ptr));
    case effSetBlockSizeAndSampleRate:
      setBlockSizeAndSampleRate(clampToInt32(value), opt);
      return 1;
    case effSetBypass:
      return setBypass(value != 0);
    case effGetEffectName:
      return getEffectName(static_cast<char*>(ptr));
    case effGetErrorText:
      return getErrorText(static_cast<char*>(ptr));
    case effGetVendorString:
      return getVendorString(static_cast<char*>(ptr));
    case effGetProductString:
      return getProductString(static_cast<char*>(ptr));
    case effGetVendorVersion:
      return getVendorVersion();
    case effVendorSpecific:
      return vendorSpecific(index, clampToInt32(value), ptr, opt);
    case effCanDo:
      return canDo(static_cast<char*>(ptr));
    case effGetTailSize:
      return getGetTailSize();
    case effIdle:
      return fxIdle();
    case effGetIcon:
      return reinterpret_cast<VstIntPtr>(getIcon());
    case effSetViewPosition:
      return setViewPosition(index, clampToInt32(value));
    case effGetParameterProperties:
      return getParameterProperties(index, static_cast<VstParameterProperties*>(ptr));
    case effKeysRequired:
      // The published question is inverted: 0 means "I want the keys".
      return keysRequired() ? 0 : 1;
    case effGetVstVersion:
      return getVstVersion();
    case effEditKeyDown:
      if (editor) {
        VstKeyCode keyCode = keyCodeOf(index, value, opt);
        return editor->onKeyDown(keyCode);
      }
      return 0;
    case effEditKeyUp:
      if (editor) {
        VstKeyCode keyCode = keyCodeOf(index, value, opt);
        return editor->onKeyUp(keyCode);
      }
      return 0;
    case effSetEditKnobMode:
      return editor ? editor->setKnobMode(clampToInt32(value)) : 0;
    case effGetMidiProgramName:
      return getMidiProgramName(index, static_cast<MidiProgramName*>(ptr));
    case effGetCurrentMidiProgram:
      return getCurrentMidiProgram(index, static_cast<MidiProgramName*>(ptr));
    case effGetMidiProgramCategory:
      return getMidiProgramCategory(index, static_cast<MidiProgramCategory*>(ptr));
    case effHasMidiProgramsChanged:
      return hasMidiProgramsChanged(index);
    case effGetMidiKeyName:
      return getMidiKeyName(index, static_cast<MidiKeyName*>(ptr));
    case effBeginSetProgram:
      return beginSetProgram();
    case effEndSetProgram:
      return endSetProgram();
    case effGetSpeakerArrangement:
      return getSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(value),
                                   static_cast<VstSpeakerArrangement**>(ptr));
    case effShellGetNextPlugin:
      return getNextShellPlugin(static_cast<char*>(ptr));
    case effStartProcess:
      return startProcess();
    case effStopProcess:
      return stopProcess();
    case effSetTotalSampleToProcess:
      return setTotalSampleToProcess(clampToInt32(value));
    case effSetPanLaw:
      return setPanLaw(clampToInt32(value), opt);
    case effBeginLoadBank:
      return beginLoadBank(static_cast<VstPatchChunkInfo*>(ptr));
    case effBeginLoadProgram:
      return beginLoadProgram(static_cast<VstPatchChunkInfo*>(ptr));
    case effSetProcessPrecision:
      return setProcessPrecision(clampToInt32(value));
    case effGetNumMidiInputChannels:
      return getNumMidiInputChannels();
    case effGetNumMidiOutputChannels:
      return getNumMidiOutputChannels();
    default:
      return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
  }
}
