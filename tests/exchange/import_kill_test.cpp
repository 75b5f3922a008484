// A bulk import killed outright (SIGKILL) at ten moments leaves every record whole or absent, and a rerun
// of the same file completes the copy: each record is its own transaction, and a commit reaches the file
// before the next record starts, whatever the disk sync waits for. A killed material import leaves the
// account set's schema as it was: the trigger it switches off for a record is off in no committed state.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "accountset/accountset.h"
#include "exchange_db_fixture.h"
#include "platform/automation/automation.h"
#include "platform/sql/database.h"

namespace quillane::testing {
namespace {

constexpr int kDepartments = 2000;
constexpr std::int32_t lDepartment = 6;
constexpr std::int32_t lMaterial = 8;

class KilledImport : public ExchangeDbTest {
 protected:
  static bool bulk(const char* member, std::int32_t lIO, const std::string& path, const std::string& file,
                   std::string& error) {
    ObjectRef facade = CreateObject("Quillane.clsExpImp");
    std::vector<Variant> args{props(path), lIO, file, std::int32_t{100}};
    if (std::string(member) == "ExportPreIOToFile") args.insert(args.end(), {"", "", ""});
    else args.push_back("");
    const bool ok = CBool(facade->Call(member, args));
    error = CStr(args.back());
    return ok;
  }
  // What a half-written record would leave: an item row without its detail row or its bar code, or a
  // detail row without its item.
  static std::string halfWritten(const std::string& path) {
    return rows(path,
                "SELECT (SELECT COUNT(*) FROM t_Item i WHERE FItemClassID = 2 AND (NOT EXISTS (SELECT 1 FROM "
                "t_Department d WHERE d.FItemID = i.FItemID) OR (SELECT COUNT(*) FROM t_BarCode b WHERE b.FTypeID = 2 "
                "AND b.FItemID = i.FItemID) <> 1)) + (SELECT COUNT(*) FROM t_Department d WHERE NOT EXISTS "
                "(SELECT 1 FROM t_Item i WHERE i.FItemID = d.FItemID))");
  }
  static int departments(const std::string& path) {
    return std::stoi(rows(path, "SELECT COUNT(*) FROM t_Item WHERE FItemClassID = 2"));
  }
  // A child process imports the file into the target and tells of each record it has done; it is
  // killed once it has done that many.
  static void killAfter(std::int32_t lIO, const std::string& target, const std::string& file, int records) {
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(pipeFds[0]);
      ObjectRef facade = CreateObject("Quillane.clsExpImp");
      facade->Advise([&](std::string_view event, DispId, Arguments) {
        if (event == "Progress" && write(pipeFds[1], "r", 1) != 1) _exit(3);
      });
      std::vector<Variant> args{props(target), lIO, file, std::int32_t{100}, ""};
      facade->Call("ImportPreIOFromFile", args);
      _exit(2);  // it should have been killed before the end
    }
    close(pipeFds[1]);
    char byte;
    for (int done = 0; done < records && read(pipeFds[0], &byte, 1) == 1;) ++done;
    kill(child, SIGKILL);
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status)) << "the import ended before it was killed";
  }
};

TEST_F(KilledImport, LeavesNoHalfRecordAndARerunCompletesIt) {
  const std::string source = newAccountSet("source.db"), target = newAccountSet("target.db");
  {
    // Written as plain SQLite: the library's text has no recursive queries.
    sql::Database db(source, sql::Database::Mode::OpenExisting);
    db.execScript("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                  std::to_string(kDepartments) +
                  ") INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, FFullNumber, FShortNumber, UUID) "
                  "SELECT 1000 + i, 2, printf('D%05d', i), '部门' || i, printf('D%05d', i), printf('D%05d', i), "
                  "printf('KILL-%05d', i) FROM n;"
                  "INSERT INTO t_Department (FItemID, FNumber, FName, FShortNumber, FPhone) SELECT FItemID, FNumber, "
                  "FName, FShortNumber, '021-' || FItemID FROM t_Item WHERE FItemClassID = 2;"
                  "INSERT INTO t_BarCode (FTypeID, FItemID, FBarCode, FRemark) SELECT 2, FItemID, 'B' || FItemID, "
                  "'条码' FROM t_Item WHERE FItemClassID = 2");
  }
  const std::string file = dir_.file("departments.xml");
  std::string error;
  ASSERT_TRUE(bulk("ExportPreIOToFile", lDepartment, source, file, error)) << error;

  int before = 0;
  for (int moment = 0; moment < 10; ++moment) {
    SCOPED_TRACE(moment);
    killAfter(lDepartment, target, file, 1 + moment * kDepartments / 10);
    EXPECT_EQ(halfWritten(target), "0");
    const int now = departments(target);
    EXPECT_GE(now, before) << "a killed import lost committed records";
    before = now;
  }
  ASSERT_TRUE(bulk("ImportPreIOFromFile", lDepartment, target, file, error)) << error;
  EXPECT_EQ(departments(target), kDepartments);
  EXPECT_EQ(halfWritten(target), "0");
  EXPECT_EQ(rows(target, "SELECT COUNT(*) FROM t_Item WHERE FItemClassID = 2 AND UUID LIKE 'KILL-%'"),
            std::to_string(kDepartments));
}

TEST_F(KilledImport, LeavesTheTriggerOfAuxiliaryPropertiesInPlace) {
  // The materials import into a copy of their own set, so that each replaces its item's properties.
  const std::string source = dir_.file("materials.db");
  accountset::CreateSample(source, 2000);
  const std::string file = dir_.file("materials.xml");
  std::string error;
  ASSERT_TRUE(bulk("ExportPreIOToFile", lMaterial, source, file, error)) << error;
  ASSERT_GE(std::stoi(rows(source, "SELECT COUNT(*) FROM t_ICItem i WHERE EXISTS (SELECT 1 FROM COM_ItemAuxProp p "
                                   "WHERE p.FItemID = i.FItemID)")),
            1000);
  for (int moment = 1; moment <= 3; ++moment) {
    SCOPED_TRACE(moment);
    killAfter(lMaterial, source, file, moment * 300);
    EXPECT_EQ(rows(source, "SELECT COUNT(*) FROM sqlite_master WHERE type = 'trigger' AND name = 'COM_ItemAuxProp_Delete'"), "1");
    EXPECT_EQ(rows(source, "SELECT (SELECT COUNT(*) FROM quillane_disabled_trigger) + (SELECT COUNT(*) FROM "
                           "quillane_paused_trigger)"),
              "0")
        << "the trigger is off in no committed state";
    EXPECT_EQ(rows(source, "PRAGMA integrity_check"), "ok");
  }
  sql::Database db(source, sql::Database::Mode::OpenExisting);
  EXPECT_THROW(db.execScript("DELETE FROM COM_ItemAuxProp"), AutomationError) << "the trigger refuses again";
}

}  // namespace
}  // namespace quillane::testing
