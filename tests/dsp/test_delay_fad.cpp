#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "dsp/sampling_rate_guard.h"
#include "dsp/delay_fad.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// The sampling rate is process-wide: every test puts it back.
class DelayFad : public ::testing::Test {
 protected:
  SamplingRateGuard rateGuard_;

  // A line of `length` slots at `rate` Hz holding `ms` of delay, silent.
  _delay_fad_struct* MakeLine(uint32_t length, float rate, float ms) {
    qmx_set_attr(ATTR_SAMPLING_RATE, rate);
    delay_fad_init(&line_, length);
    delay_fad_set_attr(&line_, ATTR_DELAY_MS, ms);
    delay_fad_clear(&line_);
    owned_ = true;
    return &line_;
  }
  ~DelayFad() override {
    if (owned_) delay_fad_free(&line_);
  }

  // Slots from the play head forward to the record head.
  static float Gap(const _delay_fad_struct& line) {
    float gap = line.write_pos - line.read_pos;
    if (gap < 0.0f) gap += static_cast<float>(line.length);
    return gap;
  }

  // Outputs for an impulse of 1 followed by silence.
  static std::vector<float> ImpulseResponse(_delay_fad_struct* line, int samples) {
    std::vector<float> out;
    for (int i = 0; i < samples; ++i) out.push_back(delay_fad_dsp(line, i == 0 ? 1.0f : 0.0f));
    return out;
  }

  static void ExpectHalvesAt(const std::vector<float>& out, int first) {
    for (int i = 0; i < static_cast<int>(out.size()); ++i) {
      const float expected = (i == first || i == first + 1) ? 0.5f : 0.0f;
      EXPECT_EQ(out[i], expected) << "sample " << i;
    }
  }

  _delay_fad_struct line_{};
  bool owned_ = false;

};

TEST_F(DelayFad, ImpulseComesOutAsTwoHalvesOneAndTwoSamplesShortOfTheDelay) {
  _delay_fad_struct* line = MakeLine(100, 1000.0f, 10.0f);
  EXPECT_EQ(line->delay_samples, 10u);
  EXPECT_EQ(line->write_pos, 9.0f);
  EXPECT_EQ(line->read_pos, 0.0f);
  ExpectHalvesAt(ImpulseResponse(line, 100), 8);
}

TEST_F(DelayFad, LongerDelayGlidesWithoutAJump) {
  _delay_fad_struct* line = MakeLine(100, 1000.0f, 10.0f);
  for (int i = 0; i < 50; ++i) delay_fad_dsp(line, 0.0f);
  ASSERT_EQ(Gap(*line), 9.0f);

  delay_fad_set_attr(line, ATTR_DELAY_MS, 20.0f);
  EXPECT_FALSE(line->resync);
  float previous = Gap(*line);
  for (int i = 0; i < 200; ++i) {
    delay_fad_dsp(line, 0.0f);
    const float gap = Gap(*line);
    const float growth = gap - previous;
    if (i == 0) {
      EXPECT_EQ(growth, 0.5f);
    }
    // The gap changes by at most half a slot per sample: no jump.
    EXPECT_GE(growth, -0.06f) << "sample " << i;
    EXPECT_LE(growth, 0.5f) << "sample " << i;
    if (i >= 80) {
      // Single-precision positions keep it hovering at 19 rather than on it.
      EXPECT_NEAR(gap, 19.0f, 0.06f) << "sample " << i;
    }
    previous = gap;
  }
}

TEST_F(DelayFad, ResyncPutsTheReadHeadAtTheNewDistanceAtOnce) {
  _delay_fad_struct* line = MakeLine(100, 1000.0f, 10.0f);
  for (int i = 0; i < 30; ++i) delay_fad_dsp(line, 0.0f);
  delay_fad_set_attr(line, ATTR_DELAY_MS_RESYNC, 12.0f);
  EXPECT_TRUE(line->resync);
  delay_fad_dsp(line, 0.0f);
  EXPECT_FALSE(line->resync);
  EXPECT_EQ(Gap(*line), 11.0f);
  ExpectHalvesAt(ImpulseResponse(line, 100), 10);
}

