// The item engine on its own, for what the department class does not reach: the class table and the
// version gate, the statements that differ by item class, suppliers, materials and their cost objects,
// and vectors that custom item classes hand in directly.
#include "exchange/clsItem.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "exchange/clsItem_links.h"
#include "exchange/modFunction_connection.h"
#include "exchange_db_fixture.h"
#include "platform/automation/automation.h"
#include "platform/sql/database.h"
#include "platform/sql/errors.h"
#include "support/automation_test.h"
#include "support/recording_connection.h"
#include "support/recording_data_access.h"

namespace quillane::testing {
namespace {

bool holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
bool sent(const std::vector<std::string>& statements, const std::string& part) {
  for (const std::string& s : statements)
    if (holds(s, part)) return true;
  return false;
}

std::shared_ptr<TrzRecord> record(std::vector<std::pair<const char*, Variant>> entries) {
  auto r = std::make_shared<TrzRecord>();
  for (auto& [key, value] : entries) r->SetValue(key, std::move(value));
  return r;
}
std::shared_ptr<TrzRecord> item(const char* number, const char* name, int isDetail = 1) {
  return record({{"Name", name}, {"Number", number}, {"Level", std::int32_t{1}}, {"IsDetail", std::int32_t{isDetail}},
                 {"UUID", std::string("U-") + number}});
}
std::shared_ptr<TrzRecords> vectorOf(std::vector<Variant> entries) {
  auto v = std::make_shared<TrzRecords>();
  for (Variant& e : entries) v->Add(std::move(e));
  return v;
}

// "XMLTRZ2.Read" handing back a prepared vector whatever the document and schema: for the classes
// whose schema files come with their own types.
class PreparedReader : public AutomationObject {
 public:
  explicit PreparedReader(std::shared_ptr<TrzRecords> v) : vector_(std::move(v)) {}
  const DispatchTable& dispatchTable() const override {
    static const DispatchTable table = DispatchBuilder<PreparedReader>()
                                           .raw("InputXMLString", 1, InvokeKind::Method,
                                                [](PreparedReader& r, Arguments a) {
                                                  a[0] = Variant(r.vector_);
                                                  a[4] = Variant("");
                                                  return Variant(true);
                                                })
                                           .build();
    return table;
  }

 private:
  std::shared_ptr<TrzRecords> vector_;
};

class ItemEngine : public ExchangeDbTest {
 protected:
  void SetUp() override {
    ExchangeDbTest::SetUp();
    path = newAccountSet();
    std::string error;
    ASSERT_TRUE(modFunction::InitProps(props(path), error)) << error;
    connection->setConnString(accountset::ConnectString(path));
  }
  // An engine of the class over the recording connection, as a holder that drives ImportVector sets it.
  std::shared_ptr<clsItem> engineFor(std::int32_t itemClassID, const std::string& table) {
    auto engine = std::make_shared<clsItem>();
    engine->ItemClassID = itemClassID;
    engine->ClassCaption = "测试";
    engine->TableName = table;
    engine->cn = connection;
    engine->strPropsString = props(path);
    return engine;
  }
  bool importWith(clsItem& engine, std::shared_ptr<TrzRecords> v, std::string& error) {
    ClassOverride reader("XMLTRZ2.Read", [v] { return std::make_shared<PreparedReader>(v); });
    std::string propsString = props(path);
    return engine.Import(propsString, "<Root/>", error);
  }

