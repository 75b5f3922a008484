// The facade's bulk export: pages stitched into one UTF-16 file, refusals before anything is written,
// and the item-table types handed to the class exchange.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "exchange/clsExpImp.h"
#include "facade_fixture.h"
#include "platform/automation/vbtext.h"
#include "platform/erp/class_exchange.h"
#include "platform/sql/database.h"
#include "platform/xml/bounded_record.h"
#include "platform/xml/DOMDocument.h"
#include "platform/xml/TrzRecords.h"
#include "support/automation_test.h"

namespace quillane::testing {
namespace {

constexpr std::int32_t lAccount = 1;

bool holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A page as the per-type classes write it.
std::string page(const std::string& records) {
  return "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"Account\">" + records + "</Root>";
}
std::string account(const std::string& name) { return "<Account><Name>" + name + "</Name></Account>"; }

class BulkExportTest : public FacadeTest {
 protected:
  struct Result {
    bool ok;
    std::string stamp, maxStamp, error;
  };
  Result exportFile(const std::string& propsString, std::int32_t lIO = lAccount, const std::string& since = "") {
    std::vector<Variant> args{propsString, lIO, file, std::int32_t{50}, since, "max", "old"};
    bool ok = CBool(facade->Call("ExportPreIOToFile", args));
    return Result{ok, CStr(args[4]), CStr(args[5]), CStr(args[6])};
  }
  // The file's text, after checking that it is UTF-16 LE with its byte-order mark.
  std::string fileText() {
    std::string bytes = readFile(file);
    EXPECT_TRUE(bytes.starts_with("\xFF\xFE")) << bytes;
    return Utf16LeToUtf8(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 2, bytes.size() - 2);
  }

  std::string path = newAccountSet();
  std::string file = dir_.file("accounts.xml");
};

TEST_F(BulkExportTest, PagesAreStitchedIntoOneDocument) {
  FakeType fake("Quillane.clsAccount");
  fake.script->errorCount = 1;
  fake.script->pages = {page(account("现金 &amp; &lt;银行&gt;")), page(account("b") + account("c")),
                        page(account("d"))};
  std::ofstream(file) << "an older file, longer than the new one will be, so that truncation shows";
  facade->Let("ErrorCount", std::int32_t{7});
  int yields = 0;
  auto previous = SetYieldHook([&] { ++yields; });

  Result result = exportFile(props(path), lAccount, "0x00");
  SetYieldHook(previous);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.stamp, "0x03");
  EXPECT_EQ(result.maxStamp, "0x03");
  EXPECT_EQ(result.error, "");
  // Reset by the bulk export, then summed over its three pages.
  EXPECT_EQ(errorCount(), 3);
  EXPECT_EQ(yields, 3) << "one yield after each record of the later pages";
  const std::string text = fileText();
  EXPECT_EQ(text, "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"Account\">" + account("现金 &amp; &lt;银行&gt;") +
                      account("b") + account("c") + account("d") + "</Root>");
  DOMDocument document;
  EXPECT_TRUE(document.load(file));
  // The time stamp of each page is the start of the next.
  EXPECT_EQ(fake.script->calls[2], "Export(" + props(path) + ",,50,0x00,,)");
  EXPECT_EQ(fake.script->calls[5], "Export(" + props(path) + ",,50,0x01,0x03,)");
}

TEST_F(BulkExportTest, ATypeWithoutRecordsGivesAnEmptyRoot) {
  FakeType fake("Quillane.clsAccount");
  fake.script->pages = {"<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"Account\"/>"};
  ASSERT_TRUE(exportFile(props(path)).ok);
  EXPECT_EQ(fileText(), "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"Account\"></Root>");
}

TEST_F(BulkExportTest, APageThatDoesNotMoveTheTimeStampOnEndsTheFile) {
  // The recording type answers every call with an empty page stamped 0x01 under the highest 0x02.
  FakeType fake("Quillane.clsAccount");
  Result result = exportFile(props(path));
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.stamp, "0x01");
  EXPECT_EQ(std::count_if(fake.script->calls.begin(), fake.script->calls.end(),
                          [](const std::string& call) { return call.starts_with("Export("); }),
            2);
  EXPECT_EQ(fileText(), "<Root></Root>");
}

TEST_F(BulkExportTest, AFirstPageThatFailsLeavesTheOlderFileAsItWas) {
  FakeType fake("Quillane.clsAccount");
  fake.script->result = false;
  std::ofstream(file) << "old";
  Result result = exportFile(props(path));
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, "page error");
  EXPECT_EQ(readFile(file), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 2) << "only the set and the file";
}

