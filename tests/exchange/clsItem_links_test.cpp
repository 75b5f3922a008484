// The link codecs: identifiers packed as LinkRefs and matched back in the target account set.
#include "exchange/clsItem_links.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "item_engine_fake.h"
#include "platform/automation/automation.h"
#include "platform/sql/errors.h"
#include "support/automation_test.h"

namespace quillane::testing {
namespace {

// One record of each kind that links reach, with a few that the departures need: an item whose UUID is
// empty, entries whose names repeat under other numbers, texts with quotes.
constexpr const char* kLinkedRows =
    "INSERT INTO t_SubMessage (FInterID,FTypeID,FID,FName,UUID) VALUES (101,1,'01','男','A-101')\r\n"
    "INSERT INTO t_SubMessage (FInterID,FTypeID,FID,FName,UUID) VALUES (102,1,'02','女','A-102')\r\n"
    "INSERT INTO t_SubMessage (FInterID,FTypeID,FID,FName,UUID) VALUES (103,2,'03','O''Neil','A-103')\r\n"
    "INSERT INTO t_Item (FItemID,FItemClassID,FNumber,FName,UUID) VALUES (201,2,'01','销售部','I-201')\r\n"
    "INSERT INTO t_Item (FItemID,FItemClassID,FNumber,FName,UUID) VALUES (202,3,'E1','Alice','I-202')\r\n"
    "INSERT INTO t_Item (FItemID,FItemClassID,FNumber,FName,UUID) VALUES (203,3,'E2','Nobody','')\r\n"
    "INSERT INTO t_Item (FItemID,FItemClassID,FNumber,FName,UUID) VALUES (204,3,'E''3','Bob''s','I-204')\r\n"
    "INSERT INTO t_Item (FItemID,FItemClassID,FNumber,FName,UUID) VALUES (501,5,'S01','主仓','I-501')\r\n"
    "INSERT INTO t_StockPlaceGroup (FSPGroupID,FNumber,FName,UUID) VALUES (301,'G1','货区','SG-301')\r\n"
    "INSERT INTO t_Account (FAccountID,FNumber,FName,UUID) VALUES (401,'1001','现金','AC-401')\r\n"
    "INSERT INTO t_Currency (FCurrencyID,FNumber,FName,UUID) VALUES (411,'RMB','人民币','CU-411')\r\n"
    "INSERT INTO t_Settle (FItemID,FNumber,FName,UUID) VALUES (421,'JS01','现金结算','SE-421')\r\n"
    "INSERT INTO ICQCScheme (FInterID,FBillNo,FSchemeName,UUID) VALUES (431,'QC01','全检','QC-431')\r\n"
    "INSERT INTO t_Routing (FInterID,FBillNo,FRoutingName,UUID) VALUES (441,'RT01','装配线','RT-441')\r\n"
    "INSERT INTO t_WorkType (FInterID,FNumber,FName) VALUES (451,'W1','钳工')\r\n"
    "INSERT INTO t_StockPlace (FSPID,FNumber,FName,UUID) VALUES (461,'SP1','一号位','SP-461')\r\n"
    "INSERT INTO t_MeasureUnit (FMeasureUnitID,FUnitGroupID,FNumber,FName,UUID) VALUES (601,701,'01','箱','MU-601')\r\n"
    "INSERT INTO t_MeasureUnit (FMeasureUnitID,FUnitGroupID,FNumber,FName,UUID) VALUES (602,702,'02','个','MU-602')\r\n"
    "INSERT INTO t_UnitGroup (FUnitGroupID,FName,UUID) VALUES (701,'箱组','UG-701')\r\n"
    "INSERT INTO t_UnitGroup (FUnitGroupID,FName,UUID) VALUES (702,'个组','UG-702')\r\n"
    "INSERT INTO t_ItemClass (FItemClassID,FNumber,FName,FType) VALUES (3001,'AP01','颜色',3)\r\n"
    "INSERT INTO t_JobType (FInterID,FName) VALUES (801,'装配')\r\n"
    "INSERT INTO t_IcTeamTime (FID,FBillNo,FName,UUID) VALUES (901,'T01','早班','TT-901')";

constexpr const char* kPrefix = "UPDATE t_ICItem SET ";

std::shared_ptr<TrzRecord> recordOf(std::initializer_list<std::pair<const char*, const char*>> keys) {
  auto record = std::make_shared<TrzRecord>();
  for (const auto& [key, value] : keys) record->SetValue(key, Variant(value));
  return record;
}

// A nested record as "Key=value;...", in key order; "absent" without one.
std::string render(const TrzRecord& owner, std::string_view key) {
  auto link = owner.GetRecord(key);
  if (!link) return owner.Exists(key) ? "plain " + CStr(owner.Item(key)) : "absent";
  std::string out;
  for (const auto& [k, v] : link->Entries()) out += (out.empty() ? "" : ";") + k + "=" + RenderValue(v);
  return out;
}

class LinkCodecs : public ItemHelperTest {
 protected:
  void SetUp() override {
    ItemHelperTest::SetUp();
    run(kLinkedRows);
  }
  // The owning record as the engine has begun it: the item's own Number and Name come first.
  static std::shared_ptr<TrzRecord> owner() { return recordOf({{"Name", "螺丝"}, {"Number", "M01"}}); }
  // The fragment an import appends to the engine's UPDATE, and the identifier it returns.
  std::pair<std::string, std::int32_t> import(LinkKind kind, const Variant& link) {
    std::string& strSQL = engine_->lastSQL();
    strSQL = kPrefix;
    std::int32_t id = ImportLinkField(*engine_, kind, link, "FCol", strSQL);
    EXPECT_EQ(strSQL.rfind(kPrefix, 0), 0u) << "the text the UPDATE held is kept";
    return {strSQL.substr(std::string(kPrefix).size()), id};
  }
};

// Every kind: a packed link finds its own record again, with and without CheckByUUID.
TEST_F(LinkCodecs, EveryKindFindsThePackedRecordAgain) {
  const std::pair<LinkKind, std::int32_t> kinds[] = {
      {LinkKind::Assist, 101},          {LinkKind::Item, 202},
      {LinkKind::SPGroup, 301},         {LinkKind::Unit, 601},
      {LinkKind::Account, 401},         {LinkKind::Currency, 411},
      {LinkKind::Settle, 421},          {LinkKind::InspectionProject, 431},
      {LinkKind::Routing, 441},         {LinkKind::WorkType, 451},
      {LinkKind::StockPlace, 461},      {LinkKind::AuxClass, 3001},
      {LinkKind::UnitGroup, 701},       {LinkKind::vwAssignStock, 501},
      {LinkKind::vwInstStock, 501},     {LinkKind::vwKeepStock, 501},
      {LinkKind::vwAssigneeStock, 501}, {LinkKind::JobType, 801},
      {LinkKind::IcTeamTime, 901},
  };
  for (bool byUUID : {false, true}) {
    for (const auto& [kind, id] : kinds) {
      SCOPED_TRACE(::testing::Message() << "kind " << static_cast<int>(kind) << (byUUID ? " by UUID" : ""));
      engine_->byUUID = byUUID;
      auto owned = owner();
      TrzRecord& record = *owned;
      PacketLinkField(*engine_, kind, record, id, "Link");
      std::string key = kind == LinkKind::JobType ? "JobType" : "Link";
      ASSERT_TRUE(record.Exists(key));
      auto [fragment, found] = import(kind, record.Item(key));
      std::string column = kind == LinkKind::JobType ? "FJobTypeID" : "FCol";
      EXPECT_EQ(fragment, column + " = " + std::to_string(id) + ",");
      EXPECT_EQ(found, id);
    }
  }
}

TEST_F(LinkCodecs, PackingWritesTheKindsKeys) {
  struct Case {
    LinkKind kind;
    std::int32_t id;
    const char* expected;
  };
  const Case cases[] = {
      {LinkKind::Assist, 101, "Number=01;Name=男;UUID=A-101"},
      {LinkKind::InspectionProject, 431, "Number=QC01;Name=全检;UUID=QC-431"},
      {LinkKind::Item, 0, "absent"},
      {LinkKind::Item, 999, "absent"},
      {LinkKind::vwKeepStock, 201, "absent"},
      {LinkKind::UnitGroup, 701, "Number=701;Name=箱组;UUID=UG-701"},
      {LinkKind::WorkType, 451, "Number=W1;Name=钳工"},
      {LinkKind::vwAssignStock, 501, "Number=S01;Name=主仓;UUID="},
      {LinkKind::IcTeamTime, 901, "Number=T01;Name=早班;UUID=TT-901"},
      {LinkKind::AuxClass, 3001, "Number=AP01;Name=颜色;ItemAuxProp="},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "kind " << static_cast<int>(c.kind) << " id " << c.id);
    auto owned = owner();
    TrzRecord& record = *owned;
    PacketLinkField(*engine_, c.kind, record, c.id, "Link");
    EXPECT_EQ(render(record, "Link"), c.expected);
  }
}

TEST_F(LinkCodecs, JobTypeIsAPlainValueUnderItsOwnKey) {
  auto owned = owner();
  TrzRecord& record = *owned;
  PacketLinkField(*engine_, LinkKind::JobType, record, 801, "Ignored");
  EXPECT_EQ(render(record, "JobType"), "plain 装配");
  EXPECT_FALSE(record.Exists("Ignored"));
  EXPECT_EQ(engine_->sql, "SELECT FName  FROM t_JobType Where FInterID = 801");
}

TEST_F(LinkCodecs, AuxClassCarriesTheItemsAuxiliaryProperties) {
  run("INSERT INTO t_Item (FItemID,FItemClassID,FNumber,FName) VALUES (1001,4,'M01','螺丝')\r\n"
      "INSERT INTO t_Item (FItemID,FItemClassID,FNumber,FName) VALUES (3101,3001,'C1','红')\r\n"
      "INSERT INTO t_Item (FItemID,FItemClassID,FNumber,FName) VALUES (3102,3001,'C2','蓝')\r\n"
      "INSERT INTO COM_ItemAuxProp (FItemID,FAuxPropID) VALUES (1001,3101)\r\n"
      "INSERT INTO COM_ItemAuxProp (FItemID,FAuxPropID) VALUES (1001,3102)");
  auto owned = owner();
  TrzRecord& record = *owned;
  PacketLinkField(*engine_, LinkKind::AuxClass, record, 3001, "AuxClass");
  EXPECT_EQ(render(record, "AuxClass"), "Number=AP01;Name=颜色;ItemAuxProp=C1~红|C2~蓝");
  EXPECT_EQ(engine_->sql, "SELECT FNumber,FName FROM vwItemAuxProp WHERE FItemID=3001")
      << "the packing SELECT stays the last statement";
}

// Within an export call a linked record is read once, whatever number of rows names it (found or not);
// a material's auxiliary properties are its own, read for each material.
TEST_F(LinkCodecs, WithinAnExportCallEachLinkedRecordIsReadOnce) {
  run("INSERT INTO t_Item (FItemID,FItemClassID,FNumber,FName) VALUES (1001,4,'M01','螺丝')\r\n"
      "INSERT INTO t_Item (FItemID,FItemClassID,FNumber,FName) VALUES (3101,3001,'C1','红')\r\n"
      "INSERT INTO COM_ItemAuxProp (FItemID,FAuxPropID) VALUES (1001,3101)");
  PackedLinksOfCall call(*engine_);
  for (std::int32_t id : {202, 999}) {
    auto first = owner();
    PacketLinkField(*engine_, LinkKind::Item, *first, id, "Link");
    engine_->sql = "untouched";
    auto second = recordOf({{"Name", "螺母"}, {"Number", "M02"}});
    PacketLinkField(*engine_, LinkKind::Item, *second, id, "Link");
    EXPECT_EQ(engine_->sql, "untouched") << id;
    EXPECT_EQ(render(*second, "Link"), render(*first, "Link")) << id;
  }
  auto screw = owner(), nut = recordOf({{"Name", "螺母"}, {"Number", "M02"}});
  PacketLinkField(*engine_, LinkKind::AuxClass, *screw, 3001, "AuxClass");
  PacketLinkField(*engine_, LinkKind::AuxClass, *nut, 3001, "AuxClass");
  EXPECT_EQ(render(*screw, "AuxClass"), "Number=AP01;Name=颜色;ItemAuxProp=C1~红");
  EXPECT_EQ(render(*nut, "AuxClass"), "Number=AP01;Name=颜色;ItemAuxProp=");
}

TEST_F(LinkCodecs, ImportMatchesByEachKindsSteps) {
  struct Case {
    const char* what;
    LinkKind kind;
    bool byUUID;
    Variant link;
    std::int32_t id;  // kEmpty: the column is set to NULL
  };
  constexpr std::int32_t kEmpty = -1;
  auto ref = [](const char* number, const char* name, const char* uuid) {
    return Variant(recordOf({{"Number", number}, {"Name", name}, {"UUID", uuid}}));
  };
  const std::vector<Case> cases = {
      {"nothing", LinkKind::Item, true, Variant(), kEmpty},
      {"an empty text", LinkKind::Account, false, Variant(""), kEmpty},
      {"an empty link element", LinkKind::Unit, true, Variant(std::make_shared<TrzRecord>()), kEmpty},
      {"no match", LinkKind::Item, true, ref("zz", "zz", "zz"), 0},
      {"the UUID wins over number and name", LinkKind::Item, true, ref("E1", "Alice", "I-201"), 201},
      {"no UUID step without CheckByUUID", LinkKind::Account, false, ref("zz", "zz", "AC-401"), 0},
      {"a UUID matching nothing", LinkKind::Account, true, ref("1001", "现金", "nomatch"), 401},
      {"an empty UUID is not searched", LinkKind::Item, true, ref("E1", "Alice", ""), 202},
      {"a missing UUID neither", LinkKind::Item, true, Variant(recordOf({{"Number", "E1"}, {"Name", "Alice"}})), 202},
      {"the name step finds any item class", LinkKind::Item, true, ref("zz", "Alice", "nomatch"), 202},
      {"accounts have no name step", LinkKind::Account, false, ref("zz", "现金", ""), 0},
      {"units fall back to the name", LinkKind::Unit, false, ref("zz", "个", ""), 602},
      {"work types never ask for a UUID", LinkKind::WorkType, true, ref("W1", "钳工", "WT-1"), 451},
      {"aux classes never ask for a UUID", LinkKind::AuxClass, true, ref("AP01", "颜色", "x"), 3001},
      {"unit groups ignore the number", LinkKind::UnitGroup, true, ref("999", "箱组", "nomatch"), 701},
      {"unit groups by UUID", LinkKind::UnitGroup, true, ref("701", "other", "UG-702"), 702},
      {"unit groups without CheckByUUID", LinkKind::UnitGroup, false, ref("701", "other", "UG-701"), 0},
      {"stock views by number alone", LinkKind::vwKeepStock, true, ref("S01", "other", "I-201"), 501},
      {"team times by number alone", LinkKind::IcTeamTime, true, ref("T01", "other", "TT-0"), 901},
      {"auxiliary data by UUID", LinkKind::Assist, true, ref("zz", "zz", "A-101"), 101},
      {"LJWWJL in small letters", LinkKind::Assist, true, ref("02", "女", "ljwwjl"), 102},
      {"LJWWJL compares the number", LinkKind::Assist, true, ref("99", "女", "LJWWJL"), 0},
      {"an unmatched UUID: the name alone", LinkKind::Assist, true, ref("99", "女", "nomatch"), 102},
      {"without CheckByUUID: name and number", LinkKind::Assist, false, ref("01", "女", "A-102"), 0},
      {"a quote in auxiliary data", LinkKind::Assist, false, ref("03", "O'Neil", ""), 103},
      {"a quote in number and name", LinkKind::Item, false, ref("E'3", "Bob's", ""), 204},
      {"a job type by name", LinkKind::JobType, true, Variant("装配"), 801},
      {"an unknown job type", LinkKind::JobType, false, Variant("钻'孔"), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    engine_->byUUID = c.byUUID;
    auto [fragment, id] = import(c.kind, c.link);
    std::string column = c.kind == LinkKind::JobType ? "FJobTypeID" : "FCol";
    EXPECT_EQ(fragment, column + (c.id == kEmpty ? " =NULL," : " = " + std::to_string(c.id) + ","));
    EXPECT_EQ(id, c.id == kEmpty ? 0 : c.id);
  }
}

// The lookups of a link that matches nothing, in the order they run.
TEST_F(LinkCodecs, EachStepRunsItsOwnLookup) {
  struct Case {
    LinkKind kind;
    bool byUUID;
    Variant link;
    std::vector<std::string> lookups;
  };
  Variant nothing(recordOf({{"Number", "n'o"}, {"Name", "zz"}, {"UUID", "u"}}));
  const std::vector<Case> cases = {
      {LinkKind::Item,
       true,
       nothing,
       {"SELECT FItemID FROM t_Item WHERE UUID='u'", "SELECT FItemID FROM t_Item WHERE FNumber='n''o' AND FName='zz'",
        "SELECT FItemID FROM t_Item WHERE FName='zz'"}},
      {LinkKind::Assist,
       true,
       nothing,
       {"SELECT FInterID FItemID FROM t_SubMessage WHERE UUID='u'",
        "SELECT FInterID FItemID FROM t_SubMessage WHERE FName='zz'"}},
      {LinkKind::Assist,
       false,
       nothing,
       {"SELECT FInterID FItemID FROM t_SubMessage WHERE FName='zz' And FID = 'n''o'"}},
      {LinkKind::Routing,
       true,
       nothing,
       {"SELECT FInterID FROM t_Routing WHERE UUID='u'",
        "SELECT FInterID FROM t_Routing WHERE FBillNo='n''o' AND FRoutingName='zz'"}},
      {LinkKind::UnitGroup,
       true,
       nothing,
       {"SELECT FUnitGroupID FItemID FROM t_UnitGroup WHERE UUID='u'",
        "SELECT FUnitGroupID FItemID FROM t_UnitGroup WHERE FName='zz'"}},
      {LinkKind::IcTeamTime, true, nothing, {"SELECT FID FROM t_IcTeamTime WHERE FBillNo='n''o'"}},
      {LinkKind::JobType, true, Variant("钻'孔"), {"SELECT FInterID  FROM t_JobType WHERE FName='钻''孔'"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "kind " << static_cast<int>(c.kind));
    engine_->byUUID = c.byUUID;
    db_->statements.clear();
    import(c.kind, c.link);
    EXPECT_EQ(db_->statementsOf("GetAnyRecordSet"), c.lookups);
  }
  db_->statements.clear();
  std::string strSQL;
  ImportUnitGroupFieldByUnit(*engine_, nothing, "FUnitGroupID", strSQL);
  EXPECT_EQ(db_->statementsOf("GetAnyRecordSet"),
            (std::vector<std::string>{"SELECT FUnitGroupID  FROM t_MeasureUnit WHERE UUID='u'",
                                      "SELECT FUnitGroupID  FROM t_MeasureUnit WHERE FName='zz'"}));
}

TEST_F(LinkCodecs, UnitGroupByUnitMatchesTheUnit) {
  struct Case {
    bool byUUID;
    Variant unit;
    const char* appended;
  };
  const Case cases[] = {
      {true, Variant(recordOf({{"Number", "zz"}, {"Name", "箱"}, {"UUID", "nomatch"}})), "FUnitGroupID = 701,"},
      {true, Variant(recordOf({{"Number", "zz"}, {"Name", "zz"}, {"UUID", "MU-602"}})), "FUnitGroupID = 702,"},
      {false, Variant(recordOf({{"Number", "zz"}, {"Name", "箱"}, {"UUID", "MU-602"}})), "FUnitGroupID = 701,"},
      {false, Variant(recordOf({{"Name", "zz"}})), "FUnitGroupID = 0,"},
      {true, Variant(), "FUnitGroupID =NULL,"},
  };
  for (const Case& c : cases) {
    engine_->byUUID = c.byUUID;
    std::string strSQL = kPrefix;
    ImportUnitGroupFieldByUnit(*engine_, c.unit, "FUnitGroupID", strSQL);
    EXPECT_EQ(strSQL, std::string(kPrefix) + c.appended);
  }
}

TEST_F(LinkCodecs, ALookupThatFailsLeavesItsStatementForTheErrorLine) {
  run("DROP TABLE t_Currency");
  engine_->byUUID = true;
  std::string& strSQL = engine_->lastSQL();
  strSQL = kPrefix;
  AutomationError e = ErrorOf([&] {
    ImportLinkField(*engine_, LinkKind::Currency,
                    Variant(recordOf({{"Number", "RMB"}, {"Name", "人民币"}, {"UUID", "x'y"}})), "FCurrencyID", strSQL);
  });
  EXPECT_EQ(e.source, sql::kProviderSource);
  EXPECT_EQ(strSQL, "SELECT FCurrencyID FROM t_Currency WHERE UUID='x''y'");

  auto owned = owner();
  TrzRecord& record = *owned;
  e = ErrorOf([&] { PacketLinkField(*engine_, LinkKind::Currency, record, 411, "Currency"); });
  EXPECT_EQ(e.source, sql::kProviderSource);
  EXPECT_EQ(engine_->sql, "SELECT FNumber,FName,UUID FROM t_Currency WHERE FCurrencyID=411");
  EXPECT_FALSE(record.Exists("Currency"));
}

TEST_F(LinkCodecs, APartOfTheLinkThatIsMissingIsComparedAsTheEmptyText) {
  std::string strSQL = kPrefix;
  db_->statements.clear();
  ImportLinkField(*engine_, LinkKind::IcTeamTime, Variant(recordOf({{"Name", "早班"}})), "FCol", strSQL);
  EXPECT_EQ(db_->statementsOf("GetAnyRecordSet"), (std::vector<std::string>{"SELECT FID FROM t_IcTeamTime WHERE FBillNo=''"}));
  EXPECT_EQ(strSQL, std::string(kPrefix) + "FCol = 0,");
}

// A lookup the connection has run once is bound to the statement kept for it, its text no longer sent
// through the connection's members: it must find what the text finds, whatever the values hold.
TEST_F(LinkCodecs, ALookupRunAgainFromItsKeptStatementFindsWhatItsTextFinds) {
  run("INSERT INTO t_Item (FItemID,FItemClassID,FNumber,FName,UUID) VALUES (205,3,'E5','','I-205')\r\n"
      "INSERT INTO t_Item (FItemID,FItemClassID,FNumber,FName,UUID) VALUES (206,3,'E6','Carol  ','I-206')");
  struct Case {
    const char* what;
    LinkKind kind;
    bool byUUID;
    std::shared_ptr<TrzRecord> link;
    std::int32_t id;  // kAsTheTextFinds: whatever the text's own lookup finds
  };
  constexpr std::int32_t kAsTheTextFinds = -1;
  auto ref = [](const char* number, const char* name, const char* uuid) {
    return recordOf({{"Number", number}, {"Name", name}, {"UUID", uuid}});
  };
  auto withNullName = recordOf({{"Number", "E5"}, {"UUID", ""}});
  withNullName->SetValue("Name", Variant::null());
  const std::vector<Case> cases = {
      {"number and name", LinkKind::Item, false, ref("E1", "Alice", ""), 202},
      {"another letter case", LinkKind::Item, false, ref("e1", "ALICE", ""), 202},
      {"trailing blanks in the link", LinkKind::Item, false, ref("E1 ", "Alice  ", ""), kAsTheTextFinds},
      {"trailing blanks in the row", LinkKind::Item, false, ref("E6", "Carol", ""), kAsTheTextFinds},
      {"quotes", LinkKind::Item, false, ref("E'3", "Bob's", ""), 204},
      {"a Null part, compared as the empty text", LinkKind::Item, false, withNullName, 205},
      {"the name step after the first", LinkKind::Item, false, ref("zz", "Bob's", ""), 204},
      {"the UUID step", LinkKind::Item, true, ref("zz", "zz", "i-205"), 205},
      {"a mark byte of the skeleton: the name step finds it", LinkKind::Item, false, ref("E1\x01", "Alice", ""), 202},
      {"nothing found", LinkKind::Account, false, ref("1001", "现金x", ""), 0},
      {"a second kind", LinkKind::Account, false, ref("1001", "现金", ""), 401},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    engine_->byUUID = c.byUUID;
    auto [first, firstID] = import(c.kind, Variant(c.link));
    db_->statements.clear();
    auto [again, againID] = import(c.kind, Variant(c.link));
    if (c.id != kAsTheTextFinds) {
      EXPECT_EQ(firstID, c.id);
    }
    EXPECT_EQ(againID, firstID);
    EXPECT_EQ(again, first);
  }
  // The second runs went past the connection's members: none of them was sent as text.
  engine_->byUUID = false;
  db_->statements.clear();
  import(LinkKind::Item, Variant(ref("E1", "Alice", "")));
  EXPECT_TRUE(db_->statementsOf("GetAnyRecordSet").empty());
}

TEST(LinkKindNames, FieldMapsNameTheKinds) {
  EXPECT_EQ(LinkKindByName("Account"), LinkKind::Account);
  EXPECT_EQ(LinkKindByName("vwKeepStock"), LinkKind::vwKeepStock);
  EXPECT_EQ(LinkKindByName("icteamtime"), LinkKind::IcTeamTime);
  AutomationError e = ErrorOf([] { LinkKindByName("Bank"); });
  EXPECT_EQ(e.number, 5);
  EXPECT_NE(e.description.find("Bank"), std::string::npos);
}

}  // namespace
}  // namespace quillane::testing
