// The whole sample account set carried, type by type in the order of a full transfer, through the
// facade into empty account sets, by pages and by bulk files: every table arrives as it left, a second
// pass from the copy changes nothing but row versions, and deletion keys remove what was deleted.
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/xpath.h>

#include <string>
#include <vector>

#include "exchange/exchange_db_fixture.h"
#include "platform/automation/automation.h"
#include "platform/automation/vbtext.h"
#include "platform/sql/database.h"
#include "tools/quillane/data_type_table.h"
#include "wholeset/account_set_content.h"
#include "wholeset/road.h"

namespace quillane::testing {
namespace {

using cli::kDataTypes;
constexpr const char* kNothingLeft = "0xFFFFFFFFFFFFFFFF";

// The UUID of the last record of a page.
std::string LastRecordUuid(const std::string& xml) {
  xmlDocPtr doc = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), nullptr, nullptr, XML_PARSE_NONET);
  if (!doc) return "";
  xmlXPathContextPtr context = xmlXPathNewContext(doc);
  xmlXPathObjectPtr found = xmlXPathEvalExpression(BAD_CAST "string(/Root/*[last()]/UUID)", context);
  std::string uuid = found && found->stringval ? reinterpret_cast<const char*>(found->stringval) : "";
  xmlXPathFreeObject(found);
  xmlXPathFreeContext(context);
  xmlFreeDoc(doc);
  return uuid;
}

class WholeSet : public ExchangeDbTest {
 public:
  enum class Road { Pages, BulkFiles };

 protected:
  void SetUp() override {
    ExchangeDbTest::SetUp();
    source = dir_.file("source.db");
    accountset::CreateSample(source, 30);
  }

  // The file export of custom item classes names them in the props' language.
  static std::string propsOf(const std::string& path) {
    return props(path, "UserID=16;AcctType=GY;Setuptype=;Language=CHS");
  }

  // A new account set holding, of from's rows, those that no type carries.
  std::string target(const std::string& name, const std::string& from) {
    std::string path = newAccountSet(name);
    SeedNotCarried(from, path);
    return path;
  }

