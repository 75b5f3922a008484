// "Quillane.clsExpImp": the one object through which a caller reaches every data type. It picks the
// per-type class by its ItemObject value, creates it by ProgID ("Quillane." + class name) for one
// call, hands it the caller's options, calls its Export or Import by name, sums the failed records and
// relays every event of the per-type object to its own caller. It also forwards deletion keys to
// clsDataKey and item-class queries to clsItemClass, and checks props strings and export/import rights.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "exchange/custom_class_import.h"
#include "exchange/modFunction_import.h"
#include "platform/automation/object.h"

namespace quillane {

class clsSAXParse;

class clsExpImp : public AutomationObject, public FailedClassRecordsTally {
 public:
  // The events, in the order of the event interface.
  static constexpr DispId kDirtyRecord = 1;  // (ItemClassID, Counts, ContentStr), all by reference
  static constexpr DispId kProgress = 2;     // (lCur, lTotal, bCancel), bCancel by reference
  static constexpr DispId kSAXProgress = 3;  // (lCur, lTotal, bCancel), bCancel by reference

  // A bulk file smaller than this is imported whole; a larger one in batches of the SAX splitter.
  static constexpr std::uintmax_t kWholeFileLimit = 512000;
  static constexpr std::int32_t kSAXBatchSize = 100;

  // The rights that the bulk-file operations ask of the user.
  static constexpr std::int32_t kExportRight = 0x800000;
  static constexpr std::int32_t kImportRight = 0x1000000;

  // One page of data type lIO through its per-type class. Errors never escape: they are reported in
  // strError (replacing what it held) and the result keeps the value it had when the error struck. An
  // import refuses a record whose text passes the bound of a bulk file's records (BoundedPage) with a
  // line that names it and counts it as failed; the others are imported.
  bool Export(std::string strPropsString, std::int32_t lIO, std::string& strXML, std::int32_t lPerCount,
              std::string& strTimeStamp, std::string& strMaxTimeStamp, std::string& strError);
  bool Import(std::string strPropsString, std::int32_t lIO, std::string strXML, std::string& strError,
              Variant lSystemType);

  // The options; they stay in force for every later call until the caller changes them.
  void setFilter(std::string strFilter) { m_strFilter = std::move(strFilter); }
  void setCheckByUUID(bool bCheck) { m_bCheckByUUID = bCheck; }
  void setAddNewOnly(bool bAddNewOnly) { m_bAddNewOnly = bAddNewOnly; }
  void setHaveInterFace(bool bHaveInterFace) { m_bHaveInterFace = bHaveInterFace; }
  void setbProgress(bool bProgress);

  // Failed records of every Export and Import since the facade was made or the caller last set it.
  std::int32_t ErrorCount() const { return m_lErrorCount; }
  // Setting it starts the counts of ImportCounts afresh too.
  void setErrorCount(std::int32_t lCount) {
    m_lErrorCount = lCount;
    m_counts = {};
  }
  // What the imports counted in ErrorCount did with all their records: imported, skipped by reason,
  // failed, and the storage fault that stopped one (modFunction::ImportCounts::ToRecord). A per-type
  // object that does not tell adds only its failed records.
  std::shared_ptr<TrzRecord> ImportCounts() const { return m_counts.ToRecord(); }

  // All records of data type lIO after strTimeStamp into one XML file (UTF-16 LE with a byte-order mark)
  // whose Root holds the records of every page. Types of the item table are written by the ERP's class
  // exchange. An empty props string or a missing export right end it with their text in strError; other
  // errors reach the caller, among them a strFile that is the account set's own file. The file replaces
  // what is at strFile once whole (output_file.h); an export that fails leaves that as it was.
  bool ExportPreIOToFile(std::string strPropsString, std::int32_t lIO, std::string& strFile, std::int32_t lPerCount,
                         std::string& strTimeStamp, std::string& strMaxTimeStamp, std::string& strError);