TEST_F(BulkExportTest, AFileThatIsTheAccountSetIsRefusedOnEveryRoadBeforeAnythingIsWritten) {
  FakeType fake("Quillane.clsAccount");
  fake.script->pages = {page(account("a"))};
  std::filesystem::create_symlink(path, dir_.file("link.db"));
  std::filesystem::create_hard_link(path, dir_.file("other-name.db"));
  const std::string setBytes = readFile(path);
  const std::string relative = std::filesystem::relative(path).string();
  struct Road {
    const char* call;
    Variant what;
  };
  const Road roads[] = {{"ExportPreIOToFile", Variant(lAccount)},
                        {"ExportPreIOToFile", Variant(std::int32_t{2})},  // departments: the class exchange
                        {"ExportCustIOToFile", Variant("项目")}};
  for (const Road& road : roads) {
    for (const std::string& name : {path, dir_.file("link.db"), dir_.file("other-name.db"), relative, path + "-wal",
                                    path + "-journal"}) {
      std::vector<Variant> args{props(path, "UserID=16;AcctType=GY;Language=CHS"), road.what, name, std::int32_t{50},
                                "", "", ""};
      AutomationError e = ErrorOf([&] { facade->Call(road.call, args); });
      EXPECT_EQ(e.description, "输出文件就是账套的文件，未写入：" + name) << road.call << " " << name;
      EXPECT_EQ(readFile(path), setBytes) << road.call << " " << name;
      // The engine's log may be there, held by the connection; none of the file went into it.
      EXPECT_FALSE(readFile(path + "-wal").starts_with("\xFF\xFE")) << road.call << " " << name;
    }
  }
  EXPECT_TRUE(fake.script->calls.empty());
}

TEST_F(BulkExportTest, APageThatIsNoWholeDocumentIsRefusedBeforeWriting) {
  for (const char* first : {"<Root><Account>", "<Root><Account/></Root>  ", "<Other/>"}) {
    FakeType fake("Quillane.clsAccount");
    fake.script->pages = {first};
    AutomationError e = ErrorOf([&] { exportFile(props(path)); });
    EXPECT_EQ(e.number, kLibraryRefusal) << first;
    EXPECT_EQ(e.source, "Tarnwick.clsExpImp");
    EXPECT_TRUE(e.description.starts_with("导出的页面不是以</Root>结尾的完整文档:" + std::string(first)))
        << e.description;
    EXPECT_FALSE(std::filesystem::exists(file)) << first;
  }
}

TEST_F(BulkExportTest, AFileCutOffByAnErrorIsRemoved) {
  FakeType fake("Quillane.clsAccount");
  fake.script->pages = {page(account("a")), "<Root><Account>"};
  AutomationError e = ErrorOf([&] { exportFile(props(path)); });
  EXPECT_TRUE(e.description.starts_with("导出的页面不是以</Root>结尾的完整文档:")) << e.description;
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(BulkExportTest, NoPropsOrNoRightEndsWithItsText) {
  exec(path, "INSERT INTO t_User (FUserID, FName, FForbidden) VALUES (20, 'clerk', 0)");
  FakeType fake("Quillane.clsAccount");
  fake.script->pages = {page("")};
  EXPECT_EQ(exportFile("").error, "连接数据库字串不正确!");
  EXPECT_EQ(exportFile(props(path, "UserID=20;AcctType=GY")).error, "没有权限！");
  EXPECT_TRUE(fake.script->calls.empty());
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(ErrorOf([&] { exportFile("UserID=16"); }).number, 5) << "a props string without its keys raises";
}

TEST_F(BulkExportTest, ItemTableTypesAreWrittenByTheClassExchange) {
  auto calls = std::make_shared<std::vector<std::string>>();
  // Records its arguments, raises Progress with bCancel True and writes the highest time stamp back.
  class Exchange : public AutomationObject {
   public:
    explicit Exchange(std::shared_ptr<std::vector<std::string>> calls) : calls_(std::move(calls)) {}
    const DispatchTable& dispatchTable() const override {
      static const DispatchTable table =
          DispatchBuilder<Exchange>()
              .raw("ExportToFile", 1, InvokeKind::Method,
                   [](Exchange& self, Arguments args) {
                     std::string line;
                     for (std::size_t i = 0; i < args.size(); ++i) {
                       const ObjectRef* object = args[i].tryAs<ObjectRef>();
                       line += (i ? "|" : "") + (object ? std::string(*object ? "records" : "null") : CStr(args[i]));
                     }
                     self.calls_->push_back(line);
                     bool bCancel = true;
                     self.RaiseEventWith("Progress", 1, std::int32_t{1}, std::int32_t{1}, bCancel);
                     self.calls_->push_back(bCancel ? "cancel" : "go on");
                     args[12] = Variant("0x09");
                     return Variant(true);
                   })
              .build();
      return table;
    }

   private:
    std::shared_ptr<std::vector<std::string>> calls_;
  };
  ClassOverride exchange(erp::kClassExchangeProgID, [calls] {
    return std::static_pointer_cast<AutomationObject>(std::make_shared<Exchange>(calls));
  });
  bool relayed = false;
  facade->Advise([&](std::string_view event, DispId id, Arguments) { relayed = event == "Progress" && id == 2; });
  facade->Let("ErrorCount", std::int32_t{4});
  facade->Let("Filter", "FNumber LIKE 'F%'");

  Result result = exportFile(props(path), 18, "0x01");
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.maxStamp, "0x09");
  EXPECT_EQ(result.error, "old");
  EXPECT_EQ(errorCount(), 4);
  EXPECT_TRUE(relayed);
  EXPECT_EQ(*calls, (std::vector<std::string>{props(path) + "|2014|2014|FNumber LIKE 'F%'||4||5|" + file +
                                                  "|0|0|0x01|max|records|null",
                                              "go on"}));
}

