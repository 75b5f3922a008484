// Units of measure: how an imported unit meets the target's units, groups and item rows; clashes of
// numbers through the conflict rules and the DirtyRecord that reports them; the keys a unit exports;
// and a bulk file of units through the class exchange.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "exchange/modFunction_conflict.h"
#include "platform/registry/registry.h"
#include "platform/xml/DOMDocument.h"
#include "standalone_fixture.h"
#include "support/scripted_dialog_host.h"

namespace quillane::testing {
namespace {

std::string unit(const std::string& number, const std::string& name, const std::string& extra = "") {
  return element("Name", name) + element("Number", number) + extra;
}
std::string group(const std::string& name, const std::string& uuid) {
  return "<MeasureUnitGroup>" + element("Name", name) + element("UUID", uuid) + "</MeasureUnitGroup>";
}
const std::string kWeight = group("重量组", "G1");

// 重量组 (item 10) with kg (11, its standard unit) and g (12); a customer (5) that bears the group's
// name and one (30) that bears the name of a group still to come.
class UnitTarget : public StandaloneTest {
 protected:
  void SetUp() override {
    StandaloneTest::SetUp();
    exec(target, "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, FParentID, FLevel, FDetail, UUID) VALUES "
                 "(5, 1, 'C0', '重量组', 0, 1, 1, 'C0'), (10, 7, '重量组', '重量组', 0, 1, 0, 'G1'), "
                 "(11, 7, 'kg', '千克', 10, 2, 1, 'U1'), (12, 7, 'g', '克', 10, 2, 1, 'U2'), "
                 "(30, 1, 'C1', '长度组', 0, 1, 1, 'C1')");
    exec(target, "INSERT INTO t_UnitGroup (FUnitGroupID, FName, FDefaultUnitID, UUID) VALUES (10, '重量组', 11, 'G1')");
    exec(target, "INSERT INTO t_MeasureUnit (FMeasureUnitID, FItemID, FUnitGroupID, FParentID, FNumber, FName, "
                 "FShortNumber, FCoefficient, FStandard, UUID) VALUES (11, 11, 10, 10, 'kg', '千克', 'kg', 1, 1, 'U1'), "
                 "(12, 12, 10, 10, 'g', '克', 'g', 0.001, 0, 'U2')");
  }
  ImportResult import(const ObjectRef& units, const std::vector<std::string>& records) {
    return ImportXml(units, props(target), document("MeasureUnit", records));
  }
  std::string unitRows() const {
    return rows(target, "SELECT FMeasureUnitID, FNumber, FName FROM t_MeasureUnit ORDER BY FMeasureUnitID");
  }

