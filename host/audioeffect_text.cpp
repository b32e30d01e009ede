// Value-to-text helpers for parameter displays. Every text is built whole in
// a local buffer first and then cut to the caller's length, so a short
// buffer keeps the leading (most meaningful) characters and is never overrun.
#include <cmath>
#include <cstring>

#include "host/audioeffect.h"

namespace {

// Longest text built here: "-" + 9 digits, or 9 characters with the point.
constexpr int kScratchLen = 24;

void putText(const char* full, char* text, VstInt32 maxLen) {
  if (!text || maxLen < 0) return;
  size_t length = std::strlen(full);
  if (length > static_cast<size_t>(maxLen)) length = static_cast<size_t>(maxLen);
  std::memcpy(text, full, length);
  text[length] = 0;
}

char digitOf(double x) { return static_cast<char>('0' + static_cast<int>(std::fmod(x, 10.0))); }

// Fixed eight-character layout with the point always shown. All integer
// digits are kept (up to eight positive, seven negative); the fraction fills
// what is left of the eight characters.
void formatFloat(float value, char* out) {
  double v = value;
  if (std::isnan(v)) {
    std::strcpy(out, "NaN");
    return;
  }
  bool negative = false;
  if (v >= 0.0) {
    if (v > 99999999.0) {
      std::strcpy(out, "Huge!");
      return;
    }
  } else {
    v = -v;
    if (v > 9999999.0) {
      std::strcpy(out, "Huge!");
      return;
    }
    negative = true;
  }

  // Integer digits, gathered last to first.
  char digits[12];
  int numDigits = 0;
  double integ = std::floor(v);
  digits[numDigits++] = digitOf(integ);
  for (integ /= 10.0; integ >= 1.0 && numDigits < 9; integ /= 10.0)
    digits[numDigits++] = digitOf(integ);

  int length = 0;
  if (negative) out[length++] = '-';
  while (numDigits > 0) out[length++] = digits[--numDigits];
  out[length++] = '.';

  // length now counts sign, digits and point: what is left of eight goes to
  // the fraction.
  if (length <= 7) {
    static const double kPowersOfTen[] = {1.0, 10.0, 100.0, 1000.0, 10000.0, 100000.0, 1000000.0};
    int fractionDigits = 8 - length;
    double mantissa = std::fmod(v, 1.0) * kPowersOfTen[fractionDigits];
    for (int i = fractionDigits - 1; i >= 0; --i) {
      out[length + i] = mantissa <= 0.0 ? '0' : digitOf(mantissa);
      mantissa /= 10.0;
    }
    length += fractionDigits;
  }
  out[length] = 0;
}

// Digits without leading zeros; magnitudes up to nine digits.
void formatInt(VstInt32 value, char* out) {
  long long v = value;
  if (v > 99999999 || v < -999999999) {
    std::strcpy(out, "Huge!");
    return;
  }
  int length = 0;
  if (v < 0) {
    out[length++] = '-';
    v = -v;
  }
  bool started = false;
  for (long long divisor = 100000000; divisor >= 1; divisor /= 10) {
    long long digit = v / divisor;
    v %= divisor;
    if (digit != 0) started = true;
    if (started) out[length++] = static_cast<char>('0' + digit);
  }
  out[length] = 0;
}

}  // namespace

void AudioEffect::dB2string(float value, char* text, VstInt32 maxLen) {
  if (value > 0.0f)
    float2string(static_cast<float>(20.0 * std::log10(static_cast<double>(value))), text, maxLen);
  else
    putText("-oo", text, maxLen);
}

void AudioEffect::Hz2string(float samples, char* text, VstInt32 maxLen) {
  if (samples == 0.0f)
    float2string(0.0f, text, maxLen);
  else
    float2string(getSampleRate() / samples, text, maxLen);
}

void AudioEffect::ms2string(float samples, char* text, VstInt32 maxLen) {
  float2string(static_cast<float>(static_cast<double>(samples) * 1000.0 /
                                  static_cast<double>(getSampleRate())),
               text, maxLen);
}

void AudioEffect::float2string(float value, char* text, VstInt32 maxLen) {
  char full[kScratchLen];
  formatFloat(value, full);
  putText(full, text, maxLen);
}

void AudioEffect::int2string(VstInt32 value, char* text, VstInt32 maxLen) {
  char full[kScratchLen];
  formatInt(value, full);
  putText(full, text, maxLen);
}
