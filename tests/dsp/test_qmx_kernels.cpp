#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <random>

#include "dsp/qmx_kernels.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Distance in units in the last place between two finite doubles of the same sign.
int64_t UlpDistance(double a, double b) {
  auto key = [](double v) {
    const int64_t bits = std::bit_cast<int64_t>(v);
    return bits < 0 ? std::numeric_limits<int64_t>::min() - bits : bits;
  };
  const int64_t d = key(a) - key(b);
  return d < 0 ? -d : d;
}

bool SameBits(double a, double b) { return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b); }

struct Range {
  const char* name;
  double lo, hi;
};

// Error of a double result in units of its last place, against a long
// double (64-bit mantissa) value of the exact function.
double UlpError(double got, long double exact) {
  int e = 0;
  std::frexp(static_cast<double>(exact), &e);
  const long double ulp = std::ldexp(1.0L, std::max(e - 53, -1074));  // subnormals: fixed
  return static_cast<double>(std::fabs((static_cast<long double>(got) - exact) / ulp));
}

// Each kernel within its error bound of the exact value, and after rounding
// to single precision (as the modules use it) the same float as the C
// library's function.
template <typename Kernel, typename Exact, typename Library, typename Draw>
void CompareWithLibrary(Kernel kernel, Exact exact, Library library, Draw draw, double max_ulps) {
  std::mt19937_64 rng(99);
  for (int i = 0; i < 100000; ++i) {
    const double v = draw(rng);
    const double got = kernel(v);
    const long double want = exact(static_cast<long double>(v));
    if (std::isfinite(want) && want != 0.0L) {
      ASSERT_LE(UlpError(got, want), max_ulps) << "at " << v;
    }
    ASSERT_EQ(static_cast<float>(got), static_cast<float>(library(v))) << "at " << v;
  }
}

TEST(QmxKernels, SineAgreesWithTheLibrary) {
  const Range ranges[] = {{"unit", -1.0, 1.0},       {"cycle", -7.0, 7.0},  {"folded", -300.0, 300.0},
                          {"far", -5e7, 5e7},         {"tiny", -1e-6, 1e-6}};
  for (const Range& r : ranges) {
    SCOPED_TRACE(r.name);
    std::uniform_real_distribution<double> u(r.lo, r.hi);
    CompareWithLibrary(qmx_sin_double, [](long double v) { return std::sin(v); },
                       [](double v) { return std::sin(v); }, [&](std::mt19937_64& g) { return u(g); }, 2.0);
  }
}

TEST(QmxKernels, Exp2AgreesWithTheLibrary) {
  const struct {
    Range range;
    double max_ulps;
  } cases[] = {
      // Within a hair of correct rounding: the overdrive's 1 - 2^t magnifies
      // any further error for quiet inputs.
      {{"small", -0.01, 0.01}, 0.52},  {{"quiet", -30.0, 0.0}, 0.52},
      {{"all", -1020.0, 1020.0}, 0.52}, {{"top", 1020.0, 1024.0}, 0.52},
      {{"subnormal", -1075.0, -1020.0}, 1.0},  // rounded twice on the way down
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.range.name);
    std::uniform_real_distribution<double> u(c.range.lo, c.range.hi);
    CompareWithLibrary(qmx_exp2_double, [](long double v) { return std::exp2(v); },
                       [](double v) { return std::exp2(v); }, [&](std::mt19937_64& g) { return u(g); },
                       c.max_ulps);
  }
}

TEST(QmxKernels, Log2AgreesWithTheLibrary) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  // 1 - a for a float a of any size: the overdrive's arguments.
  CompareWithLibrary(qmx_log2_double, [](long double v) { return std::log2(v); },
                     [](double v) { return std::log2(v); },
                     [&](std::mt19937_64& g) {
                       const float a = static_cast<float>(std::ldexp(unit(g), -static_cast<int>(g() % 30)));
                       return 1.0 - static_cast<double>(a);
                     },
                     1.9);
  // Around 1, where the table's log2(c) is as large as the result.
  std::uniform_real_distribution<double> near_one(0.5, 2.0);
  CompareWithLibrary(qmx_log2_double, [](long double v) { return std::log2(v); },
                     [](double v) { return std::log2(v); },
                     [&](std::mt19937_64& g) { return near_one(g); }, 2.5);
  // Any positive double, subnormals included.
  CompareWithLibrary(qmx_log2_double, [](long double v) { return std::log2(v); },
                     [](double v) { return std::log2(v); },
                     [&](std::mt19937_64& g) {
                       return std::ldexp(0.5 + unit(g), static_cast<int>(g() % 2100) - 1070);
                     },
                     2.0);
}

