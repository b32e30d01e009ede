// Generic parameter registry: every parameter of an effect under a numeric id,
// with its names, range, default and type, and its current value held both as
// the host's 0..1 value and in the parameter's own (natural) units. A derived
// class declares its parameters in its constructor and may override any
// operation.
//
// Threads: all declarations happen during construction. Afterwards the maps
// never change shape; callers on any thread only read or overwrite single
// values in existing entries, which are atomics so those accesses stay
// race-free without locks. Reads never insert.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <string>

#include "dsp/tables.h"

enum mf_paramTypes : int32_t {
  kParamLinear = 0,
  kParamOnOff = 1,
  kParamPercent = 2,
  // 3 is unassigned and behaves exactly like kParamLinear.
  kParamExponential = 4,
  kParamDecibel = 5,
  kParamInteger = 6,
  kParamMetrical = 7,
};

constexpr int kNumBeatValues = 15;
// Display names of the note values, five characters each.
extern const char* const beatTimeStr[kNumBeatValues];
// Length of each note value in quarter-note beats.
extern const float gBeatMults[kNumBeatValues];

class mf_paramManager {
 public:
  mf_paramManager();
  virtual ~mf_paramManager();

  mf_paramManager(const mf_paramManager&) = delete;
  mf_paramManager& operator=(const mf_paramManager&) = delete;

  virtual void newParameter(long id, const char* name, const char* shortName, const char* unitsName,
                            float minimum, float maximum, float defaultValue, mf_paramTypes type);
  virtual float getVSTvalue(long id);
  virtual void setVSTvalue(long id, float value);
  virtual float getNaturalValue(long id);
  virtual void setNaturalValue(long id, float value);
  virtual float getDSPValue(long id);
  virtual float getDefaultValue(long id);
  virtual float getMinimumValue(long id);
  virtual float getMaximumValue(long id);
  virtual mf_paramTypes getType(long id);
  // Short name for lengths up to 8, long name above; cut to length.
  virtual void getName(long id, char* destination, int length);
  // The long name as an owned copy.
  virtual std::string getName(long id);
  virtual void getUnitsName(long id, char* destination, int length);
  virtual void getValueString(long id, char* destination, int length);
  // Writes at most 9 bytes.
  virtual void getVSTvalueString(long id, char* destination);
  virtual float VSTvalueFromNaturalValue(long id, float naturalValue);
  virtual float naturalValueFromVSTvalue(long id, float vstValue);
  virtual float dspValueFromNaturalValue(long id, float naturalValue);
  virtual void bindMIDICC(long id, short controller);
  virtual void unbindMIDICC(long id);
  virtual void handleMIDICC(short controller, short value);
  virtual long getParameterCount();
  virtual void floatToTimeStr(char* destination, float ms, int length);

 protected:
  // Copies at most length characters of text, zero-fills the rest and puts a
  // zero at position length: exactly length + 1 bytes are written. Nothing is
  // written for a null destination or a negative length.
  static void copyText(char* destination, const char* text, int length);

  std::map<long, std::atomic<float>> vstValues;
  std::map<long, std::atomic<float>> naturalValues;
  std::map<long, float> minimumValues;
  std::map<long, float> maximumValues;
  std::map<long, float> defaultValues;
  std::map<long, std::string> names;
  std::map<long, std::string> shortNames;
  std::map<long, std::string> unitsNames;
  std::map<long, mf_paramTypes> types;
  std::map<long, _table_struct> tables;

 private:
  float lookupRange(const std::map<long, float>& values, long id) const;
  const _table_struct* findTable(long id) const;
  static const std::string& lookupText(const std::map<long, std::string>& texts, long id);
};