TEST_F(DelayFad, SettingTheSameDelayAgainChangesNothing) {
  _delay_fad_struct* line = MakeLine(100, 1000.0f, 10.0f);
  for (int i = 0; i < 5; ++i) delay_fad_dsp(line, 0.25f * i);
  for (int32_t id : {ATTR_DELAY_MS, ATTR_DELAY_MS_RESYNC}) {
    _delay_fad_struct before = *line;
    delay_fad_set_attr(line, id, 10.0f);
    EXPECT_EQ(std::memcmp(&before, line, sizeof before), 0) << "id " << id;
    // 10.4 ms is still 10 slots at 1000 Hz: only the seconds follow.
    delay_fad_set_attr(line, id, 10.4f);
    EXPECT_EQ(line->delay_samples, 10u);
    EXPECT_FALSE(line->resync);
    delay_fad_set_attr(line, id, 10.0f);
  }
}

TEST_F(DelayFad, AccumulateStaysWithinUnitRangeAndRepositionsTheReadHead) {
  _delay_fad_struct* line = MakeLine(100, 1000.0f, 10.0f);
  delay_fad_set_attr(line, ATTR_DELAY_MS, 30.0f);  // start a glide
  for (int i = 0; i < 5; ++i) delay_fad_dsp(line, 0.0f);
  ASSERT_NE(Gap(*line), 29.0f);

  delay_fad_set_attr(line, ATTR_DELAY_ACCUMULATE, 1.0f);
  EXPECT_TRUE(line->accumulate);
  EXPECT_TRUE(line->resync);
  delay_fad_dsp(line, 1.0f);
  EXPECT_EQ(Gap(*line), 29.0f);

  std::mt19937 rng(7);
  std::uniform_int_distribution<int> sign(0, 1);
  for (int i = 0; i < 5000; ++i) delay_fad_dsp(line, sign(rng) ? 1.0f : -1.0f);
  for (uint32_t k = 0; k < line->length; ++k) {
    ASSERT_GE(line->buffer[k], -1.0f) << "slot " << k;
    ASSERT_LE(line->buffer[k], 1.0f) << "slot " << k;
  }
  // Unity feedback really feeds back: a constant input piles up to the limit.
  for (int i = 0; i < 500; ++i) delay_fad_dsp(line, 1.0f);
  EXPECT_EQ(line->buffer[static_cast<uint32_t>(line->read_pos)], 1.0f);

  delay_fad_set_attr(line, ATTR_DELAY_ACCUMULATE, 0.4f);  // off again
  EXPECT_FALSE(line->accumulate);
  EXPECT_TRUE(line->resync);
  delay_fad_set_attr(line, ATTR_DELAY_ACCUMULATE, 0.0f);  // no change, no jump
  delay_fad_dsp(line, 0.0f);
  EXPECT_FALSE(line->resync);
}

TEST_F(DelayFad, ReverseReplaysTheLastSlotsBackwardsThenEchoesAtDAndDPlusOne) {
  _delay_fad_struct* line = MakeLine(100, 1000.0f, 10.0f);
  for (int i = 0; i < 30; ++i) delay_fad_dsp(line, static_cast<float>(i + 1));
  const float r = line->read_pos;
  const float w = line->write_pos;

  delay_fad_set_attr(line, ATTR_DELAY_REVERSE, 1.0f);
  EXPECT_FALSE(line->reverse);  // taken up at the next sample
  float previous = delay_fad_dsp(line, 0.0f);
  EXPECT_TRUE(line->reverse);
  EXPECT_EQ(line->read_pos, w - 1.0f);  // the heads swapped, then moved
  EXPECT_EQ(line->write_pos, r - 1.0f);
  EXPECT_EQ(previous, 29.5f);  // the newest material first
  for (int i = 1; i < 10; ++i) {
    const float out = delay_fad_dsp(line, 0.0f);
    EXPECT_LT(out, previous) << "sample " << i;
    previous = out;
  }

  for (int i = 0; i < 200; ++i) delay_fad_dsp(line, 0.0f);
  ExpectHalvesAt(ImpulseResponse(line, 60), 10);
}

