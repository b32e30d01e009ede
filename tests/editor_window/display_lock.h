// The display lock under the name the editor window tests (and the tool tests
// built on them) know it by.
#pragma once

#include "../display_lock.h"

namespace editorwindow {

using xdisplaytest::DisplayLock;

}  // namespace editorwindow
