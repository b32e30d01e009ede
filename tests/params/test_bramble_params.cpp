#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "params/bramble_param_manager.h"

namespace {

float fromBits(uint32_t bits) { return std::bit_cast<float>(bits); }

class BrambleParams : public ::testing::Test {
 protected:
  std::string display(long id, int length = 8) {
    char text[32];
    std::memset(text, 'x', sizeof text);
    params.getValueString(id, text, length);
    EXPECT_EQ(text[length], '\0');
    EXPECT_EQ(text[length + 1], 'x') << "wrote past length + 1";
    return text;
  }
  std::string name(long id, int length) {
    char text[32];
    std::memset(text, 'x', sizeof text);
    params.getName(id, text, length);
    EXPECT_EQ(text[length], '\0');
    return text;
  }

  brambleParamManager params;
};

TEST_F(BrambleParams, DeclaresSixParametersWithTheirRanges) {
  EXPECT_EQ(kNumParams, 6);
  EXPECT_EQ(params.getParameterCount(), kNumParams);
  const struct {
    long id;
    float minimum, maximum, defaultValue;
    mf_paramTypes type;
  } rows[] = {
      {kMicLevel, 0.0f, 1.0f, 0.0f, kParamLinear},
      {kDelay, 4.0f, 150.0f, fromBits(0x429B75C2), kParamLinear},
      {kRepeat, 0.0f, fromBits(0x3F333333), fromBits(0x3EDE353F), kParamLinear},
      {kDepth, 0.0f, 60.0f, fromBits(0x41ED9999), kParamPercent},
      {kInputSelector, 0.0f, 1.0f, 0.0f, kParamInteger},
      {kPowerSwitch, 0.0f, 1.0f, 1.0f, kParamInteger},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.id);
    EXPECT_EQ(params.getMinimumValue(row.id), row.minimum);
    EXPECT_EQ(params.getMaximumValue(row.id), row.maximum);
    EXPECT_EQ(params.getDefaultValue(row.id), row.defaultValue);
    EXPECT_EQ(params.getNaturalValue(row.id), row.defaultValue);
    EXPECT_EQ(params.getType(row.id), row.type);
  }
}

TEST_F(BrambleParams, DefaultHostValues) {
  const struct {
    long id;
    float exact;    // (default - minimum) / (maximum - minimum), in single precision
    float decimal;  // the value as published
  } rows[] = {
      {kMicLevel, 0.0f, 0.0f},
      {kDelay, 0.504999995f, 0.505f},
      {kRepeat, 0.620000005f, 0.62f},
      // 29.7 is stored one step below the nearest float, so its host value is
      // one step below 0.495 too.
      {kDepth, 0.494999975f, 0.495f},
      {kInputSelector, 0.0f, 0.0f},
      {kPowerSwitch, 1.0f, 1.0f},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.id);
    EXPECT_EQ(params.getVSTvalue(row.id), row.exact);
    EXPECT_NEAR(params.getVSTvalue(row.id), row.decimal, 1e-7f);
  }
}

TEST_F(BrambleParams, HostValuesMapToTheSignalChainsUnits) {
  const struct {
    long id;
    float host;
    float natural;
    float dsp;
  } cases[] = {
      {kMicLevel, 0.3f, 0.3f, 0.3f},
      {kDelay, 0.5f, 77.0f, 77.0f},
      {kDelay, 1.0f, 150.0f, 150.0f},
      {kRepeat, 1.0f, fromBits(0x3F333333), fromBits(0x3F333333)},
      {kDepth, 0.5f, 30.0f, 0.3f},
      {kInputSelector, 0.49f, 0.0f, 0.0f},
      {kInputSelector, 0.5f, 1.0f, 1.0f},
      {kPowerSwitch, 0.0f, 0.0f, 0.0f},
      {kPowerSwitch, 0.7f, 1.0f, 1.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << " " << c.host);
    params.setVSTvalue(c.id, c.host);
    EXPECT_EQ(params.getNaturalValue(c.id), c.natural);
    EXPECT_EQ(params.getDSPValue(c.id), c.dsp);
  }
}

