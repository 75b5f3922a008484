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
    {"clsCustomer", "{11D9B634-D37C-4E13-88C2-7642AD32B7A6}", "{40C9774D-CBBE-4E3D-914B-1D7B42F3B818}",
     "{C63D3BD3-44CD-4516-921E-E9357EBC40CD}"},
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
    {"clsCashFlowItem", "{3EF59325-0EC6-4342-A161-F8F6AED55BD6}", "{6FBFCA25-8D4E-42C8-9AAE-13290CAEA9D1}",
     "{92CF919B-6A06-4800-A6C9-DD5BBFF97392}"},
    {"clsCBCostObject", "{C9561752-22ED-4266-80EF-37F627C44A30}", "{78CD409A-E991-45B7-9ECB-CF8992B56000}",
     "{EC636F9E-AF4D-4339-B957-13EC5A778B6B}"},
    {"clsCBCostItem", "{F1C6C042-CE6B-4ED3-960F-DA3161C2FC83}", "{32221B3E-C3A7-4B33-9A38-D90FA97E28B9}",
     "{DBF25326-37DF-415A-857C-561194BF28CD}"},
    {"clsCBExpenseElement", "{30C790E1-4ECB-440B-A65A-9E31D5C15626}", "{DF6A21DF-311A-44F9-82AA-B84AE223935F}",
     "{B5F6B8A7-93BA-456D-9AE2-C457B59036FF}"},
    {"clsCBService", "{2E0F1156-51D8-4974-946C-F04FD38C2253}", "{7B27B55A-079B-4DA2-8DF6-2A57809F2E70}",
     "{AD1B5206-4A0B-4ADB-B7C4-9C6D9EC949DB}"},
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