TEST_F(DelayFad, ReverseAddsTheInputMixToTheOutputAndWritesTheRest) {
  _delay_fad_struct* line = MakeLine(100, 1000.0f, 10.0f);
  delay_fad_set_attr(line, ATTR_DELAY_DRY_MIX, 0.25f);
  // Forward heads: the mix only thins what is written.
  EXPECT_EQ(delay_fad_dsp(line, 0.8f), 0.0f);
  delay_fad_set_attr(line, ATTR_DELAY_REVERSE, 1.0f);
  for (int i = 0; i < 150; ++i) delay_fad_dsp(line, 0.0f);
  EXPECT_EQ(delay_fad_dsp(line, 0.8f), 0.8f * 0.25f);
  // The fade runs from the raw previous input to (1 - m) x: the impulse is
  // written as 0.3 (half of 0.6) and the next slot as 0.4 (half way back
  // down from the raw 0.8), and both come out D and D + 1 samples later.
  std::vector<float> out;
  for (int i = 0; i < 20; ++i) out.push_back(delay_fad_dsp(line, 0.0f));
  for (int i = 0; i < 20; ++i) {
    if (i == 9) {
      EXPECT_FLOAT_EQ(out[i], 0.3f);
    } else if (i == 10) {
      EXPECT_FLOAT_EQ(out[i], 0.4f);
    } else {
      EXPECT_EQ(out[i], 0.0f) << "sample " << i;
    }
  }
}

TEST_F(DelayFad, ClearSilencesButKeepsTheSettings) {
  _delay_fad_struct* line = MakeLine(100, 1000.0f, 10.0f);
  delay_fad_set_attr(line, ATTR_DELAY_MS, 20.0f);
  delay_fad_set_attr(line, ATTR_DELAY_DRY_MIX, 0.5f);
  delay_fad_set_attr(line, ATTR_DELAY_SPEED, 1.0f);
  for (int i = 0; i < 37; ++i) delay_fad_dsp(line, 0.9f);
  delay_fad_set_attr(line, ATTR_DELAY_DRY_MIX, 0.0f);

  delay_fad_clear(line);
  EXPECT_EQ(line->delay_samples, 20u);
  EXPECT_EQ(line->delay_seconds, 20.0f * 0.001f);
  EXPECT_EQ(line->read_pos, 0.0f);
  EXPECT_EQ(line->write_pos, 19.0f);
  EXPECT_EQ(line->previous_input, 0.9f);
  for (uint32_t k = 0; k < line->length; ++k) ASSERT_EQ(line->buffer[k], 0.0f);
  // The first write still fades from the kept previous input (0.9) to the
  // impulse; it reaches the read head after 18 samples.
  const std::vector<float> out = ImpulseResponse(line, 40);
  for (int i = 0; i < 18; ++i) EXPECT_EQ(out[i], 0.0f) << "sample " << i;
  EXPECT_FLOAT_EQ(out[18], 0.95f);
  EXPECT_EQ(out[19], 0.5f);
  for (int i = 20; i < 40; ++i) EXPECT_EQ(out[i], 0.0f) << "sample " << i;
}