  // A file of data type lIO into the account set. Types of the item table go to the ERP's class
  // exchange as they are (its error texts come back in strError, one a line, and its count of failed
  // records in ErrorCount); the others need the import right, then a small file is imported whole and a
  // large one in batches of 100 records, each batch's error lines collected in strError. Errors never escape: they end the call with False and
  // their text in strError. lPerCount is accepted and not used.
  bool ImportPreIOFromFile(std::string strPropsString, std::int32_t lIO, std::string& strFile, std::int32_t lPerCount,
                           std::string& strError);
  // Every record of the custom item classes named in strICName (separated by "|") into one XML file
  // (UTF-16 LE with a byte-order mark): Root, then one ItemClass per class the user may export. Names
  // the user may not export and names of no class are named in strError, and so is the error of a class
  // whose export failed; the file holds the others. The result is False when a name is of no class, a
  // class's export failed or nothing could be exported (then what is at strFile stays as it was). Other
  // errors reach the caller (among them a strFile that is the account set's own file), and a file cut
  // off by one is removed.
  bool ExportCustIOToFile(std::string strPropsString, std::string strICName, std::string& strFile,
                          std::int32_t lPerCount, std::string& strTimeStamp, std::string& strMaxTimeStamp,
                          std::string& strError);
  // Imports such a file through clsItemClass: a small file whole, a large one in batches of the SAX
  // splitter; either way each failed item is added once to ErrorCount (which this call does not reset).
  // Every error ends up in strError with the result False.
  bool ImportCustIOFromFile(std::string strPropsString, std::string strICName, std::string& strFile,
                            std::int32_t lPerCount, std::string& strError);
  // The class records of the last ImportCustIOFromFile that failed on their own, over all its batches.
  std::int32_t FailedClassesOfLastImport() const override { return m_lFailedClasses; }
  const modFunction::ImportCounts& ItemCountsOfLastImport() const override { return m_customCounts; }

  // Forwarded to a clsDataKey of their own, whose errors reach the caller; the keys an import fails
  // are added to ErrorCount.
  bool ExportXMLDataKey(std::string strPropsString, std::int32_t lIO, std::string& strXML, std::int32_t lPerCount,
                        std::string& strTimeStamp, std::string& strMaxTimeStamp, std::string& strError);
  bool ImportXMLDataKey(std::string& strPropsString, std::int32_t lIO, std::string strXML, std::string& strError);

  // Forwarded to a clsItemClass of their own; their results come back unchanged, their errors reach
  // the caller.
  Variant GetItemClassNames(std::string strPropsString, bool& bOnlyCustomer, std::string& strError);
  Variant GetItemClassNamesEx(std::string strPropsString, bool& bOnlyCustomer, std::string& strError);
  bool IsCustItemClass(std::string strPropsString, std::string strICName);

  // Whether the props string parses and its account set's service pack can be read.
  bool CheckRight(std::string strPropsString);

  // The item class (FItemClassID) of the data types kept in the item table, 0 for the others.
  static std::int32_t GetItemClassID(std::int32_t lIO);
  // Parses the props string and asks whether its user holds lMask on the access object of data type
  // lIO. Errors (a props string that does not parse, a database that cannot be reached) are raised.
  static bool CheckObjectRight(std::string_view strPropsString, std::int32_t lIO, std::int32_t lMask);

  ~clsExpImp() override;
  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "clsExpImp"; }

  // The per-type members, one per class the facade can drive; each receives the events of its object.
  enum class Member : std::size_t {
    Account, Assist, AuxProp, Currency, Customer, Department, Employee, Fee, Material, MeasureUnit, Stock,
    SubCompany, Supplier, VoucherGroup, WorkCenter, CashFlowItem, CBCostObject, CBCostItem, CBExpenseElement,
    CBService, Settle, ItemClass, StockPlace, Count
  };

 private:
  struct Slot {
    ObjectRef object;
    SinkCookie cookie = 0;
  };

