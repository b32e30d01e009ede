// Finding something by the name or the number a person types on the command line.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace junkyard::render {

// Lower case, surrounding blanks removed: how typed names are compared.
std::string normalised(const std::string& text);

// The index in 0..count-1 that `text` names: its number, or the first index
// for which `matches` accepts the normalised text.
std::optional<int> findByNumberOrName(const std::string& text, int count,
                                      const std::function<bool(int, const std::string&)>& matches);

}  // namespace junkyard::render
