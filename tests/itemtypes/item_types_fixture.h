// Item types carried between account sets in a temporary folder: through their own classes and through
// the facade, called late-bound as a caller would, and read back column by column.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "exchange/exchange_db_fixture.h"
#include "itemtypes/department_fixture.h"
#include "platform/automation/automation.h"
#include "platform/sql/database.h"
#include "support/recording_data_access.h"

namespace quillane::testing {

struct ItemType {
  const char* progID;
  std::int32_t lIO;  // the facade's ItemObject value
  std::int32_t itemClassID;
  const char* table;   // the detail table
  const char* record;  // the record element
};
inline constexpr ItemType kDepartmentType{"Quillane.clsDepartment", 6, 2, "t_Department", "Department"};
inline constexpr ItemType kEmployeeType{"Quillane.clsEmployee", 7, 3, "t_Emp", "Employee"};
inline constexpr ItemType kStockType{"Quillane.clsStock", 9, 5, "t_Stock", "Stock"};
inline constexpr ItemType kSupplierType{"Quillane.clsSupplier", 11, 8, "t_Supplier", "Supplier"};
inline constexpr ItemType kSubCompanyType{"Quillane.clsSubCompany", 12, 10, "t_SonCompany", "SubCompany"};
inline constexpr ItemType kWorkCenterType{"Quillane.clsWorkCenter", 13, 14, "t_WorkCenter", "WorkCenter"};
inline constexpr ItemType kFeeType{"Quillane.clsFee", 18, 2014, "t_Fee", "Fee"};

// A document of records of one type, each given by its elements.
inline std::string documentOf(const ItemType& type, const std::vector<std::string>& records) {
  std::string xml = std::string("<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"") + type.record + "\">";
  for (const std::string& r : records) xml += std::string("<") + type.record + ">" + r + "</" + type.record + ">";
  return xml + "</Root>";
}
inline std::string linkTo(const std::string& element, const std::string& number, const std::string& name,
                          const std::string& uuid = "") {
  return "<" + element + ">" + ::quillane::testing::element("Number", number) +
         ::quillane::testing::element("Name", name) + (uuid.empty() ? "" : ::quillane::testing::element("UUID", uuid)) +
         "</" + element + ">";
}

class ItemTypesTest : public ExchangeDbTest {
 protected:
  // Fees read the setup type on import, so every props string names one.
  static std::string propsOf(const std::string& path) { return props(path, "UserID=16;AcctType=GY;Setuptype=Standard"); }

  struct Page {
    bool ok;
    std::string xml, stamp, maxStamp, error;
  };
  struct Imported {
    bool ok;
    std::string error;
    std::int32_t errorCount;
  };

  // One page through the type's own class.
  Page exportPage(const ItemType& type, const std::string& path, std::int32_t perCount = 0,
                  const std::string& since = "") {
    ObjectRef object = CreateObject(type.progID);
    std::vector<Variant> args{propsOf(path), "", perCount, since, "", ""};
    bool ok = CBool(object->Call("Export", args));
    return Page{ok, CStr(args[1]), CStr(args[3]), CStr(args[4]), CStr(args[5])};
  }
  Imported importXml(const ItemType& type, const std::string& path, const std::string& xml) {
    ObjectRef object = CreateObject(type.progID);
    std::vector<Variant> args{propsOf(path), xml, ""};
    bool ok = CBool(object->Call("Import", args));
    return Imported{ok, CStr(args[2]), CLng(object->Get("ErrorCount"))};
  }
  // The same through the facade, by the type's ItemObject value.
  Page facadeExport(const ItemType& type, const std::string& path, std::int32_t perCount, const std::string& since) {
    std::vector<Variant> args{propsOf(path), type.lIO, "", perCount, since, "", ""};
    bool ok = CBool(facade->Call("Export", args));
    return Page{ok, CStr(args[2]), CStr(args[4]), CStr(args[5]), CStr(args[6])};
  }
  Imported facadeImport(const ItemType& type, const std::string& path, const std::string& xml) {
    facade->Let("ErrorCount", std::int32_t{0});
    std::vector<Variant> args{propsOf(path), type.lIO, xml, ""};
    bool ok = CBool(facade->Call("Import", args));
    return Imported{ok, CStr(args[3]), CLng(facade->Get("ErrorCount"))};
  }

  // Records of other kinds that the types link to and that no item type carries: copied from source
  // into target under other identifiers, so that a link that arrives as the source's identifier points
  // nowhere. Customers come along as link targets too.
  static void copyLinkTargets(const std::string& source, const std::string& target) {
    sql::Database db(target, sql::Database::Mode::OpenExisting);
    db.execScript("ATTACH DATABASE " + literal(source) + " AS s");
    const std::pair<const char*, const char*> tables[] = {
        {"t_SubMessage", "FInterID"}, {"t_Account", "FAccountID"}, {"t_Currency", "FCurrencyID"},
        {"t_Settle", "FItemID"},      {"t_StockPlaceGroup", "FSPGroupID"}, {"t_StockPlace", "FSPID"},
        {"t_IcTeamTime", "FID"},      {"t_JobType", "FInterID"}};
    for (const auto& [table, id] : tables)
      db.execScript(std::string("INSERT INTO main.") + table + " SELECT * FROM s." + table + "; UPDATE main." + table +
                    " SET " + id + " = " + id + " + 1000");
    db.execScript("INSERT INTO main.t_Item SELECT * FROM s.t_Item WHERE FItemClassID = 1; "
                  "UPDATE main.t_Item SET FItemID = FItemID + 100000, "
                  "FParentID = CASE FParentID WHEN 0 THEN 0 ELSE FParentID + 100000 END WHERE FItemClassID = 1");
    db.execScript("DETACH DATABASE s");
  }

  // The records of a type as they must arrive: the item row with its parent, and every column of its
  // detail row, links shown as the linked record's number or name (the identifiers differ between
  // account sets; a link of 0 and one that is Null both show as "-"). The columns in `skipped` are left
  // out.
  static std::string content(const std::string& path, const ItemType& type,
                             const std::vector<std::string>& skipped = {}) {
    struct Target {
      const char* table;
      const char* id;
      const char* shown;
    };
    static const std::map<std::string, Target> kTargets = {
        {"item", {"t_Item", "FItemID", "FName"}},           {"assist", {"t_SubMessage", "FInterID", "FName"}},
        {"account", {"t_Account", "FAccountID", "FNumber"}}, {"currency", {"t_Currency", "FCurrencyID", "FNumber"}},
        {"settle", {"t_Settle", "FItemID", "FNumber"}},      {"spgroup", {"t_StockPlaceGroup", "FSPGroupID", "FNumber"}},
        {"stockplace", {"t_StockPlace", "FSPID", "FNumber"}}, {"teamtime", {"t_IcTeamTime", "FID", "FBillNo"}},
        {"jobtype", {"t_JobType", "FInterID", "FName"}}};
    std::string select = "SELECT i.FNumber, i.FName, i.UUID, i.FDetail, i.FLevel, i.FDeleted, IsNull(p.FNumber, '-')";
    std::string from = " FROM t_Item i LEFT JOIN t_Item p ON p.FItemID = i.FParentID AND p.FItemID <> 0 LEFT JOIN " +
                       std::string(type.table) + " d ON d.FItemID = i.FItemID";
    const std::map<std::string, std::string> links = linkColumns(type);
    int joined = 0;
    for (const std::string& column : detailColumns(path, type.table)) {
      if (column == "FItemID" || std::find(skipped.begin(), skipped.end(), column) != skipped.end()) continue;
      auto link = links.find(column);
      if (link == links.end()) {
        select += ", d." + column;
        continue;
      }
      const Target& t = kTargets.at(link->second);
      std::string alias = "l" + std::to_string(++joined);
      from += std::string(" LEFT JOIN ") + t.table + " " + alias + " ON " + alias + "." + t.id + " = d." + column +
              " AND " + alias + "." + t.id + " <> 0";
      select += ", IsNull(" + alias + "." + t.shown + ", '-')";
    }
    return rows(path, select + from + " WHERE i.FItemClassID = " + std::to_string(type.itemClassID) +
                          " ORDER BY i.FNumber");
  }

  ObjectRef facade = CreateObject("Quillane.clsExpImp");
  ScopedDataAccess dataAccess;

 private:
  static std::string literal(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("''") : std::string(1, c);
    return quoted + "'";
  }
  static std::vector<std::string> detailColumns(const std::string& path, const std::string& table) {
    sql::Database db(path, sql::Database::Mode::OpenExisting);
    std::vector<std::string> columns;
    for (const auto& row : db.query("SELECT name FROM pragma_table_info(" + literal(table) + ")").rows)
      columns.push_back(CStr(row[0]));
    return columns;
  }
  // The detail columns of each type that hold identifiers, by the kind of record they point at.
  static std::map<std::string, std::string> linkColumns(const ItemType& type) {
    const std::map<std::string, std::map<std::string, std::string>> kLinks = {
        {"t_Emp",
         {{"FDepartmentID", "item"}, {"FGender", "assist"}, {"FDegree", "assist"}, {"FDuty", "assist"},
          {"FProfessionalGroup", "assist"}, {"FEmpGroup", "assist"}, {"FJobTypeID", "jobtype"},
          {"FOtherArAcctID", "account"}, {"FOtherAPAcctID", "account"}, {"FPreApAcctID", "account"},
          {"FPreArAcctID", "account"}}},
        {"t_Stock", {{"FTypeID", "assist"}, {"FEmpID", "item"}, {"FProperty", "assist"}, {"FSPGroupID", "spgroup"}}},
        {"t_Supplier",
         {{"FStatus", "assist"}, {"FRegionID", "assist"}, {"FTrade", "assist"}, {"FCyID", "currency"},
          {"FSetID", "settle"}, {"FDepartment", "item"}, {"FEmployee", "item"}, {"FAPAccountID", "account"},
          {"FPreAcctID", "account"}, {"FPayTaxAcctID", "account"}, {"FTypeID", "assist"},
          {"FStockIDAssignee", "item"}, {"FOtherARAcctID", "account"}, {"FOtherAPAcctID", "account"},
          {"FPreARAcctID", "account"}, {"FARAccountID", "account"}}},
        {"t_SonCompany",
         {{"FTrade", "assist"}, {"FRegionID", "assist"}, {"FAcctModeID", "assist"}, {"FOwnershipID", "assist"},
          {"FAssetshipID", "assist"}, {"FSuperDeptID", "assist"}, {"FRetailStockID", "item"},
          {"FProviderID", "item"}, {"FClientID", "item"}, {"FDepartmentID", "item"}, {"FSuperiorID", "item"},
          {"FCorProvider", "item"}, {"FCorCustomer", "item"}, {"FStockPlaceID", "stockplace"}}},
        {"t_WorkCenter", {{"FDeptID", "item"}, {"FTeamTimeID", "teamtime"}, {"FCapacityCalType", "assist"}}},
        {"t_Fee", {{"FFeeType", "assist"}}},
    };
    std::map<std::string, std::string> links = {{"FParentID", "item"}};
    if (auto own = kLinks.find(type.table); own != kLinks.end()) links.insert(own->second.begin(), own->second.end());
    return links;
  }
};

}  // namespace quillane::testing
