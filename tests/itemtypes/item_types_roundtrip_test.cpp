// The sample account set carried into an empty one arrives as it left: every item row with its parent
// and every column of the detail rows, links as the same records of the target, through the types' own
// classes, through the facade's pages and through its bulk files.
#include <gtest/gtest.h>

#include <functional>

#include "item_types_fixture.h"

namespace quillane::testing {
namespace {

// In the order in which their links can find each other; carried twice, so that the links to records
// carried later (a department's manager, a branch's superior) find them the second time.
constexpr const ItemType* kCarried[] = {&kDepartmentType, &kEmployeeType,  &kStockType, &kSupplierType,
                                        &kSubCompanyType, &kWorkCenterType, &kFeeType};
constexpr const ItemType* kCompared[] = {&kEmployeeType,   &kStockType,      &kSupplierType,
                                         &kSubCompanyType, &kWorkCenterType, &kFeeType};

class ItemTypesRoundTrip : public ItemTypesTest {
 protected:
  using Road = std::function<void(const ItemType&, const std::string& source, const std::string& target)>;

  // Pages of seven records, each page's stamp handed to the next call, until the highest is reached.
  void carryPages(const ItemType& type, const std::string& source, const std::string& target, bool byFacade) {
    std::string since;
    for (int pages = 0; pages < 100; ++pages) {
      Page page = byFacade ? facadeExport(type, source, 7, since) : exportPage(type, source, 7, since);
      ASSERT_TRUE(page.ok) << type.progID << ": " << page.error;
      Imported imported = byFacade ? facadeImport(type, target, page.xml) : importXml(type, target, page.xml);
      ASSERT_TRUE(imported.ok) << type.progID << ": " << imported.error;
      EXPECT_EQ(imported.errorCount, 0);
      since = page.stamp;
      if (since == page.maxStamp) return;
    }
    FAIL() << type.progID << ": the pages do not reach the highest stamp";
  }
  void carryFile(const ItemType& type, const std::string& source, const std::string& target) {
    std::string file = dir_.file(std::string(type.record) + ".xml");
    std::vector<Variant> exportArgs{propsOf(source), type.lIO, file, std::int32_t{7}, "", "", ""};
    ASSERT_TRUE(CBool(facade->Call("ExportPreIOToFile", exportArgs))) << type.progID << ": " << CStr(exportArgs[6]);
    std::vector<Variant> importArgs{propsOf(target), type.lIO, file, std::int32_t{7}, ""};
    ASSERT_TRUE(CBool(facade->Call("ImportPreIOFromFile", importArgs))) << type.progID << ": " << CStr(importArgs[4]);
  }

  void roundTrip(const Road& carry) {
    const std::string source = dir_.file("source.db"), target = newAccountSet("target.db");
    accountset::CreateSample(source, 30);
    copyLinkTargets(source, target);
    for (int pass = 0; pass < 2; ++pass)
      for (const ItemType* type : kCarried) {
        carry(*type, source, target);
        if (::testing::Test::HasFatalFailure()) return;
      }
    for (const ItemType* type : kCompared) {
      // A work centre's calendar is set to 999 on import, whatever the document holds.
      const std::vector<std::string> skipped = type == &kWorkCenterType ? std::vector<std::string>{"FCalID"}
                                                                        : std::vector<std::string>{};
      EXPECT_EQ(content(target, *type, skipped), content(source, *type, skipped)) << type->progID;
    }
    EXPECT_EQ(rows(target, "SELECT DISTINCT FCalID FROM t_WorkCenter"), "999");
  }
};

TEST_F(ItemTypesRoundTrip, ThroughTheTypesOwnClasses) {
  roundTrip([&](const ItemType& type, const std::string& source, const std::string& target) {
    carryPages(type, source, target, false);
  });
}

TEST_F(ItemTypesRoundTrip, ThroughTheFacadesPages) {
  roundTrip([&](const ItemType& type, const std::string& source, const std::string& target) {
    carryPages(type, source, target, true);
  });
}

TEST_F(ItemTypesRoundTrip, ThroughTheFacadesBulkFiles) {
  roundTrip([&](const ItemType& type, const std::string& source, const std::string& target) {
    carryFile(type, source, target);
  });
}

// The round trips show what the sample holds: it must fill every column of the detail tables on some
// row, and hold a quote, a percent sign, an underscore and Chinese text in the text columns.
TEST_F(ItemTypesRoundTrip, TheSampleFillsEveryColumnOfTheDetailTables) {
  const std::string source = dir_.file("source.db");
  accountset::CreateSample(source, 30);
  sql::Database db(source, sql::Database::Mode::OpenExisting);
  for (const ItemType* type : kCompared) {
    const bool hasText = type != &kSubCompanyType;  // a branch has no text of its own
    EXPECT_EQ(content(source, *type).find("O'Neil 100%_测") != std::string::npos, hasText) << type->progID;
    for (const auto& row : db.query(std::string("SELECT name FROM pragma_table_info('") + type->table + "')").rows) {
      const std::string column = CStr(row[0]);
      sql::Rowset filled = db.query("SELECT COUNT(*) FROM " + std::string(type->table) + " WHERE " + column +
                                    " IS NOT NULL AND " + column + " NOT IN (0, '')");
      EXPECT_GT(CLng(filled.rows.at(0).at(0)), 0) << type->table << "." << column << " is empty on every row";
    }
  }
}

}  // namespace
}  // namespace quillane::testing
