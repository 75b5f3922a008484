// "Quillane.clsWorkCenter": work centres, items of class 14 whose own columns stand in t_WorkCenter.
#pragma once

#include "itemtypes/item_type_shell.h"

namespace quillane {

class clsWorkCenter : public ItemTypeShell {
 public:
  static constexpr std::int32_t kItemClassID = 14;

  clsWorkCenter();
  std::string className() const override { return "clsWorkCenter"; }
};

}  // namespace quillane
