// "Quillane.clsCustomer": customers, items of class 1 whose own columns stand in t_Organization.
#pragma once

#include "itemtypes/item_type_shell.h"

namespace quillane {

class clsCustomer : public ItemTypeShell {
 public:
  static constexpr std::int32_t kItemClassID = 1;

  clsCustomer();
  std::string className() const override { return "clsCustomer"; }
};

}  // namespace quillane
