// The gallery's panel: one captioned well per control class, the controls
// inside them, the listener that prints their reports, and the slow
// animation of the displays.
#pragma once

#include <cstdio>
#include <memory>

#include "editor/ccontrol.h"
#include "tools/gallery/gallery_layout.h"
#include "tools/gallery/gallery_pictures.h"

class CFrame;
class CVuMeter;
class CMovieMeter;
class CMovieBitmap;
class CAutoAnimation;
class CDrawBuffer;
class CParamDisplay;
class CRadioGroup;

namespace gallery {

// Prints one line per report: "<ClassName> tag <tag> value <value>".
class ReportPrinter : public CControlListener {
 public:
  explicit ReportPrinter(std::FILE* out) : out(out) {}
  void valueChanged(CDrawContext* context, CControl* control) override;
  // Reports of this slider also move the parameter display.
  void follow(long sliderTag, CParamDisplay* display) {
    followedTag = sliderTag;
    follower = display;
  }

 private:
  std::FILE* out;
  long followedTag = -1;
  CParamDisplay* follower = nullptr;
};

// The class a gallery tag stands for (null for an unknown tag).
const char* classNameOfTag(long tag);

class Panel {
 public:
  explicit Panel(std::FILE* reports);
  ~Panel();
  Panel(const Panel&) = delete;
  Panel& operator=(const Panel&) = delete;

  // Draws the pictures and places every control in `frame` (which must be
  // kPanelWidth × kPanelHeight); the frame then owns the views.
  void populate(CFrame& frame);
  // Moves the animated displays to where they are `milliseconds` after start.
  void animate(long milliseconds);

 private:
  ReportPrinter printer;
  Pictures pictures;
  std::unique_ptr<CRadioGroup> radioGroup;
  CVuMeter* vu = nullptr;
  CMovieMeter* meter = nullptr;
  CMovieBitmap* dial = nullptr;
  CAutoAnimation* fan = nullptr;
  CDrawBuffer* scope = nullptr;
  long lastFanStep = 0;
  long scopeSamples = 0;
};

}  // namespace gallery
