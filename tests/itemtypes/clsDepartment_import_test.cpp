// Import: how each record of a document meets the target account set, one transaction per record.
#include <gtest/gtest.h>

#include <functional>

#include "department_fixture.h"
#include "exchange/modFunction_conflict.h"
#include "platform/registry/registry.h"
#include "platform/sql/database.h"
#include "support/scripted_dialog_host.h"

namespace quillane::testing {
namespace {

bool holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// What the user does in the conflict dialog.
ScriptedDialogHost::Script addUnder(const char* newNumber) {
  return [=](erp::Form& form) {
    form.Click("OptNew");
    form.control("txtNewNumber").SetText(newNumber);
    form.Click("cmdOK");
  };
}

struct ImportCase {
  const char* what;
  std::vector<std::string> records;
  std::function<void(ObjectRef&)> options;  // set on the department object before the import
  const char* rule;                         // the conflict rule of 部门; null: none stored
  ScriptedDialogHost::Script user;          // how the dialog is answered; empty: no dialog expected
  bool ok;
  const char* items;    // the department items afterwards: FItemID,FNumber,FName,FParentID,FDetail,FLevel
  const char* details;  // the detail rows afterwards: FItemID,FNumber,FName,FNote
  int clashes;
  const char* errorText = "";
};
void PrintTo(const ImportCase& c, std::ostream* os) { *os << c.what; }

const std::string kSales = keys("01", "销售部");
const std::string kExistingItem = "10,01,销售部,0,True,1";
const std::string kExistingDetail = "10,01,销售部,old";
auto withInterface = [](ObjectRef& o) { o->Let("HaveInterFace", true); };

const ImportCase kCases[] = {
    {"a new record is inserted with its detail row", {keys("02", "采购部") + element("Note", "n")}, {}, nullptr, {},
     true, "10,01,销售部,0,True,1;11,02,采购部,0,True,1", "10,01,销售部,old;11,02,采购部,n", 0},
    {"the same number and name update the record", {kSales + element("Note", "new")}, {}, nullptr, {}, true,
     "10,01,销售部,0,True,1", "10,01,销售部,new", 0},
    {"a clash without HaveInterFace updates the existing record", {keys("01", "市场部")}, {}, nullptr, {}, true,
     "10,01,市场部,0,True,1", "10,01,市场部,old", 1},
    {"a clash with HaveInterFace follows the class's rule", {keys("01", "市场部")}, withInterface, "默认取消", {},
     true, kExistingItem.c_str(), kExistingDetail.c_str(), 1},
    {"a clash added under a new number from the dialog", {keys("01", "市场部")}, withInterface, nullptr,
     addUnder("05"), true, "10,01,销售部,0,True,1;11,05,市场部,0,True,1", "10,01,销售部,old;11,05,市场部,NULL", 1},
    {"a new number that is taken fails the record", {keys("01", "市场部"), keys("03", "人事部")}, withInterface,
     nullptr, addUnder("01"), false, "10,01,销售部,0,True,1;11,03,人事部,0,True,1", "10,01,销售部,old;11,03,人事部,NULL", 1,
     "新的代码已经存在:01"},
    {"a record whose detail flag differs is skipped", {keys("01", "销售部", 0)}, {}, nullptr, {}, true,
     kExistingItem.c_str(), kExistingDetail.c_str(), 0},
    {"AddNewOnly leaves an existing detail row alone",
     {kSales + element("Note", "new"), keys("02", "采购部") + element("Note", "n")},
     [](ObjectRef& o) { o->Let("AddNewOnly", true); }, nullptr, {}, true,
     "10,01,销售部,0,True,1;11,02,采购部,0,True,1", "10,01,销售部,old;11,02,采购部,n", 0},
    {"a missing parent is created as a group at level 2",
     {keys("03.01", "华东区", 1, parentLink("03", "大区", "U-03"))}, {}, nullptr, {}, true,
     "10,01,销售部,0,True,1;11,03,大区,0,False,2;12,03.01,华东区,11,True,2", "10,01,销售部,old;12,03.01,华东区,NULL", 0},
    {"a parent found by its number alone takes the document's name",
     {keys("01.01", "一组", 1, parentLink("01", "销售中心", "U-x"))}, {}, nullptr, {}, true,
     "10,01,销售中心,0,False,1;11,01.01,一组,10,True,2", "10,01,销售部,old;11,01.01,一组,NULL", 0},
    {"with CheckByUUID the UUID finds the record whatever its number",
     {keys("09", "销售部", 1, "", "U-01")}, [](ObjectRef& o) { o->Let("CheckByUUID", true); }, nullptr, {}, true,
     "10,09,销售部,0,True,1", "10,09,销售部,old", 0},
    {"a record with neither number nor name fails", {element("Level", "1") + element("IsDetail", "1"), keys("02", "采购部")},
     {}, nullptr, {}, false, "10,01,销售部,0,True,1;11,02,采购部,0,True,1", "10,01,销售部,old;11,02,采购部,NULL", 0,
     "记录没有代码也没有名称!"},
    {"a failing record is rolled back and the next one commits", {keys("bad", "坏"), keys("02", "采购部")}, {},
     nullptr, {}, false, "10,01,销售部,0,True,1;11,02,采购部,0,True,1", "10,01,销售部,old;11,02,采购部,NULL", 0,
     "导入部门记录(Number:bad,Name:坏,UUID:U-bad)失败!\r\n错误号:-2147217873\r\n错误源:Microsoft OLE DB Provider for SQL "
     "Server\r\n错误描述:refused\r\n执行错误的SQL语句:INSERT INTO t_Department (FItemID,FNumber,FName) VALUES "
     "(11,'bad','坏')\r\n\r\n"},
    {"a level beyond its column's type fails the record",
     {element("Name", "采购部") + element("Number", "02") + element("Level", "99999999999999999999") +
          element("IsDetail", "1") + element("UUID", "U-02"),
      keys("03", "人事部")},
     {}, nullptr, {}, false, "10,01,销售部,0,True,1;11,03,人事部,0,True,1", "10,01,销售部,old;11,03,人事部,NULL", 0,
     "错误描述:Arithmetic overflow error converting expression to data type smallint.\r\n执行错误的SQL语句:UPDATE t_Item "
     "SET FNumber = '02'"},
    {"a number longer than its column fails the record", {keys(std::string(81, '7'), "采购部"), keys("03", "人事部")}, {},
     nullptr, {}, false, "10,01,销售部,0,True,1;11,03,人事部,0,True,1", "10,01,销售部,old;11,03,人事部,NULL", 0,
     "错误号:-2147217833\r\n错误源:Microsoft OLE DB Provider for SQL Server\r\n错误描述:String or binary data would be "
     "truncated."},
};

class DepartmentImport : public DepartmentTest, public ::testing::WithParamInterface<ImportCase> {};

TEST_P(DepartmentImport, Branches) {
  const ImportCase& c = GetParam();
  std::string target = newAccountSet();
  addDepartment(target, 10, "01", "销售部", 0, true, ", FNote", ", 'old'");
  {
    // SQLite's own text: the database refuses the detail row of the department numbered "bad".
    sql::Connection db;
    db.setConnString(accountset::ConnectString(target));
    db.database().execScript("CREATE TRIGGER refuse_bad BEFORE INSERT ON t_Department WHEN NEW.FNumber = 'bad' "
                             "BEGIN SELECT RAISE(ABORT, 'refused'); END");
  }
  if (c.rule)
    registry::WriteValue(std::string(modFunction::kConflictKey) + "\\部门", modFunction::kConflictRuleValue, c.rule);
  ScopedDialogHost dialogs;
  if (c.user) dialogs.host->scripts.push_back(c.user);
  if (c.options) c.options(departments);
  int clashes = 0;
  departments->Advise([&](std::string_view event, DispId id, Arguments args) {
    if (event != "DirtyRecord") return;
    EXPECT_EQ(id, 2);
    EXPECT_EQ(CLng(args[0]), 2);
    clashes += CLng(args[1]);
  });

  Imported result = importXml(props(target), document(c.records));
  EXPECT_EQ(result.ok, c.ok) << result.error;
  EXPECT_EQ(CLng(departments->Get("ErrorCount")), c.ok ? 0 : 1);
  EXPECT_TRUE(holds(result.error, c.errorText)) << result.error;
  EXPECT_EQ(rows(target, "SELECT FItemID, FNumber, FName, FParentID, FDetail, FLevel FROM t_Item WHERE FItemClassID = 2 "
                         "ORDER BY FItemID"),
            c.items);
  EXPECT_EQ(rows(target, "SELECT FItemID, FNumber, FName, FNote FROM t_Department ORDER BY FItemID"), c.details);
  EXPECT_EQ(clashes, c.clashes);
  EXPECT_EQ(dialogs.host->dialogsShown, c.user ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Records, DepartmentImport, ::testing::ValuesIn(kCases));

}  // namespace
}  // namespace quillane::testing
