// The program's commands; each returns the process's exit code and throws std::runtime_error or
// AutomationError for a failure of the command as a whole.
#pragma once

#include "tools/quillane/options.h"

namespace quillane::cli {

int Init(const CommandLine& line);
// A page or a bulk file of a data type, or (keys) a page of its deletion keys.
int Export(const CommandLine& line, bool keys);
int Import(const CommandLine& line);
// A page of deletion keys of the data type: the records they name deleted.
int ImportKeys(const CommandLine& line);

}  // namespace quillane::cli
