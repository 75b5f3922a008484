#include "itemtypes/clsCBExpenseElement.h"

#include "platform/automation/factory.h"

namespace quillane {
namespace {

using enum FieldKind;

// The cost item the expense element belongs to, and its four accounts.
constexpr ItemField kExpenseElementFields[] = {
    {.element = "CostItem", .column = "FCostItemID", .kind = Link, .link = LinkKind::Item},
    {.element = "BaseAcct", .column = "FBaseAcctID", .kind = Link, .link = LinkKind::Account},
    {.element = "AssistAcct", .column = "FAssistAcctID", .kind = Link, .link = LinkKind::Account},
    {.element = "MakeAcct", .column = "FMakeAcctID", .kind = Link, .link = LinkKind::Account},
    {.element = "Acct", .column = "FAcctID", .kind = Link, .link = LinkKind::Account},
};

}  // namespace

clsCBExpenseElement::clsCBExpenseElement()
    : ItemTypeShell(kItemClassID, FieldMap(kExpenseElementFields), PropsString::ByValue) {}

QUILLANE_REGISTER_CLASS("Quillane.clsCBExpenseElement", clsCBExpenseElement)

}  // namespace quillane
