#include <gtest/gtest.h>

#include "exchange/MParse.h"
#include "exchange/modFunction_rights.h"
#include "exchange_db_fixture.h"
#include "platform/sql/connection.h"

namespace quillane {
namespace {

constexpr std::int32_t kExport = 0x800000, kImport = 0x1000000;
constexpr std::int16_t kObjectType = 7;

struct RightsCase {
  const char* what;
  const char* user;   // the props string's UserID pair, or "" for none
  const char* rows;   // t_AccessControl rows as VALUES lists (FObjectType, FObjectID, FUserID, type, mask)
  std::int32_t objectID;
  std::int32_t mask;
  bool expected;
};

void PrintTo(const RightsCase& c, std::ostream* os) { *os << c.what; }

// Users: 16 the administrator, 20 a member of group 30, 21 forbidden, 22 with no rows.
class RightsMatrix : public testing::ExchangeDbTest, public ::testing::WithParamInterface<RightsCase> {};

TEST_P(RightsMatrix, DecidesAsTheAccessRowsSay) {
  const RightsCase& c = GetParam();
  std::string path = newAccountSet();
  sql::Connection db;
  db.setConnString(accountset::ConnectString(path));
  db.Execute("INSERT INTO t_User (FUserID, FName, FForbidden) VALUES (20, 'clerk', 0)");
  db.Execute("INSERT INTO t_User (FUserID, FName, FForbidden) VALUES (21, 'gone', 1)");
  db.Execute("INSERT INTO t_User (FUserID, FName, FForbidden) VALUES (22, 'new', NULL)");
  db.Execute("INSERT INTO t_Group (FGroupID, FUserID) VALUES (30, 20)");
  if (*c.rows)
    db.Execute(std::string("INSERT INTO t_AccessControl (FObjectType, FObjectID, FUserID, FAccessType, FAccessMask) "
                           "VALUES ") + c.rows);
  db.CloseConn();

  ASSERT_TRUE(MParse::ParseProps(props(path, std::string(c.user) + "AcctType=GY")));
  EXPECT_EQ(modFunction::HasAccessRight(kObjectType, c.objectID, c.mask), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RightsMatrix,
    ::testing::Values(
        RightsCase{"administrator despite a deny row", "UserID=16;", "(7, 5, 16, 0, -1)", 5, kExport, true},
        RightsCase{"group deny beats user grant", "UserID=20;", "(7, 5, 20, 1, -1), (7, 5, 30, 0, -1)", 5, kExport,
                   false},
        RightsCase{"deny with a plain mask has no effect", "UserID=20;", "(7, 5, 20, 0, 8388608), (7, 5, 20, 1, 8388608)",
                   5, kExport, true},
        RightsCase{"grant of both bits passes export", "UserID=20;", "(7, 5, 20, 1, 25165824)", 5, kExport, true},
        RightsCase{"grant of both bits passes import", "UserID=20;", "(7, 5, 20, 1, 25165824)", 5, kImport, true},
        RightsCase{"export bit alone fails import", "UserID=20;", "(7, 5, 20, 1, 8388608)", 5, kImport, false},
        RightsCase{"negative check mask counts as its absolute value", "UserID=20;", "(7, 5, 20, 1, 8388608)", 5,
                   -kExport, true},
        RightsCase{"grant through the group", "UserID=20;", "(7, 5, 30, 1, -1)", 5, kImport, true},
        RightsCase{"object 0 covers every object", "UserID=20;", "(7, 0, 20, 1, -1)", 99, kExport, true},
        RightsCase{"another object's row", "UserID=20;", "(7, 6, 20, 1, -1)", 5, kExport, false},
        RightsCase{"another object type's row", "UserID=20;", "(8, 5, 20, 1, -1)", 5, kExport, false},
        RightsCase{"forbidden user", "UserID=21;", "(7, 5, 21, 1, -1)", 5, kExport, false},
        RightsCase{"forbidden flag Null", "UserID=22;", "(7, 5, 22, 1, -1)", 5, kExport, false},
        RightsCase{"unknown user", "UserID=99;", "(7, 5, 99, 1, -1)", 5, kExport, false},
        RightsCase{"no UserID", "", "(7, 5, 20, 1, -1)", 5, kExport, false},
        RightsCase{"no rows", "UserID=20;", "", 5, kExport, false}));


}  // namespace
}  // namespace quillane