  std::string target = newAccountSet();
};

struct UnitCase {
  const char* what;
  std::string record;
  std::function<void(ObjectRef&)> options;
  const char* query;  // what shows the outcome
  const char* rows;
};
void PrintTo(const UnitCase& c, std::ostream* os) { *os << c.what; }

const UnitCase kUnitCases[] = {
    {"a new unit takes an id free among units and items, with its item row under its group",
     unit("jin", "斤", element("Coefficient", "0.5") + kWeight + element("UUID", "U9")), {},
     "SELECT u.FMeasureUnitID, u.FItemID, u.FUnitGroupID, u.FParentID, u.FShortNumber, u.FCoefficient, u.FStandard, "
     "i.FItemClassID, i.FNumber, i.FName, i.FParentID, i.FLevel, i.FDetail, i.UUID, i.FSystemType "
     "FROM t_MeasureUnit u JOIN t_Item i ON i.FItemID = u.FMeasureUnitID WHERE u.FNumber = 'jin'",
     "31,31,10,10,jin,0.5,0,7,jin,斤,10,2,True,U9,2"},
    {"a new group gets its own item row, though an item of another class bears its name",
     unit("m", "米", group("长度组", "G2")), {},
     "SELECT g.FUnitGroupID, g.FName, g.UUID, i.FItemClassID, i.FNumber, i.FLevel, i.FDetail, i.UUID, u.FMeasureUnitID "
     "FROM t_UnitGroup g JOIN t_Item i ON i.FItemID = g.FUnitGroupID JOIN t_MeasureUnit u ON u.FUnitGroupID = "
     "g.FUnitGroupID WHERE g.FName = '长度组'",
     "31,长度组,G2,7,长度组,1,False,G2,32"},
    {"a group found by name keeps its id and its units, whatever other item bears its name, and takes the UUID",
     unit("g", "克", group("重量组", "G9")), {},
     "SELECT g.FUnitGroupID, g.UUID, u.FNumber FROM t_UnitGroup g JOIN t_MeasureUnit u ON u.FUnitGroupID = g.FUnitGroupID "
     "ORDER BY u.FMeasureUnitID",
     "10,G9,kg;10,G9,g"},
    {"with CheckByUUID a group is found by its UUID under another name, and keeps its name",
     unit("g", "克", group("重量", "G1")), [](ObjectRef& o) { o->Let("CheckByUUID", true); },
     "SELECT g.FUnitGroupID, g.FName, u.FUnitGroupID FROM t_UnitGroup g JOIN t_MeasureUnit u ON u.FNumber = 'g'",
     "10,重量组,10"},
    {"the number and name in the group update the unit", unit("kg", "千克", element("Coefficient", "2") + kWeight), {},
     "SELECT FMeasureUnitID, FCoefficient FROM t_MeasureUnit WHERE FNumber = 'kg'", "11,2"},
    {"a unit renumbered in its group keeps its id, and its item row follows",
     unit("gram", "克", kWeight + element("UUID", "U2")), {},
     "SELECT u.FMeasureUnitID, u.FNumber, u.FShortNumber, i.FNumber, i.FName, i.FParentID FROM t_MeasureUnit u "
     "JOIN t_Item i ON i.FItemID = u.FMeasureUnitID WHERE u.FMeasureUnitID = 12",
     "12,gram,gram,gram,克,10"},
    {"with CheckByUUID the UUID finds the unit whatever its number and name",
     unit("G", "克重", kWeight + element("UUID", " U2 ")), [](ObjectRef& o) { o->Let("CheckByUUID", true); },
     "SELECT u.FMeasureUnitID, u.FNumber, u.FName, i.FName FROM t_MeasureUnit u JOIN t_Item i ON i.FItemID = "
     "u.FMeasureUnitID WHERE u.FMeasureUnitID > 10",
     "11,kg,千克,千克;12,G,克重,克重"},
    {"a standard unit becomes its group's default and the group's only standard unit",
     unit("g", "克", kWeight + element("Standard", "1")), {},
     "SELECT u.FNumber, u.FStandard, g.FDefaultUnitID FROM t_MeasureUnit u JOIN t_UnitGroup g ON g.FUnitGroupID = "
     "u.FUnitGroupID ORDER BY u.FMeasureUnitID",
     "kg,0,12;g,1,12"},
    {"a unit without a group stands under none, and so does its item row", unit("pc", "个"), {},
     "SELECT u.FUnitGroupID, u.FParentID, i.FParentID, i.FLevel FROM t_MeasureUnit u JOIN t_Item i ON i.FItemID = "
     "u.FMeasureUnitID WHERE u.FNumber = 'pc'",
     "0,0,0,2"},
    {"AddNewOnly leaves a found unit as it was", unit("kg", "千克", element("Coefficient", "9") + kWeight),
     [](ObjectRef& o) { o->Let("AddNewOnly", true); },
     "SELECT FMeasureUnitID, FCoefficient FROM t_MeasureUnit WHERE FNumber = 'kg'", "11,1"},
    {"the import's system type goes into the item row, and so into the unit",
     unit("kg", "千克", kWeight), {}, "SELECT u.FSystemType, i.FSystemType FROM t_MeasureUnit u JOIN t_Item i ON "
     "i.FItemID = u.FMeasureUnitID WHERE u.FNumber = 'kg'", "2,2"},
};

class UnitImport : public UnitTarget, public ::testing::WithParamInterface<UnitCase> {};

TEST_P(UnitImport, Branches) {
  const UnitCase& c = GetParam();
  ObjectRef units = CreateObject("Quillane.clsMeasureUnit");
  if (c.options) c.options(units);
  ImportResult result = ImportXml(units, props(target), document("MeasureUnit", {c.record}), Variant(std::int16_t{2}));
  EXPECT_TRUE(result.ok) << result.error;
  EXPECT_EQ(rows(target, c.query), c.rows);
  EXPECT_EQ(rows(target, "SELECT FItemClassID, FName FROM t_Item WHERE FItemID IN (5, 30)"), "1,重量组;1,长度组");
}

INSTANTIATE_TEST_SUITE_P(Records, UnitImport, ::testing::ValuesIn(kUnitCases));

TEST_F(UnitTarget, AFailedUnitLeavesNothingAndSaysWhy) {
  refuseUpdateTo(target, "t_MeasureUnit", "公斤");
  ObjectRef units = CreateObject("Quillane.clsMeasureUnit");
  ImportResult result = import(units, {unit("pc", "个", element("Standard", "1")), unit("kg", "公斤", kWeight),
                                       unit("kg2", "二千克", kWeight)});
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(CLng(units->Get("ErrorCount")), 2);
  // A standard unit needs its group: without one it would clear the mark of every unit that has none.
  EXPECT_TRUE(holds(result.error, "导入计量单位记录(Number:pc,Name:个,UUID:)失败!")) << result.error;
  EXPECT_TRUE(holds(result.error, "标准计量单位必须属于一个计量单位组!")) << result.error;
  // A constraint of the database names the unit it protects.
  EXPECT_TRUE(holds(result.error, "计量单位(Number：kg Name：公斤)已发生业务上的强制约束，不能覆盖！")) << result.error;
  EXPECT_EQ(unitRows(), "11,kg,千克;12,g,克;31,kg2,二千克");
  EXPECT_EQ(rows(target, "SELECT COUNT(*) FROM t_Item WHERE FItemClassID = 7"), "4");
}

// ---- Clashes: a record whose number another unit holds ----

struct ClashCase {
  const char* what;
  bool haveInterface;
  std::optional<std::string> rule;  // nullopt: none stored, which asks
  ScriptedDialogHost::Script user;  // empty: the window is closed
  const char* units;
  int dialogs;
};
void PrintTo(const ClashCase& c, std::ostream* os) { *os << c.what; }

ScriptedDialogHost::Script choose(const char* option, const char* newNumber = "") {
  return [=](erp::Form& form) {
    form.Click(option);
    form.control("txtNewNumber").SetText(newNumber);
    form.Click("cmdOK");
  };
}

const char* kOverwritten = "11,kg,公斤;12,g,克";
const char* kSkipped = "11,kg,千克;12,g,克";
const ClashCase kClashCases[] = {
    {"without the interface the unit is overwritten", false, std::string(modFunction::kRuleAsk), {}, kOverwritten, 0},
    {"the skip rule leaves it", true, std::string(modFunction::kRuleSkip), {}, kSkipped, 0},
    {"the overwrite rule overwrites it", true, std::string(modFunction::kRuleOverwrite), {}, kOverwritten, 0},
    {"an unknown rule leaves it", true, std::string("按编码合并"), {}, kSkipped, 0},
    {"asked, the user overwrites", true, std::nullopt, choose("OptUpdate"), kOverwritten, 1},
    {"asked, the user skips", true, std::nullopt, choose("OptCancel"), kSkipped, 1},
    {"asked, the window is closed", true, std::nullopt, {}, kSkipped, 1},
    {"asked, the user gives a new number", true, std::nullopt, choose("OptNew", "kg2"), "11,kg,千克;12,g,克;31,kg2,公斤", 1},
};

class UnitClash : public UnitTarget, public ::testing::WithParamInterface<ClashCase> {
 protected:
  void setRule(const std::string& rule) {
    registry::WriteValue(std::string(modFunction::kConflictKey) + "\\计量单位", modFunction::kConflictRuleValue, rule);
  }
  // Gathers each DirtyRecord the object raises as "class,counts,content".
  void watch(const ObjectRef& object) {
    object->Advise([seen = seen](std::string_view event, DispId, Arguments args) {
      if (event == "DirtyRecord") seen->push_back(CStr(args[0]) + "," + CStr(args[1]) + "," + CStr(args[2]));
    });
  }

