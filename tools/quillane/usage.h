// The text of --help.
#pragma once

#include <string>

namespace quillane::cli {

std::string Usage();

}  // namespace quillane::cli
