// "Quillane.clsItemClass": the item classes that users define in the ERP, exchanged with their
// definition (the t_ItemClass row, the descriptions of their custom properties in t_ItemPropDesc) and
// their records. The records travel through an item engine made for each class; this class answers the
// engine's field events with the values of the custom properties, which stand in the class's own table.
// It also lists the account set's item classes and translates the search codes of the properties.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "exchange/clsItem.h"
#include "exchange/custom_class_import.h"
#include "exchange/modFunction_conflict.h"
#include "platform/automation/object.h"
#include "platform/xml/TrzRecord.h"

namespace quillane {

class clsItemClass : public AutomationObject, public CustomClassImportTally {
 public:
  // Events: Progress(lCur, lTotal, bCancel) and DirtyRecord(ItemClassID, Counts, ContentStr), all
  // arguments by reference. Progress is the engine's, relayed per item.
  static constexpr DispId kProgress = 1;
  static constexpr DispId kDirtyRecord = 2;
  // The source of the class's refusals.
  static constexpr const char* kSource = "Quillane.clsItemClass";

  clsItemClass();
  ~clsItemClass() override;

  // One document of the class named strItemClassName (its FName): the class record, the descriptions
  // of its properties and the next page of its items (at most lPerCount, 0 all, above strTimeStamp).
  // strTimeStamp comes back as the stamp of the page's last item ("0xFFFFFFFFFFFFFFFF" when none was
  // left), strMaxTimeStamp as the class's highest stamp. Failures come back in strError with False.
  bool Export(std::string& strPropsString, std::string strItemClassName, std::string& strXML, std::int32_t lPerCount,
              std::string& strTimeStamp, std::string& strMaxTimeStamp, std::string& strError);

  // Imports a document of classes: each class record in a transaction of its own (created when the
  // account set lacks it, its table's columns, its property descriptions and access rights), committed
  // before its items are imported, each item in a transaction of its own. A failing class record is rolled
  // back and described by one line in strError, which also holds the lines of its failed items; the
  // import goes on with the next record. Clashes of class records are raised once in DirtyRecord.
  bool Import(std::string& strPropsString, std::string strXML, std::string& strError, Variant lSystemType);

  // The options, kept until set again.
  void setFilter(std::string strFilter) { m_Filter = std::move(strFilter); }
  void setCheckByUUID(bool bCheck) { m_CheckByUUID = bCheck; }
  void setAddNewOnly(bool bAddNewOnly) { m_AddNewOnly = bAddNewOnly; }
  void setbProgress(bool bProgress) { m_bProgress = bProgress; }
  void setHaveInterFace(bool bHaveInterFace) { m_HaveInterFace = bHaveInterFace; }
  // Items that failed in the last export, or in the last Import over all its classes.
  std::int32_t ErrorCount() const { return m_ErrorCount; }
  std::int32_t FailedItemsOfLastImport() const override { return m_lFailedItems; }
  std::int32_t FailedClassesOfLastImport() const override { return m_lFailedClasses; }
  const modFunction::ImportCounts& ItemCountsOfLastImport() const override { return m_itemCounts; }
  void TakeImportsAsBatchesOfOneFile() override { m_bBatchesOfOneFile = true; }

  // The catalogue: the account set's item classes (bOnlyCustomer: the custom ones only), as records
  // {ICID, ICName} leaving out the classes of auxiliary properties (FType 3 and 4), or as their names.
  // Nothing, with the error's text in strError, when the props string or the query fails.
  Variant GetItemClassNamesEx(std::string strPropsString, bool& bOnlyCustomer, std::string& strError);
  Variant GetItemClassNames(std::string strPropsString, bool& bOnlyCustomer, std::string& strError);
  // Whether strICName (in the user's language) names a custom class; a name no class has counts as
  // one, goods and materials never do. Errors reach the caller.
  bool IsCustItemClass(std::string strPropsString, std::string strICName);

  // The search codes, read over the connection an earlier call left: the caption of a search number
  // (empty when none has it), and the number of a caption (0 when none has it). Without a connection,
  // or when a table cannot be read, they answer from the codes read before it: the four fixed ones at
  // least.
  std::string GetNameBySearch(std::int32_t lSearch);
  std::int32_t GetSearchByName(std::string sName);

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "clsItemClass"; }

