#include "tools/quillane/tally.h"

namespace quillane::cli {

Tally::Tally(ObjectRef facade, ProgressBar& bar, bool pageTotals) : facade_(std::move(facade)) {
  cookie_ = facade_->Advise([this, &bar, pageTotals](std::string_view event, DispId, Arguments args) {
    if (event == "Progress") {
      if (pageTotals) bar.SetTotal(CLng(args[1]));
      bar.Update(++records);
    } else if (event == "DirtyRecord") {
      clashes += CLng(args[1]);
      clashText += CStr(args[2]);
    }
  });
}

Tally::~Tally() { facade_->Unadvise(cookie_); }

}  // namespace quillane::cli
