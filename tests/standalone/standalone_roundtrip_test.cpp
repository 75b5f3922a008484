// Every standalone type carried from one account set into another, through the facade and through its
// own class: what arrives is what left, column by column.
#include <gtest/gtest.h>

#include <functional>

#include "standalone_fixture.h"

namespace quillane::testing {
namespace {

struct TypeCase {
  const char* name;
  std::int32_t lIO;
  const char* progID;
  const char* typeName;
  // The exchanged columns of every table the type writes, keyed by what identifies a row across
  // account sets (a Null that travels as the empty text compared as one).
  std::vector<const char*> tables;
  // The statement of rows whose every text holds the given text (as SQL text).
  std::function<std::string(const std::string& odd)> oddRows;
  // The types the records link to, carried into the target first (ItemObject values).
  std::vector<std::int32_t> carriedFirst = {};
};
void PrintTo(const TypeCase& c, std::ostream* os) { *os << c.name; }

const TypeCase kTypes[] = {
    {"settle", 22, "Quillane.clsSettle", "Settle",
     {"SELECT s.FNumber, s.FName, s.UUID, s.FStatus, s.FDeleted, s.FSystemType, IsNull(a.FNumber, '-'), "
      "CASE WHEN s.FAcctID > 0 THEN 1 ELSE s.FAcctID END FROM t_Settle s LEFT JOIN t_Account a ON a.FAccountID = "
      "s.FAcctID AND s.FAcctID > 0 ORDER BY s.FNumber"},
     [](const std::string& odd) {
       return "INSERT INTO t_Settle (FNumber, FName, FAcctID, UUID) VALUES ('" + odd + "', '" + odd + " 名', 1, '" + odd +
              " U')";
     },
     {3, 1}},
    {"vouchergroup", 19, "Quillane.clsVoucherGroup", "VoucherGroup",
     {"SELECT FName, FDRange, FCRange, FDCRange, FNDRange, FNCRange, FNDCRange, FStandard, FLimitMulti, UUID, FSystemType "
      "FROM t_VoucherGroup WHERE FGroupID <> 0 ORDER BY FName"},
     [](const std::string& odd) {
       return "INSERT INTO t_VoucherGroup (FName, FDRange, FCRange, FDCRange, FNDRange, FNCRange, FNDCRange, FStandard, "
              "FLimitMulti, UUID) VALUES ('" + odd + "', '" + odd + " d', '" + odd + " c', '" + odd + " dc', '" + odd +
              " nd', '" + odd + " nc', '" + odd + " ndc', 1, 7, '" + odd + " U')";
     }},
    {"currency", 3, "Quillane.clsCurrency", "Currency",
     {"SELECT FNumber, FName, FExchangeRate, FOperator, FScale, FFixRate, FDeleted, UUID, FSystemType FROM t_Currency "
      "ORDER BY FNumber"},
     [](const std::string& odd) {
       return "INSERT INTO t_Currency (FNumber, FName, FExchangeRate, FOperator, FScale, FFixRate, UUID) VALUES ('" + odd +
              "', '" + odd + " 名', 0.00001234, '/', 6, 1, '" + odd + " U')";
     }},
    {"account", 1, "Quillane.clsAccount", "Account",
     {"SELECT a.FNumber, a.FName, IsNull(a.FHelperCode, ''), a.FLevel, a.FDetail, a.FAdjustRate, a.FContact, a.FQuantities, a.FIsCash, "
      "a.FIsBank, a.FJournal, a.FIsCashFlow, a.FAcctint, a.FIntRate, a.FDC, IsNull(c.FNumber, '-'), IsNull(u.FNumber, '-'), "
      "IsNull(ug.FName, '-'), a.FGroupID, IsNull(p.FNumber, '-'), IsNull(r.FNumber, '-'), a.UUID, a.FControlSystem, "
      "a.FSystemType, a.FDelete FROM t_Account a LEFT JOIN t_Currency c ON c.FCurrencyID = a.FCurrencyID "
      "LEFT JOIN t_MeasureUnit u ON u.FMeasureUnitID = a.FMeasureUnitID LEFT JOIN t_UnitGroup ug ON ug.FUnitGroupID = "
      "a.FUnitGroupID LEFT JOIN t_Account p ON p.FAccountID = a.FParentID AND a.FParentID <> 0 "
      "LEFT JOIN t_Account r ON r.FAccountID = a.FRootID AND a.FRootID <> 0 ORDER BY a.FNumber",
      "SELECT FGroupID, FClassID, FName, FName_cht, FName_en FROM t_AcctGroup ORDER BY FGroupID",
      "SELECT a.FNumber, i.FNumber, v.FItemID FROM t_Account a JOIN t_ItemDetailV v ON v.FDetailID = a.FDetailID AND "
      "a.FDetailID <> 0 JOIN t_ItemClass i ON i.FItemClassID = v.FItemClassID ORDER BY a.FNumber, i.FNumber",
      "SELECT a.FNumber, d.FDetailCount, d.F1, d.F2, d.F3, d.F4, d.F8 FROM t_Account a JOIN t_ItemDetail d ON "
      "d.FDetailID = a.FDetailID ORDER BY a.FNumber"},
     [](const std::string& odd) {
       return "INSERT INTO t_Account (FAccountID, FNumber, FName, FHelperCode, FDetail, UUID) VALUES (20, '" + odd +
              "', '" + odd + " 名', '" + odd + " H', 0, '" + odd + " U'), (21, '" + odd + ".1', '" + odd + " 子', '', 1, '" +
              odd + " U1')\r\nUPDATE t_Account SET FParentID = 20, FLevel = 2 WHERE FAccountID = 21\r\n"
              "UPDATE t_Account SET FRootID = 20 WHERE FAccountID IN (20, 21)";
     },
     {3}},
};

class StandaloneRoundTrip : public StandaloneTest, public ::testing::WithParamInterface<TypeCase> {
 protected:
  // The records the types link to, under other identifiers in the target.
  static void linkTargets(const std::string& path, int offset) {
    exec(path, "INSERT INTO t_Account (FAccountID, FNumber, FName, UUID) VALUES (" + std::to_string(1 + offset) +
                   ", '1001', '库存现金', 'A0000002-0000-4000-8000-000000000001'), (" + std::to_string(2 + offset) +
                   ", '1002', '银行存款', 'A0000002-0000-4000-8000-000000000002')\r\nUPDATE t_Account SET FRootID = FAccountID");
  }
  std::string content(const std::string& path) const {
    std::string text;
    for (const char* table : GetParam().tables) text += rows(path, table) + " | ";
    return text;
  }
  // The units of the sample, which no type carries yet.
  static void sampleUnits(const std::string& path) {
    exec(path, "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, FLevel, FDetail) VALUES (70, 7, '重量组', "
               "'重量组', 1, 0), (71, 7, 'kg', '千克', 2, 1)\r\nINSERT INTO t_UnitGroup (FUnitGroupID, FName) VALUES (70, "
               "'重量组')\r\nINSERT INTO t_MeasureUnit (FMeasureUnitID, FItemID, FUnitGroupID, FNumber, FName) VALUES "
               "(71, 71, 70, 'kg', '千克')");
  }
  void carry(std::int32_t lIO, const std::string& source, const std::string& target) {
    std::vector<Variant> page{props(source), lIO, "", std::int32_t{0}, "", "", ""};
    ASSERT_TRUE(CBool(facade->Call("Export", page))) << CStr(page[6]);
    std::vector<Variant> imported{props(target), lIO, page[2], ""};
    ASSERT_TRUE(CBool(facade->Call("Import", imported))) << CStr(imported[3]);
  }

