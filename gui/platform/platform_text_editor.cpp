// Caret and editing of the text field, in whole UTF-8 characters.
#include <string>
#include <vector>

#include "gui/platform/platform_text_field.h"

namespace {

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length of the valid UTF-8 character starting at s[i], or 0 when the bytes
// there are no valid character.
size_t validCharacterLength(const std::string& s, size_t i) {
  const auto c = static_cast<unsigned char>(s[i]);
  size_t extra = 0;
  if (c < 0x80) return 1;
  if ((c & 0xE0) == 0xC0 && c >= 0xC2)
    extra = 1;
  else if ((c & 0xF0) == 0xE0)
    extra = 2;
  else if ((c & 0xF8) == 0xF0 && c <= 0xF4)
    extra = 3;
  else
    return 0;
  if (i + extra >= s.size()) return 0;
  for (size_t k = 1; k <= extra; ++k)
    if (!isContinuation(static_cast<unsigned char>(s[i + k]))) return 0;
  return extra + 1;
}

// Whole characters of `s`: valid UTF-8 ones as they are, any other byte as
// the Latin-1 character it would be.
std::vector<std::string> characters(const std::string& s) {
  std::vector<std::string> out;
  for (size_t i = 0; i < s.size();) {
    size_t n = validCharacterLength(s, i);
    if (n) {
      out.push_back(s.substr(i, n));
      i += n;
    } else {
      const auto c = static_cast<unsigned char>(s[i]);
      out.push_back(
          std::string{static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))});
      ++i;
    }
  }
  return out;
}

bool isControl(const std::string& character) {
  if (character.size() != 1) {
    // C1 controls, U+0080 to U+009F.
    return character.size() == 2 && static_cast<unsigned char>(character[0]) == 0xC2 &&
           static_cast<unsigned char>(character[1]) < 0xA0;
  }
  const auto c = static_cast<unsigned char>(character[0]);
  return c < 0x20 || c == 0x7F;
}

}  // namespace

PlatformTextEditor::PlatformTextEditor(std::string initial, size_t maxBytes) : limit(maxBytes) {
  // The initial text is cleaned like typed text, so the caret logic only
  // ever sees valid UTF-8.
  insert(initial);
  caretAt = content.size();
}

void PlatformTextEditor::insert(const std::string& typed) {
  for (const std::string& character : characters(typed)) {
    if (isControl(character)) continue;
    if (content.size() + character.size() > limit) break;
    content.insert(caretAt, character);
    caretAt += character.size();
  }
}

void PlatformTextEditor::backspace() {
  if (caretAt == 0) return;
  size_t start = caretAt - 1;
  while (start > 0 && isContinuation(static_cast<unsigned char>(content[start]))) --start;
  content.erase(start, caretAt - start);
  caretAt = start;
}

void PlatformTextEditor::deleteForward() {
  if (caretAt >= content.size()) return;
  size_t stop = caretAt + 1;
  while (stop < content.size() && isContinuation(static_cast<unsigned char>(content[stop]))) ++stop;
  content.erase(caretAt, stop - caretAt);
}

void PlatformTextEditor::left() {
  if (caretAt == 0) return;
  --caretAt;
  while (caretAt > 0 && isContinuation(static_cast<unsigned char>(content[caretAt]))) --caretAt;
}

void PlatformTextEditor::right() {
  if (caretAt >= content.size()) return;
  ++caretAt;
  while (caretAt < content.size() && isContinuation(static_cast<unsigned char>(content[caretAt])))
    ++caretAt;
}

void PlatformTextEditor::home() { caretAt = 0; }
void PlatformTextEditor::end() { caretAt = content.size(); }
