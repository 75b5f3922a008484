// The data-access stand-in accepts the calls the item engine makes and refuses malformed ones, naming
// the argument; it writes nothing.
#include "platform/erp/data_access.h"

#include <gtest/gtest.h>

#include "platform/automation/automation.h"
#include "platform/xml/TrzRecord.h"
#include "support/automation_test.h"

namespace quillane::testing {
namespace {

const std::string kProps = "ConnectString={Provider=SQLite;Data Source=a.db};UserID=16;AcctType=GY";

std::shared_ptr<TrzRecord> parent(Variant id) {
  auto extra = std::make_shared<TrzRecord>();
  if (!id.isEmpty()) extra->SetValue("ParentID", std::move(id));
  return extra;
}

struct DataAccessCase {
  const char* what;
  std::string props;
  std::int32_t itemClassID, itemID, isDetail;
  Variant extra;
  const char* refusal;  // null: accepted
};

TEST(DataAccess, CreateDataChecksItsArguments) {
  const DataAccessCase cases[] = {
      {"a new department", kProps, 2, 15, 1, Variant(parent(std::int32_t{0})), nullptr},
      {"a cost object group", kProps, 2001, 7, 0, Variant(parent(std::int32_t{3})), nullptr},
      {"no connection", "UserID=16", 2, 15, 1, Variant(parent(std::int32_t{0})), "ConnectString"},
      {"a custom item class", kProps, 3001, 15, 1, Variant(parent(std::int32_t{0})), "Item class 3001"},
      {"no stored item", kProps, 2, 0, 1, Variant(parent(std::int32_t{0})), "Item 0"},
      {"no detail flag", kProps, 2, 15, 2, Variant(parent(std::int32_t{0})), "detail flag 2"},
      {"no parent", kProps, 2, 15, 1, Variant(parent(Variant())), "ParentID"},
      {"a parent that is no number", kProps, 2, 15, 1, Variant(parent("x")), "ParentID"},
  };
  for (const DataAccessCase& c : cases) {
    SCOPED_TRACE(c.what);
    ObjectRef access = CreateObject(erp::kDataAccessProgID);
    auto call = [&] {
      return CBool(CallByName(access, "CreateData", {c.props, std::int16_t{-1}, std::int16_t{1}, c.itemClassID,
                                                     c.itemID, c.isDetail, c.extra}));
    };
    if (!c.refusal) {
      EXPECT_TRUE(call());
      continue;
    }
    AutomationError e = ErrorOf(call);
    EXPECT_EQ(e.number, 5);
    EXPECT_EQ(e.source, erp::kDataAccessProgID);
    EXPECT_NE(e.description.find(c.refusal), std::string::npos) << e.description;
  }
}

TEST(DataAccess, UpdateDataChecksItsArguments) {
  ObjectRef access = CreateObject(erp::kDataAccessProgID);
  EXPECT_TRUE(CBool(CallByName(access, "UpdateData", {kProps, std::int16_t{1}, std::int32_t{8}, std::int32_t{4},
                                                      std::int32_t{0}})));
  EXPECT_EQ(ErrorOf([&] {
              CallByName(access, "UpdateData", {kProps, std::int16_t{1}, std::int32_t{8}, std::int32_t{4}, std::int32_t{-1}});
            }).number,
            5);
  EXPECT_EQ(ErrorOf([&] {
              CallByName(access, "UpdateData", {kProps, std::int16_t{1}, std::int32_t{1500}, std::int32_t{4}, std::int32_t{0}});
            }).number,
            5);
}

}  // namespace
}  // namespace quillane::testing
