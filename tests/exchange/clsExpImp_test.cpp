// The facade: data types chosen by their ItemObject value, options and events passed between the
// caller and the per-type object, failures reported in strError, and the forwarding members.
#include "exchange/clsExpImp.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "facade_fixture.h"
#include "itemtypes/department_fixture.h"
#include "platform/automation/automation.h"
#include "support/automation_test.h"

namespace quillane::testing {
namespace {

constexpr std::int32_t lDepartment = 6, lDepartmentAlias = 120;

bool holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(FacadeTest, DepartmentsTravelByTheirValueAndItsAlias) {
  std::string source = newAccountSet("source.db"), target = newAccountSet("target.db");
  addDepartment(source, 10, "01", "销售部");
  addDepartment(source, 11, "02", "财务部");
  Page page = facadeExport(lDepartment, props(source));
  ASSERT_TRUE(page.ok) << page.error;
  EXPECT_TRUE(holds(page.xml, "财务部")) << page.xml;
  EXPECT_EQ(page.stamp, page.maxStamp);
  EXPECT_EQ(facadeExport(lDepartmentAlias, props(source)).xml, page.xml);

  Imported imported = facadeImport(lDepartmentAlias, page.xml, props(target));
  ASSERT_TRUE(imported.ok) << imported.error;
  EXPECT_EQ(rows(target, "SELECT FNumber, FName FROM t_Item WHERE FItemClassID = 2 ORDER BY FNumber"),
            "01,销售部;02,财务部");
  EXPECT_EQ(errorCount(), 0);
}

TEST_F(FacadeTest, UnsupportedValuesAndUnbuiltClassesFailWithTheirText) {
  struct Case {
    std::int32_t lIO;
    const char* text;
    const char* unbuilt = nullptr;  // a class that this case withdraws, as a build without it would lack it
  };
  const std::string refusal = "不支持该类型数据的引入引出!";
  const Case cases[] = {
      {10, "Tarnwick.clsExpImp"},
      {23, "Tarnwick.clsExpImp"},
      {0, "Tarnwick.clsExpImp"},
      {-6, "Tarnwick.clsExpImp"},
      {25, "Tarnwick.clsExpImp"},
      {104, "Tarnwick.clsExpImp"},
      {131, "Tarnwick.clsExpImp"},
      {1, " -- Quillane.clsAccount", "Quillane.clsAccount"},
      {130, " -- Quillane.clsFee", "Quillane.clsFee"},
      {20, " -- Quillane.clsAuxProp", "Quillane.clsAuxProp"},
  };
  for (const Case& c : cases) {
    std::optional<ClassOverride> withdrawn;
    if (c.unbuilt) withdrawn.emplace(c.unbuilt, [] { return ObjectRef(); });
    Page page = facadeExport(c.lIO);
    EXPECT_FALSE(page.ok) << c.lIO;
    EXPECT_TRUE(holds(page.error, c.text)) << c.lIO << ": " << page.error;
    Imported imported = facadeImport(c.lIO, "<Root/>");
    EXPECT_FALSE(imported.ok) << c.lIO;
    EXPECT_TRUE(holds(imported.error, c.text)) << c.lIO << ": " << imported.error;
    if (std::string(c.text) == "Tarnwick.clsExpImp") {
      EXPECT_TRUE(holds(page.error, refusal)) << page.error;
    }
  }
}

TEST_F(FacadeTest, TheRefusalIsTranslated) {
  useLanguage("en");
  Page page = facadeExport(23);
  EXPECT_FALSE(page.ok);
  EXPECT_FALSE(holds(page.error, "不支持")) << page.error;
  EXPECT_TRUE(holds(page.error, "Tarnwick.clsExpImp")) << page.error;
}

TEST_F(FacadeTest, OptionsAndArgumentsReachThePerTypeObjectInOrder) {
  FakeType fake("Quillane.clsDepartment");
  facade->Let("Filter", "FNumber LIKE '0%'");
  facade->Let("CheckByUUID", true);
  facade->Let("AddNewOnly", true);
  facade->Let("HaveInterFace", true);
  facade->Let("bProgress", true);

  std::vector<Variant> args{"P", lDepartment, "in", std::int32_t{7}, "0x00", "max", "old"};
  EXPECT_TRUE(CBool(facade->Call("Export", args)));
  // What the per-type object wrote travels back to the caller.
  EXPECT_EQ(CStr(args[2]), "<Root/>");
  EXPECT_EQ(CStr(args[4]), "0x01");
  EXPECT_EQ(CStr(args[5]), "0x02");
  EXPECT_EQ(CStr(args[6]), "page error");

  Imported imported = facadeImport(lDepartmentAlias, "<Root/>");
  EXPECT_TRUE(imported.ok);
  EXPECT_EQ(imported.error, "import error");
  EXPECT_EQ(fake.script->calls,
            (std::vector<std::string>{"bProgress=True", "Filter=FNumber LIKE '0%'", "Export(P,in,7,0x00,max,old)",
                                      "bProgress=True", "Filter=FNumber LIKE '0%'", "HaveInterFace=True",
                                      "CheckByUUID=True", "AddNewOnly=True", "Import(P,<Root/>,,1)"}));
  // One object per call, none left once the call is over.
  EXPECT_EQ(fake.script->alive, 0);
}

TEST_F(FacadeTest, AuxiliaryPropertiesGetTheFacadeBeforeTheirOptions) {
  FakeType fake("Quillane.clsAuxProp");
  EXPECT_TRUE(facadeExport(20).ok);
  ASSERT_FALSE(fake.script->calls.empty());
  EXPECT_EQ(fake.script->calls.front(), "oExpImp");
  EXPECT_EQ(fake.script->oExpImp, facade);
}

TEST_F(FacadeTest, ErrorCountSumsEveryCallUntilTheCallerSetsIt) {
  FakeType fake("Quillane.clsDepartment");
  fake.script->errorCount = 3;
  facadeImport(lDepartment, "<Root/>");
  fake.script->errorCount = 2;
  fake.script->result = false;
  EXPECT_FALSE(facadeExport(lDepartment).ok);
  EXPECT_EQ(errorCount(), 5);
  facade->Let("ErrorCount", std::int32_t{0});
  facadeImport(lDepartment, "<Root/>");
  EXPECT_EQ(errorCount(), 2);
}

TEST_F(FacadeTest, ACallFailingAfterThePerTypeCallKeepsItsResult) {
  // The per-type call has returned True when adding its count overflows a Long: the result stays True,
  // the error replaces the text and the count stays as it was.
  FakeType fake("Quillane.clsDepartment");
  fake.script->errorCount = 1;
  facade->Let("ErrorCount", INT32_MAX);
  Page page = facadeExport(lDepartment);
  EXPECT_TRUE(page.ok);
  EXPECT_TRUE(holds(page.error, ":6\r\n")) << page.error;
  EXPECT_EQ(errorCount(), INT32_MAX);
  EXPECT_EQ(fake.script->alive, 0);
}

TEST_F(FacadeTest, RelaysSendBackOnlyTheCallersAnswerAndYield) {
  int yields = 0;
  auto previous = SetYieldHook([&] { ++yields; });
  bool answer = false;
  std::vector<std::string> events;
  facade->Advise([&](std::string_view event, DispId id, Arguments args) {
    events.push_back(std::string(event) + ":" + std::to_string(id));
    if (event == "Progress") {
      EXPECT_FALSE(CBool(args[2]));
      if (answer) args[2] = Variant(true);
    }
    if (event == "DirtyRecord") args[2] = Variant("seen");
  });
  for (const char* progID : {"Quillane.clsDepartment", "Quillane.clsCustomer"}) {
    FakeType fake(progID);
    std::vector<bool> cancels;
    std::string content;
    fake.script->during = [&](RecordingType& self) {
      cancels.push_back(self.progress());
      content = self.dirty();
    };
    std::int32_t lIO = std::string(progID) == "Quillane.clsDepartment" ? lDepartment : 5;
    answer = false;
    facadeImport(lIO, "<Root/>");
    answer = true;
    yields = 0;
    facadeExport(lIO);
    EXPECT_EQ(cancels, (std::vector<bool>{false, true})) << progID;
    EXPECT_EQ(content, "seen");
    // Departments' progress does not yield; every other relay does.
    EXPECT_EQ(yields, lIO == lDepartment ? 1 : 2) << progID;
  }
  EXPECT_EQ(events.size(), 8u);
  EXPECT_EQ(events[0], "Progress:2");
  EXPECT_EQ(events[1], "DirtyRecord:1");
  yields = 0;
  facade->Let("bProgress", true);
  EXPECT_EQ(yields, 1);
  SetYieldHook(previous);
}

TEST_F(FacadeTest, ACallFromAnEventDoesNotFreeTheObjectInUse) {
  FakeType fake("Quillane.clsDepartment");
  int depth = 0;
  fake.script->during = [&](RecordingType& self) {
    if (depth++ == 0) self.progress();
    // Touches the outer object after the nested call replaced and released the member.
    self.option("after", depth);
  };
  facade->Advise([&](std::string_view event, DispId, Arguments) {
    if (event == "Progress") {
      EXPECT_TRUE(facadeImport(lDepartment, "<Root/>").ok);
    }
  });
  Page page = facadeExport(lDepartment);
  EXPECT_TRUE(page.ok);
  EXPECT_EQ(page.xml, "<Root/>");
  EXPECT_EQ(fake.script->alive, 0);
}

// The automation layer holds an object for the length of a call made on it; the facade relies on that.
TEST_F(FacadeTest, ACallerThatDropsTheFacadeInAnEventLetsTheCallFinish) {
  FakeType fake("Quillane.clsDepartment");
  fake.script->during = [](RecordingType& self) { self.progress(); };
  AutomationObject* raw = facade.get();
  facade->Advise([&](std::string_view, DispId, Arguments) { facade.reset(); });
  std::vector<Variant> args{"P", lDepartment, "<Root/>", ""};
  EXPECT_TRUE(CBool(raw->Invoke("Import", InvokeKind::Method, args)));
  EXPECT_FALSE(facade);
  EXPECT_EQ(fake.script->alive, 0);
}

TEST_F(FacadeTest, DepartmentEventsReachTheCallerAndItsCancelStopsTheImport) {
  std::string target = newAccountSet();
  addDepartment(target, 10, "01", "销售部");
  std::vector<std::string> seen;
  facade->Advise([&](std::string_view event, DispId, Arguments args) {
    if (event == "Progress") {
      seen.push_back("Progress " + CStr(args[0]) + "/" + CStr(args[1]));
      args[2] = Variant(true);
    } else if (event == "DirtyRecord") {
      seen.push_back("DirtyRecord " + CStr(args[0]) + "," + CStr(args[1]));
    }
  });
  Imported imported =
      facadeImport(lDepartment, document({keys("01", "市场部"), keys("02", "甲"), keys("03", "乙")}), props(target));
  EXPECT_TRUE(imported.ok) << imported.error;
  EXPECT_EQ(seen, (std::vector<std::string>{"Progress 1/3", "DirtyRecord 2,1"}));
  EXPECT_EQ(rows(target, "SELECT FNumber, FName FROM t_Item WHERE FItemClassID = 2 ORDER BY FNumber"), "01,市场部");
}

TEST_F(FacadeTest, CheckRightAnswersOnlyTrueOrFalse) {
  std::string path = newAccountSet();
  EXPECT_TRUE(CBool(CallByName(facade, "CheckRight", {props(path)})));
  EXPECT_FALSE(CBool(CallByName(facade, "CheckRight", {props(path, "UserID=16")})));
  EXPECT_FALSE(CBool(CallByName(facade, "CheckRight", {""})));
}

TEST_F(FacadeTest, ItemClassesOfTheDataTypes) {
  const std::pair<std::int32_t, std::int32_t> cases[] = {
      {5, 1}, {6, 2}, {10, 6}, {4, 7},  {21, 9}, {13, 14}, {14, 2001}, {17, 2002}, {18, 2014},
      {1, 0}, {2, 0}, {3, 0},  {19, 0}, {20, 0}, {22, 0},  {23, 0},    {24, 0},    {120, 0},
  };
  for (auto [lIO, id] : cases) EXPECT_EQ(clsExpImp::GetItemClassID(lIO), id) << lIO;
}

TEST_F(FacadeTest, ObjectRightsFollowTheDataTypesAccessObject) {
  std::string path = newAccountSet();
  exec(path, "INSERT INTO t_User (FUserID, FName, FForbidden) VALUES (20, 'clerk', 0)");
  // Export of departments (3, 2) and of materials (3, 4), import of nothing.
  exec(path,
       "INSERT INTO t_AccessControl (FObjectType, FObjectID, FUserID, FAccessType, FAccessMask) VALUES "
       "(3, 2, 20, 1, 8388608), (3, 4, 20, 1, 8388608)");
  const std::string clerk = props(path, "UserID=20;AcctType=GY");
  struct Case {
    std::int32_t lIO, mask;
    bool expected;
  };
  const Case cases[] = {
      {6, clsExpImp::kExportRight, true}, {6, clsExpImp::kImportRight, false}, {7, clsExpImp::kExportRight, false},
      {8, clsExpImp::kExportRight, true}, {20, clsExpImp::kExportRight, true}, {120, clsExpImp::kExportRight, false},
  };
  for (const Case& c : cases) EXPECT_EQ(clsExpImp::CheckObjectRight(clerk, c.lIO, c.mask), c.expected) << c.lIO;
  EXPECT_TRUE(clsExpImp::CheckObjectRight(props(path), 7, clsExpImp::kImportRight)) << "the administrator";
  EXPECT_THROW(clsExpImp::CheckObjectRight("UserID=20", 6, clsExpImp::kExportRight), AutomationError);
}

TEST_F(FacadeTest, DeletionKeysTravelThroughTheFacadeWithoutCounting) {
  std::string source = newAccountSet("source.db"), target = newAccountSet("target.db");
  exec(source, "INSERT INTO t_BaseDataDeleted (FTableName, FItemClassID, FDeletedUUID) VALUES ('t_Item', 2, 'U-01')");
  addDepartment(target, 10, "01", "销售部");
  addDepartment(target, 11, "02", "财务部");
  facade->Let("ErrorCount", std::int32_t{4});

  std::vector<Variant> out{props(source), lDepartment, "", std::int32_t{100}, "", "", ""};
  ASSERT_TRUE(CBool(facade->Call("ExportXMLDataKey", out))) << CStr(out[6]);
  EXPECT_TRUE(holds(CStr(out[2]), "U-01")) << CStr(out[2]);
  std::vector<Variant> in{props(target), lDepartment, out[2], ""};
  ASSERT_TRUE(CBool(facade->Call("ImportXMLDataKey", in))) << CStr(in[3]);
  EXPECT_EQ(rows(target, "SELECT FNumber FROM t_Item WHERE FItemClassID = 2"), "02");
  EXPECT_EQ(errorCount(), 4);
}

TEST_F(FacadeTest, ItemClassQueriesRaiseWhenTheClassCannotBeCreated) {
  ClassOverride missing("Quillane.clsItemClass", [] { return ObjectRef(); });
  std::vector<std::vector<Variant>> calls = {
      {"GetItemClassNames", "P"}, {"GetItemClassNamesEx", "P"}, {"IsCustItemClass", "P", "A"}};
  for (std::vector<Variant>& call : calls) {
    std::string member = CStr(call.front());
    std::vector<Variant> args(call.begin() + 1, call.end());
    AutomationError e = ErrorOf([&] { facade->Call(member, args); });
    EXPECT_EQ(e.number, 429) << member;
    EXPECT_TRUE(holds(e.description, " -- Quillane.clsItemClass")) << e.description;
  }
}

}  // namespace
}  // namespace quillane::testing
