// "Yield to the message loop": the library lets its host pump events between records. There is no
// message loop here, so the default does nothing; a host (a GUI, the command-line caller, a test)
// installs its own hook.
#pragma once

#include <functional>

namespace quillane {

// Installs the hook for this thread and returns the one it replaces; an empty function restores the
// default.
std::function<void()> SetYieldHook(std::function<void()> hook);
// Runs the installed hook (VB's DoEvents).
void YieldToMessageLoop();

}  // namespace quillane