  ScopedDialogHost dialogs;
  std::shared_ptr<std::vector<std::string>> seen = std::make_shared<std::vector<std::string>>();
};

TEST_P(UnitClash, TheRuleDecidesAndTheClashIsReported) {
  const ClashCase& c = GetParam();
  if (c.rule) setRule(*c.rule);
  if (c.user) dialogs.host->scripts.push_back(c.user);
  ObjectRef units = CreateObject("Quillane.clsMeasureUnit");
  units->Let("HaveInterFace", c.haveInterface);
  watch(units);
  ImportResult result = import(units, {unit("kg", "公斤", kWeight)});
  EXPECT_TRUE(result.ok) << result.error;
  EXPECT_EQ(unitRows(), c.units);
  EXPECT_EQ(dialogs.host->dialogsShown, c.dialogs);
  EXPECT_EQ(*seen, std::vector<std::string>{"7,1,基础资料类别[计量单位]存在以下冲突:\r\nkg|公斤\r\n"});
}

INSTANTIATE_TEST_SUITE_P(Rules, UnitClash, ::testing::ValuesIn(kClashCases));

TEST_F(UnitClash, TheObjectKeepsItsClashesAndTheAnswerForAllAcrossImports) {
  ObjectRef units = CreateObject("Quillane.clsMeasureUnit");
  units->Let("HaveInterFace", true);
  watch(units);
  dialogs.host->scripts.push_back([](erp::Form& form) {
    form.Click("OptCancel");
    form.Click("chkAll");
    form.Click("cmdOK");
  });
  ASSERT_TRUE(import(units, {unit("kg", "公斤", kWeight), unit("new", "新", kWeight)}).ok);
  // The second import asks nobody: the answer for all still holds, and its clash adds to the first.
  ASSERT_TRUE(import(units, {unit("g", "公克", kWeight)}).ok);
  EXPECT_EQ(dialogs.host->dialogsShown, 1);
  EXPECT_EQ(unitRows(), "11,kg,千克;12,g,克;31,new,新");
  EXPECT_EQ(*seen, (std::vector<std::string>{"7,1,基础资料类别[计量单位]存在以下冲突:\r\nkg|公斤\r\n",
                                              "7,2,基础资料类别[计量单位]存在以下冲突:\r\nkg|公斤\r\ng|公克\r\n"}));
  // An import without clashes of its own still reports those the object has met.
  ASSERT_TRUE(import(units, {unit("kg", "千克", kWeight)}).ok);
  EXPECT_EQ(seen->size(), 3u);
}

// ---- Export ----

TEST_F(StandaloneTest, AUnitExportsItsGroupAndWhetherItIsTheGroupsStandardUnit) {
  std::string source = newAccountSet();
  exec(source, "INSERT INTO t_UnitGroup (FUnitGroupID, FName, FDefaultUnitID, UUID) VALUES (10, '重量组', 11, 'G1'), "
               "(20, '无码组', 21, '')");
  // In stamp order: the standard unit and another of 重量组, a unit without group right after them, one
  // of a group without UUID (its standard unit), and a deleted one.
  for (const char* values : {"(11, 10, 'kg', '千克', 1, NULL, 0, 'U1')", "(12, 10, 'g', '克', 0.001, 'A', 0, 'U2')",
                             "(13, NULL, 'pc', '个', NULL, NULL, 0, 'U3')", "(21, 20, 'x', '叉', 1, NULL, 0, 'U4')",
                             "(14, 10, 'old', '旧', 1, NULL, 1, 'U5')"})
    exec(source, std::string("INSERT INTO t_MeasureUnit (FMeasureUnitID, FUnitGroupID, FNumber, FName, FCoefficient, "
                             "FAuxClass, FDeleted, UUID) VALUES ") + values);
  ExportedPage page = ExportPage(CreateObject("Quillane.clsMeasureUnit"), props(source));
  ASSERT_TRUE(page.ok) << page.error;
  const std::string weight = "<MeasureUnitGroup><Name>重量组</Name><UUID>G1</UUID></MeasureUnitGroup>";
  EXPECT_TRUE(holds(page.xml,
            "<MeasureUnit><Name>千克</Name><Number>kg</Number><Coefficient>1</Coefficient><IsDelete>0</IsDelete>" +
                weight + "<Standard>1</Standard><UUID>U1</UUID></MeasureUnit>"
                "<MeasureUnit><Name>克</Name><Number>g</Number><Coefficient>0.001</Coefficient><AuxClass>A</AuxClass>"
                "<IsDelete>0</IsDelete>" + weight + "<Standard>0</Standard><UUID>U2</UUID></MeasureUnit>"
                "<MeasureUnit><Name>个</Name><Number>pc</Number><IsDelete>0</IsDelete><Standard>0</Standard>"
                "<UUID>U3</UUID></MeasureUnit>"
                "<MeasureUnit><Name>叉</Name><Number>x</Number><Coefficient>1</Coefficient><IsDelete>0</IsDelete>"
                "<Standard>0</Standard><UUID>U4</UUID></MeasureUnit>"
                "<MeasureUnit><Name>旧</Name><Number>old</Number><Coefficient>1</Coefficient><IsDelete>1</IsDelete>" +
                weight + "<Standard>0</Standard><UUID>U5</UUID></MeasureUnit></Root>"))
      << page.xml;
}

// ---- Bulk files ----

TEST_F(StandaloneTest, ABulkFileOfUnitsGoesThroughTheClassExchange) {
  std::string source = newAccountSet("source.db"), target = newAccountSet("target.db");
  // Three groups of 80 units: more than one page of the class exchange, groups interleaved.
  sql::Connection db;
  db.setConnString(accountset::ConnectString(source));
  db.database().execScript(
      "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, FLevel, FDetail, UUID) VALUES "
      "(1, 7, '组1', '组1', 1, 0, 'G1'), (2, 7, '组2', '组2', 1, 0, 'G2'), (3, 7, '组3', '组3', 1, 0, 'G3');"
      "INSERT INTO t_UnitGroup (FUnitGroupID, FName, FDefaultUnitID, UUID) VALUES (1, '组1', 12, 'G1'), "
      "(2, '组2', 10, 'G2'), (3, '组3', 11, 'G3');"
      "WITH RECURSIVE n(k) AS (SELECT 10 UNION ALL SELECT k + 1 FROM n WHERE k < 249) "
      "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, FParentID, FLevel, FDetail, UUID) "
      "SELECT k, 7, 'u' || k, '单位' || k, 1 + k % 3, 2, 1, 'U' || k FROM n;"
      "INSERT INTO t_MeasureUnit (FMeasureUnitID, FItemID, FUnitGroupID, FParentID, FNumber, FName, FShortNumber, "
      "FCoefficient, FStandard, UUID) SELECT FItemID, FItemID, FParentID, FParentID, FNumber, FName, FNumber, "
      "FItemID / 10.0, CASE WHEN FItemID < 13 THEN 1 ELSE 0 END, UUID FROM t_Item WHERE FItemID >= 10;");
  db.CloseConn();
  const std::string file = dir_.file("units.xml");
  ObjectRef facade = CreateObject("Quillane.clsExpImp");
  std::vector<Variant> out{props(source), std::int32_t{4}, file, std::int32_t{500}, "", "", ""};
  ASSERT_TRUE(CBool(facade->Call("ExportPreIOToFile", out))) << CStr(out[6]);
  DOMDocument document;
  ASSERT_TRUE(document.load(file)) << document.parseError()->reason();
  EXPECT_EQ(document.selectNodes("Root/MeasureUnit")->length(), 240);

  std::vector<Variant> in{props(target), std::int32_t{4}, file, std::int32_t{500}, ""};
  ASSERT_TRUE(CBool(facade->Call("ImportPreIOFromFile", in))) << CStr(in[4]);
  const char* content =
      "SELECT u.FNumber, u.FName, u.FCoefficient, u.FStandard, u.UUID, g.FName, g.UUID, "
      "CASE WHEN g.FDefaultUnitID = u.FMeasureUnitID THEN 1 ELSE 0 END, i.FNumber, CASE WHEN i.FParentID = u.FUnitGroupID THEN 1 ELSE 0 END "
      "FROM t_MeasureUnit u JOIN t_UnitGroup g ON g.FUnitGroupID = u.FUnitGroupID JOIN t_Item i ON i.FItemID = "
      "u.FMeasureUnitID ORDER BY u.FNumber";
  EXPECT_EQ(rows(target, content), rows(source, content));
}

}  // namespace
}  // namespace quillane::testing
