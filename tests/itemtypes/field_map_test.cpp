// The field-map handlers on maps of plain fields: the export tests, the service-pack gates, the import
// forms of each kind, the rows of one direction, the values of absent elements, the import order, the
// contained export errors, a row's own step, and the numbers that are refused before they reach the
// statement.
#include "itemtypes/field_map.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "exchange/exchange_db_fixture.h"
#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_sql.h"
#include "platform/automation/automation.h"
#include "platform/sql/recordset.h"
#include "support/automation_test.h"

namespace quillane::testing {
namespace {

using enum FieldKind;
using enum ExportTest;

constexpr const char* kOnlyYearOne[] = {"0001-01-01"};

constexpr ItemField kFields[] = {
    {.element = "Text", .column = "FText", .kind = Text},
    {.element = "Count", .column = "FCount", .kind = Number},
    {.element = "Flag", .column = "FFlag", .kind = Number, .test = NonZero},
    {.element = "Late", .column = "FLate", .kind = Text, .gate = Above("2.0.0.5")},
    {.element = "Fixed", .column = "FFixed", .kind = Number, .importValue = "999"},
    {.element = "Day", .column = "FDay", .kind = Date},
    {.element = "Hired", .column = "FHired", .kind = Date, .skip = kOnlyYearOne},
    {.element = "Bit", .column = "FBit", .kind = Flag},
    {.element = "Kept", .column = "FKept", .kind = Text, .direction = Direction::ImportOnly},
    {.element = "Shown", .column = "FShown", .kind = Text, .direction = Direction::ExportOnly},
    {.element = "Store", .column = "FStore", .kind = Number, .absentValue = "0"},
};

// No field of the maps is a link: the engine is asked only for its last statement.
class StatementOnly : public ItemEngineAccess {
 public:
  const ObjectRef& connection() const override { return none_; }
  bool checkByUUID() const override { return false; }
  std::string& lastSQL() override { return sql; }
  std::int32_t itemClassID() const override { return 2; }
  std::int32_t currentItemID() const override { return 0; }
  bool hasRecords() const override { return true; }
  std::string sql;

 private:
  ObjectRef none_;
};

class FieldMapTest : public ExchangeDbTest {
 protected:
  void SetUp() override {
    ExchangeDbTest::SetUp();
    useServicePack("3.0.0.0");
  }
  // The service pack that the gates compare with is the account set's, read by the props check.
  void useServicePack(const char* version) {
    std::string path = newAccountSet(std::string("sp") + version + ".db");
    exec(path, std::string("UPDATE t_SystemProfile SET FValue = '") + version + "' WHERE FKey = 'ServicePack'");
    std::string error;
    ASSERT_TRUE(modFunction::InitProps(props(path), error)) << error;
  }
  // The keys a detail row of the given columns gives a record, as "key=value" joined by ";".
  std::string packed(const FieldMap& map, const std::vector<const char*>& columns, std::vector<Variant> row) {
    sql::Rowset rows;
    for (const char* column : columns) rows.columns.push_back({column, {}});
    rows.rows.push_back(std::move(row));
    auto rs = std::make_shared<sql::Recordset>(std::move(rows));
    TrzRecord record;
    PacketFields(engine, map, rs, record);
    std::string text;
    for (const auto& [key, value] : record.Entries()) text += (text.empty() ? "" : ";") + key + "=" + CStr(value);
    return text;
  }
  // A row of the main map: the values of its columns in table order, Null for the ones not given.
  std::string packed(std::vector<Variant> values) {
    std::vector<const char*> columns;
    for (const ItemField& f : kFields) columns.push_back(f.column);
    values.resize(columns.size(), Variant::null());
    return packed(FieldMap(kFields), columns, std::move(values));
  }
  std::string imported(const FieldMap& map, const std::vector<std::pair<const char*, Variant>>& elements) {
    TrzRecord record;
    for (const auto& [key, value] : elements) record.SetValue(key, value);
    statement = "UPDATE t_Test SET ";
    ImportFields(engine, map, record, statement);
    return statement;
  }
  std::string imported(const std::vector<std::pair<const char*, Variant>>& elements) {
    return imported(FieldMap(kFields), elements);
  }

