// A text the user edits: a click opens a text field over the control, and
// committing the edit (Return, Tab, a click elsewhere, the focus moving
// away) stores the text and reports it to the listener as one edit gesture.
// Escape cancels: nothing is stored or reported. Without a window (a frame
// drawing only into memory) no field can open and a click does nothing.
#pragma once

#include <string>

#include "gui/controls/cparamdisplay.h"

class CTextEdit : public CParamDisplay {
 public:
  // Turns the typed text into the stored one; both buffers have
  // kParamDisplayTextSize bytes, `input` terminated.
  using EditConvert = void (*)(char* input, char* text);
  using EditConvertWithData = void (*)(char* input, char* text, void* userData);

  CTextEdit(const CRect& size, CControlListener* listener, long tag, const char* text = nullptr,
            CBitmap* background = nullptr, const long style = 0);
  ~CTextEdit() override;

  // Texts are kept to kParamDisplayTextSize - 1 bytes (whole characters);
  // null clears the text.
  virtual void setText(const char* text);
  // Copies the text with its terminating zero into `text` (which must hold
  // kParamDisplayTextSize bytes); null is ignored.
  virtual void getText(char* text) const;
  const char* getText() const { return text.c_str(); }

  // Null goes back to storing the typed text as it is.
  virtual void setTextEditConvert(EditConvert convert);
  virtual void setTextEditConvert(EditConvertWithData convert, void* userData);

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  bool isTypeOf(const char* type) const override;

  // The field is open.
  bool isEditing() const { return editing; }

 protected:
  // Lets the user edit `text` in a field over the control; true when the
  // edit was committed (`text` then holds the typed text). Tests replace it
  // to type without a display.
  virtual bool runTextField(std::string& text);
  // The stored form of a committed text (through the conversion, if any).
  std::string convertInput(const std::string& input) const;

  std::string text;
  EditConvert editConvert = nullptr;
  EditConvertWithData editConvertWithData = nullptr;
  void* editConvertData = nullptr;
  bool editing = false;
};
