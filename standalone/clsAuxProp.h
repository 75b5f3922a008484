// "Quillane.clsAuxProp": the auxiliary properties of goods of a commercial account set. They are item
// classes of FType 3 (a property with its values) and 4 (combinations of such properties), so Export
// and Import do not read the tables themselves: they go back into the facade that created the object
// (oExpImp) and move every such class through its custom-class file operations, by way of a private
// temporary file. GetDataSet lists the classes with their properties and items as flat records.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "exchange/modFunction_import.h"
#include "platform/automation/object.h"
#include "platform/xml/TrzRecords.h"

namespace quillane::standalone {

class clsAuxProp : public AutomationObject {
 public:
  static constexpr DispId kProgress = 1;     // (lCur, lTotal, bCancel), bCancel by reference
  static constexpr DispId kDirtyRecord = 2;  // part of the common interface; never raised here

  ~clsAuxProp() override;

  // Every auxiliary-property class the user may export as one document (the facade's custom-class
  // file), strTimeStamp "0xFFFFFFFFFFFFFFFF"; the classes the user may not export are named in strError.
  // Refused with its text in strError and False: an industrial account set, one older than service
  // pack 2.0.0.3, one without such classes, none the user may export, and a class whose export failed.
  // With bProgress one Progress follows, whatever the outcome.
  bool Export(std::string& strPropsString, std::string& strXML, std::int32_t lPerCount, std::string& strTimeStamp,
              std::string& strMaxTimeStamp, std::string& strError);
  // Such a document into the account set through the facade's custom-class file import, with the
  // account-set checks of Export. lSystemType must be a number; the facade's file import has no way to
  // carry it on. ErrorCount and ImportCounts tell this call's records, each once: the items, and a class
  // that failed whole as one failed record.
  bool Import(std::string& strPropsString, std::string strXML, std::string& strError, Variant lSystemType);
  // Appends to vect one record per property and item of every class (one per class without items).
  // Needs the connection of an earlier Export or Import of this object; its errors reach the caller.
  bool GetDataSet(std::shared_ptr<TrzRecords>& vect);

  // Stored for the common interface; the facade's own options steer the file operations.
  void setFilter(std::string strFilter) { m_Filter = std::move(strFilter); }
  void setCheckByUUID(bool bCheck) { m_CheckByUUID = bCheck; }
  void setAddNewOnly(bool bAddNewOnly) { m_AddNewOnly = bAddNewOnly; }
  void setbProgress(bool bProgress) { m_bProgress = bProgress; }
  void setHaveInterFace(bool bHaveInterFace) { m_HaveInterFace = bHaveInterFace; }
  std::int32_t ErrorCount() const { return m_ErrorCount; }
  // What the last Import did with the properties' items and classes.
  std::shared_ptr<TrzRecord> ImportCounts() const { return m_counts.ToRecord(); }
  ObjectRef oExpImp() const { return m_oExpImp; }
  void setoExpImp(ObjectRef facade) { m_oExpImp = std::move(facade); }

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "clsAuxProp"; }

 private:
  // Both operations refuse industrial account sets and those older than the properties' service pack.
  static bool AccountSetRefused(std::string& strError);
  // "|" followed by the name of each class in the user's language, the language in which the facade
  // finds them; empty when the account set has none. The classes that have no name in that language
  // go into unnamed instead, by their own names joined by "、".
  std::string ClassList(std::string& unnamed);
  ObjectRef Facade() const;
  ObjectRef Query(std::string strSQL);
  void PackageItemClass(const ObjectRef& classes, TrzRecords& vect);
  std::string GetNameBySearch(const ObjectRef& searches);
  void RaiseProgress(std::int32_t lCur, std::int32_t lTotal);

  ObjectRef m_oExpImp;
  ObjectRef m_oConn;
  std::string m_strSQL;
  bool m_bCancel = false;
  std::string m_Filter;
  bool m_CheckByUUID = false;
  bool m_AddNewOnly = false;
  bool m_bProgress = false;
  std::int32_t m_ErrorCount = 0;
  modFunction::ImportCounts m_counts;
  bool m_HaveInterFace = false;
};

}  // namespace quillane::standalone
