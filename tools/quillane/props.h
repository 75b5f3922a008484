// The props string the program hands to every call of the facade.
#pragma once

#include <string>

#include "accountset/accountset.h"
#include "tools/quillane/options.h"

namespace quillane::cli {

// The kind of account set that --acct-type names (industrial when it is not given).
accountset::Kind KindOf(const CommandLine& line);

// --props as given, or one built from --db and the options that describe the caller.
std::string PropsOf(const CommandLine& line);

}  // namespace quillane::cli
