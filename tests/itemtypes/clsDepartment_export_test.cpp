// Export: pages in row-version order, the stamps that move the caller on, and the keys of a record.
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <iostream>

#include "accountset/schema.h"
#include "platform/automation/module.h"
#include "department_fixture.h"

namespace quillane::testing {
namespace {

constexpr const char* kFromBeginning = "0x0000000000000000";
constexpr const char* kNothingLeft = "0xFFFFFFFFFFFFFFFF";

bool holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class DepartmentExport : public DepartmentTest {
 protected:
  void SetUp() override {
    DepartmentTest::SetUp();
    source = newAccountSet("source.db");
    // In stamp order: a group, a detail under it, a row another import wrote (FSystemType 2), a
    // top-level detail, and a deleted detail stamped last.
    addDepartment(source, 10, "01", "总部", 0, false);
    addDepartment(source, 11, "01.01", "销售部", 10);
    addDepartment(source, 13, "02", "研发部");
    exec(source, "UPDATE t_Item SET FSystemType = 2 WHERE FItemID = 13");
    addDepartment(source, 14, "03", "行政部");
    addDepartment(source, 12, "01.02", "采购部", 10);
    exec(source, "UPDATE t_Item SET FDeleted = 1 WHERE FItemID = 12");
  }
  std::string stampOf(int id) { return rows(source, "SELECT FModifyTime FROM t_Item WHERE FItemID = " + std::to_string(id)); }
  static std::vector<std::string> numbers(const std::string& xml) {
    std::vector<std::string> found;
    for (std::size_t at = xml.find("<Department>"); at != std::string::npos; at = xml.find("<Department>", at + 1)) {
      std::size_t open = xml.find("<Number>", at) + 8;
      found.push_back(xml.substr(open, xml.find("</Number>", open) - open));
    }
    return found;
  }

  std::string source;
};

TEST_F(DepartmentExport, PagesWalkTheClassInStampOrder) {
  const std::string from = props(source);
  Page first = exportPage(from, 2);
  ASSERT_TRUE(first.ok) << first.error;
  EXPECT_EQ(numbers(first.xml), (std::vector<std::string>{"01", "01.01"}));
  EXPECT_EQ(first.stamp, stampOf(11));
  // The highest stamp counts the deleted row, which the pages carry too.
  EXPECT_EQ(first.maxStamp, stampOf(12));
  EXPECT_TRUE(holds(first.xml, "<Parent><Number>01</Number><Name>总部</Name><UUID>U-01</UUID></Parent>")) << first.xml;
  EXPECT_TRUE(holds(first.xml, "<Number>01</Number><Level>1</Level><IsDetail>0</IsDetail>")) << first.xml;

  Page second = exportPage(from, 2, first.stamp);
  ASSERT_TRUE(second.ok) << second.error;
  EXPECT_EQ(numbers(second.xml), (std::vector<std::string>{"03", "01.02"}));
  EXPECT_TRUE(holds(second.xml, "<IsDelete>1</IsDelete>")) << second.xml;
  EXPECT_EQ(second.stamp, stampOf(12));

  Page end = exportPage(from, 2, second.stamp);
  ASSERT_TRUE(end.ok) << end.error;
  EXPECT_EQ(end.stamp, kNothingLeft);
  EXPECT_TRUE(numbers(end.xml).empty());

  Page all = exportPage(from, 0);
  ASSERT_TRUE(all.ok) << all.error;
  EXPECT_EQ(numbers(all.xml), (std::vector<std::string>{"01", "01.01", "03", "01.02"}));
  EXPECT_EQ(all.stamp, stampOf(12));

  departments->Let("Filter", "FNumber LIKE '01%'");
  Page filtered = exportPage(from, 0);
  ASSERT_TRUE(filtered.ok) << filtered.error;
  EXPECT_EQ(numbers(filtered.xml), (std::vector<std::string>{"01", "01.01", "01.02"}));
  EXPECT_EQ(filtered.maxStamp, stampOf(12));  // the highest stamp ignores the filter
}

TEST_F(DepartmentExport, AnEmptyClassAndABadStamp) {
  Page empty = exportPage(props(newAccountSet("empty.db")));
  ASSERT_TRUE(empty.ok) << empty.error;
  EXPECT_EQ(empty.stamp, kNothingLeft);
  EXPECT_EQ(empty.maxStamp, kFromBeginning);
  EXPECT_TRUE(numbers(empty.xml).empty());

  // A stamp is pasted into the page query: anything but "0x" and 16 hexadecimal digits is refused.
  for (const char* bad : {"0x0) OR (1=1", "0x18"}) {
    Page refused = exportPage(props(source), 100, bad);
    EXPECT_FALSE(refused.ok) << bad;
    EXPECT_TRUE(holds(refused.error, std::string("时间戳应为0x后接16位十六进制数字（如0x000000000000A1F3），而不是:") + bad))
        << refused.error;
    EXPECT_TRUE(holds(refused.error, "Tarnwick.clsItem")) << refused.error;
  }
}

TEST_F(DepartmentExport, ACancelledPageResumesAfterItsLastPackedRow) {
  std::vector<std::string> progress;
  departments->Advise([&](std::string_view event, DispId id, Arguments args) {
    if (event != "Progress") return;
    EXPECT_EQ(id, 1);
    progress.push_back(CStr(args[0]) + "/" + CStr(args[1]));
    if (CLng(args[0]) == 2) args[2] = Variant(true);
  });
  departments->Let("bProgress", true);
  Page cancelled = exportPage(props(source), 0);
  ASSERT_TRUE(cancelled.ok) << cancelled.error;
  EXPECT_EQ(progress, (std::vector<std::string>{"1/4", "2/4"}));
  EXPECT_EQ(numbers(cancelled.xml), (std::vector<std::string>{"01", "01.01"}));
  EXPECT_EQ(cancelled.stamp, stampOf(11));

  departments->Let("bProgress", false);
  Page rest = exportPage(props(source), 0, cancelled.stamp);
  ASSERT_TRUE(rest.ok) << rest.error;
  EXPECT_EQ(numbers(rest.xml), (std::vector<std::string>{"03", "01.02"}));
}

TEST_F(DepartmentExport, TheTypesKeysStandBetweenTheItemKeysAndTheBarCodes) {
  std::string path = newAccountSet("own.db");
  addDepartment(path, 20, "10", "财务部", 0, true, ", FNote, FPhone, FFax, FCalID", ", '', '555', NULL, 7");
  addDepartment(path, 21, "11", "后勤部");
  exec(path, "DELETE FROM t_Department WHERE FItemID = 21");  // an item without its detail row
  exec(path, "INSERT INTO t_BarCode (FTypeID, FItemID, FBarCode, FRemark) VALUES (2, 20, 'B-1', 'r')");

  Page page = exportPage(props(path));
  ASSERT_TRUE(page.ok) << page.error;
  EXPECT_TRUE(holds(page.xml,
                    "<Department><Name>财务部</Name><Number>10</Number><Level>1</Level><IsDetail>1</IsDetail>"
                    "<UUID>U-10</UUID><IsDelete>0</IsDelete><Note/><Phone>555</Phone><CalID>7</CalID>"
                    "<BarCodes><BarCode>B-1</BarCode><Remark>r</Remark></BarCodes></Department>"))
      << page.xml;
  EXPECT_TRUE(holds(page.xml, "<UUID>U-11</UUID><IsDelete>0</IsDelete></Department>")) << page.xml;

  // At service pack 2.0.0.5 and below the calendar does not travel.
  exec(path, "UPDATE t_SystemProfile SET FValue = '2.0.0.5' WHERE FKey = 'ServicePack'");
  Page older = exportPage(props(path));
  ASSERT_TRUE(older.ok) << older.error;
  EXPECT_FALSE(holds(older.xml, "CalID")) << older.xml;
}

// The status of fn run in a child process that may not write what root could: as root, the child gives
// up root for the unprivileged "nobody" before it runs fn.
int inUnprivilegedChild(const std::function<int()>& fn) {
  pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(98);
    _exit(fn());
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The connection of one call may serve the next, but each call reads the account set as another
// program left it when the call starts.
TEST_F(DepartmentExport, EachCallReadsWhatAnotherProgramWroteBeforeItStarted) {
  const std::string from = props(source);
  ASSERT_EQ(numbers(exportPage(from, 0).xml), (std::vector<std::string>{"01", "01.01", "03", "01.02"}));
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(source.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "UPDATE t_Item SET FNumber = '04', FName = '后勤部' WHERE FItemID = 14", nullptr, nullptr, nullptr),
            SQLITE_OK)
      << sqlite3_errmsg(other);
  Page after = exportPage(from, 0);
  sqlite3_close(other);
  ASSERT_TRUE(after.ok) << after.error;
  EXPECT_EQ(numbers(after.xml), (std::vector<std::string>{"01", "01.01", "01.02", "04"}));
  EXPECT_TRUE(holds(after.xml, "<Name>后勤部</Name>")) << after.xml;
}

// An export reads: a file made by another program keeps every byte and its journal mode, and an
// account set on storage that may not be written is exported all the same.
TEST_F(DepartmentExport, AnExportLeavesTheFileAsItFoundIt) {
  std::string foreign = dir_.file("foreign.db");
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(foreign.c_str(), &db), SQLITE_OK);
  std::string script = std::string(accountset::SchemaSql()) +
                       "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, UUID, FModifyTime) VALUES "
                       "(20, 2, '10', '财务部', 'U-10', X'0000000000000001');"
                       "INSERT INTO t_Department (FItemID, FNumber, FName) VALUES (20, '10', '财务部');";
  ASSERT_EQ(sqlite3_exec(db, script.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
  const std::string before = ReadFile(foreign);
  Page page = exportPage(props(foreign));
  ASSERT_TRUE(page.ok) << page.error;
  EXPECT_EQ(numbers(page.xml), (std::vector<std::string>{"10"}));
  EXPECT_TRUE(ReadFile(foreign) == before) << "the export changed the file";
  EXPECT_FALSE(std::filesystem::exists(foreign + "-wal"));

  namespace fs = std::filesystem;
  // The unprivileged child may not enter the folder the checkout lies in: it reads the schema from a
  // copy of the test's own, which the library finds as the relative schema folder of an empty registry.
  const fs::path childFolder = dir_.path() / "child";
  fs::create_directories(childFolder / "SCHEMA");
  fs::copy(fs::path(DataFolder()) / "Schema", childFolder / "SCHEMA", fs::copy_options::recursive);
  fs::permissions(source, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::permissions(dir_.path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                   fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  int status = inUnprivilegedChild([&] {
    if (::chdir(childFolder.c_str()) != 0) return 97;
    Page readOnly = exportPage(props(source), 0);
    if (numbers(readOnly.xml) == std::vector<std::string>{"01", "01.01", "03", "01.02"}) return 0;
    std::cerr << readOnly.error << "\n";
    return 1;
  });
  fs::permissions(dir_.path(), fs::perms::owner_all);
  fs::permissions(source, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(status, 0) << "the export of a write-protected account set failed";
}

}  // namespace
}  // namespace quillane::testing
