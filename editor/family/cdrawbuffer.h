// A small oscilloscope: draws the most recent samples as a line over its
// background, one point per pixel column, the oldest at the left.
//
// setData maps every n-th sample s (n = the sample interval, 1 at first) to
// the row top + (1 − s) × (height / 2 − 1), truncated toward zero and kept
// inside the control (samples beyond ±1, NaN and infinities stop at its top
// or bottom row), and pushes it into a ring of one entry per column. Before
// any data every column sits at the row of 0. The line joins each column to
// the one before with a one-pixel-wide vertical run, so steep edges stay
// connected.
#pragma once

#include <cstddef>

#include "editor/ccontrol.h"
#include "gui/ccolor.h"

class CDrawBuffer : public CControl {
 public:
  CDrawBuffer(const CRect& size, CControlListener* listener, long tag, CBitmap* background);
  ~CDrawBuffer() override;

  void draw(CDrawContext* context) override;
  bool isTypeOf(const char* type) const override;

  // Null data or a count below 1 changes nothing.
  virtual void setData(float* data, long count);
  // Intervals below 1 are taken as 1.
  virtual void setSampleInterval(int interval);
  virtual void setWaveColor(CColor& color);

  int getSampleInterval() const { return sampleInterval; }
  CColor getWaveColor() const { return waveColor; }
  // The row of the line in column `column` (0 = leftmost), or -1 outside.
  long rowAt(long column) const;
  // The row a sample maps to.
  long rowForSample(float sample) const;

 protected:
  long columns() const { return static_cast<long>(ringSize); }

  int* ring = nullptr;  // rows, one per column; `next` is the oldest
  size_t ringSize = 0;
  size_t next = 0;
  int sampleInterval = 1;
  CColor waveColor = kBlackCColor;
};
