// Throughput of the item engine on departments: 10,000 departments under a tree of groups, each detail
// with a bar code and eight links, exported page by page through Quillane.clsDepartment and imported
// into an empty account set. Beside each figure stands a raw baseline measured in the same run: the same
// reads and writes as plain SQLite statements (prepared once, one transaction per imported record) and
// the same document written and parsed by plain libxml2.
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlwriter.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "accountset/accountset.h"
#include "platform/automation/automation.h"

namespace {

using quillane::CBool;
using quillane::CLng;
using quillane::CStr;
using quillane::Variant;

constexpr int kDepartments = 10000;
constexpr int kTopGroups = 10, kGroupsEach = 10;  // 110 groups; the rest are details
constexpr int kPerPage = 1000;
constexpr const char* kNothingLeft = "0xFFFFFFFFFFFFFFFF";

// ---- plain SQLite ----

class Db {
 public:
  explicit Db(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) fail("open");
    sqlite3_busy_timeout(db_, 30000);
  }
  ~Db() { sqlite3_close_v2(db_); }
  void exec(const std::string& sql) {
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) fail(sql);
  }
  sqlite3* handle() const { return db_; }
  [[noreturn]] void fail(const std::string& what) const {
    throw std::runtime_error(what + ": " + sqlite3_errmsg(db_));
  }

 private:
  sqlite3* db_ = nullptr;
};

// A statement prepared once and run many times: bind, step through the rows, reset.
class Stmt {
 public:
  Stmt(Db& db, const char* sql) : db_(db) {
    if (sqlite3_prepare_v2(db.handle(), sql, -1, &stmt_, nullptr) != SQLITE_OK) db.fail(sql);
  }
  ~Stmt() { sqlite3_finalize(stmt_); }
  Stmt& bind(int i, std::int64_t v) { return check(sqlite3_bind_int64(stmt_, i, v)); }
  Stmt& bind(int i, const std::string& v) {
    return check(sqlite3_bind_text(stmt_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT));
  }
  Stmt& bindBlob(int i, const std::vector<unsigned char>& v) {
    return check(sqlite3_bind_blob(stmt_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT));
  }
  bool step() {
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE) db_.fail(sqlite3_sql(stmt_));
    return false;
  }
  void run() {
    while (step()) {
    }
    reset();
  }
  void reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }
  std::int64_t integer(int c) const { return sqlite3_column_int64(stmt_, c); }
  std::string text(int c) const {
    const unsigned char* t = sqlite3_column_text(stmt_, c);
    return t ? reinterpret_cast<const char*>(t) : "";
  }
  bool isNull(int c) const { return sqlite3_column_type(stmt_, c) == SQLITE_NULL; }
  std::vector<unsigned char> blob(int c) const {
    auto* p = static_cast<const unsigned char*>(sqlite3_column_blob(stmt_, c));
    return std::vector<unsigned char>(p, p + sqlite3_column_bytes(stmt_, c));
  }
  // The first column of the first row, 0 when there is none.
  std::int64_t firstInteger() {
    std::int64_t v = step() ? integer(0) : 0;
    reset();
    return v;
  }

 private:
  Stmt& check(int rc) {
    if (rc != SQLITE_OK) db_.fail("bind");
    return *this;
  }
  Db& db_;
  sqlite3_stmt* stmt_ = nullptr;
};

// ---- the account sets ----

std::string numbered(const char* pattern, int n) {
  char text[32];
  std::snprintf(text, sizeof text, pattern, n);
  return text;
}