  ObjectRef CreateMember(Member member);
  // The per-type object of lIO in its member, with bProgress and Filter handed over.
  ObjectRef CreateConfigured(std::int32_t lIO);
  void SetMember(Member member, ObjectRef object);
  void ReleaseObjects();
  // Import without the bound of its records: a batch of the splitter, which bounded them as it read.
  bool ImportRecords(const std::string& strPropsString, std::int32_t lIO, std::string strXML, std::string& strError,
                     const Variant& lSystemType);
  // Passes an event of a per-type object or the class exchange on to the caller.
  void RelayEvent(bool yieldAfterProgress, std::string_view event, Arguments args);
  bool ExportByClassExchange(const std::string& strPropsString, std::int32_t lIO, std::int32_t lItemClassID,
                             const std::string& strFile, const std::string& strTimeStamp, std::string& strMaxTimeStamp);
  // After a bulk export: true when the caller cancelled it, with the cancel's text added to strError
  // (after a line break when it holds text already) in the form of any other error the export reports.
  bool EndedByCancel(std::string& strError) const;
  bool MayMoveFile(const std::string& strPropsString, std::int32_t lIO, std::int32_t lMask, std::string& strError);
  bool ExportPages(const std::string& strPropsString, std::int32_t lIO, const std::string& strFile,
                   std::int32_t lPerCount, std::string& strTimeStamp, std::string& strMaxTimeStamp,
                   std::string& strError);
  bool ImportByClassExchange(const std::string& strPropsString, std::int32_t lItemClassID, const std::string& strFile,
                             std::string& strError);
  // Whether a file is read whole: a small one is; a pipe, whose size nobody knows before reading it,
  // goes through the splitter, which reads it once and in chunks. A missing file raises error 53.
  static bool ReadWhole(const std::string& strFile);
  bool ImportWholeFile(const std::string& strPropsString, std::int32_t lIO, const std::string& strFile,
                       std::string& strError);
  // A large file through the splitter, whose batches come back to oSAXParse_HandleXML and whose
  // progress is relayed as SAXProgress. In custom mode the batches go to classes, the clsItemClass that
  // the import holds for its whole length: a nested call from an event may release the member.
  bool ImportBySAX(const std::shared_ptr<clsSAXParse>& splitter, const std::string& strFile, std::string& strError,
                   const ObjectRef& classes);
  // One batch of the splitter: into the facade's own import, or in custom mode into classes; a batch
  // refused whole goes again in smaller documents, so that only the record refused alone fails.
  void oSAXParse_HandleXML(const clsSAXParse& splitter, const ObjectRef& classes, std::string strXML,
                           std::string& strError);
  // Adds the failed records of the object's last call, and what its last Import did with its records;
  // returns the counts it added. m_lastImportTold says whether the object told the latter.
  modFunction::ImportCounts AddErrorCount(const ObjectRef& object);
  void CountFailedAlone();
  void AddErrors(std::int32_t lCount);
  // The custom-class file import's road for a large file.
  bool ImportCustomInBatches(const ObjectRef& classes, const std::string& strPropsString,
                             const std::string& strICName, const std::string& strFile, std::string& strError);
  // One document of custom item classes, a small file whole or a batch of the splitter, imported into
  // classes; its failed items are added to ErrorCount.
  bool ImportCustomDocument(const ObjectRef& classes, const std::string& strPropsString, const std::string& strXML,
                            std::string& strError);

  std::string m_strFilter;
  bool m_bCheckByUUID = false;
  bool m_bAddNewOnly = false;
  bool m_bProgress = false;
  bool m_bHaveInterFace = false;
  // A caller answered a relayed Progress with a cancel: a bulk export stops after the page it cut short
  // (each bulk export clears it when it starts).
  bool m_bCancelled = false;
  std::int32_t m_lErrorCount = 0;
  std::int32_t m_lFailedClasses = 0;
  modFunction::ImportCounts m_counts;
  // The items of the last ImportCustIOFromFile alone, also counted in m_counts.
  modFunction::ImportCounts m_customCounts;
  bool m_lastImportTold = true;
  std::array<Slot, static_cast<std::size_t>(Member::Count)> m_members;
};

}  // namespace quillane
