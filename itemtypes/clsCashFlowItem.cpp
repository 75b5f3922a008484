#include "itemtypes/clsCashFlowItem.h"

#include "platform/automation/factory.h"

namespace quillane {

clsCashFlowItem::clsCashFlowItem() : ItemTypeShell(kItemClassID, FieldMap()) {}

QUILLANE_REGISTER_CLASS("Quillane.clsCashFlowItem", clsCashFlowItem)

}  // namespace quillane
