// The props string the program hands to every call of the facade.
#pragma once

#include <string>

#include "tools/quillane/options.h"

namespace quillane::cli {

// --props as given, or one built from --db and the options that describe the caller.
std::string PropsOf(const CommandLine& line);

}  // namespace quillane::cli
