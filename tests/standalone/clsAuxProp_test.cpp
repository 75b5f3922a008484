// The auxiliary properties of goods: item classes of FType 3 and 4 carried through the facade's
// custom-class files, listed by GetDataSet, and refused where the account set or the user cannot
// have them. The temporary files of the calls go into a folder of the test's own.
#include <gtest/gtest.h>

#include <filesystem>

#include "accountset/sample.h"
#include "platform/xml/TrzRecord.h"
#include "platform/xml/TrzRecords.h"
#include "standalone_fixture.h"
#include "support/environment.h"
#include "support/item_class_tables.h"

namespace quillane::testing {
namespace {

constexpr std::int32_t kAuxProp = 20;
const std::string kCommercial = "UserID=16;AcctType=SY;Language=CHS";

class AuxPropTest : public StandaloneTest {
 protected:
  void SetUp() override {
    StandaloneTest::SetUp();
    std::filesystem::create_directory(temp);
  }
  struct Result {
    bool ok;
    std::string xml, stamp, error;
  };
  Result exportFrom(const std::string& propsString) {
    std::vector<Variant> args{propsString, kAuxProp, "", std::int32_t{10}, "", "", ""};
    bool ok = CBool(facade->Call("Export", args));
    return Result{ok, CStr(args[2]), CStr(args[4]), CStr(args[6])};
  }
  Result importInto(const std::string& propsString, const std::string& xml) {
    std::vector<Variant> args{propsString, kAuxProp, xml, ""};
    bool ok = CBool(facade->Call("Import", args));
    return Result{ok, "", "", CStr(args[3])};
  }
  // A clsAuxProp of the test's own, calling back into the facade as the facade's own would.
  ObjectRef directObject() {
    ObjectRef object = CreateObject("Quillane.clsAuxProp");
    object->Set("oExpImp", facade);
    return object;
  }
  bool tempIsEmpty() const { return std::filesystem::is_empty(temp); }
  static std::string text(const ObjectRef& record, const char* key) {
    return CStr(std::static_pointer_cast<TrzRecord>(record)->Item(key));
  }