  void carryByPages(const std::string& from, const std::string& to, const cli::DataType& type) {
    if (type.lIO == kCustomItemClasses) return carryClassesByPages(from, to);
    std::string since;
    for (int page = 0;; ++page) {
      ASSERT_LT(page, 1000) << type.name << ": the pages never end";
      std::vector<Variant> out{propsOf(from), type.lIO, "", std::int32_t{7}, since, "", ""};
      ASSERT_TRUE(CBool(facade->Call("Export", out))) << type.name << ": " << CStr(out[6]);
      if (CStr(out[4]) == kNothingLeft) return;
      std::vector<Variant> in{propsOf(to), type.lIO, out[2], ""};
      ASSERT_TRUE(CBool(facade->Call("Import", in))) << type.name << ": " << CStr(in[3]);
      ASSERT_EQ(CLng(facade->Get("ErrorCount")), 0) << type.name << ": " << CStr(in[3]);
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

  void carryByBulkFile(const std::string& from, const std::string& to, const cli::DataType& type) {
    const std::string file = dir_.file(std::string(type.name) + ".xml");
    std::string error;
    ASSERT_TRUE(ExportToFile(facade, propsOf(from), type.lIO, file, 100, error)) << type.name << ": " << error;
    ASSERT_TRUE(ImportFromFile(facade, propsOf(to), type.lIO, file, 100, error)) << type.name << ": " << error;
    ASSERT_EQ(CLng(facade->Get("ErrorCount")), 0) << type.name << ": " << error;
  }

  void carryAll(const std::string& from, const std::string& to, Road road) {
    for (const cli::DataType& type : kDataTypes) {
      if (!OnTheRoad(type.lIO)) continue;
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
    EXPECT_EQ(Differences(before, to, Identifiers::Equal), "");
  }

  std::string source;
  ObjectRef facade = CreateObject("Quillane.clsExpImp");
};

// The comparison itself: a copy is equal; a link moved to another record, a changed value (also in the
// own table of a user-defined class) and a lost row are each named, with the table, the row and the column.
TEST_F(WholeSet, TheComparisonNamesEveryDifference) {
  const std::string copy = dir_.file("copy.db");
  sql::Database(source, sql::Database::Mode::OpenExisting).execScript("VACUUM INTO " + Literal(copy));
  ASSERT_EQ(Differences(source, copy, Identifiers::ByWhatTheyPointAt), "");
  exec(copy, "UPDATE t_Organization SET FDepartment = (SELECT MAX(FItemID) FROM t_Item WHERE FItemClassID = 2) "
             "WHERE FItemID = (SELECT MIN(FItemID) FROM t_Organization)");
  exec(copy, "UPDATE t_Currency SET FScale = 5 WHERE FNumber = 'USD'");
  exec(copy, "DELETE FROM cb_CostObj_Product WHERE FQuotiety = 0.5");
  // A user-defined class's own table is named by the class's number.
  exec(copy, "UPDATE t_Item_3001 SET FCopies = 9 WHERE FItemID = (SELECT MIN(FItemID) FROM t_Item_3001)");
  const std::string differences = Differences(source, copy, Identifiers::ByWhatTheyPointAt);
  EXPECT_NE(differences.find("t_Organization: '00000001-0000-4000-8000-000000000003': FDepartment: "
                             "'00000002-0000-4000-8000-000000000003' | '00000002-0000-4000-8000-"),
            std::string::npos) << differences;
  EXPECT_NE(differences.find("t_Currency: 'A0000001-0000-4000-8000-000000000002': FScale: 2 | 5"), std::string::npos)
      << differences;
  EXPECT_NE(differences.find("cb_CostObj_Product: only in the first: "), std::string::npos) << differences;
  EXPECT_NE(differences.find("t_Item_{C}: '00000BB9-0000-4000-8000-000000000003': FCopies: 2 | 9"), std::string::npos)
      << differences;
}

// Both roads carry the whole set; a second pass from the copy into a third set finds every record.
class WholeSetRoad : public WholeSet, public ::testing::WithParamInterface<WholeSet::Road> {};

TEST_P(WholeSetRoad, CarriesEveryTableAndASecondPassChangesNothingButRowVersions) {
  const std::string copy = target("copy.db", source);
  ASSERT_NO_FATAL_FAILURE(carryAll(source, copy, GetParam()));
  EXPECT_EQ(Differences(source, copy, Identifiers::ByWhatTheyPointAt), "");

  const std::string third = target("third.db", copy);
  ASSERT_NO_FATAL_FAILURE(carryAll(copy, third, GetParam()));
  EXPECT_EQ(Differences(copy, third, Identifiers::ByWhatTheyPointAt), "");
  secondPassChangesNothingButRowVersions(copy, third, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Roads, WholeSetRoad, ::testing::Values(WholeSet::Road::Pages, WholeSet::Road::BulkFiles),
                         [](const auto& info) { return info.param == WholeSet::Road::Pages ? "Pages" : "BulkFiles"; });

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

// Deletion keys travel for the types that have them; the others refuse them by name.
TEST_F(WholeSet, DeletionKeysRemoveTheDeletedRecordOfEveryTypeFromTheCopy) {
  const std::string copy = target("copy.db", source);
  ASSERT_NO_FATAL_FAILURE(carryAll(source, copy, Road::BulkFiles));

  std::vector<std::string> deleted;
  for (const cli::DataType& type : kDataTypes) {
    if (!OnTheRoad(type.lIO)) continue;
    std::vector<Variant> keys{propsOf(source), type.lIO, "", std::int32_t{0}, "", "", ""};
    if (!CBool(facade->Call("ExportXMLDataKey", keys))) {
      EXPECT_NE(CStr(keys[6]).find("不支持不识别删除关键字的导入导出!"), std::string::npos) << type.name << ": " << CStr(keys[6]);
      continue;
    }
    // The ERP deletes the type's last record and keeps its key.
    std::vector<Variant> page{propsOf(source), type.lIO, "", std::int32_t{0}, "", "", ""};
    ASSERT_TRUE(CBool(facade->Call("Export", page))) << type.name << ": " << CStr(page[6]);
    const std::string uuid = LastRecordUuid(CStr(page[2]));
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

}  // namespace
}  // namespace quillane::testing
