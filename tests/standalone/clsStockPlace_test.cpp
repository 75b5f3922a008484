// Stock places: how an imported place meets the target's groups, parents and places, the records that
// fail, the keys a place exports, and where HaveInterFace stands in the interface.
#include <gtest/gtest.h>

#include <functional>

#include "standalone_fixture.h"

namespace quillane::testing {
namespace {

std::string place(const std::string& number, const std::string& name, const std::string& extra = "") {
  return element("Name", name) + element("Number", number) + extra;
}
const std::string kGroupA = link("StockPlaceGroup", "01", "货位组A", "SG1");

// Group 01 (its default place 01.01) with shelf 01 and its place 01.01; group 02 with a place 01.01
// of its own.
class PlaceTarget : public StandaloneTest {
 protected:
  void SetUp() override {
    StandaloneTest::SetUp();
    exec(target, "INSERT INTO t_StockPlaceGroup (FSPGroupID, FNumber, FName, FDefaultSPID, UUID) VALUES "
                 "(1, '01', '货位组A', 3, 'SG1'), (2, '02', '货位组B', 0, 'SG2')");
    exec(target, "INSERT INTO t_StockPlace (FSPID, FSPGroupID, FNumber, FName, FParentID, FDetail, FLevel, FFullNumber, "
                 "FShortNumber, UUID) VALUES (2, 1, '01', '一号货架', 0, 0, 1, '01', '01', 'P1'), "
                 "(3, 1, '01.01', '一号货位', 2, 1, 2, '01.01', '01', 'P2'), (4, 2, '01.01', '乙货位', 0, 1, 1, '01.01', '01', 'P3')");
  }
  ImportResult import(const ObjectRef& places, const std::vector<std::string>& records) {
    return ImportXml(places, props(target), document("StockPlace", records));
  }

