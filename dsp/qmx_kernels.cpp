#include "dsp/qmx_kernels.h"

#include <limits>

double qmx_exp2_double_edge(double t) {
  using namespace qmx_kernel_detail;
  if (t != t) return t;
  if (t >= 1024.0) return std::numeric_limits<double>::infinity();
  if (t <= -1075.0) return 0.0;  // below half the smallest subnormal
  if (std::fabs(t) <= 1020.0) return qmx_exp2_double(t);
  // Near the ends of the range the power of two would leave the normal
  // exponents: it is applied in two halves.
  int64_t k;
  const double m = exp2_mantissa(t, k);
  const int64_t k1 = k / 2;
  const int64_t k2 = k - k1;
  return (m * from_bits(static_cast<uint64_t>(k1 + 1023) << 52)) *
         from_bits(static_cast<uint64_t>(k2 + 1023) << 52);
}

double qmx_log2_double_edge(double z) {
  if (z == 0.0) return -std::numeric_limits<double>::infinity();
  if (!(z > 0.0)) return std::numeric_limits<double>::quiet_NaN();
  if (z == std::numeric_limits<double>::infinity()) return z;
  if (z >= 0x1p-1022) return qmx_log2_double_normal(z);
  // Subnormal: scaled into the normal range first (exactly), then 52 back.
  return qmx_log2_double_normal(z * 0x1p52) - 52.0;
}
