// The account set: its schema, its system rows, the sample generator, and what the schema promises
// (text without case, defaults, row versions, the auxiliary-property trigger, cbAddCostObj).
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <filesystem>
#include <fstream>

#include "accountset/accountset.h"
#include "platform/automation/vbconv.h"
#include "platform/sql/column_types.h"
#include "platform/sql/connection.h"
#include "platform/sql/database.h"
#include "support/render_rows.h"
#include "support/environment.h"

namespace quillane::testing {
namespace {

class AccountSet : public ::testing::Test {
 protected:
  std::shared_ptr<sql::Connection> open(const std::string& path) {
    auto c = std::make_shared<sql::Connection>();
    c->setConnString(accountset::ConnectString(path));
    return c;
  }
  std::string one(sql::Connection& c, const std::string& sql) { return CStr(c.GetAnyRecordSet(sql)->Value(0)); }

  TempDir folder_;
};

TEST_F(AccountSet, EmptyHoldsTheTablesAndSystemRows) {
  std::string path = folder_.file("empty.db");
  accountset::CreateEmpty(path);
  auto c = open(path);
  for (const char* table :
       {"t_SystemProfile", "t_User", "t_Group", "t_AccessControl", "t_Item", "t_ItemClass", "t_BarCode",
        "t_BaseDataDeleted", "COM_ItemAuxProp", "cb_CostObj_Product", "t_Organization", "t_ICItem",
        "cbCostObj", "t_SubMessage", "t_Account", "t_Currency", "t_Settle", "t_MeasureUnit", "t_UnitGroup",
        "t_StockPlace", "t_StockPlaceGroup", "ICQCScheme", "t_Routing", "t_WorkType", "t_JobType", "t_IcTeamTime"})
    EXPECT_EQ(one(*c, std::string("SELECT COUNT(*) FROM sysobjects WHERE type = 'U' AND name = '") + table + "'"), "1")
        << table;
  for (const char* view : {"t_ICItemCore", "vwItemAuxProp", "vwAssignStock", "vwInstStock", "vwKeepStock", "vwAssigneeStock"})
    EXPECT_EQ(one(*c, std::string("SELECT COUNT(*) FROM sysobjects WHERE type = 'V' AND name = '") + view + "'"), "1")
        << view;
  EXPECT_EQ(one(*c, "SELECT COUNT(*) FROM sysobjects WHERE type = 'TR' AND name = 'COM_ItemAuxProp_Delete'"), "1");
  EXPECT_EQ(one(*c, "SELECT FValue FROM T_SYSTEMPROFILE WHERE FCategory='Base' AND FKey='ServicePack'"), "3.0.0.0");
  EXPECT_EQ(one(*c, "SELECT t_User.FUserID FROM t_Group, t_User WHERE t_Group.FUserID = t_User.FUserID AND "
                    "t_User.FUserID = 16AND t_Group.FGroupID = 1"),
            "16");
  EXPECT_EQ(one(*c, "SELECT COUNT(*) FROM t_Item"), "1") << "only row 0";
  EXPECT_EQ(one(*c, "SELECT FItemClassID FROM t_Item WHERE FItemID = 0"), "0");
  EXPECT_EQ(one(*c, "SELECT FSQLTableName FROM t_ItemClass WHERE FItemClassID = 2001"), "cbCostObj");
}

TEST_F(AccountSet, RefusesAFileThatExistsAndLeavesItAlone) {
  std::string path = folder_.file("taken.db");
  std::ofstream(path) << "keep me";
  EXPECT_THROW(accountset::CreateEmpty(path), AutomationError);
  std::ifstream in(path);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "keep me");
}

TEST_F(AccountSet, DefaultsOfNewRows) {
  std::string path = folder_.file("defaults.db");
  accountset::CreateEmpty(path);
  auto c = open(path);
  c->Execute("INSERT INTO t_Item (FItemClassID,FLevel,FDetail,FParentID,FNumber,FName) VALUES (1,1,1,0,'01','A')\r\n"
             "INSERT INTO t_Item (FItemClassID,FLevel,FDetail,FParentID,FNumber,FName) VALUES (1,1,1,0,'02','B')");
  auto rs = c->GetAnyRecordSet("SELECT FDeleted, FSystemType, UUID, FModifyTime FROM t_Item WHERE FItemID <> 0 ORDER BY FItemID");
  EXPECT_EQ(rs->Value("FDeleted"), Variant(std::int16_t{0}));
  EXPECT_EQ(rs->Value("FSystemType"), Variant(std::int32_t{1}));
  std::string first = CStr(rs->Value("UUID"));
  EXPECT_EQ(first.size(), 36u);
  EXPECT_EQ(first[14], '4');
  EXPECT_EQ(rs->Value("FModifyTime").as<Bytes>().size(), 8u);
  rs->MoveNext();
  EXPECT_NE(CStr(rs->Value("UUID")), first);
  c->Execute("INSERT t_ItemClass (FNumber,FName,FName_Cht,FName_EN,FType) VALUES ('C1','Colour','Colour','Colour',3)");
  EXPECT_EQ(one(*c, "SELECT FItemClassID FROM t_ItemClass WHERE FNumber='C1' AND FName='Colour'"), "3001")
      << "classes made at run time get ids of custom classes";
  EXPECT_EQ(one(*c, "SELECT FNumber FROM vwItemAuxProp WHERE FItemID = 3001"), "C1");
}

// Every text column of the schema compares without regard to case, as the ERP's do.
TEST_F(AccountSet, TextColumnsIgnoreCaseButKeepTrailingBlanks) {
  std::string path = folder_.file("nocase.db");
  accountset::CreateSample(path, 2);
  sql::Database db(path, sql::Database::Mode::OpenExisting);
  sql::Rowset columns = db.query(
      "SELECT m.name, p.name, p.type FROM sqlite_master m, pragma_table_info(m.name) p WHERE m.type = 'table' "
      "AND m.name NOT LIKE 'sqlite%' AND m.name NOT LIKE 'quillane%'");
  int textColumns = 0;
  for (const auto& row : columns.rows) {
    if (!sql::ColumnTypeOf(CStr(row[2])).isText) continue;
    const char* collation = nullptr;
    ASSERT_EQ(sqlite3_table_column_metadata(db.handle(), "main", CStr(row[0]).c_str(), CStr(row[1]).c_str(), nullptr,
                                            &collation, nullptr, nullptr, nullptr),
              SQLITE_OK);
    EXPECT_STRCASEEQ(collation, "NOCASE") << CStr(row[0]) << "." << CStr(row[1]);
    ++textColumns;
  }
  EXPECT_GT(textColumns, 50);
  auto c = open(path);
  EXPECT_EQ(one(*c, "SELECT FName FROM t_Currency WHERE FNumber = 'rmb'"), "人民币");
  EXPECT_EQ(one(*c, "SELECT COUNT(*) FROM t_Currency WHERE FNumber = 'RMB '"), "0");
}

// Every id the database hands out is an identity key that never hands out an id again: a table whose
// key is INTEGER PRIMARY KEY must say AUTOINCREMENT, or SQLite gives the highest id again once its row
// is deleted.
TEST_F(AccountSet, IdentityKeysNeverHandOutAnIdAgain) {
  std::string path = folder_.file("identity.db");
  accountset::CreateEmpty(path);
  {
    sql::Database db(path, sql::Database::Mode::OpenExisting);
    sql::Rowset keys = db.query(
        "SELECT m.name, m.sql FROM sqlite_master m WHERE m.type = 'table' AND m.name NOT LIKE 'sqlite%' AND "
        "(SELECT COUNT(*) FROM pragma_table_info(m.name) p WHERE p.pk > 0) = 1 AND "
        "(SELECT upper(p.type) FROM pragma_table_info(m.name) p WHERE p.pk > 0) = 'INTEGER'");
    EXPECT_GT(keys.rows.size(), 10u);
    for (const auto& row : keys.rows)
      EXPECT_NE(CStr(row[1]).find("AUTOINCREMENT"), std::string::npos) << CStr(row[0]) << " may hand out an id again";
  }
}

std::string dump(const std::string& path) {
  sql::Database db(path, sql::Database::Mode::OpenExisting);
  std::string text;
  for (const auto& table : db.query("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name").rows) {
    sql::Rowset rows = db.query("SELECT * FROM " + sql::QuoteIdentifier(CStr(table[0])) + " ORDER BY rowid");
    for (const auto& row : rows.rows) {
      text += CStr(table[0]);
      for (const Variant& v : row) text += "|" + (v.isNull() ? std::string("NULL") : v.isBytes() ? std::to_string(v.as<Bytes>().back()) : CStr(v));
      text += "\n";
    }
  }
  return text;
}

// An export reads a class's highest stamp and each page in stamp order, and an import finds links by
// number and name or by name alone: each of these must find its rows by an index, or the work grows with the whole table.
TEST_F(AccountSet, PagesAndLinksAreFoundByIndexes) {
  std::string path = folder_.file("plans.db");
  accountset::CreateEmpty(path);
  sql::Database db(path, sql::Database::Mode::OpenExisting);
  const std::pair<const char*, const char*> plans[] = {
      {"SELECT * FROM t_Item WHERE (FSystemType=1) AND (FModifyTime>X'00') AND FItemClassID=2 AND FItemID <> 0 "
       "ORDER BY FModifyTime LIMIT 100",
       "SEARCH t_Item USING INDEX ix_t_Item_Class_ModifyTime (FItemClassID=? AND FModifyTime>?)"},
      {"SELECT MAX(FModifyTime) FROM t_Item WHERE FItemClassID=2 AND FItemID <> 0",
       "SEARCH t_Item USING COVERING INDEX ix_t_Item_Class_ModifyTime (FItemClassID=?)"},
      {"SELECT FItemID FROM t_Item WHERE FNumber='01' AND FName='x'", "SEARCH t_Item USING INDEX ix_t_Item_Name (FName=?)"},
      {"SELECT FItemID FROM t_Item WHERE FName='x'", "SEARCH t_Item USING COVERING INDEX ix_t_Item_Name (FName=?)"},
  };
  for (const auto& [query, plan] : plans)
    EXPECT_EQ(CStr(db.query(std::string("EXPLAIN QUERY PLAN ") + query).rows.at(0).at(3)), plan) << query;
}

TEST_F(AccountSet, SampleRowsDependOnTheSizeAndKindOnly) {
  accountset::CreateSample(folder_.file("a.db"), 30);
  accountset::CreateSample(folder_.file("b.db"), 30);
  EXPECT_EQ(dump(folder_.file("a.db")), dump(folder_.file("b.db")));
  accountset::CreateSample(folder_.file("c.db"), 30, accountset::Kind::Commercial);
  accountset::CreateSample(folder_.file("d.db"), 30, accountset::Kind::Commercial);
  EXPECT_EQ(dump(folder_.file("c.db")), dump(folder_.file("d.db")));
  auto c = open(folder_.file("a.db"));
  EXPECT_EQ(one(*c, "SELECT COUNT(*) FROM t_Item WHERE FItemClassID = 1 AND FDetail = 1"), "30");
  EXPECT_EQ(one(*c, "SELECT COUNT(*) FROM t_Item WHERE FItemClassID = 1 AND FDetail = 0"), "2");
  EXPECT_EQ(one(*c, "SELECT COUNT(*) FROM t_Organization"), "30");
  EXPECT_EQ(one(*c, "SELECT COUNT(*) FROM t_Item WHERE FItemClassID = 9"), "32") << "cash-flow items have no detail table";
  EXPECT_EQ(one(*c, "SELECT COUNT(*) FROM t_BarCode WHERE FTypeID = 4"), "30");
  EXPECT_EQ(one(*c, "SELECT COUNT(*) FROM t_BaseDataDeleted WHERE FItemClassID = 2"), "3");
  EXPECT_EQ(one(*c, "SELECT COUNT(*) FROM t_Item WHERE FDeleted = 1 AND FItemClassID = 3"), "1");
  EXPECT_EQ(one(*c, "SELECT COUNT(DISTINCT FModifyTime) - COUNT(*) FROM t_Item WHERE FItemID <> 0"), "0");
  EXPECT_EQ(one(*c, "SELECT p.FNumber FROM t_Item i, t_Item p WHERE i.FParentID = p.FItemID AND i.FNumber = '02.0002' "
                    "AND i.FItemClassID = 4"),
            "02");
  accountset::CreateSample(folder_.file("none.db"), 0);
  EXPECT_EQ(one(*open(folder_.file("none.db")), "SELECT COUNT(*) FROM t_Item WHERE FItemClassID = 1"), "0");
}

// The import disables the trigger around its replacement of an item's auxiliary properties, inside
// the record's transaction; a disable that outlives its transaction is undone by the next one that writes.
TEST_F(AccountSet, AuxiliaryPropertyTriggerRefusesDeletesUntilDisabled) {
  std::string path = folder_.file("aux.db");
  accountset::CreateEmpty(path);
  auto c = open(path);
  c->Execute("INSERT INTO COM_ItemAuxProp (FItemID,FAuxPropID) VALUES(7,8)");
  EXPECT_THROW(c->Execute("DELETE FROM COM_ItemAuxProp WHERE FItemID=7"), AutomationError);
  const std::string guard =
      "IF EXISTS (SELECT name From sysobjects WHERE  name = 'COM_ItemAuxProp_Delete' AND type = 'TR') ";
  c->BeginTrans();
  c->Execute(guard + "ALTER TABLE COM_ItemAuxProp DISABLE TRIGGER COM_ItemAuxProp_Delete");
  c->Execute("DELETE FROM COM_ItemAuxProp WHERE FItemID=7\r\nINSERT INTO COM_ItemAuxProp (FItemID,FAuxPropID) VALUES(7,9)");
  c->Execute(guard + "ALTER TABLE COM_ItemAuxProp ENABLE TRIGGER COM_ItemAuxProp_Delete");
  c->CommitTrans();
  EXPECT_THROW(c->Execute("DELETE FROM COM_ItemAuxProp WHERE FItemID=7"), AutomationError);
  EXPECT_EQ(one(*c, "SELECT FAuxPropID FROM COM_ItemAuxProp WHERE FItemID = 7"), "9");

  c->Execute(guard + "ALTER TABLE COM_ItemAuxProp DISABLE TRIGGER COM_ItemAuxProp_Delete");
  EXPECT_THROW(c->Execute("DELETE FROM COM_ItemAuxProp WHERE FItemID=7"), AutomationError)
      << "a disable committed on its own lasted beyond its transaction";
}

TEST_F(AccountSet, CbAddCostObjMakesTheCostObjectOfAMaterial) {
  std::string path = folder_.file("cost.db");
  accountset::CreateEmpty(path);
  auto c = open(path);
  // A material in its group, and the cost-object group that the import mirrors before the call.
  c->Execute("INSERT INTO t_Item (FItemClassID,FLevel,FDetail,FParentID,FNumber,FName) VALUES (4,1,0,0,'09','Parts')\r\n"
             "INSERT INTO t_Item (FItemClassID,FLevel,FDetail,FParentID,FNumber,FName) SELECT 4,2,1,FItemID,'09.001','Gear' "
             "FROM t_Item WHERE FNumber = '09'\r\n"
             "INSERT INTO t_Item (FItemClassID,FLevel,FDetail,FParentID,FNumber,FName) VALUES (2001,1,0,0,'09','Parts')");
  std::string material = one(*c, "SELECT FItemID FROM t_Item WHERE FItemClassID = 4 AND FNumber = '09.001'");
  std::string group = one(*c, "SELECT FItemID FROM t_Item WHERE FItemClassID = 2001 AND FNumber = '09'");
  c->Execute("Execute cbAddCostObj " + material);
  c->Execute("Execute cbAddCostObj " + material);
  auto rs = c->GetAnyRecordSet("SELECT FItemID, FName, FParentID, FDetail, FLevel FROM t_Item WHERE FItemClassID = 2001 AND FNumber = '09.001'");
  ASSERT_EQ(rs->RecordCount(), 1) << "a second call makes no second cost object";
  EXPECT_EQ(RenderRows(*c->GetAnyRecordSet("SELECT FName, FParentID, FDetail, FLevel FROM t_Item WHERE FItemClassID = 2001 "
                                           "AND FNumber = '09.001'")),
            "Gear," + group + ",True,2");
  std::string costObject = CStr(rs->Value("FItemID"));
  EXPECT_EQ(RenderRows(*c->GetAnyRecordSet("SELECT FNumber, FName, FParentID FROM cbCostObj WHERE FItemID = " + costObject)),
            "09.001,Gear," + group);
  EXPECT_EQ(RenderRows(*c->GetAnyRecordSet("SELECT FProductID, FQuotiety, FIsStand, FIsDeputy FROM cb_CostObj_Product WHERE FCostObjID = " + costObject)),
            material + ",1,True,False");
  EXPECT_THROW(c->Execute("EXEC cbAddCostObj " + group), AutomationError) << "no material";
  EXPECT_THROW(c->Execute("EXEC cbAddCostObj"), AutomationError) << "no argument";
}

}  // namespace
}  // namespace quillane::testing
