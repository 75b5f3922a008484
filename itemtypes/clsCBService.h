// "Quillane.clsCBService": services, items of class 2002 whose own columns stand in cbService.
#pragma once

#include "itemtypes/item_type_shell.h"

namespace quillane {

class clsCBService : public ItemTypeShell {
 public:
  static constexpr std::int32_t kItemClassID = 2002;

  clsCBService();
  std::string className() const override { return "clsCBService"; }
};

}  // namespace quillane
