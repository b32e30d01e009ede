#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "params/mf_param_manager.h"

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();

// Ids chosen to be sparse and out of declaration order on purpose.
enum : long {
  kOnOff = 10,
  kInteger = 11,
  kLinear = 12,
  kPercent = 13,
  kMetrical = 14,
  kUnassigned = 15,
  kExponential = 16,
  kDecibel = 17,
  kNeverDeclared = 99,
};

class Registry : public ::testing::Test {
 protected:
  Registry() {
    params.newParameter(kOnOff, "Switch Long", "Switch", "", 0.0f, 1.0f, 0.0f, kParamOnOff);
    params.newParameter(kInteger, "Integer", "Int", "", 0.0f, 1.0f, 0.0f, kParamInteger);
    params.newParameter(kLinear, "Delay Time", "Delay", "ms", 4.0f, 150.0f, 10.0f, kParamLinear);
    params.newParameter(kPercent, "Wet Percent", "Wet", "%", 0.0f, 60.0f, 0.0f, kParamPercent);
    params.newParameter(kMetrical, "Note Value", "Note", "", 0.0f, 14.0f, 8.0f, kParamMetrical);
    params.newParameter(kUnassigned, "Plain", "Plain", "", -10.0f, 10.0f, 0.0f, static_cast<mf_paramTypes>(3));
    params.newParameter(kExponential, "Cutoff Frequency", "Cutoff", "Hz", 20.0f, 20000.0f, 632.0f, kParamExponential);
    params.newParameter(kDecibel, "Output Level", "Level", "dB", -96.0f, 12.0f, 0.0f, kParamDecibel);
  }

  std::string valueString(long id, int length = 8) {
    char text[64];
    std::memset(text, 'x', sizeof text);
    params.getValueString(id, text, length);
    EXPECT_EQ(text[length], '\0');
    EXPECT_EQ(text[length + 1], 'x') << "wrote past length + 1";
    return text;
  }

  mf_paramManager params;
};

struct HostCase {
  long id;
  float host;
  float natural;
  const char* display;
};

TEST_F(Registry, HostValueToNaturalAndDisplayPerType) {
  const HostCase cases[] = {
      {kOnOff, 0.5f, 0.0f, "Off"},
      {kOnOff, 0.5001f, 1.0f, "On"},
      {kOnOff, -3.0f, 0.0f, "Off"},
      {kInteger, 0.49f, 0.0f, "   0"},
      {kInteger, 0.5f, 1.0f, "   1"},
      {kInteger, 3.0f, 3.0f, "   3"},  // no clamping of host values
      {kLinear, 0.0f, 4.0f, "   4"},
      {kLinear, 1.0f, 150.0f, " 150"},
      {kLinear, 2.0f, 296.0f, " 296"},  // extrapolates
      {kPercent, 0.5f, 30.0f, "  30"},
      {kMetrical, 1.0f, 14.0f, "1/1  "},
      {kMetrical, 0.0f, 0.0f, "1/32 "},
      // The display index uses 15 x host value, the note value 0.99 x 15.
      {kMetrical, 0.4f, 5.0f, "1/4 T"},
      {kUnassigned, 0.75f, 5.0f, "   5"},
      {kExponential, 1.0f, 20000.0f, "20000"},
      {kExponential, 0.0f, 20.0f, "  20"},
      {kExponential, 7.0f, 20000.0f, "20000"},  // the table position is held at 1
      {kExponential, -2.0f, 20.0f, "  20"},
      {kDecibel, 1.0f, 12.0f, "  12"},
      {kDecibel, 0.0f, -96.0f, " -96"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "id " << c.id << " host " << c.host);
    params.setVSTvalue(c.id, c.host);
    EXPECT_EQ(params.getVSTvalue(c.id), c.host);  // stored unchanged
    EXPECT_EQ(params.getNaturalValue(c.id), c.natural);
    EXPECT_EQ(valueString(c.id), c.display);
  }
}

TEST_F(Registry, ExponentialAndDecibelFollowTheirCurves) {
  params.setVSTvalue(kExponential, 0.5f);
  EXPECT_EQ(params.getNaturalValue(kExponential), 632.459106f);
  params.setVSTvalue(kExponential, 0.03f);
  EXPECT_EQ(params.getNaturalValue(kExponential), 24.6054935f);
  params.setVSTvalue(kDecibel, 0.5f);
  EXPECT_EQ(params.getNaturalValue(kDecibel), -1.00111997f);
}

struct NaturalCase {
  long id;
  float natural;
  float host;
  float dsp;
};

