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

// The arguments every call shares: whose account set, and which item.
void requireItem(const std::string& strPropsString, std::int32_t lItemClassID, std::int32_t lItemID) {
  require(InStr(1, strPropsString, "ConnectString", true) != 0, "The props string names no ConnectString");
  const bool ownClass = (lItemClassID >= 1 && lItemClassID <= 19) || (lItemClassID >= 2000 && lItemClassID <= 2999);
  require(ownClass, "Item class " + std::to_string(lItemClassID) + " keeps no companion data");
  require(lItemID > 0, "Item " + std::to_string(lItemID) + " is no stored item");
}

}  // namespace

bool DataAccess::CreateData(std::string& strPropsString, std::int16_t, std::int16_t, std::int32_t& lItemClassID,
                            std::int32_t& lItemID, std::int32_t& lIsDetail, ObjectRef& oExtra) {
  requireItem(strPropsString, lItemClassID, lItemID);
  require(lIsDetail >= -1 && lIsDetail <= 1, "The detail flag " + std::to_string(lIsDetail) + " is no flag");
  auto extra = std::dynamic_pointer_cast<TrzRecord>(oExtra);
  require(extra && extra->Exists("ParentID") && IsNumeric(extra->Item("ParentID")) && CLng(extra->Item("ParentID")) >= 0,
          "The extra record holds no ParentID");
  return true;
}

bool DataAccess::UpdateData(std::string& strPropsString, std::int16_t, std::int32_t& lItemClassID,
                            std::int32_t& lItemID, std::int32_t& lParentID) {
  requireItem(strPropsString, lItemClassID, lItemID);
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
