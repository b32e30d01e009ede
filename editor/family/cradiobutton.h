// Radio buttons: on/off buttons that belong to a group, of which at most one
// is on. The group is every button's listener. A press on a button that is
// off switches it on (COnOffButton's press) and reports to the group, which
// switches every other button of the group off and passes the report on to
// its own (outer) listener; a press on a button that is already on does
// nothing. Presses reach the buttons through the toolkit's mouse dispatch.
//
// setValue stores the value; when the value switches the button on, the
// group hears that this button is now the active one. Switching a button off
// tells the group nothing: the group itself switches buttons off, and a
// button switched off must not make itself the active one.
//
// The group keeps plain pointers to its buttons and the buttons one to their
// group; whichever goes first unhooks itself from the other.
#pragma once

#include <vector>

#include "gui/controls/conoffbutton.h"

class CRadioGroup;

class CRadioButton : public COnOffButton {
 public:
  // Joins `group` (may be null: a lone button that reports to nobody).
  CRadioButton(CRect& size, CRadioGroup* group, int tag, CBitmap* background);
  ~CRadioButton() override;

  void setValue(float newValue) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  bool isTypeOf(const char* type) const override;

  CRadioGroup* getGroup() const { return group; }

 private:
  friend class CRadioGroup;
  CRadioGroup* group;
};

class CRadioGroup : public CControlListener {
 public:
  explicit CRadioGroup(CControlListener* outerListener = nullptr);
  virtual ~CRadioGroup();
  CRadioGroup(const CRadioGroup&) = delete;
  CRadioGroup& operator=(const CRadioGroup&) = delete;

  // Once per button; a button already in the list is not added again.
  void addButton(CRadioButton* button);
  void removeButton(CRadioButton* button);
  // Every other button whose value is not 0 is set to 0 (and so redrawn).
  void setActiveButton(CRadioButton* button);

  void valueChanged(CDrawContext* context, CControl* control) override;
  long controlModifierClicked(CDrawContext* context, CControl* control, long buttons) override;

  CControlListener* getOuterListener() const { return outerListener; }
  void setOuterListener(CControlListener* listener) { outerListener = listener; }
  const std::vector<CRadioButton*>& getButtons() const { return buttons; }
  // The button that was made active last (null when none, or after it left).
  CRadioButton* getActiveButton() const { return activeButton; }

 private:
  CControlListener* outerListener;
  std::vector<CRadioButton*> buttons;
  CRadioButton* activeButton = nullptr;
};
