#include "gui/controls/coptionmenu.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "gui/cbitmap.h"
#include "gui/cframe.h"

namespace {

constexpr long kMaxPrefixDigits = 6;

void copyTitle(const std::string& title, char* out) {
  if (!out) return;
  const size_t length = std::min(title.size(), kParamDisplayTextSize - 1);
  std::memcpy(out, title.data(), length);
  out[length] = '\0';
}

// Lets a scheme draw the entries of the platform's menu.
class SchemePainter final : public PlatformMenuPainter {
 public:
  SchemePainter(COptionMenuScheme& scheme, CFont font) : scheme(scheme), font(font) {}

  bool itemSize(const PlatformMenuItem& item, long& width, long& height) override {
    auto* measure = new CDrawContext(nullptr, static_cast<PlatformSurface*>(nullptr));
    measure->setFont(font);
    CPoint size;
    scheme.getItemSize(item.title.c_str(), measure, size);
    measure->forget();
    width = size.x;
    height = size.y;
    return true;
  }

  void paintItem(PlatformSurface* surface, long x, long y, long width, long height,
                 const PlatformMenuItem& item, bool selected) override {
    auto* context = new CDrawContext(nullptr, surface);
    context->setFont(font);
    const CRect rect(x, y, x + width, y + height);
    long state = selected ? kMenuItemSelected : 0;
    if (!item.enabled) state |= kMenuItemDisabled;
    if (item.checked) state |= kMenuItemChecked;
    if (item.hasSubMenu) state |= kMenuItemSubMenu;
    scheme.drawItemBack(context, rect, selected);
    scheme.drawItem(item.title.c_str(), item.index, state, context, rect);
    context->forget();
  }

 private:
  COptionMenuScheme& scheme;
  CFont font;
};

}  // namespace

// ---- scheme ----

COptionMenuScheme::COptionMenuScheme() = default;
COptionMenuScheme::~COptionMenuScheme() = default;

void COptionMenuScheme::setColors(CColor back, CColor selection, CColor text, CColor selectedText,
                                  CColor disabledText) {
  backColor = back;
  selectionColor = selection;
  textColor = text;
  selectedTextColor = selectedText;
  disabledTextColor = disabledText;
}

void COptionMenuScheme::getItemSize(const char* text, CDrawContext* context, CPoint& size) {
  // Room for a check mark on the left and a sub-menu arrow on the right.
  const long textWidth = context ? context->getStringWidth(text) : 0;
  const long fontSize = context ? context->getFontSize() : 12;
  size = CPoint(textWidth + 36, fontSize + 8);
}

void COptionMenuScheme::drawItemBack(CDrawContext* context, const CRect& rect, bool selected) {
  if (!context) return;
  context->setFillColor(selected ? selectionColor : backColor);
  context->fillRect(rect);
}

void COptionMenuScheme::drawItem(const char* text, long itemId, long state, CDrawContext* context,
                                 const CRect& rect) {
  if (!context) return;
  const CColor ink = (state & kMenuItemDisabled)   ? disabledTextColor
                     : (state & kMenuItemSelected) ? selectedTextColor
                                                   : textColor;
  context->setFont(font);
  context->setFontColor(ink);
  CRect textRect = rect;
  textRect.left += 18;
  textRect.right -= 18;
  context->drawString(text, textRect, false, kLeftText);
  const long middle = (rect.top + rect.bottom) / 2;
  context->setFrameColor(ink);
  if (state & kMenuItemChecked) {
    context->moveTo(CPoint(rect.left + 4, middle));
    context->lineTo(CPoint(rect.left + 7, middle + 3));
    context->lineTo(CPoint(rect.left + 12, middle - 3));
  }
  if (state & kMenuItemSubMenu) {
    const CPoint arrow[3] = {CPoint(rect.right - 12, middle - 4), CPoint(rect.right - 8, middle),
                             CPoint(rect.right - 12, middle + 4)};
    context->setFillColor(ink);
    context->fillPolygon(arrow, 3);
  }
}

// ---- menu ----

COptionMenu::COptionMenu(const CRect& size, CControlListener* listener, long tag,
                         CBitmap* background, CBitmap* bgWhenClick, const long style)
    : CParamDisplay(size, background, style), bgWhenClick(bgWhenClick) {
  this->listener = listener;
  this->tag = tag;
  if (bgWhenClick) bgWhenClick->remember();
}

COptionMenu::~COptionMenu() {
  removeAllEntry();
  if (bgWhenClick) bgWhenClick->forget();
  if (scheme) scheme->forget();
}

bool COptionMenu::isTypeOf(const char* type) const {
  if (type && std::strcmp(type, "COptionMenu") == 0) return true;
  return CParamDisplay::isTypeOf(type);
}

