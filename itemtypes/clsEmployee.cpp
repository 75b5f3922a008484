#include "itemtypes/clsEmployee.h"

#include "platform/automation/factory.h"

namespace quillane {
namespace {

using enum FieldKind;
using enum ExportTest;

// Hire and leave dates of other account sets say "no date" as year one; a birthday has no such text.
constexpr const char* kOnlyYearOne[] = {"0001-01-01"};

// The employee's department, personal data, groups, job type and four accounts. The allotment
// percentage and the job type travel only above service pack 2.0.0.5; the job type goes by its name,
// and its link is handed on even when it is 0.
constexpr ItemField kEmployeeFields[] = {
    {.element = "Department", .column = "FDepartmentID", .kind = Link, .link = LinkKind::Item, .test = NonZero},
    {.element = "Gender", .column = "FGender", .kind = Link, .link = LinkKind::Assist, .test = NonZero},
    {.element = "Birthday", .column = "FBirthday", .kind = Text},
    {.element = "Degree", .column = "FDegree", .kind = Link, .link = LinkKind::Assist, .test = NonZero},
    {.element = "Phone", .column = "FPhone", .kind = Text},
    {.element = "CardID", .column = "FID", .kind = Text},
    {.element = "Duty", .column = "FDuty", .kind = Link, .link = LinkKind::Assist, .test = NonZero},
    {.element = "HireDate", .column = "FHireDate", .kind = Date, .skip = kOnlyYearOne},
    {.element = "LeaveDate", .column = "FLeaveDate", .kind = Date, .skip = kOnlyYearOne},
    {.element = "BankAccount", .column = "FBankAccount", .kind = Text},
    {.element = "Address", .column = "FAddress", .kind = Text},
    {.element = "Email", .column = "FEmail", .kind = Text},
    {.element = "Note", .column = "FNote", .kind = Text},
    {.element = "ProfessionalGroup", .column = "FProfessionalGroup", .kind = Link, .link = LinkKind::Assist, .test = NonZero},
    {.element = "EmpGroup", .column = "FEmpGroup", .kind = Link, .link = LinkKind::Assist, .test = NonZero},
    {.element = "IsCreditManage", .column = "FIsCreditMgr", .kind = Flag},
    {.element = "AllotPercent", .column = "FAllotPercent", .kind = Number, .gate = Above("2.0.0.5")},
    {.element = "JobType", .column = "FJobTypeID", .kind = Link, .link = LinkKind::JobType, .gate = Above("2.0.0.5")},
    {.element = "OtherArAcctID", .column = "FOtherArAcctID", .kind = Link, .link = LinkKind::Account, .test = NonZero},
    {.element = "OtherAPAcctID", .column = "FOtherAPAcctID", .kind = Link, .link = LinkKind::Account, .test = NonZero},
    {.element = "PreApAcctID", .column = "FPreApAcctID", .kind = Link, .link = LinkKind::Account, .test = NonZero},
    {.element = "PreArAcctID", .column = "FPreArAcctID", .kind = Link, .link = LinkKind::Account, .test = NonZero},
};

}  // namespace

clsEmployee::clsEmployee() : ItemTypeShell(kItemClassID, FieldMap(kEmployeeFields)) {}

QUILLANE_REGISTER_CLASS("Quillane.clsEmployee", clsEmployee)

}  // namespace quillane
