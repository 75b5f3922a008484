// "Quillane.clsEmployee": employees, items of class 3 whose own columns stand in t_Emp.
#pragma once

#include "itemtypes/item_type_shell.h"

namespace quillane {

class clsEmployee : public ItemTypeShell {
 public:
  static constexpr std::int32_t kItemClassID = 3;

  clsEmployee();
  std::string className() const override { return "clsEmployee"; }
};

}  // namespace quillane
