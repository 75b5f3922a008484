// "Quillane.clsCashFlowItem": cash-flow items, items of class 9 without a detail table: only the common keys travel.
#pragma once

#include "itemtypes/item_type_shell.h"

namespace quillane {

class clsCashFlowItem : public ItemTypeShell {
 public:
  static constexpr std::int32_t kItemClassID = 9;

  clsCashFlowItem();
  std::string className() const override { return "clsCashFlowItem"; }
};

}  // namespace quillane
