// The data-access stand-in accepts the calls the item engine and the standalone types make and refuses
// malformed ones, naming the argument; it writes nothing.
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

std::shared_ptr<TrzRecord> accountParent(std::int32_t id) {
  auto extra = std::make_shared<TrzRecord>();
  extra->SetValue("FParentID", id);
  return extra;
}

struct DataAccessCase {
  const char* what;
  std::string props;
  std::int16_t kind;
  std::int32_t type, id, isDetail;
  Variant extra;
  const char* refusal;  // null: accepted
};

TEST(DataAccess, CreateDataChecksItsArguments) {
  const DataAccessCase cases[] = {
      {"a new department", kProps, 1, 2, 15, 1, Variant(parent(std::int32_t{0})), nullptr},
      {"a cost object group", kProps, 1, 2001, 7, 0, Variant(parent(std::int32_t{3})), nullptr},
      {"a settlement method", kProps, 3, 130, 4, -1, Variant(parent(std::int16_t{0})), nullptr},
      {"a voucher group", kProps, 3, 140, 4, -1, Variant(parent(std::int16_t{0})), nullptr},
      {"a currency", kProps, 3, 120, 4, -1, Variant(parent(std::int16_t{0})), nullptr},
      {"an account under its parent", kProps, 3, 1052, 9, -1, Variant(accountParent(3)), nullptr},
      {"no connection", "UserID=16", 1, 2, 15, 1, Variant(parent(std::int32_t{0})), "ConnectString"},
      {"a custom item class", kProps, 1, 3001, 15, 1, Variant(parent(std::int32_t{0})), "Item class 3001"},
      {"an item class as an object type", kProps, 3, 2, 15, 1, Variant(parent(std::int32_t{0})), "Object type 2"},
      {"an object type as an item class", kProps, 1, 130, 15, 1, Variant(parent(std::int32_t{0})), "Item class 130"},
      {"no stored record", kProps, 1, 2, 0, 1, Variant(parent(std::int32_t{0})), "Record 0"},
      {"no detail flag", kProps, 1, 2, 15, 2, Variant(parent(std::int32_t{0})), "detail flag 2"},
      {"no parent", kProps, 1, 2, 15, 1, Variant(parent(Variant())), "ParentID"},
      {"a parent that is no number", kProps, 1, 2, 15, 1, Variant(parent("x")), "ParentID"},
      {"an account parent below 0", kProps, 3, 105, 9, -1, Variant(accountParent(-1)), "ParentID"},
  };
  for (const DataAccessCase& c : cases) {
    SCOPED_TRACE(c.what);
    ObjectRef access = CreateObject(erp::kDataAccessProgID);
    auto call = [&] {
      return CBool(CallByName(access, "CreateData", {c.props, std::int16_t{-1}, c.kind, c.type, c.id, c.isDetail,
                                                     c.extra}));
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
  // Accounts, as objects of types 105 and 1052.
  EXPECT_TRUE(CBool(CallByName(access, "UpdateData", {kProps, std::int16_t{3}, std::int32_t{105}, std::int32_t{9},
                                                      std::int32_t{3}})));
  EXPECT_EQ(ErrorOf([&] {
              CallByName(access, "UpdateData", {kProps, std::int16_t{3}, std::int32_t{120}, std::int32_t{0}, std::int32_t{0}});
            }).number,
            5);
}

}  // namespace
}  // namespace quillane::testing
