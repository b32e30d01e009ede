#include "tools/render/program_select.h"

#include "tools/render/name_match.h"

#include <array>
#include <cctype>

namespace junkyard::render {
namespace {

// Text answers come through a zero-filled buffer far larger than the
// interface allows, so a missing terminator still ends inside it.
std::string dispatchText(vsthost::PluginInstance& instance, VstInt32 opcode, VstInt32 index,
                         VstIntPtr value = 0) {
  std::array<char, 256> text{};
  instance.dispatch(opcode, index, value, text.data());
  text.back() = '\0';
  return std::string(text.data());
}

}  // namespace

int programCount(vsthost::PluginInstance& instance) {
  AEffect* effect = instance.effect();
  return effect && effect->numPrograms > 0 ? effect->numPrograms : 0;
}

std::string programName(vsthost::PluginInstance& instance, int index) {
  return dispatchText(instance, effGetProgramNameIndexed, index);
}

std::optional<int> findProgram(vsthost::PluginInstance& instance, const std::string& text) {
  return findByNumberOrName(text, programCount(instance), [&](int i, const std::string& wanted) {
    return normalised(programName(instance, i)) == wanted;
  });
}

void listPrograms(vsthost::PluginInstance& instance, std::FILE* out) {
  AEffect* effect = instance.effect();
  const int params = effect ? effect->numParams : 0;
  const int count = programCount(instance);

  // Columns padded to the widest text the effect gives (8 characters), the
  // last one not padded at all.
  auto column = [&](int j, const std::string& text) {
    std::fprintf(out, j + 1 < params ? "  %-8s" : "  %s", text.c_str());
  };
  std::fprintf(out, "%-5s  %-24s", "index", "name");
  for (int j = 0; j < params; ++j) column(j, instance.getParameterName(j));
  std::fputc('\n', out);

  const VstIntPtr current = instance.dispatch(effGetProgram);
  for (int i = 0; i < count; ++i) {
    instance.dispatch(effSetProgram, 0, i);
    std::fprintf(out, "%-5d  %-24s", i, programName(instance, i).c_str());
    for (int j = 0; j < params; ++j) {
      std::string display = instance.getParameterDisplay(j);
      std::string label = instance.getParameterLabel(j);
      if (!label.empty()) display += " " + label;
      column(j, display);
    }
    std::fputc('\n', out);
  }
  if (current >= 0 && current < count) instance.dispatch(effSetProgram, 0, current);
}

std::string programFileTag(const std::string& name, int index) {
  std::string tag;
  for (char c : normalised(name)) {
    const unsigned char u = static_cast<unsigned char>(c);
    const bool keep = std::isalnum(u) || c == '_' || c == '.' || c == '+';
    const char next = keep ? c : '-';
    // Runs of blanks and odd characters make a single hyphen.
    if (next == '-' && (tag.empty() || tag.back() == '-')) continue;
    tag += next;
  }
  while (!tag.empty() && (tag.back() == '-' || tag.back() == '.')) tag.pop_back();
  if (tag.empty() || tag.front() == '.') tag = "program-" + std::to_string(index);
  return tag;
}

}  // namespace junkyard::render
