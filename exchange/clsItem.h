// The item engine: exchanges the records of one item class of the ERP's item table t_Item. Export packs
// a page of rows (in row-version order) into records; import writes each record of a document in a
// transaction of its own, matching it by UUID or by number and name, creating missing parent groups
// and settling clashes through the conflict rules. The holder (an item type of its own, or the custom
// item classes) adds the columns of its detail table through the two field events.
//
// Not creatable by ProgID: each holder makes its own engine and calls it directly.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "exchange/clsItem_access.h"
#include "exchange/modFunction_conflict.h"
#include "exchange/modFunction_import.h"
#include "platform/automation/object.h"
#include "platform/automation/vbtext.h"
#include "platform/xml/TrzRecord.h"
#include "platform/xml/TrzRecords.h"

namespace quillane {

class clsItem : public AutomationObject, public ItemEngineAccess {
 public:
  // Events, in declaration order:
  //   CommonPacketSpecial(rs, record): the detail row of the record being packed; the holder adds its
  //     keys to record (they stand between IsDelete and BarCodes).
  //   CommonImportSpecial(record, strSQL): the holder appends "<column>=<value>," assignments to the
  //     detail UPDATE in strSQL (by reference).
  //   Progress(lCur, lTotal, bCancel): bCancel by reference; True ends the loop after this record.
  //   DirtyRecord(ItemClassID, Counts, ContentStr): once at the end of an import that met clashes.
  static constexpr DispId kCommonPacketSpecial = 1;
  static constexpr DispId kCommonImportSpecial = 2;
  static constexpr DispId kProgress = 3;
  static constexpr DispId kDirtyRecord = 4;

  clsItem();

  // ---- State a holder may set directly. Export and Import apply the class table to the caption,
  // detail table, schema and type name; Import keeps its props string and system type here. ----
  std::int32_t ItemClassID = 0;  // stored only: the class table applies at the start of Export and Import
  std::string ClassCaption;      // messages, error lines, the conflict rules' class
  std::string TableName;         // the detail table; empty: none
  std::string Schema;            // XSD file name
  std::string TypeName;          // record element name
  ObjectRef cn;                  // the connection component; created on first use, kept until the end
  std::string strPropsString;    // the props string of the current import (handed to the data access)
  std::int32_t lSystemType = 1;  // FSystemType of the rows an import writes

  // ---- Options, kept until set again ----
  std::string Filter;            // SQL condition added to the page query
  bool CheckByUUID = false;      // match records, parents and links by UUID first
  bool AddNewOnly = false;       // leave the detail rows of existing records alone
  bool bProgress = false;        // raise Progress while packing
  bool HaveInterFace = false;    // clashes may ask the user

  // Records that failed in the last Export or Import.
  std::int32_t ErrorCount() const { return m_lErrorCount; }
  // What the last Import did with its records (modFunction::ImportCounts::ToRecord).
  std::shared_ptr<TrzRecord> ImportCounts() const { return m_counts.ToRecord(); }
  const modFunction::ImportCounts& Counts() const { return m_counts; }

  // Applies the class table to ItemClassID (caption, schema, type name, detail table). Raises the
  // library's refusal for a class the engine does not serve, leaving the four fields as they were.
  void InitItemClass();

  // ---- Export ----
  // One page of the class as XML: the rows above strTimeStamp (empty: from the beginning), at most
  // lPerCount (0: all). strTimeStamp comes back as the stamp of the page's last row, or
  // "0xFFFFFFFFFFFFFFFF" when none was left; strMaxTimeStamp as the class's highest stamp. Errors after
  // the props check come back in strError with False; an unsupported class raises.
  bool Export(std::string& strPropsString, std::string& strXML, std::int32_t lPerCount, std::string& strTimeStamp,
              std::string& strMaxTimeStamp, std::string& strError);
  // The highest stamp of the class's undeleted rows ("0x0000000000000000" for none).
  void GetMaxTimeStamp(std::string& strMaxTimeStamp);
  // The page query; strTimeStamp moves on to the stamp of the page's last row. A strTimeStamp that is
  // not "0x" and hexadecimal digits is refused before it reaches the statement.
  ObjectRef GetList(std::string& strTimeStamp, std::int32_t lPerCount);
  // One record per row of rs (null: none). When a Progress sink cancels, the rows packed so far are
  // returned and strResumeTimeStamp (when given) receives the stamp of the last packed row, so the next
  // page starts right after it.
  std::shared_ptr<TrzRecords> PackageRecordset(ObjectRef& rs, std::string* strResumeTimeStamp = nullptr);