// The caller's filter holds on this road as on the pages; one the database cannot run fails the export
// with the database's words and leaves the old file in place.
TEST_F(BulkExportTest, AFilterHoldsOnTheClassExchangeRoad) {
  for (int i = 1; i <= 5; ++i) addDepartment(path, 100 + i, "D" + std::to_string(1000 + i), "部门" + std::to_string(i));
  facade->Let("Filter", "FNumber IN ('D1002','D1004')");
  ASSERT_TRUE(exportFile(props(path), 6).ok);
  DOMDocument document;
  ASSERT_TRUE(document.load(file));
  EXPECT_EQ(document.documentElement()->childNodes()->length(), 2);

  facade->Let("Filter", "FNumber IN ('D1002'");
  AutomationError e = ErrorOf([&] { exportFile(props(path), 6); });
  EXPECT_TRUE(holds(e.description, "FNumber IN ('D1002'")) << e.description;
}

TEST_F(BulkExportTest, DepartmentsReachTheirFileThroughTheClassExchange) {
  for (int i = 1; i <= 150; ++i) addDepartment(path, 100 + i, "D" + std::to_string(1000 + i), "部门" + std::to_string(i));
  int progress = 0;
  facade->Advise([&](std::string_view event, DispId, Arguments) { progress += event == "Progress"; });
  Result result = exportFile(props(path), 6);
  ASSERT_TRUE(result.ok) << result.error;
  DOMDocument document;
  ASSERT_TRUE(document.load(file));
  EXPECT_EQ(document.documentElement()->childNodes()->length(), 150);
  EXPECT_TRUE(holds(fileText(), "<Name>部门150</Name>"));
  EXPECT_GT(progress, 0);
}

class BulkImportTest : public BulkExportTest {
 protected:
  Result importFile(const std::string& propsString, std::int32_t lIO = lAccount) {
    std::vector<Variant> args{propsString, lIO, file, std::int32_t{7}, ""};
    bool ok = CBool(facade->Call("ImportPreIOFromFile", args));
    return Result{ok, "", "", CStr(args[4])};
  }
  // An account file of `records` records, a comment padding it to `size` bytes when given.
  void writeAccounts(int records, std::size_t size = 0, const std::string& tail = "</Root>") {
    std::string head = "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"Account\">";
    std::string body;
    for (int i = 0; i < records; ++i) body += account("现金 &amp; &lt;银行&gt;" + std::to_string(i));
    std::string text = head + body + tail;
    if (size) text += "<!--" + std::string(size - text.size() - 7, ' ') + "-->";
    ASSERT_TRUE(!size || text.size() == size);
    std::ofstream(file, std::ios::binary) << text;
  }
  static std::vector<std::string> imports(const RecordingType::Script& script) {
    std::vector<std::string> found;
    for (const std::string& call : script.calls)
      if (call.starts_with("Import(")) found.push_back(call);
    return found;
  }
};

