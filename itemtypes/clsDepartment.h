// "Quillane.clsDepartment": departments, items of class 2 whose own columns stand in t_Department.
#pragma once

#include "itemtypes/item_type_shell.h"

namespace quillane {

class clsDepartment : public ItemTypeShell {
 public:
  static constexpr std::int32_t kItemClassID = 2;

  clsDepartment();
  std::string className() const override { return "clsDepartment"; }
};

}  // namespace quillane
