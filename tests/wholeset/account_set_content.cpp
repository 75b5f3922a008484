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
    // user-defined item classes: their catalogue, rights and own tables
    "t_ItemClass", "t_ItemPropDesc", "t_ObjectType", "t_ObjectAccessType", "t_ObjectAccess",
    "t_AccessControl", "t_Item_1001", "t_Item_3001", "t_Item_3002",
    // the detail tables of materials, which are not on the road yet, and the commercial tables of
    // materials and warehouses
    "t_ICItem", "t_ICItemCore", "COM_ItemAuxProp", "COM_Item", "COM_Stock"};
// The item classes whose records the program carries.
const std::vector<int> kCarriedItemClasses = {1, 2, 3, 5, 7, 8, 9, 10, 14, 2001, 2002, 2003, 2004, 2014};

// The auxiliary properties of goods, which travel in a commercial account set only: their classes
// (FType 3 and 4) and the classes' own tables.
const std::vector<int> kAuxPropClasses = {3002, 3003, 3004};

bool IsAuxPropTable(const std::string& table) {
  for (int c : kAuxPropClasses)
    if (table == "t_Item_" + std::to_string(c)) return true;
  return false;
}

// Each kind of account set keeps its auxiliary data in tables of its own; those of the other kind are
// not on its road. Nothing but the tables of this list and of kNotCarriedTables is seeded.
bool NotCarried(const std::string& table, Kind kind) {
  static const std::set<std::string> industrialAssist = {"t_SubMessage", "t_SubMesType"};
  static const std::set<std::string> commercialAssist = {"com_SysType", "com_SysTypeClass"};
  if (kind == Kind::Commercial && IsAuxPropTable(table)) return false;
  return kNotCarriedTables.count(table) || (kind == Kind::Industrial ? commercialAssist : industrialAssist).count(table);
}

std::vector<int> CarriedItemClasses(Kind kind) {
  std::vector<int> classes = kCarriedItemClasses;
  if (kind == Kind::Commercial) classes.insert(classes.end(), kAuxPropClasses.begin(), kAuxPropClasses.end());
  return classes;
}

// Deletion keys are compared by their own pass: an import of records writes none.
bool Compared(const std::string& table) {
  return table.rfind("sqlite_", 0) != 0 && table.rfind("quillane_", 0) != 0 && table != "t_BaseDataDeleted";
}

// A link column and the table of the record it points at; "*" stands for every table.
struct Link {
  const char* table;
  const char* column;
  const char* target;
};
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
};
// clang-format on

// Values that a type leaves behind by design, in the rows the condition picks.
struct Uncarried {
  const char* table;
  const char* column;
  const char* rows;
};
const Uncarried kUncarried[] = {
    // the records of cost items and of the classes that users define carry no deleted mark
    {"t_Item", "FDeleted", "x.FItemClassID = 2003 OR x.FItemClassID BETWEEN 1001 AND 1999 OR x.FItemClassID > 3000"},
    {"t_AcctGroup", "UUID", "1"},  // an account's group arrives without its UUID, made anew when missing
};

// Rows that no type exchanges by design, left out of the comparison.
struct LeftBehind {
  const char* table;
  const char* rows;
};
const LeftBehind kLeftBehind[] = {
    // the ERP's predefined auxiliary data of a commercial account set: every account set has its own
    {"com_SysType", "x.FPreDefined <> 0"},
    // a class of them travels with its entries: one that has only predefined entries stays behind
    {"com_SysTypeClass", "NOT EXISTS (SELECT 1 FROM com_SysType s WHERE s.FClassID = x.FTypeClassID AND s.FPreDefined = 0)"},
};

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

// The table a column points into, or "" when it is no link.
std::string TargetOf(const std::string& table, const Column& column, const std::vector<Column>& columns) {
  if (column.identity) return "";
  for (const Link& link : kLinks)
    if ((link.table == table || std::string(link.table) == "*") && link.column == column.name && link.target != table)
      return link.target;
  if (column.name == "FItemID") return "t_Item";
  // A parent is a record of the same table, or the item whose detail row this is.
  if (column.name == "FParentID") return IdentityOf(columns).empty() ? "t_Item" : table;
  return "";
}

// What names a record in any account set: its UUID, else its number, else its name, else all it holds.
std::string KeyOf(const std::vector<Column>& columns) {
  for (const char* key : {"UUID", "FNumber", "FName"})
    if (Has(columns, key)) return key;
  std::string all;
  for (const Column& c : columns)
    if (!c.identity) all += (all.empty() ? "" : " || ',' || ") + ("quote(" + sql::QuoteIdentifier(c.name) + ")");
  return all;
}

struct Table {
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> rows;
};

