#include "platform/erp/data_access.h"

#include "platform/automation/factory.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/xml/TrzRecord.h"

namespace quillane::erp {
namespace {

void require(bool holds, const std::string& what) {
  if (!holds) throw AutomationError(static_cast<std::int32_t>(VbError::InvalidProcedureCall), kDataAccessProgID, what);
}

// The kinds of records the component keeps companion data for, and the types it knows of each.
bool keepsCompanionData(std::int16_t iKind, std::int32_t lType) {
  switch (iKind) {
    case kItemKind: return (lType >= 1 && lType <= 19) || (lType >= 2000 && lType <= 2999);
    case kObjectKind: return lType == 105 || lType == 1052 || lType == 120 || lType == 130 || lType == 140;
    default: return false;
  }
}

// The arguments every call shares: whose account set, and which record.
void requireRecord(const std::string& strPropsString, std::int16_t iKind, std::int32_t lType, std::int32_t lID) {
  require(InStr(1, strPropsString, "ConnectString", true) != 0, "The props string names no ConnectString");
  require(keepsCompanionData(iKind, lType), (iKind == kItemKind ? "Item class " : "Object type ") +
                                                std::to_string(lType) + " keeps no companion data");
  require(lID > 0, "Record " + std::to_string(lID) + " is no stored record");
}

// The parent in the extra record of a new record: ParentID for items and most objects, FParentID for
// accounts.
bool holdsParent(const ObjectRef& oExtra) {
  auto extra = std::dynamic_pointer_cast<TrzRecord>(oExtra);
  if (!extra) return false;
  for (const char* key : {"ParentID", "FParentID"})
    if (extra->Exists(key)) return IsNumeric(extra->Item(key)) && CLng(extra->Item(key)) >= 0;
  return false;
}

}  // namespace

bool DataAccess::CreateData(std::string& strPropsString, std::int16_t, std::int16_t iKind, std::int32_t& lType,
                            std::int32_t& lID, std::int32_t& lIsDetail, ObjectRef& oExtra) {
  requireRecord(strPropsString, iKind, lType, lID);
  require(lIsDetail >= -1 && lIsDetail <= 1, "The detail flag " + std::to_string(lIsDetail) + " is no flag");
  require(holdsParent(oExtra), "The extra record holds no ParentID");
  return true;
}

bool DataAccess::UpdateData(std::string& strPropsString, std::int16_t iKind, std::int32_t& lType, std::int32_t& lID,
                            std::int32_t& lParentID) {
  requireRecord(strPropsString, iKind, lType, lID);
  require(lParentID >= 0, "The parent " + std::to_string(lParentID) + " is no item");
  return true;
}

const DispatchTable& DataAccess::dispatchTable() const {
  static const DispatchTable table = DispatchBuilder<DataAccess>()
                                         .method("CreateData", 1, &DataAccess::CreateData)
                                         .method("UpdateData", 2, &DataAccess::UpdateData)
                                         .build();
  return table;
}

QUILLANE_REGISTER_CLASS("Fenwold.DataAccess", DataAccess)

}  // namespace quillane::erp
