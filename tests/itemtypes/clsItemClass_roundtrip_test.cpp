// The sample's custom item classes carried from one account set to an empty one through the facade's
// bulk files, small (read whole) and large (cut into batches), and compared table by table.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "itemtypes/item_class_fixture.h"

namespace quillane::testing {
namespace {

class ItemClassRoundTrip : public ItemClassTest {
 protected:
  struct Result {
    bool ok;
    std::string error;
    std::int32_t failed;
  };
  Result carry(std::int32_t itemsPerClass) {
    accountset::CreateSample(source, itemsPerClass);
    // The records that the lookup properties name travel before the classes do.
    exec(target,
         "INSERT INTO t_Currency (FCurrencyID, FNumber, FName) VALUES (1, 'RMB', '人民币'), (2, 'USD', '美元')\r\n"
         "INSERT INTO t_SubMessage (FInterID, FTypeID, FID, FName) VALUES (1, 1, '01', '一般纳税人'), (2, 1, '02', '小规模纳税人')");
    std::vector<Variant> out{props(source, "UserID=16;AcctType=GY;Language=CHS"), "项目|合同|颜色", file,
                             std::int32_t{50}, "", "", ""};
    if (!CBool(facade->Call("ExportCustIOToFile", out))) return Result{false, CStr(out[6]), 0};
    std::vector<Variant> in{props(target), "", file, std::int32_t{500}, ""};
    bool ok = CBool(facade->Call("ImportCustIOFromFile", in));
    return Result{ok, CStr(in[4]), CLng(facade->Get("ErrorCount"))};
  }

  // The identifier of the class named name in the account set at path.
  static std::string classID(const std::string& path, const std::string& name) {
    return rows(path, "SELECT FItemClassID FROM t_ItemClass WHERE FName = '" + name + "'");
  }
  // Everything of the class that travels, with its identifiers left out or given by number.
  static std::vector<std::pair<std::string, std::string>> classTables(const std::string& path, const std::string& name) {
    const std::string id = classID(path, name), table = "t_Item_" + id;
    std::string columns = "i.FNumber, i.FName, i.FLevel, i.FDetail, p.FNumber, i.UUID, i.FSystemType, d.FNumber, d.FName";
    for (const std::string& column : lines(rows(path, "SELECT FSQLColumnName FROM t_ItemPropDesc WHERE FItemClassID = " +
                                                          id + " ORDER BY FPropID")))
      columns += ", d." + column;
    return {
        {"class", rows(path, "SELECT FNumber, FName, FType, FSQLTableName = 't_Item' || FItemClassID FROM t_ItemClass "
                             "WHERE FItemClassID = " + id)},
        {"table", rows(path, "SELECT name, lower(typename) FROM syscolumns WHERE id = object_id('" + table + "') ORDER BY colid")},
        {"link column", rows(path, "SELECT COUNT(*) FROM syscolumns WHERE id = object_id('t_ItemDetail') AND name = 'F" + id + "'")},
        {"descriptions",
         rows(path, "SELECT FName, FName_Cht, FName_En, FSQLColumnName, FDataType, FActualType, FActualSize, FBehavior, "
                    "FPrecision, FScale, FSaveRule, FViewMask, FComCall, FDisplayField, FFilterField, FPageName, "
                    "FPageName_Cht, FPageName_En, FSrcField, FSrcTable, FDefaultValue, FSearch FROM t_ItemPropDesc "
                    "WHERE FItemClassID = " + id + " ORDER BY FPropID")},
        {"access objects", rows(path, "SELECT FObjectType, FName, FName_cht, FName_en, FDescription, FDescription_cht, "
                                      "FDescription_en FROM t_ObjectType WHERE FObjectID = " + id + " ORDER BY FObjectType")},
        {"access types", rows(path, "SELECT FObjectType, FIndex, FAccessMask, FAccessUse, FName, FDescription, FName_Cht, "
                                    "FName_En, FDescription_Cht, FDescription_En FROM t_ObjectAccessType WHERE FObjectID = " +
                                        id + " ORDER BY FObjectType, FIndex")},
        {"grants", rows(path, "SELECT FGroupID, FObjectType, FIndex FROM t_ObjectAccess WHERE FObjectID = " + id +
                                  " ORDER BY FObjectType, FIndex, FGroupID")},
        {"records", rows(path, "SELECT " + columns + " FROM t_Item i LEFT JOIN t_Item p ON p.FItemID = i.FParentID AND "
                               "i.FParentID <> 0 LEFT JOIN " + table + " d ON d.FItemID = i.FItemID WHERE i.FItemClassID = " +
                               id + " ORDER BY i.FNumber")},
    };
  }
  // The rows of RenderRows's text.
  static std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    for (std::size_t start = 0; start < text.size();) {
      std::size_t end = std::min(text.find(';', start), text.size());
      out.push_back(text.substr(start, end - start));
      start = end + 1;
    }
    return out;
  }
  void expectSameClasses() {
    for (const char* name : {"项目", "合同", "颜色"}) {
      ASSERT_NE(classID(target, name), "") << name;
      auto expected = classTables(source, name), actual = classTables(target, name);
      for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].second, expected[i].second) << name << ": " << expected[i].first;
        EXPECT_NE(expected[i].second, "") << name << ": " << expected[i].first;
      }
    }
  }

  std::string source = dir_.file("source.db");
  std::string target = newAccountSet("target.db");
  std::string file = dir_.file("classes.xml");
  ObjectRef facade = CreateObject("Quillane.clsExpImp");
};

TEST_F(ItemClassRoundTrip, ASmallFileCarriesTheClassesWhole) {
  Result result = carry(30);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_LT(std::filesystem::file_size(file), 512000u);
  expectSameClasses();
}

TEST_F(ItemClassRoundTrip, ALargeFileCarriesTheClassesInBatches) {
  Result result = carry(200);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_GE(std::filesystem::file_size(file), 512000u);
  EXPECT_EQ(result.failed, 0);
  expectSameClasses();
}

}  // namespace
}  // namespace quillane::testing
