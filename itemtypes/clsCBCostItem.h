// "Quillane.clsCBCostItem": cost items, items of class 2003 whose own columns stand in cbCostItem.
#pragma once

#include "itemtypes/item_type_shell.h"

namespace quillane {

class clsCBCostItem : public ItemTypeShell {
 public:
  static constexpr std::int32_t kItemClassID = 2003;

  clsCBCostItem();
  std::string className() const override { return "clsCBCostItem"; }
};

}  // namespace quillane
