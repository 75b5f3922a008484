// What a facade call reports through its events while it runs: the records it works through (one
// Progress event each, in export and import alike) and the records that met an existing number
// (DirtyRecord). The count drives a progress bar as it grows.
#pragma once

#include <cstdint>
#include <string>

#include "platform/automation/automation.h"
#include "tools/quillane/progress.h"

namespace quillane::cli {

class Tally {
 public:
  // pageTotals: the call handles one document, whose size each Progress event carries; otherwise the
  // events' totals are those of a page or batch and the bar keeps the total it was given.
  Tally(ObjectRef facade, ProgressBar& bar, bool pageTotals);
  ~Tally();
  Tally(const Tally&) = delete;
  Tally& operator=(const Tally&) = delete;

  std::int32_t records = 0;
  std::int32_t clashes = 0;
  std::string clashText;  // the library's description of the clashes, as it reported them

 private:
  ObjectRef facade_;
  AutomationObject::SinkCookie cookie_;
};

}  // namespace quillane::cli
