// The props string and the service-pack comparison.
#include "exchange/MParse.h"

#include <gtest/gtest.h>

#include "exchange/modFunction_connection.h"
#include "exchange_db_fixture.h"
#include "platform/automation/automation.h"
#include "platform/sql/connection.h"
#include "support/automation_test.h"

namespace quillane::testing {
namespace {

// Every props string of the grammar table reads the service pack from this account set.
class PropsGrammar : public ExchangeDbTest {
 protected:
  std::string connect = "{" + accountset::ConnectString(newAccountSet()) + "}";
};

struct PropsCase {
  std::string text;                                         // "$" stands for the braced connection string
  std::vector<std::pair<std::string, std::string>> stored;  // keys that hold these values
  std::vector<std::string> absent;                          // keys that the parse did not store
  std::int32_t error = 0;                                   // the error the parse raises
};

TEST_F(PropsGrammar, Table) {
  const PropsCase cases[] = {
      {"ConnectString=$;UserID=16;AcctType=gy", {{"UserID", "16"}, {"acctTYPE", "gy"}}, {}},
      {"ConnectString=$;AcctType=GY;acctType=x", {}, {}, 457},
      {"ConnectString=$;UserID= 16 ;AcctType=CY", {{"UserID", "16"}}, {}},
      {"ConnectString=$;AcctType=GY;;UserID=16", {{";UserID", "16"}}, {"UserID"}},
      {"ConnectString=$;AcctType=GY; =x;UserID=16", {}, {"UserID", ""}},
      {"ConnectString=$;AcctType=GY;", {{"AcctType", "GY"}}, {"Setuptype", "Language"}},
      {"ConnectString=$;AcctType=GY;Flag", {{"Flag", ""}}, {}},
      {"ConnectString=$;Language={a;b=c}lost;AcctType=GY", {{"Language", "a;b=c"}}, {"lost"}},
      {"ConnectString=$;Setuptype=x=y;AcctType=GY", {{"Setuptype", "x=y"}}, {}},
      {" ConnectString = $ ; AcctType = GY ", {{"AcctType", "GY"}}, {}},
      {"ConnectString=$", {}, {}, 5},
      {"AcctType=GY", {}, {}, 5},
      {"", {}, {}, 5},
  };
  for (const PropsCase& c : cases) {
    std::string text = c.text;
    if (auto at = text.find('$'); at != std::string::npos) text.replace(at, 1, connect);
    SCOPED_TRACE(text);
    if (c.error) {
      EXPECT_EQ(ErrorOf([&] { MParse::ParseProps(text); }).number, c.error);
      continue;
    }
    ASSERT_TRUE(MParse::ParseProps(text));
    EXPECT_EQ(MParse::GetConnectString(), connect.substr(1, connect.size() - 2));
    for (const auto& [key, value] : c.stored) EXPECT_EQ(MParse::GetProp(key), value) << key;
    for (const auto& key : c.absent) {
      AutomationError missing = ErrorOf([&] { MParse::GetProp(key); });
      EXPECT_EQ(missing.number, 5) << key;
      EXPECT_EQ(missing.description, "Invalid procedure call or argument (the props string has no key " + key + ")");
    }
  }
}

TEST_F(PropsGrammar, IndustryFlagAndUserID) {
  MParse::ParseProps("ConnectString=" + connect + ";UserID=16;AcctType=gy");
  EXPECT_TRUE(MParse::IsIndustry());
  EXPECT_EQ(MParse::GetUserID(), 16);
  MParse::ParseProps("ConnectString=" + connect + ";UserID=abc;AcctType=QY");
  EXPECT_FALSE(MParse::IsIndustry());
  EXPECT_EQ(ErrorOf([] { MParse::GetUserID(); }).number, 13);
  MParse::ParseProps("ConnectString=" + connect + ";UserID=70000;AcctType=GY");
  EXPECT_EQ(ErrorOf([] { MParse::GetUserID(); }).number, 6);
  EXPECT_EQ(ErrorOf([&] { MParse::ParseProps("ConnectString=" + connect + ";AcctType=QY;AcctType=GY"); }).number, 457);
  EXPECT_TRUE(MParse::IsIndustry()) << "a failed parse leaves the flag of the one before";
}

struct VersionCase {
  const char* stored;
  const char* version;
  std::int16_t result;
};

TEST(CompareVersions, Table) {
  const VersionCase cases[] = {
      {"2.0.0.5", "2.0.0.5", 0},
      {"2.0.0.7", "2.0.0.5", 1},
      {"1.9.9.9", "2.0.0.5", -1},
      {"2.1.0.0", "3.0.0.0", -1},
      {"3.0.0.0", "2.0.0.7", 1},
      {"2.0.0.10", "2.0.0.9", 1},   // numbers, not texts
      {"2.0.1.2", "2.0.0.2", 1},    // all four parts count
      {"2.0.0.1", "2.0.1.0", -1},
      {"2.0", "2.0.0.0", 0},        // missing parts are 0
      {"2.0.0.05", "2.0.0.5", 0},
      {" 2.0.0.3 ", "2.0.0.2", 1},
      // what is no version compares as older
      {"", "2.0.0.2", -1},
      {"abc", "2.0.0.2", -1},
      {"2.0.x.1", "2.0.0.2", -1},
      {"2..0.1", "2.0.0.2", -1},
      {"2.0.0.70000", "2.0.0.2", -1},
      {"2.0.0.2.1", "2.0.0.2", -1},
      {"-2.0.0.2", "2.0.0.2", -1},
  };
  for (const VersionCase& c : cases)
    EXPECT_EQ(MParse::CompareVersions(c.stored, c.version), c.result) << c.stored << " against " << c.version;
}

class ServicePack : public ExchangeDbTest {};

TEST_F(ServicePack, ReadFromTheAccountSetAtEveryParse) {
  std::string path = newAccountSet();
  ASSERT_TRUE(MParse::ParseProps(props(path)));
  EXPECT_EQ(MParse::CompareServicePack("3.0.0.0"), 0);
  EXPECT_EQ(MParse::CompareServicePack("2.0.0.7"), 1);
  sql::Connection c;
  c.setConnString(accountset::ConnectString(path));
  c.Execute("UPDATE t_SystemProfile SET FValue = '2.0.0.3' WHERE FKey = 'ServicePack'");
  MParse::ParseProps(props(path));
  EXPECT_EQ(MParse::CompareServicePack("2.0.0.5"), -1);
  c.Execute("DELETE FROM t_SystemProfile");
  MParse::ParseProps(props(path));
  EXPECT_EQ(MParse::CompareServicePack("2.0.0.3"), 0) << "without a row the text read before stays";
}

TEST_F(ServicePack, NullComparesAsOlderAndFailsNothing) {
  std::string path = newAccountSet();
  sql::Connection c;
  c.setConnString(accountset::ConnectString(path));
  c.Execute("UPDATE t_SystemProfile SET FValue = NULL WHERE FKey = 'ServicePack'");
  std::string error;
  EXPECT_TRUE(modFunction::InitProps(props(path), error)) << error;
  EXPECT_EQ(MParse::CompareServicePack("2.0.0.2"), -1);
}

}  // namespace
}  // namespace quillane::testing
