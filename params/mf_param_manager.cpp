#include "params/mf_param_manager.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "dsp/qmx.h"

const char* const beatTimeStr[kNumBeatValues] = {
    "1/32 ", "1/16T", "1/16 ", "1/8 T", "1/16.", "1/8  ", "1/4 T", "1/8. ",
    "1/4  ", "1/2 T", "1/4 .", "1/2  ", "1/1 T", "1/2 .", "1/1  ",
};

const float gBeatMults[kNumBeatValues] = {
    0.125f, 1.0f / 6.0f, 0.25f, 1.0f / 3.0f, 0.375f, 0.5f, 2.0f / 3.0f, 0.75f,
    1.0f, 4.0f / 3.0f, 1.5f, 2.0f, 8.0f / 3.0f, 3.0f, 4.0f,
};

namespace {

constexpr int kTableEntries = 1024;
// Room for any "%f"-style text of a float (the widest is about 50 characters).
constexpr size_t kTextBuffer = 64;

int beatIndex(float position) {
  const int32_t index = qmx_truncate_to_int(position);
  if (index < 0) return 0;
  if (index > kNumBeatValues - 1) return kNumBeatValues - 1;
  return index;
}

float limitUnit(float value) {
  // NaN has no place among host values; it reads as the bottom of the range.
  if (std::isnan(value)) return 0.0f;
  if (value > 1.0f) return 1.0f;
  if (value < 0.0f) return 0.0f;
  return value;
}

}  // namespace

mf_paramManager::mf_paramManager() = default;

mf_paramManager::~mf_paramManager() {
  for (auto& entry : tables) table_free(&entry.second);
}

void mf_paramManager::copyText(char* destination, const char* text, int length) {
  if (destination == nullptr || length < 0) return;
  if (text == nullptr) text = "";
  int i = 0;
  for (; i < length && text[i] != '\0'; ++i) destination[i] = text[i];
  std::memset(destination + i, 0, static_cast<size_t>(length - i) + 1);
}

float mf_paramManager::lookupRange(const std::map<long, float>& values, long id) const {
  const auto it = values.find(id);
  return it == values.end() ? 0.0f : it->second;
}

const std::string& mf_paramManager::lookupText(const std::map<long, std::string>& texts, long id) {
  static const std::string empty;
  const auto it = texts.find(id);
  return it == texts.end() ? empty : it->second;
}

const _table_struct* mf_paramManager::findTable(long id) const {
  const auto it = tables.find(id);
  return it == tables.end() ? nullptr : &it->second;
}

void mf_paramManager::newParameter(long id, const char* name, const char* shortName, const char* unitsName,
                                   float minimum, float maximum, float defaultValue, mf_paramTypes type) {
  names[id] = name ? name : "";
  shortNames[id] = shortName ? shortName : "";
  unitsNames[id] = unitsName ? unitsName : "";
  minimumValues[id] = minimum;
  maximumValues[id] = maximum;
  defaultValues[id] = defaultValue;
  types[id] = type;

  // A re-declared parameter gets a fresh curve (or none); the old one must not leak.
  if (const auto old = tables.find(id); old != tables.end()) {
    table_free(&old->second);
    tables.erase(old);
  }
  if (type == kParamExponential || type == kParamDecibel) {
    _table_struct table{};
    table_init(&table, kTableEntries);
    table_fill(&table, type == kParamExponential ? TABLE_EXPONENTIAL : TABLE_DECIBEL, minimum, maximum);
    tables[id] = table;
  }

  // The value entries are created here and only here, so later calls from any
  // thread merely overwrite them.
  vstValues.try_emplace(id, 0.0f);
  naturalValues.try_emplace(id, 0.0f);
  setNaturalValue(id, defaultValue);
}

float mf_paramManager::getVSTvalue(long id) {
  const auto it = vstValues.find(id);
  return it == vstValues.end() ? 0.0f : it->second.load(std::memory_order_relaxed);
}

void mf_paramManager::setVSTvalue(long id, float value) {
  const auto vst = vstValues.find(id);
  const auto natural = naturalValues.find(id);
  if (vst == vstValues.end() || natural == naturalValues.end()) return;
  vst->second.store(value, std::memory_order_relaxed);
  natural->second.store(naturalValueFromVSTvalue(id, value), std::memory_order_relaxed);
}

float mf_paramManager::getNaturalValue(long id) {
  const auto it = naturalValues.find(id);
  return it == naturalValues.end() ? 0.0f : it->second.load(std::memory_order_relaxed);
}

void mf_paramManager::setNaturalValue(long id, float value) {
  const auto vst = vstValues.find(id);
  const auto natural = naturalValues.find(id);
  if (vst == vstValues.end() || natural == naturalValues.end()) return;
  natural->second.store(value, std::memory_order_relaxed);
  vst->second.store(VSTvalueFromNaturalValue(id, value), std::memory_order_relaxed);
}

float mf_paramManager::getDSPValue(long id) { return dspValueFromNaturalValue(id, getNaturalValue(id)); }

float mf_paramManager::getDefaultValue(long id) { return lookupRange(defaultValues, id); }

float mf_paramManager::getMinimumValue(long id) { return lookupRange(minimumValues, id); }

