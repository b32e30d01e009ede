// The echo loops in their steady state, both channels side by side.
//
// It computes exactly what the plain loop computes -- the same single- and
// double-precision operations in the same order, so the same bits -- but keeps
// the module state in registers for the whole block and runs the left and
// right channels' identical arithmetic in the low lanes of SSE registers
// (packed IEEE operations round exactly like their scalar forms). The delay
// lines take the shortcut of their common case: forward heads at speed 1 and
// the record head on a whole slot, so each sample writes one slot at the
// middle of the fade, and no division while the head distance is right.
#include <cstdint>

#include "effect/bramble.h"
#include "effect/chain_math.h"

#if defined(__SSE2__)
#include <emmintrin.h>

namespace {

constexpr float kSteadyLimit = 16777216.0f;  // 2^24: whole positions stay exact

// Both delay lines' heads held in registers for a block, left in lane 0 and
// right in lane 1. The record heads sit on whole slots below 2^24, so they are
// kept as integers and converted (exactly) where the arithmetic needs floats.
struct SteadyHeads {
  float* leftBuffer;
  float* rightBuffer;
  __m128i length;    // N
  __m128 lengthF;
  __m128i wanted;    // D
  __m128 wantedF;
  __m128 read;       // R
  __m128i writeSlot; // W
  __m128 previous;   // xp

  static bool covers(const _delay_fad_struct& line) {
    return line.buffer != nullptr && !line.resync && !line.reverse && !line.reverse_requested &&
           !line.accumulate && line.read_speed == 1.0f && line.write_speed == 1.0f &&
           line.dry_mix == 0.0f && line.length >= 2 &&
           static_cast<float>(line.length) < kSteadyLimit && line.write_pos >= 0.0f &&
           line.write_pos < static_cast<float>(line.length) &&
           line.write_pos == static_cast<float>(static_cast<int32_t>(line.write_pos)) &&
           line.read_pos >= 0.0f && line.read_pos < static_cast<float>(line.length) &&
           line.delay_samples >= 1 && line.delay_samples < line.length;
  }

  // Lanes 2 and 3 idle along harmlessly: one slot, distance 1, wanted 1.
  SteadyHeads(const _delay_fad_struct& l, const _delay_fad_struct& r)
      : leftBuffer(l.buffer),
        rightBuffer(r.buffer),
        length(_mm_setr_epi32(static_cast<int32_t>(l.length), static_cast<int32_t>(r.length), 1, 1)),
        lengthF(_mm_cvtepi32_ps(length)),
        wanted(_mm_setr_epi32(static_cast<int32_t>(l.delay_samples),
                              static_cast<int32_t>(r.delay_samples), 1, 1)),
        wantedF(_mm_cvtepi32_ps(wanted)),
        read(_mm_setr_ps(l.read_pos, r.read_pos, 0.0f, 0.0f)),
        writeSlot(_mm_setr_epi32(static_cast<int32_t>(l.write_pos), static_cast<int32_t>(r.write_pos), 0, 0)),
        previous(_mm_setr_ps(l.previous_input, r.previous_input, 0.0f, 0.0f)) {}

  void storeInto(_delay_fad_struct& l, _delay_fad_struct& r, __m128 output) const {
    alignas(16) float f[4];
    alignas(16) int32_t w[4];
    _mm_store_ps(f, read);
    l.read_pos = f[0];
    r.read_pos = f[1];
    _mm_store_si128(reinterpret_cast<__m128i*>(w), writeSlot);
    l.write_pos = static_cast<float>(w[0]);
    r.write_pos = static_cast<float>(w[1]);
    _mm_store_ps(f, previous);
    l.previous_input = f[0];
    r.previous_input = f[1];
    _mm_store_ps(f, output);
    l.output = f[0];
    r.output = f[1];
  }