  std::string source = dir_.file("source.db");
  std::string target = newAccountSet("target.db");
  std::string temp = dir_.file("tmp");
  ScopedEnv tmpdir{"TMPDIR", temp};
  ObjectRef facade = CreateObject("Quillane.clsExpImp");
};

TEST_F(AuxPropTest, TheSampleSetsPropertiesArriveInAnEmptySetTableByTable) {
  accountset::CreateSample(source, 12);
  Result out = exportFrom(props(source, kCommercial));
  ASSERT_TRUE(out.ok) << out.error;
  EXPECT_EQ(out.stamp, "0xFFFFFFFFFFFFFFFF");
  EXPECT_FALSE(out.xml.ends_with("\n"));
  EXPECT_TRUE(tempIsEmpty());

  Result in = importInto(props(target, kCommercial), out.xml);
  ASSERT_TRUE(in.ok) << in.error;
  EXPECT_TRUE(tempIsEmpty());
  // Only the classes of FType 3 and 4 travel.
  EXPECT_EQ(rows(target, "SELECT FName FROM t_ItemClass WHERE FItemClassID > 3000 ORDER BY FName"),
            rows(source, "SELECT FName FROM t_ItemClass WHERE FType IN (3, 4) ORDER BY FName"));
  for (const std::string& name : RenderedLines(rows(source, "SELECT FName FROM t_ItemClass WHERE FType IN (3, 4)"))) {
    auto expected = ItemClassTables([&](const std::string& sql) { return rows(source, sql); }, name);
    auto actual = ItemClassTables([&](const std::string& sql) { return rows(target, sql); }, name);
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_EQ(actual[i].second, expected[i].second) << name << ": " << expected[i].first;
      EXPECT_NE(expected[i].second, "") << name << ": " << expected[i].first;
    }
  }
}

// The classes are asked of the facade by their names in the user's language, as it matches them.
TEST_F(AuxPropTest, AnEnglishUserCarriesTheClassesByTheirEnglishNames) {
  accountset::CreateSample(source, 3, accountset::Kind::Commercial);
  exec(source, "UPDATE t_ItemClass SET FName_EN = 'Colours' WHERE FItemClassID = 3002");
  const std::string english = "UserID=16;AcctType=SY;Language=EN";
  Result out = exportFrom(props(source, english));
  ASSERT_TRUE(out.ok) << out.error;
  EXPECT_EQ(out.error, "");
  Result in = importInto(props(target, english), out.xml);
  ASSERT_TRUE(in.ok) << in.error;
  EXPECT_EQ(rows(target, "SELECT c.FName, COUNT(i.FItemID) FROM t_ItemClass c JOIN t_Item i ON i.FItemClassID = "
                         "c.FItemClassID WHERE c.FItemClassID > 3000 GROUP BY c.FName ORDER BY c.FName"),
            rows(source, "SELECT c.FName, COUNT(i.FItemID) FROM t_ItemClass c JOIN t_Item i ON i.FItemClassID = "
                         "c.FItemClassID WHERE c.FType IN (3, 4) GROUP BY c.FName ORDER BY c.FName"));
}

TEST_F(AuxPropTest, RefusalsComeBackAsFalseWithTheirText) {
  accountset::CreateSample(source, 3);
  const std::string empty = newAccountSet("empty.db");
  const std::string oldPack = newAccountSet("old.db");
  setServicePack(oldPack, "2.0.0.2");
  // A clerk who may export no class at all.
  exec(source, "INSERT INTO t_User (FUserID, FName) VALUES (20, 'clerk')");
  struct Case {
    const char* what;
    std::string propsString;
    std::string error;
  };
  const Case cases[] = {
      {"industrial set", props(source, "UserID=16;AcctType=GY"), "只有商业业账套才支持商品辅助属性的导入导出!"},
      {"old service pack", props(oldPack, kCommercial), "只有 Q7 9.2 及以上版本的工业账套才支持商品辅助属性的导入导出!"},
      {"no such class", props(empty, kCommercial), "不存在商品辅助属性的记录!"},
      {"no export right", props(source, "UserID=20;AcctType=SY;Language=CHS"), "自定义核算项目(颜色)没有导出权限！"},
      // The facade finds classes by their names in the user's language, and the colours have no English one.
      {"no name in the user's language", props(source, "UserID=16;AcctType=SY;Language=EN"),
       "商品辅助属性类别(颜色)没有当前语言的名称，无法导出!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Result out = exportFrom(c.propsString);
    EXPECT_FALSE(out.ok);
    EXPECT_EQ(out.error, c.error);
    EXPECT_EQ(out.xml, "");
  }
  // The import refuses the account sets that the export refuses, before anything is read.
  const std::string anyDocument = "<?xml version=\"1.0\"?><Root/>";
  for (const Case& c : {cases[0], cases[1]}) {
    SCOPED_TRACE(c.what);
    Result in = importInto(c.propsString, anyDocument);
    EXPECT_FALSE(in.ok);
    EXPECT_EQ(in.error, c.error);
  }
  EXPECT_TRUE(tempIsEmpty());
}

TEST_F(AuxPropTest, AUserWhoMayExportSomeClassesGetsThoseAndTheNamesOfTheOthers) {
  accountset::CreateSample(source, 3, accountset::Kind::Commercial);
  const std::string colours = rows(source, "SELECT FItemClassID FROM t_ItemClass WHERE FName = '颜色'");
  exec(source, "INSERT INTO t_User (FUserID, FName) VALUES (20, 'clerk')\r\n"
               "INSERT INTO t_AccessControl (FObjectType, FObjectID, FUserID, FAccessType, FAccessMask) VALUES "
               "(3, " + colours + ", 20, 1, 8388608)");
  const std::string others = rows(source, "SELECT group_concat(FName, '、') FROM (SELECT FName FROM t_ItemClass "
                                          "WHERE FType IN (3, 4) AND FName <> '颜色' ORDER BY FType, FItemClassID)");
  ASSERT_NE(others, "");
  Result out = exportFrom(props(source, "UserID=20;AcctType=SY;Language=CHS"));
  EXPECT_TRUE(out.ok);
  EXPECT_EQ(out.error, "自定义核算项目(" + others + ")没有导出权限！");
  EXPECT_NE(out.xml.find("<Name>颜色</Name>"), std::string::npos) << out.xml.substr(0, 300);
  EXPECT_EQ(out.xml.find("<Name>尺码</Name>"), std::string::npos);
  EXPECT_TRUE(tempIsEmpty());
}

TEST_F(AuxPropTest, EachItemAndEachClassThatFailsWholeIsCountedOnce) {
  accountset::CreateSample(source, 3, accountset::Kind::Commercial);
  Result out = exportFrom(props(source, kCommercial));
  ASSERT_TRUE(out.ok) << out.error;
  // The colours come back numbered as the materials' class, which a class document may not change.
  const std::string start = "<Number>", colours = rows(source, "SELECT FNumber FROM t_ItemClass WHERE FName = '颜色'");
  std::string refused = out.xml;
  refused.replace(refused.find(start + colours + "</Number>"), start.size() + colours.size(), start + "004");
  struct Case {
    const char* what;
    std::string xml;
    std::int32_t failed;
  };
  const Case cases[] = {{"the page as exported", out.xml, 0}, {"the colours refused", refused, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string set = newAccountSet(std::string(c.what) + ".db");
    // A facade that imported before: what it counted then is no part of this call's records.
    ASSERT_TRUE(importInto(props(target, kCommercial), out.xml).ok);
    facade->Let("ErrorCount", std::int32_t{0});
    Result in = importInto(props(set, kCommercial), c.xml);
    EXPECT_EQ(in.ok, c.failed == 0) << in.error;
    if (c.failed > 0) {
      EXPECT_NE(in.error.find("系统的基础资料类别不能作为自定义核算项目导入:物料"), std::string::npos) << in.error;
    }
    auto counts = facade->Get("ImportCounts").objectAs<TrzRecord>();
    ASSERT_TRUE(counts);
    EXPECT_EQ(CStr(counts->GetValue("Imported", 0)),
              rows(set, "SELECT COUNT(*) FROM t_Item i JOIN t_ItemClass c ON c.FItemClassID = i.FItemClassID "
                        "WHERE c.FType IN (3, 4)"));
    EXPECT_EQ(CLng(counts->GetValue("Failed", 0)), c.failed);
    EXPECT_EQ(CLng(facade->Get("ErrorCount")), c.failed);
    EXPECT_EQ(rows(set, "SELECT COUNT(*) FROM t_ItemClass WHERE FType IN (3, 4)"),
              rows(source, "SELECT COUNT(*) - " + std::to_string(c.failed) + " FROM t_ItemClass WHERE FType IN (3, 4)"));
  }
}

TEST_F(AuxPropTest, NoTemporaryFileIsLeftWhenACallFails) {
  accountset::CreateSample(source, 3);
  // The colours' own table is gone: the class export fails after the file was begun.
  exec(source, "DROP TABLE t_Item_3002");
  Result out = exportFrom(props(source, kCommercial));
  EXPECT_FALSE(out.ok);
  EXPECT_NE(out.error, "");
  EXPECT_TRUE(tempIsEmpty());

  Result in = importInto(props(target, kCommercial), "<Root><ItemClass>");
  EXPECT_FALSE(in.ok);
  EXPECT_NE(in.error, "");
  EXPECT_TRUE(tempIsEmpty());
}

TEST_F(AuxPropTest, ExportRaisesOneProgressWithTheClassCountWhateverTheOutcome) {
  accountset::CreateSample(source, 3);
  for (bool fails : {false, true}) {
    SCOPED_TRACE(fails);
    if (fails) exec(source, "DROP TABLE t_Item_3002");
    ObjectRef object = directObject();
    object->Let("bProgress", Variant(true));
    std::vector<std::pair<std::int32_t, std::int32_t>> seen;
    object->Advise([&](std::string_view event, DispId, Arguments args) {
      if (event == "Progress") seen.emplace_back(CLng(args[0]), CLng(args[1]));
    });
    ExportedPage page = ExportPage(object, props(source, kCommercial));
    EXPECT_EQ(page.ok, !fails) << page.error;
    EXPECT_EQ(seen, (std::vector<std::pair<std::int32_t, std::int32_t>>{{1, 1}}));
  }
}

TEST_F(AuxPropTest, GetDataSetListsEveryItemOnceAndStopsWhenProgressCancels) {
  accountset::CreateSample(source, 4);
  ObjectRef object = directObject();
  auto vect = std::make_shared<TrzRecords>();
  std::vector<Variant> args{Variant(ObjectRef(vect))};
  // Without an earlier Export or Import there is no connection: the error reaches the caller.
  EXPECT_THROW(object->Call("GetDataSet", args), AutomationError);

  ASSERT_TRUE(ExportPage(object, props(source, kCommercial)).ok);
  int cancelAt = 0, progress = 0;
  object->Advise([&](std::string_view event, DispId, Arguments a) {
    if (event == "Progress" && ++progress == cancelAt) a[2] = Variant(true);
  });
  cancelAt = 2;
  ASSERT_TRUE(CBool(object->Call("GetDataSet", args)));
  EXPECT_EQ(vect->Count(), 2);

  // The cancel of one call does not stop the next.
  vect = std::make_shared<TrzRecords>();
  args = {Variant(ObjectRef(vect))};
  cancelAt = 0;
  ASSERT_TRUE(CBool(object->Call("GetDataSet", args)));
  const std::string items = rows(source, "SELECT COUNT(*) FROM t_Item WHERE FItemClassID = 3002");
  ASSERT_EQ(std::to_string(vect->Count()), items);
  for (std::int32_t i = 1; i <= vect->Count(); ++i) {
    ObjectRef record = vect->Item(i).object();
    const std::string number = text(record, "ItemNumber");
    SCOPED_TRACE(number);
    EXPECT_EQ(text(record, "ClassNumber"), "COLOR");
    EXPECT_EQ(text(record, "ClassName"), "颜色");
    EXPECT_EQ(std::static_pointer_cast<TrzRecord>(record)->Item("ClassType"), Variant(std::int16_t{3}));
    EXPECT_EQ(text(record, "PropName"), "色号");
    // A detail item's name carries its value; a group has none.
    EXPECT_EQ(text(record, "ItemName"),
              rows(source, "SELECT i.FName || coalesce('/' || d.F_101, '') FROM t_Item i LEFT JOIN t_Item_3002 d "
                           "ON d.FItemID = i.FItemID WHERE i.FItemClassID = 3002 AND i.FNumber = '" + number + "'"));
    EXPECT_EQ(text(record, "Lenth"), "2");
    EXPECT_EQ(text(record, "ChildID"), "");
  }
}

// A combination of properties (FType 4) names the classes it combines, and each of its items the values
// it combines.
TEST_F(AuxPropTest, GetDataSetListsACombinationByTheClassesItCombinesAndItsValues) {
  accountset::CreateSample(source, 3, accountset::Kind::Commercial);
  ObjectRef object = directObject();
  ASSERT_TRUE(ExportPage(object, props(source, kCommercial)).ok);
  auto vect = std::make_shared<TrzRecords>();
  std::vector<Variant> args{Variant(ObjectRef(vect))};
  ASSERT_TRUE(CBool(object->Call("GetDataSet", args)));
  std::string combinations;
  for (std::int32_t i = 1; i <= vect->Count(); ++i) {
    ObjectRef record = vect->Item(i).object();
    if (text(record, "ClassNumber") != "COLORSIZE") continue;
    EXPECT_EQ(std::static_pointer_cast<TrzRecord>(record)->Item("ClassType"), Variant(std::int16_t{4}));
    EXPECT_EQ(text(record, "ChildID"), "颜色/尺码");
    EXPECT_EQ(text(record, "Lenth"), "10");
    combinations += text(record, "ItemNumber") + "=" + text(record, "PropName") + ";";
  }
  EXPECT_EQ(combinations, "01=;01.0001=颜色0001/尺码0002;01.0002=颜色0002/尺码0003;01.0003=颜色0003/尺码0001;");
}

}  // namespace
}  // namespace quillane::testing
