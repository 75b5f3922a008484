#include "itemtypes/clsWorkCenter.h"

#include "platform/automation/factory.h"

namespace quillane {
namespace {

using enum FieldKind;
using enum ExportTest;

// The work centre's department, note and calendar, key, team time, capacity figures, unit cost and
// capacity calculation type. From the key on, each element bears its column's name. The calendar travels
// only above service pack 2.0.0.5, and an import sets it to 999 whatever the document holds, as for
// departments. The department and team-time links are handed on even when they are 0.
constexpr ItemField kWorkCenterFields[] = {
    {.element = "Department", .column = "FDeptID", .kind = Link, .link = LinkKind::Item},
    {.element = "Note", .column = "FNote", .kind = Text},
    {.element = "CalID", .column = "FCalID", .kind = Number, .gate = Above("2.0.0.5"), .importValue = "999"},
    {.element = "Fkey", .column = "Fkey", .kind = Number},
    {.element = "FTeamTimeID", .column = "FTeamTimeID", .kind = Link, .link = LinkKind::IcTeamTime},
    {.element = "FWorkNumber", .column = "FWorkNumber", .kind = Number},
    {.element = "FDeviceNum", .column = "FDeviceNum", .kind = Number},
    {.element = "FPersonNum", .column = "FPersonNum", .kind = Number},
    {.element = "FEfficiency", .column = "FEfficiency", .kind = Number},
    {.element = "FUseingRate", .column = "FUseingRate", .kind = Number},
    {.element = "FWorkCapacity", .column = "FWorkCapacity", .kind = Number},
    {.element = "FUnitCost", .column = "FUnitCost", .kind = Number},
    {.element = "FCapacityCalType", .column = "FCapacityCalType", .kind = Link, .link = LinkKind::Assist, .test = NonZero},
};

}  // namespace

clsWorkCenter::clsWorkCenter() : ItemTypeShell(kItemClassID, FieldMap(kWorkCenterFields)) {}

QUILLANE_REGISTER_CLASS("Quillane.clsWorkCenter", clsWorkCenter)

}  // namespace quillane
