// Throughput of the item engine on customers, the widest detail row of the item types: customers_bench
// [records] (10,000 by default) under a tree of groups, each detail with a bar code, 31 plain columns and
// 19 links of six kinds, exported page by page through Quillane.clsCustomer and imported into an empty
// account set. Beside each figure stands a raw baseline measured in the same run, the two in turn: the
// same reads and writes as plain SQLite statements and the same document written and parsed by plain
// libxml2, the best road a program of its own would take to do what the engine must.
//
// Both roads alike: an export reads each page in one read transaction, the highest stamp first, then
// each record's detail row and bar codes, the parent once for neighbours that share it, and each linked
// record once per page (the engine once per call, and a call is a page). An import writes each record
// in a transaction of its own that takes the write lock at its start, commits to the WAL file without a
// sync per commit (synchronous NORMAL), syncs the log once at the end of the call and closes the file
// as its last connection, which folds the log into it.
//
// Where the engine does more than the raw road:
// - per call it reads the props and the account set's version, and opens the file (an export takes up
//   a reader kept from the call before when one fits); the raw road opens the file once for all the
//   pages of an export, and once per page of an import;
// - it writes the document through its schema's check of every value, and reads one by its schema's
//   record shape; the raw road writes and parses plain libxml2 and checks nothing;
// - its statements go as SQL text through its own translation and statement cache, their values read
//   as variants; the raw road prepares each statement once per call and binds its values;
// - an import runs more statements per record: a check of the schema's version before each write, and
//   a second look for the row it has just inserted, which it also hands to the ERP's data access;
// - an import call also syncs the log when the connection that read the props is done, though that
//   one wrote nothing to the file.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/bench_support.h"

