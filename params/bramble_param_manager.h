// The effect's six parameters on the generic registry, with the displays the
// front panel uses: knobs read 0.0 to 10.0, the selector Mic/Line, the power
// switch On/Off.
#pragma once

#include "params/mf_param_manager.h"

// One index per parameter, shared by the host, the editor's control tags, the
// program slots and the registry ids.
enum {
  kMicLevel = 0,
  kDelay = 1,
  kRepeat = 2,
  kDepth = 3,
  kInputSelector = 4,
  kPowerSwitch = 5,
  kNumParams = 6,
};

class brambleParamManager : public mf_paramManager {
 public:
  brambleParamManager();
  ~brambleParamManager() override = default;

  void getValueString(long id, char* destination, int length) override;
};