  std::string target = newAccountSet();
};

struct PlaceCase {
  const char* what;
  std::string record;
  std::function<void(ObjectRef&)> options;
  const char* query;
  const char* rows;
};
void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.what; }

const char* kPlacesNumbered0101 = "SELECT FSPID, FSPGroupID, FName FROM t_StockPlace WHERE FNumber = '01.01' ORDER BY FSPID";
const char* kDefaults = "SELECT FSPGroupID, FDefaultSPID FROM t_StockPlaceGroup ORDER BY FSPGroupID";

const PlaceCase kPlaceCases[] = {
    {"a group the target lacks is made, with its UUID and no default place, and holds the place",
     place("09.01", "冷藏位", link("StockPlaceGroup", "09", "冷藏组", "SG9")), {},
     "SELECT g.FSPGroupID, g.FNumber, g.FName, g.FDefaultSPID, g.UUID, p.FNumber, p.FFullNumber, p.FShortNumber "
     "FROM t_StockPlaceGroup g JOIN t_StockPlace p ON p.FSPGroupID = g.FSPGroupID WHERE g.FNumber = '09'",
     "3,09,冷藏组,0,SG9,09.01,09.01,01"},
    {"a parent the target lacks is made a bare place of the record's group",
     place("03.01", "三号位", element("Level", "2") + link("Parent", "03", "三号货架", "P7") + kGroupA), {},
     "SELECT p.FSPID, p.FNumber, p.FName, p.FSPGroupID, p.FParentID, p.FDetail, p.FLevel, p.FFullNumber, p.UUID, "
     "c.FParentID, c.FLevel FROM t_StockPlace c JOIN t_StockPlace p ON p.FSPID = c.FParentID WHERE c.FNumber = '03.01'",
     "5,03,三号货架,1,0,1,1,,P7,5,2"},
    {"a parent found in the group is kept as it is", place("01.02", "二号位", link("Parent", "01", "货架", "") + kGroupA),
     {}, "SELECT c.FParentID, p.FName FROM t_StockPlace c JOIN t_StockPlace p ON p.FSPID = c.FParentID WHERE c.FNumber = '01.02'",
     "2,一号货架"},
    {"the number within the group finds the place",
     place("01.01", "一号位", element("IsDetail", "1") + kGroupA), {}, kPlacesNumbered0101, "3,1,一号位;4,2,乙货位"},
    {"the same number in another group is another place", place("01.01", "丙货位", link("StockPlaceGroup", "03", "货位组C", "SG3")),
     {}, kPlacesNumbered0101, "3,1,一号货位;4,2,乙货位;5,3,丙货位"},
    {"without a group the number alone decides, and the place leaves its group", place("01.01", "甲"), {},
     kPlacesNumbered0101, "3,0,甲;4,2,乙货位"},
    {"AddNewOnly leaves a found place exactly as it was", place("01.01", "一号位", kGroupA + element("IsDefaultStockPlace", "3")),
     [](ObjectRef& o) { o->Let("AddNewOnly", true); }, kPlacesNumbered0101, "3,1,一号货位;4,2,乙货位"},
    {"with CheckByUUID the UUID finds the place whatever its number",
     place("05", "五号", link("StockPlaceGroup", "02", "货位组B", "SG2") + element("UUID", " P3 ")),
     [](ObjectRef& o) { o->Let("CheckByUUID", true); },
     "SELECT FSPID, FNumber, FName, FShortNumber, UUID FROM t_StockPlace WHERE FSPID = 4", "4,05,五号,05, P3 "},
    {"IsDefaultStockPlace makes the place its group's default, whatever its value",
     place("01", "一号货架", kGroupA + element("IsDefaultStockPlace", "0")), {}, kDefaults, "1,2;2,0"},
    {"a place without IsDefaultStockPlace leaves its group's default alone", place("01", "一号货架", kGroupA), {}, kDefaults,
     "1,3;2,0"},
};

class PlaceImport : public PlaceTarget, public ::testing::WithParamInterface<PlaceCase> {};

TEST_P(PlaceImport, Branches) {
  const PlaceCase& c = GetParam();
  ObjectRef places = CreateObject("Quillane.clsStockPlace");
  if (c.options) c.options(places);
  ImportResult result = import(places, {c.record});
  EXPECT_TRUE(result.ok) << result.error;
  EXPECT_EQ(rows(target, c.query), c.rows);
}

INSTANTIATE_TEST_SUITE_P(Records, PlaceImport, ::testing::ValuesIn(kPlaceCases));

TEST_F(PlaceTarget, APlaceThatIsNotWrittenFailsItsRecord) {
  sql::Connection db;
  db.setConnString(accountset::ConnectString(target));
  db.database().execScript("CREATE TRIGGER refuse_place BEFORE INSERT ON t_StockPlace WHEN NEW.FName = '拒绝' "
                           "BEGIN SELECT RAISE(ABORT, 'refused'); END");
  db.CloseConn();
  ObjectRef places = CreateObject("Quillane.clsStockPlace");
  // A refused insert, a place that nothing names once inserted, a parent that cannot be made, and a
  // place that goes in.
  ImportResult result = import(places, {place("07", "拒绝", kGroupA), element("Level", "1"),
                                        place("08", "子", link("Parent", "06", "拒绝", "") + kGroupA),
                                        place("09", "好", kGroupA)});
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(CLng(places->Get("ErrorCount")), 3);
  EXPECT_TRUE(holds(result.error, "导入仓位记录(Number:07,Name:拒绝,UUID:)失败!")) << result.error;
  EXPECT_TRUE(holds(result.error, "refused")) << result.error;
  EXPECT_TRUE(holds(result.error, "导入仓位记录(Number:,Name:,UUID:)失败!")) << result.error;
  EXPECT_TRUE(holds(result.error, "执行错误的SQL语句:INSERT INTO t_StockPlace (FNumber,FName,FSPGroupID,FParentID,FDetail,"
                                  "FLevel,UUID,FFullNumber) VALUES ('','',0,0,1,1,'','')"))
      << result.error;
  EXPECT_TRUE(holds(result.error, "导入仓位记录(Number:08,Name:子,UUID:)失败!")) << result.error;
  EXPECT_EQ(rows(target, "SELECT FSPID, FNumber FROM t_StockPlace ORDER BY FSPID"), "2,01;3,01.01;4,01.01;5,09");
}

TEST_F(StandaloneTest, APlaceExportsItsParentGroupAndDefaultMarkAndNoNullDetail) {
  std::string source = newAccountSet();
  exec(source, "INSERT INTO t_StockPlaceGroup (FSPGroupID, FNumber, FName, FDefaultSPID, UUID) VALUES "
               "(1, '01', '货位组A', 11, 'SG1')");
  // In stamp order: a shelf, its default place stored with detail -1, a place whose detail flag is Null,
  // a place of a group that is gone, a deleted place and the ERP's row 0.
  exec(source, "INSERT INTO t_StockPlace (FSPID, FSPGroupID, FNumber, FName, FParentID, FDetail, FLevel, FDeleted, UUID) "
               "VALUES (10, 1, '01', '货架', 0, 0, 1, 0, 'P10'), (11, 1, '01.01', '一号', 10, -1, 2, 0, 'P11'), "
               "(12, 1, '01.02', '二号', 10, NULL, 2, 0, 'P12'), (13, 9, '02', '无组', 0, 1, 1, 0, 'P13'), "
               "(14, 1, '01.03', '旧', 10, 1, 2, 1, 'P14'), (0, 0, '', '', 0, 1, 1, 0, 'P0')");
  ExportedPage page = ExportPage(CreateObject("Quillane.clsStockPlace"), props(source));
  ASSERT_TRUE(page.ok) << page.error;
  const std::string group = link("StockPlaceGroup", "01", "货位组A", "SG1"), shelf = link("Parent", "01", "货架", "P10");
  EXPECT_TRUE(holds(page.xml, "<StockPlace><Name>货架</Name><Number>01</Number><Level>1</Level><IsDetail>0</IsDetail>" +
                                  group + "<UUID>P10</UUID></StockPlace><StockPlace><Name>一号</Name><Number>01.01</Number>"
                                  "<Level>2</Level><IsDetail>1</IsDetail>" + shelf + group +
                                  "<IsDefaultStockPlace>11</IsDefaultStockPlace><UUID>P11</UUID></StockPlace><StockPlace>"
                                  "<Name>二号</Name><Number>01.02</Number><Level>2</Level>" + shelf + group +
                                  "<UUID>P12</UUID></StockPlace><StockPlace><Name>无组</Name><Number>02</Number><Level>1"
                                  "</Level><IsDetail>1</IsDetail><UUID>P13</UUID></StockPlace></Root>"))
      << page.xml;
}

TEST(StockPlaceInterface, HaveInterFaceStandsThirdAndTheOthersMoveOn) {
  const DispatchTable& places = CreateObject("Quillane.clsStockPlace")->dispatchTable();
  const DispatchTable& units = CreateObject("Quillane.clsMeasureUnit")->dispatchTable();
  std::vector<std::pair<std::string, DispId>> ids;
  for (const char* name : {"Export", "Import", "HaveInterFace", "Filter", "CheckByUUID", "AddNewOnly", "bProgress", "ErrorCount"})
    ids.emplace_back(name, *places.idOf(name));
  EXPECT_EQ(ids, (std::vector<std::pair<std::string, DispId>>{{"Export", 1}, {"Import", 2}, {"HaveInterFace", 3},
                                                              {"Filter", 4}, {"CheckByUUID", 5}, {"AddNewOnly", 6},
                                                              {"bProgress", 7}, {"ErrorCount", 8}}));
  EXPECT_EQ(*units.idOf("HaveInterFace"), 8);
}

}  // namespace
}  // namespace quillane::testing
