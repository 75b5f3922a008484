#include "itemtypes/clsFee.h"

#include "platform/automation/factory.h"

namespace quillane {
namespace {

using enum FieldKind;

// The fee's type, its unit as free text (no unit of measure) and a remark. The type's link is handed on
// even when it is 0.
constexpr ItemField kFeeFields[] = {
    {.element = "FeeType", .column = "FFeeType", .kind = Link, .link = LinkKind::Assist},
    {.element = "Unit", .column = "FUnit", .kind = Text},
    {.element = "Remark", .column = "FRemark", .kind = Text},
};

}  // namespace

clsFee::clsFee() : ItemTypeShell(kItemClassID, FieldMap(kFeeFields)) {}

QUILLANE_REGISTER_CLASS("Quillane.clsFee", clsFee)

}  // namespace quillane
