// The frame every standalone type shares, shown on settlement methods: pages and their stamps, the
// handlers of Export and Import, and the per-record transactions of an import.
#include <gtest/gtest.h>

#include "platform/automation/factory.h"
#include "standalone_fixture.h"

namespace quillane::testing {
namespace {

constexpr const char* kFromBeginning = "0x0000000000000000";
constexpr const char* kNothingLeft = "0xFFFFFFFFFFFFFFFF";

class Frame : public StandaloneTest {
 protected:
  void SetUp() override {
    StandaloneTest::SetUp();
    source = newAccountSet("source.db");
    // In stamp order: three live methods, one another import wrote (FSystemType 2), one deleted.
    for (const char* values : {"(10, '01', '现金', 'S1')", "(11, '02', '支票', 'S2')", "(14, '05', '汇票', 'S5')",
                               "(12, '03', '外来', 'S3')", "(13, '04', '作废', 'S4')"})
      exec(source, std::string("INSERT INTO t_Settle (FItemID, FNumber, FName, UUID) VALUES ") + values);
    exec(source, "UPDATE t_Settle SET FSystemType = 2 WHERE FItemID = 12");
    exec(source, "UPDATE t_Settle SET FDeleted = 1 WHERE FItemID = 13");
  }
  std::string stampOf(int id) {
    return rows(source, "SELECT FModifyTime FROM t_Settle WHERE FItemID = " + std::to_string(id));
  }
  static std::vector<std::string> numbers(const std::string& xml) { return valuesOf(xml, "Settle", "Number"); }

