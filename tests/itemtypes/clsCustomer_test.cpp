// What customers carry beyond a plain round trip: the service-pack gates of their newer columns, the
// texts that stand for no date, the licence texts that only arrive, and an account set that lacks a
// column.
#include <gtest/gtest.h>

#include "item_type_fixture.h"

namespace quillane::testing {
namespace {

class CustomerTest : public ItemTypeTest {
 protected:
  void SetUp() override {
    ItemTypeTest::SetUp();
    path = newAccountSet();
    exec(path, "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, UUID) VALUES (10, 1, 'C01', '甲公司', 'U-C01')");
    exec(path, "INSERT INTO t_Organization (FItemID, FNumber, FName, FCIQNumber, FLastTradeDate, FLicence) VALUES "
               "(10, 'C01', '甲公司', 'CIQ-1', '2007-05-01', 'L-1')");
    exec(path, "INSERT INTO t_Account (FAccountID, FNumber, FName, UUID) VALUES (3, '2221', '应交税费', 'A-3')");
  }
  void useServicePack(const std::string& version) {
    exec(path, "UPDATE t_SystemProfile SET FValue = '" + version + "' WHERE FKey = 'ServicePack'");
  }
  std::string exported() {
    Page page = exportPage(customers, props(path));
    EXPECT_TRUE(page.ok) << page.error;
    return page.xml;
  }
  void import(const std::string& ownElements) {
    Imported imported = importXml(customers, props(path), document("Customer", {keys("C01", "甲公司") + ownElements}));
    ASSERT_TRUE(imported.ok) << imported.error;
  }
  std::string stored(const std::string& columns) {
    return rows(path, "SELECT " + columns + " FROM t_Organization WHERE FItemID = 10");
  }

  ObjectRef customers = CreateObject("Quillane.clsCustomer");
  std::string path;
};

TEST_F(CustomerTest, NewerColumnsTravelOnlyFromTheirServicePackOnInBothDirections) {
  struct Case {
    const char* servicePack;
    const char* element;
    std::string value;     // as the document holds it
    const char* column;
    const char* sqlValue;  // the column's value as SQL, for the export
    const char* stored;    // the column after the import
    bool travels;
  };
  const std::string payTax = link("PayTaxAcctID", "2221", "应交税费");
  const Case cases[] = {
      {"2.9.9.9", "PayTaxAcctID", payTax, "FPayTaxAcctID", "3", "3", false},
      {"3.0.0.0", "PayTaxAcctID", payTax, "FPayTaxAcctID", "3", "3", true},
      {"2.0.0.2", "PaperPeriod", element("PaperPeriod", "2009-01-31"), "FPaperPeriod", "'2009-01-31'", "2009-01-31", false},
      {"2.0.0.3", "PaperPeriod", element("PaperPeriod", "2009-01-31"), "FPaperPeriod", "'2009-01-31'", "2009-01-31", true},
      {"2.0.0.2", "AlarmPeriod", element("AlarmPeriod", "2009-01-31"), "FAlarmPeriod", "'2009-01-31'", "2009-01-31", false},
      {"2.0.0.3", "AlarmPeriod", element("AlarmPeriod", "2009-01-31"), "FAlarmPeriod", "'2009-01-31'", "2009-01-31", true},
      {"2.0.0.6", "ValueAddRate", element("ValueAddRate", "13"), "FValueAddRate", "13", "13", false},
      {"2.0.0.7", "ValueAddRate", element("ValueAddRate", "13"), "FValueAddRate", "13", "13", true},
      // Outside every gate: at the oldest service pack too.
      {"2.0.0.1", "IsCreditMgr", element("IsCreditMgr", "True"), "FIsCreditMgr", "1", "True", true},
      {"2.0.0.1", "BeforeHandDay", element("BeforeHandDay", "15"), "FCarryingAOS", "15", "15", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.servicePack) + " " + c.element);
    exec(path, "UPDATE t_Organization SET FPayTaxAcctID = 0, FPaperPeriod = NULL, FAlarmPeriod = NULL, "
               "FValueAddRate = 17, FIsCreditMgr = 0, FCarryingAOS = 0");
    const std::string before = stored(c.column);
    useServicePack(c.servicePack);
    import(c.value);
    EXPECT_EQ(stored(c.column), c.travels ? c.stored : before);

    exec(path, std::string("UPDATE t_Organization SET ") + c.column + " = " + c.sqlValue);
    EXPECT_EQ(exported().find("<" + std::string(c.element) + ">") != std::string::npos, c.travels);
  }
}

TEST_F(CustomerTest, TextsThatStandForNoDateLeaveTheDateAsItIs) {
  useServicePack("3.0.0.0");
  const char* columns = "FLastTradeDate, FLastReceiveDate, FPaperPeriod, FAlarmPeriod";
  exec(path, "UPDATE t_Organization SET FLastTradeDate = '2001-01-01', FLastReceiveDate = '2001-01-02', "
             "FPaperPeriod = '2001-01-03', FAlarmPeriod = '2001-01-04'");
  const std::string before = stored(columns);
  for (const char* none : {"0001-01-01", "1899-12-30"}) {
    import(element("LastTradeDate", none) + element("LastReceiveDate", none) + element("PaperPeriod", none) +
           element("AlarmPeriod", none));
    EXPECT_EQ(stored(columns), before) << none;
  }
  import(element("LastTradeDate", "2010-10-01") + element("LastReceiveDate", "2010-10-02") +
         element("PaperPeriod", "2010-10-03") + element("AlarmPeriod", "2010-10-04"));
  EXPECT_EQ(stored(columns), "2010-10-01,2010-10-02,2010-10-03,2010-10-04");
}

TEST_F(CustomerTest, LicenceTextsAreImportedButNeverExported) {
  EXPECT_EQ(exported().find("<Licence>"), std::string::npos);
  import(element("Licence", "L-2") + element("Permit", "P-2") + element("Certify", "许可证 100%"));
  EXPECT_EQ(stored("FLicence, FPermit, FCertify"), "L-2,P-2,许可证 100%");
  EXPECT_EQ(exported().find("<Permit>"), std::string::npos);
}

TEST_F(CustomerTest, AnAccountSetWithoutAColumnExportsEverythingElse) {
  execSqlite(path, "ALTER TABLE t_Organization DROP COLUMN FCIQNumber");
  const std::string xml = exported();
  EXPECT_EQ(xml.find("<CIQNumber>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<LastTradeDate>2007-05-01</LastTradeDate>"), std::string::npos) << xml;
}

}  // namespace
}  // namespace quillane::testing
