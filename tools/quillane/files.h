// The program's own reading and writing of files named on the command line.
#pragma once

#include <string>

#include "tools/quillane/options.h"

namespace quillane::cli {

// The bytes of the file; throws std::runtime_error naming it when it cannot be read.
std::string ReadFile(const std::string& path);

// text into the file named by --out, or onto standard output with a line break.
void WriteOut(const CommandLine& line, const std::string& text);

}  // namespace quillane::cli