 private:
  // Shared by the two listings: the rows of strSQL as the vector each one gives.
  Variant ListItemClasses(const std::string& strPropsString, std::string strSQL, bool bAsRecords,
                          std::string& strError);
  // The refusals of the cost-accounting classes and the work centre by their names.
  bool PassesClassGates(const std::string& strName, std::string& strError);
  bool PackageItemClass(const std::string& strName, std::int32_t lPerCount, TrzRecord& oRecord,
                        std::string& strTimeStamp, std::string& strMaxTimeStamp, std::string& strError);
  std::shared_ptr<TrzRecords> PackagePropertyDescs(std::int32_t lItemClassID);
  // A new engine in oItem for one class, its events answered and relayed by this object.
  void CreateEngine(std::int32_t lItemClassID, const std::string& strCaption, const std::string& strTableName);
  // True when every code could be read.
  bool BuildSearchTable();
  // The number of the first code with this caption in the table as it stands; 0 when none has it.
  std::int32_t SearchNumberOf(std::string_view caption) const;
  // FSearch of an imported description: 0 for no caption; raises when the caption is not found in a
  // table that could not be read whole.
  std::int32_t ImportedSearch(const std::string& strCaption);

  bool ImportVector(const std::shared_ptr<TrzRecords>& oVector, std::string& strError);
  // One class record: its identifier, or -1 when it was skipped. Raises the library's refusal with the
  // description of what failed.
  std::int32_t ImportRecord(const std::shared_ptr<TrzRecord>& oRecord);
  // Raises the library's refusal when lItemClassID is the class of a data type that has a class of
  // its own here (customers, materials...): a class document must not change or extend it.
  void RefuseClassOfItsOwnType(std::int32_t lItemClassID);
  std::int32_t GetIDByUUID(const std::string& strUUID);
  // 0: a new class; an identifier: that class; -1: leave it (strNewNumber set: create the class under
  // that number). Clashes of numbers go to the conflict rules.
  std::int32_t CheckExistence(const std::string& strNumber, const std::string& strName, std::string& strNewNumber);
  // The new class's t_ItemClass row, link column and own table; its identifier.
  std::int32_t CreateItemClass(const TrzRecord& oRecord, const std::string& strNumber);
  void ImportPropertyDesc(std::int32_t lItemClassID, const std::string& strTable,
                          const std::shared_ptr<TrzRecord>& oDesc);
  void ImportAccessRights(std::int32_t lItemClassID, const std::string& strName);
  void ImportItems(std::int32_t lItemClassID, const std::string& strName, const std::string& strTable,
                   const std::shared_ptr<TrzRecords>& oItems);

  // The engine's events.
  void oItem_CommonPacketSpecial(Arguments args);
  void oItem_CommonImportSpecial(Arguments args);
  // The value one property of the detail row exports; Empty when it has none.
  Variant PacketPropertyValue(const ObjectRef& rs, const TrzRecord& oDesc);
  // Appends the assignment of one property's value to the detail row's UPDATE.
  void ImportPropertyValue(const std::string& strValue, const TrzRecord& oDesc, std::string& strSQL);

  std::string m_Filter;
  bool m_CheckByUUID = false;
  bool m_AddNewOnly = false;
  bool m_bProgress = false;
  std::int32_t m_lSystemType = 0;
  std::int32_t m_ErrorCount = 0;
  std::int32_t m_lFailedItems = 0;
  std::int32_t m_lFailedClasses = 0;
  modFunction::ImportCounts m_itemCounts;
  ObjectRef m_oConn;
  std::string m_strSQL;
  // The descriptions of the class being exchanged, by property name: a new dictionary per class.
  std::shared_ptr<TrzRecord> m_oPropDescs;
  // Search codes ("T" + number) and their captions, in the order they were read.
  std::shared_ptr<TrzRecord> m_oSearchTable;
  // The conflict state, carried from class record to class record and from import to import.
  modFunction::ConflictState m_conflict;
  bool m_HaveInterFace = false;
  // The class the import addressed last, whose defaults are asked for when the next class begins.
  std::int32_t m_lCurClassID = 0;
  std::string m_sPropsString;
  std::shared_ptr<clsItem> oItem;
  // The classes the batches of one file decided, by the number, name and UUID their record carries;
  // a class refused whole is left out with the identifier 0.
  struct DecidedClass {
    std::int32_t lItemClassID;
    bool bLeftOut;
  };
  bool m_bBatchesOfOneFile = false;
  // How much of the conflict state's clashes an earlier batch raised already.
  std::int32_t m_lDirtyCountTold = 0;
  std::size_t m_lDirtyTextTold = 0;
  std::map<std::string, DecidedClass> m_decidedClasses;
  void RememberClass(const TrzRecord& oRecord, DecidedClass decided);
  const DecidedClass* DecidedEarlier(const TrzRecord& oRecord) const;
};

}  // namespace quillane
