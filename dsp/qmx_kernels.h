// Double-precision sine, base-2 exponential and base-2 logarithm for
// per-sample use: plain arithmetic on small constant tables, with no library
// call for any argument a signal reaches and no branch that follows the
// signal. The exponential is within a hair of half a unit in the last place,
// the sine within two units and the logarithm within two and a half. After
// rounding to single precision a result is the float that the C library's
// function gives, short of an exact value that lies within those few units
// of halfway between two floats.
#pragma once

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

struct QmxExpEntry {
  double hi;  // 2^(j/512), nearest double
  double lo;  // the remainder
};

struct QmxLog2Entry {
  double c;         // centre of the interval
  double invc;      // 1 / c, nearest double
  double log2c_hi;  // log2(c), nearest double
  double log2c_lo;  // the remainder
};

extern const std::array<double, 128> kQmxSineTable;
extern const std::array<QmxExpEntry, 512> kQmxExpTable;
extern const std::array<QmxLog2Entry, 512> kQmxLog2Table;

namespace qmx_kernel_detail {

// Adding 1.5 * 2^52 rounds a double below 2^51 in magnitude to an integer,
// which then sits in the low bits of the sum: no float-to-integer conversion.
constexpr double kRoundShift = 0x1.8p52;

// pi/64 in four parts; the first three have at most 23 significant bits, so
// n times each is exact for |n| < 2^30.
constexpr double kPiOver64_1 = 0x1.921fb4p-5;
constexpr double kPiOver64_2 = 0x1.4442d0p-29;
constexpr double kPiOver64_3 = 0x1.846988p-53;
constexpr double kPiOver64_4 = 0x1.8cc51701b839ap-77;
constexpr double kSixtyFourOverPi = 0x1.45f306dc9c883p+4;
// Beyond this (about 5e7) the four-part reduction would need n >= 2^30; no
// sane argument gets there (a full-scale input would need a folding frequency
// of 8 MHz).
constexpr double kSineFastLimit = 0x1.8p+25;

// Adding 1.5 * 2^43 rounds to a multiple of 1/512 the same way.
constexpr double kRoundShift512 = 0x1.8p43;
constexpr double kLn2 = 0x1.62e42fefa39efp-1;
constexpr double kInvLn2 = 0x1.71547652b82fep+0;
// Bit pattern just below 0.6875: the reduced logarithm argument m lies in
// [0x1.5fcp-1, 0x1.5fcp0), cut into 512 intervals, one of them holding 1 in
// its middle.
constexpr uint64_t kLog2Offset = 0x3FE5FC0000000000ULL;

inline double from_bits(uint64_t b) { return std::bit_cast<double>(b); }
inline uint64_t to_bits(double d) { return std::bit_cast<uint64_t>(d); }

}  // namespace qmx_kernel_detail

// sin(a). The argument is reduced by the nearest multiple of pi/64, whose sine
// and cosine come from the table; the remainder's sine and cosine are short
// series. Arguments beyond kSineFastLimit in magnitude, which no sane signal
// reaches, are handed to the C library; NaN or infinity give NaN.
inline double qmx_sin_double(double a) {
  using namespace qmx_kernel_detail;
  if (!(std::fabs(a) <= kSineFastLimit)) {
    return std::isfinite(a) ? std::sin(a) : a - a;
  }
  if (a == 0.0) return a;  // keeps the sign of a zero
  const double shifted = a * kSixtyFourOverPi + kRoundShift;
  const double n = shifted - kRoundShift;
  const uint32_t j = static_cast<uint32_t>(to_bits(shifted)) & 127u;
  double r = a - n * kPiOver64_1;  // exact: n * part has at most 53 bits
  r = r - n * kPiOver64_2;
  r = r - n * kPiOver64_3;
  r = r - n * kPiOver64_4;
  const double r2 = r * r;
  // |r| <= pi/128: the next terms are below 2^-60 relative.
  // Taylor series: sin r - r in 1/3!, 1/5!, 1/7!; cos r - 1 in 1/2!, 1/4!, 1/6!, 1/8!.
  const double sin_r =
      r + (r * r2) * (-0x1.5555555555555p-3 +
                      r2 * (0x1.1111111111111p-7 + r2 * -0x1.a01a01a01a01ap-13));
  const double cos_r_minus_1 =
      r2 * (-0.5 + r2 * (0x1.5555555555555p-5 +
                         r2 * (-0x1.6c16c16c16c17p-10 + r2 * 0x1.a01a01a01a01ap-16)));
  const double s = kQmxSineTable[j];
  const double c = kQmxSineTable[(j + 32u) & 127u];
  return s + (s * cos_r_minus_1 + c * sin_r);
}

