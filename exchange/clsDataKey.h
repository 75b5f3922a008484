// Deletion keys: the ERP records each deleted base-data record in t_BaseDataDeleted (its table, item
// class, UUID and a row version). clsDataKey pages those keys out of one account set as XML and deletes
// the records they name from another, so that deletions travel with the data.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/automation/object.h"
#include "platform/xml/TrzRecord.h"
#include "platform/xml/TrzRecords.h"

namespace quillane {

// The caption ExportXMLDataKey writes as the Remark of every key of data type lIO ("核算项目--部门",
// "币别"); empty for a type that has no deletion keys. A caller tells keys of another type by it.
std::string DataKeyCaption(std::int32_t lIO);

class clsDataKey : public AutomationObject {
 public:
  clsDataKey();
  ~clsDataKey() override;

  // One page of the keys of data type lIO above strTimeStamp (empty: from the beginning), at most
  // lPerCount of them (0: all). strTimeStamp comes back as the stamp of the page's last key, or
  // "0xFFFFFFFFFFFFFFFF" when none was left; strMaxTimeStamp as the highest stamp of the type.
  bool ExportXMLDataKey(std::string strPropsString, std::int32_t lIO, std::string& strXML, std::int32_t lPerCount,
                        std::string& strTimeStamp, std::string& strMaxTimeStamp, std::string& strError);
  // Deletes the records of data type lIO whose UUIDs the document names, each key in a transaction of
  // its own; a failing key adds its line to strError and the rest go on.
  bool ImportXMLDataKey(std::string& strPropsString, std::int32_t lIO, std::string strXML, std::string& strError);
  // The keys that failed in the last ImportXMLDataKey, each also told by a line of its error text.
  std::int32_t ErrorCount() const { return m_lErrorCount; }

  const DispatchTable& dispatchTable() const override;
  std::string className() const override { return "clsDataKey"; }

 private:
  void GetTableInfo();
  std::string GetMaxTimeStamp();
  ObjectRef GetList(std::int32_t lPerCount, std::string& strTimeStamp);
  std::shared_ptr<TrzRecords> PackageRecordset(const ObjectRef& rs);
  bool ImportVector(const TrzRecords& vect, std::string& strError);
  void DeleteByUUID(const TrzRecord& record);
  void DeleteItemByUUID(const std::string& strUUID, const std::string& strOwnTable);
  void closeConnection();

  ObjectRef m_cn;
  std::int32_t m_lIO = 0;
  std::string m_strTableName;
  std::int32_t m_lItemClassID = 0;
  std::string m_strSQL;
  std::int32_t m_lErrorCount = 0;
};

}  // namespace quillane
