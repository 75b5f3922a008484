// Text the program passes on from the library to the user.
#pragma once

#include <string>

namespace quillane::cli {

// The library's error text on standard error, line by line. A line that repeats the one before it is
// left out: a bulk file whose every batch is refused for one reason says so once.
void PrintErrors(const std::string& text);

}  // namespace quillane::cli