// What the departments link to, under identifiers that differ by offset between account sets.
void writeLinkTargets(Db& db, int offset) {
  db.exec("BEGIN");
  Stmt employee(db, "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, UUID) VALUES (?1, 3, ?2, ?3, ?4)");
  for (int e = 1; e <= 50; ++e)
    employee.bind(1, 100000 + offset + e).bind(2, numbered("E%03d", e)).bind(3, "职员" + numbered("%03d", e))
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
void writeDepartments(Db& db) {
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
  const int details = kDepartments - kTopGroups * (kGroupsEach + 1);
  for (int d = 1; d <= details; ++d) {
    const auto& [parent, prefix] = groups[static_cast<std::size_t>(d - 1) % groups.size()];
    std::string shortNumber = numbered("%04d", d), number = prefix + "." + shortNumber, name = "部门" + shortNumber;
    item.bind(1, ++id).bind(2, number).bind(3, name).bind(4, parent).bind(5, 3).bind(6, 1).bind(7, shortNumber)
        .bind(8, "D-" + shortNumber).run();
    detail.bind(1, id).bind(2, parent).bind(3, number).bind(4, name).bind(5, shortNumber).bind(6, "备注 O'Neil")
        .bind(7, "021-" + shortNumber).bind(8, 100000 + 1 + d % 50).run();
    barCode.bind(1, id).bind(2, "69" + numbered("%08d", d)).bind(3, "条码").run();
  }
  db.exec("COMMIT");
}

std::string newAccountSet(const std::filesystem::path& folder, const char* name, int linkOffset) {
  std::string path = (folder / name).string();
  quillane::accountset::CreateEmpty(path);
  Db db(path);
  writeLinkTargets(db, linkOffset);
  return path;
}

std::string props(const std::string& path) {
  return "ConnectString={" + quillane::accountset::ConnectString(path) + "};UserID=16;AcctType=GY";
}

std::int64_t count(const std::string& path, const char* sql) {
  Db db(path);
  Stmt s(db, sql);
  return s.firstInteger();
}

// ---- the engine ----

std::vector<std::string> engineExport(const std::string& source) {
  quillane::ObjectRef departments = quillane::CreateObject("Quillane.clsDepartment");
  std::vector<std::string> pages;
  std::string stamp;
  for (;;) {
    std::vector<Variant> args{props(source), "", kPerPage, stamp, "", ""};
    if (!CBool(departments->Call("Export", args))) throw std::runtime_error("export: " + CStr(args[5]));
    stamp = CStr(args[3]);
    if (stamp == kNothingLeft) break;
    pages.push_back(CStr(args[1]));
  }
  return pages;
}

void engineImport(const std::string& target, const std::vector<std::string>& pages) {
  quillane::ObjectRef departments = quillane::CreateObject("Quillane.clsDepartment");
  for (const std::string& page : pages) {
    std::vector<Variant> args{props(target), page, ""};
    if (!CBool(departments->Call("Import", args))) throw std::runtime_error("import: " + CStr(args[2]).substr(0, 2000));
  }
}

// ---- the raw baseline ----

class Writer {
 public:
  Writer() : buffer_(xmlBufferCreate()), writer_(xmlNewTextWriterMemory(buffer_, 0)) {
    xmlTextWriterStartDocument(writer_, "1.0", nullptr, nullptr);
    xmlTextWriterStartElement(writer_, BAD_CAST "Root");
    xmlTextWriterWriteAttribute(writer_, BAD_CAST "VelmoraNameSpace", BAD_CAST "Department");
  }
  ~Writer() {
    xmlFreeTextWriter(writer_);
    xmlBufferFree(buffer_);
  }
  void start(const char* name) { xmlTextWriterStartElement(writer_, BAD_CAST name); }
  void end() { xmlTextWriterEndElement(writer_); }
  void value(const char* name, const std::string& text) {
    xmlTextWriterWriteElement(writer_, BAD_CAST name, BAD_CAST text.c_str());
  }
  void link(const char* name, Stmt& lookup, std::int64_t id) {
    if (id == 0) return;
    lookup.bind(1, id);
    if (lookup.step()) {
      start(name);
      value("Number", lookup.text(0));
      value("Name", lookup.text(1));
      value("UUID", lookup.text(2));
      end();
    }
    lookup.reset();
  }
  std::string finish() {
    xmlTextWriterEndDocument(writer_);
    xmlTextWriterFlush(writer_);
    return std::string(reinterpret_cast<const char*>(xmlBufferContent(buffer_)), xmlBufferLength(buffer_));
  }

 private:
  xmlBuffer* buffer_;
  xmlTextWriter* writer_;
};

std::vector<std::string> rawExport(const std::string& source) {
  Db db(source);
  Stmt maximum(db, "SELECT MAX(FModifyTime) FROM t_Item WHERE FItemClassID=2 AND FDeleted=0 AND FItemID<>0");
  Stmt page(db, "SELECT FItemID, FNumber, FName, FParentID, FLevel, FDetail, UUID, FDeleted, FModifyTime FROM t_Item "
                "WHERE FSystemType=1 AND FModifyTime>?1 AND FItemClassID=2 AND FItemID<>0 ORDER BY FModifyTime LIMIT ?2");
  Stmt parent(db, "SELECT FNumber, FName, UUID FROM t_Item WHERE FItemID=?1 AND FItemClassID=2");
  Stmt detail(db, "SELECT FNote, FPhone, FFax, FManager, FDProperty, FAcctID, FCostAccountType, FCalID, FOtherArAcctID, "
                  "FOtherAPAcctID, FPreApAcctID, FPreArAcctID FROM t_Department WHERE FItemID=?1");
  Stmt item(db, "SELECT FNumber, FName, UUID FROM t_Item WHERE FItemID=?1");
  Stmt assist(db, "SELECT FID, FName, UUID FROM t_SubMessage WHERE FInterID=?1");
  Stmt account(db, "SELECT FNumber, FName, UUID FROM t_Account WHERE FAccountID=?1");
  Stmt barCodes(db, "SELECT FBarCode, FRemark FROM t_BarCode WHERE FTypeID=2 AND FItemID=?1");
  std::vector<std::string> pages;
  std::vector<unsigned char> stamp(8, 0);
  for (;;) {
    maximum.firstInteger();
    page.bindBlob(1, stamp).bind(2, kPerPage);
    Writer xml;
    int rows = 0;
    std::int64_t lastParent = 0;
    std::string parentNumber, parentName, parentUUID;
    while (page.step()) {
      ++rows;
      xml.start("Department");
      xml.value("Name", page.text(2));
      xml.value("Number", page.text(1));
      std::int64_t parentID = page.integer(3);
      if (parentID != lastParent) {
        lastParent = parentID;
        parentNumber = parentName = parentUUID = "";
        parent.bind(1, parentID);
        if (parent.step()) parentNumber = parent.text(0), parentName = parent.text(1), parentUUID = parent.text(2);
        parent.reset();
      }
      if (!parentNumber.empty()) {
        xml.start("Parent");
        xml.value("Number", parentNumber);
        xml.value("Name", parentName);
        xml.value("UUID", parentUUID);
        xml.end();
      }
      xml.value("Level", page.text(4));
      xml.value("IsDetail", page.integer(5) ? "1" : "0");
      xml.value("UUID", page.text(6));
      xml.value("IsDelete", page.text(7));
      detail.bind(1, page.integer(0));
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
      barCodes.bind(1, page.integer(0));
      while (barCodes.step()) {
        xml.start("BarCodes");
        xml.value("BarCode", barCodes.text(0));
        xml.value("Remark", barCodes.text(1));
        xml.end();
      }
      barCodes.reset();
      xml.end();
      stamp = page.blob(8);
    }
    page.reset();
    if (rows == 0) break;
    pages.push_back(xml.finish());
  }
  return pages;
}

// The text of the child element of node, or nullptr when there is none.
xmlNode* child(xmlNode* node, const char* name) {
  for (xmlNode* c = node ? node->children : nullptr; c; c = c->next)
    if (c->type == XML_ELEMENT_NODE && xmlStrcmp(c->name, BAD_CAST name) == 0) return c;
  return nullptr;
}
std::string text(xmlNode* node, const char* name) {
  xmlNode* c = child(node, name);
  if (!c) return {};
  xmlChar* content = xmlNodeGetContent(c);
  std::string t = content ? reinterpret_cast<const char*>(content) : "";
  xmlFree(content);
  return t;
}

void rawImport(const std::string& target, const std::vector<std::string>& pages) {
  Db db(target);
  Stmt byNumberAndName(db, "SELECT FItemID FROM t_Item WHERE FItemClassID=2 AND FNumber=?1 AND FName=?2");
  Stmt byNumber(db, "SELECT FItemID, FName, FDetail FROM t_Item WHERE FItemClassID=2 AND FNumber=?1");
  Stmt newItem(db, "INSERT INTO t_Item (FItemClassID,FLevel,FDetail,FParentID,FNumber,FName) VALUES (2,1,1,0,?1,?2)");
  Stmt newDetail(db, "INSERT INTO t_Department (FItemID,FNumber,FName) VALUES (?1,?2,?3)");
  Stmt item(db, "SELECT FItemID FROM t_Item WHERE FNumber=?1 AND FName=?2");
  Stmt assist(db, "SELECT FInterID FROM t_SubMessage WHERE FName=?1 AND FID=?2");
  Stmt account(db, "SELECT FAccountID FROM t_Account WHERE FNumber=?1 AND FName=?2");
  Stmt updateDetail(db, "UPDATE t_Department SET FParentID=?2, FShortNumber=?3, FNumber=?4, FName=?5, FNote=?6, "
                        "FPhone=?7, FManager=?8, FDProperty=?9, FAcctID=?10, FCostAccountType=?11, FCalID=999, "
                        "FOtherArAcctID=?12, FOtherAPAcctID=?13, FPreApAcctID=?14, FPreArAcctID=?15 WHERE FItemID=?1");
  Stmt dropDetail(db, "DELETE FROM t_Department WHERE FItemID=?1");
  Stmt updateItem(db, "UPDATE t_Item SET FNumber=?2, FFullNumber=?2, FShortNumber=?3, FName=?4, FParentID=?5, "
                      "FDetail=?6, FLevel=?7, FDeleted=?8, FSystemType=1, UUID=?9 WHERE FItemClassID=2 AND FItemID=?1");
  Stmt parentIsGroup(db, "UPDATE t_Item SET FDetail=0 WHERE FItemID=?1 AND FItemID<>0 AND FItemClassID=2");
  Stmt fullNumbers(db, "UPDATE t_Item SET FFullNumber=FNumber WHERE FNumber LIKE ?1 ESCAPE '\\' AND FItemClassID=2");
  Stmt detailNumbers(db, "UPDATE t_Department SET FNumber=i.F1 FROM (SELECT FNumber F1, FItemID FID1 FROM t_Item "
                         "WHERE FNumber LIKE ?1 ESCAPE '\\' AND FItemClassID=2) i WHERE FItemID=i.FID1");
  Stmt detailParent(db, "UPDATE t_Department SET FParentID=?2 WHERE FItemID=?1");
  Stmt dropBarCodes(db, "DELETE FROM t_BarCode WHERE FTypeID=2 AND FItemID=?1");
  Stmt newBarCode(db, "INSERT INTO t_BarCode (FTypeID,FItemID,FBarCode,FRemark) VALUES (2,?1,?2,?3)");
  auto linked = [](Stmt& lookup, xmlNode* link, bool assistKind) -> std::int64_t {
    if (!link) return 0;
    if (assistKind) lookup.bind(1, text(link, "Name")).bind(2, text(link, "Number"));
    else lookup.bind(1, text(link, "Number")).bind(2, text(link, "Name"));
    return lookup.firstInteger();
  };
  for (const std::string& page : pages) {
    xmlDoc* doc = xmlReadMemory(page.data(), static_cast<int>(page.size()), nullptr, nullptr, XML_PARSE_NONET);
    if (!doc) throw std::runtime_error("raw import: not a document");
    for (xmlNode* r = xmlDocGetRootElement(doc)->children; r; r = r->next) {
      if (r->type != XML_ELEMENT_NODE) continue;
      std::string number = text(r, "Number"), name = text(r, "Name");
      bool isDetail = text(r, "IsDetail") != "0";
      db.exec("BEGIN");
      std::int64_t parent = 0;
      if (xmlNode* p = child(r, "Parent")) parent = byNumberAndName.bind(1, text(p, "Number")).bind(2, text(p, "Name")).firstInteger();
      std::int64_t id = byNumber.bind(1, number).firstInteger();
      if (id == 0) {
        newItem.bind(1, number).bind(2, name).run();
        id = sqlite3_last_insert_rowid(db.handle());
        if (isDetail) newDetail.bind(1, id).bind(2, number).bind(3, name).run();
      }
      std::string shortNumber = number.substr(number.rfind('.') + 1);
      if (isDetail) {
        updateDetail.bind(1, id).bind(2, parent).bind(3, shortNumber).bind(4, number).bind(5, name)
            .bind(6, text(r, "Note")).bind(7, text(r, "Phone"))
            .bind(8, linked(item, child(r, "Manager"), false)).bind(9, linked(assist, child(r, "Property"), true))
            .bind(10, linked(account, child(r, "CostAccount"), false))
            .bind(11, linked(assist, child(r, "CostAccountType"), true))
            .bind(12, linked(account, child(r, "OtherArAcctID"), false))
            .bind(13, linked(account, child(r, "OtherAPAcctID"), false))
            .bind(14, linked(account, child(r, "PreApAcctID"), false))
            .bind(15, linked(account, child(r, "PreArAcctID"), false))
            .run();
      } else {
        dropDetail.bind(1, id).run();
      }
      updateItem.bind(1, id).bind(2, number).bind(3, shortNumber).bind(4, name).bind(5, parent).bind(6, isDetail ? 1 : 0)
          .bind(7, std::atoi(text(r, "Level").c_str())).bind(8, std::atoi(text(r, "IsDelete").c_str()))
          .bind(9, text(r, "UUID")).run();
      parentIsGroup.bind(1, parent).run();
      fullNumbers.bind(1, number + ".%").run();
      detailNumbers.bind(1, number + ".%").run();
      detailParent.bind(1, id).bind(2, parent).run();
      dropBarCodes.bind(1, id).run();
      for (xmlNode* b = r->children; b; b = b->next)
        if (b->type == XML_ELEMENT_NODE && xmlStrcmp(b->name, BAD_CAST "BarCodes") == 0)
          newBarCode.bind(1, id).bind(2, text(b, "BarCode")).bind(3, text(b, "Remark")).run();
      db.exec("COMMIT");
    }
    xmlFreeDoc(doc);
  }
}

// ---- timing ----

double seconds(const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void report(const char* what, double engine, double raw) {
  std::printf("%-7s engine %9.0f records/s   raw %9.0f records/s   raw/engine %6.1f\n", what, kDepartments / engine,
              kDepartments / raw, engine / raw);
}

void expectDepartments(const std::string& path, const char* who) {
  std::int64_t n = count(path, "SELECT COUNT(*) FROM t_Item WHERE FItemClassID = 2");
  std::int64_t linked = count(path, "SELECT COUNT(*) FROM t_Department d JOIN t_Item m ON m.FItemID = d.FManager "
                                    "WHERE m.FItemClassID = 3");
  if (n != kDepartments || linked != kDepartments - kTopGroups * (kGroupsEach + 1))
    throw std::runtime_error(std::string(who) + " imported " + std::to_string(n) + " departments, " +
                             std::to_string(linked) + " with their manager");
}

}  // namespace

int main() {
  try {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillane-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    const std::filesystem::path folder = pattern;
    // A registry of the run's own, so that no conflict rule or schema path of the machine applies.
    setenv("QUILLANE_REGISTRY", (folder / "registry.ini").c_str(), 1);

    std::string source = newAccountSet(folder, "source.db", 0);
    {
      Db db(source);
      writeDepartments(db);
    }
    std::string engineTarget = newAccountSet(folder, "engine.db", 7000);
    std::string rawTarget = newAccountSet(folder, "raw.db", 7000);
    std::printf("%d departments: %d groups in two levels, each detail with a bar code and eight links; pages of %d\n",
                kDepartments, kTopGroups * (kGroupsEach + 1), kPerPage);

    std::vector<std::string> enginePages, rawPages;
    double engineExportTime = seconds([&] { enginePages = engineExport(source); });
    double rawExportTime = seconds([&] { rawPages = rawExport(source); });
    report("export", engineExportTime, rawExportTime);

    double engineImportTime = seconds([&] { engineImport(engineTarget, enginePages); });
    double rawImportTime = seconds([&] { rawImport(rawTarget, rawPages); });
    report("import", engineImportTime, rawImportTime);
    expectDepartments(engineTarget, "the engine");
    expectDepartments(rawTarget, "the raw baseline");

    std::filesystem::remove_all(folder);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
  }
}
