// A fixed text, drawn like a parameter display.
#pragma once

#include <string>

#include "gui/controls/cparamdisplay.h"

class CTextLabel : public CParamDisplay {
 public:
  CTextLabel(const CRect& size, const char* text = nullptr, CBitmap* background = nullptr,
             const long style = 0);
  ~CTextLabel() override;

  // Null clears the text.
  virtual void setText(const char* text);
  virtual const char* getText() const { return text.c_str(); }

  void draw(CDrawContext* context) override;
  bool isTypeOf(const char* type) const override;

 protected:
  std::string text;
};
