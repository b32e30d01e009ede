#include "dsp/filter_biquad.h"

#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kLn2 = 0.6931471805599453;
constexpr float kPiSingle = 3.14159265358979f;  // rounds up: just above pi

// Everything set_attr derives from the parameters, worked out aside and
// taken over only when it makes a usable filter.
struct Derived {
  float omega, sin_omega, cos_omega, alpha, beta;
  float den0, den1, den2, num0, num1, num2, inv_den0;
};

Derived derived_of(const _filter_biquad_struct* filter) {
  return {filter->omega, filter->sin_omega, filter->cos_omega, filter->alpha, filter->beta,
          filter->den0,  filter->den1,      filter->den2,      filter->num0,  filter->num1,
          filter->num2,  filter->inv_den0};
}

void take_over(_filter_biquad_struct* filter, const Derived& d) {
  filter->omega = d.omega;
  filter->sin_omega = d.sin_omega;
  filter->cos_omega = d.cos_omega;
  filter->alpha = d.alpha;
  filter->beta = d.beta;
  filter->den0 = d.den0;
  filter->den1 = d.den1;
  filter->den2 = d.den2;
  filter->num0 = d.num0;
  filter->num1 = d.num1;
  filter->num2 = d.num2;
  filter->inv_den0 = d.inv_den0;
}

// Coefficients the recursion can run on: finite as given and once divided
// by den0, as dsp uses them. One NaN or infinity here would turn every
// later output into NaN, even after clear.
bool coefficients_usable(float den0, float den1, float den2, float num0, float num1, float num2,
                         float inv_den0) {
  const float all[] = {den0,           den1,           den2,           num0,
                       num1,           num2,           inv_den0,       inv_den0 * num0,
                       inv_den0 * num1, inv_den0 * num2, inv_den0 * den1, inv_den0 * den2};
  for (float c : all) {
    if (!std::isfinite(c)) return false;
  }
  return true;
}

// The bandwidth term alpha and the shelf term beta, chosen so that
// beta x sin_omega = 2 sqrt(A) alpha in every mode: sqrt(A) / Q for a Q;
// from the slope S, alpha = sin_omega / 2 x sqrt((A + 1/A)(1/S - 1) + 2) and
// beta = sqrt(A) x that root; for octaves, 2 sqrt(A) sinh of the same
// argument as alpha's. beta and the slope's alpha in double precision,
// rounded to single.
void bandwidth_terms(const _filter_biquad_struct* filter, Derived& d) {
  const double root_a = std::sqrt(static_cast<double>(filter->amplitude));
  switch (filter->bandwidth_mode) {
    case kBiquadBandwidthOctaves: {
      const double s = std::sinh(kLn2 * 0.5 * static_cast<double>(filter->bandwidth) *
                                 static_cast<double>(d.omega) / static_cast<double>(d.sin_omega));
      d.alpha = static_cast<float>(static_cast<double>(d.sin_omega) * s);
      d.beta = static_cast<float>(2.0 * root_a * s);
      break;
    }
    case kBiquadBandwidthQ:
      d.alpha = d.sin_omega / (filter->resonance + filter->resonance);
      d.beta = static_cast<float>(root_a / static_cast<double>(filter->resonance));
      break;
    case kBiquadBandwidthSlope: {
      const double a = static_cast<double>(filter->amplitude);
      const double root =
          std::sqrt((a + 1.0 / a) * (1.0 / static_cast<double>(filter->slope) - 1.0) + 2.0);
      d.alpha = static_cast<float>(static_cast<double>(d.sin_omega) / 2.0 * root);
      d.beta = static_cast<float>(root_a * root);
      break;
    }
    default:
      break;
  }
}