  std::string source;
  ObjectRef settle = CreateObject("Quillane.clsSettle");
};

TEST_F(Frame, PagesWalkTheTableInStampOrder) {
  const std::string from = props(source);
  ExportedPage first = ExportPage(settle, from, 2);
  ASSERT_TRUE(first.ok) << first.error;
  EXPECT_EQ(numbers(first.xml), (std::vector<std::string>{"01", "02"}));
  EXPECT_EQ(first.stamp, stampOf(11));
  // Rows of another system type count for the highest stamp; deleted ones do not.
  EXPECT_EQ(first.maxStamp, stampOf(12));

  ExportedPage second = ExportPage(settle, from, 2, first.stamp);
  ASSERT_TRUE(second.ok) << second.error;
  EXPECT_EQ(numbers(second.xml), (std::vector<std::string>{"05"}));
  EXPECT_EQ(second.stamp, stampOf(14));

  ExportedPage end = ExportPage(settle, from, 2, second.stamp);
  ASSERT_TRUE(end.ok) << end.error;
  EXPECT_EQ(end.stamp, kNothingLeft);
  EXPECT_TRUE(numbers(end.xml).empty());

  ExportedPage all = ExportPage(settle, from, 0);
  ASSERT_TRUE(all.ok) << all.error;
  EXPECT_EQ(numbers(all.xml), (std::vector<std::string>{"01", "02", "05"}));
  EXPECT_EQ(all.stamp, stampOf(14));

  settle->Let("Filter", "FNumber LIKE '0%' AND FName <> '支票'");
  ExportedPage filtered = ExportPage(settle, from, 0);
  ASSERT_TRUE(filtered.ok) << filtered.error;
  EXPECT_EQ(numbers(filtered.xml), (std::vector<std::string>{"01", "05"}));
  EXPECT_EQ(filtered.maxStamp, stampOf(12));
}

TEST_F(Frame, AnEmptyTableABadStampAndARefusedPropsString) {
  ExportedPage empty = ExportPage(settle, props(newAccountSet("empty.db")));
  ASSERT_TRUE(empty.ok) << empty.error;
  EXPECT_EQ(empty.stamp, kNothingLeft);
  EXPECT_EQ(empty.maxStamp, kFromBeginning);
  EXPECT_TRUE(numbers(empty.xml).empty());

  // The stamp stands in the page query: anything but a time-stamp text is refused before it gets there.
  ExportedPage injected = ExportPage(settle, props(source), 100, "0x0) OR (1=1");
  EXPECT_FALSE(injected.ok);
  EXPECT_TRUE(holds(injected.error, "0x0) OR (1=1")) << injected.error;
  EXPECT_TRUE(holds(injected.error, "错误源:Quillane.clsSettle")) << injected.error;

  std::vector<Variant> args{"UserID=16", "", std::int32_t{100}, "kept", "kept too", ""};
  EXPECT_FALSE(CBool(settle->Call("Export", args)));
  EXPECT_TRUE(holds(CStr(args[5]), "错误号:5\r\n")) << CStr(args[5]);
  EXPECT_EQ(CStr(args[3]), "kept");
  EXPECT_EQ(CStr(args[4]), "kept too");
}

TEST_F(Frame, AFailedQueryIsReportedWithTheStatement) {
  settle->Let("Filter", "NoSuchColumn = 1");
  ExportedPage failed = ExportPage(settle, props(source));
  EXPECT_FALSE(failed.ok);
  EXPECT_TRUE(holds(failed.error,
                    "执行错误的SQL语句:SELECT TOP 100 * FROM t_settle WHERE FDeleted=0 AND FItemID <> 0  AND "
                    "((FSystemType=1) AND ((FModifyTime>0x0000000000000000) AND (NoSuchColumn = 1))) ORDER BY FModifyTime"))
      << failed.error;
}

TEST_F(Frame, ACancelledPageResumesAfterItsLastPackedRow) {
  std::vector<std::string> progress;
  settle->Advise([&](std::string_view event, DispId id, Arguments args) {
    EXPECT_EQ(event, "Progress");
    EXPECT_EQ(id, 1);
    progress.push_back(CStr(args[0]) + "/" + CStr(args[1]));
    if (CLng(args[0]) == 2) args[2] = Variant(true);
  });
  ExportedPage quiet = ExportPage(settle, props(source), 0);
  ASSERT_TRUE(quiet.ok) << quiet.error;
  EXPECT_TRUE(progress.empty());  // without bProgress an export raises none

  settle->Let("bProgress", true);
  ExportedPage cancelled = ExportPage(settle, props(source), 0);
  ASSERT_TRUE(cancelled.ok) << cancelled.error;
  EXPECT_EQ(progress, (std::vector<std::string>{"1/3", "2/3"}));
  EXPECT_EQ(numbers(cancelled.xml), (std::vector<std::string>{"01", "02"}));
  EXPECT_EQ(cancelled.stamp, stampOf(11));

  settle->Let("bProgress", false);
  ExportedPage rest = ExportPage(settle, props(source), 0, cancelled.stamp);
  ASSERT_TRUE(rest.ok) << rest.error;
  EXPECT_EQ(numbers(rest.xml), (std::vector<std::string>{"05"}));
}

std::string record(const std::string& number, const std::string& name, const std::string& uuid) {
  return element("Name", name) + element("Number", number) + element("UUID", uuid);
}

TEST_F(Frame, AFailingRecordIsRolledBackWithItsLineAndTheNextOneCommits) {
  std::string target = newAccountSet("target.db");
  // The database refuses the UPDATE that follows the insert of "bad": its insert must be undone too.
  refuseUpdateTo(target, "t_Settle", "bad");
  std::vector<std::string> progress;
  settle->Advise([&](std::string_view, DispId, Arguments args) { progress.push_back(CStr(args[0]) + "/" + CStr(args[1])); });

  ImportResult result = ImportXml(settle, props(target),
                              document("Settle", {record("01", "现金", "U-1"), record("02", "bad", "U-2"),
                                                  record("03", "支票", "U-3")}));
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(CLng(settle->Get("ErrorCount")), 1);
  EXPECT_EQ(result.error,
            "导入结算方式记录(Number:02,Name:bad,UUID:U-2)失败!\r\n错误号:-2147217873\r\n错误源:Microsoft OLE DB Provider "
            "for SQL Server\r\n错误描述:refused\r\n执行错误的SQL语句:UPDATE t_Settle SET FName='bad',FNumber='02',"
            "FAcctID=0,UUID='U-2',FSystemType=1 WHERE FItemID = 2\r\n\r\n");
  EXPECT_EQ(rows(target, "SELECT FNumber, FName, UUID FROM t_Settle ORDER BY FNumber"), "01,现金,U-1;03,支票,U-3");
  // Progress follows every record, the failed one too, whatever bProgress says.
  EXPECT_EQ(progress, (std::vector<std::string>{"1/3", "2/3", "3/3"}));
  // The failed record's companion data went with its transaction; the others' stayed.
  EXPECT_EQ(dataAccess.calls(), (std::vector<std::string>{"CreateData 130 1 detail=True parent=0",
                                                          "CreateData 130 2 detail=True parent=0",
                                                          "CreateData 130 " +
                                                              rows(target, "SELECT FItemID FROM t_Settle WHERE FNumber = '03'") +
                                                              " detail=True parent=0"}));
}

TEST_F(Frame, ACancelStopsTheImportAfterThatRecord) {
  std::string target = newAccountSet("target.db");
  settle->Advise([&](std::string_view, DispId, Arguments args) { args[2] = Variant(CLng(args[0]) == 2); });
  ImportResult result = ImportXml(settle, props(target),
                              document("Settle", {record("01", "甲", "U-1"), record("02", "乙", "U-2"),
                                                  record("03", "丙", "U-3")}));
  EXPECT_TRUE(result.ok) << result.error;
  EXPECT_EQ(rows(target, "SELECT FNumber FROM t_Settle ORDER BY FNumber"), "01;02");
}

TEST_F(Frame, AnErrorOfTheProgressSinkFailsThatRecordOnly) {
  std::string target = newAccountSet("target.db");
  settle->Advise([&](std::string_view, DispId, Arguments args) {
    if (CLng(args[0]) == 1) throw AutomationError(1001, "Caller", "sink failed");
  });
  ImportResult result = ImportXml(settle, props(target), document("Settle", {record("01", "甲", "U-1"), record("02", "乙", "U-2")}));
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(CLng(settle->Get("ErrorCount")), 1);
  EXPECT_TRUE(holds(result.error, "导入结算方式记录(Number:01,Name:甲,UUID:U-1)失败!\r\n错误号:1001\r\n错误源:Caller")) << result.error;
  EXPECT_EQ(rows(target, "SELECT FNumber FROM t_Settle ORDER BY FNumber"), "01;02");
}

TEST_F(Frame, RecordsThatCannotBeWrittenFail) {
  std::string target = newAccountSet("target.db");
  exec(target, "INSERT INTO t_Settle (FItemID, FNumber, FName, UUID) VALUES (0, '', '', ''), (5, '05', '旧', '')");
  dataAccess.refuseItem(7);
  settle->Let("CheckByUUID", true);
  ImportResult result = ImportXml(settle, props(target),
                              document("Settle", {element("UUID", "U-0"),  // neither number nor name
                                                  element("Name", "新") + element("Number", "07") + element("UUID", ""),
                                                  record("08", "拒", "U-8")}));  // its companion data is refused
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(CLng(settle->Get("ErrorCount")), 2);
  EXPECT_TRUE(holds(result.error, "导入结算方式记录(Number:,Name:,UUID:U-0)失败!")) << result.error;
  EXPECT_TRUE(holds(result.error, "记录没有代码也没有名称!")) << result.error;
  EXPECT_TRUE(holds(result.error, "导入结算方式记录(Number:08,Name:拒,UUID:U-8)失败!\r\n错误号:-2147467259\r\n"
                                  "错误源:Fenwold.DataAccess\r\n错误描述:The companion data was refused\r\n"))
      << result.error;
  // The row without a UUID is not taken over by a record whose UUID is empty: that one is new. Row 0
  // stays as it was.
  EXPECT_EQ(rows(target, "SELECT FItemID, FNumber, FName, UUID FROM t_Settle ORDER BY FItemID"),
            "0,,,;5,05,旧,;6,07,新,");
}

// A connection whose transactions cannot begin, counting the roll-backs it is asked for.
class NoTransactions : public sql::Connection {
 public:
  static inline int rollbacks = 0;
  const DispatchTable& dispatchTable() const override {
    static const DispatchTable table = [] {
      DispatchTable t;
      for (Member m : sql::Connection().dispatchTable().members()) {
        if (SameText(m.name, "BeginTrans"))
          m.invoke = [](AutomationObject&, Arguments) -> Variant {
            throw AutomationError(-2147168237, "Microsoft OLE DB Provider for SQL Server", "no transaction");
          };
        if (SameText(m.name, "RollbackTrans"))
          m.invoke = [run = m.invoke](AutomationObject& self, Arguments args) {
            ++rollbacks;
            return run(self, args);
          };
        t.add(std::move(m));
      }
      return t;
    }();
    return table;
  }
};

TEST_F(Frame, ARecordWhoseTransactionCannotBeginIsNotRolledBack) {
  std::string target = newAccountSet("target.db");
  ClassOverride connection("VLMConnection.Connection", [] { return std::make_shared<NoTransactions>(); });
  NoTransactions::rollbacks = 0;
  ImportResult result = ImportXml(settle, props(target), document("Settle", {record("01", "甲", "U-1")}));
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(NoTransactions::rollbacks, 0);
  EXPECT_EQ(result.error, "导入结算方式记录(Number:01,Name:甲,UUID:U-1)失败!\r\n错误号:-2147168237\r\n错误源:Microsoft OLE DB "
                          "Provider for SQL Server\r\n错误描述:no transaction\r\n");
}

TEST_F(Frame, TheSystemTypeIsANumberAndADocumentIsRead) {
  std::string target = newAccountSet("target.db");
  ImportResult imported = ImportXml(settle, props(target), document("Settle", {record("01", "甲", "U-1")}),
                                Variant(std::int32_t{2}));
  ASSERT_TRUE(imported.ok) << imported.error;
  EXPECT_EQ(rows(target, "SELECT FNumber, FSystemType FROM t_Settle"), "01,2");
  EXPECT_TRUE(numbers(ExportPage(settle, props(target)).xml).empty());  // not exported again

  ImportResult refused = ImportXml(settle, props(target), document("Settle", {record("02", "乙", "U-2")}), Variant("2 OR 1=1"));
  EXPECT_FALSE(refused.ok);
  EXPECT_TRUE(holds(refused.error, "lSystemType的值必须是数字:2 OR 1=1")) << refused.error;

  ImportResult invalid = ImportXml(settle, props(target), "<Root VelmoraNameSpace=\"Settle\"><Settle><Nope/></Settle></Root>");
  EXPECT_FALSE(invalid.ok);
  EXPECT_FALSE(invalid.error.empty());
  EXPECT_EQ(CLng(settle->Get("ErrorCount")), 0);
  EXPECT_EQ(rows(target, "SELECT COUNT(*) FROM t_Settle"), "1");
}

}  // namespace
}  // namespace quillane::testing
