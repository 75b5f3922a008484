#include "tools/quillane/report.h"

#include <iostream>
#include <string_view>

#include "tools/quillane/progress.h"

namespace quillane::cli {

void PrintErrors(const std::string& text) {
  if (text.empty()) return;
  EndProgressLine();
  std::string_view rest = text, previous;
  bool first = true;
  while (!rest.empty()) {
    std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (!first && line == previous) continue;
    if (line.empty() && rest.empty()) break;
    std::cerr << line << '\n';
    previous = line;
    first = false;
  }
}

}  // namespace quillane::cli
