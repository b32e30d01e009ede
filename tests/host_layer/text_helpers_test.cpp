// Value-to-text helpers: the eight-character layout, the limits, and the
// promise never to write beyond maxLen characters plus a terminator.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "host_layer_support.h"

using namespace hostlayer;

namespace {

enum class Helper { floatText, intText, dB, Hz, ms };

struct TextCase {
  Helper helper;
  double value;
  float sampleRate;
  VstInt32 maxLen;
  const char* expected;
};

const float kInf = std::numeric_limits<float>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

const TextCase kTextCases[] = {
    // float2string: eight characters, point always shown
    {Helper::floatText, 1.5, 44100, 8, "1.500000"},
    {Helper::floatText, 123.25, 44100, 8, "123.2500"},
    {Helper::floatText, -1.5, 44100, 8, "-1.50000"},
    {Helper::floatText, 0.0, 44100, 8, "0.000000"},
    {Helper::floatText, -0.0, 44100, 8, "0.000000"},
    {Helper::floatText, 0.25, 44100, 8, "0.250000"},
    {Helper::floatText, 0.7, 44100, 8, "0.699999"},  // fraction digits are truncated
    {Helper::floatText, 99.999, 44100, 8, "99.99900"},
    {Helper::floatText, 123456.5, 44100, 8, "123456.5"},
    {Helper::floatText, 1234567.0, 44100, 8, "1234567."},
    {Helper::floatText, -12345.5, 44100, 8, "-12345.5"},
    {Helper::floatText, -123456.0, 44100, 8, "-123456."},
    {Helper::floatText, 1.5, 44100, 3, "1.5"},
    {Helper::floatText, 1.5, 44100, 0, ""},
    {Helper::floatText, 1.5, 44100, 20, "1.500000"},
    // every integer digit is kept up to the limits
    {Helper::floatText, 12345678.0, 44100, 16, "12345678."},
    {Helper::floatText, 10000000.0, 44100, 16, "10000000."},
    {Helper::floatText, 99999992.0, 44100, 16, "99999992."},
    {Helper::floatText, 12345678.0, 44100, 8, "12345678"},
    {Helper::floatText, -1234567.0, 44100, 16, "-1234567."},
    {Helper::floatText, -9999999.0, 44100, 16, "-9999999."},
    {Helper::floatText, 100000000.0, 44100, 16, "Huge!"},
    {Helper::floatText, -10000000.0, 44100, 16, "Huge!"},
    {Helper::floatText, 1e30, 44100, 16, "Huge!"},
    {Helper::floatText, kInf, 44100, 16, "Huge!"},
    {Helper::floatText, -kInf, 44100, 16, "Huge!"},
    {Helper::floatText, kNaN, 44100, 16, "NaN"},
    {Helper::floatText, 1e30, 44100, 3, "Hug"},
    // int2string: no leading zeros, nine digits at most
    {Helper::intText, -42, 44100, 8, "-42"},
    {Helper::intText, 7, 44100, 8, "7"},
    {Helper::intText, 1000, 44100, 8, "1000"},
    {Helper::intText, 0, 44100, 8, ""},
    {Helper::intText, 99999999, 44100, 8, "99999999"},
    {Helper::intText, 100000000, 44100, 16, "Huge!"},
    {Helper::intText, -999999999, 44100, 16, "-999999999"},
    {Helper::intText, -100000000, 44100, 16, "-100000000"},
    {Helper::intText, -1000000000, 44100, 16, "Huge!"},
    {Helper::intText, std::numeric_limits<VstInt32>::min(), 44100, 16, "Huge!"},
    {Helper::intText, std::numeric_limits<VstInt32>::max(), 44100, 16, "Huge!"},
    {Helper::intText, 12345, 44100, 3, "123"},
    {Helper::intText, 12345, 44100, 0, ""},
    // dB2string
    {Helper::dB, 1.0, 44100, 8, "0.000000"},
    {Helper::dB, 10.0, 44100, 8, "20.00000"},
    {Helper::dB, 0.5, 44100, 8, "-6.02059"},
    {Helper::dB, 0.0, 44100, 8, "-oo"},
    {Helper::dB, -1.0, 44100, 8, "-oo"},
    {Helper::dB, kNaN, 44100, 8, "-oo"},
    {Helper::dB, kInf, 44100, 8, "Huge!"},
    {Helper::dB, 0.0, 44100, 2, "-o"},
    // Hz2string: sample rate over samples
    {Helper::Hz, 100.0, 44100, 8, "441.0000"},
    {Helper::Hz, 0.0, 44100, 8, "0.000000"},
    {Helper::Hz, 100.0, 0, 8, "0.000000"},
    {Helper::Hz, 1e-30, 44100, 8, "Huge!"},
    {Helper::Hz, kNaN, 44100, 8, "NaN"},
    // ms2string: samples in milliseconds
    {Helper::ms, 441.0, 44100, 8, "10.00000"},
    {Helper::ms, 44100.0, 44100, 8, "1000.000"},
    {Helper::ms, -441.0, 44100, 8, "-10.0000"},
    {Helper::ms, 1.0, 48000, 8, "0.020833"},
    {Helper::ms, 441.0, 0, 8, "Huge!"},
    {Helper::ms, 0.0, 0, 8, "NaN"},
};

void runHelper(PlainEffect& effect, const TextCase& c, char* text, VstInt32 maxLen) {
  effect.setSampleRate(c.sampleRate);
  switch (c.helper) {
    case Helper::floatText:
      effect.float2string(static_cast<float>(c.value), text, maxLen);
      break;
    case Helper::intText:
      effect.int2string(static_cast<VstInt32>(c.value), text, maxLen);
      break;
    case Helper::dB:
      effect.dB2string(static_cast<float>(c.value), text, maxLen);
      break;
    case Helper::Hz:
      effect.Hz2string(static_cast<float>(c.value), text, maxLen);
      break;
    case Helper::ms:
      effect.ms2string(static_cast<float>(c.value), text, maxLen);
      break;
  }
}

TEST(TextHelpers, ProduceTheTextAndNeverWriteBeyondMaxLen) {
  PlainEffect effect;
  for (const TextCase& c : kTextCases) {
    SCOPED_TRACE(::testing::Message() << "helper " << static_cast<int>(c.helper) << " value "
                                      << c.value << " maxLen " << c.maxLen);
    char text[40];
    std::memset(text, '#', sizeof(text));
    runHelper(effect, c, text, c.maxLen);
    EXPECT_STREQ(text, c.expected);
    for (size_t k = static_cast<size_t>(c.maxLen) + 1; k < sizeof(text); ++k)
      ASSERT_EQ(text[k], '#') << "byte " << k;
  }
}

TEST(TextHelpers, NoBufferOrNegativeLengthWritesNothing) {
  PlainEffect effect;
  for (const TextCase& c : kTextCases) {
    SCOPED_TRACE(c.expected);
    runHelper(effect, c, nullptr, 8);
    char text[16];
    std::memset(text, '#', sizeof(text));
    runHelper(effect, c, text, -1);
    runHelper(effect, c, text, std::numeric_limits<VstInt32>::min());
    for (char ch : text) ASSERT_EQ(ch, '#');
  }
}

}  // namespace
