// What materials carry beyond a plain round trip: the model's apostrophes, the default costing method
// and use state, the units that stand in for missing ones, the service-pack gates of their groups, the
// clash with a cost object, the cost-object mirror and the renumbering of their detail rows.
#include <gtest/gtest.h>

#include "item_type_fixture.h"

namespace quillane::testing {
namespace {

class MaterialTest : public ItemTypeTest {
 protected:
  void SetUp() override {
    ItemTypeTest::SetUp();
    path = newAccountSet();
    exec(path, "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, UUID) VALUES (10, 4, 'M01', '螺丝', 'U-M01')");
    exec(path, "INSERT INTO t_ICItem (FItemID, FNumber, FName, FTrack, FUseState) VALUES (10, 'M01', '螺丝', 77, 88)");
    // Costing methods, use states and a unit group of two units.
    exec(path, "INSERT INTO t_SubMessage (FInterID, FTypeID, FID, FName, UUID) VALUES (1, 30, 'F002', '分批认定法', 'S-1'), "
               "(2, 30, 'F001', '加权平均法', 'S-2'), (3, 31, 'USE', '使用', 'S-3'), (4, 31, 'NEW', '新品', 'S-4')");
    exec(path, "INSERT INTO t_UnitGroup (FUnitGroupID, FName, UUID) VALUES (50, '重量组', 'G-1'), (60, '长度组', 'G-2')");
    exec(path, "INSERT INTO t_MeasureUnit (FMeasureUnitID, FItemID, FUnitGroupID, FNumber, FName, UUID) VALUES "
               "(5, 51, 50, 'kg', '千克', 'MU-1'), (6, 61, 60, 'm', '米', 'MU-2')");
  }
  void useServicePack(const std::string& version) {
    exec(path, "UPDATE t_SystemProfile SET FValue = '" + version + "' WHERE FKey = 'ServicePack'");
  }
  std::string exported() {
    Page page = exportPage(materials, props(path));
    EXPECT_TRUE(page.ok) << page.error;
    return page.xml;
  }
  Imported import(const std::string& ownElements, const std::string& number = "M01", const std::string& name = "螺丝") {
    return importXml(materials, props(path), document("Material", {keys(number, name) + ownElements}));
  }
  std::string stored(const std::string& columns) {
    return rows(path, "SELECT " + columns + " FROM t_ICItem WHERE FItemID = 10");
  }