  // The play heads move by the ratio of wanted to actual distance, then read
  // between two slots. While the distance is right the ratio is exactly 1 and
  // the divisions are skipped; where only one lane is right its ratio still
  // divides out to exactly 1.
  inline __m128 play() {
    const __m128 one = _mm_set1_ps(1.0f);
    const __m128 w = _mm_cvtepi32_ps(writeSlot);
    __m128i g = _mm_cvttps_epi32(_mm_add_ps(_mm_sub_ps(w, read), one));
    g = _mm_add_epi32(g, _mm_and_si128(_mm_srai_epi32(g, 31), length));
    __m128 r = read;
    if ((_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(g, wanted))) & 3) == 3)
      r = _mm_add_ps(r, one);
    else
      r = _mm_add_ps(r, _mm_div_ps(one, _mm_div_ps(wantedF, _mm_cvtepi32_ps(g))));
    r = _mm_sub_ps(r, _mm_and_ps(_mm_cmpge_ps(r, lengthF), lengthF));
    read = r;
    const __m128i i = _mm_cvttps_epi32(r);
    const __m128 f = _mm_sub_ps(r, _mm_cvtepi32_ps(i));
    __m128i next = _mm_add_epi32(i, _mm_set1_epi32(1));
    next = _mm_andnot_si128(_mm_cmpeq_epi32(next, length), next);
    // {i, i + 1} of the left line, then of the right, as two 64-bit words.
    const __m128i slots = _mm_unpacklo_epi32(i, next);
    const uint64_t ls = static_cast<uint64_t>(_mm_cvtsi128_si64(slots));
    const uint64_t rs = static_cast<uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(slots, slots)));
    const __m128 here = _mm_unpacklo_ps(_mm_load_ss(leftBuffer + static_cast<uint32_t>(ls)),
                                        _mm_load_ss(rightBuffer + static_cast<uint32_t>(rs)));
    const __m128 there = _mm_unpacklo_ps(_mm_load_ss(leftBuffer + (ls >> 32)),
                                         _mm_load_ss(rightBuffer + (rs >> 32)));
    return _mm_add_ps(_mm_mul_ps(_mm_sub_ps(one, f), here), _mm_mul_ps(f, there));
  }

  // The record heads: one slot each, halfway along the fade from the previous
  // loop input, ((1 - m) x - xp) / 2 + xp, with the input mix m at 0 so its
  // factor is exactly 1.
  inline void record(__m128 s) {
    const __m128 v = _mm_add_ps(_mm_mul_ps(_mm_sub_ps(s, previous), _mm_set1_ps(0.5f)), previous);
    previous = s;
    const uint64_t ws = static_cast<uint64_t>(_mm_cvtsi128_si64(writeSlot));
    _mm_store_ss(leftBuffer + static_cast<uint32_t>(ws), v);
    _mm_store_ss(rightBuffer + (ws >> 32), _mm_shuffle_ps(v, v, 1));
    const __m128i advanced = _mm_add_epi32(writeSlot, _mm_set1_epi32(1));
    writeSlot = _mm_andnot_si128(_mm_cmpeq_epi32(advanced, length), advanced);
  }
};

// The four Butterworth sections in one register set: lanes 0 and 1 hold the
// left and right high-pass, lanes 2 and 3 the left and right low-pass. The
// low-pass runs one sample behind the high-pass that feeds it, so each step
// advances the high-pass to sample n and the low-pass to sample n - 1 with
// the same instructions.
struct SteadyFilters {
  __m128 a0, a1, a2, b1, b2;
  __m128 x1, x2, out1, out2, out3;  // inputs back; outputs: latest, before it, before that

  static __m128 lanes(float hl, float hr, float ll, float lr) { return _mm_setr_ps(hl, hr, ll, lr); }

