// "Fenwold.DataAccess": the ERP's component that keeps the companion data of item records (the rows
// other modules hang off a new item). The item engine calls it for every record of the ERP's own item
// classes (1 to 19, 2000 to 2999) that it inserts or writes, inside the record's transaction.
//
// This stand-in checks its arguments and writes nothing: a component that wrote over a connection of its
// own while the engine holds the record's transaction would wait for the engine's lock for ever. Tests
// replace it by ProgID (ClassOverride) to record the calls or to fail them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/automation/object.h"

namespace quillane::erp {

inline constexpr const char* kDataAccessProgID = "Fenwold.DataAccess";

class DataAccess : public AutomationObject {
 public:
  // The companion data of a new item: iMode and iKind as the engine passes them (-1, 1); lIsDetail -1,
  // 0 or 1; oExtra a record holding ParentID, the item's parent group (0 at the top). True when the
  // arguments hold; error 5 naming the argument otherwise.
  bool CreateData(std::string& strPropsString, std::int16_t iMode, std::int16_t iKind, std::int32_t& lItemClassID,
                  std::int32_t& lItemID, std::int32_t& lIsDetail, ObjectRef& oExtra);
  // The companion data of an item the engine has written (iKind 1), under its parent lParentID.
  bool UpdateData(std::string& strPropsString, std::int16_t iKind, std::int32_t& lItemClassID, std::int32_t& lItemID,
                  std::int32_t& lParentID);

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "DataAccess"; }
};

}  // namespace quillane::erp