Table Read(sql::Database& db, const std::string& table, Identifiers identifiers, Kind kind) {
  // A seeded table is a copy with the identifiers it had, its links included.
  if (NotCarried(table, kind)) identifiers = Identifiers::Equal;
  const std::vector<Column> columns = ColumnsOf(db, table);
  Table result;
  std::string select;
  for (const Column& c : columns) {
    if (c.type.find("TIMESTAMP") != std::string::npos) continue;  // row versions differ by design
    if (c.identity && identifiers == Identifiers::ByWhatTheyPointAt) continue;
    const std::string value = "x." + sql::QuoteIdentifier(c.name);
    std::string expr = value;
    const std::string target = TargetOf(table, c, columns);
    if (!target.empty() && identifiers == Identifiers::ByWhatTheyPointAt) {
      const std::vector<Column> targetColumns = ColumnsOf(db, target);
      const std::string id = target == "t_Item" ? "FItemID" : IdentityOf(targetColumns);
      if (!id.empty())
        expr = "CASE WHEN " + value + " IS NULL OR " + value + " = 0 THEN " + value + " ELSE IFNULL((SELECT " +
               KeyOf(targetColumns) + " FROM " + target + " WHERE " + id + " = " + value + "), 'dangling ' || " + value +
               ") END";
    }
    for (const Uncarried& u : kUncarried)
      if (u.table == table && u.column == c.name) expr = "CASE WHEN " + std::string(u.rows) + " THEN NULL ELSE " + expr + " END";
    select += (select.empty() ? "" : ", ") + std::string("quote(") + expr + ")";
    result.columns.push_back(c.name);
  }
  std::string where;
  for (const LeftBehind& l : kLeftBehind)
    if (l.table == table) where += std::string(where.empty() ? " WHERE " : " AND ") + "NOT (" + l.rows + ")";
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
    case 23:  // user-defined item classes go by their names
    // Materials name the custom class of their auxiliary properties, which is not on the road yet.
    case 8:
      return false;
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
      const std::string target = TargetOf(table, c, columns);
      if (target.empty()) continue;
      const std::string id = target == "t_Item" ? "FItemID" : IdentityOf(ColumnsOf(db, target));
      if (id.empty()) continue;
      const std::string column = "x." + sql::QuoteIdentifier(c.name);
      const auto dangling = db.query("SELECT COUNT(*), MIN(" + column + ") FROM " + sql::QuoteIdentifier(table) +
                                     " x WHERE " + column + " > 0 AND NOT EXISTS (SELECT 1 FROM " + target +
                                     " WHERE " + id + " = " + column + ")").rows.at(0);
      if (CLng(dangling[0]) > 0)
        out += table + "." + c.name + ": " + CStr(dangling[0]) + " rows point at no row of " + target + " (such as " +
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
  std::string out;
  const std::vector<std::string> inA = TablesOf(da), inB = TablesOf(db);
  for (const std::string& table : inA) {
    if (std::find(inB.begin(), inB.end(), table) == inB.end()) {
      out += table + ": only in the first account set\n";
      continue;
    }
    out += TableDifferences(table, Read(da, table, identifiers, kind), Read(db, table, identifiers, kind));
  }
  for (const std::string& table : inB)
    if (std::find(inA.begin(), inA.end(), table) == inA.end()) out += table + ": only in the second account set\n";
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
    const bool carried = !NotCarried(table, kind);
    // A class's own table comes with its class: while the classes are seeded, so are the (empty)
    // tables of the classes whose records travel.
    if (carried && !present && !(NotCarried("t_ItemClass", kind) && table.rfind("t_Item_", 0) == 0)) continue;
    if (!present) script += CStr(row[1]) + ";";
    // User-defined classes add their columns to tables of the account set, carried ones too.
    std::string columns;
    for (const auto& column : db.query("SELECT s.name, s.type, m.name IS NULL FROM pragma_table_info(?1, 'src') s "
                                       "LEFT JOIN pragma_table_info(?1, 'main') m ON m.name = s.name ORDER BY s.cid",
                                       name).rows) {
      const std::string quotedColumn = sql::QuoteIdentifier(CStr(column[0]));
      if (present && CBool(column[2]))
        script += "ALTER TABLE main." + quoted + " ADD COLUMN " + quotedColumn + " " + CStr(column[1]) + ";";
      columns += (columns.empty() ? "" : ", ") + quotedColumn;
    }
    if (carried) continue;
    script += "DELETE FROM main." + quoted + "; INSERT INTO main." + quoted + " (" + columns + ") SELECT " + columns +
              " FROM src." + quoted + ";";
  }
  std::string carriedClasses;
  for (int c : CarriedItemClasses(kind)) carriedClasses += (carriedClasses.empty() ? "" : ", ") + std::to_string(c);
  script += "INSERT INTO main.t_Item SELECT * FROM src.t_Item WHERE FItemID <> 0 AND FItemClassID NOT IN (" + carriedClasses + ");"
            "INSERT INTO main.t_BarCode SELECT * FROM src.t_BarCode WHERE FTypeID NOT IN (" + carriedClasses + ");"
            "COMMIT; DETACH src;";
  db.execScript(script);
}

}  // namespace quillane::testing
