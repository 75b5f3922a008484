// Money and decimal values of a record travel exactly: imported, stored, exported and imported again,
// each keeps every digit its column's type holds, or the record is refused with SQL Server's error.
#include <gtest/gtest.h>

#include "item_type_fixture.h"

namespace quillane::testing {
namespace {

struct NumberCase {
  const char* element;
  const char* column;
  const char* written;   // the element's text in the first document
  const char* expected;  // what the column then holds and the export writes, or the refusal's text
  bool refused = false;
};

// FLastTradeAmount is money; FMinForeReceiveRate (a number field) and FDiscount (a text field) are
// decimal(28, 10).
const NumberCase kCases[] = {
    {"LastTradeAmount", "FLastTradeAmount", "123456789012.3456", "123456789012.3456"},
    {"LastTradeAmount", "FLastTradeAmount", "922337203685477.5807", "922337203685477.5807"},
    {"LastTradeAmount", "FLastTradeAmount", "-922337203685477.5808", "-922337203685477.5808"},
    {"LastTradeAmount", "FLastTradeAmount", "0.0001", "0.0001"},
    {"LastTradeAmount", "FLastTradeAmount", "-0.00005", "-0.0001"},
    {"LastTradeAmount", "FLastTradeAmount", "1234.56789", "1234.5679"},
    {"LastTradeAmount", "FLastTradeAmount", "922337203685477.5808",
     "Arithmetic overflow error converting expression to data type money.", true},
    {"MinForeReceiveRate", "FMinForeReceiveRate", "0.000001", "0.000001"},
    {"MinForeReceiveRate", "FMinForeReceiveRate", "12345678901234.1234567891", "12345678901234.1234567891"},
    {"MinForeReceiveRate", "FMinForeReceiveRate", "12345678901234567", "12345678901234567"},
    {"MinForeReceiveRate", "FMinForeReceiveRate", "999999999999999999.9999999999", "999999999999999999.9999999999"},
    {"MinForeReceiveRate", "FMinForeReceiveRate", "-999999999999999999.9999999999", "-999999999999999999.9999999999"},
    {"MinForeReceiveRate", "FMinForeReceiveRate", "0.00000000005", "0.0000000001"},
    {"MinForeReceiveRate", "FMinForeReceiveRate", "1000000000000000000",
     "Arithmetic overflow error converting int to data type numeric.", true},
    {"MinForeReceiveRate", "FMinForeReceiveRate", "999999999999999999.99999999995",
     "Arithmetic overflow error converting numeric to data type numeric.", true},
    {"Discount", "FDiscount", "0.000001", "0.000001"},
    {"Discount", "FDiscount", "-12345678901234.1234567891", "-12345678901234.1234567891"},
    {"Discount", "FDiscount", "1000000000000000000",
     "Arithmetic overflow error converting varchar to data type numeric.", true},
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.element << " " << c.written; }

class ExactNumbers : public ItemTypeTest, public ::testing::WithParamInterface<NumberCase> {
 protected:
  std::string accountSet(const std::string& name) {
    std::string path = newAccountSet(name);
    exec(path, "UPDATE t_SystemProfile SET FValue = '3.0.0.0' WHERE FKey = 'ServicePack'");
    return path;
  }
  std::string stored(const std::string& path, const char* column) {
    return rows(path, std::string("SELECT ") + column + " FROM t_Supplier WHERE FNumber = '01'");
  }
  // The element of the supplier's record in an exported page.
  static std::string exportedElement(const std::string& xml, const char* element) {
    const std::string open = std::string("<") + element + ">", close = std::string("</") + element + ">";
    std::size_t at = xml.find(open);
    if (at == std::string::npos) return "(none)";
    at += open.size();
    return xml.substr(at, xml.find(close, at) - at);
  }
  ObjectRef suppliers = CreateObject("Quillane.clsSupplier");
};

TEST_P(ExactNumbers, ArriveUnchangedOrAreRefusedWithSqlServersError) {
  const NumberCase& c = GetParam();
  const std::string first = accountSet("first.db"), second = accountSet("second.db");
  Imported imported = importXml(suppliers, props(first),
                                document("Supplier", {keys("01", "甲") + element(c.element, c.written)}));
  if (c.refused) {
    EXPECT_EQ(CLng(suppliers->Get("ErrorCount")), 1) << imported.error;
    EXPECT_NE(imported.error.find(c.expected), std::string::npos) << imported.error;
    EXPECT_EQ(rows(first, "SELECT COUNT(*) FROM t_Supplier"), "0");
    return;
  }
  ASSERT_TRUE(imported.ok) << imported.error;
  ASSERT_EQ(CLng(suppliers->Get("ErrorCount")), 0) << imported.error;
  EXPECT_EQ(stored(first, c.column), c.expected);

  Page page = exportPage(suppliers, props(first));
  ASSERT_TRUE(page.ok) << page.error;
  EXPECT_EQ(exportedElement(page.xml, c.element), c.expected);

  imported = importXml(suppliers, props(second), page.xml);
  ASSERT_TRUE(imported.ok) << imported.error;
  ASSERT_EQ(CLng(suppliers->Get("ErrorCount")), 0) << imported.error;
  EXPECT_EQ(stored(second, c.column), c.expected);
  EXPECT_EQ(exportedElement(exportPage(suppliers, props(second)).xml, c.element), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, ExactNumbers, ::testing::ValuesIn(kCases));

// Another program may write what the column's type cannot hold: the export names the column and the
// record's row rather than write another number.
TEST_F(ExactNumbers, AnExportRefusesAValueItsTypeCannotHold) {
  const std::string path = accountSet("foreign.db");
  ASSERT_TRUE(importXml(suppliers, props(path), document("Supplier", {keys("01", "甲")})).ok);
  execSqlite(path, "UPDATE t_Supplier SET FLastTradeAmount = 922337203685477.5808 * 10");
  Page page = exportPage(suppliers, props(path));
  EXPECT_FALSE(page.ok);
  const std::string itemID = rows(path, "SELECT FItemID FROM t_Supplier");
  EXPECT_NE(page.error.find("column FLastTradeAmount of the row where FItemID = " + itemID), std::string::npos)
      << page.error;
}

}  // namespace
}  // namespace quillane::testing
