// The frame every standalone data type stands on: a public class that reads and writes the type's own
// tables, without the item engine. Export packs one page of rows (in row-version order) into records
// and writes them as XML; Import writes each record of a document in a transaction of its own, finding
// it by UUID or by number and name, inserting it with its companion data when it is new, then updating
// it from the record. What differs between types is their descriptor (standalone_type.h); the virtual
// hooks below are for the few steps that are a type's own.
//
// The class implements the item engine's access interface, so that a type's steps call the core's
// link codecs (PacketLinkField, ImportLinkField) on the frame's connection and last statement.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "exchange/clsItem_access.h"
#include "exchange/modFunction_import.h"
#include "platform/automation/object.h"
#include "platform/xml/TrzRecord.h"
#include "platform/xml/TrzRecords.h"
#include "standalone/standalone_type.h"

namespace quillane::standalone {

class StandaloneClass : public AutomationObject, public ItemEngineAccess {
 public:
  // The events, with their dispatch ids:
  //   Progress(lCur, lTotal, bCancel): bCancel by reference; True stops the running loop.
  //   DirtyRecord(ItemClassID, Counts, ContentStr), all by reference.
  static constexpr DispId kProgress = 1;
  static constexpr DispId kDirtyRecord = 2;

  ~StandaloneClass() override;

  // One page of the type as XML: the rows above strTimeStamp (empty: from the beginning), at most
  // lPerCount (0: all). strTimeStamp comes back as the stamp of the page's last row (of the last packed
  // row when a Progress sink cancelled), or "0xFFFFFFFFFFFFFFFF" when none was left; strMaxTimeStamp as
  // the table's highest stamp. A refused props string returns False with its text and changes nothing
  // else; any later error returns False with its text (and the last statement) in strError.
  bool Export(std::string& strPropsString, std::string& strXML, std::int32_t lPerCount, std::string& strTimeStamp,
              std::string& strMaxTimeStamp, std::string& strError);
  // Imports every record of the document, each in its own transaction, writing lSystemType (a whole
  // number) into FSystemType. A failed record is rolled back, counted in ErrorCount and described by one
  // line appended to strError; the others are imported. False when anything failed; an error outside
  // the records replaces strError with its text.
  bool Import(std::string& strPropsString, std::string strXML, std::string& strError, Variant lSystemType);

  // The options; they stay in force until set again.
  void setFilter(std::string strFilter) { m_Filter = std::move(strFilter); }
  void setCheckByUUID(bool bCheck) { m_CheckByUUID = bCheck; }
  void setAddNewOnly(bool bAddNewOnly) { m_AddNewOnly = bAddNewOnly; }
  void setbProgress(bool bProgress) { m_bProgress = bProgress; }
  // Whether a type that settles clashes may ask the user (the others keep it for the caller's sake).
  void setHaveInterFace(bool bHaveInterFace) { m_HaveInterFace = bHaveInterFace; }
  // Records that failed in the last Import (0 after an Export).
  std::int32_t ErrorCount() const { return m_ErrorCount; }
  // What the last Import did with its records (modFunction::ImportCounts::ToRecord).
  std::shared_ptr<TrzRecord> ImportCounts() const { return m_counts.ToRecord(); }

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return type().className; }

  // ---- What the core's link codecs use (ItemEngineAccess) ----
  const ObjectRef& connection() const override { return m_oConn; }
  bool checkByUUID() const override { return m_CheckByUUID; }
  std::string& lastSQL() override { return m_strSQL; }
  std::int32_t itemClassID() const override { return 0; }
  std::int32_t currentItemID() const override { return m_lID; }
  bool hasRecords() const override { return m_oRecs && m_oRecs->Count() > 0; }

 protected:
  explicit StandaloneClass(const StandaloneType& type);

