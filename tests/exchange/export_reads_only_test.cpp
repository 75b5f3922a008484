// An export only reads: whatever its filter (a condition of the caller's, placed in the page query as
// it is) tries, the account set comes out of it as it went in.
#include <gtest/gtest.h>

#include "facade_fixture.h"

namespace quillane::testing {
namespace {

class ExportReadsOnly : public FacadeTest {
 protected:
  // The rows an attack could reach: every table it names below.
  std::string contents(const std::string& path) {
    return rows(path, "SELECT COUNT(*) FROM t_Currency") + "|" + rows(path, "SELECT COUNT(*) FROM t_Item") + "|" +
           rows(path, "SELECT FNumber, FName FROM t_Currency ORDER BY FNumber");
  }
};

TEST_F(ExportReadsOnly, AFilterThatWritesChangesNothingOnAnyRoad) {
  const std::string path = dir_.file("sample.db");
  accountset::CreateSample(path, 3);
  const std::string before = contents(path);
  const char* filters[] = {
      "1=1) ; DELETE FROM t_Currency; SELECT * FROM t_Item WHERE (1=1",
      "1=1) ; UPDATE t_Currency SET FName = 'x'; SELECT * FROM t_Item WHERE (1=1",
      "1=1) ; PRAGMA query_only=0; DELETE FROM t_Currency; SELECT * FROM t_Item WHERE (1=1",
      "1=1) ; ATTACH DATABASE 'elsewhere.db' AS other; SELECT * FROM t_Item WHERE (1=1",
      "1=1) ; DROP TABLE t_Currency; SELECT * FROM t_Item WHERE (1=1",
  };
  // The item engine (departments), the standalone frame (currencies, accounts) and the materials.
  const std::int32_t types[] = {6, 3, 1, 8};
  for (const char* filter : filters) {
    for (std::int32_t lIO : types) {
      facade->Let("Filter", Variant(filter));
      Page page = facadeExport(lIO, props(path));
      EXPECT_EQ(contents(path), before) << lIO << ": " << filter << "\n" << page.error;
    }
  }
  facade->Let("Filter", Variant(""));
  EXPECT_TRUE(facadeExport(3, props(path)).ok);
}

}  // namespace
}  // namespace quillane::testing
