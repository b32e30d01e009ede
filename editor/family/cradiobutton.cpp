#include "editor/family/cradiobutton.h"

#include <algorithm>
#include <cstring>

CRadioButton::CRadioButton(CRect& size, CRadioGroup* group, int tag, CBitmap* background)
    : COnOffButton(size, group, tag, background), group(group) {
  if (group) group->addButton(this);
}

CRadioButton::~CRadioButton() {
  if (group) group->removeButton(this);
}

bool CRadioButton::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "CRadioButton") == 0) return true;
  return COnOffButton::isTypeOf(type);
}

void CRadioButton::setValue(float newValue) {
  value = newValue;
  if (group && isOn()) group->setActiveButton(this);
}

void CRadioButton::mouse(CDrawContext* context, CPoint& where, long buttons) {
  // Pressing the chosen button again must not leave the group with none.
  if (!isOn()) COnOffButton::mouse(context, where, buttons);
}

CRadioGroup::CRadioGroup(CControlListener* outerListener) : outerListener(outerListener) {}

CRadioGroup::~CRadioGroup() {
  for (CRadioButton* button : buttons) {
    button->group = nullptr;
    if (button->getListener() == this) button->setListener(nullptr);
  }
}

void CRadioGroup::addButton(CRadioButton* button) {
  if (!button || std::find(buttons.begin(), buttons.end(), button) != buttons.end()) return;
  buttons.push_back(button);
}

void CRadioGroup::removeButton(CRadioButton* button) {
  buttons.erase(std::remove(buttons.begin(), buttons.end(), button), buttons.end());
  if (activeButton == button) activeButton = nullptr;
}

void CRadioGroup::setActiveButton(CRadioButton* button) {
  activeButton = button;
  for (CRadioButton* other : buttons)
    // A plain store: the radio button's own setValue is for turning on.
    if (other != button && other->getValue() != 0.0f) other->CControl::setValue(0.0f);
}

void CRadioGroup::valueChanged(CDrawContext* context, CControl* control) {
  const auto found = std::find(buttons.begin(), buttons.end(), control);
  if (found != buttons.end()) setActiveButton(*found);
  if (outerListener) outerListener->valueChanged(context, control);
}

long CRadioGroup::controlModifierClicked(CDrawContext* context, CControl* control, long buttons) {
  // The outer listener decides about modified presses (the learn gesture).
  return outerListener ? outerListener->controlModifierClicked(context, control, buttons) : 0;
}
