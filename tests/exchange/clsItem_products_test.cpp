// Auxiliary properties of materials and products of cost objects: packed into a record and written back.
#include "exchange/clsItem_products.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "item_engine_fake.h"
#include "exchange/modFunction_sql.h"
#include "platform/automation/automation.h"
#include "platform/sql/errors.h"
#include "support/automation_test.h"

namespace quillane::testing {
namespace {

// Materials 1001 and 1002; auxiliary property items of a custom class (3001), one of them numbered so
// that only number and name joined tell it from another pair; a material with three properties.
constexpr const char* kAuxRows =
    "INSERT INTO t_Item (FItemID,FItemClassID,FNumber,FName) VALUES (1001,4,'M01','螺丝')\r\n"
    "INSERT INTO t_Item (FItemID,FItemClassID,FNumber,FName) VALUES (1002,4,'M02','螺母')\r\n"
    "INSERT INTO t_Item (FItemID,FItemClassID,FNumber,FName) VALUES (3101,3001,'C1','红')\r\n"
    "INSERT INTO t_Item (FItemID,FItemClassID,FNumber,FName) VALUES (3102,3001,'C2','蓝')\r\n"
    "INSERT INTO t_Item (FItemID,FItemClassID,FNumber,FName) VALUES (3103,3001,'C''3','a~b')\r\n"
    "INSERT INTO t_Item (FItemID,FItemClassID,FNumber,FName) VALUES (3104,3001,'AB','C')\r\n"
    "INSERT INTO COM_ItemAuxProp (FItemID,FAuxPropID) VALUES (1001,3101)\r\n"
    "INSERT INTO COM_ItemAuxProp (FItemID,FAuxPropID) VALUES (1001,3102)\r\n"
    "INSERT INTO COM_ItemAuxProp (FItemID,FAuxPropID) VALUES (1001,3103)";

class AuxProps : public ItemHelperTest {
 protected:
  void SetUp() override {
    ItemHelperTest::SetUp();
    // With the trigger that keeps properties once given in place: the replacement switches it off itself.
    run(kAuxRows);
    engine_->sql = "the engine's statement";
  }
  std::string linked(std::int32_t item) {
    return rows("SELECT FAuxPropID FROM COM_ItemAuxProp WHERE FItemID=" + std::to_string(item) + " ORDER BY rowid");
  }
};

TEST_F(AuxProps, PairsJoinedWithoutSeparatorsAtTheEnds) {
  EXPECT_EQ(GetAuxProps(*engine_, "M01", "螺丝"), "C1~红|C2~蓝|C'3~a~b");
  EXPECT_EQ(GetAuxProps(*engine_, "M02", "螺母"), "") << "no properties";
  EXPECT_EQ(GetAuxProps(*engine_, "M01", "其他"), "") << "no such item";
  engine_->classID = 2;
  EXPECT_EQ(GetAuxProps(*engine_, "M01", "螺丝"), "") << "only the engine's class is searched";
  EXPECT_EQ(engine_->sql, "the engine's statement");
}

TEST_F(AuxProps, APropertyWhoseItemIsGoneIsLeftOut) {
  run("DELETE FROM t_Item WHERE FItemID=3102");
  EXPECT_EQ(GetAuxProps(*engine_, "M01", "螺丝"), "C1~红|C'3~a~b");
}

TEST_F(AuxProps, ErrorsGiveAnEmptyList) {
  run("DROP TABLE COM_ItemAuxProp");
  EXPECT_EQ(GetAuxProps(*engine_, "M01", "螺丝"), "");
  EXPECT_EQ(engine_->sql, "the engine's statement");
}

TEST_F(AuxProps, SavingReplacesTheItemsProperties) {
  struct Case {
    const char* text;
    const char* stored;
  };
  const Case cases[] = {
      {"C2~蓝|C1~红", "3102;3101"}, {"", ""}, {"A~BC", "3104"},  // matched on number and name joined
      {"C1~红|X~unknown", "3101"},                               // a pair matching no item is dropped
      {"C'3~a~b", "3103"},  // a quote, and a "~" in the name: the first one ends the number
  };
  engine_->itemID = 1001;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_TRUE(SaveAuxProp(*engine_, c.text));
    EXPECT_EQ(linked(1001), c.stored);
    EXPECT_EQ(engine_->sql, "the engine's statement");
  }
  EXPECT_EQ(linked(1002), "") << "other items keep theirs";
  EXPECT_THROW(run("DELETE FROM COM_ItemAuxProp WHERE FItemID=1001"), AutomationError) << "the trigger is on again";
}

TEST_F(AuxProps, RoundTripToAnotherItem) {
  std::string text = GetAuxProps(*engine_, "M01", "螺丝");
  engine_->itemID = 1002;
  ASSERT_TRUE(SaveAuxProp(*engine_, text));
  EXPECT_EQ(GetAuxProps(*engine_, "M02", "螺母"), text);
}

TEST_F(AuxProps, NothingIsDoneWithoutARecordOrAnItem) {
  engine_->itemID = 1001;
  engine_->records = false;
  EXPECT_TRUE(SaveAuxProp(*engine_, ""));
  engine_->records = true;
  engine_->itemID = 0;
  EXPECT_FALSE(SaveAuxProp(*engine_, ""));
  EXPECT_EQ(linked(1001), "3101;3102;3103");
}

TEST_F(AuxProps, APairWithoutTildeFailsTheRecord) {
  engine_->itemID = 1001;
  useLanguage("en");
  AutomationError e = ErrorOf([&] { SaveAuxProp(*engine_, "C1~红|C2"); });
  EXPECT_EQ(e.number, kLibraryRefusal);
  EXPECT_EQ(e.description, "An auxiliary property must be written as number~name: C2");
}

TEST_F(AuxProps, AFailingStatementStaysForTheErrorLine) {
  run("DROP TABLE COM_ItemAuxProp");
  engine_->itemID = 1001;
  EXPECT_EQ(ErrorOf([&] { SaveAuxProp(*engine_, "C1~红"); }).source, sql::kProviderSource);
  EXPECT_EQ(engine_->sql, "DELETE FROM COM_ItemAuxProp WHERE FItemID=1001");
}

TEST_F(AuxProps, ItemsByNumberAndName) {
  EXPECT_EQ(GetItemIDByNumberName(*engine_, 3001, "C'3", "a~b"), 3103);
  EXPECT_EQ(GetItemIDByNumberName(*engine_, 4, "C1", "红"), 0) << "another class";
  EXPECT_EQ(GetItemIDByNumberName(*engine_, 0, "C1", "红"), 3101) << "class 0 searches them all";
  EXPECT_EQ(GetItemNumberName(*engine_, 3103), "C'3~a~b");
  EXPECT_EQ(GetItemNumberName(*engine_, 9999), "");
  EXPECT_EQ(engine_->sql, "the engine's statement");
}

// Cost object 5001 with two products (one whose material is gone); cost object 5002 without any.
constexpr const char* kProductRows =
    "INSERT INTO t_Item (FItemID,FItemClassID,FNumber,FName,UUID) VALUES (1001,4,'M01','螺丝','U-1001')\r\n"
    "INSERT INTO t_Item (FItemID,FItemClassID,FNumber,FName,UUID) VALUES (1002,4,'O''M02','螺母','U-1002')\r\n"
    "INSERT INTO t_Item (FItemID,FItemClassID,FNumber,FName,UUID) VALUES (1003,3,'M01','同号职员','U-1003')\r\n"
    "INSERT INTO t_Item (FItemID,FItemClassID,FNumber,FName) VALUES (5001,2001,'CB01','成本一')\r\n"
    "INSERT INTO t_Item (FItemID,FItemClassID,FNumber,FName) VALUES (5002,2001,'CB02','成本二')\r\n"
    "INSERT INTO cb_CostObj_Product (FCostObjID,FProductID,FQuotiety,FIsStand,FIsDeputy) VALUES (5001,1001,2.5,1,0)\r\n"
    "INSERT INTO cb_CostObj_Product (FCostObjID,FProductID,FQuotiety,FIsStand,FIsDeputy) VALUES (5001,9999,1,0,1)\r\n"
    "INSERT INTO cb_CostObj_Product (FCostObjID,FProductID,FQuotiety,FIsStand,FIsDeputy) VALUES (5001,1002,1,0,1)";

std::shared_ptr<TrzRecord> product(std::initializer_list<std::pair<const char*, Variant>> keys) {
  auto record = std::make_shared<TrzRecord>();
  for (const auto& [key, value] : keys) record->SetValue(key, value);
  return record;
}

std::shared_ptr<TrzRecords> vectorOf(std::initializer_list<std::shared_ptr<TrzRecord>> products) {
  auto vector = std::make_shared<TrzRecords>();
  for (const auto& p : products) vector->Add(Variant(p));
  return vector;
}

class CostObjectProducts : public ItemHelperTest {
 protected:
  void SetUp() override {
    ItemHelperTest::SetUp();
    run(kProductRows);
  }
  std::string stored(std::int32_t costObj) {
    return rows("SELECT FProductID,FQuotiety,FIsStand,FIsDeputy FROM cb_CostObj_Product WHERE FCostObjID=" +
                std::to_string(costObj) + " ORDER BY rowid");
  }
};

TEST_F(CostObjectProducts, ExportListsTheProductsThatStillExist) {
  TrzRecord record;
  ExportCBObjectMaterial(*engine_, record, 5001);
  auto material = record.GetVector("Material");
  ASSERT_NE(material, nullptr);
  ASSERT_EQ(material->Count(), 2);
  auto first = material->RecordAt(0);
  std::string keys;
  for (const auto& [key, value] : first->Entries()) keys += key + "=" + RenderValue(value) + ";";
  EXPECT_EQ(keys, "Number=M01;Name=螺丝;UUID=U-1001;Quotiety=2.5;IsStand=1;IsDeputy=0;");
  EXPECT_EQ(first->Item("IsStand"), Variant(std::int32_t{1})) << "a bit travels as a number";
  EXPECT_EQ(material->RecordAt(1)->Item("Number"), Variant("O'M02"));

  TrzRecord none;
  ExportCBObjectMaterial(*engine_, none, 5002);
  EXPECT_FALSE(none.Exists("Material"));
}

TEST_F(CostObjectProducts, RoundTripToAnotherCostObject) {
  TrzRecord record;
  ExportCBObjectMaterial(*engine_, record, 5001);
  ImportCBObjectMaterial(*engine_, record.GetVector("Material"), 5002);
  EXPECT_EQ(stored(5002), "1001,2.5,True,False;1002,1,False,True");
}

TEST_F(CostObjectProducts, ImportReplacesOrKeepsTheProducts) {
  struct Case {
    const char* what;
    bool byUUID;
    std::shared_ptr<TrzRecords> products;
    const char* stored;
  };
  const std::vector<Case> cases = {
      {"no vector keeps them", false, nullptr, "1001,2.5,True,False;9999,1,False,True;1002,1,False,True"},
      {"an empty vector keeps them", false, vectorOf({}), "1001,2.5,True,False;9999,1,False,True;1002,1,False,True"},
      {"absent numbers take their defaults", false, vectorOf({product({{"Number", Variant("M01")}})}),
       "1001,1,False,False"},
      {"by number among materials only", false,
       vectorOf({product({{"Number", Variant("O'M02")}, {"UUID", Variant("U-1003")}, {"Quotiety", Variant("0.5")}})}),
       "1002,0.5,False,False"},
      {"by UUID with CheckByUUID", true,
       vectorOf({product({{"Number", Variant("M01")}, {"UUID", Variant("U-1002")}, {"IsStand", Variant(true)}})}),
       "1002,1,True,False"},
      {"an unmatched UUID is not stood in for by the number", true,
       vectorOf({product({{"Number", Variant("M01")}, {"UUID", Variant("U-none")}})}), ""},
      {"an empty UUID is not searched", true,
       vectorOf({product({{"Number", Variant("M01")}, {"UUID", Variant("")}, {"IsDeputy", Variant("1")}})}),
       "1001,1,False,True"},
      {"a product that is not found is skipped", false,
       vectorOf({product({{"Number", Variant("nope")}}), product({{"Number", Variant("M01")}})}), "1001,1,False,False"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    run("DELETE FROM cb_CostObj_Product\r\n"
        "INSERT INTO cb_CostObj_Product (FCostObjID,FProductID,FQuotiety,FIsStand,FIsDeputy) VALUES "
        "(5001,1001,2.5,1,0)\r\n"
        "INSERT INTO cb_CostObj_Product (FCostObjID,FProductID,FQuotiety,FIsStand,FIsDeputy) VALUES "
        "(5001,9999,1,0,1)\r\n"
        "INSERT INTO cb_CostObj_Product (FCostObjID,FProductID,FQuotiety,FIsStand,FIsDeputy) VALUES (5001,1002,1,0,1)");
    engine_->byUUID = c.byUUID;
    ImportCBObjectMaterial(*engine_, c.products, 5001);
    EXPECT_EQ(stored(5001), c.stored);
  }
}

TEST_F(CostObjectProducts, ANumberThatIsNoNumberFailsTheRecordBeforeAnythingIsWritten) {
  useLanguage("en");
  struct Case {
    const char* key;
    Variant value;
    const char* description;
  };
  const std::vector<Case> cases = {
      {"Quotiety", Variant("abc"), "Quotiety must be a number: abc"},
      {"IsStand", Variant("1) DELETE FROM t_Item --"), "IsStand must be a number: 1) DELETE FROM t_Item --"},
      {"IsDeputy", Variant(""), "IsDeputy must be a number: "},
      {"Quotiety", Variant("1e999"), "Quotiety must be a number: 1e999"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    auto products =
        vectorOf({product({{"Number", Variant("M01")}}), product({{"Number", Variant("M01")}, {c.key, c.value}})});
    AutomationError e = ErrorOf([&] { ImportCBObjectMaterial(*engine_, products, 5001); });
    EXPECT_EQ(e.number, kLibraryRefusal);
    EXPECT_EQ(e.source, modFunction::kSqlValueSource);
    EXPECT_EQ(e.description, c.description);
    EXPECT_EQ(stored(5001), "1001,2.5,True,False;9999,1,False,True;1002,1,False,True");
    EXPECT_EQ(rows("SELECT COUNT(*) FROM t_Item"), "6");
  }
}

TEST_F(CostObjectProducts, AFailingStatementStaysForTheErrorLine) {
  run("DROP TABLE cb_CostObj_Product");
  TrzRecord record;
  EXPECT_EQ(ErrorOf([&] { ExportCBObjectMaterial(*engine_, record, 5001); }).source, sql::kProviderSource);
  EXPECT_EQ(engine_->sql, "SELECT * FROM cb_CostObj_Product  WHERE FCostObjID=5001");
  EXPECT_EQ(ErrorOf([&] {
              ImportCBObjectMaterial(*engine_, vectorOf({product({{"Number", Variant("M01")}})}), 5001);
            }).source,
            sql::kProviderSource);
  EXPECT_EQ(engine_->sql, "DELETE FROM cb_CostObj_Product  WHERE FCostObjID=5001");
}

}  // namespace
}  // namespace quillane::testing
