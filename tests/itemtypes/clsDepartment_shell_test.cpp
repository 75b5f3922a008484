// What the department class adds to its engine: options handed on, events relayed with bCancel going
// back, the calendar rule of its field map, and the companion data of the records it writes.
#include <gtest/gtest.h>

#include "department_fixture.h"
#include "exchange/modFunction_conflict.h"
#include "platform/registry/registry.h"
#include "support/scripted_dialog_host.h"

namespace quillane::testing {
namespace {

bool holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class DepartmentShell : public DepartmentTest {
 protected:
  void SetUp() override {
    DepartmentTest::SetUp();
    target = newAccountSet();
    addDepartment(target, 10, "01", "销售部", 0, true, ", FCalID", ", 5");
  }
  std::string target;
};

TEST_F(DepartmentShell, HaveInterFaceReachesTheEngineAtEachImportOnly) {
  ScopedDialogHost dialogs;
  auto update = [](erp::Form& form) {
    form.Click("OptUpdate");
    form.Click("cmdOK");
  };
  const std::string clash = document({keys("01", "市场部")});
  departments->Let("HaveInterFace", true);
  ASSERT_TRUE(exportPage(props(target)).ok);
  dialogs.host->scripts.push_back(update);
  dialogs.host->scripts.push_back(update);
  EXPECT_TRUE(importXml(props(target), clash).ok);
  EXPECT_TRUE(importXml(props(target), document({keys("01", "客服部")})).ok);
  EXPECT_EQ(dialogs.host->dialogsShown, 2);
  departments->Let("HaveInterFace", false);
  EXPECT_TRUE(importXml(props(target), document({keys("01", "前台")})).ok);
  EXPECT_EQ(dialogs.host->dialogsShown, 2);
  EXPECT_EQ(rows(target, "SELECT FName FROM t_Item WHERE FItemID = 10"), "前台");
}

TEST_F(DepartmentShell, ACancelFromTheProgressSinkStopsTheImportAfterThatRecord) {
  std::vector<std::string> progress;
  departments->Advise([&](std::string_view event, DispId id, Arguments args) {
    if (event != "Progress") return;
    EXPECT_EQ(id, 1);
    progress.push_back(CStr(args[0]) + "/" + CStr(args[1]));
    args[2] = Variant(true);
  });
  Imported imported = importXml(props(target), document({keys("02", "甲"), keys("03", "乙"), keys("04", "丙")}));
  EXPECT_TRUE(imported.ok) << imported.error;
  EXPECT_EQ(progress, std::vector<std::string>{"1/3"});
  EXPECT_EQ(rows(target, "SELECT FNumber FROM t_Item WHERE FItemClassID = 2 ORDER BY FNumber"), "01;02");
}

TEST_F(DepartmentShell, TheCalendarIsSetTo999WhateverTheDocumentSays) {
  struct Case {
    const char* servicePack;
    std::string calendar;  // the element, or nothing
    const char* stored;
  };
  const Case cases[] = {
      {"3.0.0.0", element("CalID", "7"), "999"},
      {"3.0.0.0", "<CalID/>", "999"},
      {"3.0.0.0", "", "5"},
      {"2.0.0.5", element("CalID", "7"), "5"},
  };
  for (const Case& c : cases) {
    exec(target, std::string("UPDATE t_SystemProfile SET FValue = '") + c.servicePack + "' WHERE FKey = 'ServicePack'");
    exec(target, "UPDATE t_Department SET FCalID = 5");
    Imported imported = importXml(props(target), document({keys("01", "销售部") + c.calendar}));
    ASSERT_TRUE(imported.ok) << imported.error;
    EXPECT_EQ(rows(target, "SELECT FCalID FROM t_Department WHERE FItemID = 10"), c.stored)
        << c.servicePack << " " << c.calendar;
  }
}

TEST_F(DepartmentShell, NewRecordsGetTheirCompanionDataAndARefusalFailsTheRecord) {
  dataAccess.refuseItem(13);
  Imported imported = importXml(props(target), document({keys("01", "销售部"), keys("02", "采购部"),
                                                          keys("03.1", "三组", 1, parentLink("03", "三部", "U-03"))}));
  EXPECT_FALSE(imported.ok);
  EXPECT_TRUE(holds(imported.error, "导入部门记录(Number:03.1,Name:三组,UUID:U-03.1)失败!")) << imported.error;
  EXPECT_TRUE(holds(imported.error, "The companion data was refused")) << imported.error;
  EXPECT_EQ(dataAccess.calls(), (std::vector<std::string>{"UpdateData 2 10 parent=0", "CreateData 2 11 detail=1 parent=0",
                                                          "UpdateData 2 11 parent=0",
                                                          "CreateData 2 13 detail=1 parent=12"}));
  // The refused record's parent group went with it.
  EXPECT_EQ(rows(target, "SELECT FNumber FROM t_Item WHERE FItemClassID = 2 ORDER BY FNumber"), "01;02");
}

TEST_F(DepartmentShell, AFailingLinkLookupFailsTheRecordAndItsLineQuotesTheLookup) {
  exec(target, "DROP TABLE t_Account");
  const std::string account = "<CostAccount>" + element("Number", "6602") + element("Name", "管理费用") +
                              element("UUID", "A1") + "</CostAccount>";
  Imported imported = importXml(props(target), document({keys("01", "销售部") + element("Note", "n") + account}));
  EXPECT_FALSE(imported.ok);
  EXPECT_TRUE(holds(imported.error, "执行错误的SQL语句:SELECT FAccountID FROM t_Account WHERE FNumber='6602' AND "
                                    "FName='管理费用'"))
      << imported.error;
  EXPECT_EQ(rows(target, "SELECT FNote FROM t_Department WHERE FItemID = 10"), "NULL");
}

TEST_F(DepartmentShell, ADocumentThatBreaksTheSchemaWritesNothing) {
  Imported imported = importXml(props(target), document({keys("02", "甲") + element("Colour", "red")}));
  EXPECT_FALSE(imported.ok);
  EXPECT_TRUE(holds(imported.error, "Colour")) << imported.error;
  EXPECT_EQ(CLng(departments->Get("ErrorCount")), 0);
  EXPECT_EQ(rows(target, "SELECT COUNT(*) FROM t_Item WHERE FItemClassID = 2"), "1");
}

}  // namespace
}  // namespace quillane::testing
