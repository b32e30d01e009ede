#include "tools/render/preset_io.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace junkyard::render {
namespace {

using presets::Preset;
using presets::PresetFormat;
using presets::PresetKind;

// The largest preset file of this effect is well under a kilobyte; anything
// past this is not worth reading into memory to find out.
constexpr std::uintmax_t kMaxPresetFileBytes = 1u << 20;
// Likewise for what the effect claims its chunk to be.
constexpr VstIntPtr kMaxChunkBytes = 1 << 20;

std::string lowerExtension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

std::string currentProgramName(vsthost::PluginInstance& instance) {
  std::array<char, 256> text{};
  instance.dispatch(effGetProgramName, 0, 0, text.data());
  text.back() = '\0';
  return std::string(text.data());
}

void setProgramName(vsthost::PluginInstance& instance, const std::string& name) {
  std::string text = name;  // the interface takes a non-const pointer
  instance.dispatch(effSetProgramName, 0, 0, text.data());
}

void setValues(vsthost::PluginInstance& instance, const presets::ProgramParams& program) {
  for (std::size_t j = 0; j < program.values.size(); ++j) {
    instance.setParameter(static_cast<VstInt32>(j), program.values[j]);
  }
}

bool setChunk(vsthost::PluginInstance& instance, const Preset& preset, const std::string& path,
              std::string& error) {
  // The effect copies the bytes; a private copy keeps the preset itself const.
  std::vector<uint8_t> bytes = preset.chunk;
  const bool program = preset.kind == PresetKind::Program;
  if (instance.dispatch(effSetChunk, program ? 1 : 0, static_cast<VstIntPtr>(bytes.size()),
                        bytes.data()) == 0) {
    error = path + ": the plug-in refused the " + (program ? "program" : "bank") + " chunk";
    return false;
  }
  return true;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) {
    error = path + ": cannot write: " + std::strerror(errno);
    return false;
  }
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::error_code ec;
    std::filesystem::remove(path, ec);  // half a preset is worse than none
    error = path + ": writing failed";
    return false;
  }
  return true;
}

}  // namespace

std::optional<PresetKind> presetKindForPath(const std::string& path) {
  const std::string ext = lowerExtension(path);
  if (ext == ".fxp") return PresetKind::Program;
  if (ext == ".fxb") return PresetKind::Bank;
  return std::nullopt;
}

presets::Expectations expectationsOf(vsthost::PluginInstance& instance) {
  presets::Expectations expect{};
  AEffect* effect = instance.effect();
  if (!effect) return expect;
  expect.fxID = effect->uniqueID;
  expect.numParams = effect->numParams;
  expect.numPrograms = effect->numPrograms;
  void* data = nullptr;
  VstIntPtr size = instance.dispatch(effGetChunk, 1, 0, &data);
  expect.programChunkSize = data && size > 0 && size <= kMaxChunkBytes ? static_cast<int32_t>(size) : 0;
  data = nullptr;
  size = instance.dispatch(effGetChunk, 0, 0, &data);
  expect.bankChunkSize = data && size > 0 && size <= kMaxChunkBytes ? static_cast<int32_t>(size) : 0;
  return expect;
}

bool readPresetFile(const std::string& path, const presets::Expectations& expect, Preset& preset,
                    std::string& error) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(path, ec);
  if (!std::filesystem::exists(status)) {
    error = path + ": no such file";
    return false;
  }
  if (std::filesystem::is_directory(status)) {
    error = path + ": is a directory, not a preset file";
    return false;
  }
  // Pipes and devices could feed bytes forever.
  if (!std::filesystem::is_regular_file(status)) {
    error = path + ": not a regular file";
    return false;
  }
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec) {
    error = path + ": " + ec.message();
    return false;
  }
  if (size > kMaxPresetFileBytes) {
    error = path + ": " + std::to_string(size) + " bytes is far too large for a preset file";
    return false;
  }
  std::vector<uint8_t> bytes(static_cast<std::size_t>(size));
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot read: " + std::strerror(errno);
    return false;
  }
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (in.gcount() != static_cast<std::streamsize>(bytes.size())) {
    error = path + ": reading failed";
    return false;
  }
  std::string reason;
  std::optional<Preset> parsed = presets::parsePreset(bytes.data(), bytes.size(), expect, reason);
  if (!parsed) {
    error = path + ": " + reason;
    return false;
  }
  preset = std::move(*parsed);
  return true;
}

bool applyBank(vsthost::PluginInstance& instance, const Preset& preset, const std::string& path,
               std::string& error) {
  if (preset.format == PresetFormat::BankParams) {
    // Parameter changes land in the current program, so each program is
    // filled while it is selected.
    for (std::size_t i = 0; i < preset.programs.size(); ++i) {
      instance.dispatch(effSetProgram, 0, static_cast<VstIntPtr>(i));
      setValues(instance, preset.programs[i]);
      setProgramName(instance, preset.programs[i].name);
    }
    instance.dispatch(effSetProgram, 0, preset.currentProgram >= 0 ? preset.currentProgram : 0);
    return true;
  }
  if (!setChunk(instance, preset, path, error)) return false;
  if (preset.currentProgram >= 0) instance.dispatch(effSetProgram, 0, preset.currentProgram);
  return true;
}

bool applyProgram(vsthost::PluginInstance& instance, const Preset& preset, const std::string& path,
                  std::string& error) {
  if (preset.format == PresetFormat::ProgramParams) {
    setValues(instance, preset.programs.front());
    setProgramName(instance, preset.programs.front().name);
    return true;
  }
  return setChunk(instance, preset, path, error);
}

bool savePresetFile(vsthost::PluginInstance& instance, const std::string& path,
                    std::string& error) {
  const std::optional<PresetKind> kind = presetKindForPath(path);
  AEffect* effect = instance.effect();
  if (!kind || !effect) {
    error = path + ": unknown preset extension (use .fxp for a program, .fxb for the bank)";
    return false;
  }
  const bool program = *kind == PresetKind::Program;
  void* data = nullptr;
  const VstIntPtr size = instance.dispatch(effGetChunk, program ? 1 : 0, 0, &data);
  if (!data || size <= 0 || size > kMaxChunkBytes) {
    error = path + ": the plug-in gave no " + (program ? "program" : "bank") + " chunk to save";
    return false;
  }
  // The pointer refers to the effect's live storage: copy before asking it anything else.
  const auto* bytes = static_cast<const uint8_t*>(data);
  const std::vector<uint8_t> chunk(bytes, bytes + size);

  std::vector<uint8_t> file;
  if (program) {
    file = presets::encodeProgramFile(effect->uniqueID, effect->version,
                                      currentProgramName(instance), chunk, effect->numParams);
  } else {
    const VstIntPtr current = instance.dispatch(effGetProgram);
    const int32_t stored =
        current >= 0 && current < effect->numPrograms ? static_cast<int32_t>(current) : -1;
    file = presets::encodeBankFile(effect->uniqueID, effect->version, stored, chunk,
                                   effect->numPrograms);
  }
  return writeFile(path, file, error);
}

}  // namespace junkyard::render
