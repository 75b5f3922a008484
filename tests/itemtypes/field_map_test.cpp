// The field-map handlers on a map of plain fields: the export tests, the service-pack gates, the
// import forms, and the numbers that are refused before they reach the statement.
#include "itemtypes/field_map.h"

#include <gtest/gtest.h>

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

constexpr ItemField kFields[] = {
    {.element = "Text", .column = "FText", .kind = Text},
    {.element = "Count", .column = "FCount", .kind = Number},
    {.element = "Flag", .column = "FFlag", .kind = Number, .test = NonZero},
    {.element = "Late", .column = "FLate", .kind = Text, .gate = Above("2.0.0.5")},
    {.element = "Fixed", .column = "FFixed", .kind = Number, .importValue = "999"},
};

// No field of the map is a link: the engine is asked only for its last statement.
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
  // The service pack that the gates compare with is the account set's, read by the props check.
  void useServicePack(const char* version) {
    std::string path = newAccountSet(std::string("sp") + version + ".db");
    exec(path, std::string("UPDATE t_SystemProfile SET FValue = '") + version + "' WHERE FKey = 'ServicePack'");
    std::string error;
    ASSERT_TRUE(modFunction::InitProps(props(path), error)) << error;
  }
  // The keys a detail row gives a record, as "key=value" joined by ";".
  std::string packed(std::vector<Variant> row) {
    sql::Rowset rows;
    for (const ItemField& f : kFields) rows.columns.push_back({f.column, {}});
    rows.rows.push_back(std::move(row));
    auto rs = std::make_shared<sql::Recordset>(std::move(rows));
    TrzRecord record;
    PacketFields(engine, kFields, rs, record);
    std::string text;
    for (const auto& [key, value] : record.Entries()) text += (text.empty() ? "" : ";") + key + "=" + CStr(value);
    return text;
  }
  std::string imported(const std::vector<std::pair<const char*, Variant>>& elements) {
    TrzRecord record;
    for (const auto& [key, value] : elements) record.SetValue(key, value);
    std::string sql = "UPDATE t_Test SET ";
    ImportFields(engine, kFields, record, sql);
    return sql;
  }

  StatementOnly engine;
};

TEST_F(FieldMapTest, ExportTestsAndGates) {
  useServicePack("3.0.0.0");
  const Variant null = Variant::null();
  EXPECT_EQ(packed({"", std::int32_t{0}, std::int32_t{0}, "x", std::int32_t{7}}), "Text=;Count=0;Late=x;Fixed=7");
  EXPECT_EQ(packed({null, null, null, null, null}), "");
  EXPECT_EQ(packed({"a", std::int16_t{3}, "0", null, null}), "Text=a;Count=3");
  EXPECT_EQ(packed({null, null, std::int32_t{2}, null, null}), "Flag=2");
  useServicePack("2.0.0.5");
  EXPECT_EQ(packed({null, null, null, "x", null}), "");
}

TEST_F(FieldMapTest, ImportFormsAndAbsentElements) {
  useServicePack("3.0.0.0");
  EXPECT_EQ(imported({{"Text", "O'Neil"}, {"Count", " 12 "}, {"Fixed", "any text"}}),
            "UPDATE t_Test SET FText='O''Neil',FCount=12,FFixed=999,");
  EXPECT_EQ(imported({{"Count", std::int32_t{-5}}, {"Flag", 2.5}, {"Late", ""}}),
            "UPDATE t_Test SET FCount=-5,FFlag=2.5,FLate='',");
  // A number is written anew from its value, whatever text carried it.
  EXPECT_EQ(imported({{"Count", "1e3"}, {"Flag", true}}), "UPDATE t_Test SET FCount=1000,FFlag=1,");
  EXPECT_EQ(imported({}), "UPDATE t_Test SET ");
  useServicePack("2.0.0.5");
  EXPECT_EQ(imported({{"Late", "x"}}), "UPDATE t_Test SET ");
}

TEST_F(FieldMapTest, ANumberThatIsNoNumberNeverReachesTheStatement) {
  useServicePack("3.0.0.0");
  for (const Variant& bad : {Variant("1;DELETE FROM t_Item"), Variant(""), Variant("0x10"), Variant("12 34"),
                             Variant::null()}) {
    engine.sql.clear();
    AutomationError e = ErrorOf([&] { imported({{"Text", "t"}, {"Count", bad}}); });
    EXPECT_EQ(e.number, kLibraryRefusal) << TypeName(bad);
    EXPECT_EQ(e.source, modFunction::kSqlValueSource);
    EXPECT_NE(e.description.find("Count的值必须是数字:"), std::string::npos) << e.description;
    EXPECT_EQ(engine.sql, "UPDATE t_Test SET FText='t',");
  }
}

}  // namespace
}  // namespace quillane::testing
