// For the tests of the item engine's helpers: an engine that is nothing but the state the helpers read,
// over the connection component on a temporary account set of the test's own.
#pragma once

#include <memory>
#include <string>

#include "exchange/clsItem_access.h"
#include "exchange_db_fixture.h"
#include "support/recording_connection.h"
#include "support/render_rows.h"

namespace quillane::testing {

class FakeItemEngine : public ItemEngineAccess {
 public:
  explicit FakeItemEngine(ObjectRef connection) : connection_(std::move(connection)) {}

  const ObjectRef& connection() const override { return connection_; }
  bool checkByUUID() const override { return byUUID; }
  std::string& lastSQL() override { return sql; }
  std::int32_t itemClassID() const override { return classID; }
  std::int32_t currentItemID() const override { return itemID; }
  bool hasRecords() const override { return records; }

  bool byUUID = false;
  std::string sql;
  std::int32_t classID = 4;
  std::int32_t itemID = 0;
  bool records = true;

 private:
  ObjectRef connection_;
};

// An empty account set with the rows a test inserts, and an engine over it.
class ItemHelperTest : public ExchangeDbTest {
 protected:
  void SetUp() override {
    ExchangeDbTest::SetUp();
    db_ = std::make_shared<RecordingConnection>();
    db_->setConnString(accountset::ConnectString(newAccountSet()));
    engine_ = std::make_unique<FakeItemEngine>(db_);
  }
  void run(const std::string& statements) { db_->Execute(statements); }
  std::string rows(const std::string& query) { return RenderRows(*db_->GetAnyRecordSet(query)); }

  std::shared_ptr<RecordingConnection> db_;
  std::unique_ptr<FakeItemEngine> engine_;
};

}  // namespace quillane::testing