  std::string path;
  std::shared_ptr<RecordingConnection> connection = std::make_shared<RecordingConnection>();
};

TEST_F(ItemEngine, TheClassTableAndTheVersionGate) {
  clsItem engine;
  engine.ItemClassID = 77;
  engine.TableName = "kept";
  AutomationError refused = ErrorOf([&] { engine.InitItemClass(); });
  EXPECT_EQ(refused.number, kLibraryRefusal);
  EXPECT_EQ(refused.source, "Tarnwick.clsItem");
  EXPECT_EQ(refused.description, "不支持该核算项目的导入导出(核算项目编号77)!");
  EXPECT_EQ(engine.TableName, "kept");

  engine.ItemClassID = 2004;
  engine.InitItemClass();
  EXPECT_EQ(engine.ClassCaption, "费用要素");
  EXPECT_EQ(engine.Schema, "ExpenseElement.xsd");
  EXPECT_EQ(engine.TableName, "cbExpense");

  exec(path, "UPDATE t_SystemProfile SET FValue = '2.0.0.1' WHERE FKey = 'ServicePack'");
  std::string propsString = props(path), xml, stamp, maxStamp, error;
  EXPECT_FALSE(engine.Export(propsString, xml, 100, stamp, maxStamp, error));
  EXPECT_EQ(error, "只有 Q7 9.2 及以上版本的工业账套才支持费用要素的导入导出!");
  EXPECT_FALSE(engine.Import(propsString, "<Root/>", error));
  EXPECT_EQ(engine.cn, nullptr) << "the gate refuses before any connection is made";

  engine.ItemClassID = 6;
  EXPECT_EQ(ErrorOf([&] { engine.Export(propsString, xml, 100, stamp, maxStamp, error); }).number, kLibraryRefusal);
}

struct ClassCase {
  std::int32_t itemClassID;
  const char* table;
  const char* skeleton;  // what follows "INSERT INTO <table>" for the new record numbered "01", whose id is {id}
  bool renumbers, setsParent, companionData;
};

TEST_F(ItemEngine, DetailRowsAndRenumberingFollowTheItemClass) {
  exec(path, "CREATE TABLE t_Item_1500 (FItemID int NOT NULL PRIMARY KEY, FNumber varchar(80), FName varchar(255))");
  const ClassCase cases[] = {
      {1, "t_Organization", " (FItemID,FNumber,FName) VALUES ({id},'01','n')", true, true, true},
      {2004, "cbExpense", " (FItemID,FParentID,FNumber,FName) VALUES ({id},0,'01','n')", true, false, true},
      {10, "t_SonCompany", " (FItemID,FNumber,FName) VALUES ({id},'01','n')", false, false, true},
      {1500, "t_Item_1500", " (FItemID) VALUES ({id})", true, false, false},
  };
  for (const ClassCase& c : cases) {
    SCOPED_TRACE(c.itemClassID);
    exec(path, "DELETE FROM t_Item WHERE FItemID <> 0");
    connection->statements.clear();
    ScopedDataAccess dataAccess;
    auto engine = engineFor(c.itemClassID, c.table);
    std::string error;
    EXPECT_TRUE(engine->ImportVector(vectorOf({Variant(item("01", "n"))}), error)) << error;
    const std::vector<std::string> statements = connection->statementsOf("Execute");
    const std::string id = rows(path, "SELECT FItemID FROM t_Item WHERE FNumber = '01'");
    std::string skeleton = c.skeleton;
    skeleton.replace(skeleton.find("{id}"), 4, id);
    EXPECT_TRUE(sent(statements, std::string("INSERT INTO ") + c.table + skeleton));
    EXPECT_EQ(sent(statements, std::string("UPDATE ") + c.table + " SET FNumber =i.F1"), c.renumbers);
    EXPECT_EQ(sent(statements, std::string("UPDATE ") + c.table + " SET FParentID =  0 WHERE FItemID = " + id),
              c.setsParent);
    EXPECT_EQ(dataAccess.calls().size(), c.companionData ? 2u : 0u);
  }
}

// Summed over the library's statements the connection holds prepared (the engine's own probe of the
// schema version is compiled again once, when the first write attaches the catalogue).
int reprepares(sql::Database& db) {
  int sum = 0;
  for (sqlite3_stmt* s = sqlite3_next_stmt(db.handle(), nullptr); s; s = sqlite3_next_stmt(db.handle(), s))
    if (!std::string_view(sqlite3_sql(s)).starts_with("PRAGMA")) sum += sqlite3_stmt_status(s, SQLITE_STMTSTATUS_REPREPARE, 0);
  return sum;
}

// Each record renumbers the rows below its number: the statements that find them run for every record
// with another number, and are compiled once. What they find are the rows below the number, its "%"
// and "_" taken as themselves and letters in either case.
TEST_F(ItemEngine, RecordsUnderADeepTreeRenumberTheirDescendantsWithStatementsCompiledOnce) {
  auto engine = engineFor(1, "t_Organization");
  std::vector<Variant> records;
  std::string number = "A%1";
  for (int level = 1; level <= 8; ++level, number += ".B_" + std::to_string(level))
    records.emplace_back(item(number.c_str(), ("组" + std::to_string(level)).c_str(), level == 8 ? 1 : 0));
  for (const char* other : {"a%1.x", "AX1", "AX1.x", "A%1.BX2", "A%1.B_2.y"}) records.emplace_back(item(other, "客户"));
  std::string error;
  ASSERT_TRUE(engine->ImportVector(vectorOf(records), error)) << error;
  EXPECT_EQ(reprepares(connection->database()), 0);

  exec(path, "UPDATE t_Organization SET FNumber = 'stale'");
  ASSERT_TRUE(engine->ImportVector(vectorOf({Variant(item("A%1", "组1", 0))}), error)) << error;
  EXPECT_EQ(rows(path, "SELECT o.FNumber FROM t_Organization o JOIN t_Item i ON i.FItemID = o.FItemID ORDER BY i.FItemID"),
            "A%1.B_2.B_3.B_4.B_5.B_6.B_7.B_8;a%1.x;stale;stale;A%1.BX2;A%1.B_2.y");
  EXPECT_EQ(reprepares(connection->database()), 0);
}

TEST_F(ItemEngine, ASupplierWhoseDetailColumnsTheDatabaseRefusesFailsWithItsLine) {
  auto engine = engineFor(8, "t_Supplier");
  engine->Advise([](std::string_view event, DispId, Arguments args) {
    if (event == "CommonImportSpecial") args[1] = Variant(CStr(args[1]) + "FNoSuchColumn=1,");
  });
  std::string error;
  EXPECT_FALSE(engine->ImportVector(vectorOf({Variant(item("S1", "供应商甲"))}), error));
  EXPECT_EQ(engine->ErrorCount(), 1);
  EXPECT_TRUE(holds(error, "导入测试记录(Number:S1,Name:供应商甲,UUID:U-S1)失败!")) << error;
  EXPECT_TRUE(holds(error, "执行错误的SQL语句:UPDATE t_Supplier SET ")) << error;
  EXPECT_TRUE(holds(error, "FNoSuchColumn=1 WHERE  FItemID=")) << error;
  EXPECT_EQ(rows(path, "SELECT COUNT(*) FROM t_Item WHERE FItemClassID = 8"), "0") << "the record is rolled back";
}

TEST_F(ItemEngine, ABadNumberOrAnEntryThatIsNoRecordFailsAloneWithItsLine) {
  auto engine = engineFor(2, "t_Department");
  auto badLevel = item("01", "甲");
  badLevel->SetValue("Level", "2;DELETE FROM t_Item");
  std::string error;
  EXPECT_FALSE(engine->ImportVector(vectorOf({Variant(badLevel), Variant("no record"), Variant(item("02", "乙"))}), error));
  EXPECT_EQ(engine->ErrorCount(), 2);
  EXPECT_TRUE(holds(error, "导入测试记录(Number:01,Name:甲,UUID:U-01)失败!")) << error;
  EXPECT_TRUE(holds(error, "Level的值必须是数字:2;DELETE FROM t_Item")) << error;
  EXPECT_TRUE(holds(error, "导入测试记录(Number:,Name:,UUID:)失败!")) << error;
  EXPECT_EQ(rows(path, "SELECT FNumber FROM t_Item WHERE FItemClassID = 2"), "02");
}

// A holder's handler works on its own copy of the UPDATE; when a codec's lookup fails inside it, the
// record's error line quotes that lookup, not the UPDATE half built.
TEST_F(ItemEngine, AFailedLookupInAHoldersHandlerIsTheStatementItsLineQuotes) {
  exec(path, "DROP TABLE t_Account");
  auto engine = engineFor(1, "t_Organization");
  engine->Advise([e = engine.get()](std::string_view event, DispId, Arguments args) {
    if (event != "CommonImportSpecial") return;
    std::string strSQL = CStr(args[1]);
    ImportLinkField(*e, LinkKind::Account, Variant(record({{"Number", "1001"}, {"Name", "现金"}})), "FAcctID", strSQL);
    args[1] = Variant(strSQL);
  });
  std::string error;
  EXPECT_FALSE(engine->ImportVector(vectorOf({Variant(item("C1", "客户"))}), error));
  EXPECT_TRUE(holds(error, "执行错误的SQL语句:SELECT FAccountID FROM t_Account WHERE FNumber='1001' AND FName='现金'"))
      << error;
  EXPECT_FALSE(holds(error, "UPDATE t_Organization")) << error;
}

// An error of the caller's Progress sink fails the record it reports; the import goes on.
TEST_F(ItemEngine, AnErrorOfTheProgressSinkFailsThatRecordOnly) {
  auto engine = engineFor(2, "t_Department");
  engine->Advise([](std::string_view event, DispId, Arguments args) {
    if (event == "Progress" && CLng(args[0]) == 1) throw AutomationError(1234, "Sink", "sink refused");
  });
  std::string error;
  EXPECT_FALSE(engine->ImportVector(vectorOf({Variant(item("01", "甲")), Variant(item("02", "乙")), Variant(item("03", "丙"))}),
                                    error));
  EXPECT_EQ(engine->ErrorCount(), 1);
  EXPECT_TRUE(holds(error, "导入测试记录(Number:01,Name:甲,UUID:U-01)失败!")) << error;
  EXPECT_TRUE(holds(error, "sink refused")) << error;
  EXPECT_EQ(rows(path, "SELECT FNumber FROM t_Item WHERE FItemClassID = 2 ORDER BY FNumber"), "01;02;03");
}

TEST_F(ItemEngine, UUIDsMatchWithinTheClassAndAnEmptyOneMatchesNothing) {
  exec(path, "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, UUID) VALUES (50, 1, 'C1', '客户', 'X'), "
             "(51, 2, 'G', '空组', '')");
  auto engine = engineFor(2, "t_Department");
  engine->CheckByUUID = true;
  auto child = item("P.1", "子");
  child->SetValue("UUID", "X");
  auto link = record({{"Number", "P"}, {"Name", "父"}, {"UUID", ""}});
  child->SetObject("Parent", link);
  std::string error;
  EXPECT_TRUE(engine->ImportVector(vectorOf({Variant(child)}), error)) << error;
  EXPECT_EQ(rows(path, "SELECT FItemID, FItemClassID, FNumber, FName, FParentID FROM t_Item WHERE FItemID <> 0 "
                       "ORDER BY FItemID"),
            "50,1,C1,客户,0;51,2,G,空组,0;52,2,P,父,0;53,2,P.1,子,52");
}

TEST_F(ItemEngine, CostObjectsCarryTheirProductsAndCostItemsNoDeletionFlag) {
  exec(path, "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, UUID) VALUES (60, 4, 'M1', '产品', 'U-M1'), "
             "(61, 2001, 'C1', '成本一', 'U-C1'), (62, 2003, 'I1', '直接材料', 'U-I1')");
  exec(path, "INSERT INTO cb_CostObj_Product (FCostObjID, FProductID, FQuotiety, FIsStand, FIsDeputy) VALUES (61, 60, 2, 1, 0)");
  auto packedOf = [&](std::int32_t itemClassID) {
    auto engine = engineFor(itemClassID, "");
    std::string stamp = "0x0000000000000000";
    ObjectRef rs = engine->GetList(stamp, 0);
    return engine->PackageRecordset(rs)->RecordAt(0);
  };
  auto costObject = packedOf(2001);
  ASSERT_EQ(costObject->Key(costObject->Count() - 1), "BarCodes");
  ASSERT_EQ(costObject->Key(costObject->Count()), "Material");
  auto product = costObject->GetVector("Material")->RecordAt(0);
  EXPECT_EQ(CStr(product->Item("Number")), "M1");
  EXPECT_EQ(CLng(product->Item("Quotiety")), 2);
  EXPECT_TRUE(costObject->Exists("IsDelete"));
  EXPECT_FALSE(packedOf(2003)->Exists("IsDelete"));

  // Imported, a cost object's products replace its stored ones; the two system cost objects are left alone.
  auto engine = engineFor(2001, "cbCostObj");
  auto imported = item("C2", "成本二");
  imported->SetObject("Material", costObject->GetVector("Material"));
  std::string error;
  EXPECT_TRUE(engine->ImportVector(vectorOf({Variant(imported), Variant(item("MaterielShareID", "共享"))}), error)) << error;
  EXPECT_EQ(rows(path, "SELECT c.FNumber, m.FNumber, p.FQuotiety FROM cb_CostObj_Product p JOIN t_Item c ON c.FItemID = "
                       "p.FCostObjID JOIN t_Item m ON m.FItemID = p.FProductID ORDER BY c.FNumber"),
            "C1,M1,2;C2,M1,2");
  EXPECT_EQ(rows(path, "SELECT COUNT(*) FROM t_Item WHERE FNumber = 'MaterielShareID'"), "0");
}

class MaterialImport : public ItemEngine {
 protected:
  void SetUp() override {
    ItemEngine::SetUp();
    // A cost object numbered 02, and a material 03 that the document renames.
    exec(path, "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, FDetail) VALUES "
               "(70, 2001, '02', '成本', 1), (71, 4, '03', '旧', 1)");
    engine->ItemClassID = 4;
    engine->cn = connection;
    auto made = item("01.001", "螺栓");
    made->SetObject("Parent", record({{"Number", "01"}, {"Name", "五金"}, {"UUID", "U-01"}}));
    made->SetObject("ErpCls", record({{"Number", "1"}, {"Name", "自制"}, {"UUID", "E"}}));
    materials = vectorOf({Variant(item("01", "五金", 0)), Variant(made), Variant(item("02", "螺母")),
                          Variant(item("03", "新"))});
  }
  // The trigger that guards auxiliary properties is there and fires.
  void expectTriggerEnabled() {
    EXPECT_EQ(rows(path, "SELECT type FROM sysobjects WHERE name = 'COM_ItemAuxProp_Delete'"), "TR");
    exec(path, "INSERT INTO COM_ItemAuxProp (FItemID, FAuxPropID) VALUES (1, 1)");
    EXPECT_EQ(ErrorOf([&] { exec(path, "DELETE FROM COM_ItemAuxProp"); }).source, sql::kProviderSource);
  }