  StatementOnly engine;
  std::string statement;  // the UPDATE as the last import left it, also after an error
  const Variant null = Variant::null();
};

TEST_F(FieldMapTest, ExportTestsGatesAndDirections) {
  EXPECT_EQ(packed({"", std::int32_t{0}, std::int32_t{0}, "x", std::int32_t{7}}), "Text=;Count=0;Late=x;Fixed=7");
  EXPECT_EQ(packed({}), "");
  EXPECT_EQ(packed({"a", std::int16_t{3}, "0"}), "Text=a;Count=3");
  EXPECT_EQ(packed({null, null, std::int32_t{2}}), "Flag=2");
  // A date leaves as it is stored, a sentinel too; only its import skips it.
  EXPECT_EQ(packed({null, null, null, null, null, "1899-12-30", "0001-01-01", true}),
            "Day=1899-12-30;Hired=0001-01-01;Bit=True");
  EXPECT_EQ(packed({null, null, null, null, null, null, null, null, "kept", "shown", std::int32_t{4}}),
            "Shown=shown;Store=4");
  useServicePack("2.0.0.5");
  EXPECT_EQ(packed({null, null, null, "x"}), "");
}

TEST_F(FieldMapTest, ImportFormsAndAbsentElements) {
  EXPECT_EQ(imported({{"Text", "O'Neil"}, {"Count", " 12 "}, {"Fixed", "any text"}}),
            "UPDATE t_Test SET FText='O''Neil',FCount=12,FFixed=999,FStore=0,");
  EXPECT_EQ(imported({{"Count", std::int32_t{-5}}, {"Flag", 2.5}, {"Late", ""}, {"Store", "7"}}),
            "UPDATE t_Test SET FCount=-5,FFlag=2.5,FLate='',FStore=7,");
  // A number keeps the element's own digits: the column's type converts it, not a double on the way.
  EXPECT_EQ(imported({{"Count", "1e3"}, {"Flag", true}}), "UPDATE t_Test SET FCount=1e3,FFlag=1,FStore=0,");
  EXPECT_EQ(imported({{"Count", "123456789012.3456"}}), "UPDATE t_Test SET FCount=123456789012.3456,FStore=0,");
  EXPECT_EQ(imported({{"Kept", "k"}, {"Shown", "s"}}), "UPDATE t_Test SET FKept='k',FStore=0,");
  useServicePack("2.0.0.5");
  EXPECT_EQ(imported({{"Late", "x"}}), "UPDATE t_Test SET FStore=0,");
}

TEST_F(FieldMapTest, DateSentinelsWriteNothingAndOtherDatesAreQuoted) {
  struct Case {
    const char* day;
    const char* hired;
    const char* sql;
  };
  const Case cases[] = {
      {"0001-01-01", "0001-01-01", "UPDATE t_Test SET FStore=0,"},
      {"1899-12-30", "1899-12-30", "UPDATE t_Test SET FHired='1899-12-30',FStore=0,"},
      {"2007-05-01", "", "UPDATE t_Test SET FDay='2007-05-01',FHired='',FStore=0,"},
      {"0001-01-01T00:00:00", " 1899-12-30", "UPDATE t_Test SET FDay='0001-01-01T00:00:00',FHired=' 1899-12-30',FStore=0,"},
  };
  for (const Case& c : cases) EXPECT_EQ(imported({{"Day", c.day}, {"Hired", c.hired}}), c.sql) << c.day;
}

TEST_F(FieldMapTest, AFlagImportsWhatTheExportWroteForIt) {
  struct Case {
    Variant value;
    const char* sql;
  };
  const Case cases[] = {{Variant("True"), "FBit=1,"}, {Variant("False"), "FBit=0,"}, {Variant(" true "), "FBit=1,"},
                        {Variant(true), "FBit=1,"},   {Variant("1"), "FBit=1,"},     {Variant("-1"), "FBit=-1,"},
                        {Variant(std::int16_t{0}), "FBit=0,"}, {Variant(""), "FBit=0,"},   {Variant("  "), "FBit=0,"}};
  for (const Case& c : cases)
    EXPECT_EQ(imported({{"Bit", c.value}, {"Store", "1"}}), std::string("UPDATE t_Test SET ") + c.sql + "FStore=1,")
        << CStr(c.value);
  AutomationError e = ErrorOf([&] { imported({{"Bit", "yes"}}); });
  EXPECT_EQ(e.number, kLibraryRefusal);
  EXPECT_NE(e.description.find("Bit的值必须是数字:yes"), std::string::npos) << e.description;
}

TEST_F(FieldMapTest, AnImportOrderMovesTheRowsItNamesAmongTheirOwnPlaces) {
  constexpr ItemField fields[] = {
      {.element = "A", .column = "FA", .kind = Text}, {.element = "B", .column = "FB", .kind = Text},
      {.element = "C", .column = "FC", .kind = Text}, {.element = "D", .column = "FD", .kind = Text},
  };
  const std::vector<std::pair<const char*, Variant>> all = {{"A", "1"}, {"B", "2"}, {"C", "3"}, {"D", "4"}};
  constexpr const char* whole[] = {"C", "a", "D", "B"};
  EXPECT_EQ(imported(FieldMap(fields, {.importOrder = whole}), all), "UPDATE t_Test SET FC='3',FA='1',FD='4',FB='2',");
  // B and D trade places; A and C stay where the table has them.
  constexpr const char* some[] = {"D", "B"};
  const FieldMap map(fields, {.importOrder = some});
  EXPECT_EQ(imported(map, all), "UPDATE t_Test SET FA='1',FD='4',FC='3',FB='2',");
  EXPECT_EQ(packed(map, {"FA", "FB", "FC", "FD"}, {"1", "2", "3", "4"}), "A=1;B=2;C=3;D=4");

  constexpr const char* twice[] = {"A", "B", "A"};
  constexpr const char* unknown[] = {"A", "E"};
  for (std::span<const char* const> bad : {std::span<const char* const>(twice), std::span<const char* const>(unknown)})
    EXPECT_THROW(FieldMap(fields, {.importOrder = bad}), std::logic_error) << bad.back();
}

TEST_F(FieldMapTest, AContainedExportErrorLeavesOnlyItsRowOut) {
  constexpr ItemField fields[] = {
      {.element = "A", .column = "FA", .kind = Text},
      {.element = "Gone", .column = "FGone", .kind = Text},  // a column the account set lacks
      {.element = "C", .column = "FC", .kind = Number},
  };
  EXPECT_EQ(packed(FieldMap(fields, {.containExportErrors = true}), {"FA", "FC"}, {"a", std::int32_t{3}}), "A=a;C=3");
  ErrorOf([&] { packed(FieldMap(fields), {"FA", "FC"}, {"a", std::int32_t{3}}); });
}

// A step replaces a letter on both sides and falls back on another element on import.
void packetUpper(ItemEngineAccess&, const ItemField& field, const Variant& value, TrzRecord& record) {
  record.SetValue(field.element, Variant(UCase(CStr(value))));
}
void importOrOther(ItemEngineAccess& engine, const ItemField& field, TrzRecord& record, std::string& strSQL) {
  if (record.Exists(field.element))
    ImportField(engine, field, Variant(UCase(CStr(record.Item(field.element)))), strSQL);
  else if (record.Exists("Other"))
    ImportField(engine, field, record.Item("Other"), strSQL);
}
constexpr FieldStep kUpperStep{packetUpper, importOrOther};

TEST_F(FieldMapTest, ARowsOwnStepTakesItsPlaceInBothDirections) {
  constexpr ItemField fields[] = {
      {.element = "A", .column = "FA", .kind = Text},
      {.element = "Own", .column = "FOwn", .kind = Text, .step = &kUpperStep},
      {.element = "Late", .column = "FLate", .kind = Text, .gate = Above("3.0.0.0"), .step = &kUpperStep},
  };
  const FieldMap map(fields);
  EXPECT_EQ(packed(map, {"FA", "FOwn", "FLate"}, {"a", "b", "c"}), "A=a;Own=B");
  EXPECT_EQ(packed(map, {"FA", "FOwn", "FLate"}, {"a", null, null}), "A=a");
  EXPECT_EQ(imported(map, {{"Own", "x"}}), "UPDATE t_Test SET FOwn='X',");
  EXPECT_EQ(imported(map, {{"Other", "y"}, {"Late", "z"}}), "UPDATE t_Test SET FOwn='y',");
  EXPECT_EQ(imported(map, {{"A", "a"}}), "UPDATE t_Test SET FA='a',");
}

TEST_F(FieldMapTest, ANumberThatIsNoNumberNeverReachesTheStatement) {
  for (const Variant& bad : {Variant("1;DELETE FROM t_Item"), Variant(""), Variant("0x10"), Variant("12 34"),
                             Variant::null()}) {
    AutomationError e = ErrorOf([&] { imported({{"Text", "t"}, {"Count", bad}}); });
    EXPECT_EQ(e.number, kLibraryRefusal) << TypeName(bad);
    EXPECT_EQ(e.source, modFunction::kSqlValueSource);
    EXPECT_NE(e.description.find("Count的值必须是数字:"), std::string::npos) << e.description;
    EXPECT_EQ(statement, "UPDATE t_Test SET FText='t',");
  }
}

}  // namespace
}  // namespace quillane::testing
