#include "itemtypes/clsStock.h"

#include "platform/automation/factory.h"

namespace quillane {
namespace {

using enum FieldKind;

// The warehouse's type, administrator, address, phone, property, MRP and stock-management flags and
// stock-place group. Every link is handed on even when it is 0.
constexpr ItemField kStockFields[] = {
    {.element = "Type", .column = "FTypeID", .kind = Link, .link = LinkKind::Assist},
    {.element = "StockAdmin", .column = "FEmpID", .kind = Link, .link = LinkKind::Item},
    {.element = "Address", .column = "FAddress", .kind = Text},
    {.element = "Phone", .column = "FPhone", .kind = Text},
    {.element = "Property", .column = "FProperty", .kind = Link, .link = LinkKind::Assist},
    {.element = "MRPAvail", .column = "FMRPAvail", .kind = Flag},
    {.element = "IsStockMgr", .column = "FIsStockMgr", .kind = Flag},
    {.element = "StockPlaceGroup", .column = "FSPGroupID", .kind = Link, .link = LinkKind::SPGroup},
};

}  // namespace

clsStock::clsStock() : ItemTypeShell(kItemClassID, FieldMap(kStockFields)) {}

QUILLANE_REGISTER_CLASS("Quillane.clsStock", clsStock)

}  // namespace quillane