TEST_F(BulkImportTest, ASmallFileIsImportedWholeAndALargeOneInBatches) {
  struct Case {
    std::size_t size;
    std::size_t batches;
  };
  for (Case c : {Case{511999, 1}, Case{512000, 2}}) {
    FakeType fake("Quillane.clsAccount");
    writeAccounts(150, c.size);
    facade->Let("ErrorCount", std::int32_t{9});
    Result result = importFile(props(path));
    std::vector<std::string> calls = imports(*fake.script);
    ASSERT_EQ(calls.size(), c.batches) << c.size;
    EXPECT_TRUE(calls[0].ends_with(",,1)")) << "imported with system type 1";
    // The splitter writes the values back escaped, CJK intact.
    EXPECT_TRUE(holds(calls[0], account("现金 &amp; &lt;银行&gt;0"))) << calls[0];
    EXPECT_EQ(errorCount(), 0) << "reset, then summed";
    // The whole file's error text is the import's own; the batches' are collected a line each.
    EXPECT_EQ(result.error, c.batches == 1 ? "import error" : "import error\r\nimport error\r\n");
  }
}

TEST_F(BulkImportTest, AMalformedFileFailsWithItsErrorAfterTheLinesOfEarlierBatches) {
  FakeType fake("Quillane.clsAccount");
  writeAccounts(150, 0, account("broken") + "<Account></Root>");
  Result small = importFile(props(path));
  EXPECT_FALSE(small.ok);
  EXPECT_TRUE(small.error.starts_with("导入文件不是格式正确的XML文档:" + file)) << small.error;
  EXPECT_TRUE(imports(*fake.script).empty());

  // The records before the break all reach an import; the one cut off is counted as failed.
  writeAccounts(150, 0, account("x") + std::string(520000, ' ') + "<Account></Root>");
  Result large = importFile(props(path));
  EXPECT_FALSE(large.ok);
  EXPECT_TRUE(large.error.starts_with("import error\r\nimport error\r\n")) << large.error;
  EXPECT_TRUE(holds(large.error, "错误描述：")) << large.error;
  EXPECT_TRUE(holds(large.error, "出错的记录：#152")) << large.error;
  ASSERT_EQ(imports(*fake.script).size(), 2u);
  EXPECT_TRUE(holds(imports(*fake.script)[1], account("x")));
  EXPECT_EQ(errorCount(), 1);
}

TEST_F(BulkImportTest, SAXProgressReachesTheCallerWhoseCancelStopsTheFile) {
  FakeType fake("Quillane.clsAccount");
  writeAccounts(150, 512000);
  int progress = 0;
  facade->Advise([&](std::string_view event, DispId id, Arguments args) {
    if (event != "SAXProgress") return;
    EXPECT_EQ(id, clsExpImp::kSAXProgress);
    EXPECT_FALSE(CBool(args[2])) << "the splitter's own answer does not travel up";
    if (++progress == 50) args[2] = Variant(true);
  });
  Result result = importFile(props(path));
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(progress, 50);
  EXPECT_TRUE(imports(*fake.script).empty());
  EXPECT_TRUE(holds(result.error, "解析过程中被用户取消！")) << result.error;
}

// A record the splitter refuses for its size never reaches an import: the facade counts it itself.
TEST_F(BulkImportTest, ARecordPastTheTextBoundCountsAsFailed) {
  FakeType fake("Quillane.clsAccount");
  writeAccounts(2, 0, account(std::string(BoundedRecord::kTextLimit, 'x')) + account("after") + "</Root>");
  Result result = importFile(props(path));
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(errorCount(), 1);
  EXPECT_TRUE(holds(result.error, "记录的文本超过了上限，未导入:#3")) << result.error.substr(0, 300);
  ASSERT_EQ(imports(*fake.script).size(), 1u);
  EXPECT_TRUE(holds(imports(*fake.script)[0], "after"));
}

TEST_F(BulkImportTest, NoPropsOrNoRightEndsWithItsText) {
  exec(path, "INSERT INTO t_User (FUserID, FName, FForbidden) VALUES (20, 'clerk', 0)");
  FakeType fake("Quillane.clsAccount");
  writeAccounts(1);
  EXPECT_EQ(importFile("").error, "连接数据库字串不正确!");
  EXPECT_EQ(importFile(props(path, "UserID=20;AcctType=GY")).error, "没有权限！");
  EXPECT_TRUE(imports(*fake.script).empty());
}