TEST_F(DelayFad, EffectStartUpGlidesFromTheWrappedDefaultPosition) {
  // The effect's configuration: 14400 slots at 44100 Hz, cleared at the
  // default half second (beyond the buffer), then set to 100 ms.
  qmx_set_attr(ATTR_SAMPLING_RATE, 44100.0f);
  delay_fad_init(&line_, 14400);
  owned_ = true;
  EXPECT_EQ(line_.delay_samples, 22050u);
  delay_fad_clear(&line_);
  EXPECT_EQ(line_.write_pos, 22049.0f);
  delay_fad_set_attr(&line_, ATTR_DELAY_MS, 100.0f);
  EXPECT_EQ(line_.delay_samples, 4410u);

  delay_fad_dsp(&line_, 0.0f);
  EXPECT_EQ(line_.write_pos, 7650.0f);  // wrote slot 7649, then wrapped
  EXPECT_EQ(line_.read_pos, 5.0f);
  EXPECT_EQ(Gap(line_), 7645.0f);

  float previous = Gap(line_);
  for (int i = 1; i < 2 * 44100; ++i) {
    delay_fad_dsp(&line_, 0.0f);
    const float gap = Gap(line_);
    ASSERT_LE(gap, previous + 1e-3f) << "sample " << i;  // closes in, never overshoots
    previous = gap;
  }
  // Settled one slot short of the delay, give or take what a
  // single-precision read position can resolve at this distance.
  for (int i = 0; i < 44100; ++i) {
    delay_fad_dsp(&line_, 0.0f);
    ASSERT_GE(Gap(line_), 4409.0f);
    ASSERT_LE(Gap(line_), 4410.0f);
  }
}

struct DelayClampCase {
  float ms;
  uint32_t expected;
};

TEST_F(DelayFad, DelayStaysAWholeNumberOfSlotsInsideTheBuffer) {
  const DelayClampCase cases[] = {
      {10.0f, 10},        {10.999f, 10},      {0.5f, 1},       {0.0f, 1},     {-5.0f, 1},
      {kNaN, 1},          {-kInf, 1},         {98.9f, 98},     {99.0f, 99},   {150.0f, 99},
      {1e30f, 99},        {kInf, 99},         {4.3e12f, 99},
  };
  for (int32_t id : {ATTR_DELAY_MS, ATTR_DELAY_MS_RESYNC}) {
    for (const DelayClampCase& c : cases) {
      _delay_fad_struct* line = MakeLine(100, 1000.0f, 50.0f);
      delay_fad_set_attr(line, id, c.ms);
      EXPECT_EQ(line->delay_samples, c.expected) << c.ms << " ms, id " << id;
      for (int i = 0; i < 300; ++i) {
        delay_fad_dsp(line, 1.0f);
        ASSERT_GE(line->read_pos, 0.0f);
        ASSERT_LT(line->read_pos, 100.0f);
        ASSERT_GE(line->write_pos, 0.0f);
        ASSERT_LT(line->write_pos, 100.0f);
      }
      delay_fad_free(line);
      owned_ = false;
    }
  }
}

TEST_F(DelayFad, OneSlotBufferKeepsTheShortestDelay) {
  _delay_fad_struct* line = MakeLine(1, 1000.0f, 10.0f);
  EXPECT_EQ(line->delay_samples, 1u);
  EXPECT_EQ(line->write_pos, 0.0f);
  for (float x : {1.0f, 2.0f, 3.0f}) {
    delay_fad_dsp(line, x);
    EXPECT_EQ(line->read_pos, 0.0f);
    EXPECT_EQ(line->write_pos, 0.0f);
  }
  EXPECT_EQ(line->buffer[0], 2.5f);  // the fade from 2 to 3, half way
}

TEST_F(DelayFad, MissingBufferAnswersSilence) {
  _delay_fad_struct* line = MakeLine(100, 1000.0f, 10.0f);
  delay_fad_free(line);
  owned_ = false;
  EXPECT_EQ(line->buffer, nullptr);
  delay_fad_clear(line);
  EXPECT_EQ(delay_fad_dsp(line, 1.0f), 0.0f);
  EXPECT_EQ(delay_fad_get_output(line), 0.0f);
  delay_fad_free(line);  // a second release is harmless

  delay_fad_init(&line_, 0);
  owned_ = true;
  delay_fad_clear(&line_);
  EXPECT_EQ(delay_fad_dsp(&line_, 1.0f), 0.0f);
}

