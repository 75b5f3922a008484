#include <gtest/gtest.h>

#include "exchange/clsDataKey.h"
#include "exchange_db_fixture.h"
#include "platform/automation/automation.h"
#include "platform/sql/connection.h"
#include "support/render_rows.h"

namespace quillane {
namespace {

constexpr std::int32_t lDepartment = 6, lCustomer = 5, lMeasureUnit = 4, lWorkCenter = 13, lCurrency = 3;

class DataKeyTest : public testing::ExchangeDbTest {
 protected:
  struct Page {
    bool ok;
    std::string xml, stamp, maxStamp, error;
  };
  // One export call, late-bound as the facade makes it.
  Page exportPage(const std::string& propsString, std::int32_t lIO, std::int32_t perCount, const std::string& since) {
    std::vector<Variant> args{propsString, lIO, "", perCount, since, "", ""};
    bool ok = CBool(keys->Call("ExportXMLDataKey", args));
    return Page{ok, CStr(args[2]), CStr(args[4]), CStr(args[5]), CStr(args[6])};
  }
  std::pair<bool, std::string> importKeys(const std::string& propsString, std::int32_t lIO, const std::string& xml) {
    std::vector<Variant> args{propsString, lIO, xml, ""};
    bool ok = CBool(keys->Call("ImportXMLDataKey", args));
    return {ok, CStr(args[3])};
  }

