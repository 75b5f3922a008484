// The schema and the import agree: a document the schema accepts is imported whole, record by record,
// or a record fails alone with a line that names the key; what the import cannot take, the schema
// refuses.
#include <gtest/gtest.h>

#include "facade_fixture.h"

namespace quillane::testing {
namespace {

constexpr std::int32_t lCurrency = 3, lDepartment = 6;

bool holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string currencyWith(const std::string& number, const std::string& scale, const std::string& fixRate) {
  return "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"Currency\"><Currency>" + element("Name", "币" + number) +
         element("Number", number) + element("Scale", scale) + element("IsFixRate", fixRate) + "</Currency></Root>";
}

TEST_F(FacadeTest, WhatTheSchemaAcceptsIsImportedWholeOrFailsNamingTheKey) {
  struct Case {
    const char* what;
    std::int32_t lIO;
    std::string document;
    bool ok;
    const char* errorHolds;  // the text the error names; empty: no error
    const char* check;
    const char* expected;
  };
  const std::string target = newAccountSet("target.db");
  addDepartment(target, 10, "01", "销售部", 0, true, ", FPhone", ", '123'");
  const Case cases[] = {
      {"a department without IsDetail, new", lDepartment, document({element("Name", "人事部") + element("Number", "05")}),
       false, "IsDetail", "SELECT COUNT(*) FROM t_Item WHERE FNumber = '05'", "0"},
      {"a department without IsDetail, existing", lDepartment,
       document({element("Name", "销售部") + element("Number", "01") + element("Phone", "456")}), false, "IsDetail",
       "SELECT i.FDetail, d.FPhone FROM t_Item i JOIN t_Department d ON d.FItemID = i.FItemID WHERE i.FItemID = 10",
       "True,123"},
      {"a currency with an empty fixed-rate flag", lCurrency, currencyWith("EUR", "2", ""), true, "",
       "SELECT FFixRate FROM t_Currency WHERE FNumber = 'EUR'", "0"},
      {"a currency with a fixed-rate flag no Boolean reads", lCurrency, currencyWith("GBP", "2", "maybe"), false,
       "IsFixRate", "SELECT COUNT(*) FROM t_Currency WHERE FNumber = 'GBP'", "0"},
      {"a currency whose scale is beyond a smallint", lCurrency, currencyWith("CHF", "40000", "0"), false, "Scale",
       "SELECT COUNT(*) FROM t_Currency WHERE FNumber = 'CHF'", "0"},
  };
  for (const Case& c : cases) {
    Imported imported = facadeImport(c.lIO, c.document, props(target));
    EXPECT_EQ(imported.ok, c.ok) << c.what << "\n" << imported.error;
    if (*c.errorHolds) {
      EXPECT_TRUE(holds(imported.error, c.errorHolds)) << c.what << "\n" << imported.error;
    } else {
      EXPECT_EQ(imported.error, "") << c.what;
    }
    EXPECT_EQ(rows(target, c.check), c.expected) << c.what;
  }
}

}  // namespace
}  // namespace quillane::testing
