// A bulk import killed outright (SIGKILL) at ten moments leaves every record whole or absent, and a rerun
// of the same file completes the copy: each record is its own transaction, and a commit reaches the file
// before the next record starts, whatever the disk sync waits for.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "exchange_db_fixture.h"
#include "platform/automation/automation.h"
#include "platform/sql/database.h"

namespace quillane::testing {
namespace {

constexpr int kDepartments = 2000;
constexpr std::int32_t lDepartment = 6;

class KilledImport : public ExchangeDbTest {
 protected:
  static bool bulk(const char* member, const std::string& path, const std::string& file, std::string& error) {
    ObjectRef facade = CreateObject("Quillane.clsExpImp");
    std::vector<Variant> args{props(path), lDepartment, file, std::int32_t{100}};
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
  ASSERT_TRUE(bulk("ExportPreIOToFile", source, file, error)) << error;

  int before = 0;
  for (int moment = 0; moment < 10; ++moment) {
    SCOPED_TRACE(moment);
    // The child imports the whole file again and tells of each record it has done; it is killed once
    // it has done a tenth more of them at each moment.
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
      std::vector<Variant> args{props(target), lDepartment, file, std::int32_t{100}, ""};
      facade->Call("ImportPreIOFromFile", args);
      _exit(2);  // it should have been killed before the end
    }
    close(pipeFds[1]);
    const int killAfter = 1 + moment * kDepartments / 10;
    char byte;
    for (int done = 0; done < killAfter && read(pipeFds[0], &byte, 1) == 1;) ++done;
    kill(child, SIGKILL);
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status)) << "the import ended before it was killed";
    EXPECT_EQ(halfWritten(target), "0");
    const int now = departments(target);
    EXPECT_GE(now, before) << "a killed import lost committed records";
    before = now;
  }
  ASSERT_TRUE(bulk("ImportPreIOFromFile", target, file, error)) << error;
  EXPECT_EQ(departments(target), kDepartments);
  EXPECT_EQ(halfWritten(target), "0");
  EXPECT_EQ(rows(target, "SELECT COUNT(*) FROM t_Item WHERE FItemClassID = 2 AND UUID LIKE 'KILL-%'"),
            std::to_string(kDepartments));
}

}  // namespace
}  // namespace quillane::testing
