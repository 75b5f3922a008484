#include "itemtypes/clsDepartment.h"

#include "platform/automation/factory.h"

namespace quillane {
namespace {

using enum FieldKind;
using enum ExportTest;

// The department's contact data, manager, property and cost-account type, cost account, calendar and
// four accounts. FCalID travels only above service pack 2.0.0.5, and an import sets it to 999 whatever
// the document holds.
constexpr ItemField kDepartmentFields[] = {
    {.element = "Note", .column = "FNote", .kind = Text},
    {.element = "Phone", .column = "FPhone", .kind = Text},
    {.element = "Fax", .column = "FFax", .kind = Text},
    {.element = "Manager", .column = "FManager", .kind = Link, .link = LinkKind::Item, .test = NonZero},
    {.element = "Property", .column = "FDProperty", .kind = Link, .link = LinkKind::Assist, .test = NonZero},
    {.element = "CostAccount", .column = "FAcctID", .kind = Link, .link = LinkKind::Account, .test = NonZero},
    {.element = "CostAccountType", .column = "FCostAccountType", .kind = Link, .link = LinkKind::Assist, .test = NonZero},
    {.element = "CalID", .column = "FCalID", .kind = Number, .gate = Above("2.0.0.5"), .importValue = "999"},
    {.element = "OtherArAcctID", .column = "FOtherArAcctID", .kind = Link, .link = LinkKind::Account, .test = NonZero},
    {.element = "OtherAPAcctID", .column = "FOtherAPAcctID", .kind = Link, .link = LinkKind::Account, .test = NonZero},
    {.element = "PreApAcctID", .column = "FPreApAcctID", .kind = Link, .link = LinkKind::Account, .test = NonZero},
    {.element = "PreArAcctID", .column = "FPreArAcctID", .kind = Link, .link = LinkKind::Account, .test = NonZero},
};

}  // namespace

clsDepartment::clsDepartment() : ItemTypeShell(kItemClassID, FieldMap(kDepartmentFields)) {}

QUILLANE_REGISTER_CLASS("Quillane.clsDepartment", clsDepartment)

}  // namespace quillane