TEST_F(DelayFad, SpeedIsBoundedByTheBufferAndNaNStopsTheHeads) {
  _delay_fad_struct* line = MakeLine(100, 1000.0f, 10.0f);
  const struct {
    float value, expected;
  } cases[] = {{0.5f, 0.5f}, {-2.0f, -2.0f}, {1e9f, 100.0f}, {kInf, 100.0f}, {-kInf, -100.0f}, {kNaN, 0.0f}};
  for (const auto& c : cases) {
    delay_fad_set_attr(line, ATTR_DELAY_SPEED, c.value);
    EXPECT_EQ(line->read_speed, c.expected) << c.value;
    EXPECT_EQ(line->write_speed, c.expected) << c.value;
  }
  // Speed 0 freezes both heads on the interpolated slot.
  delay_fad_set_attr(line, ATTR_DELAY_SPEED, 1.0f);
  for (int i = 0; i < 20; ++i) delay_fad_dsp(line, 1.0f);
  delay_fad_set_attr(line, ATTR_DELAY_SPEED, 0.0f);
  const float r = line->read_pos;
  const float w = line->write_pos;
  const float held = delay_fad_dsp(line, 0.3f);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(delay_fad_dsp(line, 0.3f), held);
  EXPECT_EQ(line->read_pos, r);
  EXPECT_EQ(line->write_pos, w);
}

TEST_F(DelayFad, UnknownIdsAndUpdateSamplingRateChangeNothing) {
  _delay_fad_struct* line = MakeLine(100, 1000.0f, 10.0f);
  const _delay_fad_struct before = *line;
  for (int32_t id : {int32_t{ATTR_DELAY_SAMPLES}, int32_t{505}, int32_t{509}, int32_t{ATTR_CUTOFF},
                     int32_t{ATTR_SAMPLING_RATE}}) {
    delay_fad_set_attr(line, id, 42.0f);
  }
  qmx_set_attr(ATTR_SAMPLING_RATE, 2000.0f);
  delay_fad_update_sampling_rate(line);
  EXPECT_EQ(std::memcmp(&before, line, sizeof before), 0);
}

// ---------------------------------------------------------------------------
// A plain transcription of the algorithm -- every division, the floor and the
// write walk done every time -- against which the library's shortcuts must
// give the same bits.

struct RefLine {
  uint32_t n = 0;
  std::vector<float> buf;
  float seconds = 0.5f;
  uint32_t d = 1;
  float r = 0, w = 0, rs = 1, ws = 1, xp = 0, m = 0, out = 0;
  bool resync = false, rev = false, rev_req = false, acc = false;
};

float RefWrap(float p, uint32_t n) {
  const float nf = static_cast<float>(n);
  if (p >= 0.0f && p < nf) return p;
  p = std::fmod(p, nf);
  if (p < 0.0f) p += nf;
  if (!(p >= 0.0f && p < nf)) p = 0.0f;
  return p;
}

void RefInit(RefLine& L, uint32_t n) {
  L = RefLine{};
  L.n = n;
  L.buf.assign(n, 0.0f);
  const float p = 0.5f * gAudioSamplingRate;
  L.d = !(p >= 1.0f) ? 1u : (p >= 16777216.0f ? 16777216u : static_cast<uint32_t>(p));
  L.w = static_cast<float>(L.d - 1);
}

void RefClear(RefLine& L) {
  std::fill(L.buf.begin(), L.buf.end(), 0.0f);
  L.r = 0.0f;
  L.w = static_cast<float>(L.d - 1);
}

