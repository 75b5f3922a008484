// The class-exchange component carries a whole item class through one bulk file, driving the item
// type's public class by ProgID.
#include "platform/erp/class_exchange.h"

#include <gtest/gtest.h>

#include "exchange/exchange_db_fixture.h"
#include "platform/automation/automation.h"
#include "platform/xml/DOMDocument.h"
#include "support/recording_data_access.h"

namespace quillane::testing {
namespace {

class ClassExchangeTest : public ExchangeDbTest {
 protected:
  struct Exported {
    bool ok;
    std::string maxStamp;
  };
  Exported exportFile(const std::string& propsString, std::int32_t itemClassID, const std::string& file,
                      const std::string& since = "") {
    std::vector<Variant> args{propsString, itemClassID, itemClassID, "", "", std::int32_t{4}, "", std::int32_t{5},
                              file, std::int32_t{0}, std::int32_t{0}, since, "", Variant(std::make_shared<TrzRecords>()),
                              Variant(ObjectRef())};
    bool ok = CBool(component->Call("ExportToFile", args));
    return {ok, CStr(args[12])};
  }
  // The error texts the component hands back; empty when the import went through.
  std::vector<std::string> importFile(const std::string& propsString, const std::string& file) {
    auto vect = std::make_shared<TrzRecords>();
    Variant zero(std::int32_t{0});
    std::vector<Variant> args{propsString, std::int32_t{5}, file, "", Variant(ObjectRef()), Variant(vect),
                              zero, zero, zero, zero, Variant(ObjectRef()), zero, zero, zero, zero};
    component->Call("ImportFromFile", args);
    failed = CLng(args[6]);
    std::vector<std::string> texts;
    auto returned = fromVariant<std::shared_ptr<TrzRecords>>(args[5]);
    if (returned && returned->Count() > 0)
      for (const Variant& text : *fromVariant<std::shared_ptr<TrzRecords>>(returned->Item(1))) texts.push_back(CStr(text));
    return texts;
  }
  static std::string departments(const std::string& path) {
    return rows(path, "SELECT FNumber, FName, UUID FROM t_Item WHERE FItemClassID = 2 AND FItemID > 0 ORDER BY FNumber");
  }
  static std::int32_t departmentCount(const std::string& path) {
    sql::Connection db;
    db.setConnString(accountset::ConnectString(path));
    auto rs = db.GetAnyRecordSet("SELECT COUNT(*) AS n FROM t_Item WHERE FItemClassID = 2 AND FItemID > 0");
    std::int32_t n = CLng(rs->Value("n"));
    db.CloseConn();
    return n;
  }

