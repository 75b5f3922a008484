// "Quillane.clsMaterial": materials (goods), items of class 4 whose own columns stand in t_ICItem: the
// model and costing method, the extra group, the main set and a tail of columns named as themselves.
#pragma once

#include "itemtypes/item_type_shell.h"

namespace quillane {

class clsMaterial : public ItemTypeShell {
 public:
  static constexpr std::int32_t kItemClassID = 4;

  clsMaterial();
  std::string className() const override { return "clsMaterial"; }
};

}  // namespace quillane
