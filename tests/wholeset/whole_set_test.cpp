// The whole sample account set carried, type by type in the order of a full transfer, through the
// facade into empty account sets, by pages and by bulk files: every table arrives as it left, a second
// pass from the copy changes nothing but row versions, and deletion keys remove what was deleted.
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/xpath.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "exchange/exchange_db_fixture.h"
#include "platform/automation/automation.h"
#include "platform/automation/vbtext.h"
#include "platform/sql/column_types.h"
#include "platform/sql/database.h"
#include "platform/xml/DOMDocument.h"
#include "platform/xml/DOMNode.h"
#include "tools/quillane/data_type_table.h"
#include "wholeset/account_set_content.h"
#include "wholeset/road.h"

namespace quillane::testing {
namespace {

using cli::kDataTypes;
constexpr const char* kNothingLeft = "0xFFFFFFFFFFFFFFFF";

// The text an XPath expression gives over a page; empty for a page that is no document.
std::string Evaluated(const std::string& xml, const char* expression) {
  xmlDocPtr doc = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), nullptr, nullptr, XML_PARSE_NONET);
  if (!doc) return "";
  xmlXPathContextPtr context = xmlXPathNewContext(doc);
  xmlXPathObjectPtr found = xmlXPathEvalExpression(BAD_CAST expression, context);
  std::string text = found && found->stringval ? reinterpret_cast<const char*>(found->stringval) : "";
  xmlXPathFreeObject(found);
  xmlXPathFreeContext(context);
  xmlFreeDoc(doc);
  return text;
}

// The records a bulk file holds: the children of its Root, the items of its classes in a file of custom
// item classes.
std::int32_t RecordsInFile(const std::string& file) {
  DOMDocument document;
  if (!document.load(file)) return -1;
  const bool classes = document.selectSingleNode("Root/ItemClass") != nullptr;
  return document.selectNodes(classes ? "Root/ItemClass/Item" : "Root/*")->length();
}

// The UUID of the last record of a page.
std::string LastRecordUuid(const std::string& xml) { return Evaluated(xml, "string(/Root/*[last()]/UUID)"); }
bool HoldsRecords(const std::string& xml) { return Evaluated(xml, "string(count(/Root/*) > 0)") == "true"; }

class WholeSet : public ExchangeDbTest {
 public:
  enum class Road { Pages, BulkFiles };

 protected:
  // The sample of the kind of account set that the test carries.
  void makeSource(Kind kind, std::int32_t perClass = 30) {
    kind_ = kind;
    source = dir_.file("source.db");
    accountset::CreateSample(source, perClass, kind);
  }
  std::string propsOf(const std::string& path) const { return props(path, PropsOfKind(kind_)); }

  // A new account set holding, of from's rows, those that no type carries.
  std::string target(const std::string& name, const std::string& from) {
    std::string path = newAccountSet(name);
    SeedNotCarried(from, path, kind_);
    return path;
  }

  void carryByPages(const std::string& from, const std::string& to, const cli::DataType& type) {
    if (type.lIO == kCustomItemClasses) return carryClassesByPages(from, to);
    std::string since;
    for (int page = 0;; ++page) {
      ASSERT_LT(page, 1000) << type.name << ": the pages never end";
      std::vector<Variant> out{propsOf(from), type.lIO, "", std::int32_t{7}, since, "", ""};
      ASSERT_TRUE(CBool(facade->Call("Export", out))) << type.name << ": " << CStr(out[6]);
      // The last page says that nothing is left after it; it may still hold records, as the one
      // document of the auxiliary properties of goods does.
      if (CStr(out[4]) == kNothingLeft && !HoldsRecords(CStr(out[2]))) return;
      std::vector<Variant> in{propsOf(to), type.lIO, out[2], ""};
      ASSERT_TRUE(CBool(facade->Call("Import", in))) << type.name << ": " << CStr(in[3]);
      ASSERT_EQ(CLng(facade->Get("ErrorCount")), 0) << type.name << ": " << CStr(in[3]);
      if (CStr(out[4]) == kNothingLeft) return;
      since = CStr(out[4]);
    }
  }

