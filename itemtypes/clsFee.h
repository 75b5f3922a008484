// "Quillane.clsFee": fees, items of class 2014 whose own columns stand in t_Fee.
#pragma once

#include "itemtypes/item_type_shell.h"

namespace quillane {

class clsFee : public ItemTypeShell {
 public:
  static constexpr std::int32_t kItemClassID = 2014;

  clsFee();
  std::string className() const override { return "clsFee"; }
};

}  // namespace quillane