  SteadyFilters(const _filter_butterworth_2P_struct& hl, const _filter_butterworth_2P_struct& hr,
                const _filter_butterworth_2P_struct& ll, const _filter_butterworth_2P_struct& lr)
      : a0(lanes(hl.a0, hr.a0, ll.a0, lr.a0)),
        a1(lanes(hl.a1, hr.a1, ll.a1, lr.a1)),
        a2(lanes(hl.a2, hr.a2, ll.a2, lr.a2)),
        b1(lanes(hl.b1, hr.b1, ll.b1, lr.b1)),
        b2(lanes(hl.b2, hr.b2, ll.b2, lr.b2)),
        x1(lanes(hl.x1, hr.x1, ll.x1, lr.x1)),
        x2(lanes(hl.x2, hr.x2, ll.x2, lr.x2)),
        out1(lanes(hl.output, hr.output, ll.output, lr.output)),
        out2(lanes(hl.y1, hr.y1, ll.y1, lr.y1)),
        out3(lanes(hl.y2, hr.y2, ll.y2, lr.y2)) {}

  void storeInto(_filter_butterworth_2P_struct& hl, _filter_butterworth_2P_struct& hr,
                 _filter_butterworth_2P_struct& ll, _filter_butterworth_2P_struct& lr) const {
    float v[4];
    auto put = [&](__m128 value, float _filter_butterworth_2P_struct::*field) {
      _mm_storeu_ps(v, value);
      hl.*field = v[0];
      hr.*field = v[1];
      ll.*field = v[2];
      lr.*field = v[3];
    };
    put(x1, &_filter_butterworth_2P_struct::x1);
    put(x2, &_filter_butterworth_2P_struct::x2);
    put(out1, &_filter_butterworth_2P_struct::output);
    put(out2, &_filter_butterworth_2P_struct::y1);
    put(out3, &_filter_butterworth_2P_struct::y2);
  }

  inline __m128 step(__m128 x) {
    __m128 y = _mm_add_ps(_mm_mul_ps(a2, x2), _mm_mul_ps(a1, x1));
    y = _mm_add_ps(y, _mm_mul_ps(a0, x));
    y = _mm_sub_ps(y, _mm_mul_ps(b2, out2));
    y = _mm_sub_ps(y, _mm_mul_ps(b1, out1));
    // Zero and subnormal results become +0 so silence never lingers subnormal.
    const __m128i exponent = _mm_and_si128(_mm_castps_si128(y), _mm_set1_epi32(0x7F800000));
    const __m128 flush = _mm_castsi128_ps(_mm_cmpeq_epi32(exponent, _mm_setzero_si128()));
    y = _mm_andnot_ps(flush, y);
    out3 = out2;
    out2 = out1;
    out1 = y;
    x2 = x1;
    x1 = x;
    return y;
  }

  // A step that advances only the lanes selected by `keep` (all ones there);
  // the pipeline's first and last sample of a block need half a step.
  inline __m128 partialStep(__m128 x, __m128 keep) {
    const SteadyFilters before = *this;
    const __m128 y = step(x);
    auto pick = [&](__m128 now, __m128 then) {
      return _mm_or_ps(_mm_and_ps(keep, now), _mm_andnot_ps(keep, then));
    };
    x1 = pick(x1, before.x1);
    x2 = pick(x2, before.x2);
    out1 = pick(out1, before.out1);
    out2 = pick(out2, before.out2);
    out3 = pick(out3, before.out3);
    return y;
  }
};

// The clipper on both channels at once; its record keeps only the right
// channel's value, the later of the two calls.
struct SteadyClipper {
  __m128d drive;
  __m128d level;
  static __m128 neighbours(uint64_t i) {
    return _mm_castsi128_ps(
        _mm_loadl_epi64(reinterpret_cast<const __m128i*>(_mxr_distortion_plus_data.data() + i)));
  }

  explicit SteadyClipper(const _dist_mxr_struct& mxr)
      : drive(_mm_set1_pd(static_cast<double>(mxr.gain) * 31.415926536 + 1.0)),
        level(_mm_set1_pd(static_cast<double>(mxr.level))) {}

