// The sample's custom item classes, one in each range of their identifiers, and auxiliary properties
// of goods: colours, and in a commercial account set sizes and their combinations. Each has its own
// table of several column types, the descriptions of its properties (some looking their values up in
// another table), its access rights and its records.
#include <functional>
#include <string>
#include <vector>

#include "accountset/custom_item_class.h"
#include "accountset/sample_rows.h"
#include "platform/automation/vbconv.h"
#include "platform/sql/compat.h"

namespace quillane::accountset {
namespace {

// A property: its description and the value of its column for the k-th detail item (Null for none).
struct SampleProperty {
  const char* name;
  const char* column;
  std::int32_t dataType;
  std::int32_t actualSize;
  const char* srcTable;  // "" for a property without lookup
  const char* srcField;
  const char* displayField;
  Variant search;  // Null: no search code
  std::function<Variant(int k)> value;
};

struct SampleClass {
  std::int32_t id;
  const char* number;
  const char* name;
  Variant nameEN;
  const char* nameCHT;
  std::int16_t type;
  std::vector<SampleProperty> properties;
};

std::vector<SampleClass> sampleClasses(sql::Database& db, Kind kind) {
  auto idOf = [&](const char* sqlText) { return Variant(CLng(db.query(sqlText).rows.at(0).at(0))); };
  const Variant rmb = idOf("SELECT FCurrencyID FROM t_Currency WHERE FNumber = 'RMB'");
  const Variant usd = idOf("SELECT FCurrencyID FROM t_Currency WHERE FNumber = 'USD'");
  const Variant general = idOf("SELECT FInterID FROM t_SubMessage WHERE FTypeID = 1 AND FID = '01'");
  const Variant small = idOf("SELECT FInterID FROM t_SubMessage WHERE FTypeID = 1 AND FID = '02'");
  const Variant none = Variant::null();
  std::vector<SampleClass> classes{
      {1001, "P", "项目", Variant("Projects"), "項目", 0,
       {{"预算", "FBudget", 6, 8, "", "", "", none, [](int k) { return Variant(Currency{k * 10000000LL + 5000}); }},
        {"开始日期", "FStartDate", 135, 8, "", "", "", none,
         [](int k) { return Variant(MakeDate(2024, 1 + k % 12, 1 + k % 28)); }},
        {"币别", "FCurrencyID", 3, 4, "t_Currency", "FCurrencyID", "FName", Variant(std::int32_t{120}),
         [=](int k) { return k % 5 == 0 ? none : k % 2 ? rmb : usd; }},
        {"说明", "FNote", 200, 60, "", "", "", none, [](int k) { return Variant("第" + std::to_string(k) + "期"); }},
        {"已结束", "FClosed", 11, 1, "", "", "", none, [](int k) { return Variant(k % 3 == 0); }}}},
      {3001, "C", "合同", Variant("Contracts"), "合約", 0,
       {{"金额", "FAmount", 5, 8, "", "", "", none, [](int k) { return Variant(k * 12.25); }},
        {"份数", "FCopies", 2, 2, "", "", "", none, [](int k) { return Variant(static_cast<std::int16_t>(1 + k % 3)); }},
        {"纳税人类型", "FTaxpayer", 3, 4, "t_SubMessage", "FInterID", "FName", Variant(std::int32_t{1}),
         [=](int k) { return k % 4 == 0 ? none : k % 2 ? general : small; }}}},
      // The colours of goods: no English name.
      {3002, "COLOR", "颜色", none, "顏色", 3,
       {{"色号", "F_101", 200, 10, "", "", "", none, [](int k) { return Variant("C" + std::to_string(k)); }}}},
  };
  if (kind == Kind::Commercial) {
    // The sizes of goods, and their combinations with colours: each property of a combination picks
    // from a class of properties (its search code) and keeps the name of the item it picked.
    classes.push_back({3003, "SIZE", "尺码", Variant("Sizes"), "尺碼", 3,
                       {{"尺寸", "F_101", 200, 10, "", "", "", none,
                         [](int k) { return Variant(std::string(k % 2 ? "S" : "M") + std::to_string(k)); }}}});
    classes.push_back({3004, "COLORSIZE", "颜色尺码", Variant("Colours and sizes"), "顏色尺碼", 4,
                       {{"颜色", "F_101", 200, 80, "", "", "", Variant(std::int32_t{3002}),
                         [](int k) { return Variant(Format("颜色%04d", k)); }},
                        {"尺码", "F_102", 200, 80, "", "", "", Variant(std::int32_t{3003}),
                         [](int k) { return Variant(Format("尺码%04d", 1 + k % 3)); }}}});
  }
  return classes;
}

void writeClass(sql::Database& db, ItemWriter& items, const SampleClass& c, std::int32_t& lastPropID,
                std::int32_t count) {
  const std::string id = std::to_string(c.id), table = "t_Item_" + id;
  InsertOne(db,
            "INSERT INTO t_ItemClass (FItemClassID, FNumber, FName, FName_EN, FName_CHT, FType, FSQLTableName, UUID) "
            "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)",
            {Variant(c.id), Variant(c.number), Variant(c.name), c.nameEN, Variant(c.nameCHT), Variant(c.type),
             Variant(table), Variant(SampleUuid(0xC0000000u, static_cast<std::uint32_t>(c.id)))});
  std::string ddl = "ALTER TABLE t_ItemDetail ADD F" + id + " INT\r\n" + CreateClassTable(table);
  for (const SampleProperty& p : c.properties)
    ddl += "\r\nALTER TABLE " + table + " ADD " + p.column + " " +
           PropertyColumnType(p.dataType, std::to_string(p.actualSize));
  sql::RunBatch(db, ddl);

  sql::Statement desc(db,
                      "INSERT INTO t_ItemPropDesc (FItemClassID, FPropID, FName, FName_Cht, FName_En, FSQLColumnName, "
                      "FDataType, FActualType, FActualSize, FPrecision, FScale, FSaveRule, FViewMask, FComCall, "
                      "FDisplayField, FFilterField, FPageName, FPageName_Cht, FPageName_En, FSrcField, FSrcTable, "
                      "FDefaultValue, FSearch) VALUES (?1, ?2, ?3, ?3, ?3, ?4, ?5, ?5, ?6, 2, 0, 1, 255, '', ?7, '', "
                      "'基本资料', '基本资料', '基本资料', ?8, ?9, '', ?10)");
  std::string columns = "FItemID, FNumber, FName", places = "?1, ?2, ?3";
  int place = 3;
  for (const SampleProperty& p : c.properties) {
    Insert(db, desc, {Variant(c.id), Variant(++lastPropID), Variant(p.name), Variant(p.column), Variant(p.dataType),
                      Variant(p.actualSize), Variant(p.displayField), Variant(p.srcField), Variant(p.srcTable), p.search});
    columns += std::string(", ") + p.column;
    places += ", ?" + std::to_string(++place);
  }
  for (const std::string& batch : NewItemClassRights(c.id, c.name, [](std::string_view text) { return std::string(text); }))
    sql::RunBatch(db, batch);

  sql::Statement detail(db, "INSERT INTO " + table + " (" + columns + ") VALUES (" + places + ")");
  items.write(c.id, c.name, count, [&](const DetailItem& d) {
    Row row{Variant(d.id), Variant(d.number), Variant(d.name)};
    for (const SampleProperty& p : c.properties) row.push_back(p.value(d.k));
    Insert(db, detail, row);
  });
}

}  // namespace

void WriteSampleItemClasses(sql::Database& db, ItemWriter& items, std::int32_t count, Kind kind) {
  std::int32_t lastPropID = 0;
  for (const SampleClass& c : sampleClasses(db, kind)) writeClass(db, items, c, lastPropID, count);
}

}  // namespace quillane::accountset