void RefSet(RefLine& L, int32_t id, float v) {
  if (id == ATTR_DELAY_MS || id == ATTR_DELAY_MS_RESYNC) {
    L.seconds = v * 0.001f;
    const float p = L.seconds * gAudioSamplingRate;
    const uint32_t top = L.n < 2 ? 1 : L.n - 1;
    uint32_t d;
    if (std::isnan(p) || p < 1.0f) {
      d = 1;
    } else if (static_cast<double>(p) >= top) {
      d = top;
    } else {
      d = static_cast<uint32_t>(std::trunc(p));
    }
    if (d != L.d) {
      L.d = d;
      if (id == ATTR_DELAY_MS_RESYNC) L.resync = true;
    }
  } else if (id == ATTR_DELAY_ACCUMULATE) {
    if ((v > 0.5f) != L.acc) {
      L.acc = v > 0.5f;
      L.resync = true;
    }
  } else if (id == ATTR_DELAY_REVERSE) {
    L.rev_req = v > 0.5f;
  } else if (id == ATTR_DELAY_DRY_MIX) {
    L.m = v;
  } else if (id == ATTR_DELAY_SPEED) {
    float s = std::isnan(v) ? 0.0f : v;
    s = std::clamp(s, -static_cast<float>(L.n), static_cast<float>(L.n));
    L.rs = L.ws = s;
  }
}

float RefDsp(RefLine& L, float x) {
  if (L.n == 0) return 0.0f;
  const float N = static_cast<float>(L.n);
  const float D = static_cast<float>(L.d);
  float q;
  if (L.resync) {
    if (!L.rev) {
      L.r = L.w - D + 1.0f;
      if (L.r < 0.0f) L.r += N;
    } else {
      L.r = D + L.w - 1.0f;
      if (L.r >= N) L.r -= N;
    }
    L.r = RefWrap(L.r, L.n);
    L.resync = false;
    q = 1.0f;
  } else {
    const float dist = L.rev ? L.r - L.w + 1.0f : L.w - L.r + 1.0f;
    int64_t g = static_cast<int64_t>(std::trunc(dist));
    if (g < 0) g += L.n;
    q = D / static_cast<float>(g);
  }
  if (L.rev_req != L.rev) {
    L.rev = L.rev_req;
    std::swap(L.r, L.w);
  }
  const float xp = L.xp;
  int64_t i = 0;
  auto value = [&](float a) {
    float v = ((1.0f - L.m) * x - xp) * a + xp;
    if (L.acc) {
      v = v + L.buf[static_cast<size_t>(i)];
      if (v > 1.0f) v = 1.0f;
      else if (v < -1.0f) v = -1.0f;
    }
    return v;
  };
  float wn;
  if (!L.rev) {
    L.r = L.r + L.rs / q;
    if (L.r >= N) L.r -= N;
    L.r = RefWrap(L.r, L.n);
    i = static_cast<int64_t>(std::trunc(L.r));
    const float f = L.r - static_cast<float>(i);
    L.out = (1.0f - f) * L.buf[i] + f * L.buf[(i + 1) % L.n];
    const float lo = std::floor(L.w);
    wn = L.w + L.ws;
    const float s = std::min(1.0f, 1.0f / (std::floor(wn) - lo + 1.0f));
    float a = 0.0f;
    for (double k = lo; k < wn; k += 1.0) {
      a += s;
      int64_t idx = static_cast<int64_t>(k) % static_cast<int64_t>(L.n);
      if (idx < 0) idx += L.n;
      L.buf[idx] = value(a);
    }
    if (wn >= N) wn -= N;
    else if (wn < 0.0f) wn += N;
  } else {
    L.r = L.r - L.rs / q;
    if (L.r < 0.0f) L.r += N;
    L.r = RefWrap(L.r, L.n);
    i = static_cast<int64_t>(std::trunc(L.r));
    const float f = L.r - static_cast<float>(i);
    const int64_t j = i == 0 ? L.n - 1 : i - 1;
    L.out = (1.0f - f) * L.buf[i] + f * L.buf[j] + x * L.m;
    const float hi = std::ceil(L.w);
    wn = L.w - L.ws;
    const float s = std::min(1.0f, 1.0f / (hi - std::ceil(wn) + 1.0f));
    int64_t index = static_cast<int64_t>(std::trunc(wn));
    const int64_t count = static_cast<int64_t>(hi) - index;
    if (index > static_cast<int64_t>(L.n)) index %= L.n;
    float a = 0.0f;
    for (int64_t c = 0; c < count; ++c) {
      a += s;
      if (index <= 0) index = L.n;
      --index;
      L.buf[index] = value(a);
    }
    if (wn < 0.0f) wn += N;
    else if (wn >= N) wn -= N;
  }
  L.xp = x;
  L.w = wn;
  return L.out;
}

