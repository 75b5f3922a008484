// The recordset: values typed from the declared column types, moving, fields, Find and Filter.
#include <gtest/gtest.h>

#include "platform/sql/errors.h"
#include "support/automation_test.h"
#include "sql_fixture.h"

namespace quillane::testing {
namespace {

constexpr std::int32_t kAdo = static_cast<std::int32_t>(0x800A0000u);

struct TypedValue {
  const char* declared;
  const char* literal;
  VarType type;
  const char* text;
  std::int32_t adoType;
};

const TypedValue kTypedValues[] = {
    {"bit", "1", VarType::Boolean, "True", 11},
    {"bit", "0", VarType::Boolean, "False", 11},
    {"tinyint", "200", VarType::Integer, "200", 17},
    {"smallint", "-7", VarType::Integer, "-7", 2},
    {"int", "70000", VarType::Long, "70000", 3},
    {"real", "1.5", VarType::Double, "1.5", 4},
    {"float", "2.25", VarType::Double, "2.25", 5},
    {"decimal(28,10)", "3.5", VarType::Decimal, "3.5", 131},
    {"money", "12.3456", VarType::Currency, "12.3456", 6},
    {"datetime", "'2024-02-29 10:20:30'", VarType::Date, "2024-02-29 10:20:30", 135},
    {"datetime", "'2024-02-29 10:20:30.000'", VarType::Date, "2024-02-29 10:20:30", 135},
    {"datetime", "'2024-02-29'", VarType::Date, "2024-02-29", 135},
    {"varchar(20)", "'abc'", VarType::String, "abc", 200},
    {"nvarchar(20)", "N'中文'", VarType::String, "中文", 202},
    {"varbinary(8)", "0x0A0B", VarType::Bytes, "0x0A0B", 204},
    {"int", "NULL", VarType::Null, "NULL", 3},
};

void PrintTo(const TypedValue& c, std::ostream* os) { *os << c.declared << " " << c.literal; }

class TypedValues : public ::testing::TestWithParam<TypedValue> {};

TEST_P(TypedValues, FollowTheDeclaredType) {
  const TypedValue& c = GetParam();
  SqlFixture db;
  db.connection().Execute(std::string("CREATE TABLE t_Types (FValue ") + c.declared + ")");
  db.connection().Execute(std::string("INSERT INTO t_Types (FValue) VALUES (") + c.literal + ")");
  auto rs = db.connection().GetAnyRecordSet("SELECT FValue FROM t_Types");
  EXPECT_EQ(rs->Value(0).type(), c.type);
  EXPECT_EQ(RenderValue(rs->Value(0)), c.text);
  EXPECT_EQ(rs->FieldType(0), c.adoType);
}

INSTANTIATE_TEST_SUITE_P(Table, TypedValues, ::testing::ValuesIn(kTypedValues));

TEST(Recordset, AValueThatDoesNotFitItsColumnComesBackAsItIs) {
  SqlFixture db;
  // Written by SQLite text of its own, as another program may write the file: SQLite keeps it.
  db.connection().database().execScript("UPDATE t_Item SET FItemClassID = 'abc' WHERE FItemID = 1");
  auto rs = db.connection().GetAnyRecordSet("SELECT FItemClassID FROM t_Item WHERE FItemID = 1");
  EXPECT_EQ(rs->Value(0), Variant("abc"));
  EXPECT_EQ(rs->FieldType(0), 3);
}

TEST(Recordset, ExpressionsAndRowVersionsAreTypedByTheirValues) {
  SqlFixture db;
  auto rs = db.connection().GetAnyRecordSet(
      "SELECT COUNT(*) AS N, MAX(FModifyTime) AS FMT, FModifyTime, 1.5 AS D, 'x' AS T FROM t_Item WHERE FItemID = 3");
  EXPECT_EQ(rs->Value("N"), Variant(std::int32_t{1}));
  EXPECT_EQ(rs->Value("FMT"), Variant(Bytes{0, 0, 0, 0, 0, 0, 0, 3}));
  EXPECT_EQ(rs->Value("FModifyTime"), Variant(Bytes{0, 0, 0, 0, 0, 0, 0, 3}));
  EXPECT_EQ(rs->FieldType(2), 128);
  EXPECT_EQ(rs->Value("D"), Variant(1.5));
  EXPECT_EQ(rs->Value("T"), Variant("x"));
}

TEST(Recordset, MovesLikeAClientCursor) {
  SqlFixture db;
  auto rs = db.connection().GetAnyRecordSet("SELECT FNumber FROM t_Item ORDER BY FItemID");
  EXPECT_FALSE(rs->Eof());
  EXPECT_FALSE(rs->Bof());
  EXPECT_EQ(rs->RecordCount(), 3);
  EXPECT_EQ(rs->Value(0), Variant("01"));
  rs->MoveLast();
  EXPECT_EQ(rs->Value(0), Variant("C1"));
  rs->MoveNext();
  EXPECT_TRUE(rs->Eof());
  EXPECT_EQ(ErrorOf([&] { rs->MoveNext(); }).number, kAdo + 3021);
  EXPECT_EQ(ErrorOf([&] { rs->Value(0); }).number, kAdo + 3021);
  rs->MovePrevious();
  EXPECT_EQ(rs->Value(0), Variant("C1"));
  rs->MoveFirst();
  rs->MovePrevious();
  EXPECT_TRUE(rs->Bof());
  EXPECT_EQ(ErrorOf([&] { rs->MovePrevious(); }).number, kAdo + 3021);
  rs->MoveNext();
  EXPECT_EQ(rs->Value(0), Variant("01"));
}

TEST(Recordset, EmptyIsAtBothEnds) {
  SqlFixture db;
  auto rs = db.connection().GetAnyRecordSet("SELECT FNumber FROM t_Item WHERE FItemID < 0");
  EXPECT_TRUE(rs->Eof());
  EXPECT_TRUE(rs->Bof());
  EXPECT_EQ(rs->RecordCount(), 0);
  rs->MoveFirst();
  rs->MoveLast();
  EXPECT_TRUE(rs->Eof() && rs->Bof());
}

TEST(Recordset, FieldsByNameWithoutCaseAndByPosition) {
  SqlFixture db;
  auto rs = db.connection().GetAnyRecordSet("SELECT FItemID, FName FROM t_Item WHERE FItemID = 2");
  EXPECT_EQ(rs->Value("fname"), Variant("Nut"));
  EXPECT_EQ(rs->Value(1), Variant("Nut"));
  EXPECT_EQ(rs->FieldName(1), "FName");
  try {
    rs->Value("FNumber");
    FAIL() << "a missing field must raise";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number, kAdo + 3265);
    EXPECT_EQ(e.source, "ADODB.Fields");
  }
  EXPECT_EQ(ErrorOf([&] { rs->Value(2); }).number, kAdo + 3265);
}

TEST(Recordset, LateBoundAsTheLibraryCallsIt) {
  SqlFixture db;
  ObjectRef rs = db.connection().GetAnyRecordSet("SELECT FItemID, FName FROM t_Item ORDER BY FItemID");
  EXPECT_EQ(rs->Get("EOF"), Variant(false));
  EXPECT_EQ(rs->Get("RecordCount"), Variant(std::int32_t{3}));
  std::vector<Variant> name{Variant("FNAME")};
  ObjectRef field = rs->Invoke("Fields", InvokeKind::Get, name).object();
  EXPECT_EQ(field->Get("Value"), Variant("Bolt"));
  EXPECT_EQ(field->Get("Name"), Variant("FName"));
  EXPECT_EQ(field->Get("Type"), Variant(std::int32_t{200}));
  std::vector<Variant> none;
  rs->Call("MoveNext", none);
  EXPECT_EQ(field->Get("Value"), Variant("Nut")) << "a field reads the current row";
  ObjectRef fields = rs->Invoke("Fields", InvokeKind::Get, none).object();
  EXPECT_EQ(fields->Get("Count"), Variant(std::int32_t{2}));
  std::vector<Variant> first{Variant(std::int32_t{0})};
  EXPECT_EQ(fields->Invoke("Item", InvokeKind::Get, first).object()->Get("Value"), Variant(std::int32_t{2}));
  std::vector<Variant> criteria{Variant("FName = 'acme'")};
  rs->Call("Find", criteria);
  EXPECT_EQ(field->Get("Value"), Variant("Acme"));
  rs->Let("Filter", Variant("FItemID < 3"));
  EXPECT_EQ(rs->Get("RecordCount"), Variant(std::int32_t{2}));
  rs->Call("Close", none);
  EXPECT_EQ(rs->Get("State"), Variant(std::int32_t{0}));
}

// Rows for the criteria: FNN, FQty, FWhen, FRemark, FFlag.
class Criteria : public ::testing::Test {
 protected:
  void SetUp() override {
    db_.connection().Execute(
        "CREATE TABLE t_Find (FNN varchar(40), FQty int, FWhen datetime, FRemark varchar(40), FFlag bit)\r\n"
        "INSERT INTO t_Find VALUES ('a''b', 5, '2024-01-10', NULL, 1)\r\n"
        "INSERT INTO t_Find VALUES ('AB', 10, '2024-02-01', 'x', 0)\r\n"
        "INSERT INTO t_Find VALUES ('Bolt', 15, '2024-03-05', 'y', 1)");
    rs_ = db_.connection().GetAnyRecordSet("SELECT * FROM t_Find");
  }