float mf_paramManager::getMaximumValue(long id) { return lookupRange(maximumValues, id); }

mf_paramTypes mf_paramManager::getType(long id) {
  const auto it = types.find(id);
  return it == types.end() ? kParamLinear : it->second;
}

void mf_paramManager::getName(long id, char* destination, int length) {
  const std::string& text = lookupText(length > 8 ? names : shortNames, id);
  copyText(destination, text.c_str(), length);
}

std::string mf_paramManager::getName(long id) { return lookupText(names, id); }

void mf_paramManager::getUnitsName(long id, char* destination, int length) {
  copyText(destination, lookupText(unitsNames, id).c_str(), length);
}

void mf_paramManager::getValueString(long id, char* destination, int length) {
  char text[kTextBuffer];
  const float natural = getNaturalValue(id);
  switch (getType(id)) {
    case kParamInteger:
      std::snprintf(text, sizeof text, "%4d", static_cast<int>(qmx_truncate_to_int(natural)));
      break;
    case kParamMetrical:
      // The display index comes from the host value without the 0.99 factor,
      // so it can sit one step above the note value in use.
      std::snprintf(text, sizeof text, "%s", beatTimeStr[beatIndex(15.0f * getVSTvalue(id))]);
      break;
    case kParamOnOff:
      std::snprintf(text, sizeof text, "%s", natural > 0.5f ? "On" : "Off");
      break;
    default:
      std::snprintf(text, sizeof text, "%4.0f", static_cast<double>(natural));
      break;
  }
  copyText(destination, text, length);
}

void mf_paramManager::getVSTvalueString(long id, char* destination) {
  char text[kTextBuffer];
  std::snprintf(text, sizeof text, "%f", static_cast<double>(getVSTvalue(id)));
  copyText(destination, text, 8);
}

float mf_paramManager::VSTvalueFromNaturalValue(long id, float naturalValue) {
  const float minimum = lookupRange(minimumValues, id);
  const float maximum = lookupRange(maximumValues, id);
  float vst;
  switch (getType(id)) {
    case kParamOnOff:
      vst = naturalValue;
      break;
    case kParamExponential:
      vst = table_inverse_calculate(TABLE_EXPONENTIAL, naturalValue, minimum, maximum);
      break;
    case kParamDecibel:
      vst = table_inverse_calculate(TABLE_DECIBEL, naturalValue, minimum, maximum);
      break;
    case kParamMetrical:
      vst = naturalValue / 15.0f;
      break;
    default:  // linear, percent, integer and the unassigned 3
      vst = (naturalValue - minimum) / (maximum - minimum);
      break;
  }
  return limitUnit(vst);
}

float mf_paramManager::naturalValueFromVSTvalue(long id, float vstValue) {
  const float minimum = lookupRange(minimumValues, id);
  const float maximum = lookupRange(maximumValues, id);
  switch (getType(id)) {
    case kParamOnOff:
      return vstValue > 0.5f ? 1.0f : 0.0f;
    case kParamExponential:
    case kParamDecibel: {
      float position = vstValue;
      if (position > 1.0f) position = 1.0f;
      if (position < 0.0f) position = 0.0f;
      const _table_struct* table = findTable(id);
      if (table == nullptr) return 0.0f;
      // Read through a copy: the lookup records its result in the record, and
      // the shared table must stay untouched by concurrent callers.
      _table_struct reader = *table;
      return table_lookup(&reader, position);
    }
    case kParamInteger:
      // trunc() gives the toward-zero whole number without an integer round
      // trip, so NaN and huge values stay defined.
      return std::trunc(minimum + (maximum - minimum) * vstValue + 0.5f);
    case kParamMetrical:
      return std::trunc((vstValue * 0.99f) * 15.0f);
    default:  // linear, percent and the unassigned 3
      return minimum + (maximum - minimum) * vstValue;
  }
}

float mf_paramManager::dspValueFromNaturalValue(long id, float naturalValue) {
  const float minimum = lookupRange(minimumValues, id);
  const float maximum = lookupRange(maximumValues, id);
  float n = naturalValue;
  if (n > maximum) n = maximum;
  if (n < minimum) n = minimum;
  switch (getType(id)) {
    case kParamPercent:
      return static_cast<float>(static_cast<double>(n) * 0.01);
    case kParamDecibel:
      return qmx_utilities_decibels2amplitude(n);
    case kParamMetrical:
      return gBeatMults[beatIndex(n)];
    default:
      return n;
  }
}

void mf_paramManager::bindMIDICC(long id, short controller) {}

void mf_paramManager::unbindMIDICC(long id) {}

void mf_paramManager::handleMIDICC(short controller, short value) {}

long mf_paramManager::getParameterCount() { return static_cast<long>(vstValues.size()); }

void mf_paramManager::floatToTimeStr(char* destination, float ms, int length) {
  char text[kTextBuffer];
  if (ms > 1000.0f) {
    std::snprintf(text, sizeof text, "%4.3f", static_cast<double>(ms * 0.001f));
  } else {
    std::snprintf(text, sizeof text, "%3.0f", static_cast<double>(ms));
  }
  copyText(destination, text, length);
}