  // A page of a custom item class goes through the class itself, by the class's name; each page holds
  // the class's definition as well as its items.
  void carryClassesByPages(const std::string& from, const std::string& to) {
    for (const std::string& name : Split(CustomItemClassNames(facade, propsOf(from)), "|")) {
      ObjectRef classes = CreateObject("Quillane.clsItemClass");
      std::string since, previous, highest;
      int page = 0;
      do {
        ASSERT_LT(page++, 1000) << name << ": the pages never end";
        previous = since;
        std::vector<Variant> out{propsOf(from), name, "", std::int32_t{7}, since, "", ""};
        ASSERT_TRUE(CBool(classes->Call("Export", out))) << name << ": " << CStr(out[6]);
        since = CStr(out[4]);
        highest = CStr(out[5]);
        std::vector<Variant> in{propsOf(to), out[2], "", std::int32_t{1}};
        ASSERT_TRUE(CBool(classes->Call("Import", in))) << name << ": " << CStr(in[2]);
        ASSERT_EQ(CLng(classes->Get("ErrorCount")), 0) << name << ": " << CStr(in[2]);
      } while (since < highest && since != previous);
    }
  }

  // The file carries everything up to the highest stamp it reports: an export from that stamp on finds
  // nothing left to send.
  void carryByBulkFile(const std::string& from, const std::string& to, const cli::DataType& type) {
    const std::string file = dir_.file(std::string(type.name) + ".xml");
    std::string error, highest;
    ASSERT_TRUE(ExportToFile(facade, propsOf(from), type.lIO, file, 100, error, &highest)) << type.name << ": " << error;
    ASSERT_TRUE(ImportFromFile(facade, propsOf(to), type.lIO, file, 100, error)) << type.name << ": " << error;
    ASSERT_EQ(CLng(facade->Get("ErrorCount")), 0) << type.name << ": " << error;

    const std::string rest = dir_.file(std::string(type.name) + ".rest.xml");
    ASSERT_TRUE(ExportToFile(facade, propsOf(from), type.lIO, rest, 100, error, nullptr, highest)) << type.name << ": "
                                                                                                  << error;
    EXPECT_EQ(RecordsInFile(rest), 0) << type.name << " since " << highest;
  }

  void carryAll(const std::string& from, const std::string& to, Road road) {
    for (const cli::DataType& type : kDataTypes) {
      if (!OnTheRoad(type.lIO, kind_)) continue;
      if (road == Road::Pages)
        carryByPages(from, to, type);
      else
        carryByBulkFile(from, to, type);
      if (HasFatalFailure()) return;
    }
  }

  // Carrying the same records again finds every one of them: not even an identifier changes.
  void secondPassChangesNothingButRowVersions(const std::string& from, const std::string& to, Road road) {
    const std::string before = dir_.file("before.db");
    sql::Database(to, sql::Database::Mode::OpenExisting).execScript("VACUUM INTO " + Literal(before));
    ASSERT_NO_FATAL_FAILURE(carryAll(from, to, road));
    EXPECT_EQ(Differences(before, to, Identifiers::Equal, kind_), "");
  }

  Kind kind_ = Kind::Industrial;
  std::string source;
  ObjectRef facade = CreateObject("Quillane.clsExpImp");
};

std::string KindName(Kind kind) { return kind == Kind::Industrial ? "Industrial" : "Commercial"; }