TEST_F(Registry, NaturalValueToHostAndDspPerType) {
  const NaturalCase cases[] = {
      {kLinear, 77.73f, (77.73f - 4.0f) / 146.0f, 77.73f},
      {kLinear, 200.0f, 1.0f, 150.0f},
      {kLinear, -5.0f, 0.0f, 4.0f},
      // 0.01 applied in double: a single-precision product gives 0.29999998.
      {kPercent, 30.0f, 0.5f, 0.3f},
      {kPercent, 90.0f, 1.0f, 0.6f},
      {kOnOff, 1.0f, 1.0f, 1.0f},
      {kOnOff, 5.0f, 1.0f, 1.0f},
      {kInteger, 1.0f, 1.0f, 1.0f},
      {kMetrical, 14.0f, 14.0f / 15.0f, 4.0f},
      {kMetrical, 5.0f, 5.0f / 15.0f, 0.5f},
      {kMetrical, 1.0f, 1.0f / 15.0f, 1.0f / 6.0f},
      {kMetrical, 40.0f, 1.0f, 4.0f},
      {kUnassigned, 5.0f, 0.75f, 5.0f},
      {kExponential, 2000.0f, 0.666666687f, 2000.0f},
      {kExponential, 1e6f, 1.0f, 20000.0f},
      {kDecibel, 0.0f, 0.527597725f, 1.0f},
      {kDecibel, -6.0f, 0.38189438f, 0.501187205f},
      {kDecibel, 12.0f, 1.0f, 3.98107195f},  // the closed form overshoots 1 and is limited
      {kDecibel, 100.0f, 1.0f, 3.98107195f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "id " << c.id << " natural " << c.natural);
    EXPECT_EQ(params.VSTvalueFromNaturalValue(c.id, c.natural), c.host);
    EXPECT_EQ(params.dspValueFromNaturalValue(c.id, c.natural), c.dsp);
    params.setNaturalValue(c.id, c.natural);
    EXPECT_EQ(params.getNaturalValue(c.id), c.natural);  // stored unchanged
    EXPECT_EQ(params.getVSTvalue(c.id), c.host);
    EXPECT_EQ(params.getDSPValue(c.id), c.dsp);
  }
}

TEST_F(Registry, LinearDefaultOfTheDelayKnob) {
  EXPECT_NEAR(params.VSTvalueFromNaturalValue(kLinear, 77.73f), 0.505f, 1e-6f);
}

TEST_F(Registry, CurvedParametersRoundTrip) {
  for (float natural : {25.0f, 100.0f, 632.0f, 5000.0f, 19000.0f}) {
    params.setNaturalValue(kExponential, natural);
    const float back = params.naturalValueFromVSTvalue(kExponential, params.getVSTvalue(kExponential));
    EXPECT_NEAR(back, natural, natural * 1e-4f) << natural;
  }
  for (float natural : {-60.0f, -24.0f, -6.0f, 0.0f, 6.0f}) {
    params.setNaturalValue(kDecibel, natural);
    const float back = params.naturalValueFromVSTvalue(kDecibel, params.getVSTvalue(kDecibel));
    EXPECT_NEAR(back, natural, 0.05f) << natural;
  }
}

TEST_F(Registry, DeclarationStartsAtTheDefault) {
  EXPECT_EQ(params.getParameterCount(), 8);
  EXPECT_EQ(params.getNaturalValue(kLinear), 10.0f);
  EXPECT_EQ(params.getVSTvalue(kLinear), 6.0f / 146.0f);
  EXPECT_EQ(params.getNaturalValue(kMetrical), 8.0f);
  EXPECT_EQ(params.getVSTvalue(kMetrical), 8.0f / 15.0f);
  EXPECT_EQ(params.getDSPValue(kMetrical), 1.0f);
  EXPECT_EQ(params.getDefaultValue(kExponential), 632.0f);
  EXPECT_EQ(params.getMinimumValue(kDecibel), -96.0f);
  EXPECT_EQ(params.getMaximumValue(kDecibel), 12.0f);
  EXPECT_EQ(params.getType(kMetrical), kParamMetrical);
  EXPECT_EQ(params.getType(kUnassigned), static_cast<mf_paramTypes>(3));
}