bool COptionMenu::holds(const COptionMenu* menu) const {
  for (const Entry& entry : entries)
    if (entry.subMenu && (entry.subMenu == menu || entry.subMenu->holds(menu))) return true;
  return false;
}

bool COptionMenu::addEntry(const char* title, long index) {
  if (!title) return false;
  Entry entry;
  entry.title = title;
  if (index < 0 || index >= getNbEntries())
    entries.push_back(entry);
  else
    entries.insert(entries.begin() + index, entry);
  setDirty();
  return true;
}

bool COptionMenu::addEntry(COptionMenu* subMenu, const char* title) {
  // A menu inside itself would open without end.
  if (!subMenu || !title || subMenu == this || subMenu->holds(this)) return false;
  subMenu->remember();
  Entry entry;
  entry.title = title;
  entry.subMenu = subMenu;
  entries.push_back(entry);
  setDirty();
  return true;
}

bool COptionMenu::removeEntry(long index) {
  if (index < 0 || index >= getNbEntries()) return false;
  COptionMenu* subMenu = entries[static_cast<size_t>(index)].subMenu;
  entries.erase(entries.begin() + index);
  if (subMenu) subMenu->forget();
  setDirty();
  return true;
}

bool COptionMenu::removeAllEntry() {
  while (!entries.empty()) removeEntry(getNbEntries() - 1);
  lastMenu = nullptr;
  lastResult = -1;
  return true;
}

long COptionMenu::rawIndex(long index, bool countSeparator) const {
  if (index < 0) return -1;
  if (countSeparator) return index < getNbEntries() ? index : -1;
  long seen = -1;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (isSeparator(entries[i])) continue;
    if (++seen == index) return static_cast<long>(i);
  }
  return -1;
}

long COptionMenu::currentRaw() const {
  // Host values may be anything: only a value naming an entry counts.
  if (!(value >= 0.0f) || !(value < static_cast<float>(getNbEntries()))) return -1;
  return static_cast<long>(value);
}

long COptionMenu::getCurrent(char* title, bool countSeparator) const {
  const long raw = currentRaw();
  if (title) copyTitle(raw >= 0 ? entries[static_cast<size_t>(raw)].title : std::string(), title);
  if (raw < 0 || countSeparator) return raw;
  if (isSeparator(entries[static_cast<size_t>(raw)])) return -1;
  long index = 0;
  for (long i = 0; i < raw; ++i)
    if (!isSeparator(entries[static_cast<size_t>(i)])) ++index;
  return index;
}

bool COptionMenu::setCurrent(long index, bool countSeparator) {
  const long raw = rawIndex(index, countSeparator);
  if (raw < 0) return false;
  value = static_cast<float>(raw);
  if (style & kCheckStyle) checkEntryAlone(raw);
  setDirty();
  return true;
}

bool COptionMenu::getEntry(long index, char* title) const {
  if (index < 0 || index >= getNbEntries()) return false;
  copyTitle(entries[static_cast<size_t>(index)].title, title);
  return true;
}

bool COptionMenu::setEntry(long index, const char* title) {
  if (!title || index < 0 || index >= getNbEntries()) return false;
  entries[static_cast<size_t>(index)].title = title;
  setDirty();
  return true;
}

long COptionMenu::getIndex(const char* title) const {
  if (!title) return -1;
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries[i].title == title) return static_cast<long>(i);
  return -1;
}

bool COptionMenu::checkEntry(long index, bool state) {
  if (index < 0 || index >= getNbEntries()) return false;
  entries[static_cast<size_t>(index)].checked = state;
  return true;
}

bool COptionMenu::checkEntryAlone(long index) {
  if (index < 0 || index >= getNbEntries()) return false;
  for (size_t i = 0; i < entries.size(); ++i) entries[i].checked = static_cast<long>(i) == index;
  return true;
}

bool COptionMenu::isCheckEntry(long index) const {
  if (index < 0 || index >= getNbEntries()) return false;
  return entries[static_cast<size_t>(index)].checked;
}

void COptionMenu::setPrefixNumbers(long digits) {
  prefixDigits = std::clamp(digits, 0L, kMaxPrefixDigits);
}

COptionMenu* COptionMenu::getSubMenu(long index) const {
  if (index < 0 || index >= getNbEntries()) return nullptr;
  return entries[static_cast<size_t>(index)].subMenu;
}

COptionMenu* COptionMenu::getLastItemMenu(long& indexInMenu) const {
  // The menu chosen in may have been removed since.
  if (!lastMenu || (lastMenu != this && !holds(lastMenu))) {
    indexInMenu = -1;
    return nullptr;
  }
  indexInMenu = lastResult;
  return lastMenu;
}

void COptionMenu::setScheme(COptionMenuScheme* newScheme) {
  if (newScheme) newScheme->remember();
  if (scheme) scheme->forget();
  scheme = newScheme;
}