// NaN for NaN, the exact value for zeros and infinities, otherwise within two
// and a half units in the last place.
void ExpectKernelValue(double got, double want) {
  if (std::isnan(want)) {
    EXPECT_TRUE(std::isnan(got)) << got;
  } else if (want == 0.0 || std::isinf(want)) {
    EXPECT_TRUE(SameBits(got, want)) << got;
  } else {
    EXPECT_LE(UlpDistance(got, want), 3) << got;
  }
}

TEST(QmxKernels, SpecialValues) {
  const struct {
    double v, sin, exp2, log2;
  } cases[] = {
      {0.0, 0.0, 1.0, -kInf},      {-0.0, -0.0, 1.0, -kInf},   {kInf, kNaN, kInf, kInf},
      {-kInf, kNaN, 0.0, kNaN},    {kNaN, kNaN, kNaN, kNaN},   {-1.0, std::sin(-1.0), 0.5, kNaN},
      {1.0, std::sin(1.0), 2.0, 0.0},
      {1024.0, std::sin(1024.0), kInf, 10.0},
      {-1075.0, std::sin(-1075.0), 0.0, kNaN},
      {-1074.0, std::sin(-1074.0), 5e-324, kNaN},
      {1e300, std::sin(1e300), kInf, std::log2(1e300)},  // far beyond the fast sine
      {5e-324, 5e-324, 1.0, -1074.0},
      {0.75, std::sin(0.75), std::exp2(0.75), std::log2(0.75)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.v);
    ExpectKernelValue(qmx_sin_double(c.v), c.sin);
    ExpectKernelValue(qmx_exp2_double(c.v), c.exp2);
    ExpectKernelValue(qmx_log2_double(c.v), c.log2);
  }
  // Whole powers of two are exact both ways.
  for (int k = -1074; k <= 1023; k += 7) {
    ASSERT_EQ(qmx_exp2_double(k), std::ldexp(1.0, k)) << k;
    ASSERT_EQ(qmx_log2_double(std::ldexp(1.0, k)), k) << k;
  }
  // Multiples of pi/2 land on the table's exact entries.
  EXPECT_EQ(qmx_sin_double(std::numbers::pi / 2), 1.0);
  EXPECT_EQ(qmx_sin_double(-std::numbers::pi / 2), -1.0);
  EXPECT_EQ(static_cast<float>(qmx_sin_double(std::numbers::pi)),
            static_cast<float>(std::sin(std::numbers::pi)));
}

TEST(QmxKernels, TablesHoldWhatTheySay) {
  // Against long double (64-bit mantissa) values: each pair hi + lo within a
  // few 2^-64, each single entry within one unit in the last place.
  for (int j = 0; j < 128; ++j) {
    SCOPED_TRACE(j);
    if (j % 64 != 0) {  // the zeros are checked exactly below
      const long double angle = static_cast<long double>(j) * std::numbers::pi_v<long double> / 64;
      EXPECT_LE(UlpDistance(kQmxSineTable[j], static_cast<double>(std::sin(angle))), 1);
    }
  }
  for (int j = 0; j < 512; ++j) {
    SCOPED_TRACE(j);
    const long double power = std::exp2(static_cast<long double>(j) / 512);
    const QmxExpEntry& t = kQmxExpTable[j];
    EXPECT_LE(UlpDistance(t.hi, static_cast<double>(power)), 1);
    EXPECT_NEAR(static_cast<double>((static_cast<long double>(t.hi) + t.lo) - power), 0.0, 4e-19);
  }
  double previous_c = 0.0;
  for (int i = 0; i < 512; ++i) {
    SCOPED_TRACE(i);
    const QmxLog2Entry& e = kQmxLog2Table[i];
    EXPECT_GT(e.c, previous_c);
    previous_c = e.c;
    EXPECT_EQ(e.invc, 1.0 / e.c);
    const long double log2c = std::log2(static_cast<long double>(e.c));
    EXPECT_LE(UlpDistance(e.log2c_hi, static_cast<double>(log2c)), 1);
    EXPECT_NEAR(static_cast<double>((static_cast<long double>(e.log2c_hi) + e.log2c_lo) - log2c), 0.0, 4e-19);
  }
  for (int j : {0, 64}) EXPECT_EQ(kQmxSineTable[j], 0.0);
  EXPECT_EQ(kQmxSineTable[32], 1.0);
  EXPECT_EQ(kQmxSineTable[96], -1.0);
  EXPECT_EQ(kQmxLog2Table[320].c, 1.0);  // the interval holding 1
  EXPECT_EQ(kQmxLog2Table[320].log2c_hi, 0.0);
}

}  // namespace