  std::string visibleNames() {
    std::string names;
    for (rs_->MoveFirst(); !rs_->Eof(); rs_->MoveNext()) names += (names.empty() ? "" : ",") + CStr(rs_->Value("FNN"));
    return names;
  }

  SqlFixture db_;
  std::shared_ptr<sql::Recordset> rs_;
};

TEST_F(Criteria, FilterAndFindAgree) {
  const std::pair<const char*, const char*> cases[] = {
      {"FNN='a''b'", "a'b"},
      {"fnn = 'ab'", "AB"},
      {"[FNN] = 'Bolt'", "Bolt"},
      {"FQty > 5", "AB,Bolt"},
      {"FQty >= 5 AND FQty < 15", "a'b,AB"},
      {"FQty = 5 OR FNN = 'Bolt'", "a'b,Bolt"},
      {"(FQty = 5 OR FQty = 15) AND FFlag = True", "a'b,Bolt"},
      {"FQty = 5 OR FQty = 10 AND FFlag = 1", "a'b"},
      {"FFlag = 1", "a'b,Bolt"},
      {"FFlag <> 0", "a'b,Bolt"},
      {"FWhen < #2024-02-01#", "a'b"},
      {"FWhen >= '2024-02-01'", "AB,Bolt"},
      {"FRemark = NULL", "a'b"},
      {"FRemark <> NULL", "AB,Bolt"},
      {"FRemark <> 'x'", "Bolt"},
      {"FNN LIKE 'b*'", "Bolt"},
      {"FNN LIKE '%B%'", "a'b,AB,Bolt"},
      {"FQty = '10'", "AB"},
      {"FQty = -5", ""},
  };
  for (const auto& [criteria, expected] : cases) {
    rs_->setFilter(Variant(criteria));
    EXPECT_EQ(visibleNames(), expected) << criteria;
    rs_->setFilter(Variant(""));
    rs_->Find(criteria);
    std::string first = rs_->Eof() ? "" : CStr(rs_->Value("FNN"));
    EXPECT_EQ(first, std::string(expected).substr(0, std::string(expected).find(','))) << criteria;
  }
}

TEST_F(Criteria, BadCriteriaRaise) {
  EXPECT_EQ(ErrorOf([&] { rs_->setFilter(Variant("FNN = ")); }).number, kAdo + 3001);
  EXPECT_EQ(ErrorOf([&] { rs_->setFilter(Variant("FNN ~ 1")); }).number, kAdo + 3001);
  EXPECT_EQ(ErrorOf([&] { rs_->setFilter(Variant("FNN = 'open")); }).number, kAdo + 3001);
  EXPECT_EQ(ErrorOf([&] { rs_->Find("Nope = 1"); }).number, kAdo + 3265);
  EXPECT_EQ(rs_->RecordCount(), 3) << "a refused filter leaves the rows as they were";
}

TEST_F(Criteria, FilterRestrictsAndClears) {
  rs_->setFilter(Variant("FQty > 5"));
  EXPECT_EQ(rs_->RecordCount(), 2);
  EXPECT_EQ(rs_->Value("FNN"), Variant("AB"));
  EXPECT_EQ(rs_->Filter(), Variant("FQty > 5"));
  rs_->setFilter(Variant(""));
  EXPECT_EQ(rs_->RecordCount(), 3);
  EXPECT_EQ(rs_->Filter(), Variant(std::int32_t{0}));
  rs_->setFilter(Variant("FNN = 'none'"));
  EXPECT_TRUE(rs_->Eof() && rs_->Bof());
  rs_->setFilter(Variant(std::int32_t{0}));
  EXPECT_EQ(rs_->RecordCount(), 3);
}

TEST_F(Criteria, FindMovesFromTheCurrentRow) {
  rs_->Find("FQty > 5");
  EXPECT_EQ(rs_->Value("FNN"), Variant("AB"));
  rs_->Find("FQty > 5", 1);
  EXPECT_EQ(rs_->Value("FNN"), Variant("Bolt"));
  rs_->Find("FQty < 10", 0, -1);
  EXPECT_EQ(rs_->Value("FNN"), Variant("a'b"));
  rs_->Find("FQty > 100");
  EXPECT_TRUE(rs_->Eof());
  EXPECT_EQ(ErrorOf([&] { rs_->Find("FQty > 5"); }).number, kAdo + 3021) << "Find needs a current row";
}

TEST(Recordset, ClosedRecordsetsRaise) {
  SqlFixture db;
  auto rs = db.connection().GetAnyRecordSet("SELECT FNumber FROM t_Item");
  db.connection().CloseConn();
  EXPECT_EQ(rs->RecordCount(), 3) << "the rows stay after the connection closes";
  rs->Close();
  EXPECT_FALSE(rs->IsOpen());
  EXPECT_EQ(ErrorOf([&] { rs->Eof(); }).number, kAdo + 3704);
  EXPECT_EQ(ErrorOf([&] { rs->Close(); }).number, kAdo + 3704);
  auto none = db.connection().Execute("UPDATE t_Item SET FName = FName");
  EXPECT_EQ(none->State(), 0) << "a command without rows gives a closed recordset";
}

}  // namespace
}  // namespace quillane::testing