std::string COptionMenu::menuText(long index) const {
  if (index < 0 || index >= getNbEntries()) return {};
  const Entry& entry = entries[static_cast<size_t>(index)];
  if (isSeparator(entry)) return entry.title;
  std::string text = isDisabled(entry) ? entry.title.substr(1) : entry.title;
  if (prefixDigits > 0) {
    long number = 0;
    for (long i = 0; i <= index; ++i)
      if (!isSeparator(entries[static_cast<size_t>(i)])) ++number;
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "%0*ld. ", static_cast<int>(prefixDigits), number);
    text = prefix + text;
  }
  return text;
}

std::vector<PlatformMenuItem> COptionMenu::menuDescription() const {
  std::vector<PlatformMenuItem> items;
  const long current = currentRaw();
  for (size_t i = 0; i < entries.size(); ++i) {
    const Entry& entry = entries[i];
    PlatformMenuItem item;
    item.owner = const_cast<COptionMenu*>(this);
    item.index = static_cast<long>(i);
    item.separator = isSeparator(entry);
    item.title = menuText(static_cast<long>(i));
    item.enabled = !item.separator && !isDisabled(entry);
    item.checked = entry.checked || ((style & kCheckStyle) && current == static_cast<long>(i));
    if (entry.subMenu) {
      item.hasSubMenu = true;
      item.subItems = entry.subMenu->menuDescription();
    }
    items.push_back(std::move(item));
  }
  return items;
}

std::string COptionMenu::shownText() const {
  const long raw = currentRaw();
  if (raw < 0) return {};
  const Entry& entry = entries[static_cast<size_t>(raw)];
  if (entry.subMenu) return entry.subMenu->shownText();
  if (isSeparator(entry)) return {};
  return isDisabled(entry) ? entry.title.substr(1) : entry.title;
}

void COptionMenu::draw(CDrawContext* context) {
  const std::string text = shownText();
  drawText(context, text.c_str(), menuOpen ? bgWhenClick : nullptr);
  setDirty(false);
}

bool COptionMenu::choose(CDrawContext* context, const std::vector<long>& path) {
  if (path.empty()) return false;
  COptionMenu* menu = this;
  for (size_t level = 0; level < path.size(); ++level) {
    const long index = path[level];
    if (index < 0 || index >= menu->getNbEntries()) return false;
    const Entry& entry = menu->entries[static_cast<size_t>(index)];
    const bool last = level + 1 == path.size();
    if (last != (entry.subMenu == nullptr)) return false;
    if (isSeparator(entry) || isDisabled(entry)) return false;
    if (!last) menu = entry.subMenu;
  }
  // Every menu on the way shows where the choice lies.
  menu = this;
  for (const long index : path) {
    menu->value = static_cast<float>(index);
    if (menu->style & kCheckStyle) menu->checkEntryAlone(index);
    menu->lastResult = path.back();
    menu->lastMenu = nullptr;
    menu->setDirty();
    COptionMenu* next = menu->entries[static_cast<size_t>(index)].subMenu;
    if (!next) break;
    menu = next;
  }
  menu->lastMenu = menu;
  lastMenu = menu;
  lastResult = path.back();
  beginEdit();
  if (listener) listener->valueChanged(context, this);
  endEdit();
  return true;
}

void COptionMenu::mouse(CDrawContext* context, CPoint& where, long buttons) {
  if (!getMouseEnabled() || menuOpen) return;
  if (buttons == -1) buttons = currentButtons(context);
  if (offerModifierClick(context, buttons)) return;
  if (!(buttons & kMouseLeft) || entries.empty()) return;

  menuOpen = true;
  if (bgWhenClick) {
    setDirty();
    redraw();
  }
  std::vector<long> path;
  const bool chosen = runPopup(path);
  menuOpen = false;
  setDirty();
  if (bgWhenClick) redraw();
  if (chosen) choose(context, path);
}

bool COptionMenu::runPopup(std::vector<long>& path) {
  if (!frame || !frame->getPlatformWindow()) return false;
  CPoint corner(viewSize.left, (style & kPopupStyle) ? viewSize.top : viewSize.bottom);
  localToFrame(corner);
  PlatformMenuStyle look;
  auto* measure = new CDrawContext(nullptr, static_cast<PlatformSurface*>(nullptr));
  measure->setFont(fontID, 0, txtFace);
  look.fontSize = static_cast<double>(measure->getFontSize());
  measure->forget();
  std::unique_ptr<SchemePainter> painter;
  if (scheme) painter = std::make_unique<SchemePainter>(*scheme, fontID);
  const std::vector<PlatformMenuItem> items = menuDescription();
  return platformPopupMenuRun(frame->getPlatformWindow(), corner.x, corner.y, viewSize.width(),
                              items, look, painter.get(), path) == PlatformMenuOutcome::chosen;
}
