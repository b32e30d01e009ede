// The module's one exported symbol. The host is C and cannot take an
// exception, so every failure here becomes "no instance".
#include "host/audioeffect.h"

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host) {
  if (!host) return nullptr;
  try {
    // A host that does not name a version is no VST 2 host.
    if (host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    AudioEffect* effect = createEffectInstance(host);
    return effect ? effect->getAeffect() : nullptr;
  } catch (...) {
    return nullptr;
  }
}
