// The standalone types under test: one object created by ProgID and called late-bound, as the facade
// calls it, between account sets in a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "exchange/exchange_db_fixture.h"
#include "platform/automation/automation.h"
#include "platform/sql/database.h"
#include "support/per_type_calls.h"
#include "support/recording_data_access.h"

namespace quillane::testing {

inline std::string element(const std::string& name, const std::string& text) {
  return "<" + name + ">" + text + "</" + name + ">";
}
inline std::string link(const std::string& key, const std::string& number, const std::string& name,
                        const std::string& uuid) {
  return "<" + key + ">" + element("Number", number) + element("Name", name) + element("UUID", uuid) + "</" + key + ">";
}
// A document of records of typeName, each given by its elements.
inline std::string document(const std::string& typeName, const std::vector<std::string>& records) {
  std::string xml = "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"" + typeName + "\">";
  for (const std::string& r : records) xml += "<" + typeName + ">" + r + "</" + typeName + ">";
  return xml + "</Root>";
}
inline bool holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// What the elements of one kind hold in a page, in order ("Number" of each record...).
inline std::vector<std::string> valuesOf(const std::string& xml, const std::string& recordElement,
                                         const std::string& key) {
  std::vector<std::string> found;
  const std::string open = "<" + recordElement + ">", close = "</" + recordElement + ">";
  for (std::size_t at = xml.find(open); at != std::string::npos; at = xml.find(open, at + 1)) {
    std::string record = xml.substr(at, xml.find(close, at) - at);
    std::size_t start = record.find("<" + key + ">");
    if (start == std::string::npos) continue;
    start += key.size() + 2;
    found.push_back(record.substr(start, record.find("</" + key + ">", start) - start));
  }
  return found;
}

class StandaloneTest : public ExchangeDbTest {
 protected:
  // Imports a document of typeName records into the account set at target through a new object of
  // progID, set up by options first; the import is to succeed.
  static void importInto(const std::string& target, const char* progID, const std::string& typeName,
                         const std::vector<std::string>& records, const std::function<void(ObjectRef&)>& options) {
    ObjectRef object = CreateObject(progID);
    if (options) options(object);
    ImportResult result = ImportXml(object, props(target), document(typeName, records));
    EXPECT_TRUE(result.ok) << result.error;
  }

  // Makes the database refuse to update a row of table to the name (SQLite's own trigger), but for the
  // stamping of its row version: a record of that name fails after its row was inserted.
  static void refuseUpdateTo(const std::string& path, const std::string& table, const std::string& name) {
    sql::Connection db;
    db.setConnString(accountset::ConnectString(path));
    db.database().execScript("CREATE TRIGGER refuse_" + table + " BEFORE UPDATE ON " + table + " WHEN NEW.FName = '" +
                             name + "' AND NEW.FModifyTime IS OLD.FModifyTime BEGIN SELECT RAISE(ABORT, 'refused'); END");
  }
  static void setServicePack(const std::string& path, const std::string& version) {
    exec(path, "UPDATE t_SystemProfile SET FValue = '" + version + "' WHERE FCategory = 'Base' AND FKey = 'ServicePack'");
  }

  ScopedDataAccess dataAccess;
};

}  // namespace quillane::testing