  ObjectRef facade = CreateObject("Quillane.clsExpImp");
};

TEST_P(StandaloneRoundTrip, TheSampleArrivesWholeThroughTheFacade) {
  const TypeCase& c = GetParam();
  std::string source = dir_.file("source.db");
  accountset::CreateSample(source, 0);
  std::string target = newAccountSet("target.db");
  sampleUnits(target);
  for (std::int32_t first : c.carriedFirst) carry(first, source, target);

  std::vector<Variant> page{props(source), c.lIO, "", std::int32_t{0}, "", "", ""};
  ASSERT_TRUE(CBool(facade->Call("Export", page))) << CStr(page[6]);
  const std::string xml = CStr(page[2]);
  ASSERT_FALSE(valuesOf(xml, c.typeName, "Name").empty()) << xml;
  for (int round = 0; round < 2; ++round) {  // the second time the same rows are found and rewritten
    std::vector<Variant> imported{props(target), c.lIO, xml, ""};
    ASSERT_TRUE(CBool(facade->Call("Import", imported))) << CStr(imported[3]);
    EXPECT_EQ(content(target), content(source));
  }
  EXPECT_EQ(CLng(facade->Get("ErrorCount")), 0);
}

TEST_P(StandaloneRoundTrip, PagesThroughTheFacadeEndWithTheEndStamp) {
  const TypeCase& c = GetParam();
  std::string source = dir_.file("source.db");
  accountset::CreateSample(source, 0);
  std::vector<Variant> all{props(source), c.lIO, "", std::int32_t{0}, "", "", ""};
  ASSERT_TRUE(CBool(facade->Call("Export", all))) << CStr(all[6]);
  const std::vector<std::string> everyName = valuesOf(CStr(all[2]), c.typeName, "Name");

  std::vector<std::string> names;
  std::string stamp, maxStamp;
  for (int pages = 0; stamp != "0xFFFFFFFFFFFFFFFF"; ++pages) {
    ASSERT_LT(pages, 10);
    std::vector<Variant> page{props(source), c.lIO, "", std::int32_t{2}, stamp, "", ""};
    ASSERT_TRUE(CBool(facade->Call("Export", page))) << CStr(page[6]);
    for (const std::string& name : valuesOf(CStr(page[2]), c.typeName, "Name")) names.push_back(name);
    EXPECT_LE(valuesOf(CStr(page[2]), c.typeName, "Name").size(), 2u);
    stamp = CStr(page[4]);
    maxStamp = CStr(page[5]);
  }
  EXPECT_EQ(names, everyName);
  EXPECT_EQ(maxStamp, CStr(all[5]));
}

TEST_P(StandaloneRoundTrip, QuotesPercentSignsAndChineseTextInEveryTextField) {
  const TypeCase& c = GetParam();
  std::string source = newAccountSet("source.db"), target = newAccountSet("target.db");
  linkTargets(source, 0);
  linkTargets(target, 40);
  exec(source, c.oddRows("O''Neil 100% 部_门"));  // as SQL text: O'Neil 100% 部_门
  ObjectRef object = CreateObject(c.progID);
  ExportedPage page = ExportPage(object, props(source), 0);
  ASSERT_TRUE(page.ok) << page.error;
  for (int round = 0; round < 2; ++round) {
    ImportResult imported = ImportXml(CreateObject(c.progID), props(target), page.xml);
    ASSERT_TRUE(imported.ok) << imported.error;
    EXPECT_EQ(content(target), content(source));
  }
  EXPECT_TRUE(holds(content(target), "O'Neil 100% 部_门")) << content(target);
}

INSTANTIATE_TEST_SUITE_P(Types, StandaloneRoundTrip, ::testing::ValuesIn(kTypes),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quillane::testing
