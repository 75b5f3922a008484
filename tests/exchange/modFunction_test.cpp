// The shared procedures of modFunction: text, error texts, components and the props check.
#include "exchange/modFunction.h"

#include <gtest/gtest.h>

#include "exchange/MParse.h"
#include "exchange_db_fixture.h"
#include "platform/automation/automation.h"
#include "platform/sql/errors.h"
#include "support/automation_test.h"

namespace quillane::testing {
namespace {

using namespace modFunction;

TEST(ModFunctionText, Table) {
  const std::pair<std::string, std::string> addBackslash[] = {
      {"", ""}, {"/srv/velmora", "/srv/velmora/"}, {"/srv/velmora/", "/srv/velmora/"}, {"C:\\Velmora\\", "C:\\Velmora\\"}};
  for (const auto& [in, out] : addBackslash) EXPECT_EQ(AddBackslash(in), out) << in;
  const std::pair<std::string, std::string> fileName[] = {
      {"", ""}, {"C:\\Schema\\Customer.xsd", "Customer.xsd"}, {"/srv/Schema/Delete.xsd", "Delete.xsd"},
      {"SCHEMA\\a/b.xsd", "b.xsd"}, {"Stock.xsd", "Stock.xsd"}, {"/srv/", ""}};
  for (const auto& [in, out] : fileName) EXPECT_EQ(GetFileName(in), out) << in;
  const std::tuple<std::string, std::string, std::string> dotted[] = {
      {"01.02.003", "01.02", "003"}, {"003", "", "003"}, {"", "", ""}, {"01.", "01", ""}, {".5", "", "5"}};
  for (const auto& [in, before, after] : dotted) {
    std::string rest = "stale";
    EXPECT_EQ(SplitAtLastDot(in, rest), before) << in;
    EXPECT_EQ(rest, after) << in;
    EXPECT_EQ(AfterLastDot(in), after) << in;
  }
  EXPECT_EQ(EscapeQuotes("O'Neil's"), "O''Neil''s");
  EXPECT_EQ(EscapeQuotes("plain"), "plain");
}

TEST(ModFunctionText, NumberValuesKeepTheirDigitsAndRefuseWhatIsNoNumber) {
  const std::pair<Variant, std::string> numbers[] = {
      {Variant(" 123456789012.3456 "), "123456789012.3456"},
      {Variant("12345678901234567"), "12345678901234567"},
      {Variant("-0.000001"), "-0.000001"},
      {Variant("1.5D3"), "1.5E3"},
      {Variant("&H10"), "16"},
      {Variant(true), "1"},
      {Variant(Variant()), "0"},
      {Variant(CDec(Variant("12345678901234.1234567891"))), "12345678901234.1234567891"},
      {Variant(Currency{-9223372036854775807LL}), "-922337203685477.5807"},
      {Variant(2.5), "2.5"}};
  for (const auto& [in, out] : numbers) EXPECT_EQ(NumberValue(in, "Amount"), out) << CStr(in);
  for (const Variant& bad : {Variant(""), Variant("1;DROP TABLE t_Item"), Variant("1e999"), Variant::null(),
                             Variant(std::make_shared<AutomationObject>())})
    EXPECT_THROW(NumberValue(bad, "Amount"), AutomationError);
}

TEST(ModFunctionText, TimeStampTexts) {
  for (const char* good : {"0x0000000000000000", "0xFFFFFFFFFFFFFFFF", "0x000000000001a20F", "0X00000000000007D1"})
    EXPECT_TRUE(IsTimeStampText(good)) << good;
  // A short stamp would run and match nothing: a paging caller would stop and miss every change.
  for (const char* bad : {"", "0x", "0x18", "0x000000000000018", "0x00000000000000018", "0000000000000018",
                          "0x000000000000001G", "0x0) OR (1=1", " 0x0000000000000018"})
    EXPECT_FALSE(IsTimeStampText(bad)) << bad;
  AutomationError e = ErrorOf([] { RequireTimeStampText("0x18", "Tarnwick.clsItem"); });
  EXPECT_EQ(e.source, "Tarnwick.clsItem");
  EXPECT_EQ(e.description, "时间戳应为0x后接16位十六进制数字（如0x000000000000A1F3），而不是:0x18");
}

TEST(ModFunctionText, BytesToHex) {
  EXPECT_EQ(BytesToHex(Variant(Bytes{0, 0, 0, 0, 0, 1, 0xA2, 0x0F})), "0x000000000001A20F");
  EXPECT_EQ(BytesToHex(Variant(Bytes{})), "0x");
  for (const Variant& v : {Variant::null(), Variant(), Variant("0x01"), Variant(std::int32_t{1})})
    EXPECT_EQ(BytesToHex(v), "0x0000000000000000") << TypeName(v);
}

class ErrorTexts : public ExchangeDbTest {};

TEST_F(ErrorTexts, QuoteTheStatementForDatabaseErrorsOnly) {
  AutomationError database(static_cast<std::int32_t>(0x80040E2Fu), sql::kProviderSource, "UNIQUE constraint failed");
  EXPECT_EQ(FormatErrInfo(database, "INSERT INTO t_Item VALUES (1)"),
            "错误号:-2147217873\r\n错误源:Microsoft OLE DB Provider for SQL Server\r\n错误描述:UNIQUE constraint failed\r\n"
            "执行错误的SQL语句:INSERT INTO t_Item VALUES (1)\r\n");
  EXPECT_EQ(FormatErrInfo(database, ""),
            "错误号:-2147217873\r\n错误源:Microsoft OLE DB Provider for SQL Server\r\n错误描述:UNIQUE constraint failed");
  AutomationError refusal(static_cast<std::int32_t>(0x800400C8u), "Tarnwick.clsItem", "不支持");
  EXPECT_EQ(FormatErrInfo(refusal, "SELECT 1"), "错误号:-2147221304\r\n错误源:Tarnwick.clsItem\r\n错误描述:不支持");
}

TEST_F(ErrorTexts, ImportErrorLine) {
  AutomationError e(13, "Quillane", "Type mismatch");
  EXPECT_EQ(ImportErrorLine("导入结算方式记录(Number:", RecordIdentification("01", "Cash", "U-1"), e, "UPDATE x"),
            "导入结算方式记录(Number:01,Name:Cash,UUID:U-1)失败!\r\n错误号:13\r\n错误源:Quillane\r\n错误描述:Type mismatch\r\n");
  AutomationError db(static_cast<std::int32_t>(0x80040E14u), sql::kProviderSource, "syntax");
  EXPECT_TRUE(ImportErrorLine("p(", "Name:x", db, "SELECT").ends_with("执行错误的SQL语句:SELECT\r\n\r\n"))
      << "a quoted statement ends in a line break of its own";
}

TEST_F(ErrorTexts, LabelsAreTranslated) {
  useLanguage("en");
  AutomationError database(static_cast<std::int32_t>(0x80040E14u), sql::kProviderSource, "near x");
  EXPECT_EQ(FormatErrInfo(database, "SELECT x"),
            "Error number:-2147217900\r\nError source:Microsoft OLE DB Provider for SQL Server\r\nError description:near "
            "x\r\nFailed SQL statement:SELECT x\r\n");
}

class Components : public ExchangeDbTest {};

TEST_F(Components, CreateObjectExExtendsTheDescription) {
  AutomationError e = ErrorOf([] { CreateObjectEx("No.Such", "", true); });
  EXPECT_EQ(e.number, 429);
  EXPECT_EQ(e.description, "ActiveX component can't create object -- No.Such");
  EXPECT_EQ(CreateObjectEx("No.Such", "", false), nullptr);
  EXPECT_NE(CreateObjectEx("VLMConnection.Connection", "", true), nullptr);
  EXPECT_EQ(ErrorOf([] { CreateObjectEx("VLMConnection.Connection", "far-away", true); }).description,
            "The remote server machine does not exist or is unavailable -- VLMConnection.Connection");
}

TEST_F(Components, OpenConnectionCreatesOnceAndSetsTheConnectString) {
  std::string path = newAccountSet();
  ASSERT_TRUE(MParse::ParseProps(props(path)));
  ObjectRef connection;
  OpenConnection(connection);
  ASSERT_NE(connection, nullptr);
  ObjectRef same = connection;
  OpenConnection(connection);
  EXPECT_EQ(connection, same);
  EXPECT_EQ(connection->Get("ConnString"), Variant(accountset::ConnectString(path)));
  std::vector<Variant> query{Variant("SELECT FName FROM t_User WHERE FUserID = 16")};
  EXPECT_EQ(FieldValue(connection->Call("GetAnyRecordSet", query).object(), "fname"), Variant("Administrator"));
}

TEST_F(Components, InitPropsTurnsEveryFailureIntoItsText) {
  std::string path = newAccountSet();
  std::string error;
  EXPECT_TRUE(InitProps(props(path), error));
  EXPECT_EQ(error, "");
  EXPECT_FALSE(InitProps(props(path, "AcctType=GY;acctType=GY"), error));
  EXPECT_EQ(error, "错误号:457\r\n错误源:Quillane\r\n错误描述:This key is already associated with an element of this collection");
  EXPECT_FALSE(InitProps(props(dir_.file("missing.db")), error));
  EXPECT_TRUE(error.starts_with("错误号:-2147467259\r\n错误源:Microsoft OLE DB Provider for SQL Server\r\n")) << error;
  EXPECT_EQ(error.find("执行错误的SQL语句"), std::string::npos) << "no statement is known to InitProps";
  ClassOverride broken("VLMConnection.Connection", [] { return ObjectRef(); });
  EXPECT_FALSE(InitProps(props(path), error));
  EXPECT_EQ(error, "错误号:429\r\n错误源:Quillane\r\n错误描述:ActiveX component can't create object -- VLMConnection.Connection");
}

}  // namespace
}  // namespace quillane::testing
