// The sample's custom item classes carried from one account set to an empty one through the facade's
// bulk files, small (read whole) and large (cut into batches), and compared table by table.
#include <gtest/gtest.h>

#include <filesystem>

#include "itemtypes/item_class_fixture.h"
#include "support/item_class_tables.h"
#include "support/scripted_dialog_host.h"

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

  void expectSameClasses() {
    for (const char* name : {"项目", "合同", "颜色"}) {
      ASSERT_NE(rows(target, "SELECT FItemClassID FROM t_ItemClass WHERE FName = '" + std::string(name) + "'"), "") << name;
      auto expected = ItemClassTables([&](const std::string& sql) { return rows(source, sql); }, name);
      auto actual = ItemClassTables([&](const std::string& sql) { return rows(target, sql); }, name);
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

// What is decided about a class in its first batch holds for its others: new classes stay new with
// AddNewOnly, and a clash answered once is not asked again.
TEST_F(ItemClassRoundTrip, ADecisionAboutAClassHoldsForAllItsBatches) {
  facade->Let("AddNewOnly", true);
  Result result = carry(200);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_GE(std::filesystem::file_size(file), 512000u);
  expectSameClasses();
}

TEST_F(ItemClassRoundTrip, AClashAnsweredOnceHoldsForAllTheClassesBatches) {
  exec(target, "INSERT INTO t_ItemClass (FItemClassID, FNumber, FName) VALUES (3050, 'P', '别的')");
  ScopedDialogHost dialogs;
  dialogs.host->scripts.push_back([](erp::Form& form) {
    form.Click("OptNew");
    form.control("txtNewNumber").SetText("P2");
    form.Click("cmdOK");
  });
  facade->Let("HaveInterFace", true);
  Result result = carry(200);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(dialogs.host->dialogsShown, 1);
  const std::string items = "SELECT COUNT(*) FROM t_Item i JOIN t_ItemClass c ON c.FItemClassID = i.FItemClassID WHERE ";
  EXPECT_EQ(rows(target, items + "c.FNumber = 'P2'"), rows(source, items + "c.FName = '项目'"));
  EXPECT_EQ(rows(target, "SELECT COUNT(*) FROM t_ItemClass WHERE FName = '项目'"), "1");
}

}  // namespace
}  // namespace quillane::testing