TEST_F(BulkImportTest, DepartmentsGoBackThroughTheClassExchange) {
  for (int i = 1; i <= 150; ++i)
    addDepartment(path, 100 + i, "D" + std::to_string(1000 + i), "部门 & <" + std::to_string(i));
  ASSERT_TRUE(exportFile(props(path), 6).ok);
  std::string target = newAccountSet("target.db");
  facade->Let("ErrorCount", std::int32_t{9});
  Result result = importFile(props(target), 6);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(errorCount(), 0) << "the class exchange's count of failed records";
  const std::string query = "SELECT FNumber, FName FROM t_Department ORDER BY FNumber";
  EXPECT_EQ(rows(target, query), rows(path, query));
  EXPECT_TRUE(holds(rows(target, query), "部门 & <150"));

  // A record with neither number nor name fails.
  std::ofstream(file, std::ios::binary) << "<Root VelmoraNameSpace=\"Department\"><Department><Level>1</Level>"
                                           "</Department></Root>";
  result = importFile(props(target), 6);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(errorCount(), 1) << result.error;
}

// A file of departments named as customers is refused before anything is written.
TEST_F(BulkImportTest, AFileOfAnotherItemClassIsRefusedBeforeAnythingIsWritten) {
  for (int i = 1; i <= 3; ++i) addDepartment(path, 100 + i, "D" + std::to_string(1000 + i), "部门" + std::to_string(i));
  ASSERT_TRUE(exportFile(props(path), 6).ok);
  std::string target = newAccountSet("target.db");
  Result result = importFile(props(target), 5);
  EXPECT_FALSE(result.ok);
  EXPECT_TRUE(holds(result.error, "文件中的记录不属于所选的核算项目类别:Department / Customer")) << result.error;
  EXPECT_EQ(rows(target, "SELECT COUNT(*) FROM t_Item WHERE FItemID > 0"), "0");
}

// The options a caller sets hold for a file of an item-table type as they do for its pages: the same
// records, imported with the same options into the same account set, leave the same rows either way.
TEST_F(BulkImportTest, TheCallersOptionsHoldForAFileAsForItsPages) {
  for (int i = 1; i <= 3; ++i)
    addDepartment(path, 100 + i, "D" + std::to_string(1000 + i), "部门" + std::to_string(i), 0, true, ", FNote",
                  ", 'from the file'");
  ASSERT_TRUE(exportFile(props(path), 6).ok);
  std::vector<Variant> out{props(path), std::int32_t{6}, "", std::int32_t{0}, "", "", ""};
  ASSERT_TRUE(CBool(facade->Call("Export", out))) << CStr(out[6]);
  const std::string page = CStr(out[2]);

  // A target where D1001 has an own column of its own, D1002 stands under another number with the same
  // UUID, and D1003 has another name.
  const std::string prepared = newAccountSet("prepared.db");
  addDepartment(prepared, 201, "D1001", "部门1", 0, true, ", FNote", ", 'the target''s'");
  exec(prepared, "UPDATE t_Item SET UUID='U-D1001' WHERE FItemID=201");
  addDepartment(prepared, 202, "X1002", "moved", 0, true);
  exec(prepared, "UPDATE t_Item SET UUID='U-D1002' WHERE FItemID=202");
  addDepartment(prepared, 203, "D1003", "other", 0, true);
  const std::string query = "SELECT i.FNumber, i.FName, i.UUID, d.FNote FROM t_Item i LEFT JOIN t_Department d ON "
                            "d.FItemID = i.FItemID WHERE i.FItemClassID = 2 AND i.FItemID > 0 ORDER BY i.FNumber, i.FItemID";
  auto copyOf = [&](const std::string& name) {
    const std::string copy = dir_.file(name);
    sql::Database(prepared, sql::Database::Mode::OpenExisting).execScript("VACUUM INTO '" + copy + "'");
    return copy;
  };
  std::string withoutOptions;
  for (const char* option : {"", "AddNewOnly", "CheckByUUID", "HaveInterFace"}) {
    for (const char* set : {"AddNewOnly", "CheckByUUID", "HaveInterFace"}) facade->Let(set, std::string(set) == option);
    const std::string byPage = copyOf(std::string("page") + option + ".db");
    std::vector<Variant> in{props(byPage), std::int32_t{6}, page, ""};
    facade->Call("Import", in);
    const std::string byFile = copyOf(std::string("file") + option + ".db");
    importFile(props(byFile), 6);
    EXPECT_EQ(rows(byFile, query), rows(byPage, query)) << option;
    if (*option == '\0') withoutOptions = rows(byPage, query);
    else EXPECT_NE(rows(byPage, query), withoutOptions) << option << " changes nothing: the case shows nothing";
  }
}

}  // namespace
}  // namespace quillane::testing
