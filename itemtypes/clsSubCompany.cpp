#include "itemtypes/clsSubCompany.h"

#include "platform/automation/factory.h"

namespace quillane {
namespace {

using enum FieldKind;
using enum ExportTest;

// The branch's investment and rate figures, six classifications of the auxiliary data, the items it
// trades with and belongs to, and a stock place. The links to items are handed on even when they are 0;
// supplier, customer, department and superior travel only above service pack 2.0.0.3, the corresponding
// supplier and customer from 3.0.0.0 on.
constexpr ItemField kSubCompanyFields[] = {
    {.element = "InvestAmt", .column = "FInvestAmt", .kind = Number},
    {.element = "InvestRate", .column = "FInvestRate", .kind = Number},
    {.element = "BadDebtsRate", .column = "FBadDebtsRate", .kind = Number},
    {.element = "BondInvestAmt", .column = "FBondInvestAmt", .kind = Number},
    {.element = "Trade", .column = "FTrade", .kind = Link, .link = LinkKind::Assist, .test = NonZero},
    {.element = "Region", .column = "FRegionID", .kind = Link, .link = LinkKind::Assist, .test = NonZero},
    {.element = "AcctMode", .column = "FAcctModeID", .kind = Link, .link = LinkKind::Assist, .test = NonZero},
    {.element = "Ownership", .column = "FOwnershipID", .kind = Link, .link = LinkKind::Assist, .test = NonZero},
    {.element = "Assetship", .column = "FAssetshipID", .kind = Link, .link = LinkKind::Assist, .test = NonZero},
    {.element = "SuperDept", .column = "FSuperDeptID", .kind = Link, .link = LinkKind::Assist, .test = NonZero},
    {.element = "RetailStock", .column = "FRetailStockID", .kind = Link, .link = LinkKind::Item},
    {.element = "Provider", .column = "FProviderID", .kind = Link, .link = LinkKind::Item, .gate = Above("2.0.0.3")},
    {.element = "Client", .column = "FClientID", .kind = Link, .link = LinkKind::Item, .gate = Above("2.0.0.3")},
    {.element = "Department", .column = "FDepartmentID", .kind = Link, .link = LinkKind::Item, .gate = Above("2.0.0.3")},
    {.element = "Superior", .column = "FSuperiorID", .kind = Link, .link = LinkKind::Item, .gate = Above("2.0.0.3")},
    {.element = "CorProvider", .column = "FCorProvider", .kind = Link, .link = LinkKind::Item, .gate = AtLeast("3.0.0.0")},
    {.element = "CorCustomer", .column = "FCorCustomer", .kind = Link, .link = LinkKind::Item, .gate = AtLeast("3.0.0.0")},
    {.element = "FStockPlaceID", .column = "FStockPlaceID", .kind = Link, .link = LinkKind::StockPlace},
};

}  // namespace

clsSubCompany::clsSubCompany() : ItemTypeShell(kItemClassID, FieldMap(kSubCompanyFields)) {}

QUILLANE_REGISTER_CLASS("Quillane.clsSubCompany", clsSubCompany)

}  // namespace quillane
