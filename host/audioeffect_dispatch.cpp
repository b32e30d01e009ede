// Level-1 opcodes: each becomes exactly one virtual operation.
#include "host/aeffeditor.h"
#include "host/audioeffect.h"
#include "host/host_numeric.h"

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) {
  switch (opcode) {
    case effOpen:
      open();
      return 0;
    case effClose:
      close();
      return 0;
    case effSetProgram:
      // A negative value is passed on: setProgram is the one that rejects it.
      if (value < numPrograms) setProgram(clampToInt32(value));
      return 0;
    case effGetProgram:
      return getProgram();
    case effSetProgramName:
      setProgramName(static_cast<char*>(ptr));
      return 0;
    case effGetProgramName:
      getProgramName(static_cast<char*>(ptr));
      return 0;
    case effGetParamLabel:
      getParameterLabel(index, static_cast<char*>(ptr));
      return 0;
    case effGetParamDisplay:
      getParameterDisplay(index, static_cast<char*>(ptr));
      return 0;
    case effGetParamName:
      getParameterName(index, static_cast<char*>(ptr));
      return 0;
    case effGetVu:
      return truncateToInt32(static_cast<double>(getVu()) * 32767.0);
    case effSetSampleRate:
      setSampleRate(opt);
      return 0;
    case effSetBlockSize:
      setBlockSize(clampToInt32(value));
      return 0;
    case effMainsChanged:
      if (value == 0)
        suspend();
      else
        resume();
      return 0;
    case effEditGetRect:
      return editor ? editor->getRect(static_cast<ERect**>(ptr)) : 0;
    case effEditOpen:
      return editor ? editor->open(ptr) : 0;
    case effEditClose:
      if (editor) editor->close();
      return 0;
    case effEditDraw:
      if (editor) editor->draw(static_cast<ERect*>(ptr));
      return 0;
    case effEditMouse:
      return editor ? editor->mouse(index, clampToInt32(value)) : 0;
    case effEditKey:
      return editor ? editor->key(clampToInt32(value)) : 0;
    case effEditIdle:
      if (editor) editor->idle();
      return 0;
    case effEditTop:
      if (editor) editor->top();
      return 0;
    case effEditSleep:
      if (editor) editor->sleep();
      return 0;
    case effIdentify:
      return kFourCC('N', 'v', 'E', 'f');
    case effGetChunk:
      return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
      return setChunk(ptr, clampToInt32(value), index != 0);
    default:
      return 0;
  }
}