TEST_F(Registry, RedeclarationReplacesEverythingAndTheCurve) {
  params.setVSTvalue(kExponential, 1.0f);
  params.newParameter(kExponential, "Tone", "Tone", "Hz", 100.0f, 1000.0f, 300.0f, kParamExponential);
  EXPECT_EQ(params.getParameterCount(), 8);
  EXPECT_EQ(params.getNaturalValue(kExponential), 300.0f);
  EXPECT_EQ(params.getName(kExponential), "Tone");
  params.setVSTvalue(kExponential, 1.0f);
  EXPECT_EQ(params.getNaturalValue(kExponential), 1000.0f);
  params.setVSTvalue(kExponential, 0.0f);
  EXPECT_EQ(params.getNaturalValue(kExponential), 100.0f);

  // From curve to straight line and back: no stale curve survives.
  params.newParameter(kExponential, "Tone", "Tone", "", 0.0f, 10.0f, 2.0f, kParamLinear);
  params.setVSTvalue(kExponential, 0.5f);
  EXPECT_EQ(params.getNaturalValue(kExponential), 5.0f);
  params.newParameter(kExponential, "Level", "Level", "dB", -60.0f, 0.0f, -6.0f, kParamDecibel);
  EXPECT_EQ(params.getNaturalValue(kExponential), -6.0f);
  params.setVSTvalue(kExponential, 0.0f);
  EXPECT_EQ(params.getNaturalValue(kExponential), -60.0f);
}

TEST_F(Registry, NeverDeclaredIdReadsAsZeroAndStaysUndeclared) {
  const long count = params.getParameterCount();
  params.setVSTvalue(kNeverDeclared, 0.7f);
  params.setNaturalValue(kNeverDeclared, 3.0f);
  EXPECT_EQ(params.getVSTvalue(kNeverDeclared), 0.0f);
  EXPECT_EQ(params.getNaturalValue(kNeverDeclared), 0.0f);
  EXPECT_EQ(params.getDSPValue(kNeverDeclared), 0.0f);
  EXPECT_EQ(params.getDefaultValue(kNeverDeclared), 0.0f);
  EXPECT_EQ(params.getMinimumValue(kNeverDeclared), 0.0f);
  EXPECT_EQ(params.getMaximumValue(kNeverDeclared), 0.0f);
  EXPECT_EQ(params.getType(kNeverDeclared), kParamLinear);
  EXPECT_EQ(params.getName(kNeverDeclared), "");
  char text[16];
  std::memset(text, 'x', sizeof text);
  params.getName(kNeverDeclared, text, 8);
  EXPECT_STREQ(text, "");
  params.getUnitsName(kNeverDeclared, text, 8);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(valueString(kNeverDeclared), "   0");
  params.getVSTvalueString(kNeverDeclared, text);
  EXPECT_STREQ(text, "0.000000");
  EXPECT_EQ(params.getParameterCount(), count);
}

TEST_F(Registry, NameLengthPicksShortOrLongAndCuts) {
  const struct {
    long id;
    int length;
    const char* text;
  } cases[] = {
      {kLinear, 8, "Delay"},
      {kLinear, 9, "Delay Tim"},
      {kLinear, 40, "Delay Time"},
      {kExponential, 9, "Cutoff Fr"},
      {kExponential, 3, "Cut"},
      {kExponential, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << " " << c.length);
    char text[64];
    std::memset(text, 'x', sizeof text);
    params.getName(c.id, text, c.length);
    EXPECT_STREQ(text, c.text);
    EXPECT_EQ(text[c.length], '\0');
    EXPECT_EQ(text[c.length + 1], 'x');
    for (int i = static_cast<int>(std::strlen(c.text)); i < c.length; ++i) EXPECT_EQ(text[i], '\0') << i;
  }
  EXPECT_EQ(params.getName(kExponential), "Cutoff Frequency");
}

TEST_F(Registry, UnitsTextIsCutLikeNames) {
  char text[8];
  std::memset(text, 'x', sizeof text);
  params.getUnitsName(kExponential, text, 1);
  EXPECT_STREQ(text, "H");
  EXPECT_EQ(text[2], 'x');
  params.getUnitsName(kExponential, text, 6);
  EXPECT_STREQ(text, "Hz");
}

TEST_F(Registry, TextOperationsTolerateBadDestinations) {
  char text[4];
  std::memset(text, 'x', sizeof text);
  params.getName(kLinear, text, -1);
  params.getValueString(kLinear, text, -5);
  params.getUnitsName(kLinear, text, -1);
  params.floatToTimeStr(text, 5.0f, -1);
  EXPECT_EQ(std::string(text, sizeof text), "xxxx");
  params.getName(kLinear, nullptr, 8);
  params.getName(kLinear, nullptr, 9);
  params.getUnitsName(kLinear, nullptr, 8);
  params.getValueString(kLinear, nullptr, 8);
  params.getVSTvalueString(kLinear, nullptr);
  params.floatToTimeStr(nullptr, 5.0f, 8);
}

