// What an import tells of its records: each one imported, skipped for a reason it names, or failed
// with an error line of its own; and a storage that fails under it ends it with one message, the
// records committed before kept and counted.
#include <gtest/gtest.h>

#include <fstream>

#include "exchange/modFunction_import.h"
#include "facade_fixture.h"
#include "support/faulty_connection.h"

namespace quillane::testing {
namespace {

constexpr std::int32_t lDepartment = 6, lCurrency = 3;

bool holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

std::string currency(const std::string& number, const std::string& name) {
  return "<Currency>" + element("Name", name) + element("Number", number) + element("ExchangeRate", "1") +
         element("Operator", "*") + element("Scale", "2") + element("IsFixRate", "0") + element("UUID", "C-" + number) +
         "</Currency>";
}
std::string currencies(const std::vector<std::string>& records) {
  std::string xml = "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"Currency\">";
  for (const std::string& r : records) xml += r;
  return xml + "</Root>";
}

// The counts as one line: "imported/failed" then "reason=records" for each reason.
std::string shown(const modFunction::ImportCounts& counts) {
  std::string text = std::to_string(counts.imported) + "/" + std::to_string(counts.failed);
  for (const auto& [reason, records] : counts.skipped) text += " " + reason + "=" + std::to_string(records);
  if (!counts.stoppedBy.empty()) text += " stopped:" + counts.stoppedBy;
  return text;
}

class ImportOutcomes : public FacadeTest {
 protected:
  modFunction::ImportCounts counts() { return modFunction::ImportCounts::Of(facade); }
};

TEST_F(ImportOutcomes, EveryRecordIsImportedSkippedWithItsReasonOrFailed) {
  struct Case {
    const char* road;
    std::int32_t lIO;
    bool addNewOnly;
    bool haveInterFace;  // with no dialog host, a clash the user is asked about is skipped
    std::string document;
    const char* counts;
  };
  const std::string target = newAccountSet("target.db");
  addDepartment(target, 10, "01", "销售部");
  addDepartment(target, 11, "02", "财务部");
  exec(target, "INSERT INTO t_Currency (FNumber, FName, FScale, FExchangeRate, FOperator, UUID) VALUES ('USD', '美元', 2, 7, '*', 'C-USD')");
  const Case cases[] = {
      {"item engine", lDepartment, false, true,
       document({keys("01", "销售部"),       // the same record: updated
                 keys("01", "市场部"),       // another name for the number: no rule, no dialog, skipped
                 keys("02", "财务部", 0),    // a group where a detail stands: skipped
                 keys("03", "人事部"),       // new
                 element("Level", "1")}),  // neither number nor name: failed
       "2/1 代码已被另一名称的记录使用，冲突处理为跳过=1 代码已被明细标志不同的记录使用=1"},
      {"item engine, only new records", lDepartment, true, false, document({keys("01", "销售部"), keys("04", "行政部")}),
       "2/0"},
      {"standalone frame, only new records", lCurrency, true, false, currencies({currency("USD", "美元"), currency("EUR", "欧元")}),
       "1/0 记录已存在，只引入新记录=1"},
      {"standalone frame", lCurrency, false, false, currencies({currency("USD", "美元"), currency("JPY", "日元")}), "2/0"},
  };
  for (const Case& c : cases) {
    facade->Let("ErrorCount", std::int32_t{0});
    facade->Let("AddNewOnly", c.addNewOnly);
    facade->Let("HaveInterFace", c.haveInterFace);
    Imported imported = facadeImport(c.lIO, c.document, props(target));
    EXPECT_EQ(shown(counts()), c.counts) << c.road << "\n" << imported.error;
    EXPECT_EQ(counts().failed, errorCount()) << c.road;
  }
}

TEST_F(ImportOutcomes, AnErrorLineQuotesTheStatementOfItsOwnRecordOrNone) {
  // The second record's transaction cannot begin: its line must not quote what the first one ran.
  ScopedFaultyConnection busy([](FaultyConnection&, int begins) {
    if (begins == 2) throw sql::ProviderError(sql::OleDbError::ErrorsInCommand, "cannot begin");
  });
  const std::string target = newAccountSet("target.db");
  Imported imported = facadeImport(lDepartment, document({keys("01", "甲"), keys("02", "乙"), keys("03", "丙")}), props(target));
  EXPECT_FALSE(imported.ok);
  EXPECT_EQ(errorCount(), 1);
  EXPECT_TRUE(holds(imported.error, "(Number:02,Name:乙,UUID:U-02)失败!")) << imported.error;
  EXPECT_FALSE(holds(imported.error, "执行错误的SQL语句")) << imported.error;
  EXPECT_EQ(shown(counts()), "2/1");
}

TEST_F(ImportOutcomes, ARecordPastTheBoundFailsAloneAndALongValueIsCutInItsLine) {
  // The second of three records carries a name: past the bulk files' bound of a record, it is refused
  // before the page is read; below it, the column refuses it and its line quotes a part of it.
  struct Case {
    const char* what;
    std::size_t nameBytes;
    std::string line;  // the refusal's whole text, when it is one
    const char* quoted;
  };
  const Case cases[] = {
      {"past the bound", std::size_t{2} << 20, "记录的文本超过了上限，未导入:#2 (Number:02), > 1048576 bytes\r\n", ""},
      {"below it", 300000, "", "…(300000 bytes)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string target = newAccountSet(std::string(c.what) + ".db");
    facade->Let("ErrorCount", std::int32_t{0});
    Imported imported = facadeImport(
        lDepartment, document({keys("01", "甲"), keys("02", std::string(c.nameBytes, 'B')), keys("03", "丙")}),
        props(target));
    EXPECT_FALSE(imported.ok);
    if (!c.line.empty()) {
      EXPECT_EQ(imported.error, c.line);
    } else {
      // The record's identification and its statement each quote the name once, cut.
      EXPECT_LT(imported.error.size(), 2000u) << imported.error.substr(0, 400);
      EXPECT_EQ(occurrences(imported.error, c.quoted), 2u) << imported.error.substr(0, 400);
    }
    EXPECT_EQ(shown(counts()), "2/1");
    EXPECT_EQ(errorCount(), 1);
    EXPECT_EQ(rows(target, "SELECT group_concat(FNumber) FROM t_Item WHERE FItemClassID = 2 AND FItemID > 0"), "01,03");
  }
}

TEST_F(ImportOutcomes, AStorageFaultEndsTheImportWithOneMessageAndKeepsWhatWasCommitted) {
  struct Case {
    const char* fault;
    FaultyConnection::Fault plant;
    std::int32_t lIO;
    const char* cause;
  };
  const Case cases[] = {
      {"disk full, item engine", FaultyConnection::DiskFull(), lDepartment, "磁盘已满"},
      {"read-only, item engine", FaultyConnection::ReadOnlyFile(), lDepartment, "账套只读"},
      {"disk full, standalone frame", FaultyConnection::DiskFull(), lCurrency, "磁盘已满"},
      {"read-only, standalone frame", FaultyConnection::ReadOnlyFile(), lCurrency, "账套只读"},
  };
  constexpr int kRecords = 2000;
  std::vector<std::string> departments, currencyRecords;
  for (int i = 0; i < kRecords; ++i) {
    departments.push_back(keys("D" + std::to_string(10000 + i), "部门" + std::string(40, 'x') + std::to_string(i)));
    currencyRecords.push_back(currency("C" + std::to_string(10000 + i), "币别" + std::string(40, 'x') + std::to_string(i)));
  }
  for (const Case& c : cases) {
    const std::string target = newAccountSet(std::string("target-") + std::to_string(&c - cases) + ".db");
    ScopedFaultyConnection fault(c.plant);
    facade->Let("ErrorCount", std::int32_t{0});
    const bool departmentRoad = c.lIO == lDepartment;
    Imported imported =
        facadeImport(c.lIO, departmentRoad ? document(departments) : currencies(currencyRecords), props(target));
    EXPECT_FALSE(imported.ok) << c.fault;
    EXPECT_EQ(occurrences(imported.error, "错误号:"), 1u) << c.fault << "\n" << imported.error.substr(0, 2000);
    EXPECT_TRUE(holds(imported.error, c.cause)) << c.fault << "\n" << imported.error.substr(0, 2000);
    modFunction::ImportCounts told = counts();
    EXPECT_EQ(told.stoppedBy, c.cause) << c.fault;
    EXPECT_EQ(told.failed, 0) << c.fault;
    EXPECT_LT(told.imported, kRecords) << c.fault;
    const std::string stored = departmentRoad ? rows(target, "SELECT COUNT(*) FROM t_Item WHERE FItemClassID = 2")
                                              : rows(target, "SELECT COUNT(*) FROM t_Currency WHERE FNumber LIKE 'C%'");
    EXPECT_EQ(stored, std::to_string(told.imported)) << c.fault;
  }
}

TEST_F(ImportOutcomes, AStorageFaultEndsABulkFileAtOnce) {
  const std::int32_t types[] = {lDepartment, lCurrency};
  for (std::int32_t lIO : types) {
    const std::string target = newAccountSet("bulk-" + std::to_string(lIO) + ".db");
    const std::string file = dir_.file("bulk-" + std::to_string(lIO) + ".xml");
    std::vector<std::string> records;
    for (int i = 0; i < 3000; ++i) {
      const std::string number = "N" + std::to_string(10000 + i), name = "名称" + std::string(60, 'x') + std::to_string(i);
      records.push_back(lIO == lDepartment ? "<Department>" + keys(number, name) + "</Department>" : currency(number, name));
    }
    std::string text = lIO == lDepartment ? document({}) : currencies({});
    std::string body;
    for (const std::string& r : records) body += r;
    text.insert(text.size() - std::string("</Root>").size(), body);
    std::ofstream(file, std::ios::binary) << text;

    ScopedFaultyConnection fault(FaultyConnection::ReadOnlyFile());
    std::vector<Variant> args{props(target, "UserID=16;AcctType=GY;Setuptype="), lIO, file, std::int32_t{100}, ""};
    EXPECT_FALSE(CBool(facade->Call("ImportPreIOFromFile", args))) << lIO;
    const std::string error = CStr(args[4]);
    EXPECT_EQ(occurrences(error, "错误号:"), 1u) << lIO << "\n" << error.substr(0, 3000);
    EXPECT_EQ(counts().stoppedBy, "账套只读") << lIO;
    EXPECT_EQ(counts().failed, 0) << lIO;
  }
}

// Another program that holds the account set locked past the busy wait holds it for every later record
// as well: the import ends at the first record that waits, with one message, on every road.
TEST_F(ImportOutcomes, ALockThatOutlastsTheWaitEndsTheImportOnceOnEveryRoad) {
  constexpr const char* kLocked = "账套被另一程序锁定";
  auto departmentsOf = [](int count) {
    std::vector<std::string> records;
    for (int i = 0; i < count; ++i) records.push_back(keys("D" + std::to_string(10000 + i), "部门" + std::to_string(i)));
    return document(records);
  };
  auto currenciesOf = [](int count) {
    std::vector<std::string> records;
    for (int i = 0; i < count; ++i)
      records.push_back(currency("C" + std::to_string(10000 + i), "币别" + std::string(60, 'x') + std::to_string(i)));
    return currencies(records);
  };
  std::string deletionKeys = "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"Delete\">";
  for (int i = 0; i < 50; ++i) deletionKeys += "<Delete><Mark>t_Item</Mark><UUID>U-" + std::to_string(i) + "</UUID></Delete>";
  deletionKeys += "</Root>";
  struct Road {
    const char* name;
    std::int32_t lIO;
    std::string text;
    const char* member;  // the facade's member that takes the text; a bulk one takes it as a file
  };
  const Road roads[] = {
      {"page, item engine", lDepartment, departmentsOf(50), "Import"},
      {"page, standalone frame", lCurrency, currenciesOf(50), "Import"},
      {"small bulk file", lCurrency, currenciesOf(50), "ImportPreIOFromFile"},
      {"bulk file on the stream road", lCurrency, currenciesOf(3000), "ImportPreIOFromFile"},
      {"bulk file through the class exchange", lDepartment, departmentsOf(50), "ImportPreIOFromFile"},
      {"deletion keys", lDepartment, deletionKeys, "ImportXMLDataKey"},
  };
  for (const Road& road : roads) {
    SCOPED_TRACE(road.name);
    const std::string target = newAccountSet("locked-" + std::to_string(&road - roads) + ".db");
    const bool bulk = std::string(road.member) == "ImportPreIOFromFile";
    const std::string file = dir_.file("locked-" + std::to_string(&road - roads) + ".xml");
    if (bulk) std::ofstream(file, std::ios::binary) << road.text;
    if (std::string(road.name) == "bulk file on the stream road") {
      ASSERT_GE(road.text.size(), 512000u);
    }

    sql::Database holder(target, sql::Database::Mode::OpenExisting);
    holder.execScript("BEGIN IMMEDIATE");
    int begins = 0;
    ScopedFaultyConnection shortWait(FaultyConnection::ShortBusyWait(20, begins));
    facade->Let("ErrorCount", std::int32_t{0});
    std::vector<Variant> args{props(target, "UserID=16;AcctType=GY;Setuptype="), road.lIO,
                              bulk ? file : road.text};
    if (bulk) args.push_back(std::int32_t{100});
    args.push_back("");
    const bool ok = CBool(facade->Call(road.member, args));
    holder.execScript("ROLLBACK");

    const std::string error = CStr(args.back());
    EXPECT_FALSE(ok);
    EXPECT_EQ(begins, 1);
    EXPECT_EQ(occurrences(error, "错误号:"), 1u) << error.substr(0, 2000);
    EXPECT_TRUE(holds(error, kLocked)) << error.substr(0, 2000);
    EXPECT_EQ(errorCount(), 0);
    if (std::string(road.member) != "ImportXMLDataKey") {
      EXPECT_EQ(counts().stoppedBy, kLocked);
    }
  }
}

}  // namespace
}  // namespace quillane::testing
