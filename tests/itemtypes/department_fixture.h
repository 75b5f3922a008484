// Departments travel through Quillane.clsDepartment, called late-bound as the facade calls it, between
// account sets in a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/exchange_db_fixture.h"
#include "platform/automation/automation.h"
#include "support/per_type_calls.h"
#include "support/recording_data_access.h"

namespace quillane::testing {

// Documents of department records, as the engine writes them: a document of records, each given by
// its elements.
inline std::string document(const std::vector<std::string>& records) {
  std::string xml = "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"Department\">";
  for (const std::string& r : records) xml += "<Department>" + r + "</Department>";
  return xml + "</Root>";
}
inline std::string element(const std::string& name, const std::string& text) {
  return "<" + name + ">" + text + "</" + name + ">";
}
inline std::string parentLink(const std::string& number, const std::string& name, const std::string& uuid) {
  return "<Parent>" + element("Number", number) + element("Name", name) + element("UUID", uuid) + "</Parent>";
}
// The common keys of a record (a detail unless isDetail is 0), with its Parent element when given.
inline std::string keys(const std::string& number, const std::string& name, int isDetail = 1,
                        const std::string& parent = "", const std::string& uuid = "") {
  return element("Name", name) + element("Number", number) + parent + element("Level", parent.empty() ? "1" : "2") +
         element("IsDetail", std::to_string(isDetail)) + element("UUID", uuid.empty() ? "U-" + number : uuid);
}

class DepartmentTest : public ExchangeDbTest {
 protected:
  using Page = ExportedPage;
  Page exportPage(const std::string& propsString, std::int32_t perCount = 100, const std::string& since = "") {
    return ExportPage(departments, propsString, perCount, since);
  }
  using Imported = ImportResult;
  Imported importXml(const std::string& propsString, const std::string& xml, Variant systemType = Variant()) {
    return ImportXml(departments, propsString, xml, std::move(systemType));
  }

  // A department's item row and, for a detail, its detail row with the given own columns.
  static std::string departmentSql(int id, const std::string& number, const std::string& name, int parent = 0,
                                   bool detail = true, const std::string& ownColumns = "",
                                   const std::string& ownValues = "") {
    std::string sql = "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, FParentID, FLevel, FDetail, FFullNumber, "
                      "UUID) VALUES (" + std::to_string(id) + ", 2, '" + number + "', '" + name + "', " +
                      std::to_string(parent) + ", " + (parent ? "2" : "1") + ", " + (detail ? "1" : "0") + ", '" +
                      number + "', 'U-" + number + "')";
    if (detail)
      sql += "\r\nINSERT INTO t_Department (FItemID, FParentID, FNumber, FName" + ownColumns + ") VALUES (" +
             std::to_string(id) + ", " + std::to_string(parent) + ", '" + number + "', '" + name + "'" + ownValues + ")";
    return sql;
  }
  static void addDepartment(const std::string& path, int id, const std::string& number, const std::string& name,
                            int parent = 0, bool detail = true, const std::string& ownColumns = "",
                            const std::string& ownValues = "") {
    exec(path, departmentSql(id, number, name, parent, detail, ownColumns, ownValues));
  }

  ObjectRef departments = CreateObject("Quillane.clsDepartment");
  ScopedDataAccess dataAccess;
};

}  // namespace quillane::testing
