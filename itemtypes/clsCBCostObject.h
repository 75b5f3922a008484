// "Quillane.clsCBCostObject": cost objects, items of class 2001 whose own columns stand in cbCostObj; the engine carries their products.
#pragma once

#include "itemtypes/item_type_shell.h"

namespace quillane {

class clsCBCostObject : public ItemTypeShell {
 public:
  static constexpr std::int32_t kItemClassID = 2001;

  clsCBCostObject();
  std::string className() const override { return "clsCBCostObject"; }
};

}  // namespace quillane
