// The program's output: a page on standard output or in the file --out names.
#pragma once

#include <string>

#include "tools/quillane/options.h"

namespace quillane::cli {

// The name that stands for standard output (--out) or standard input (--in).
inline constexpr const char* kStandardStream = "-";

// text into the file named by --out, or onto standard output with a line break when --out is missing
// or "-". Throws std::runtime_error naming the file and the system's reason when it cannot be written.
void WriteOut(const CommandLine& line, const std::string& text);

}  // namespace quillane::cli