namespace {

using namespace bench;

constexpr int kCustomers = 10000;
constexpr int kTopGroups = 10, kGroupsEach = 10;  // 110 groups; the rest are details

// ---- the customer's columns, as the document carries them ----

// What a column holds: a plain value, or the identifier of a record of one of these kinds.
enum class Kind { Plain, Assist, Account, Currency, Settle, Item, KeepStock };

struct Column {
  const char* element;
  const char* column;
  Kind kind;
};

constexpr Column kColumns[] = {
    {"ShortName", "FShortName", Kind::Plain},        {"HelpCode", "FHelpCode", Kind::Plain},
    {"Address", "FAddress", Kind::Plain},            {"Status", "FStatus", Kind::Assist},
    {"Region", "FRegionID", Kind::Assist},           {"Trade", "FTrade", Kind::Assist},
    {"LinkMan", "FContact", Kind::Plain},            {"Phone", "FPhone", Kind::Plain},
    {"Fax", "FFax", Kind::Plain},                    {"PostalCode", "FPostalCode", Kind::Plain},
    {"Email", "FEmail", Kind::Plain},                {"Bank", "FBank", Kind::Plain},
    {"Account", "FAccount", Kind::Plain},            {"TaxNum", "FTaxNum", Kind::Plain},
    {"SaleMode", "FSaleMode", Kind::Assist},         {"City", "FCity", Kind::Plain},
    {"Province", "FProvince", Kind::Plain},          {"Country", "FCountry", Kind::Plain},
    {"HomePage", "FHomePage", Kind::Plain},          {"Corperate", "FCorperate", Kind::Plain},
    {"SettleCurrency", "FCyID", Kind::Currency},     {"SettleMode", "FSetID", Kind::Settle},
    {"CIQNumber", "FCIQNumber", Kind::Plain},        {"ARAccount", "FARAccountID", Kind::Account},
    {"PreAccount", "FPreAcctID", Kind::Account},     {"FavorPolicy", "FFavorPolicy", Kind::Plain},
    {"Department", "FDepartment", Kind::Item},       {"Employee", "FEmployee", Kind::Item},
    {"LastTradeDate", "FLastTradeDate", Kind::Plain}, {"LastTradeAmount", "FLastTradeAmount", Kind::Plain},
    {"LastReceiveDate", "FLastReceiveDate", Kind::Plain}, {"LastRPAmount", "FLastRPAmount", Kind::Plain},
    {"MaxDealAmount", "FMaxDealAmount", Kind::Plain}, {"MinForeReceiveRate", "FMinForeReceiveRate", Kind::Plain},
    {"MinReserverate", "FMinReserverate", Kind::Plain}, {"DebtLevel", "FDebtLevel", Kind::Assist},
    {"PayTaxAcctID", "FPayTaxAcctID", Kind::Account}, {"CustomerType", "FTypeID", Kind::Assist},
    {"StockIDKeep", "FStockIDKeep", Kind::KeepStock}, {"LicAndPermit", "FLicAndPermit", Kind::Plain},
    {"PaperPeriod", "FPaperPeriod", Kind::Plain},    {"AlarmPeriod", "FAlarmPeriod", Kind::Plain},
    {"IsCreditMgr", "FIsCreditMgr", Kind::Plain},    {"BeforeHandDay", "FCarryingAOS", Kind::Plain},
    {"ValueAddRate", "FValueAddRate", Kind::Plain},  {"FSaleID", "FSaleID", Kind::Assist},
    {"OtherARAcctID", "FOtherARAcctID", Kind::Account}, {"OtherAPAcctID", "FOtherAPAcctID", Kind::Account},
    {"PreAPAcctID", "FPreAPAcctID", Kind::Account},  {"APAccountID", "FAPAccountID", Kind::Account},
};
constexpr int kColumnCount = static_cast<int>(std::size(kColumns));

std::string columnList(const char* separator) {
  std::string list;
  for (const Column& c : kColumns) list += (list.empty() ? "" : separator) + std::string(c.column);
  return list;
}

// The lookups of a kind: the record's number, name and UUID by identifier, and its identifier by what
// the document names (the auxiliary data by name and number, the keeping stocks by number alone).
struct Lookups {
  const char* pack;
  const char* match;
};
const std::map<Kind, Lookups> kLookups = {
    {Kind::Assist, {"SELECT FID, FName, UUID FROM t_SubMessage WHERE FInterID=?1",
                    "SELECT FInterID FROM t_SubMessage WHERE FName=?2 AND FID=?1"}},
    {Kind::Account, {"SELECT FNumber, FName, UUID FROM t_Account WHERE FAccountID=?1",
                     "SELECT FAccountID FROM t_Account WHERE FNumber=?1 AND FName=?2"}},
    {Kind::Currency, {"SELECT FNumber, FName, UUID FROM t_Currency WHERE FCurrencyID=?1",
                      "SELECT FCurrencyID FROM t_Currency WHERE FNumber=?1 AND FName=?2"}},
    {Kind::Settle, {"SELECT FNumber, FName, UUID FROM t_Settle WHERE FItemID=?1",
                    "SELECT FItemID FROM t_Settle WHERE FNumber=?1 AND FName=?2"}},
    {Kind::Item, {"SELECT FNumber, FName, UUID FROM t_Item WHERE FItemID=?1",
                  "SELECT FItemID FROM t_Item WHERE FNumber=?1 AND FName=?2"}},
    {Kind::KeepStock, {"SELECT FNumber, FName, '' FROM vwKeepStock WHERE FItemID=?1",
                       "SELECT FItemID FROM vwKeepStock WHERE FNumber=?1 AND ?2 IS NOT NULL"}},
};

// One prepared statement per kind and direction.
std::map<Kind, std::unique_ptr<Stmt>> prepare(Db& db, bool pack) {
  std::map<Kind, std::unique_ptr<Stmt>> statements;
  for (const auto& [kind, lookups] : kLookups)
    statements[kind] = std::make_unique<Stmt>(db, pack ? lookups.pack : lookups.match);
  return statements;
}

// ---- the account sets ----

// What the customers link to, under identifiers above the customers' own that differ by offset between
// account sets.
void writeLinkTargets(Db& db, int offset) {
  db.exec("BEGIN");
  Stmt item(db, "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, UUID) VALUES (?1, ?2, ?3, ?4, ?5)");
  for (int e = 1; e <= 50; ++e) {
    item.bind(1, 10000000 + offset + e).bind(2, 2).bind(3, numbered("D%03d", e)).bind(4, "部门" + numbered("%03d", e))
        .bind(5, numbered("DEP-%04d", e)).run();
    item.bind(1, 20000000 + offset + e).bind(2, 3).bind(3, numbered("E%03d", e)).bind(4, "职员" + numbered("%03d", e))
        .bind(5, numbered("EMP-%04d", e)).run();
  }
  item.bind(1, 30000000 + offset).bind(2, 5).bind(3, "S01").bind(4, "成品仓").bind(5, "STK-1").run();
  Stmt account(db, "INSERT INTO t_Account (FAccountID, FNumber, FName, UUID) VALUES (?1, ?2, ?3, ?4)");
  const char* accounts[][2] = {{"1122", "应收账款"}, {"2203", "预收账款"}, {"2221", "应交税费"}, {"1221", "其他应收款"},
                               {"2241", "其他应付款"}, {"1123", "预付账款"}, {"2202", "应付账款"}};
  for (int a = 0; a < 7; ++a)
    account.bind(1, offset + a + 1).bind(2, accounts[a][0]).bind(3, accounts[a][1]).bind(4, numbered("ACC-%d", a)).run();
  Stmt assist(db, "INSERT INTO t_SubMessage (FInterID, FTypeID, FID, FName, UUID) VALUES (?1, ?2, '01', ?3, ?4)");
  const char* assists[] = {"正常", "华东", "制造业", "批发", "一级", "重点客户", "销售一部"};
  for (int a = 0; a < 7; ++a) assist.bind(1, offset + a + 1).bind(2, a + 1).bind(3, assists[a]).bind(4, numbered("SUB-%d", a)).run();
  Stmt currency(db, "INSERT INTO t_Currency (FCurrencyID, FNumber, FName, UUID) VALUES (?1, 'RMB', '人民币', 'CUR-1')");
  currency.bind(1, offset + 1).run();
  Stmt settle(db, "INSERT INTO t_Settle (FItemID, FNumber, FName, UUID) VALUES (?1, 'JF01', '现金', 'SET-1')");
  settle.bind(1, offset + 1).run();
  db.exec("COMMIT");
}

// Ten top groups of ten groups each, and the details spread over the groups; every detail has a bar
// code and every column filled. Rows are written parents first, which is their stamp order.
void writeCustomers(Db& db, int records) {
  db.exec("BEGIN");
  Stmt item(db, "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, FParentID, FLevel, FDetail, FFullNumber, "
                "FShortNumber, UUID) VALUES (?1, 1, ?2, ?3, ?4, ?5, ?6, ?2, ?7, ?8)");
  Stmt detail(db, ("INSERT INTO t_Organization (FItemID, FParentID, FNumber, FName, FShortNumber, " + columnList(", ") +
                   ") VALUES (?1, ?2, ?3, ?4, ?5, ?6 || '简称', 'KH' || ?5, '上海市浦东新区' || ?5 || '号', 1, 2, 3, "
                   "'联系人' || ?5, '021-5' || ?5, '021-6' || ?5, '200120', 'c' || ?5 || '@example.com', '工商银行', "
                   "'6222' || ?5, '9131' || ?5, 4, '上海', '上海', '中国', 'www.example.com', '法人 O''Neil', 1, 1, "
                   "'CIQ' || ?5, 1, 2, '九五折', 10000000 + ?7, 20000000 + ?7, '2007-05-01', 6003.5, '2007-06-01', 601.25, "
                   "500000, 0.1, 0.05, 5, 3, 6, 30000000, 1, '2008-01-01', '2007-12-01', 1, 15, 17, 7, 4, 5, 6, 7)").c_str());
  Stmt barCode(db, "INSERT INTO t_BarCode (FTypeID, FItemID, FBarCode, FRemark) VALUES (1, ?1, ?2, ?3)");
  int id = 1000;
  std::vector<std::pair<int, std::string>> groups;
  for (int t = 1; t <= kTopGroups; ++t) {
    std::string top = numbered("%02d", t);
    int topID = ++id;
    item.bind(1, topID).bind(2, top).bind(3, "客户类" + top).bind(4, 0).bind(5, 1).bind(6, 0).bind(7, top)
        .bind(8, "G-" + top).run();
    for (int g = 1; g <= kGroupsEach; ++g) {
      std::string number = top + "." + numbered("%02d", g);
      groups.emplace_back(++id, number);
      item.bind(1, id).bind(2, number).bind(3, "客户组" + number).bind(4, topID).bind(5, 2).bind(6, 0)
          .bind(7, numbered("%02d", g)).bind(8, "G-" + number).run();
    }
  }
  const int details = records - kTopGroups * (kGroupsEach + 1);
  for (int d = 1; d <= details; ++d) {
    const auto& [parent, prefix] = groups[static_cast<std::size_t>(d - 1) % groups.size()];
    std::string shortNumber = numbered("%04d", d), number = prefix + "." + shortNumber, name = "客户" + shortNumber;
    item.bind(1, ++id).bind(2, number).bind(3, name).bind(4, parent).bind(5, 3).bind(6, 1).bind(7, shortNumber)
        .bind(8, "C-" + shortNumber).run();
    detail.bind(1, id).bind(2, parent).bind(3, number).bind(4, name).bind(5, shortNumber).bind(6, name)
        .bind(7, 1 + d % 50).run();
    barCode.bind(1, id).bind(2, "69" + numbered("%08d", d)).bind(3, "条码").run();
  }
  db.exec("COMMIT");
}

// ---- the raw baseline ----

std::vector<std::string> rawExport(const std::string& source) {
  Db db(source);
  Stmt detail(db, ("SELECT " + columnList(", ") + " FROM t_Organization WHERE FItemID=?1").c_str());
  auto lookups = prepare(db, true);
  return rawItemExport(db, 1, "Customer", [&](std::int64_t id, Writer& xml) {
    detail.bind(1, id);
    if (detail.step()) {
      for (int c = 0; c < kColumnCount; ++c) {
        if (detail.isNull(c)) continue;
        if (kColumns[c].kind == Kind::Plain)
          xml.value(kColumns[c].element, detail.text(c));
        else
          xml.link(kColumns[c].element, *lookups[kColumns[c].kind], detail.integer(c));
      }
    }
    detail.reset();
  });
}

void rawImport(const std::string& target, const std::vector<std::string>& pages) {
  Db db(target);
  Stmt update(db, ("UPDATE t_Organization SET FParentID=?2, FShortNumber=?3, FNumber=?4, FName=?5, " +
                   columnList("=?, ") + "=? WHERE FItemID=?1").c_str());
  auto lookups = prepare(db, false);
  rawItemImport(db, 1, "t_Organization", pages, [&](const RawRecord& r) {
    update.bind(1, r.id).bind(2, r.parent).bind(3, r.shortNumber).bind(4, r.number).bind(5, r.name);
    for (int c = 0; c < kColumnCount; ++c) {
      xmlNode* node = child(r.node, kColumns[c].element);
      if (kColumns[c].kind == Kind::Plain) {
        update.bind(6 + c, text(node));
      } else {
        Stmt& match = *lookups[kColumns[c].kind];
        update.bind(6 + c, node ? match.bind(1, text(node, "Number")).bind(2, text(node, "Name")).firstInteger() : 0);
      }
    }
    update.run();
  });
}

void expectCustomers(const std::string& path, const char* who, int records) {
  std::int64_t n = count(path, "SELECT COUNT(*) FROM t_Item WHERE FItemClassID = 1");
  std::int64_t linked = count(path, "SELECT COUNT(*) FROM t_Organization o JOIN t_Item e ON e.FItemID = o.FEmployee "
                                    "JOIN t_Account a ON a.FAccountID = o.FAPAccountID WHERE e.FItemClassID = 3");
  if (n != records || linked != records - kTopGroups * (kGroupsEach + 1))
    throw std::runtime_error(std::string(who) + " imported " + std::to_string(n) + " customers, " +
                             std::to_string(linked) + " with their links");
}

}  // namespace

int main(int argc, char** argv) {
  return Run({.progID = "Quillane.clsCustomer",
              .dataType = 5,
              .records = kCustomers,
              .caption = [](int records) {
                return std::to_string(records) + " customers: " + std::to_string(kTopGroups * (kGroupsEach + 1)) +
                       " groups in two levels, each detail with a bar code, " + std::to_string(kColumnCount) +
                       " columns and 19 links";
              },
              .writeLinkTargets = writeLinkTargets,
              .writeRecords = writeCustomers,
              .rawExport = rawExport,
              .rawImport = rawImport,
              .expect = expectCustomers},
             argc, argv);
}