  // ---- Hooks: steps that are a type's own ----
  // Fills an Out::Own key of the record from the current row of rs.
  virtual void PackOwnKey(const Field& field, const ObjectRef& rs, TrzRecord& record);
  // The SQL text an In::Own field assigns, or nothing to leave its column alone.
  virtual std::optional<std::string> OwnValue(const Field& field, const TrzRecord& record);
  // Runs before the record is matched, inside its transaction: the records it depends on (a parent)
  // are found or made here. False leaves the record, skipped for the reason the hook gave Skip.
  virtual bool BeforeMatch(const TrzRecord& record);
  // The row of the record's number and name: by both, then by the number alone (by the name alone for
  // a type without numbers); 0 when none. Lookup errors count as not found.
  virtual std::int32_t FindByNumberName(const std::string& strNumber, const std::string& strName);
  // Runs after the record's UPDATE, inside its transaction, with the row's id.
  virtual void AfterUpdate(const TrzRecord& record, std::int32_t lID);
  // Finds, inserts or updates the row of one record, inside its transaction; raises to fail it. The
  // default finds the row by UUID or by number and name and writes the descriptor's fields. A type
  // whose records take steps of their own (groups, parents, ids of its own making) replaces it whole.
  virtual std::int32_t ImportRecord(const TrzRecord& record);
  // The descriptor in force: a type kept in other tables by kind of account set chooses it per call
  // (the props string of the running call is parsed by then).
  virtual const StandaloneType& type() const { return type_; }
  // Runs before the rows of an export page are packed: a type that reuses what it looked up for the
  // row before forgets it here.
  virtual void BeginPage() {}
  // Runs after the record loop of an Import, also when the document could not be read, before the
  // connection closes.
  virtual void AfterImport() {}

  // ---- Services for the hooks ----
  bool addNewOnly() const { return m_AddNewOnly; }
  // Marks the record being imported as left alone for reason (untranslated), and gives the id the
  // record's ImportRecord returns with it.
  std::int32_t Skip(const char* reason, std::int32_t lID = 0) {
    m_skipReason = reason;
    return lID;
  }
  bool haveInterFace() const { return m_HaveInterFace; }
  // Each statement is kept as the last one, so that an error line quotes the one that failed.
  ObjectRef Query(std::string strSQL);
  void Run(std::string strSQL);
  // The first row of the type with the UUID, 0 for none; an empty UUID names none. Lookup errors count
  // as not found.
  std::int32_t GetIDByUUID(const std::string& strUUID);
  // The first row's value of the type's key column, 0 for none.
  std::int32_t FirstID(const ObjectRef& rs) const;
  // Whether the account set's service pack is at least the dotted version (always for null).
  static bool ServicePackAtLeast(const char* version);

  std::int32_t m_lSystemType = 1;
  std::int32_t m_lParentID = 0;  // the parent of the record being imported, as a hook found it
  std::string m_sPropsString;    // the props string of the current Import

 private:
  std::string ErrorSource() const;
  void RaiseProgress(std::int32_t lCur, std::int32_t lTotal, bool& bCancel);

  void GetMaxTimeStamp(std::string& strMaxTimeStamp);
  ObjectRef GetList(std::string& strTimeStamp, std::int32_t lPerCount);
  std::shared_ptr<TrzRecords> PackageRecordset(const ObjectRef& rs, std::string& strTimeStamp);
  void PackRecord(const ObjectRef& rs, TrzRecord& record);

  bool ImportVector(const std::shared_ptr<TrzRecords>& oRecs, std::string& strError);
  // Counts a failed record and appends its error line, which quotes m_strSQL for a database error.
  void CountFailure(const TrzRecord* record, const AutomationError& e, std::string& strError);
  std::int32_t AddRecord(const std::string& strNumber, const std::string& strName);
  void CreateCompanionData(std::int32_t lID);
  std::string UpdateStatement(const TrzRecord& record, std::int32_t lID);

  const StandaloneType& type_;
  std::string m_Filter;
  bool m_CheckByUUID = false;
  bool m_AddNewOnly = false;
  bool m_bProgress = false;
  bool m_HaveInterFace = false;
  std::int32_t m_ErrorCount = 0;
  modFunction::ImportCounts m_counts;
  std::string m_skipReason;  // why the record being imported was left alone; empty while it is written
  ObjectRef m_oConn;
  std::string m_strSQL;
  std::shared_ptr<TrzRecords> m_oRecs;
  std::int32_t m_lID = 0;  // the row of the record being imported
};

}  // namespace quillane::standalone
