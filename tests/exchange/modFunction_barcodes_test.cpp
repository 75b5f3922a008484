// Bar codes: read into a vector, written back by one DELETE and one batch of INSERTs.
#include "exchange/modFunction_barcodes.h"

#include <gtest/gtest.h>

#include "exchange_db_fixture.h"
#include "platform/automation/automation.h"
#include "platform/sql/connection.h"
#include "platform/sql/errors.h"
#include "platform/xml/TrzRecord.h"
#include "support/automation_test.h"
#include "support/recording_connection.h"
#include "support/render_rows.h"

namespace quillane::testing {
namespace {

using modFunction::ReadBarCodes;
using modFunction::SaveBarCodes;

std::shared_ptr<TrzRecord> barCode(Variant code, Variant remark) {
  auto record = std::make_shared<TrzRecord>();
  record->SetValue("BarCode", std::move(code));
  record->SetValue("Remark", std::move(remark));
  return record;
}

class BarCodes : public ExchangeDbTest {
 protected:
  void SetUp() override {
    ExchangeDbTest::SetUp();
    connection_ = std::make_shared<RecordingConnection>();
    connection_->setConnString(accountset::ConnectString(newAccountSet()));
    connection_->Execute("INSERT INTO t_BarCode (FTypeID,FItemID,FBarCode,FRemark) VALUES (4,7,'old',NULL)\r\n"
                         "INSERT INTO t_BarCode (FTypeID,FItemID,FBarCode,FRemark) VALUES (4,8,'other','')");
  }
  std::string stored(std::int32_t item) {
    return RenderRows(*connection_->GetAnyRecordSet("SELECT FBarCode, FRemark FROM t_BarCode WHERE FItemID = " +
                                                    std::to_string(item) + " ORDER BY rowid"));
  }

  std::shared_ptr<RecordingConnection> connection_;
};

TEST_F(BarCodes, ReadGivesOneRecordPerRowAndNeverNull) {
  auto read = ReadBarCodes(connection_, 4, 7);
  ASSERT_EQ(read->Count(), 1);
  auto record = read->RecordAt(0);
  EXPECT_EQ(record->Key(1), "BarCode");
  EXPECT_EQ(record->Key(2), "Remark");
  EXPECT_EQ(record->Item("BarCode"), Variant("old"));
  EXPECT_TRUE(record->Item("Remark").isNull());
  auto none = ReadBarCodes(connection_, 4, 99);
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(none->Count(), 0);
}

TEST_F(BarCodes, RoundTripWithQuotesInTheText) {
  TrzRecords codes;
  codes.Add(Variant(barCode(Variant("69'01"), Variant("Bob's box"))));
  codes.Add(Variant(barCode(Variant("6902"), Variant::null())));
  SaveBarCodes(connection_, 4, 7, codes);
  EXPECT_EQ(stored(7), "69'01,Bob's box;6902,");
  EXPECT_EQ(stored(8), "other,") << "another item keeps its bar codes";
  auto read = ReadBarCodes(connection_, 4, 7);
  ASSERT_EQ(read->Count(), 2);
  EXPECT_EQ(read->RecordAt(0)->Item("BarCode"), Variant("69'01"));
  EXPECT_EQ(read->RecordAt(0)->Item("Remark"), Variant("Bob's box"));
  EXPECT_EQ(connection_->statementsOf("Execute"),
            (std::vector<std::string>{
                "Delete From t_BarCode Where FTypeID=4 And FItemID=7",
                "\r\nINSERT INTO t_BarCode (FTypeID,FItemID,FBarCode,FRemark) VALUES (4,7,'69''01','Bob''s box')"
                "\r\nINSERT INTO t_BarCode (FTypeID,FItemID,FBarCode,FRemark) VALUES (4,7,'6902','')"}));
}

TEST_F(BarCodes, AnEmptyVectorOnlyDeletes) {
  SaveBarCodes(connection_, 4, 7, TrzRecords());
  EXPECT_EQ(stored(7), "");
  EXPECT_EQ(connection_->statementsOf("Execute"),
            std::vector<std::string>{"Delete From t_BarCode Where FTypeID=4 And FItemID=7"});
}

TEST_F(BarCodes, AMissingRemarkIsStoredEmpty) {
  auto record = std::make_shared<TrzRecord>();
  record->SetValue("BarCode", Variant("6903"));
  TrzRecords codes;
  codes.Add(Variant(record));
  SaveBarCodes(connection_, 4, 7, codes);
  EXPECT_EQ(stored(7), "6903,");
}

TEST_F(BarCodes, FailuresReachTheCaller) {
  TrzRecords notRecords;
  notRecords.Add(Variant("6904"));
  EXPECT_EQ(ErrorOf([&] { SaveBarCodes(connection_, 4, 7, notRecords); }).number, 13);
  EXPECT_EQ(stored(7), "old,NULL") << "nothing was deleted";
  connection_->Execute("DROP TABLE t_BarCode");
  EXPECT_EQ(ErrorOf([&] { ReadBarCodes(connection_, 4, 7); }).source, sql::kProviderSource);
}

}  // namespace
}  // namespace quillane::testing