// The cookbook responses, single precision. An unknown type leaves the
// coefficients as they are.
void response(int32_t type, float a, Derived& d) {
  const float sw = d.sin_omega;
  const float cw = d.cos_omega;
  const float alpha = d.alpha;
  const float b = d.beta;
  switch (type) {
    case 0:  // low-pass
      d.num0 = (1.0f - cw) * 0.5f;
      d.num1 = 1.0f - cw;
      d.num2 = (1.0f - cw) * 0.5f;
      break;
    case 1:  // high-pass
      d.num0 = (1.0f + cw) * 0.5f;
      d.num1 = -1.0f - cw;
      d.num2 = (1.0f + cw) * 0.5f;
      break;
    case 2:  // band-pass, peak gain Q
      d.num0 = 0.5f * sw;
      d.num1 = 0.0f;
      d.num2 = -0.5f * sw;
      break;
    case 3:  // notch
      d.num0 = 1.0f;
      d.num1 = -2.0f * cw;
      d.num2 = 1.0f;
      break;
    case 4:  // peaking
      d.num0 = 1.0f + alpha * a;
      d.num1 = -2.0f * cw;
      d.num2 = 1.0f - alpha * a;
      d.den0 = 1.0f + alpha / a;
      d.den1 = -2.0f * cw;
      d.den2 = 1.0f - alpha / a;
      return;
    case 5:  // all-pass
      d.num0 = 1.0f - alpha;
      d.num1 = -2.0f * cw;
      d.num2 = 1.0f + alpha;
      break;
    case 6:  // band-pass, 0 dB peak
      d.num0 = alpha;
      d.num1 = 0.0f;
      d.num2 = -alpha;
      break;
    case 7:  // low shelf
      d.num0 = a * (((a + 1.0f) - (a - 1.0f) * cw) + b * sw);
      d.num1 = (2.0f * a) * ((a - 1.0f) - (a + 1.0f) * cw);
      d.num2 = a * (((a + 1.0f) - (a - 1.0f) * cw) - b * sw);
      d.den0 = ((a + 1.0f) + (a - 1.0f) * cw) + b * sw;
      d.den1 = -2.0f * ((a - 1.0f) + (a + 1.0f) * cw);
      d.den2 = ((a + 1.0f) + (a - 1.0f) * cw) - b * sw;
      return;
    case 8:  // high shelf
      d.num0 = a * (((a + 1.0f) + (a - 1.0f) * cw) + b * sw);
      d.num1 = (-2.0f * a) * ((a - 1.0f) + (a + 1.0f) * cw);
      d.num2 = a * (((a + 1.0f) + (a - 1.0f) * cw) - b * sw);
      d.den0 = ((a + 1.0f) - (a - 1.0f) * cw) + b * sw;
      d.den1 = 2.0f * ((a - 1.0f) - (a + 1.0f) * cw);
      d.den2 = ((a + 1.0f) - (a - 1.0f) * cw) - b * sw;
      return;
    default:
      return;
  }
  // the common denominator of types 0-3, 5 and 6
  d.den0 = 1.0f + alpha;
  d.den1 = -2.0f * cw;
  d.den2 = 1.0f - alpha;
}

void recompute(_filter_biquad_struct* filter) {
  const float period = gAudioSamplingRateReciprocal;
  if (!(period > 0.0f) || !std::isfinite(period)) return;
  Derived d = derived_of(filter);
  d.omega = static_cast<float>(static_cast<double>(filter->frequency) * kTwoPi *
                               static_cast<double>(period));
  // At half the rate and above the sine turns zero or negative: alpha with
  // it, and the poles leave the unit circle. Half the rate counts however
  // it is measured: the rounded reciprocal can put an omega of exactly
  // half the rate a hair below pi.
  if (!(d.omega < kPiSingle) ||
      static_cast<double>(filter->frequency) >= 0.5 * static_cast<double>(gAudioSamplingRate)) {
    d.omega = static_cast<float>(0.499 * kTwoPi);
  }
  d.sin_omega = std::sin(d.omega);
  d.cos_omega = std::cos(d.omega);
  bandwidth_terms(filter, d);
  response(filter->type, filter->amplitude, d);
  d.inv_den0 = 1.0f / d.den0;
  if (!std::isfinite(d.omega) || !std::isfinite(d.sin_omega) || !std::isfinite(d.cos_omega) ||
      !std::isfinite(d.alpha)) {
    return;
  }
  if (!coefficients_usable(d.den0, d.den1, d.den2, d.num0, d.num1, d.num2, d.inv_den0)) return;
  take_over(filter, d);
}

