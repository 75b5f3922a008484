// Fuzz target: quoted literals through the SQL Server compatibility layer, by the public path (the
// connection component's Execute), as the library's importers send them.
//
// The input gives two texts. Each travels inside quoted literals (quotes doubled, with and without the
// N prefix) through an INSERT, an UPDATE of two columns, a batch of two statements cut at a line break
// and a ";" (one of them joining the texts with IsNull and "+"), and the WHERE of a DELETE. After every
// statement the value read back is exactly the text written, and the rows the statement did not name
// are as they were. The connection and its database live for the whole run, so statements of one shape
// meet each other again with other literals.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "fuzz_check.h"
#include "platform/automation/automation.h"
#include "platform/automation/vbtext.h"
#include "platform/sql/connection.h"
#include "platform/sql/database.h"
#include "support/environment.h"

namespace quillane::fuzz {
namespace {

// Rows 1 and 3 are never named by a statement; row 2 is updated and row 4 inserted and deleted by every
// input.
struct Row {
  std::string name, note;
  bool operator==(const Row&) const = default;
};
using Rows = std::map<std::int32_t, Row>;

class Workbench {
 public:
  Workbench() {
    std::string path = folder_.file("literals.db");
    sql::Database(path, sql::Database::Mode::CreateNew);
    connection_.setConnString(sql::ConnectStringOf(path));
    // A run commits thousands of times; waiting for the disk on each would leave few runs a minute.
    connection_.database().execScript("PRAGMA synchronous = OFF");
    connection_.Execute("CREATE TABLE t_FuzzText (FID int NOT NULL PRIMARY KEY, FName nvarchar(max) NULL, FNote ntext NULL)");
    connection_.Execute("INSERT INTO t_FuzzText (FID, FName, FNote) VALUES (1, 'one', 'first'), (2, 'two', 'second'), "
                        "(3, 'three', 'third')");
  }

  void Run(const std::string& a, const std::string& b) {
    Rows expected = Read();
    Require(expected.size() == 3 && !expected.count(4), "the table does not start with rows 1 to 3");

    Execute("INSERT INTO t_FuzzText (FID, FName, FNote) VALUES (4, N" + Quoted(a) + ", " + Quoted(b) + ")", a, b);
    expected[4] = {a, b};
    Expect(expected, a, b, "INSERT");

    Execute("UPDATE t_FuzzText SET FNote = " + Quoted(a) + ", FName = N" + Quoted(b) + " WHERE FID = 2", a, b);
    expected[2] = {b, a};
    Expect(expected, a, b, "UPDATE");

    Execute("UPDATE t_FuzzText SET FName = IsNull(NULL, " + Quoted(a) + ") + " + Quoted(b) +
                " WHERE FID = 4;\r\nUPDATE t_FuzzText SET FNote = N" + Quoted(b) + " WHERE FID = 2",
            a, b);
    expected[4].name = a + b;
    expected[2].note = b;
    Expect(expected, a, b, "batch of two UPDATEs");

    Execute("DELETE FROM t_FuzzText WHERE FNote = " + Quoted(b) + " AND FID = 4", a, b);
    expected.erase(4);
    Expect(expected, a, b, "DELETE");
  }

 private:
  static std::string Quoted(const std::string& text) { return "'" + Replace(text, "'", "''") + "'"; }

  void Execute(const std::string& sql, const std::string& a, const std::string& b) {
    try {
      connection_.Execute(sql);
    } catch (const AutomationError& e) {
      Fail("literals " + Shown(a) + " and " + Shown(b) + ": " + Shown(sql) + " raised " + std::to_string(e.number) +
           " " + Shown(e.description));
    }
  }

  Rows Read() {
    std::shared_ptr<sql::Recordset> rs = connection_.GetAnyRecordSet("SELECT FID, FName, FNote FROM t_FuzzText ORDER BY FID");
    Rows rows;
    for (; !rs->Eof(); rs->MoveNext()) {
      const Variant &name = rs->Value("FName"), &note = rs->Value("FNote");
      Require(name.isString() && note.isString(), "row " + CStr(rs->Value("FID")) + " came back without its texts");
      rows[CLng(rs->Value("FID"))] = {name.as<std::string>(), note.as<std::string>()};
    }
    return rows;
  }

  void Expect(const Rows& expected, const std::string& a, const std::string& b, const std::string& step) {
    Rows found = Read();
    if (found == expected) return;
    std::string detail;
    for (const auto& [id, row] : found) detail += " [" + std::to_string(id) + ": " + Shown(row.name) + " | " + Shown(row.note) + "]";
    Fail("after the " + step + " with literals " + Shown(a) + " and " + Shown(b) + " the table holds" + detail);
  }

  testing::TempDir folder_;
  sql::Connection connection_;  // closed before its folder goes
};

}  // namespace
}  // namespace quillane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static quillane::fuzz::Workbench bench;
  FuzzedDataProvider input(data, size);
  std::string a = input.ConsumeRandomLengthString();
  std::string b = input.ConsumeRemainingBytesAsString();
  bench.Run(a, b);
  return 0;
}
