// Throughput of the item engine on departments: departments_bench [records] (10,000 by default) under a
// tree of groups, each detail with a bar code and eight links (a manager, two auxiliary data, five
// accounts), exported page by page through Quillane.clsDepartment and imported into an empty account
// set. Beside each figure stands a raw baseline measured in the same run, the two in turn: the same
// reads and writes as plain SQLite statements and the same document written and parsed by plain
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
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/bench_support.h"

namespace {

using namespace bench;

constexpr int kDepartments = 10000;
constexpr int kTopGroups = 10, kGroupsEach = 10;  // 110 groups; the rest are details

// ---- the account sets ----

// What the departments link to, under identifiers above the departments' own that differ by offset between
// account sets.
void writeLinkTargets(Db& db, int offset) {
  db.exec("BEGIN");
  Stmt employee(db, "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, UUID) VALUES (?1, 3, ?2, ?3, ?4)");
  for (int e = 1; e <= 50; ++e)
    employee.bind(1, 10000000 + offset + e).bind(2, numbered("E%03d", e)).bind(3, "职员" + numbered("%03d", e))
        .bind(4, numbered("EMP-%04d", e)).run();
  Stmt account(db, "INSERT INTO t_Account (FAccountID, FNumber, FName, UUID) VALUES (?1, ?2, ?3, ?4)");
  const char* accounts[][2] = {{"6602", "管理费用"}, {"1221", "其他应收款"}, {"2241", "其他应付款"}, {"1123", "预付账款"},
                               {"2203", "预收账款"}};
  for (int a = 0; a < 5; ++a)
    account.bind(1, offset + a + 1).bind(2, accounts[a][0]).bind(3, accounts[a][1]).bind(4, numbered("ACC-%d", a)).run();
  Stmt assist(db, "INSERT INTO t_SubMessage (FInterID, FTypeID, FID, FName, UUID) VALUES (?1, ?2, ?3, ?4, ?5)");
  assist.bind(1, offset + 1).bind(2, 1).bind(3, "01").bind(4, "职能部门").bind(5, "SUB-1").run();
  assist.bind(1, offset + 2).bind(2, 2).bind(3, "02").bind(4, "成本中心").bind(5, "SUB-2").run();
  db.exec("COMMIT");
}

// Ten top groups of ten groups each, and the details spread over the groups; every detail has a bar
// code and eight links. Rows are written parents first, which is their stamp order.
void writeDepartments(Db& db, int records) {
  db.exec("BEGIN");
  Stmt item(db, "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, FParentID, FLevel, FDetail, FFullNumber, "
                "FShortNumber, UUID) VALUES (?1, 2, ?2, ?3, ?4, ?5, ?6, ?2, ?7, ?8)");
  Stmt detail(db, "INSERT INTO t_Department (FItemID, FParentID, FNumber, FName, FShortNumber, FNote, FPhone, "
                  "FManager, FDProperty, FAcctID, FCostAccountType, FCalID, FOtherArAcctID, FOtherAPAcctID, "
                  "FPreApAcctID, FPreArAcctID) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, 1, 1, 2, 7, 2, 3, 4, 5)");
  Stmt barCode(db, "INSERT INTO t_BarCode (FTypeID, FItemID, FBarCode, FRemark) VALUES (2, ?1, ?2, ?3)");
  int id = 1000;
  std::vector<std::pair<int, std::string>> groups;
  for (int t = 1; t <= kTopGroups; ++t) {
    std::string top = numbered("%02d", t);
    int topID = ++id;
    item.bind(1, topID).bind(2, top).bind(3, "事业部" + top).bind(4, 0).bind(5, 1).bind(6, 0).bind(7, top)
        .bind(8, "G-" + top).run();
    for (int g = 1; g <= kGroupsEach; ++g) {
      std::string number = top + "." + numbered("%02d", g);
      groups.emplace_back(++id, number);
      item.bind(1, id).bind(2, number).bind(3, "部门组" + number).bind(4, topID).bind(5, 2).bind(6, 0)
          .bind(7, numbered("%02d", g)).bind(8, "G-" + number).run();
    }
  }
  const int details = records - kTopGroups * (kGroupsEach + 1);
  for (int d = 1; d <= details; ++d) {
    const auto& [parent, prefix] = groups[static_cast<std::size_t>(d - 1) % groups.size()];
    std::string shortNumber = numbered("%04d", d), number = prefix + "." + shortNumber, name = "部门" + shortNumber;
    item.bind(1, ++id).bind(2, number).bind(3, name).bind(4, parent).bind(5, 3).bind(6, 1).bind(7, shortNumber)
        .bind(8, "D-" + shortNumber).run();
    detail.bind(1, id).bind(2, parent).bind(3, number).bind(4, name).bind(5, shortNumber).bind(6, "备注 O'Neil")
        .bind(7, "021-" + shortNumber).bind(8, 10000000 + 1 + d % 50).run();
    barCode.bind(1, id).bind(2, "69" + numbered("%08d", d)).bind(3, "条码").run();
  }
  db.exec("COMMIT");
}

// ---- the raw baseline ----

// The department's own columns: three texts, the calendar and eight links.
std::vector<std::string> rawExport(const std::string& source) {
  Db db(source);
  Stmt detail(db, "SELECT FNote, FPhone, FFax, FManager, FDProperty, FAcctID, FCostAccountType, FCalID, FOtherArAcctID, "
                  "FOtherAPAcctID, FPreApAcctID, FPreArAcctID FROM t_Department WHERE FItemID=?1");
  Stmt item(db, "SELECT FNumber, FName, UUID FROM t_Item WHERE FItemID=?1");
  Stmt assist(db, "SELECT FID, FName, UUID FROM t_SubMessage WHERE FInterID=?1");
  Stmt account(db, "SELECT FNumber, FName, UUID FROM t_Account WHERE FAccountID=?1");
  return rawItemExport(db, 2, "Department", [&](std::int64_t id, Writer& xml) {
    detail.bind(1, id);
    if (detail.step()) {
      for (int c = 0; c < 3; ++c)
        if (!detail.isNull(c)) xml.value(c == 0 ? "Note" : c == 1 ? "Phone" : "Fax", detail.text(c));
      xml.link("Manager", item, detail.integer(3));
      xml.link("Property", assist, detail.integer(4));
      xml.link("CostAccount", account, detail.integer(5));
      xml.link("CostAccountType", assist, detail.integer(6));
      if (!detail.isNull(7)) xml.value("CalID", detail.text(7));
      const char* accounts[] = {"OtherArAcctID", "OtherAPAcctID", "PreApAcctID", "PreArAcctID"};
      for (int a = 0; a < 4; ++a) xml.link(accounts[a], account, detail.integer(8 + a));
    }
    detail.reset();
  });
}

void rawImport(const std::string& target, const std::vector<std::string>& pages) {
  Db db(target);
  Stmt item(db, "SELECT FItemID FROM t_Item WHERE FNumber=?1 AND FName=?2");
  Stmt assist(db, "SELECT FInterID FROM t_SubMessage WHERE FName=?1 AND FID=?2");
  Stmt account(db, "SELECT FAccountID FROM t_Account WHERE FNumber=?1 AND FName=?2");
  Stmt updateDetail(db, "UPDATE t_Department SET FParentID=?2, FShortNumber=?3, FNumber=?4, FName=?5, FNote=?6, "
                        "FPhone=?7, FManager=?8, FDProperty=?9, FAcctID=?10, FCostAccountType=?11, FCalID=999, "
                        "FOtherArAcctID=?12, FOtherAPAcctID=?13, FPreApAcctID=?14, FPreArAcctID=?15 WHERE FItemID=?1");
  auto linked = [](Stmt& lookup, xmlNode* link, bool assistKind) -> std::int64_t {
    if (!link) return 0;
    if (assistKind) lookup.bind(1, text(link, "Name")).bind(2, text(link, "Number"));
    else lookup.bind(1, text(link, "Number")).bind(2, text(link, "Name"));
    return lookup.firstInteger();
  };
  rawItemImport(db, 2, "t_Department", pages, [&](const RawRecord& r) {
    updateDetail.bind(1, r.id).bind(2, r.parent).bind(3, r.shortNumber).bind(4, r.number).bind(5, r.name)
        .bind(6, text(r.node, "Note")).bind(7, text(r.node, "Phone"))
        .bind(8, linked(item, child(r.node, "Manager"), false)).bind(9, linked(assist, child(r.node, "Property"), true))
        .bind(10, linked(account, child(r.node, "CostAccount"), false))
        .bind(11, linked(assist, child(r.node, "CostAccountType"), true))
        .bind(12, linked(account, child(r.node, "OtherArAcctID"), false))
        .bind(13, linked(account, child(r.node, "OtherAPAcctID"), false))
        .bind(14, linked(account, child(r.node, "PreApAcctID"), false))
        .bind(15, linked(account, child(r.node, "PreArAcctID"), false))
        .run();
  });
}

void expectDepartments(const std::string& path, const char* who, int records) {
  std::int64_t n = count(path, "SELECT COUNT(*) FROM t_Item WHERE FItemClassID = 2");
  std::int64_t linked = count(path, "SELECT COUNT(*) FROM t_Department d JOIN t_Item m ON m.FItemID = d.FManager "
                                    "WHERE m.FItemClassID = 3");
  if (n != records || linked != records - kTopGroups * (kGroupsEach + 1))
    throw std::runtime_error(std::string(who) + " imported " + std::to_string(n) + " departments, " +
                             std::to_string(linked) + " with their manager");
}

}  // namespace

int main(int argc, char** argv) {
  return Run({.progID = "Quillane.clsDepartment",
              .dataType = 6,
              .records = kDepartments,
              .caption = [](int records) {
                return std::to_string(records) + " departments: " + std::to_string(kTopGroups * (kGroupsEach + 1)) +
                       " groups in two levels, each detail with a bar code and eight links";
              },
              .writeLinkTargets = writeLinkTargets,
              .writeRecords = writeDepartments,
              .rawExport = rawExport,
              .rawImport = rawImport,
              .expect = expectDepartments},
             argc, argv);
}
