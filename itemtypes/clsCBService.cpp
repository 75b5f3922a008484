#include "itemtypes/clsCBService.h"

#include "platform/automation/factory.h"

namespace quillane {
namespace {

using enum FieldKind;

// The service's unit (matched among the items, not among the units of measure), price, cost item,
// decimals and department.
constexpr ItemField kServiceFields[] = {
    {.element = "MeasureUnit", .column = "FUnitID", .kind = Link, .link = LinkKind::Item},
    {.element = "Price", .column = "FPrice", .kind = Number},
    {.element = "CostItem", .column = "FCostItemID", .kind = Link, .link = LinkKind::Item},
    {.element = "QtyDecimal", .column = "FQtyDecimal", .kind = Number},
    {.element = "PriceDecimal", .column = "FPriceDecimal", .kind = Number},
    {.element = "Department", .column = "FDeptID", .kind = Link, .link = LinkKind::Item},
};

}  // namespace

clsCBService::clsCBService() : ItemTypeShell(kItemClassID, FieldMap(kServiceFields), PropsString::ByValue) {}

QUILLANE_REGISTER_CLASS("Quillane.clsCBService", clsCBService)

}  // namespace quillane
