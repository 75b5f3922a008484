#include "itemtypes/clsCBCostObject.h"

#include "platform/automation/factory.h"

namespace quillane {
namespace {

using enum FieldKind;

// How the cost object is calculated, and its standard product (any item), which older account sets
// do not have.
constexpr ItemField kCostObjectFields[] = {
    {.element = "CalculateType", .column = "FCalculateType", .kind = Link, .link = LinkKind::Assist},
    {.element = "StdProduct", .column = "FStdProductID", .kind = Link, .link = LinkKind::Item, .gate = AtLeast("2.0.0.7")},
};

}  // namespace

clsCBCostObject::clsCBCostObject() : ItemTypeShell(kItemClassID, FieldMap(kCostObjectFields), PropsString::ByValue) {}

QUILLANE_REGISTER_CLASS("Quillane.clsCBCostObject", clsCBCostObject)

}  // namespace quillane
