// Progress of long work, shown on standard error when it is a terminal.
#pragma once

#include "platform/automation/automation.h"

namespace quillane::cli {

// Asks the facade for its progress events and shows them, when standard error is a terminal.
void ShowProgress(const ObjectRef& facade);

}  // namespace quillane::cli
