#include "tools/render/name_match.h"

#include <cctype>
#include <charconv>

namespace junkyard::render {

std::string normalised(const std::string& text) {
  std::size_t first = text.find_first_not_of(" \t");
  std::size_t last = text.find_last_not_of(" \t");
  std::string out = first == std::string::npos ? "" : text.substr(first, last - first + 1);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::optional<int> findByNumberOrName(const std::string& text, int count,
                                      const std::function<bool(int, const std::string&)>& matches) {
  const std::string wanted = normalised(text);
  if (wanted.empty()) return std::nullopt;
  int index = -1;
  auto [ptr, ec] = std::from_chars(wanted.data(), wanted.data() + wanted.size(), index);
  if (ec == std::errc() && ptr == wanted.data() + wanted.size()) {
    if (index >= 0 && index < count) return index;
    return std::nullopt;
  }
  for (int i = 0; i < count; ++i)
    if (matches(i, wanted)) return i;
  return std::nullopt;
}

}  // namespace junkyard::render
