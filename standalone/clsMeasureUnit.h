// "Quillane.clsMeasureUnit": units of measure (t_MeasureUnit) with their groups (t_UnitGroup). Both are
// items of class 7 as well: a group's id and a unit's id are the FItemID of their t_Item rows, the group's
// row at level 1, the unit's at level 2 under it. A unit travels with its group's name and UUID and with
// the mark of its group's standard unit.
//
// Units are the one standalone type that settles number clashes through the conflict rules; the clashes
// and the rule taken for all of them are the object's state, which no Import resets, and DirtyRecord
// reports them at the end of every Import that has met any.
#pragma once

#include <cstdint>
#include <string>

#include "exchange/modFunction_conflict.h"
#include "standalone/standalone_class.h"

namespace quillane::standalone {

class clsMeasureUnit : public StandaloneClass {
 public:
  clsMeasureUnit();

 protected:
  // MeasureUnitGroup and Standard, from the row's group.
  void PackOwnKey(const Field& field, const ObjectRef& rs, TrzRecord& record) override;
  void BeginPage() override;
  // The group (found, or made with its item row), then the unit.
  std::int32_t ImportRecord(const TrzRecord& record) override;
  // DirtyRecord(7, clashes so far, their description) when there were any.
  void AfterImport() override;

 private:
  // The group of the row packed last: a run of units of one group reads it once.
  struct Group {
    std::int32_t id = 0;
    std::string name, uuid;
    std::int32_t defaultUnitID = 0;
  };
  const Group& GroupOf(const ObjectRef& rs);

  std::int32_t ImportUnitGroup(const TrzRecord& group);
  // The unit's id, or 0 when a clash skipped the record.
  std::int32_t ImportUnit(const TrzRecord& record, std::int32_t lGroupID);
  std::int32_t AddUnit(const std::string& strNumber, const std::string& strName, std::int32_t lGroupID);
  // The unit of the number and name in the group, of the name in the group (a renumbered unit), or the
  // one holding the number elsewhere, settled as a clash: its id, 0 for a new unit, -1 to add the record
  // under strNewNumber (skip it when that is empty).
  std::int32_t CheckExistence(const std::string& strNumber, const std::string& strName, std::string& strNewNumber,
                              std::int32_t lGroupID);
  void UpdateUnit(const TrzRecord& record, std::int32_t lID, const std::string& strNumber, std::int32_t lGroupID);

  Group m_Group;
  modFunction::ConflictState m_Conflict;
};

}  // namespace quillane::standalone