bool SameBits(float a, float b) {
  return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b);
}

struct Op {
  enum Kind { kSample, kSet } kind;
  int32_t id;
  float value;
};

// Runs both implementations through the same operations and compares every
// output, both heads and finally the whole buffer, bit for bit.
void RunAgainstReference(uint32_t n, bool clear_after_init, const std::vector<Op>& ops) {
  _delay_fad_struct line;
  delay_fad_init(&line, n);
  RefLine ref;
  RefInit(ref, n);
  if (clear_after_init) {
    delay_fad_clear(&line);
    RefClear(ref);
  }
  ASSERT_EQ(line.write_pos, ref.w);
  size_t step = 0;
  for (const Op& op : ops) {
    if (op.kind == Op::kSet) {
      delay_fad_set_attr(&line, op.id, op.value);
      RefSet(ref, op.id, op.value);
      ASSERT_EQ(line.delay_samples, ref.d) << "op " << step;
    } else {
      const float got = delay_fad_dsp(&line, op.value);
      const float want = RefDsp(ref, op.value);
      ASSERT_TRUE(SameBits(got, want)) << "op " << step << ": " << got << " vs " << want;
      ASSERT_TRUE(SameBits(line.read_pos, ref.r)) << "op " << step;
      ASSERT_TRUE(SameBits(line.write_pos, ref.w)) << "op " << step;
    }
    ++step;
  }
  ASSERT_EQ(std::memcmp(line.buffer, ref.buf.data(), n * sizeof(float)), 0);
  delay_fad_free(&line);
}

TEST_F(DelayFad, EffectUseMatchesThePlainAlgorithmBitForBit) {
  // As in the effect: a delay time handed over at block start, then samples
  // of a soft-clipped loop; delay changes mid-glide and on settled lines.
  qmx_set_attr(ATTR_SAMPLING_RATE, 44100.0f);
  std::mt19937 rng(20240611);
  std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
  std::uniform_real_distribution<float> ms(4.0f, 153.0f);
  std::uniform_int_distribution<int> block(1, 30000);
  std::vector<Op> ops;
  ops.push_back({Op::kSet, ATTR_DELAY_MS, 100.0f});
  for (int b = 0; b < 20; ++b) {
    const int frames = block(rng);
    for (int i = 0; i < frames; ++i) ops.push_back({Op::kSample, 0, sample(rng)});
    ops.push_back({Op::kSet, ATTR_DELAY_MS, ms(rng)});
  }
  RunAgainstReference(14400, true, ops);
}

TEST_F(DelayFad, HighRateStartWrapsTheRecordHeadRepeatedly) {
  // At 96 kHz the default distance is more than three buffers long: the
  // record head comes back into the buffer one length per sample.
  qmx_set_attr(ATTR_SAMPLING_RATE, 96000.0f);
  std::vector<Op> ops;
  ops.push_back({Op::kSet, ATTR_DELAY_MS, 153.0f});
  for (int i = 0; i < 40000; ++i) ops.push_back({Op::kSample, 0, (i % 97) * 0.01f - 0.4f});
  RunAgainstReference(14400, true, ops);
}