  // ---- Import ----
  // Imports every record of the document, each in its own transaction; False when the props string,
  // the document or any record failed, or when the steps after the records failed. Failed records are
  // counted in ErrorCount and described by one line each in strError.
  bool Import(std::string& strPropsString, std::string strXML, std::string& strError,
              Variant lSystemType = Variant(std::int16_t{1}));
  // The per-record transaction loop over an open connection; True when no record failed.
  bool ImportVector(const std::shared_ptr<TrzRecords>& oVector, std::string& strError);
  // Writes one record; its FItemID, or 0 when it was skipped (the reason in the skip reason). Errors
  // reach the caller.
  std::int32_t ImportRecord(const std::shared_ptr<TrzRecord>& record);
  // The parent group's FItemID, creating the group when the class has none of that number.
  std::int32_t ImportParent(const std::string& strNumber, const std::string& strName, const std::string& strUUID);
  // The FItemID of the class's first row with that UUID, else 0.
  std::int32_t GetIDByUUID(const std::string& strUUID);
  // 0: a new record; an FItemID: update that row; -1: leave the existing row alone (strNewNumber set:
  // add the record under that number). Clashes go to the conflict rules.
  std::int32_t CheckExistence(const std::string& strNumber, const std::string& strName, std::string& strNewNumber,
                              std::int32_t lIsDetail);

  // ---- What the link codecs and the item helpers use (ItemEngineAccess) ----
  const ObjectRef& connection() const override { return cn; }
  bool checkByUUID() const override { return CheckByUUID; }
  std::string& lastSQL() override { return m_strSQL; }
  std::int32_t itemClassID() const override { return ItemClassID; }
  std::int32_t currentItemID() const override { return m_lItemID; }
  bool hasRecords() const override { return m_vector && m_vector->Count() > 0; }

  std::string className() const override { return "clsItem"; }

 private:
  bool PassesVersionGate(std::string& strError) const;
  // The database work of an Export or Import: the connection opened for it and the call's data vector
  // released after it. An error ends the call with False, the error's text in strError (replacing what
  // the work wrote there) and the connection closed.
  bool RunCall(std::string& strError, const std::function<bool()>& work);
  void RaiseProgress(std::int32_t lCur, std::int32_t lTotal, bool& bCancel);
  // Counts a failed record and appends its error line, which quotes m_strSQL for a database error.
  void CountFailure(const TrzRecord* record, const AutomationError& e, std::string& strError);
  void AddRecord(const std::string& strNumber, const std::string& strName, std::string& strNewNumber,
                 std::int32_t lParent, std::int32_t lIsDetail, bool isDetail);
  void UpdateDetailRow(const std::shared_ptr<TrzRecord>& record, const std::string& strNumber,
                       const std::string& strName, std::int32_t lParent, bool isDetail);
  bool TableHasColumn(const char* column);
  void UpdateItemRow(const TrzRecord& record, const std::string& strNumber, const std::string& strName,
                     std::int32_t lParent, const std::string& isDetailText, const std::string& levelText,
                     const std::string& isDeleteText);
  void RenumberDescendants(const std::string& strNumber, std::int32_t lParent);
  void MirrorAsCostObject(const TrzRecord& record, const std::string& strNumber, std::int32_t lIsDetail);
  // Each statement is kept in m_strSQL, so that an error line quotes the one that failed.
  ObjectRef Query(std::string strSQL);
  void Run(std::string strSQL);
  void RunIgnoringErrors(std::string strSQL);

  std::int32_t m_lErrorCount = 0;
  modFunction::ImportCounts m_counts;
  // Why the record being imported was left alone, untranslated; empty while it is being written.
  std::string m_skipReason;
  std::string m_strSQL;
  std::shared_ptr<TrzRecords> m_vector;
  std::int32_t m_lItemID = 0;
  // Whether the detail table has a column ("t_Department.FNumber"), asked once per ImportVector.
  std::map<std::string, bool, NoCaseLess> m_detailColumns;
  // The conflict state: it lasts as long as the engine (a holder makes one engine per call).
  modFunction::ConflictState m_conflict;
};

}  // namespace quillane
