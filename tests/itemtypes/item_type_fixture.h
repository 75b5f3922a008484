// Item types carried between account sets through their own classes or the facade, called late-bound
// as outside callers call them, and the detail rows read back column by column for comparison.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/exchange_db_fixture.h"
#include "platform/automation/automation.h"
#include "platform/sql/database.h"
#include "support/recording_data_access.h"

namespace quillane::testing {

// A link column of a detail table and how a record it points at is named in any account set.
struct LinkColumn {
  const char* column;
  const char* nameOf;  // a query of the linked record's name, ended by its identifier
};
inline constexpr const char* kAssistName = "SELECT FName FROM t_SubMessage WHERE FInterID = ";
inline constexpr const char* kAccountName = "SELECT FNumber FROM t_Account WHERE FAccountID = ";
inline constexpr const char* kItemName = "SELECT FName FROM t_Item WHERE FItemID <> 0 AND FItemID = ";
inline constexpr const char* kCurrencyName = "SELECT FNumber FROM t_Currency WHERE FCurrencyID = ";

class ItemTypeTest : public ExchangeDbTest {
 protected:
  struct Page {
    bool ok;
    std::string xml, stamp, maxStamp, error;
  };
  static Page exportPage(const ObjectRef& type, const std::string& propsString, std::int32_t perCount = 0) {
    std::vector<Variant> args{propsString, "", perCount, "", "", ""};
    bool ok = CBool(type->Call("Export", args));
    return Page{ok, CStr(args[1]), CStr(args[3]), CStr(args[4]), CStr(args[5])};
  }
  struct Imported {
    bool ok;
    std::string error;
  };
  static Imported importXml(const ObjectRef& type, const std::string& propsString, const std::string& xml) {
    std::vector<Variant> args{propsString, xml, ""};
    bool ok = CBool(type->Call("Import", args));
    return Imported{ok, CStr(args[2])};
  }
  // The same through the facade, for the data type lIO.
  static Page exportByFacade(std::int32_t lIO, const std::string& propsString) {
    std::vector<Variant> args{propsString, lIO, "", std::int32_t{0}, "", "", ""};
    bool ok = CBool(CreateObject("Quillane.clsExpImp")->Call("Export", args));
    return Page{ok, CStr(args[2]), CStr(args[4]), CStr(args[5]), CStr(args[6])};
  }
  static Imported importByFacade(std::int32_t lIO, const std::string& propsString, const std::string& xml) {
    std::vector<Variant> args{propsString, lIO, xml, ""};
    bool ok = CBool(CreateObject("Quillane.clsExpImp")->Call("Import", args));
    return Imported{ok, CStr(args[3])};
  }

  // A document of one type's records, each given by its elements.
  static std::string document(const std::string& typeName, const std::vector<std::string>& records) {
    std::string xml = "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"" + typeName + "\">";
    for (const std::string& r : records) xml += "<" + typeName + ">" + r + "</" + typeName + ">";
    return xml + "</Root>";
  }
  static std::string element(const std::string& name, const std::string& text) {
    return "<" + name + ">" + text + "</" + name + ">";
  }
  static std::string link(const std::string& name, const std::string& number, const std::string& linkName,
                          const std::string& uuid = "") {
    return "<" + name + ">" + element("Number", number) + element("Name", linkName) +
           (uuid.empty() ? "" : element("UUID", uuid)) + "</" + name + ">";
  }
  // The common keys of a detail record at the top level.
  static std::string keys(const std::string& number, const std::string& name) {
    return element("Name", name) + element("Number", number) + element("Level", "1") + element("IsDetail", "1") +
           element("UUID", "U-" + number);
  }

  // Runs SQLite text on the file itself, past the connection component (ATTACH, PRAGMA).
  static void execSqlite(const std::string& path, const std::string& sqlite) {
    sql::Database db(path, sql::Database::Mode::OpenExisting);
    db.execScript(sqlite);
  }
  // The columns of a table; textOnly: those of a text type.
  static std::vector<std::string> columnsOf(const std::string& path, const std::string& table, bool textOnly = false) {
    sql::Database db(path, sql::Database::Mode::OpenExisting);
    std::vector<std::string> columns;
    for (const auto& row : db.query("SELECT name FROM pragma_table_info('" + table + "') WHERE " +
                                    (textOnly ? "type LIKE '%CHAR%'" : "1") + " ORDER BY cid").rows)
      columns.push_back(CStr(row[0]));
    return columns;
  }

