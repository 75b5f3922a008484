// The program's output: a page on standard output or in the file --out names.
#pragma once

#include <string>

#include "tools/quillane/options.h"

namespace quillane::cli {

// text into the file named by --out, or onto standard output with a line break.
void WriteOut(const CommandLine& line, const std::string& text);

}  // namespace quillane::cli
