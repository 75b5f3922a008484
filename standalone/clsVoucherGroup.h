// "Quillane.clsVoucherGroup": voucher groups (t_VoucherGroup), named groups with six range texts and,
// from service pack 3.0.0.0 on, a standard flag and a limit. They have no number: a group is found by
// its UUID or its name.
#pragma once

#include "standalone/standalone_class.h"

namespace quillane::standalone {

class clsVoucherGroup : public StandaloneClass {
 public:
  clsVoucherGroup();

 protected:
  // A range text "0" or "NULL", or none, stores Null.
  std::optional<std::string> OwnValue(const Field& field, const TrzRecord& record) override;
  // A group imported as the standard one becomes the only standard group.
  void AfterUpdate(const TrzRecord& record, std::int32_t lID) override;
};

}  // namespace quillane::standalone