// 2^t. t = k + j/512 + f with |f| <= 1/1024; 2^t is 2^k * 2^(j/512) * e^(f ln2),
// the power of two built from its bits. Beyond +-1020 (overflow, underflow,
// subnormal results, NaN) the out-of-line edge takes over.
double qmx_exp2_double_edge(double t);

namespace qmx_kernel_detail {

// 2^(j/512) * e^(f ln2) for t, with k = t's whole power of two.
inline double exp2_mantissa(double t, int64_t& k) {
  const double shifted = t + kRoundShift512;
  const double steps = shifted - kRoundShift512;  // t rounded to a multiple of 1/512
  // The low 32 bits of 1.5 * 2^43 are zero: those of the sum hold t * 512 as
  // a whole number (|t| < 2^22 here).
  const int32_t ki = static_cast<int32_t>(static_cast<uint32_t>(to_bits(shifted)));
  const double r = (t - steps) * kLn2;  // t - steps is exact
  const QmxExpEntry& e = kQmxExpTable[static_cast<uint32_t>(ki) & 511u];
  // e^r - 1 for |r| <= 0.00068 (the next term is below 2^-59 relative), the
  // terms grouped so that they need not wait for one another.
  const double r2 = r * r;
  const double p = r + r2 * ((0.5 + r * 0x1.5555555555555p-3) + r2 * 0x1.5555555555555p-5);
  k = ki >> 9;  // arithmetic: floor division by 512
  return e.hi + (e.lo + e.hi * p);
}

}  // namespace qmx_kernel_detail

inline double qmx_exp2_double(double t) {
  using namespace qmx_kernel_detail;
  if (!(std::fabs(t) <= 1020.0)) return qmx_exp2_double_edge(t);
  int64_t k;
  const double m = exp2_mantissa(t, k);
  return m * from_bits(static_cast<uint64_t>(k + 1023) << 52);
}

// log2(z). z = 2^k * m with m in [0.6870, 1.3740); with c the centre of m's
// table interval, r = (m - c) / c (m - c is exact, so r carries only a
// relative rounding error) and log2(z) = k + log2(c) + ln(1 + r) / ln2, the
// series' coefficients divided by ln2 beforehand.
// qmx_log2_double_normal needs z positive, finite and normal; qmx_log2_double
// takes anything: 0 gives minus infinity, negative values and NaN give NaN,
// infinity stays infinity.
inline double qmx_log2_double_normal(double z) {
  using namespace qmx_kernel_detail;
  const uint64_t ix = to_bits(z);
  const uint64_t tmp = ix - kLog2Offset;
  const uint32_t i = static_cast<uint32_t>(tmp >> 43) & 511u;
  const int64_t k = static_cast<int64_t>(tmp) >> 52;
  const double m = from_bits(ix - (tmp & (0xFFFULL << 52)));
  const QmxLog2Entry& e = kQmxLog2Table[i];
  const double r = (m - e.c) * e.invc;
  // (ln(1 + r) - r) / ln2 for |r| < 0.001 (the next term is below 2^-52
  // relative), in pairs so that the terms need not wait for one another;
  // the leading r / ln2 joins the large part while the pairs are worked out.
  const double r2 = r * r;
  const double pair23 = -0x1.71547652b82fep-1 + r * 0x1.ec709dc3a03fdp-2;  // -1/2, 1/3
  const double pair45 = -0x1.71547652b82fep-2 + r * 0x1.2776c50ef9bfep-2;  // -1/4, 1/5
  const double poly = r2 * (pair23 + r2 * pair45);
  const double hi = (static_cast<double>(k) + e.log2c_hi) + r * kInvLn2;
  return hi + (poly + e.log2c_lo);
}

double qmx_log2_double_edge(double z);

inline double qmx_log2_double(double z) {
  // Anything but a positive, finite, normal number goes to the edge.
  if (qmx_kernel_detail::to_bits(z) - 0x0010000000000000ULL >= 0x7FE0000000000000ULL) {
    return qmx_log2_double_edge(z);
  }
  return qmx_log2_double_normal(z);
}
