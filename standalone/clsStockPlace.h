// "Quillane.clsStockPlace": stock places (t_StockPlace), a tree through FParentID, each in a group
// (t_StockPlaceGroup) that names one of its places as its default. A place travels with its parent place
// and its group; a group or parent it names that the account set lacks is made on import. Places carry
// no FSystemType of their own making: an imported place keeps the one the database gives it.
#pragma once

#include <cstdint>
#include <string>

#include "standalone/standalone_class.h"

namespace quillane::standalone {

class clsStockPlace : public StandaloneClass {
 public:
  clsStockPlace();

  // HaveInterFace stands third, after Import.
  const DispatchTable& dispatchTable() const override;

 protected:
  // IsDetail (the stored flag without its sign), StockPlaceGroup with IsDefaultStockPlace.
  void PackOwnKey(const Field& field, const ObjectRef& rs, TrzRecord& record) override;
  // The group, the parent place, then the place itself.
  std::int32_t ImportRecord(const TrzRecord& record) override;

 private:
  std::int32_t ImportGroup(const TrzRecord& group);
  // A place that a record names as its parent: found, or made as a bare place of the group.
  std::int32_t AddStockPlace(const std::string& strNumber, const std::string& strName, std::int32_t lGroupID,
                             const std::string& strUUID);
  // The place of the number in the group (anywhere for group 0); 0 when none, or when number and name
  // are both empty. Lookup errors count as none.
  std::int32_t GetIDByNumberGroup(const std::string& strNumber, const std::string& strName, std::int32_t lGroupID);
  // Its id once it is found again; a place that cannot be found after its insert fails the record.
  std::int32_t InsertFound(const std::string& strInsert, const std::string& strNumber, const std::string& strName,
                           std::int32_t lGroupID);
  void UpdatePlace(const TrzRecord& record, std::int32_t lID, std::int32_t lParentID);
};

}  // namespace quillane::standalone
