#include "tools/editor_host/edit_report.h"

namespace junkyard::editorhost {

std::optional<VstIntPtr> reportEdit(const vsthost::HostCall& call, std::FILE* out) {
  switch (call.opcode) {
    case audioMasterAutomate:
      std::fprintf(out, "automate %d %.6f\n", static_cast<int>(call.index), static_cast<double>(call.opt));
      break;
    case audioMasterBeginEdit:
      std::fprintf(out, "begin-edit %d\n", static_cast<int>(call.index));
      break;
    case audioMasterEndEdit:
      std::fprintf(out, "end-edit %d\n", static_cast<int>(call.index));
      break;
    default:
      return std::nullopt;
  }
  std::fflush(out);
  return std::nullopt;
}

}  // namespace junkyard::editorhost
