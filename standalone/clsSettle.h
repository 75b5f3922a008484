// "Quillane.clsSettle": settlement methods (t_Settle), each with the account it posts to.
#pragma once

#include "standalone/standalone_class.h"

namespace quillane::standalone {

class clsSettle : public StandaloneClass {
 public:
  clsSettle();

 protected:
  // FAcctID: 0 for a record without Account, the matched account, or -1 when none matches.
  std::optional<std::string> OwnValue(const Field& field, const TrzRecord& record) override;
};

}  // namespace quillane::standalone