  // Gives target the records that the sample's items link to, under other identifiers than source's:
  // the auxiliary data, accounts, currencies, settlement modes, stock-place groups, stock places, team
  // times, job types, units and their groups, inspection schemes, routings, work types, the custom
  // classes, and the items of every class but those of excludedClasses (an SQL list).
  static void copyLinkTargets(const std::string& source, const std::string& target, const std::string& excludedClasses) {
    execSqlite(target,
               "ATTACH '" + source + "' AS src;"
               "INSERT INTO t_SubMessage (FTypeID, FID, FName, UUID) SELECT FTypeID, FID, FName, UUID FROM src.t_SubMessage "
               "ORDER BY FInterID DESC;"
               "INSERT INTO t_Account (FNumber, FName, UUID) SELECT FNumber, FName, UUID FROM src.t_Account ORDER BY FAccountID DESC;"
               "INSERT INTO t_Currency (FNumber, FName, UUID) SELECT FNumber, FName, UUID FROM src.t_Currency "
               "ORDER BY FCurrencyID DESC;"
               "INSERT INTO t_Settle (FNumber, FName, UUID) SELECT FNumber, FName, UUID FROM src.t_Settle ORDER BY FItemID DESC;"
               "INSERT INTO t_ItemClass (FItemClassID, FNumber, FName, FName_EN, FName_CHT, FType, FSQLTableName, UUID) "
               "SELECT FItemClassID, FNumber, FName, FName_EN, FName_CHT, FType, FSQLTableName, UUID FROM src.t_ItemClass "
               "WHERE FItemClassID NOT IN (SELECT FItemClassID FROM main.t_ItemClass);"
               "INSERT INTO t_StockPlaceGroup (FNumber, FName, UUID) SELECT FNumber, FName, UUID FROM "
               "src.t_StockPlaceGroup ORDER BY FSPGroupID DESC;"
               "INSERT INTO t_StockPlace (FNumber, FName, FFullNumber, UUID) SELECT FNumber, FName, FFullNumber, UUID FROM "
               "src.t_StockPlace ORDER BY FSPID DESC;"
               "INSERT INTO t_IcTeamTime (FBillNo, FName, UUID) SELECT FBillNo, FName, UUID FROM src.t_IcTeamTime "
               "ORDER BY FID DESC;"
               "INSERT INTO t_JobType (FName) SELECT FName FROM src.t_JobType ORDER BY FInterID DESC;"
               "INSERT INTO t_Item (FItemClassID, FNumber, FName, FLevel, FDetail, FDeleted, UUID) SELECT FItemClassID, "
               "FNumber, FName, FLevel, FDetail, FDeleted, UUID FROM src.t_Item WHERE FItemID <> 0 AND FItemClassID NOT IN (" +
                   excludedClasses + ") ORDER BY FItemID DESC;"
               "INSERT INTO t_UnitGroup (FUnitGroupID, FName, UUID) SELECT (SELECT FItemID FROM main.t_Item i WHERE "
               "i.UUID = (SELECT UUID FROM src.t_Item s WHERE s.FItemID = g.FUnitGroupID)), FName, UUID FROM src.t_UnitGroup g;"
               // a unit's id is that of its item row
               "INSERT INTO t_MeasureUnit (FMeasureUnitID, FItemID, FUnitGroupID, FNumber, FName, FShortNumber, FStandard, "
               "UUID) SELECT FItemID, * FROM (SELECT "
               "(SELECT FItemID FROM main.t_Item i WHERE i.UUID = (SELECT UUID FROM src.t_Item s WHERE s.FItemID = u.FItemID)) "
               "AS FItemID, (SELECT FUnitGroupID FROM main.t_UnitGroup g WHERE g.UUID = (SELECT UUID FROM src.t_UnitGroup s "
               "WHERE s.FUnitGroupID = u.FUnitGroupID)), FNumber, FName, FShortNumber, FStandard, UUID FROM src.t_MeasureUnit u "
               "ORDER BY FMeasureUnitID DESC);"
               "INSERT INTO ICQCScheme (FInterID, FBillNo, FSchemeName, UUID) SELECT FInterID + 50, FBillNo, FSchemeName, UUID "
               "FROM src.ICQCScheme;"
               "INSERT INTO t_Routing (FInterID, FBillNo, FRoutingName, UUID) SELECT FInterID + 50, FBillNo, FRoutingName, UUID "
               "FROM src.t_Routing;"
               "INSERT INTO t_WorkType (FInterID, FNumber, FName) SELECT FInterID + 50, FNumber, FName FROM src.t_WorkType;"
               "DETACH src;");
  }

  // The items of a class with their parents, bar codes and every column of their detail rows but the
  // identifiers, each link column as the name of the record it points at: what must arrive, whatever
  // the identifiers of the account set. withDeleted: the items' deleted marks too.
  static std::string content(const std::string& path, std::int32_t lItemClassID, const std::string& table,
                             const std::vector<LinkColumn>& links, bool withDeleted = true) {
    const std::string cls = std::to_string(lItemClassID);
    std::string items = rows(path, std::string("SELECT i.FNumber, i.FName, i.UUID, i.FDetail, i.FLevel, ") +
                                   (withDeleted ? "i.FDeleted, " : "") +
                                   "IsNull(p.FNumber, '-') FROM t_Item i LEFT JOIN t_Item p ON p.FItemID = i.FParentID "
                                   "AND p.FItemID <> 0 WHERE i.FItemClassID = " + cls + " ORDER BY i.FNumber");
    std::string barCodes = rows(path, "SELECT i.FNumber, b.FBarCode, IsNull(b.FRemark, '') FROM t_BarCode b JOIN t_Item i "
                                      "ON i.FItemID = b.FItemID WHERE b.FTypeID = " + cls + " ORDER BY i.FNumber, b.FBarCode");
    if (table.empty()) return items + " | " + barCodes;
    std::string select;
    for (const std::string& column : columnsOf(path, table)) {
      if (column == "FItemID" || column == "FParentID") continue;
      std::string value = "d." + column;
      for (const LinkColumn& l : links)
        if (column == l.column) value = "(" + std::string(l.nameOf) + "d." + column + ")";
      select += ", " + value;
    }
    return items + " | " + barCodes + " | " +
           rows(path, "SELECT i.FNumber" + select + " FROM " + table + " d JOIN t_Item i ON i.FItemID = d.FItemID "
                      "ORDER BY i.FNumber");
  }

  ScopedDataAccess dataAccess;
};

}  // namespace quillane::testing
