// Currencies: found by their code, the defaults of an incomplete record, and the operator and fixed-rate
// flag.
#include <gtest/gtest.h>

#include <functional>

#include "standalone_fixture.h"

namespace quillane::testing {
namespace {

struct CurrencyCase {
  const char* what;
  std::vector<std::string> records;
  std::function<void(ObjectRef&)> options;
  // t_Currency afterwards: FCurrencyID,FNumber,FName,FExchangeRate,FOperator,FScale,FFixRate,FDeleted,UUID,
  // FSystemType
  const char* rows;
  std::vector<std::string> calls;
};
void PrintTo(const CurrencyCase& c, std::ostream* os) { *os << c.what; }

std::string currency(const std::string& number, const std::string& name, const std::string& extra = "") {
  return element("Name", name) + element("Number", number) + extra;
}

const CurrencyCase kCases[] = {
    {"a new currency takes every key",
     {currency("EUR", "欧元", element("ExchangeRate", "7.85") + element("Operator", "*") + element("Scale", "4") +
                                  element("IsFixRate", "1") + element("UUID", "C2"))},
     {}, "1,USD,美元,7.1,*,2,1,0,C1,1;4,EUR,欧元,7.85,*,4,1,0,C2,1", {"CreateData 120 4 detail=True parent=0"}},
    {"missing keys take rate 1, '*', scale 2 and a floating rate", {currency("USD", "美元")}, {},
     "1,USD,美元,1,*,2,0,0,C1,1", {}},
    {"any operator but * divides", {currency("USD", "美元", element("Operator", "x") + element("IsFixRate", "False"))},
     {}, "1,USD,美元,1,/,2,0,0,C1,1", {}},
    {"the code is compared without regard to case; the name plays no part", {currency("usd", "美金")}, {},
     "1,usd,美金,1,*,2,0,0,C1,1", {}},
    // Matched by its first three characters, the currency is written with the whole number, by which the
    // next import finds it again.
    {"a longer number finds the currency of its code, and itself the next time",
     {currency("USD1", "美元"), currency("USD1", "美元", element("Scale", "3"))}, {}, "1,USD1,美元,1,*,3,0,0,C1,1", {}},
    {"a deleted currency is found and stays deleted", {currency("JPY", "日元", element("UUID", "C3"))}, {},
     "1,USD,美元,7.1,*,2,1,0,C1,1;3,JPY,日元,1,*,2,0,1,C3,1", {}},
    {"AddNewOnly leaves an existing currency and adds a new one",
     {currency("USD", "美元"), currency("HKD", "港币", element("UUID", "C4"))},
     [](ObjectRef& o) { o->Let("AddNewOnly", true); }, "1,USD,美元,7.1,*,2,1,0,C1,1;3,JPY,日元,2.05,/,0,0,1,,1;4,HKD,港币,1,*,2,0,0,C4,1",
     {"CreateData 120 4 detail=True parent=0"}},
    {"with CheckByUUID the UUID finds a currency under another code",
     {currency("US$", "美元", element("UUID", "C1"))}, [](ObjectRef& o) { o->Let("CheckByUUID", true); },
     "1,US$,美元,1,*,2,0,0,C1,1", {}},
    {"with CheckByUUID an empty UUID takes over no currency that has none",
     {currency("HKD", "港币", element("UUID", ""))}, [](ObjectRef& o) { o->Let("CheckByUUID", true); },
     "1,USD,美元,7.1,*,2,1,0,C1,1;4,HKD,港币,1,*,2,0,0,,1", {"CreateData 120 4 detail=True parent=0"}},
};

class CurrencyImport : public StandaloneTest, public ::testing::WithParamInterface<CurrencyCase> {};

TEST_P(CurrencyImport, Branches) {
  const CurrencyCase& c = GetParam();
  std::string target = newAccountSet();
  exec(target, "INSERT INTO t_Currency (FCurrencyID, FNumber, FName, FExchangeRate, FOperator, FScale, FFixRate, "
               "FDeleted, UUID) VALUES (1, 'USD', '美元', 7.1, '*', 2, 1, 0, 'C1'), (3, 'JPY', '日元', 2.05, '/', 0, 0, 1, '')");
  importInto(target, "Quillane.clsCurrency", "Currency", c.records, c.options);
  std::string all = rows(target, "SELECT FCurrencyID, FNumber, FName, FExchangeRate, FOperator, FScale, FFixRate, FDeleted, "
                                 "UUID, FSystemType FROM t_Currency ORDER BY FCurrencyID");
  // The deleted JPY row is part of every account set here; the cases name it only when it changes.
  const std::string untouchedJPY = ";3,JPY,日元,2.05,/,0,0,1,,1";
  if (!holds(c.rows, ";3,")) {
    ASSERT_TRUE(holds(all, untouchedJPY)) << all;
    all.erase(all.find(untouchedJPY), untouchedJPY.size());
  }
  EXPECT_EQ(all, c.rows);
  EXPECT_EQ(dataAccess.calls(), c.calls);
}

INSTANTIATE_TEST_SUITE_P(Records, CurrencyImport, ::testing::ValuesIn(kCases));

TEST_F(StandaloneTest, ACurrencyExportsTheKeysItHolds) {
  std::string source = newAccountSet();
  exec(source, "INSERT INTO t_Currency (FCurrencyID, FNumber, FName, FExchangeRate, FOperator, FScale, FFixRate, UUID) "
               "VALUES (1, 'USD', '美元', 7.1, '*', 2, 1, 'C1'), (2, 'EUR', NULL, NULL, NULL, NULL, NULL, NULL)");
  ExportedPage page = ExportPage(CreateObject("Quillane.clsCurrency"), props(source));
  ASSERT_TRUE(page.ok) << page.error;
  EXPECT_TRUE(holds(page.xml, "<Currency><Name>美元</Name><Number>USD</Number><ExchangeRate>7.1</ExchangeRate><Operator>*"
                              "</Operator><Scale>2</Scale><IsFixRate>1</IsFixRate><UUID>C1</UUID></Currency>"))
      << page.xml;
  EXPECT_TRUE(holds(page.xml, "<Currency><Name/><Number>EUR</Number><UUID/></Currency>")) << page.xml;
}

}  // namespace
}  // namespace quillane::testing
