// "Quillane.clsSubCompany": branches, items of class 10 whose own columns stand in t_SonCompany.
#pragma once

#include "itemtypes/item_type_shell.h"

namespace quillane {

class clsSubCompany : public ItemTypeShell {
 public:
  static constexpr std::int32_t kItemClassID = 10;

  clsSubCompany();
  std::string className() const override { return "clsSubCompany"; }
};

}  // namespace quillane
