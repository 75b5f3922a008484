#include "itemtypes/clsCBCostItem.h"

#include "platform/automation/factory.h"

namespace quillane {
namespace {

using enum FieldKind;

// The cost item's type, cost property and cost control, all auxiliary data.
constexpr ItemField kCostItemFields[] = {
    {.element = "Type", .column = "FTypeID", .kind = Link, .link = LinkKind::Assist},
    {.element = "CostProperty", .column = "FCostPropertyID", .kind = Link, .link = LinkKind::Assist},
    {.element = "CostControl", .column = "FCostControlID", .kind = Link, .link = LinkKind::Assist},
};

}  // namespace

clsCBCostItem::clsCBCostItem() : ItemTypeShell(kItemClassID, FieldMap(kCostItemFields), PropsString::ByValue) {}

QUILLANE_REGISTER_CLASS("Quillane.clsCBCostItem", clsCBCostItem)

}  // namespace quillane
