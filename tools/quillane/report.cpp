#include "tools/quillane/report.h"

#include <iostream>
#include <string_view>

#include "exchange/custom_class_import.h"
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

modFunction::ImportCounts ImportCountsOf(const ObjectRef& object) {
  if (const auto* items = dynamic_cast<const CustomClassImportTally*>(object.get())) return items->ItemCountsOfLastImport();
  return modFunction::ImportCounts::Of(object);
}

void PrintImportSummary(std::int32_t read, const modFunction::ImportCounts& counts) {
  std::cerr << "records read: " << read << "\nrecords imported: " << counts.imported
            << "\nrecords skipped: " << counts.SkippedTotal() << '\n';
  for (const auto& [reason, records] : counts.skipped) std::cerr << "  " << reason << ": " << records << '\n';
  std::cerr << "records failed: " << counts.failed << '\n';
  if (!counts.stoppedBy.empty()) std::cerr << "import stopped by a storage fault: " << counts.stoppedBy << '\n';
}

}  // namespace quillane::cli