  inline __m128 step(__m128 x) const {
    const __m128 s = _mm_cvtpd_ps(_mm_mul_pd(_mm_cvtps_pd(x), drive));
    // Beyond +-1 the position sticks to the ends; a NaN fails both tests
    // and lands at the bottom, which max/min give in this order.
    __m128 p = _mm_mul_ps(s, _mm_set1_ps(255.0f));
    p = _mm_max_ps(p, _mm_set1_ps(-255.0f));
    p = _mm_min_ps(p, _mm_set1_ps(255.0f));
    p = _mm_add_ps(p, _mm_set1_ps(256.0f));
    const __m128i index = _mm_cvttps_epi32(p);
    const __m128 f = _mm_sub_ps(p, _mm_cvtepi32_ps(index));
    // Both positions lie in 1..511: one 64-bit move carries the pair.
    const uint64_t both = static_cast<uint64_t>(_mm_cvtsi128_si64(index));
    // One 8-byte load per channel fetches both neighbours: {T[i], T[i + 1]}.
    const __m128 pairs = _mm_unpacklo_ps(neighbours(static_cast<uint32_t>(both)), neighbours(both >> 32));
    const __m128 lower = pairs;
    const __m128 upper = _mm_movehl_ps(pairs, pairs);
    const __m128 upperShare = _mm_mul_ps(f, upper);
    // 1 - f is exact in single precision (f is a multiple of 2^-23 below 1),
    // so forming it there gives the same double as forming it in double.
    const __m128d blend = _mm_add_pd(
        _mm_mul_pd(_mm_cvtps_pd(lower), _mm_cvtps_pd(_mm_sub_ps(_mm_set1_ps(1.0f), f))),
        _mm_cvtps_pd(upperShare));
    return _mm_cvtpd_ps(_mm_mul_pd(blend, level));
  }
};

inline float lane1(__m128 v) { return _mm_cvtss_f32(_mm_shuffle_ps(v, v, 1)); }

struct SteadyGains {
  __m128 attenuation = _mm_set1_ps(0.8f);
  __m128 mix, unmixed, feedback, dry, wet;
  SteadyGains(float micLevel, float repeat, float dryGain, float wetGain)
      : mix(_mm_set1_ps(micLevel)),
        unmixed(_mm_set1_ps(1.0f - micLevel)),
        feedback(_mm_set1_ps(repeat)),
        dry(_mm_set1_ps(dryGain)),
        wet(_mm_set1_ps(wetGain)) {}
};

// Attenuated input of both channels, through the mic stage when it is on.
template <bool kMic>
inline __m128 inputStage(const SteadyGains& g, const SteadyClipper& clipper, __m128& lastClip,
                         const float* in0, const float* in1, int32_t i) {
  __m128 a = _mm_mul_ps(_mm_unpacklo_ps(_mm_load_ss(in0 + i), _mm_load_ss(in1 + i)), g.attenuation);
  if constexpr (kMic) {
    lastClip = clipper.step(a);
    a = _mm_add_ps(_mm_mul_ps(g.mix, lastClip), _mm_mul_ps(g.unmixed, a));
  }
  return a;
}

// Input plus feedback, folded back and limited to +-1.
inline __m128 loopInput(const SteadyGains& g, __m128 feedback, __m128 a) {
  const __m128 x = _mm_add_ps(_mm_mul_ps(feedback, g.feedback), a);
  __m128 s = _mm_mul_ps(_mm_mul_ps(x, _mm_set1_ps(0.5f)), _mm_sub_ps(_mm_set1_ps(3.0f), _mm_mul_ps(x, x)));
  s = _mm_and_ps(s, _mm_cmpord_ps(s, s));  // NaN enters as silence
  return _mm_max_ps(_mm_min_ps(s, _mm_set1_ps(1.0f)), _mm_set1_ps(-1.0f));
}