// Stores a parameter unless it is unusable or already in place; true when a
// recomputation is due.
bool store(float* field, float value) {
  if (!std::isfinite(value) || value == *field) return false;
  *field = value;
  return true;
}

}  // namespace

void filter_biquad_init(_filter_biquad_struct* filter) {
  *filter = _filter_biquad_struct{};
  filter->amplitude = 1.0f;
  filter->bandwidth_mode = kBiquadBandwidthQ;
  filter->resonance = 1.0f;
  filter->type = 0;
  filter_biquad_set_attr(filter, ATTR_CUTOFF, 1000.0f);
  filter_biquad_clear(filter);
}

void filter_biquad_free(_filter_biquad_struct*) {}

void filter_biquad_clear(_filter_biquad_struct* filter) {
  filter->output = 0.0f;
  filter->x1 = 0.0f;
  filter->x2 = 0.0f;
  filter->y1 = 0.0f;
  filter->y2 = 0.0f;
}

void filter_biquad_set_attr(_filter_biquad_struct* filter, int32_t id, float value) {
  switch (id) {
    case ATTR_CUTOFF:
      if (!(value > 0.0f) || !store(&filter->frequency, value)) return;
      break;
    case ATTR_RESONANCE:
      if (!store(&filter->resonance, value)) return;
      filter->bandwidth_mode = kBiquadBandwidthQ;
      break;
    case ATTR_FILTER_TYPE:
      if (value == static_cast<float>(filter->type)) return;
      filter->type = qmx_truncate_to_int(value);
      break;
    case ATTR_GAIN_DB:
      if (!store(&filter->gain_db, value)) return;
      filter->amplitude =
          static_cast<float>(std::pow(10.0, static_cast<double>(value / 40.0f)));
      break;
    case ATTR_SHELF_SLOPE:
      if (!store(&filter->slope, value)) return;
      filter->bandwidth_mode = kBiquadBandwidthSlope;
      break;
    case ATTR_BANDWIDTH:
      if (!store(&filter->bandwidth, value)) return;
      filter->bandwidth_mode = kBiquadBandwidthOctaves;
      break;
    default:
      break;
  }
  recompute(filter);
}

float filter_biquad_get_attr(_filter_biquad_struct*, int32_t) { return 0.0f; }

void filter_biquad_set_coeffs(_filter_biquad_struct* filter, float den0, float den1, float den2,
                              float num0, float num1, float num2) {
  const float inv_den0 = 1.0f / den0;
  if (!coefficients_usable(den0, den1, den2, num0, num1, num2, inv_den0)) return;
  filter->den0 = den0;
  filter->den1 = den1;
  filter->den2 = den2;
  filter->num0 = num0;
  filter->num1 = num1;
  filter->num2 = num2;
  filter->inv_den0 = inv_den0;
}

void filter_biquad_link(_filter_biquad_struct* source, _filter_biquad_struct* destination) {
  destination->frequency = source->frequency;
  destination->gain_db = source->gain_db;
  destination->bandwidth = source->bandwidth;
  destination->resonance = source->resonance;
  destination->slope = source->slope;
  destination->amplitude = source->amplitude;
  destination->omega = source->omega;
  destination->sin_omega = source->sin_omega;
  destination->cos_omega = source->cos_omega;
  destination->alpha = source->alpha;
  destination->beta = source->beta;
  destination->inv_den0 = source->inv_den0;
  destination->den0 = source->den0;
  destination->den1 = source->den1;
  destination->den2 = source->den2;
  destination->num0 = source->num0;
  destination->num1 = source->num1;
  destination->num2 = source->num2;
}

float filter_biquad_get_output(_filter_biquad_struct* filter) { return filter->output; }
