// "Quillane.clsStock": warehouses, items of class 5 whose own columns stand in t_Stock.
#pragma once

#include "itemtypes/item_type_shell.h"

namespace quillane {

class clsStock : public ItemTypeShell {
 public:
  static constexpr std::int32_t kItemClassID = 5;

  clsStock();
  std::string className() const override { return "clsStock"; }
};

}  // namespace quillane