struct SteadyChain {
  SteadyHeads heads;
  SteadyFilters filters;
  SteadyClipper clipper;
  __m128 feedback;  // lanes 0, 1: the last low-pass outputs
  __m128 lastClip;
  __m128 lastDelayed = _mm_setzero_ps();  // lanes 0, 1: the latest delay outputs

  template <bool kMic>
  void run(const SteadyGains& g, const float* in0, const float* in1, float* out0, float* out1,
           int32_t frames) {
    const __m128 highPassLanes = _mm_castsi128_ps(_mm_setr_epi32(-1, -1, 0, 0));
    const __m128 lowPassLanes = _mm_castsi128_ps(_mm_setr_epi32(0, 0, -1, -1));
    // Sample 0: the delay lines, then the high-pass alone.
    __m128 a = inputStage<kMic>(g, clipper, lastClip, in0, in1, 0);
    lastDelayed = heads.play();
    heads.record(loopInput(g, feedback, a));
    __m128 filtered = filters.partialStep(lastDelayed, highPassLanes);
#pragma GCC unroll 2
    for (int32_t i = 1; i < frames; ++i) {
      // Read both inputs before writing an output: hosts may process in place.
      const __m128 next = inputStage<kMic>(g, clipper, lastClip, in0, in1, i);
      // The play heads do not depend on this sample's loop input.
      lastDelayed = heads.play();
      // High-pass of sample i, low-pass of sample i - 1.
      filtered = filters.step(_mm_movelh_ps(lastDelayed, filtered));
      const __m128 y = _mm_movehl_ps(filtered, filtered);
      feedback = y;
      const __m128 out = _mm_add_ps(_mm_mul_ps(y, g.wet), _mm_mul_ps(a, g.dry));
      _mm_store_ss(out0 + i - 1, out);
      _mm_store_ss(out1 + i - 1, _mm_shuffle_ps(out, out, 1));
      heads.record(loopInput(g, feedback, next));
      a = next;
    }
    // The last sample's low-pass alone.
    filtered = filters.partialStep(_mm_movelh_ps(filtered, filtered), lowPassLanes);
    const __m128 y = _mm_movehl_ps(filtered, filtered);
    feedback = y;
    const __m128 out = _mm_add_ps(_mm_mul_ps(y, g.wet), _mm_mul_ps(a, g.dry));
    _mm_store_ss(out0 + frames - 1, out);
    _mm_store_ss(out1 + frames - 1, _mm_shuffle_ps(out, out, 1));
  }
};

}  // namespace

bool bramble::processSteady(const ChainSettings& s, const float* in0, const float* in1, float* out0,
                            float* out1, VstInt32 frames) {
  if (!SteadyHeads::covers(leftDelay) || !SteadyHeads::covers(rightDelay)) return false;
  SteadyChain chain{SteadyHeads(leftDelay, rightDelay),
                    SteadyFilters(leftHighPass, rightHighPass, leftLowPass, rightLowPass),
                    SteadyClipper(clipper),
                    _mm_setr_ps(leftFeedback, rightFeedback, 0.0f, 0.0f),
                    _mm_set1_ps(clipper.output)};
  const SteadyGains gains(s.micLevel, s.repeat, s.dryGain, s.wetGain);
  if (s.mic)
    chain.run<true>(gains, in0, in1, out0, out1, frames);
  else
    chain.run<false>(gains, in0, in1, out0, out1, frames);
  chain.heads.storeInto(leftDelay, rightDelay, chain.lastDelayed);
  chain.filters.storeInto(leftHighPass, rightHighPass, leftLowPass, rightLowPass);
  leftFeedback = _mm_cvtss_f32(chain.feedback);
  rightFeedback = lane1(chain.feedback);
  if (s.mic) clipper.output = lane1(chain.lastClip);
  return true;
}

#else

bool bramble::processSteady(const ChainSettings&, const float*, const float*, float*, float*,
                            VstInt32) {
  return false;
}

#endif