  ObjectRef keys = CreateObject("Quillane.clsDataKey");
};

TEST_F(DataKeyTest, KeysTravelPageByPageAndDeleteOnlyTheirOwnRows) {
  std::string source = newAccountSet("source.db"), target = newAccountSet("target.db");
  // Five department keys, one customer key, and one department key whose UUID is empty.
  for (const char* uuid : {"D-1", "D-2", "D-3", "D-4", "D'5"})
    exec(source, std::string("INSERT INTO t_BaseDataDeleted (FTableName, FItemClassID, FDeletedUUID) VALUES "
                             "('t_Item', 2, '") + (uuid[1] == '\'' ? "D''5" : uuid) + "')");
  exec(source, "INSERT INTO t_BaseDataDeleted (FTableName, FItemClassID, FDeletedUUID) VALUES ('t_Item', 1, 'C-1')");
  exec(source, "INSERT INTO t_BaseDataDeleted (FTableName, FItemClassID, FDeletedUUID) VALUES ('t_Item', 2, '')");
  // The target holds departments D-1, D-3 and D'5, a customer that shares D-2's UUID, a department
  // with an empty UUID, and department D-9 that no key names.
  exec(target,
       "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, UUID) VALUES "
       "(101, 2, '01', 'a', 'D-1'), (103, 2, '03', 'c', 'D-3'), (105, 2, '05', 'e', 'D''5'), "
       "(201, 1, 'C1', 'cust', 'D-2'), (106, 2, '06', 'blank', ''), (109, 2, '09', 'kept', 'D-9')");
  exec(target, "INSERT INTO t_Department (FItemID, FNumber, FName) VALUES (101, '01', 'a'), (103, '03', 'c'), "
               "(105, '05', 'e'), (106, '06', 'blank'), (109, '09', 'kept')");

  const std::string from = props(source), to = props(target);
  std::string since;
  std::vector<std::string> stamps;
  std::string maxStamp;
  int pages = 0;
  for (;;) {
    Page page = exportPage(from, lDepartment, 2, since);
    ASSERT_TRUE(page.ok) << page.error;
    maxStamp = page.maxStamp;
    if (page.stamp == "0xFFFFFFFFFFFFFFFF") break;
    ASSERT_GT(page.stamp, since.empty() ? std::string("0x0000000000000000") : since);
    stamps.push_back(page.stamp);
    auto [ok, error] = importKeys(to, lDepartment, page.xml);
    EXPECT_TRUE(ok) << error;
    since = page.stamp;
    ASSERT_LT(++pages, 10);
  }
  EXPECT_EQ(pages, 3);  // six department keys, two per page
  EXPECT_EQ(stamps.back(), maxStamp);

  EXPECT_EQ(rows(target, "SELECT FItemID FROM t_Item ORDER BY FItemID"), "0;106;109;201");
  EXPECT_EQ(rows(target, "SELECT FItemID FROM t_Department ORDER BY FItemID"), "106;109");
}

// What still points at a deleted item (its bar codes here) must not pass to the next new item.
TEST_F(DataKeyTest, ANewItemNeverTakesTheIdOfADeletedOne) {
  std::string target = newAccountSet();
  exec(target, "INSERT INTO t_Item (FItemClassID, FNumber, FName, UUID) VALUES (2, '01', 'a', 'D-1')");
  exec(target, "INSERT INTO t_BarCode (FTypeID, FItemID, FBarCode) SELECT 2, FItemID, 'B-1' FROM t_Item WHERE UUID = 'D-1'");
  auto [ok, error] = importKeys(props(target), lDepartment,
                                "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"Delete\"><Delete><Mark>t_Item</Mark>"
                                "<UUID>D-1</UUID></Delete></Root>");
  ASSERT_TRUE(ok) << error;
  exec(target, "INSERT INTO t_Item (FItemClassID,FLevel,FDetail,FParentID,FNumber,FName) VALUES (2,1,1,0,'02','b')");
  EXPECT_EQ(rows(target, "SELECT COUNT(*) FROM t_BarCode b, t_Item i WHERE b.FItemID = i.FItemID AND i.FNumber = '02'"),
            "0");
}

TEST_F(DataKeyTest, AWholeTypeInOnePageAndAnEmptyType) {
  std::string source = newAccountSet();
  exec(source, "INSERT INTO t_BaseDataDeleted (FTableName, FItemClassID, FDeletedUUID) VALUES "
               "('t_Item', 7, 'U-1'), ('t_Item', 7, 'U-2'), ('t_Item', 7, 'U-3')");
  Page all = exportPage(props(source), lMeasureUnit, 0, "");
  ASSERT_TRUE(all.ok) << all.error;
  EXPECT_EQ(all.stamp, all.maxStamp);
  EXPECT_NE(all.xml.find("<UUID>U-3</UUID>"), std::string::npos);
  EXPECT_NE(all.xml.find("<Remark>未知类别</Remark>"), std::string::npos);

  Page none = exportPage(props(source), lCustomer, 100, "");
  ASSERT_TRUE(none.ok) << none.error;
  EXPECT_EQ(none.maxStamp, "0x0000000000000000");
  EXPECT_EQ(none.stamp, "0xFFFFFFFFFFFFFFFF");
  EXPECT_EQ(none.xml.find("<Delete>"), std::string::npos);
}

TEST_F(DataKeyTest, StandaloneKeysDeleteByUuidAndAMissingOneIsNoFailure) {
  std::string source = newAccountSet("s.db"), target = newAccountSet("t.db");
  exec(source, "INSERT INTO t_BaseDataDeleted (FTableName, FItemClassID, FDeletedUUID) VALUES "
               "('t_Currency', 0, 'CUR-1'), ('t_Currency', 0, 'CUR-404')");
  exec(target, "INSERT INTO t_Currency (FCurrencyID, FNumber, FName, UUID) VALUES (5, 'USD', 'Dollar', 'CUR-1'), "
               "(6, 'EUR', 'Euro', 'CUR-2')");
  Page page = exportPage(props(source), lCurrency, 100, "");
  ASSERT_TRUE(page.ok) << page.error;
  EXPECT_NE(page.xml.find("<Remark>币别</Remark>"), std::string::npos);
  auto [ok, error] = importKeys(props(target), lCurrency, page.xml);
  EXPECT_TRUE(ok) << error;
  EXPECT_EQ(rows(target, "SELECT FCurrencyID FROM t_Currency"), "6");
}

TEST_F(DataKeyTest, RefusalsAndBadInputEndTheCallWithTheirText) {
  std::string path = newAccountSet();
  const std::string commercial = props(path, "UserID=16;AcctType=SY");

  auto [ok, error] = importKeys(commercial, lWorkCenter, "<Root VelmoraNameSpace=\"Delete\"/>");
  EXPECT_FALSE(ok);
  EXPECT_NE(error.find("商业账套不支持工作中心删除关键字的导入导出!"), std::string::npos) << error;
  EXPECT_NE(error.find("-2147221304"), std::string::npos) << error;
  EXPECT_NE(error.find("Tarnwick.clsDataKey"), std::string::npos) << error;

  Page unknown = exportPage(props(path), 24, 100, "");
  EXPECT_FALSE(unknown.ok);
  EXPECT_NE(unknown.error.find("不支持不识别删除关键字的导入导出!"), std::string::npos) << unknown.error;

  // A stamp is pasted into the statement: anything but "0x" and hexadecimal digits is refused.
  Page injected = exportPage(props(path), lDepartment, 100, "0x0) OR (1=1");
  EXPECT_FALSE(injected.ok);
  EXPECT_EQ(injected.error.find("SQLite"), std::string::npos) << injected.error;

  auto [parsed, parseError] = importKeys(props(path), lDepartment, "<Root><Delete>");
  EXPECT_FALSE(parsed);
  EXPECT_FALSE(parseError.empty());

  Page noProps = exportPage("UserID=16", lDepartment, 100, "");
  EXPECT_FALSE(noProps.ok);
  EXPECT_FALSE(noProps.error.empty());
  EXPECT_EQ(CLng(keys->Get("ErrorCount")), 0);
}

TEST_F(DataKeyTest, AFailingKeyWritesItsLineAndTheRestGoOn) {
  std::string target = newAccountSet();
  exec(target, "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, UUID) VALUES (101, 2, '01', 'a', 'D-1'), "
               "(102, 2, '02', 'b', 'D-2')");
  // The department table is gone, so every department delete fails after its t_Item delete.
  exec(target, "DROP TABLE t_Department");
  const std::string xml = "<Root VelmoraNameSpace=\"Delete\"><Delete><Remark>核算项目--部门</Remark><UUID>D-1</UUID>"
                          "<Mark>部门</Mark></Delete><Delete><UUID>D-2</UUID></Delete></Root>";
  auto [ok, error] = importKeys(props(target), lDepartment, xml);
  EXPECT_FALSE(ok);
  EXPECT_NE(error.find("导入关键字记录(Mark:部门 UUID:D-1)失败!\r\n错误号:"), std::string::npos) << error;
  EXPECT_NE(error.find("导入关键字记录(Mark: UUID:D-2)失败!"), std::string::npos) << error;
  // Each failed key was rolled back as a whole, and counted.
  EXPECT_EQ(rows(target, "SELECT FItemID FROM t_Item WHERE FItemID > 0 ORDER BY FItemID"), "101;102");
  EXPECT_EQ(CLng(keys->Get("ErrorCount")), 2);
  // The facade adds them to its own count, as it does a type's failed records.
  ObjectRef facade = CreateObject("Quillane.clsExpImp");
  std::vector<Variant> args{props(target), lDepartment, xml, ""};
  EXPECT_FALSE(CBool(facade->Call("ImportXMLDataKey", args)));
  EXPECT_EQ(CLng(facade->Get("ErrorCount")), 2);
  // The next import counts its own.
  exec(target, "CREATE TABLE t_Department (FItemID INT)");
  EXPECT_TRUE(importKeys(props(target), lDepartment, xml).first);
  EXPECT_EQ(CLng(keys->Get("ErrorCount")), 0);
}

}  // namespace
}  // namespace quillane