TEST_F(DelayFad, EveryOptionMatchesThePlainAlgorithmBitForBit) {
  qmx_set_attr(ATTR_SAMPLING_RATE, 1000.0f);
  std::mt19937 rng(99);
  std::uniform_real_distribution<float> sample(-1.5f, 1.5f);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  std::uniform_int_distribution<int> pick(0, 99);
  const float speeds[] = {1.0f, 1.0f, 0.5f, 2.0f, 0.75f, 1.37f, 0.0f, -1.0f, 3.0f};
  for (uint32_t n : {100u, 37u, 2u}) {
    for (bool clear_first : {true, false}) {
      std::vector<Op> ops;
      for (int i = 0; i < 40000; ++i) {
        const int p = pick(rng);
        if (p < 2) {
          ops.push_back({Op::kSet, unit(rng) < 0.5f ? ATTR_DELAY_MS : ATTR_DELAY_MS_RESYNC,
                         unit(rng) * 120.0f});
        } else if (p == 2) {
          ops.push_back({Op::kSet, ATTR_DELAY_SPEED, speeds[pick(rng) % 9]});
        } else if (p == 3 && pick(rng) < 30) {
          ops.push_back({Op::kSet, ATTR_DELAY_REVERSE, unit(rng)});
        } else if (p == 4 && pick(rng) < 30) {
          ops.push_back({Op::kSet, ATTR_DELAY_ACCUMULATE, unit(rng)});
        } else if (p == 5) {
          ops.push_back({Op::kSet, ATTR_DELAY_DRY_MIX, unit(rng)});
        } else {
          ops.push_back({Op::kSample, 0, sample(rng)});
        }
      }
      SCOPED_TRACE(testing::Message() << "N " << n << (clear_first ? " cleared" : ""));
      RunAgainstReference(n, clear_first, ops);
    }
  }
}

TEST_F(DelayFad, WildValuesKeepBothHeadsInsideTheBuffer) {
  const float wild[] = {kNaN, kInf, -kInf, 1e30f, -1e30f, 0.0f, -0.0f, -3.0f, 0.3f, 1.0f,
                        2.5f, 7.0f, 150.0f, 1e5f, 1e-30f, 4e9f};
  const float rates[] = {44100.0f, 1000.0f, 96000.0f, kNaN, 0.0f, -44100.0f, 1e30f};
  const int32_t ids[] = {ATTR_DELAY_MS,          ATTR_DELAY_MS_RESYNC, ATTR_DELAY_SPEED,
                         ATTR_DELAY_REVERSE,     ATTR_DELAY_ACCUMULATE, ATTR_DELAY_DRY_MIX,
                         ATTR_DELAY_SAMPLES};
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> pick(0, 1 << 20);
  for (uint32_t n : {1u, 2u, 3u, 7u, 100u, 14400u}) {
    for (float rate : rates) {
      qmx_set_attr(ATTR_SAMPLING_RATE, rate);
      _delay_fad_struct line;
      delay_fad_init(&line, n);
      ASSERT_NE(line.buffer, nullptr);
      ASSERT_GE(line.delay_samples, 1u);
      const float w0 = line.write_pos;
      ASSERT_TRUE(std::isfinite(w0));
      bool delay_set = false;
      const int samples = n > 1000 ? 600 : 3000;  // speeds up to N write N slots
      for (int i = 0; i < samples; ++i) {
        if (pick(rng) % 4 == 0) {
          const int32_t id = ids[pick(rng) % 7];
          delay_fad_set_attr(&line, id, wild[pick(rng) % 16]);
          delay_set = delay_set || id == ATTR_DELAY_MS || id == ATTR_DELAY_MS_RESYNC;
          if (pick(rng) % 50 == 0) delay_fad_clear(&line);
        }
        if (delay_set) {
          ASSERT_GE(line.delay_samples, 1u);
          ASSERT_LE(line.delay_samples, std::max(1u, n - 1));
        }
        delay_fad_dsp(&line, wild[pick(rng) % 16]);
        ASSERT_GE(line.read_pos, 0.0f);
        ASSERT_LT(line.read_pos, static_cast<float>(n));
        ASSERT_TRUE(std::isfinite(line.write_pos));
        ASSERT_GE(line.write_pos, 0.0f);
        ASSERT_LE(line.write_pos, std::max(static_cast<float>(n), w0));
      }
      delay_fad_free(&line);
    }
  }
}

}  // namespace
