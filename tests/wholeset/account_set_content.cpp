#include "wholeset/account_set_content.h"

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "platform/automation/vbconv.h"
#include "platform/sql/database.h"

namespace quillane::testing {
namespace {

// What no data type of the program exchanges yet: the account set's link targets and the item classes
// without a type. A type that joins the program leaves this list with its tables or class.
const std::set<std::string> kNotCarriedTables = {
    "ICQCScheme", "t_Routing", "t_WorkType", "t_JobType", "t_IcTeamTime",
    // the commercial tables of materials and warehouses
    "COM_Item", "COM_Stock"};
// The built-in item classes whose records the program carries; the user-defined classes travel too.
const std::vector<int> kCarriedItemClasses = {1, 2, 3, 4, 5, 7, 8, 9, 10, 14, 2001, 2002, 2003, 2004, 2014};

// Whether the item class identifier `id` (an SQL expression) is one of a class that users define.
std::string UserClass(const std::string& id) {
  return "(" + id + " BETWEEN 1000 AND 1999 OR " + id + " BETWEEN 3000 AND 9999)";
}

// Each kind of account set keeps its auxiliary data in tables of its own; those of the other kind are
// not on its road. Nothing but the tables of this list and of kNotCarriedTables is seeded.
bool NotCarried(const std::string& table, Kind kind) {
  static const std::set<std::string> industrialAssist = {"t_SubMessage", "t_SubMesType"};
  static const std::set<std::string> commercialAssist = {"com_SysType", "com_SysTypeClass"};
  return kNotCarriedTables.count(table) || (kind == Kind::Industrial ? commercialAssist : industrialAssist).count(table);
}

// Deletion keys are compared by their own pass: an import of records writes none.
bool Compared(const std::string& table) {
  return table.rfind("sqlite_", 0) != 0 && table.rfind("quillane_", 0) != 0 && table != "t_BaseDataDeleted";
}

// A link column and the table of the record it points at, in the rows the condition picks; "*" stands
// for every table.
struct Link {
  const char* table;
  const char* column;
  const char* target;
  const char* rows = "1";
};
// Rights of an item class (object type 3) and of its records' attachments (2002); class 20 is the
// template of every class's rights, no row of t_ItemClass.
constexpr const char* kClassObject = "x.FObjectType IN (3, 2002) AND x.FObjectID <> 20";
// clang-format off
const Link kLinks[] = {
    {"*", "FItemClassID", "t_ItemClass"},
    {"t_Organization", "FStatus", "t_SubMessage"}, {"t_Organization", "FRegionID", "t_SubMessage"},
    {"t_Organization", "FTrade", "t_SubMessage"}, {"t_Organization", "FSaleMode", "t_SubMessage"},
    {"t_Organization", "FDebtLevel", "t_SubMessage"}, {"t_Organization", "FTypeID", "t_SubMessage"},
    {"t_Organization", "FSaleID", "t_SubMessage"}, {"t_Organization", "FCyID", "t_Currency"},
    {"t_Organization", "FSetID", "t_Settle"}, {"t_Organization", "FARAccountID", "t_Account"},
    {"t_Organization", "FPreAcctID", "t_Account"}, {"t_Organization", "FPayTaxAcctID", "t_Account"},
    {"t_Organization", "FOtherARAcctID", "t_Account"}, {"t_Organization", "FOtherAPAcctID", "t_Account"},
    {"t_Organization", "FPreAPAcctID", "t_Account"}, {"t_Organization", "FAPAccountID", "t_Account"},
    {"t_Organization", "FDepartment", "t_Item"}, {"t_Organization", "FEmployee", "t_Item"},
    {"t_Organization", "FStockIDKeep", "t_Item"},
    {"t_Department", "FManager", "t_Item"}, {"t_Department", "FAcctID", "t_Account"},
    {"t_Department", "FOtherArAcctID", "t_Account"}, {"t_Department", "FOtherAPAcctID", "t_Account"},
    {"t_Department", "FPreApAcctID", "t_Account"}, {"t_Department", "FPreArAcctID", "t_Account"},
    {"cbCostObj", "FCalculateType", "t_SubMessage"}, {"cbCostObj", "FStdProductID", "t_Item"},
    {"cb_CostObj_Product", "FCostObjID", "t_Item"}, {"cb_CostObj_Product", "FProductID", "t_Item"},
    {"cbService", "FUnitID", "t_Item"}, {"cbService", "FCostItemID", "t_Item"}, {"cbService", "FDeptID", "t_Item"},
    {"cbCostItem", "FTypeID", "t_SubMessage"}, {"cbCostItem", "FCostPropertyID", "t_SubMessage"},
    {"cbCostItem", "FCostControlID", "t_SubMessage"},
    {"cbExpense", "FCostItemID", "t_Item"}, {"cbExpense", "FBaseAcctID", "t_Account"},
    {"cbExpense", "FAssistAcctID", "t_Account"}, {"cbExpense", "FMakeAcctID", "t_Account"},
    {"cbExpense", "FAcctID", "t_Account"},
    {"t_Settle", "FAcctID", "t_Account"},
    {"t_Emp", "FDepartmentID", "t_Item"}, {"t_Emp", "FOtherArAcctID", "t_Account"},
    {"t_Emp", "FOtherAPAcctID", "t_Account"}, {"t_Emp", "FPreApAcctID", "t_Account"},
    {"t_Emp", "FPreArAcctID", "t_Account"}, {"t_Emp", "FGender", "t_SubMessage"},
    {"t_Emp", "FDegree", "t_SubMessage"}, {"t_Emp", "FDuty", "t_SubMessage"},
    {"t_Emp", "FProfessionalGroup", "t_SubMessage"}, {"t_Emp", "FEmpGroup", "t_SubMessage"},
    {"t_Emp", "FJobTypeID", "t_JobType"},
    {"t_Stock", "FEmpID", "t_Item"}, {"t_Stock", "FTypeID", "t_SubMessage"}, {"t_Stock", "FProperty", "t_SubMessage"},
    {"t_Stock", "FSPGroupID", "t_StockPlaceGroup"},
    {"t_Supplier", "FStatus", "t_SubMessage"}, {"t_Supplier", "FRegionID", "t_SubMessage"},
    {"t_Supplier", "FTrade", "t_SubMessage"}, {"t_Supplier", "FTypeID", "t_SubMessage"},
    {"t_Supplier", "FCyID", "t_Currency"}, {"t_Supplier", "FSetID", "t_Settle"},
    {"t_Supplier", "FDepartment", "t_Item"}, {"t_Supplier", "FEmployee", "t_Item"},
    {"t_Supplier", "FStockIDAssignee", "t_Item"}, {"t_Supplier", "FAPAccountID", "t_Account"},
    {"t_Supplier", "FPreAcctID", "t_Account"}, {"t_Supplier", "FPayTaxAcctID", "t_Account"},
    {"t_Supplier", "FOtherARAcctID", "t_Account"}, {"t_Supplier", "FOtherAPAcctID", "t_Account"},
    {"t_Supplier", "FPreARAcctID", "t_Account"}, {"t_Supplier", "FARAccountID", "t_Account"},
    // A branch's superior department is an entry of the auxiliary data, as are its five classifications.
    {"t_SonCompany", "FSuperDeptID", "t_SubMessage"}, {"t_SonCompany", "FTrade", "t_SubMessage"},
    {"t_SonCompany", "FRegionID", "t_SubMessage"}, {"t_SonCompany", "FAcctModeID", "t_SubMessage"},
    {"t_SonCompany", "FOwnershipID", "t_SubMessage"}, {"t_SonCompany", "FAssetshipID", "t_SubMessage"},
    {"t_SonCompany", "FStockPlaceID", "t_StockPlace"}, {"t_SonCompany", "FRetailStockID", "t_Item"},
    {"t_SonCompany", "FProviderID", "t_Item"}, {"t_SonCompany", "FClientID", "t_Item"},
    {"t_SonCompany", "FDepartmentID", "t_Item"}, {"t_SonCompany", "FSuperiorID", "t_Item"},
    {"t_SonCompany", "FCorProvider", "t_Item"}, {"t_SonCompany", "FCorCustomer", "t_Item"},
    {"t_WorkCenter", "FDeptID", "t_Item"}, {"t_WorkCenter", "FTeamTimeID", "t_IcTeamTime"},
    {"t_WorkCenter", "FCapacityCalType", "t_SubMessage"},
    {"t_Fee", "FFeeType", "t_SubMessage"},
    {"t_Account", "FCurrencyID", "t_Currency"}, {"t_Account", "FMeasureUnitID", "t_Item"},
    {"t_Account", "FUnitGroupID", "t_Item"}, {"t_Account", "FEarnAccountID", "t_Account"},
    {"t_Account", "FRootID", "t_Account"}, {"t_Account", "FDetailID", "t_ItemDetail"},
    {"t_ItemDetailV", "FDetailID", "t_ItemDetail"},
    // A unit's and a group's ids are those of their item rows.
    {"t_MeasureUnit", "FMeasureUnitID", "t_Item"}, {"t_MeasureUnit", "FUnitGroupID", "t_Item"},
    {"t_UnitGroup", "FUnitGroupID", "t_Item"}, {"t_UnitGroup", "FDefaultUnitID", "t_Item"},
    // An entry of auxiliary data stands under its type twice.
    {"t_SubMessage", "FTypeID", "t_SubMesType"}, {"t_SubMessage", "FParentID", "t_SubMesType"},
    {"com_SysType", "FClassID", "com_SysTypeClass"},
    // A material's auxiliary property is an item of a class of goods' properties.
    {"COM_ItemAuxProp", "FAuxPropID", "t_Item"},
    {"t_StockPlace", "FSPGroupID", "t_StockPlaceGroup"}, {"t_StockPlaceGroup", "FDefaultSPID", "t_StockPlace"},
    // A material's links; its units and unit group are items.
    {"t_ICItem", "FTrack", "t_SubMessage"}, {"t_ICItem", "FTypeID", "t_SubMessage"},
    {"t_ICItem", "FErpClsID", "t_SubMessage"}, {"t_ICItem", "FUseState", "t_SubMessage"},
    {"t_ICItem", "FInspectionLevel", "t_SubMessage"}, {"t_ICItem", "FGoodSpec", "t_SubMessage"},
    {"t_ICItem", "FPlanTrategy", "t_SubMessage"}, {"t_ICItem", "FOrderTrategy", "t_SubMessage"},
    {"t_ICItem", "FProChkMde", "t_SubMessage"}, {"t_ICItem", "FWWChkMde", "t_SubMessage"},
    {"t_ICItem", "FSOChkMde", "t_SubMessage"}, {"t_ICItem", "FWthDrwChkMde", "t_SubMessage"},
    {"t_ICItem", "FStkChkMde", "t_SubMessage"}, {"t_ICItem", "FOtherChkMde", "t_SubMessage"},
    {"t_ICItem", "FCheckCycUnit", "t_SubMessage"},
    {"t_ICItem", "FUnitGroupID", "t_Item"}, {"t_ICItem", "FUnitID", "t_Item"}, {"t_ICItem", "FCUUnitID", "t_Item"},
    {"t_ICItem", "FOrderUnitID", "t_Item"}, {"t_ICItem", "FSaleUnitID", "t_Item"},
    {"t_ICItem", "FStoreUnitID", "t_Item"}, {"t_ICItem", "FProductUnitID", "t_Item"},
    {"t_ICItem", "FSecUnitID", "t_Item"}, {"t_ICItem", "FMaund", "t_Item"}, {"t_ICItem", "FCubicMeasure", "t_Item"},
    {"t_ICItem", "FDefaultLoc", "t_Item"}, {"t_ICItem", "FSource", "t_Item"}, {"t_ICItem", "FOrderRector", "t_Item"},
    {"t_ICItem", "FIdentifier", "t_Item"}, {"t_ICItem", "FProductPrincipal", "t_Item"},
    {"t_ICItem", "Fplanner", "t_Item"}, {"t_ICItem", "FCostProject", "t_Item"},
    {"t_ICItem", "FAdminAcctID", "t_Account"}, {"t_ICItem", "FAcctID", "t_Account"},
    {"t_ICItem", "FSaleAcctID", "t_Account"}, {"t_ICItem", "FCostAcctID", "t_Account"},
    {"t_ICItem", "FAPAcctID", "t_Account"},
    {"t_ICItem", "FPOHghPrcMnyType", "t_Currency"}, {"t_ICItem", "FSOLowPrcMnyType", "t_Currency"},
    {"t_ICItem", "FWWHghPrcMnyType", "t_Currency"},
    {"t_ICItem", "FAuxClassID", "t_ItemClass"}, {"t_ICItem", "FSPID", "t_StockPlace"},
    {"t_ICItem", "FInspectionProject", "ICQCScheme"}, {"t_ICItem", "FDefaultRoutingID", "t_Routing"},
    {"t_ICItem", "FDefaultWorkTypeID", "t_WorkType"},
    // A property picked from a user-defined class (of goods' properties) names the class.
    {"t_ItemPropDesc", "FSearch", "t_ItemClass", "x.FSearch BETWEEN 3000 AND 9999"},
    // The rights of an item class.
    {"t_ObjectType", "FObjectID", "t_ItemClass", kClassObject}, {"t_ObjectAccessType", "FObjectID", "t_ItemClass", kClassObject},
    {"t_ObjectAccess", "FObjectID", "t_ItemClass", kClassObject}, {"t_AccessControl", "FObjectID", "t_ItemClass", kClassObject},
};
// clang-format on

// Values that a type leaves behind by design, in the rows the condition picks.
struct Uncarried {
  const char* table;
  const char* column;
  std::string rows;
};
const Uncarried kUncarried[] = {
    // the records of cost items and of the classes that users define carry no deleted mark
    {"t_Item", "FDeleted", "x.FItemClassID = 2003 OR " + UserClass("x.FItemClassID")},
    {"t_AcctGroup", "UUID", "1"},  // an account's group arrives without its UUID, made anew when missing
    // A user-defined class record carries no UUID and one name, which its import writes into all three
    // name columns.
    {"t_ItemClass", "UUID", UserClass("x.FItemClassID")},
    {"t_ItemClass", "FName_EN", UserClass("x.FItemClassID")},
    {"t_ItemClass", "FName_CHT", UserClass("x.FItemClassID")},
    // Property descriptions are numbered over all classes by the account set, in the order the classes
    // arrive (a commercial road brings the classes of goods' properties first).
    {"t_ItemPropDesc", "FPropID", "1"},
    // A bar code's remark travels as text: one the account set holds as Null arrives empty.
    {"t_BarCode", "FRemark", "x.FRemark = ''"},
};

bool UuidTravels(const std::string& table) {
  return std::none_of(std::begin(kUncarried), std::end(kUncarried),
                      [&](const Uncarried& u) { return u.table == table && std::string(u.column) == "UUID"; });
}

// Rows that no type exchanges by design, left out of the comparison.
struct LeftBehind {
  const char* table;
  const char* rows;
  bool commercialOnly = false;
};
const LeftBehind kLeftBehind[] = {
    // the ERP's predefined auxiliary data of a commercial account set: every account set has its own
    {"com_SysType", "x.FPreDefined <> 0"},
    // a class of them travels with its entries: one that has only predefined entries stays behind
    {"com_SysTypeClass", "NOT EXISTS (SELECT 1 FROM com_SysType s WHERE s.FClassID = x.FTypeClassID AND s.FPreDefined = 0)"},
    // A made material makes its own cost object in any account set; a commercial one carries no cost
    // objects, so those of its materials stay in the copy alone.
    {"t_Item", "x.FItemClassID = 2001", true}, {"cbCostObj", "1", true}, {"cb_CostObj_Product", "1", true},
};

// The own table of a user-defined item class and its column in t_ItemDetail are named by the class's
// identifier, which every account set gives on its own: they are compared under the class's number.
struct ClassNames {
  std::map<std::string, std::string> tables, columns;  // as named in the account set -> as compared
  std::string table(const std::string& name) const { return tables.count(name) ? tables.at(name) : name; }
  std::string column(const std::string& name) const { return columns.count(name) ? columns.at(name) : name; }
};

ClassNames ClassNamesOf(sql::Database& db, Identifiers identifiers) {
  ClassNames names;
  if (identifiers == Identifiers::Equal) return names;
  for (const auto& row : db.query("SELECT FItemClassID, FNumber FROM t_ItemClass WHERE FSQLTableName = 't_Item_' || FItemClassID").rows) {
    names.tables["t_Item_" + CStr(row[0])] = "t_Item_{" + CStr(row[1]) + "}";
    names.columns["F" + CStr(row[0])] = "F{" + CStr(row[1]) + "}";
  }
  return names;
}

struct Column {
  std::string name, type;
  bool identity;  // the table's own identifier, given by the account set
};

std::vector<Column> ColumnsOf(sql::Database& db, const std::string& table) {
  std::vector<Column> columns;
  for (const auto& row : db.query("SELECT name, upper(type), pk FROM pragma_table_info(?1) ORDER BY cid",
                                  std::vector<Variant>{Variant(table)}).rows)
    columns.push_back({CStr(row[0]), CStr(row[1]), CStr(row[1]) == "INTEGER" && CLng(row[2]) == 1});
  return columns;
}

bool Has(const std::vector<Column>& columns, const std::string& name) {
  return std::any_of(columns.begin(), columns.end(), [&](const Column& c) { return c.name == name; });
}

std::string IdentityOf(const std::vector<Column>& columns) {
  for (const Column& c : columns)
    if (c.identity) return c.name;
  return "";
}

// The table a column points into and the rows in which it does; no target when it is no link.
struct Target {
  std::string table;
  std::string rows = "1";
};

Target TargetOf(sql::Database& db, const std::string& table, const Column& column, const std::vector<Column>& columns) {
  if (column.identity) return {};
  for (const Link& link : kLinks)
    if ((link.table == table || std::string(link.table) == "*") && link.column == column.name && link.target != table)
      return {link.target, link.rows};
  if (column.name == "FItemID") return {"t_Item"};
  // A parent is a record of the same table, or the item whose detail row this is.
  if (column.name == "FParentID") return {IdentityOf(columns).empty() ? "t_Item" : table};
  // A property of a user-defined class that looks its value up keeps a key of its source table.
  for (const auto& row : db.query("SELECT d.FSrcTable FROM t_ItemPropDesc d JOIN t_ItemClass c ON c.FItemClassID = "
                                  "d.FItemClassID WHERE c.FSQLTableName = ?1 AND d.FSQLColumnName = ?2 AND d.FSrcTable <> ''",
                                  std::vector<Variant>{Variant(table), Variant(column.name)}).rows)
    return {CStr(row[0])};
  return {};
}

// What names a record in any account set: its UUID (where it travels), else its number, else its name,
// else all it holds.
std::string KeyOf(const std::string& table, const std::vector<Column>& columns) {
  for (const char* key : {"UUID", "FNumber", "FName"})
    if (Has(columns, key) && (key != std::string("UUID") || UuidTravels(table))) return key;
  std::string all;
  for (const Column& c : columns)
    if (!c.identity) all += (all.empty() ? "" : " || ',' || ") + ("quote(" + sql::QuoteIdentifier(c.name) + ")");
  return all;
}

struct Table {
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> rows;
};

Table Read(sql::Database& db, const std::string& table, Identifiers identifiers, Kind kind, const ClassNames& names) {
  // A seeded table is a copy with the identifiers it had, its links included.
  if (NotCarried(table, kind)) identifiers = Identifiers::Equal;
  const std::vector<Column> columns = ColumnsOf(db, table);
  // Each column as compared and the expression of its value.
  std::vector<std::pair<std::string, std::string>> read;
  for (const Column& c : columns) {
    if (c.type.find("TIMESTAMP") != std::string::npos) continue;  // row versions differ by design
    if (c.identity && identifiers == Identifiers::ByWhatTheyPointAt) continue;
    const std::string value = "x." + sql::QuoteIdentifier(c.name);
    std::string expr = value;
    const Target target = TargetOf(db, table, c, columns);
    if (!target.table.empty() && identifiers == Identifiers::ByWhatTheyPointAt) {
      const std::vector<Column> targetColumns = ColumnsOf(db, target.table);
      const std::string id = target.table == "t_Item" ? "FItemID" : IdentityOf(targetColumns);
      if (!id.empty())
        expr = "CASE WHEN NOT (" + target.rows + ") OR " + value + " IS NULL OR " + value + " = 0 THEN " + value +
               " ELSE IFNULL((SELECT " + KeyOf(target.table, targetColumns) + " FROM " + target.table + " WHERE " + id +
               " = " + value + "), 'dangling ' || " + value + ") END";
    }
    if (table == "t_ItemClass" && c.name == "FSQLTableName" && identifiers == Identifiers::ByWhatTheyPointAt)
      expr = "CASE WHEN x.FSQLTableName = 't_Item_' || x.FItemClassID THEN 't_Item_{' || x.FNumber || '}' ELSE "
             "x.FSQLTableName END";
    for (const Uncarried& u : kUncarried)
      if (u.table == table && u.column == c.name) expr = "CASE WHEN " + u.rows + " THEN NULL ELSE " + expr + " END";
    read.emplace_back(names.column(c.name), expr);
  }
  // The columns of user-defined classes stand in the order their classes arrived: they go last, by name.
  std::stable_sort(read.begin(), read.end(), [&](const auto& a, const auto& b) {
    const bool classA = a.first.ends_with("}"), classB = b.first.ends_with("}");
    return classA != classB ? classB : classA && a.first < b.first;
  });
  Table result;
  std::string select;
  for (const auto& [name, expr] : read) {
    select += (select.empty() ? "" : ", ") + std::string("quote(") + expr + ")";
    result.columns.push_back(name);
  }
  std::string where;
  for (const LeftBehind& l : kLeftBehind)
    if (l.table == table && (!l.commercialOnly || kind == Kind::Commercial)) where += std::string(where.empty() ? " WHERE " : " AND ") + "NOT (" + l.rows + ")";
  for (const auto& row : db.query("SELECT " + select + " FROM " + sql::QuoteIdentifier(table) + " x" + where).rows) {
    std::vector<std::string> values;
    for (const Variant& v : row) values.push_back(CStr(v));
    result.rows.push_back(std::move(values));
  }
  return result;
}

std::vector<std::string> TablesOf(sql::Database& db) {
  std::vector<std::string> tables;
  for (const auto& row : db.query("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name").rows)
    if (Compared(CStr(row[0]))) tables.push_back(CStr(row[0]));
  return tables;
}

std::string Joined(const std::vector<std::string>& values) {
  std::string text;
  for (const std::string& v : values) text += (text.empty() ? "" : ", ") + v;
  return text;
}

// Rows keyed by their UUID, else by the item they belong to, else by their whole content; a key that
// two rows share falls back to the whole content.
std::multimap<std::string, std::vector<std::string>> Keyed(const Table& t) {
  std::size_t at = t.columns.size();
  for (const char* key : {"UUID", "FItemID"})
    if (at == t.columns.size())
      at = std::find(t.columns.begin(), t.columns.end(), key) - t.columns.begin();
  std::set<std::string> seen;
  bool unique = at < t.columns.size();
  for (const auto& row : t.rows)
    if (unique && !seen.insert(row[at]).second) unique = false;
  std::multimap<std::string, std::vector<std::string>> keyed;
  for (const auto& row : t.rows) keyed.emplace(unique ? row[at] : Joined(row), row);
  return keyed;
}

std::string TableDifferences(const std::string& name, const Table& a, const Table& b) {
  // Rows of tables whose columns differ (a user-defined class adds its own) cannot be set side by side.
  if (a.columns != b.columns) return name + ": columns: " + Joined(a.columns) + " | " + Joined(b.columns) + "\n";
  std::string out;
  auto ka = Keyed(a), kb = Keyed(b);
  for (auto ia = ka.begin(); ia != ka.end(); ++ia) {
    auto ib = kb.find(ia->first);
    if (ib == kb.end()) {
      out += name + ": only in the first: " + Joined(ia->second) + "\n";
      continue;
    }
    for (std::size_t c = 0; c < a.columns.size(); ++c)
      if (ia->second[c] != ib->second[c])
        out += name + ": " + ia->first + ": " + a.columns[c] + ": " + ia->second[c] + " | " + ib->second[c] + "\n";
    kb.erase(ib);
  }
  for (const auto& [key, row] : kb) out += name + ": only in the second: " + Joined(row) + "\n";
  return out;
}

}  // namespace

bool OnTheRoad(std::int32_t lIO, Kind kind) {
  switch (lIO) {
    case 20:  // the auxiliary properties of goods are refused in an industrial account set
      return kind == Kind::Commercial;
  }
  return true;
}

std::string DanglingLinks(const std::string& path) {
  // Identifiers are positive: 0 names no record, and -1 every item of a class (t_ItemDetailV).
  sql::Database db(path, sql::Database::Mode::OpenExisting);
  std::string out;
  for (const std::string& table : TablesOf(db)) {
    const std::vector<Column> columns = ColumnsOf(db, table);
    for (const Column& c : columns) {
      const Target target = TargetOf(db, table, c, columns);
      if (target.table.empty()) continue;
      const std::string id = target.table == "t_Item" ? "FItemID" : IdentityOf(ColumnsOf(db, target.table));
      if (id.empty()) continue;
      const std::string column = "x." + sql::QuoteIdentifier(c.name);
      const auto dangling = db.query("SELECT COUNT(*), MIN(" + column + ") FROM " + sql::QuoteIdentifier(table) +
                                     " x WHERE (" + target.rows + ") AND " + column + " > 0 AND NOT EXISTS (SELECT 1 FROM " +
                                     target.table + " WHERE " + id + " = " + column + ")").rows.at(0);
      if (CLng(dangling[0]) > 0)
        out += table + "." + c.name + ": " + CStr(dangling[0]) + " rows point at no row of " + target.table + " (such as " +
               CStr(dangling[1]) + ")\n";
    }
  }
  return out;
}

std::string Literal(const std::string& path) {
  std::string text = "'";
  for (char c : path) text += c == '\'' ? std::string("''") : std::string(1, c);
  return text + "'";
}

std::string PropsOfKind(Kind kind) {
  return std::string("UserID=16;AcctType=") + (kind == Kind::Industrial ? "GY" : "SY") + ";Setuptype=;Language=CHS";
}

std::string Differences(const std::string& a, const std::string& b, Identifiers identifiers, Kind kind) {
  sql::Database da(a, sql::Database::Mode::OpenExisting), db(b, sql::Database::Mode::OpenExisting);
  const ClassNames namesA = ClassNamesOf(da, identifiers), namesB = ClassNamesOf(db, identifiers);
  // Each side's tables under the names they are compared by.
  std::map<std::string, std::string> inA, inB;
  for (const std::string& table : TablesOf(da)) inA[namesA.table(table)] = table;
  for (const std::string& table : TablesOf(db)) inB[namesB.table(table)] = table;
  std::string out;
  for (const auto& [name, table] : inA) {
    auto other = inB.find(name);
    if (other == inB.end()) {
      out += name + ": only in the first account set\n";
      continue;
    }
    out += TableDifferences(name, Read(da, table, identifiers, kind, namesA),
                            Read(db, other->second, identifiers, kind, namesB));
  }
  for (const auto& [name, table] : inB)
    if (!inA.count(name)) out += name + ": only in the second account set\n";
  return out;
}

void SeedNotCarried(const std::string& source, const std::string& target, Kind kind) {
  sql::Database db(target, sql::Database::Mode::OpenExisting);
  db.execScript("ATTACH " + Literal(source) + " AS src");
  std::string script = "BEGIN;";
  for (const auto& row : db.query("SELECT name, sql FROM src.sqlite_master WHERE type = 'table'").rows) {
    const std::string table = CStr(row[0]);
    const std::string quoted = sql::QuoteIdentifier(table);
    const std::vector<Variant> name{Variant(table)};
    const bool present = !db.query("SELECT 1 FROM main.sqlite_master WHERE name = ?1", name).rows.empty();
    if (!NotCarried(table, kind)) continue;
    if (!present) script += CStr(row[1]) + ";";
    std::string columns;
    for (const auto& column : db.query("SELECT name FROM pragma_table_info(?1, 'src') ORDER BY cid", name).rows)
      columns += (columns.empty() ? "" : ", ") + sql::QuoteIdentifier(CStr(column[0]));
    script += "DELETE FROM main." + quoted + "; INSERT INTO main." + quoted + " (" + columns + ") SELECT " + columns +
              " FROM src." + quoted + ";";
  }
  std::string carriedClasses;
  for (int c : kCarriedItemClasses) carriedClasses += (carriedClasses.empty() ? "" : ", ") + std::to_string(c);
  script += "INSERT INTO main.t_Item SELECT * FROM src.t_Item WHERE FItemID <> 0 AND FItemClassID NOT IN (" + carriedClasses +
            ") AND NOT " + UserClass("FItemClassID") + ";"
            "INSERT INTO main.t_BarCode SELECT * FROM src.t_BarCode WHERE FTypeID NOT IN (" + carriedClasses + ") AND NOT " +
            UserClass("FTypeID") + ";"
            "COMMIT; DETACH src;";
  db.execScript(script);
}

}  // namespace quillane::testing
