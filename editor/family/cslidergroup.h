// Several vertical sliders side by side in one control, all drawn with the
// same handle picture over one background.
//
// Layout: the control's width is shared out into `count` tracks of equal
// width (the integer division's remainder goes to the later ones: track k
// spans left + k × width / count up to left + (k + 1) × width / count) and
// the full height. A slider's handle sits centred across its track; value 1
// puts its top at the control's top, value 0 its bottom at the control's
// bottom, in between truncate((1 − value) × (height − handle height)) below
// the top. Values outside 0..1 (and NaN, as 0) are drawn at the nearest end
// but kept as set. drawOneSlider draws the track's part of the background,
// then the handle (transparently when the transparency flag is set).
//
// Mouse (through the toolkit's mouse dispatch): a left press in a track sets that slider so that
// the handle's middle follows the pointer, and goes on while the button is held; every change is
// reported. The slider being edited is getCurrentSlider(), and the control's own value field
// mirrors its value, so a listener can read it through CControl as for any control. A command-click
// (exactly left + command) in a track sets that slider to the default value and reports.
#pragma once

#include <vector>

#include "editor/ccontrol.h"

class CSliderGroup : public CControl {
 public:
  // `count` is kept within 1..kMaxSliders.
  CSliderGroup(const CRect& size, CControlListener* listener, long tag, long count, CBitmap* handle,
               CBitmap* background);
  ~CSliderGroup() override;

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  bool isTypeOf(const char* type) const override;

  // 0 for an index outside the group.
  virtual float getValue(long index) const;
  // A plain store (an index outside the group is ignored); marks the group
  // for drawing.
  virtual void setValue(long index, float newValue);
  // The track under `where` (parent coordinates; the right and bottom edges
  // count as inside, as for hit tests), or -1.
  virtual long inSliderTrack(CPoint where) const;
  virtual void drawOneSlider(CDrawContext* context, long index);

  using CControl::getValue;
  using CControl::setValue;

  long getCount() const { return static_cast<long>(values.size()); }
  long getCurrentSlider() const { return currentSlider; }
  CRect trackRect(long index) const;
  CRect handleRect(long index) const;

  static constexpr long kMaxSliders = 256;

 protected:
  // The value that puts the handle's middle at row `y`, within 0..1.
  float valueFromRow(long y) const;
  void report(CDrawContext* context, long index, float newValue);

  std::vector<float> values;
  CBitmap* handle;
  long currentSlider = 0;
};