  std::shared_ptr<clsItem> engine = std::make_shared<clsItem>();
  std::shared_ptr<TrzRecords> materials;
};

TEST_F(MaterialImport, MaterialsKeepTheirCostObjectsInStep) {
  int clashes = 0;
  engine->Advise([&](std::string_view event, DispId, Arguments args) {
    if (event == "DirtyRecord") clashes = CLng(args[1]);
  });
  std::string error;
  EXPECT_FALSE(importWith(*engine, materials, error));
  EXPECT_EQ(engine->ErrorCount(), 1);
  EXPECT_TRUE(holds(error, "导入物料（商品）记录(Number:02,Name:螺母,UUID:U-02)失败!\r\n错误号:10000")) << error;
  EXPECT_TRUE(holds(error, "成本对象已经存在")) << error;
  // The cost-object clash set the rule for the rest: material 03 was skipped, not renamed.
  EXPECT_EQ(clashes, 2);
  EXPECT_EQ(rows(path, "SELECT FNumber, FName FROM t_Item WHERE FItemClassID = 4 ORDER BY FNumber"),
            "01,五金;01.001,螺栓;03,旧");
  // The group became a cost-object group, and the self-made material a cost object beneath it.
  EXPECT_EQ(rows(path, "SELECT c.FNumber, c.FDetail, IsNull(p.FNumber, '-') FROM t_Item c LEFT JOIN t_Item p ON "
                       "p.FItemID = c.FParentID AND p.FItemID <> 0 WHERE c.FItemClassID = 2001 ORDER BY c.FNumber"),
            "01,False,-;01.001,True,01;02,True,-");
  expectTriggerEnabled();
}

TEST_F(MaterialImport, TheTriggerIsEnabledAgainWhenTheImportFails) {
  engine->Advise([](std::string_view event, DispId, Arguments) {
    if (event == "Progress") throw AutomationError(-1, "caller", "the progress sink failed");
  });
  std::string error;
  EXPECT_FALSE(importWith(*engine, materials, error));
  EXPECT_TRUE(holds(error, "the progress sink failed")) << error;
  expectTriggerEnabled();
}

TEST_F(MaterialImport, AnImportWhoseClosingStepsFailIsNoSuccess) {
  engine->Advise([](std::string_view event, DispId, Arguments) {
    if (event == "DirtyRecord") throw AutomationError(-1, "caller", "the dirty-record sink failed");
  });
  std::string error;
  EXPECT_FALSE(importWith(*engine, vectorOf({Variant(item("03", "新"))}), error));
  EXPECT_EQ(engine->ErrorCount(), 0);
  EXPECT_TRUE(holds(error, "the dirty-record sink failed")) << error;
  EXPECT_EQ(rows(path, "SELECT FName FROM t_Item WHERE FItemID = 71"), "新");
}

}  // namespace
}  // namespace quillane::testing