  ObjectRef materials = CreateObject("Quillane.clsMaterial");
  std::string path;
};

TEST_F(MaterialTest, AModelNeverCarriesAnApostrophe) {
  exec(path, "UPDATE t_ICItem SET FModel = 'M''5 6’'");
  EXPECT_NE(exported().find("<Model>M’5 6’</Model>"), std::string::npos);
  for (const auto& [sent, kept] : {std::pair{"it's 'x'", "it’s ’x’"}, std::pair{"it’s", "it’s"}, std::pair{"", ""}}) {
    Imported imported = import(element("Model", sent));
    ASSERT_TRUE(imported.ok) << imported.error;
    EXPECT_EQ(stored("FModel"), kept) << sent;
  }
}

TEST_F(MaterialTest, AnUnknownCostingMethodOrUseStateTakesTheDefaultEntry) {
  struct Case {
    const char* name;
    std::string elements;
    const char* stored;  // FTrack, FUseState afterwards (77, 88 before)
  };
  const Case cases[] = {
      {"matched", link("Track", "F002", "分批认定法") + link("UseState", "NEW", "新品"), "1,4"},
      {"unmatched", link("Track", "X", "先进先出法", "U-X") + link("UseState", "X", "停用"), "2,3"},
      {"empty links", "<Track/><UseState/>", "NULL,NULL"},
      {"absent", "", "77,88"},
  };
  for (const Case& c : cases) {
    exec(path, "UPDATE t_ICItem SET FTrack = 77, FUseState = 88");
    Imported imported = import(c.elements);
    ASSERT_TRUE(imported.ok) << c.name << ": " << imported.error;
    EXPECT_EQ(stored("FTrack, FUseState"), c.stored) << c.name;
  }
  // The default entries are found by the names the account set keeps, whatever the user's language.
  useLanguage("en");
  exec(path, "UPDATE t_ICItem SET FTrack = 77, FUseState = 88");
  ASSERT_TRUE(import(link("Track", "X", "先进先出法") + link("UseState", "X", "停用")).ok);
  EXPECT_EQ(stored("FTrack, FUseState"), "2,3");
}

TEST_F(MaterialTest, WithoutADefaultEntryTheColumnIsSetTo0) {
  exec(path, "DELETE FROM t_SubMessage WHERE FID IN ('F001', 'USE')");
  Imported imported = import(link("Track", "X", "先进先出法") + link("UseState", "X", "停用"));
  ASSERT_TRUE(imported.ok) << imported.error;
  EXPECT_EQ(stored("FTrack, FUseState"), "0,0");
}

TEST_F(MaterialTest, AnEmptyFlagElementStores0) {
  exec(path, "UPDATE t_ICItem SET FIsSale = 1, FBatchManager = 1");
  Imported imported = import(element("IsSale", "") + element("IsBatch", " "));
  ASSERT_TRUE(imported.ok) << imported.error;
  EXPECT_EQ(stored("FIsSale, FBatchManager"), "False,False");
}

TEST_F(MaterialTest, TheBaseUnitStandsInForAMissingCUUnitAndItsGroupForAMissingGroup) {
  struct Case {
    const char* name;
    std::string elements;
    const char* stored;  // FUnitID, FCUUnitID, FUnitGroupID (9, 9, 9 before)
  };
  const Case cases[] = {
      {"unit only", link("Unit", "kg", "千克"), "5,5,50"},
      {"all three", link("UnitGroup", "60", "长度组") + link("Unit", "kg", "千克") + link("CUUnit", "m", "米"), "5,6,60"},
      // The stand-in depends on the element's presence, not on its match.
      {"an unknown CU unit", link("Unit", "kg", "千克") + link("CUUnit", "t", "吨"), "5,0,50"},
      {"an unknown unit", link("Unit", "t", "吨"), "0,0,0"},
      {"none", "", "9,9,9"},
  };
  for (const Case& c : cases) {
    exec(path, "UPDATE t_ICItem SET FUnitID = 9, FCUUnitID = 9, FUnitGroupID = 9");
    Imported imported = import(c.elements);
    ASSERT_TRUE(imported.ok) << c.name << ": " << imported.error;
    EXPECT_EQ(stored("FUnitID, FCUUnitID, FUnitGroupID"), c.stored) << c.name;
  }
}

TEST_F(MaterialTest, EachGroupOfNewerColumnsTravelsFromItsServicePackOnInBothDirections) {
  struct Case {
    const char* servicePack;
    const char* element;
    const char* column;
    bool travels;
  };
  const Case cases[] = {
      {"2.0.0.3", "IsBookPlan", "FBookPlan", false}, {"2.0.0.4", "IsBookPlan", "FBookPlan", true},
      {"2.0.0.3", "IsMRPCon", "FMRPCon", false},     {"2.0.0.4", "IsMRPCon", "FMRPCon", true},
      {"2.9.9.9", "IsSNManage", "FIsSNManage", false}, {"3.0.0.0", "IsSNManage", "FIsSNManage", true},
      {"2.0.0.5", "BatChangeEconomy", "FBatChangeEconomy", false},
      {"2.0.0.6", "BatChangeEconomy", "FBatChangeEconomy", true},
      {"2.0.0.6", "ProfitRate", "FProfitRate", false}, {"2.0.0.7", "ProfitRate", "FProfitRate", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.servicePack) + " " + c.element);
    useServicePack(c.servicePack);
    exec(path, std::string("UPDATE t_ICItem SET ") + c.column + " = 0");
    Imported imported = import(element(c.element, "1"));
    ASSERT_TRUE(imported.ok) << imported.error;
    EXPECT_EQ(rows(path, std::string("SELECT CAST(") + c.column + " AS INT) FROM t_ICItem WHERE FItemID = 10"),
              c.travels ? "1" : "0");
    exec(path, std::string("UPDATE t_ICItem SET ") + c.column + " = 1");
    EXPECT_EQ(exported().find(std::string("<") + c.element + ">") != std::string::npos, c.travels);
  }
}

TEST_F(MaterialTest, ItsAuxiliaryPropertiesAreReplacedAndStayGuardedAfterwards) {
  exec(path, "INSERT INTO t_ItemClass (FItemClassID, FNumber, FName, FType) VALUES (3002, 'COLOR', '颜色', 3)");
  exec(path, "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, UUID) VALUES (41, 3002, 'C1', '白', 'U-C1'), "
             "(42, 3002, 'C2', '红', 'U-C2'), (43, 3002, 'C3', '蓝', 'U-C3')");
  exec(path, "INSERT INTO COM_ItemAuxProp (FItemID, FAuxPropID) VALUES (10, 41)");
  Imported imported = import("<AuxClass>" + element("Number", "COLOR") + element("Name", "颜色") +
                             element("ItemAuxProp", "C2~红|C3~蓝|C9~无") + "</AuxClass>");
  ASSERT_TRUE(imported.ok) << imported.error;
  EXPECT_EQ(stored("FAuxClassID"), "3002");
  EXPECT_EQ(rows(path, "SELECT FAuxPropID FROM COM_ItemAuxProp WHERE FItemID = 10 ORDER BY FAuxPropID"), "42;43");
  EXPECT_THROW(exec(path, "DELETE FROM COM_ItemAuxProp WHERE FItemID = 10"), AutomationError);
  EXPECT_NE(exported().find("<ItemAuxProp>C2~红|C3~蓝</ItemAuxProp>"), std::string::npos);
}

TEST_F(MaterialTest, AValueItsColumnCannotHoldFailsTheRecord) {
  struct Case {
    std::string elements;
    const char* says;
  };
  const Case cases[] = {
      {element("QtyDecimal", "two"), "two"},
      {element("FLastCheckDate", "2009-02-30"), "2009-02-30"},
      {element("FOrderPrice", "9,9"), "9,9"},
  };
  for (const Case& c : cases) {
    Imported imported = import(element("Note", "新的") + c.elements);
    EXPECT_FALSE(imported.ok) << c.elements;
    EXPECT_NE(imported.error.find("导入物料（商品）记录(Number:M01,Name:螺丝,UUID:U-M01)失败!"), std::string::npos)
        << imported.error;
    EXPECT_NE(imported.error.find(c.says), std::string::npos) << imported.error;
    EXPECT_EQ(stored("IsNull(FNote, '-')"), "-") << c.elements;
  }
}

TEST_F(MaterialTest, ANumberOfADetailCostObjectIsRefusedAndAGroupsIsNot) {
  exec(path, "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, FDetail, UUID) VALUES "
             "(20, 2001, 'C01', '成本一', 1, 'U-C01'), (21, 2001, 'G01', '成本组', 0, 'U-G01')");
  Imported refused = import("", "C01", "新物料");
  EXPECT_FALSE(refused.ok);
  EXPECT_NE(refused.error.find("成本对象已经存在"), std::string::npos) << refused.error;
  EXPECT_EQ(CLng(materials->Get("ErrorCount")), 1);
  Imported imported = import("", "G01", "另一物料");
  EXPECT_TRUE(imported.ok) << imported.error;
  EXPECT_EQ(rows(path, "SELECT COUNT(*) FROM t_Item WHERE FItemClassID = 4 AND FNumber IN ('C01', 'G01')"), "1");
}

TEST_F(MaterialTest, MadeMaterialsGetTheirCostObjectAndGroupsTheirCostObjectGroup) {
  exec(path, "INSERT INTO t_SubMessage (FInterID, FTypeID, FID, FName, UUID) VALUES (7, 32, '02', '自制', 'S-7'), "
             "(8, 32, '01', '外购', 'S-8')");
  const std::string made = link("ErpCls", "02", "自制");
  Imported imported = importXml(
      materials, props(path),
      document("Material", {element("Name", "零件") + element("Number", "P") + element("Level", "1") +
                                element("IsDetail", "0") + element("UUID", "U-P"),
                            keys("P.1", "齿轮") + link("Track", "F001", "加权平均法") + made,
                            keys("P.2", "轴") + link("Track", "F002", "分批认定法") + made,
                            keys("P.3", "垫圈") + link("ErpCls", "01", "外购")}));
  ASSERT_TRUE(imported.ok) << imported.error;
  // The costing method a made material falls back to counts as the one it has.
  ASSERT_TRUE(import(link("Track", "X", "先进先出法") + made, "P.4", "销").ok);
  EXPECT_EQ(rows(path, "SELECT c.FNumber, c.FName, c.FDetail, IsNull(m.FNumber, '-') FROM t_Item c LEFT JOIN "
                       "cb_CostObj_Product p ON p.FCostObjID = c.FItemID LEFT JOIN t_Item m ON m.FItemID = p.FProductID "
                       "WHERE c.FItemClassID = 2001 ORDER BY c.FNumber"),
            "P,零件,False,-;P.1,齿轮,True,P.1;P.4,销,True,P.4");
}

TEST_F(MaterialTest, ANewNumberOfAGroupReachesTheDetailRowsBelowIt) {
  exec(path, "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, FDetail, UUID) VALUES (30, 4, 'A', '组', 0, 'U-A')");
  exec(path, "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, FParentID, FLevel, UUID) VALUES "
             "(31, 4, 'A.1', '甲', 30, 2, 'U-A1')");
  exec(path, "INSERT INTO t_ICItem (FItemID, FNumber, FName) VALUES (31, 'old', '甲')");
  ASSERT_TRUE(importXml(materials, props(path),
                        document("Material", {element("Name", "组") + element("Number", "A") + element("Level", "1") +
                                              element("IsDetail", "0") + element("UUID", "U-A")}))
                  .ok);
  EXPECT_EQ(rows(path, "SELECT FNumber FROM t_ICItem WHERE FItemID = 31"), "A.1");
  EXPECT_EQ(rows(path, "SELECT FNumber FROM t_ICItemCore WHERE FItemID = 31"), "A.1");
}

}  // namespace
}  // namespace quillane::testing