// The comparison itself: a copy is equal; a link moved to another record (of the items or of the
// auxiliary data), a changed value (also in the own table of a user-defined class) and a lost row are each
// named, with the table, the row and the column.
TEST_F(WholeSet, TheComparisonNamesEveryDifference) {
  makeSource(Kind::Industrial);
  const std::string copy = dir_.file("copy.db");
  sql::Database(source, sql::Database::Mode::OpenExisting).execScript("VACUUM INTO " + Literal(copy));
  ASSERT_EQ(Differences(source, copy, Identifiers::ByWhatTheyPointAt, kind_), "");
  exec(copy, "UPDATE t_Organization SET FDepartment = (SELECT MAX(FItemID) FROM t_Item WHERE FItemClassID = 2) "
             "WHERE FItemID = (SELECT MIN(FItemID) FROM t_Organization)");
  exec(copy, "UPDATE t_Currency SET FScale = 5 WHERE FNumber = 'USD'");
  exec(copy, "DELETE FROM cb_CostObj_Product WHERE FQuotiety = 0.5");
  // A user-defined class's own table is named by the class's number.
  exec(copy, "UPDATE t_Item_3001 SET FCopies = 9 WHERE FItemID = (SELECT MIN(FItemID) FROM t_Item_3001)");
  // A branch's superior department is an entry of the auxiliary data, whose ids an item may share.
  exec(copy, "UPDATE t_SonCompany SET FSuperDeptID = 20 WHERE FSuperDeptID = 21");
  exec(copy, "UPDATE t_Settle SET FAcctID = 99999 WHERE FNumber = 'JF01'");
  EXPECT_EQ(DanglingLinks(copy), "t_Settle.FAcctID: 1 rows point at no row of t_Account (such as 99999)\n");
  const std::string differences = Differences(source, copy, Identifiers::ByWhatTheyPointAt, kind_);
  EXPECT_NE(differences.find("t_Organization: '00000001-0000-4000-8000-000000000003': FDepartment: "
                             "'00000002-0000-4000-8000-000000000003' | '00000002-0000-4000-8000-"),
            std::string::npos) << differences;
  EXPECT_NE(differences.find("t_Currency: 'A0000001-0000-4000-8000-000000000002': FScale: 2 | 5"), std::string::npos)
      << differences;
  EXPECT_NE(differences.find("cb_CostObj_Product: only in the first: "), std::string::npos) << differences;
  EXPECT_NE(differences.find("t_Item_{C}: '00000BB9-0000-4000-8000-000000000003': FCopies: 2 | 9"), std::string::npos)
      << differences;
  EXPECT_NE(differences.find("t_SonCompany: '0000000A-0000-4000-8000-000000000003': FSuperDeptID: "
                             "'A0000003-0000-4000-8000-000000000015' | 'A0000003-0000-4000-8000-000000000014'"),
            std::string::npos) << differences;
}

// The values at the edges of a decimal(p, s) or money column, and between them a long one and the
// smallest step: row by row in turn, every column of the type holds one of them.
std::vector<std::string> ExtremesOf(const sql::ColumnType& type) {
  if (type.sqlType == sql::SqlType::Money)
    return {"922337203685477.5807", "-922337203685477.5808", "0.0001", "123456789012.3456"};
  const std::string whole(static_cast<std::size_t>(type.length - type.scale), '9'), part(static_cast<std::size_t>(type.scale), '9');
  const std::string max = (whole.empty() ? "0" : whole) + (part.empty() ? "" : "." + part);
  const std::string step = type.scale == 0 ? "1" : "0." + std::string(static_cast<std::size_t>(type.scale - 1), '0') + "1";
  return {max, "-" + max, step, max.substr(0, max.size() / 2 + 1)};
}

// Every decimal and money column of the account set's tables, written through the connection component
// as the library writes, so that the values are those the types hold. The declared types it met.
std::set<std::string> FillNumberColumnsWithExtremes(const std::string& path) {
  std::set<std::string> types;
  sql::Connection cn;
  cn.setConnString(accountset::ConnectString(path));
  sql::Database& db = cn.database();
  for (const auto& table : db.query("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%' "
                                    "AND name NOT LIKE 'quillane%'").rows) {
    const std::string name = CStr(table[0]);
    for (const auto& column : db.query("SELECT name, type FROM pragma_table_info('" + name + "')").rows) {
      const sql::ColumnType type = sql::ColumnTypeOf(CStr(column[1]));
      if (type.sqlType != sql::SqlType::Decimal && type.sqlType != sql::SqlType::Money) continue;
      types.insert(CStr(column[1]));
      const std::vector<std::string> values = ExtremesOf(type);
      for (std::size_t k = 0; k < values.size(); ++k)
        cn.Execute("UPDATE " + name + " SET " + CStr(column[0]) + " = " + values[k] + " WHERE rowid % " +
                   std::to_string(values.size()) + " = " + std::to_string(k));
    }
  }
  cn.CloseConn();
  return types;
}

// Every type of the sample with extreme values in every number column of its own arrives equal.
TEST_F(WholeSet, ExtremeNumbersInEveryDecimalAndMoneyColumnArriveEqual) {
  makeSource(Kind::Industrial);
  EXPECT_EQ(FillNumberColumnsWithExtremes(source), (std::set<std::string>{"DECIMAL(28, 10)", "MONEY", "money"}));
  const std::string copy = target("copy.db", source);
  ASSERT_NO_FATAL_FAILURE(carryAll(source, copy, Road::Pages));
  EXPECT_EQ(Differences(source, copy, Identifiers::ByWhatTheyPointAt, kind_), "");
  // Other SQLite tools read the digits too.
  for (const std::string& path : {source, copy})
    EXPECT_EQ(rows(path, "SELECT COUNT(*) > 0 FROM t_Supplier WHERE CAST(FLastTradeAmount AS TEXT) = '922337203685477.5807'"),
              "1");
}

