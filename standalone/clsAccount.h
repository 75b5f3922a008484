// "Quillane.clsAccount": the chart of accounts (t_Account), each account with its parent, group
// (t_AcctGroup), currency, unit of measure and combination of item classes (t_ItemDetail,
// t_ItemDetailV). Accounts keep companion data in the ERP of two object types, 105 and 1052.
#pragma once

#include "standalone/standalone_class.h"

namespace quillane::standalone {

class clsAccount : public StandaloneClass {
 public:
  clsAccount();

 protected:
  // Detail, DC, GroupName, ItemClass and FControlSystem.
  void PackOwnKey(const Field& field, const ObjectRef& rs, TrzRecord& record) override;
  // FDetail... as the record says; FParentID the parent found before the match; FDC 1 for "借", else -1.
  std::optional<std::string> OwnValue(const Field& field, const TrzRecord& record) override;
  // The record's parent, found or made as a placeholder; a record whose parent cannot be made fails.
  bool BeforeMatch(const TrzRecord& record) override;
  // The companion data, the parent's detail flag, the group, currency, unit, item classes and root.
  void AfterUpdate(const TrzRecord& record, std::int32_t lID) override;

 private:
  std::int32_t ImportParent(const std::string& strNumber, const std::string& strName, const std::string& strUUID);
  void UpdateCompanionData(std::int32_t lID);
  void ImportGroup(const TrzRecord& group, std::int32_t lID);
  void ImportCurrency(const Variant& currency, std::int32_t lID);
  void ImportUnit(const TrzRecord& unit, std::int32_t lID);
  void ImportItemClasses(const TrzRecords& classes, std::int32_t lID);
  std::int32_t DetailIDFor(std::int32_t lID);
  void SetRoot(const std::string& strNumber, std::int32_t lID);
  void RunIgnoringErrors(std::string strSQL);
};

}  // namespace quillane::standalone
