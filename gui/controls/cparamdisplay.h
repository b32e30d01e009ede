// A display of the control's value as text: the value goes through a
// conversion function (or a plain two-decimal format) and is drawn over the
// back colour or the background picture, with an optional frame and shadow.
#pragma once

#include <string>

#include "editor/ccontrol.h"
#include "gui/ccolor.h"
#include "gui/cdrawcontext.h"
#include "gui/controls/cstyles.h"

// Room for the text a conversion function writes, terminating zero included.
constexpr size_t kParamDisplayTextSize = 256;

class CParamDisplay : public CControl {
 public:
  // Turns a value into the text shown; `text` has kParamDisplayTextSize bytes.
  using StringConvert = void (*)(float value, char* text);
  using StringConvertWithData = void (*)(float value, char* text, void* userData);

  CParamDisplay(const CRect& size, CBitmap* background = nullptr, const long style = 0);
  ~CParamDisplay() override;

  virtual void setFont(CFont fontID);
  virtual CFont getFont() const { return fontID; }
  virtual void setFontColor(CColor color);
  virtual CColor getFontColor() const { return fontColor; }
  virtual void setBackColor(CColor color);
  virtual CColor getBackColor() const { return backColor; }
  virtual void setFrameColor(CColor color);
  virtual CColor getFrameColor() const { return frameColor; }
  virtual void setShadowColor(CColor color);
  virtual CColor getShadowColor() const { return shadowColor; }
  virtual void setHoriAlign(CHoriTxtAlign align);
  virtual CHoriTxtAlign getHoriAlign() const { return horiTxtAlign; }
  // kNormalFace or a combination of kBoldFace, kItalicFace, kUnderlineFace.
  virtual void setTxtFace(CTxtFace face);
  virtual CTxtFace getTxtFace() const { return txtFace; }
  // Null goes back to the plain format.
  virtual void setStringConvert(StringConvert convert);
  virtual void setStringConvert(StringConvertWithData convert, void* userData);
  // Style bits of cstyles.h: kShadowText, k3DIn, k3DOut, kNoTextStyle,
  // kNoDrawStyle, kNoFrame.
  virtual void setStyle(long newStyle);
  virtual long getStyle() const { return style; }
  // With transparent text the back is not filled: the text goes straight
  // over what lies beneath.
  virtual void setTextTransparency(bool state);
  virtual bool getTextTransparency() const { return textTransparency; }

  void draw(CDrawContext* context) override;
  bool isTypeOf(const char* type) const override;

  // The text that the value stands for now.
  std::string valueText() const;

 protected:
  // Draws back, frame and `text` (null draws none) into the view's
  // rectangle; `otherBackground` replaces the background picture when given.
  void drawText(CDrawContext* context, const char* text, CBitmap* otherBackground = nullptr);

  StringConvert stringConvert = nullptr;
  StringConvertWithData stringConvertWithData = nullptr;
  void* userData = nullptr;

  CHoriTxtAlign horiTxtAlign = kCenterText;
  long style;
  CFont fontID = kNormalFontSmall;
  CTxtFace txtFace = kNormalFace;
  CColor fontColor = kWhiteCColor;
  CColor backColor = kBlackCColor;
  CColor frameColor = kBlackCColor;
  CColor shadowColor = kGreyCColor;
  bool textTransparency = false;
};
