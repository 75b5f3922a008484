// "Quillane.clsCBExpenseElement": expense elements, items of class 2004 whose own columns stand in cbExpense.
#pragma once

#include "itemtypes/item_type_shell.h"

namespace quillane {

class clsCBExpenseElement : public ItemTypeShell {
 public:
  static constexpr std::int32_t kItemClassID = 2004;

  clsCBExpenseElement();
  std::string className() const override { return "clsCBExpenseElement"; }
};

}  // namespace quillane