TEST_F(Registry, LongDisplaysAreCutSafely) {
  params.setNaturalValue(kLinear, 1e30f);
  EXPECT_EQ(valueString(kLinear, 8), "10000000");
  params.setNaturalValue(kLinear, -std::numeric_limits<float>::max());
  EXPECT_EQ(valueString(kLinear, 4), "-340");

  params.setVSTvalue(kLinear, 1e30f);
  char text[16];
  std::memset(text, 'x', sizeof text);
  params.getVSTvalueString(kLinear, text);
  EXPECT_STREQ(text, "10000000");
  EXPECT_EQ(text[9], 'x');
  params.setVSTvalue(kLinear, 0.505f);
  params.getVSTvalueString(kLinear, text);
  EXPECT_STREQ(text, "0.505000");
}

TEST_F(Registry, NaNValuesStayHarmless) {
  for (long id : {kOnOff, kInteger, kLinear, kPercent, kMetrical, kUnassigned, kExponential, kDecibel}) {
    SCOPED_TRACE(id);
    params.setVSTvalue(id, kNaN);
    const std::string shown = valueString(id);
    EXPECT_LE(shown.size(), 8u);
    params.getDSPValue(id);
    params.setNaturalValue(id, kNaN);
    const float host = params.getVSTvalue(id);
    EXPECT_TRUE(host >= 0.0f && host <= 1.0f) << host;  // host values stay within 0..1
    valueString(id);
    params.getDSPValue(id);
  }
  params.setVSTvalue(kInteger, kNaN);
  EXPECT_EQ(valueString(kInteger), "   0");
  params.setVSTvalue(kMetrical, kNaN);
  EXPECT_EQ(valueString(kMetrical), "1/32 ");
  params.setVSTvalue(kExponential, kNaN);
  EXPECT_EQ(params.getNaturalValue(kExponential), 20.0f);
  params.setNaturalValue(kMetrical, kNaN);
  EXPECT_EQ(params.getDSPValue(kMetrical), 0.125f);
  params.setVSTvalue(kInteger, 1e30f);
  EXPECT_EQ(valueString(kInteger), "21474836");
}

TEST(RegistryTime, MillisecondsOrSeconds) {
  mf_paramManager params;
  const struct {
    float ms;
    int length;
    const char* text;
  } cases[] = {
      {1500.0f, 8, "1.500"},
      {1000.0f, 8, "1000"},
      {5.0f, 8, "  5"},
      {1000.5f, 8, "1.001"},  // seconds as soon as it passes 1000
      {1500.0f, 3, "1.5"},
      {1e30f, 6, "100000"},
  };
  for (const auto& c : cases) {
    char text[64];
    std::memset(text, 'x', sizeof text);
    params.floatToTimeStr(text, c.ms, c.length);
    EXPECT_STREQ(text, c.text) << c.ms;
    EXPECT_EQ(text[c.length + 1], 'x');
  }
}

TEST(RegistryNotes, BeatTables) {
  for (int i = 0; i < kNumBeatValues; ++i) EXPECT_EQ(std::strlen(beatTimeStr[i]), 5u) << i;
  EXPECT_STREQ(beatTimeStr[6], "1/4 T");
  EXPECT_EQ(gBeatMults[1], 1.0f / 6.0f);
  EXPECT_EQ(gBeatMults[8], 1.0f);
  EXPECT_EQ(gBeatMults[12], 8.0f / 3.0f);
  for (int i = 1; i < kNumBeatValues; ++i) EXPECT_GT(gBeatMults[i], gBeatMults[i - 1]) << i;
}

// The stored values flow through the virtual conversions, so a derived set can
// change a curve without touching the setters.
class DoublingParams : public mf_paramManager {
 public:
  float naturalValueFromVSTvalue(long id, float v) override { return 2.0f * v; }
  float VSTvalueFromNaturalValue(long id, float n) override { return n / 4.0f; }
};

TEST(RegistryVirtuals, SettersConvertThroughOverrides) {
  DoublingParams params;
  params.newParameter(0, "A", "A", "", 0.0f, 100.0f, 2.0f, kParamLinear);
  EXPECT_EQ(params.getVSTvalue(0), 0.5f);  // the default went through the override
  params.setVSTvalue(0, 3.0f);
  EXPECT_EQ(params.getNaturalValue(0), 6.0f);
  params.setNaturalValue(0, 8.0f);
  EXPECT_EQ(params.getVSTvalue(0), 2.0f);
}

TEST(RegistryVirtuals, MidiHooksDoNothing) {
  mf_paramManager params;
  params.newParameter(0, "A", "A", "", 0.0f, 1.0f, 0.25f, kParamLinear);
  params.bindMIDICC(0, 7);
  params.handleMIDICC(7, 127);
  params.unbindMIDICC(0);
  EXPECT_EQ(params.getVSTvalue(0), 0.25f);
  EXPECT_EQ(params.getParameterCount(), 1);
}

}  // namespace