  ObjectRef component = CreateObject(erp::kClassExchangeProgID);
  std::int32_t failed = -1;  // as the last importFile's component reported it
  ScopedDataAccess dataAccess;
};

TEST_F(ClassExchangeTest, DepartmentsTravelThroughOneUtf16FileIntoAnEmptyAccountSet) {
  std::string source = dir_.file("source.db"), target = newAccountSet("target.db");
  accountset::CreateSample(source, 230);
  std::string file = dir_.file("departments.xml");
  std::vector<int> progress;
  component->Advise([&](std::string_view event, DispId, Arguments args) {
    if (event == "Progress") progress.push_back(CLng(args[0]));
  });

  Exported exported = exportFile(props(source), 2, file);
  ASSERT_TRUE(exported.ok);
  EXPECT_FALSE(exported.maxStamp.empty());
  EXPECT_EQ(ReadFile(file).substr(0, 2), "\xFF\xFE");
  DOMDocument doc;
  ASSERT_TRUE(doc.load(file)) << doc.parseError()->reason();
  EXPECT_EQ(doc.selectNodes("Root/Department")->length(), departmentCount(source));
  EXPECT_GT(departmentCount(source), 2 * erp::ClassExchange::kPageSize);
  EXPECT_FALSE(progress.empty());

  EXPECT_EQ(importFile(props(target), file), std::vector<std::string>{});
  EXPECT_EQ(departments(target), departments(source));
}

static std::int32_t departmentsInFile(const std::string& file) {
  DOMDocument doc;
  EXPECT_TRUE(doc.load(file)) << doc.parseError()->reason();
  return doc.selectNodes("Root/Department")->length();
}

// Each export starts where the previous one said it ended: together the files carry every change once,
// deletion marks too, also when the newest row is a deleted one after whole pages.
TEST_F(ClassExchangeTest, ExportsSinceTheHighestStampCarryEveryChangeOnce) {
  std::string source = dir_.file("source.db"), file = dir_.file("departments.xml");
  accountset::CreateSample(source, 96);
  ASSERT_EQ(departmentCount(source), 101);
  exec(source, "UPDATE t_Item SET FDeleted=1 WHERE FItemClassID=2 AND FNumber='01.0096'");

  Exported first = exportFile(props(source), 2, file);
  ASSERT_TRUE(first.ok);
  EXPECT_EQ(departmentsInFile(file), 101);
  EXPECT_EQ(first.maxStamp, rows(source, "SELECT MAX(FModifyTime) AS FMT FROM t_Item WHERE FItemClassID=2"));

  exec(source, "UPDATE t_Item SET FName=FName || '*' WHERE FItemClassID=2 AND FItemID IN "
               "(SELECT FItemID FROM t_Item WHERE FItemClassID=2 AND FDetail=1 ORDER BY FItemID LIMIT 30)");
  exec(source, "UPDATE t_Item SET FDeleted=1 WHERE FItemClassID=2 AND FItemID IN "
               "(SELECT FItemID FROM t_Item WHERE FItemClassID=2 AND FDetail=1 ORDER BY FItemID DESC LIMIT 20)");
  Exported second = exportFile(props(source), 2, file, first.maxStamp);
  ASSERT_TRUE(second.ok);
  EXPECT_EQ(departmentsInFile(file), 50);

  Exported third = exportFile(props(source), 2, file, second.maxStamp);
  ASSERT_TRUE(third.ok);
  EXPECT_EQ(departmentsInFile(file), 0);
  EXPECT_EQ(third.maxStamp, second.maxStamp);
}

TEST_F(ClassExchangeTest, AnEmptyClassGivesAnEmptyWellFormedFile) {
  std::string source = newAccountSet("source.db");
  std::string file = dir_.write("departments.xml", "old");
  ASSERT_TRUE(exportFile(props(source), 2, file).ok);
  DOMDocument doc;
  ASSERT_TRUE(doc.load(file)) << doc.parseError()->reason();
  EXPECT_EQ(doc.selectNodes("Root/Department")->length(), 0);
  EXPECT_EQ(importFile(props(newAccountSet("target.db")), file), std::vector<std::string>{});
}

TEST_F(ClassExchangeTest, AnItemClassWithoutAPublicClassIsRefusedBeforeTheFileIsTouched) {
  std::string source = newAccountSet("source.db");
  std::string file = dir_.write("old.xml", "old");
  EXPECT_THROW(exportFile(props(source), 77, file), AutomationError);
  EXPECT_EQ(ReadFile(file), "old");
}

std::string departmentRecords(int count) {
  std::string records;
  for (int i = 1; i <= count; ++i) {
    std::string n = std::to_string(1000 + i);
    records += "<Department><Name>D&amp;" + n + " 部門</Name><Number>" + n +
               "</Number><Level>1</Level><IsDetail>1</IsDetail><UUID>U-" + n + "</UUID></Department>";
  }
  return "<Root VelmoraNameSpace=\"Department\">" + records;
}

TEST_F(ClassExchangeTest, ACancelStopsTheImportAndIsReported) {
  std::string target = newAccountSet("target.db");
  std::string file = dir_.write("departments.xml", departmentRecords(250) + "</Root>");
  component->Advise([](std::string_view event, DispId, Arguments args) {
    if (event == "Progress") args[2] = Variant(true);
  });
  EXPECT_EQ(importFile(props(target), file), std::vector<std::string>{"解析过程中被用户取消！"});
  EXPECT_LT(departmentCount(target), 100);
}

TEST_F(ClassExchangeTest, TheFailedRecordsOfEveryBatchAreCounted) {
  std::string target = newAccountSet("target.db");
  std::string text = departmentRecords(150) + "</Root>";
  // A record with neither number nor name fails: one in each batch of 100.
  for (const char* before : {"D&amp;1120 ", "D&amp;1050 "})
    text.insert(text.rfind("<Department>", text.find(before)), "<Department><Level>1</Level></Department>");
  std::vector<std::string> errors = importFile(props(target), dir_.write("departments.xml", text));
  EXPECT_EQ(failed, 2);
  EXPECT_EQ(errors.size(), 2u) << "one text per batch";
  EXPECT_EQ(departmentCount(target), 150);

  importFile(props(target), dir_.write("clean.xml", departmentRecords(3) + "</Root>"));
  EXPECT_EQ(failed, 0);
}

// Where the file breaks off, the complete records before the break all arrive, the last batch's too;
// the record cut off fails alone and is named.
TEST_F(ClassExchangeTest, AFileBrokenOffKeepsEveryCompleteRecordAndFailsTheCutOne) {
  std::string target = newAccountSet("target.db");
  std::string file = dir_.write("broken.xml", departmentRecords(150) + "<Department><Number>1151</Number><Name>");
  std::vector<std::string> errors = importFile(props(target), file);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("(出错的记录：#151 (Number:1151))"), std::string::npos) << errors[0];
  EXPECT_EQ(failed, 1);
  EXPECT_EQ(departmentCount(target), 150);
  EXPECT_NE(departments(target).find("D&1001 部門"), std::string::npos);
}

// A record whose text an entity of the file blows past the bound fails alone and is named; the other
// records of its batch arrive.
TEST_F(ClassExchangeTest, ARecordPastTheTextBoundFailsAloneAndIsNamed) {
  std::string target = newAccountSet("target.db");
  std::string uses;
  for (int i = 0; i < 20; ++i) uses += "&big;";
  std::string text = departmentRecords(3) + "</Root>";
  text.replace(text.find("D&amp;1002"), 10, uses);
  text = "<!DOCTYPE Root [<!ENTITY big \"" + std::string(100000, 'b') + "\">]>" + text;
  std::vector<std::string> errors = importFile(props(target), dir_.write("departments.xml", text));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "记录的文本超过了上限，未导入:#2 (Number:1002), > 1048576 bytes");
  EXPECT_EQ(failed, 1);
  EXPECT_EQ(departmentCount(target), 2);
}

TEST_F(ClassExchangeTest, AFileThatIsNoStandardDocumentComesBackAsAnErrorText) {
  std::string target = newAccountSet("target.db");
  std::string file = dir_.write("plain.xml", "<Root><Department/></Root>");
  EXPECT_EQ(importFile(props(target), file), std::vector<std::string>{"该XML文档不符合维墨标准文档!"});
}

}  // namespace
}  // namespace quillane::testing