// Both roads carry the whole set of each kind; a second pass from the copy into a third set finds every
// record.
class WholeSetRoad : public WholeSet, public ::testing::WithParamInterface<std::tuple<Kind, WholeSet::Road>> {
 protected:
  void SetUp() override {
    WholeSet::SetUp();
    // Every 25th item of a class is deleted: here the newest item of every class is a deleted one.
    makeSource(std::get<0>(GetParam()), 25);
  }
};

TEST_P(WholeSetRoad, CarriesEveryTableAndASecondPassChangesNothingButRowVersions) {
  const Road road = std::get<1>(GetParam());
  const std::string copy = target("copy.db", source);
  ASSERT_NO_FATAL_FAILURE(carryAll(source, copy, road));
  EXPECT_EQ(Differences(source, copy, Identifiers::ByWhatTheyPointAt, kind_), "");

  const std::string third = target("third.db", copy);
  ASSERT_NO_FATAL_FAILURE(carryAll(copy, third, road));
  EXPECT_EQ(Differences(copy, third, Identifiers::ByWhatTheyPointAt, kind_), "");
  secondPassChangesNothingButRowVersions(copy, third, road);
}

INSTANTIATE_TEST_SUITE_P(Roads, WholeSetRoad,
                         ::testing::Combine(::testing::Values(Kind::Industrial, Kind::Commercial),
                                            ::testing::Values(WholeSet::Road::Pages, WholeSet::Road::BulkFiles)),
                         [](const auto& info) {
                           return KindName(std::get<0>(info.param)) +
                                  (std::get<1>(info.param) == WholeSet::Road::Pages ? "Pages" : "BulkFiles");
                         });

// A caller's cancel ends the bulk file of every type the same way, whichever road the type takes (the
// class exchange for the item table, stitched pages for accounts and the standalone types, the file of
// custom item classes): False, a text that says the caller cancelled, and the records up to the cancel
// in a well-formed file (no file for the auxiliary properties of goods, whose one page is whole or
// nothing).
class WholeSetCancel : public WholeSet, public ::testing::WithParamInterface<Kind> {};