TEST_F(BrambleParams, NamesAndLabels) {
  const struct {
    long id;
    const char* longName;
    const char* shortName;
  } rows[] = {
      {kMicLevel, "Mic Level", "Mic Lvl"},  {kDelay, "Delay", "Delay"},
      {kRepeat, "Repeat", "Repeat"},        {kDepth, "Depth", "Depth"},
      {kInputSelector, "Input Selector", "Input"}, {kPowerSwitch, "Power Switch", "Power"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.id);
    EXPECT_EQ(name(row.id, 8), row.shortName);
    EXPECT_EQ(name(row.id, 24), row.longName);
    EXPECT_EQ(params.getName(row.id), row.longName);
    char label[16];
    std::memset(label, 'x', sizeof label);
    params.getUnitsName(row.id, label, 8);
    EXPECT_STREQ(label, "");
  }
  EXPECT_EQ(name(kMicLevel, 9), "Mic Level");
  EXPECT_EQ(name(kInputSelector, 9), "Input Sel");
}

TEST_F(BrambleParams, FrontPanelDisplays) {
  const struct {
    long id;
    float host;
    const char* text;
  } cases[] = {
      {kMicLevel, 1.0f, "10.0"},  {kMicLevel, 0.0f, "0.0"},   {kDelay, 0.25f, "2.5"},
      {kRepeat, 1.0f, "10.0"},    {kDepth, 0.25f, "2.5"},     {kDepth, 0.0f, "0.0"},
      {kInputSelector, 0.49f, "Mic"}, {kInputSelector, 0.5f, "Line"},
      {kPowerSwitch, 0.0f, "Off"},    {kPowerSwitch, 1.0f, "On"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << " " << c.host);
    params.setVSTvalue(c.id, c.host);
    EXPECT_EQ(display(c.id), c.text);
  }
}

TEST_F(BrambleParams, DefaultDisplaysShowTheSinglePrecisionProduct) {
  // 0.505 x 10 lands just above 5.05 and 0.495 x 10 just below 4.95.
  EXPECT_EQ(display(kDelay), "5.1");
  EXPECT_EQ(display(kRepeat), "6.2");
  EXPECT_EQ(display(kDepth), "4.9");
  EXPECT_EQ(display(kInputSelector), "Mic");
  EXPECT_EQ(display(kPowerSwitch), "On");
}

TEST_F(BrambleParams, UndeclaredIndicesFallThroughToTheRegistry) {
  EXPECT_EQ(display(6), "   0");
  EXPECT_EQ(display(-1), "   0");
}

TEST_F(BrambleParams, DisplaysAreCutToLength) {
  params.setVSTvalue(kDelay, 1e30f);
  EXPECT_EQ(display(kDelay), "99999998");  // 1e31 as a float starts 9999999848...
  params.setVSTvalue(kDelay, -std::numeric_limits<float>::max());
  EXPECT_EQ(display(kDelay, 3), "-in");
  params.setVSTvalue(kInputSelector, 1.0f);
  EXPECT_EQ(display(kInputSelector, 2), "Li");
  EXPECT_EQ(display(kPowerSwitch, 0), "");
  params.setVSTvalue(kMicLevel, 1.0f);
  EXPECT_EQ(display(kMicLevel, 3), "10.");

  char untouched[4] = {'x', 'x', 'x', 'x'};
  params.getValueString(kMicLevel, untouched, -1);
  EXPECT_EQ(std::string(untouched, 4), "xxxx");
  params.getValueString(kMicLevel, nullptr, 8);
}

TEST_F(BrambleParams, NaNHostValuesDoNotCrash) {
  for (long id = kMicLevel; id < kNumParams; ++id) {
    SCOPED_TRACE(id);
    params.setVSTvalue(id, std::numeric_limits<float>::quiet_NaN());
    EXPECT_LE(display(id).size(), 8u);
    params.getDSPValue(id);
  }
}

}  // namespace
