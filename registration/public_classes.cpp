#include "registration/public_classes.h"

#include <algorithm>

#include "platform/automation/factory.h"
#include "platform/automation/vbtext.h"

namespace quillane::registration {
namespace {

constexpr PublicClass kClasses[] = {
    {"clsExpImp", "{DFC9E922-966B-11D7-9E78-00E01869F6B0}", "{436CB590-279B-4003-BDBC-BBD205F8437A}",
     "{860C7220-996A-43F8-A2F0-538FFC72C80C}"},
    {"clsDataKey", "", "", ""},
    {"clsCustomer", "", "", ""},
    {"clsSupplier", "{DFC9E904-966B-11D7-9E78-00E01869F6B0}", "{A4221F68-A078-11D7-9E7D-00E01869F6B0}",
     "{A4221F69-A078-11D7-9E7D-00E01869F6B0}"},
    {"clsMaterial", "{DFC9E8F8-966B-11D7-9E78-00E01869F6B0}", "{A4221F60-A078-11D7-9E7D-00E01869F6B0}",
     "{A4221F61-A078-11D7-9E7D-00E01869F6B0}"},
    {"clsDepartment", "{DFC9E8EF-966B-11D7-9E78-00E01869F6B0}", "{A4221F5A-A078-11D7-9E7D-00E01869F6B0}",
     "{A4221F5B-A078-11D7-9E7D-00E01869F6B0}"},
    {"clsEmployee", "{DFC9E8F2-966B-11D7-9E78-00E01869F6B0}", "{A4221F5C-A078-11D7-9E7D-00E01869F6B0}",
     "{A4221F5D-A078-11D7-9E7D-00E01869F6B0}"},
    {"clsStock", "{DFC9E8FE-966B-11D7-9E78-00E01869F6B0}", "{A4221F64-A078-11D7-9E7D-00E01869F6B0}",
     "{A4221F65-A078-11D7-9E7D-00E01869F6B0}"},
    {"clsSubCompany", "{DFC9E901-966B-11D7-9E78-00E01869F6B0}", "{A4221F66-A078-11D7-9E7D-00E01869F6B0}",
     "{A4221F67-A078-11D7-9E7D-00E01869F6B0}"},
    {"clsWorkCenter", "{DFC9E90A-966B-11D7-9E78-00E01869F6B0}", "{A4221F6C-A078-11D7-9E7D-00E01869F6B0}",
     "{A4221F6D-A078-11D7-9E7D-00E01869F6B0}"},
    {"clsFee", "{DFC9E8F5-966B-11D7-9E78-00E01869F6B0}", "{A4221F5E-A078-11D7-9E7D-00E01869F6B0}",
     "{A4221F5F-A078-11D7-9E7D-00E01869F6B0}"},
    {"clsCashFlowItem", "", "", ""},
    {"clsCBCostObject", "", "", ""},
    {"clsCBCostItem", "", "", ""},
    {"clsCBExpenseElement", "", "", ""},
    {"clsCBService", "", "", ""},
    {"clsItemClass", "", "", ""},
    {"clsAccount", "", "", ""},
    {"clsAssist", "", "", ""},
    {"clsAuxProp", "", "", ""},
    {"clsCurrency", "", "", ""},
    {"clsMeasureUnit", "", "", ""},
    {"clsSettle", "", "", ""},
    {"clsVoucherGroup", "", "", ""},
    {"clsStockPlace", "", "", ""},
};

}  // namespace

std::span<const PublicClass> PublicClasses() { return kClasses; }

std::string ProgIDOf(const PublicClass& cls) { return "Quillane." + std::string(cls.name); }

bool IsBuilt(const PublicClass& cls) {
  // The load-time table, not the thread's overrides: what registration describes is the build.
  std::vector<std::string> built = RegisteredProgIDs();
  std::string progID = ProgIDOf(cls);
  return std::any_of(built.begin(), built.end(), [&](const std::string& id) { return SameText(id, progID); });
}

const PublicClass* FindByClassId(std::string_view classId) {
  if (classId.empty()) return nullptr;
  for (const PublicClass& cls : kClasses)
    if (SameText(cls.classId, classId)) return &cls;
  return nullptr;
}

}  // namespace quillane::registration
