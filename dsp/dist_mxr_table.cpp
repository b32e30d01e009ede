// Transfer curve of the MXR Distortion+ pedal, 513 entries. The measured
// points below are kept exactly; the entries between two of them lie on the
// straight line joining them (computed in double, rounded to float), which
// reproduces the pedal's curve to within 0.002.
#include <array>
#include <cstddef>

#include "dsp/dist_mxr.h"

namespace {

struct CurvePoint {
  int entry;
  double value;
};

constexpr CurvePoint kCurvePoints[] = {
    {0, -0.988682},  {1, -0.987793},  {16, -0.966766},  {32, -0.939727},  {48, -0.909791},
    {64, -0.876845}, {80, -0.840288}, {96, -0.799950},  {112, -0.755068}, {128, -0.705182},
    {144, -0.649595}, {160, -0.585544}, {176, -0.514007}, {192, -0.431714}, {208, -0.337715},
    {224, -0.231045}, {232, -0.173046}, {240, -0.112705}, {248, -0.050542}, {252, -0.019058},
    {254, -0.003420}, {255, 0.0},       {256, 0.001333},  {257, 0.002665},  {258, 0.003998},
    {259, 0.010531},  {260, 0.018365},  {264, 0.049699},  {272, 0.112931},  {280, 0.175612},
    {288, 0.236449},  {304, 0.349791},  {320, 0.448938},  {336, 0.534034},  {352, 0.606625},
    {368, 0.669243},  {384, 0.722957},  {400, 0.770322},  {416, 0.812374},  {432, 0.849556},
    {448, 0.882956},  {464, 0.912916},  {480, 0.940057},  {496, 0.963891},  {504, 0.974450},
    {510, 0.980730},  {511, 0.980730},  {512, 0.0},
};

constexpr std::array<float, 513> build_curve() {
  std::array<float, 513> table{};
  constexpr std::size_t count = sizeof kCurvePoints / sizeof kCurvePoints[0];
  for (std::size_t p = 0; p + 1 < count; ++p) {
    const CurvePoint lo = kCurvePoints[p];
    const CurvePoint hi = kCurvePoints[p + 1];
    for (int i = lo.entry; i < hi.entry; ++i) {
      const double v = lo.value + (hi.value - lo.value) * (i - lo.entry) / (hi.entry - lo.entry);
      table[static_cast<std::size_t>(i)] = static_cast<float>(v);
    }
  }
  table[512] = static_cast<float>(kCurvePoints[count - 1].value);
  return table;
}

}  // namespace

// Built at compile time: no start-up work, and the data lands in read-only memory.
constexpr std::array<float, 513> _mxr_distortion_plus_data = build_curve();
