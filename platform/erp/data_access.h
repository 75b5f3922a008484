// "Fenwold.DataAccess": the ERP's component that keeps the companion data of records (the rows other
// modules hang off a new record). The item engine calls it for every record of the ERP's own item
// classes (1 to 19, 2000 to 2999) that it inserts or writes; the standalone types for their new
// accounts (object types 105 and 1052), currencies (120), settlement methods (130) and voucher groups
// (140). Every call comes inside the record's transaction.
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
// The kinds of records a call names (its iKind): items by item class, other objects by object type.
inline constexpr std::int16_t kItemKind = 1;
inline constexpr std::int16_t kObjectKind = 3;

class DataAccess : public AutomationObject {
 public:
  // The companion data of a new record lID: iMode -1; iKind kItemKind with lType an item class, or
  // kObjectKind with lType an object type; lIsDetail -1, 0 or 1; oExtra a record holding ParentID (or,
  // for accounts, FParentID), the record's parent (0 at the top). True when the arguments hold; error 5
  // naming the argument otherwise.
  bool CreateData(std::string& strPropsString, std::int16_t iMode, std::int16_t iKind, std::int32_t& lType,
                  std::int32_t& lID, std::int32_t& lIsDetail, ObjectRef& oExtra);
  // The companion data of a record that was written, of the kind and type CreateData takes, under its
  // parent lParentID.
  bool UpdateData(std::string& strPropsString, std::int16_t iKind, std::int32_t& lType, std::int32_t& lID,
                  std::int32_t& lParentID);

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "DataAccess"; }
};

}  // namespace quillane::erp