TEST_P(WholeSetCancel, EndsTheBulkFileOfEveryTypeAndSaysSo) {
  // Pages of one record: the cancel falls on the last record of a page, after which nothing is left
  // to cut short and the export must still stop.
  constexpr std::int32_t kCancelAt = 2, kPerPage = 1;
  facade->Let("bProgress", Variant(true));
  std::int32_t seen = 0;
  facade->Advise([&seen](std::string_view event, DispId, Arguments args) {
    if (event == "Progress" && ++seen == kCancelAt) args[2] = Variant(true);
  });
  makeSource(GetParam());
  for (const cli::DataType& type : kDataTypes) {
    if (!OnTheRoad(type.lIO, kind_)) continue;
    const std::string whole = dir_.file(std::string(type.name) + ".whole.xml");
    const std::string cut = dir_.file(std::string(type.name) + ".cut.xml");
    std::string error;
    seen = INT32_MIN;  // no cancel
    ASSERT_TRUE(ExportToFile(facade, propsOf(source), type.lIO, whole, kPerPage, error)) << type.name << ": " << error;
    if (RecordsInFile(whole) == 0) continue;  // a type of the other kind (work centres in a commercial set)
    ASSERT_GT(RecordsInFile(whole), kCancelAt) << type.name;

    seen = 0;
    EXPECT_FALSE(ExportToFile(facade, propsOf(source), type.lIO, cut, kPerPage, error)) << type.name;
    EXPECT_NE(error.find("导出过程中被用户取消！"), std::string::npos) << type.name << ": " << error;
    // The auxiliary properties of goods travel as one whole page or not at all.
    EXPECT_EQ(RecordsInFile(cut), type.lIO == 20 ? -1 : kCancelAt) << type.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Kinds, WholeSetCancel, ::testing::Values(Kind::Industrial, Kind::Commercial),
                         [](const auto& info) { return KindName(info.param); });

// The types that only an industrial account set has records of: cost accounting, work centres, fees.
bool IndustrialOnly(std::int32_t lIO) {
  for (std::int32_t industrial : {13, 14, 15, 16, 17, 18})
    if (lIO == industrial) return true;
  return false;
}

// The sample of each kind of account set holds records of every type that kind exchanges (and none of
// the types it has not), and every link of its records finds the record it names.
class SampleOfKind : public ExchangeDbTest, public ::testing::WithParamInterface<Kind> {};

TEST_P(SampleOfKind, HoldsRecordsOfEveryTypeItExchangesAndEveryLinkResolves) {
  const Kind kind = GetParam();
  const bool commercial = kind == Kind::Commercial;
  const std::string sample = dir_.file("sample.db");
  accountset::CreateSample(sample, 5, kind);
  EXPECT_EQ(DanglingLinks(sample), "");

  ObjectRef facade = CreateObject("Quillane.clsExpImp");
  for (const cli::DataType& type : kDataTypes) {
    if (type.lIO == 23) continue;  // user-defined classes go by their names: below
    std::vector<Variant> out{props(sample, PropsOfKind(kind)), type.lIO, "", std::int32_t{0}, "", "", ""};
    const bool exported = CBool(facade->Call("Export", out));
    const bool expected = type.lIO == 20 ? commercial : !(commercial && IndustrialOnly(type.lIO));
    EXPECT_EQ(exported && CStr(out[2]).find("UUID>") != std::string::npos, expected) << type.name << ": " << CStr(out[6]);
  }
  // Every user-defined class has records in its own table; those of goods' properties in both kinds,
  // their combinations (FType 4) in a commercial account set only.
  EXPECT_EQ(rows(sample, "SELECT c.FName, c.FType, COUNT(i.FItemID) FROM t_ItemClass c LEFT JOIN t_Item i ON "
                         "i.FItemClassID = c.FItemClassID AND i.FDetail = 1 WHERE c.FItemClassID > 1000 AND "
                         "c.FItemClassID < 2000 OR c.FItemClassID > 3000 GROUP BY c.FItemClassID ORDER BY c.FItemClassID"),
            commercial ? "项目,0,5;合同,0,5;颜色,3,5;尺码,3,5;颜色尺码,4,5" : "项目,0,5;合同,0,5;颜色,3,5");
  for (const char* table : {"t_Item_1001", "t_Item_3001", "t_Item_3002"})
    EXPECT_EQ(rows(sample, std::string("SELECT COUNT(*) FROM ") + table), "5") << table;
  // A material names two properties of its class of properties of goods.
  EXPECT_EQ(rows(sample, "SELECT COUNT(*) FROM COM_ItemAuxProp a JOIN t_ICItem m ON m.FItemID = a.FItemID JOIN t_Item p "
                         "ON p.FItemID = a.FAuxPropID AND p.FItemClassID = m.FAuxClassID"),
            "10");
  EXPECT_EQ(rows(sample, "SELECT COUNT(*) FROM com_SysType s JOIN com_SysTypeClass c ON c.FTypeClassID = s.FClassID"), "4");
  if (commercial) {
    // A combination's properties pick from the classes of colours and sizes and name their items.
    EXPECT_EQ(rows(sample, "SELECT d.FName, c.FName FROM t_ItemPropDesc d JOIN t_ItemClass c ON c.FItemClassID = d.FSearch "
                           "WHERE d.FItemClassID = 3004 ORDER BY d.FPropID"),
              "颜色,颜色;尺码,尺码");
    EXPECT_EQ(rows(sample, "SELECT COUNT(*) FROM t_Item_3004 x JOIN t_Item colour ON colour.FItemClassID = 3002 AND "
                           "colour.FName = x.F_101 JOIN t_Item size ON size.FItemClassID = 3003 AND size.FName = x.F_102"),
              "5");
  }
}

INSTANTIATE_TEST_SUITE_P(Kinds, SampleOfKind, ::testing::Values(Kind::Industrial, Kind::Commercial),
                         [](const auto& info) { return KindName(info.param); });

// The record's own table and item class, found by its UUID wherever it stands.
struct Place {
  std::string table;
  std::int32_t itemClass = 0;
};
Place PlaceOf(sql::Database& db, const std::string& uuid) {
  const std::vector<Variant> key{Variant(uuid)};
  auto item = db.query("SELECT FItemClassID FROM t_Item WHERE UUID = ?1", key);
  if (!item.rows.empty()) return {"t_Item", CLng(item.rows[0][0])};
  for (const auto& row : db.query("SELECT m.name FROM sqlite_master m JOIN pragma_table_info(m.name) c "
                                  "WHERE m.type = 'table' AND c.name = 'UUID'").rows) {
    const std::string table = CStr(row[0]);
    if (!db.query("SELECT 1 FROM " + sql::QuoteIdentifier(table) + " WHERE UUID = ?1", key).rows.empty()) return {table};
  }
  return {};
}

// Why the keys of a type do not travel in an account set of the kind.
const char* KeysRefusal(std::int32_t lIO, Kind kind) {
  if (kind == Kind::Commercial && lIO == 13) return "商业账套不支持工作中心删除关键字的导入导出!";
  if (kind == Kind::Commercial && lIO == 18) return "商业账套不支持费用删除关键字的导入导出!";
  return "不支持不识别删除关键字的导入导出!";
}

// Deletion keys travel for the types that have them; the others refuse them by name.
class WholeSetKeys : public WholeSet, public ::testing::WithParamInterface<Kind> {
 protected:
  void SetUp() override {
    WholeSet::SetUp();
    makeSource(GetParam());
  }
};

TEST_P(WholeSetKeys, DeletionKeysRemoveTheDeletedRecordOfEveryTypeFromTheCopy) {
  const std::string copy = target("copy.db", source);
  ASSERT_NO_FATAL_FAILURE(carryAll(source, copy, Road::BulkFiles));

  std::vector<std::string> deleted;
  for (const cli::DataType& type : kDataTypes) {
    if (!OnTheRoad(type.lIO, kind_)) continue;
    std::vector<Variant> keys{propsOf(source), type.lIO, "", std::int32_t{0}, "", "", ""};
    if (!CBool(facade->Call("ExportXMLDataKey", keys))) {
      EXPECT_NE(CStr(keys[6]).find(KeysRefusal(type.lIO, kind_)), std::string::npos) << type.name << ": " << CStr(keys[6]);
      continue;
    }
    // The ERP deletes the type's last record and keeps its key.
    std::vector<Variant> page{propsOf(source), type.lIO, "", std::int32_t{0}, "", "", ""};
    ASSERT_TRUE(CBool(facade->Call("Export", page))) << type.name << ": " << CStr(page[6]);
    const std::string uuid = LastRecordUuid(CStr(page[2]));
    if (uuid.empty() && kind_ == Kind::Commercial && IndustrialOnly(type.lIO)) continue;
    ASSERT_FALSE(uuid.empty()) << type.name;
    {
      sql::Database db(source, sql::Database::Mode::OpenExisting);
      const Place place = PlaceOf(db, uuid);
      ASSERT_FALSE(place.table.empty()) << type.name << ": " << uuid;
      db.run("DELETE FROM " + sql::QuoteIdentifier(place.table) + " WHERE UUID = ?1", std::vector<Variant>{Variant(uuid)});
      db.run("INSERT INTO t_BaseDataDeleted (FTableName, FItemClassID, FDeletedUUID) VALUES (?1, ?2, ?3)",
             std::vector<Variant>{Variant(place.table), Variant(place.itemClass), Variant(uuid)});
    }
    deleted.push_back(std::string(type.name) + " " + uuid);

    keys = {propsOf(source), type.lIO, "", std::int32_t{0}, "", "", ""};
    ASSERT_TRUE(CBool(facade->Call("ExportXMLDataKey", keys))) << type.name << ": " << CStr(keys[6]);
    std::vector<Variant> in{propsOf(copy), type.lIO, keys[2], ""};
    EXPECT_TRUE(CBool(facade->Call("ImportXMLDataKey", in))) << type.name << ": " << CStr(in[3]);
  }
  EXPECT_FALSE(deleted.empty());
  sql::Database db(copy, sql::Database::Mode::OpenExisting);
  for (const std::string& record : deleted)
    EXPECT_EQ(PlaceOf(db, record.substr(record.find(' ') + 1)).table, "") << record << " is still in the copy";
}

INSTANTIATE_TEST_SUITE_P(Kinds, WholeSetKeys, ::testing::Values(Kind::Industrial, Kind::Commercial),
                         [](const auto& info) { return KindName(info.param); });

}  // namespace
}  // namespace quillane::testing
