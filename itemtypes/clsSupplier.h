// "Quillane.clsSupplier": suppliers, items of class 8 whose own columns stand in t_Supplier.
#pragma once

#include "itemtypes/item_type_shell.h"

namespace quillane {

class clsSupplier : public ItemTypeShell {
 public:
  static constexpr std::int32_t kItemClassID = 8;

  clsSupplier();
  std::string className() const override { return "clsSupplier"; }
};

}  // namespace quillane
