// What the item-type benchmarks share: plain SQLite statements for the raw baseline, a libxml2 writer
// and reader helpers for its documents, the account sets' props strings, and the timing and report of
// one figure beside its baseline.
#pragma once

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlwriter.h>
#include <sqlite3.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "accountset/accountset.h"
#include "bench/in_turn.h"
#include "platform/automation/automation.h"

namespace bench {

inline constexpr int kPerPage = 1000;
inline constexpr const char* kNothingLeft = "0xFFFFFFFFFFFFFFFF";

// ---- plain SQLite ----

// With the engine's durability: a WAL file is written without a sync per commit, and what a connection
// committed is synced to the disk once, when it closes.
class Db {
 public:
  explicit Db(const std::string& path) : path_(path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) fail("open");
    sqlite3_busy_timeout(db_, 30000);
    sqlite3_stmt* mode = nullptr;
    if (sqlite3_prepare_v2(db_, "PRAGMA journal_mode", -1, &mode, nullptr) == SQLITE_OK && sqlite3_step(mode) == SQLITE_ROW &&
        sqlite3_stricmp(reinterpret_cast<const char*>(sqlite3_column_text(mode, 0)), "wal") == 0)
      exec("PRAGMA synchronous=NORMAL");
    sqlite3_finalize(mode);
  }
  ~Db() {
    if (sqlite3_total_changes64(db_) > 0) {
      int fd = ::open((path_ + "-wal").c_str(), O_RDONLY | O_CLOEXEC);
      if (fd >= 0) ::fsync(fd), ::close(fd);
    }
    sqlite3_close_v2(db_);
  }
  void exec(const std::string& sql) {
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) fail(sql);
  }
  sqlite3* handle() const { return db_; }
  [[noreturn]] void fail(const std::string& what) const {
    throw std::runtime_error(what + ": " + sqlite3_errmsg(db_));
  }

 private:
  std::string path_;
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

// ---- helpers ----

inline std::string numbered(const char* pattern, int n) {
  char text[32];
  std::snprintf(text, sizeof text, pattern, n);
  return text;
}

// As the ERP and the program give it: the edition key Setuptype is always there (the import of fees and
// of other classes from 2005 on reads it), empty for the standard edition.
inline std::string props(const std::string& path) {
  return "ConnectString={" + quillane::accountset::ConnectString(path) + "};UserID=16;AcctType=GY;Setuptype=";
}

inline std::int64_t count(const std::string& path, const char* sql) {
  Db db(path);
  Stmt s(db, sql);
  return s.firstInteger();
}

// A document of records written by plain libxml2.
class Writer {
 public:
  explicit Writer(const char* recordName) : buffer_(xmlBufferCreate()), writer_(xmlNewTextWriterMemory(buffer_, 0)) {
    xmlTextWriterStartDocument(writer_, "1.0", nullptr, nullptr);
    xmlTextWriterStartElement(writer_, BAD_CAST "Root");
    xmlTextWriterWriteAttribute(writer_, BAD_CAST "VelmoraNameSpace", BAD_CAST recordName);
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
  // The record that lookup finds by id, as a link element. A linked record is read once per document
  // and serves every record of it that names it, as the engine reuses within one export call what it
  // read.
  void link(const char* name, Stmt& lookup, std::int64_t id) {
    if (id == 0) return;
    auto [at, unread] = links_.try_emplace({&lookup, id});
    Linked& linked = at->second;
    if (unread) {
      lookup.bind(1, id);
      if (lookup.step()) linked = {true, lookup.text(0), lookup.text(1), lookup.text(2)};
      lookup.reset();
    }
    if (!linked.found) return;
    start(name);
    value("Number", linked.number);
    value("Name", linked.name);
    value("UUID", linked.uuid);
    end();
  }
  std::string finish() {
    xmlTextWriterEndDocument(writer_);
    xmlTextWriterFlush(writer_);
    return std::string(reinterpret_cast<const char*>(xmlBufferContent(buffer_)), xmlBufferLength(buffer_));
  }

 private:
  struct Linked {
    bool found = false;
    std::string number, name, uuid;
  };
  xmlBuffer* buffer_;
  xmlTextWriter* writer_;
  std::map<std::pair<const Stmt*, std::int64_t>, Linked> links_;
};

// The child element of node with the name, or nullptr when there is none; and the text of an element,
// empty when there is none.
inline xmlNode* child(xmlNode* node, const char* name) {
  for (xmlNode* c = node ? node->children : nullptr; c; c = c->next)
    if (c->type == XML_ELEMENT_NODE && xmlStrcmp(c->name, BAD_CAST name) == 0) return c;
  return nullptr;
}
inline std::string text(xmlNode* node) {
  if (!node) return {};
  xmlChar* content = xmlNodeGetContent(node);
  std::string t = content ? reinterpret_cast<const char*>(content) : "";
  xmlFree(content);
  return t;
}
inline std::string text(xmlNode* node, const char* name) { return text(child(node, name)); }

// The process's peak resident memory since it started or since the last resetPeakMemory.
inline long peakMemoryMiB() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  long kib = -1;
  char line[256];
  while (status && std::fgets(line, sizeof line, status))
    if (std::sscanf(line, "VmHWM: %ld kB", &kib) == 1) break;
  if (status) std::fclose(status);
  if (kib >= 0) return kib / 1024;
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

// Starts the peak of peakMemoryMiB again from what the process holds now, so that a figure covers one
// piece of work and not the set-up before it. False when the system cannot.
inline bool resetPeakMemory() {
  std::FILE* refs = std::fopen("/proc/self/clear_refs", "w");
  if (!refs) return false;
  bool done = std::fputs("5", refs) >= 0;
  return std::fclose(refs) == 0 && done;
}

// The engine may take at most this much longer than the raw road, on export and on import alike.
inline constexpr double kRawRatioTarget = 1.25;

// One figure beside its baseline (the engine measured against the raw road), and whether it meets the
// target.
inline void report(const char* what, int records, const Figure& figure) {
  const double ratio = figure.ratio;
  std::printf("%-7s engine %9.0f records/s   raw %9.0f records/s   raw/engine %5.2f (median of %d rounds in turn, "
              "rounds %.2f-%.2f)  target <= %.2f: %s\n",
              what, records / figure.measured, records / figure.against, ratio, figure.rounds, figure.lowest,
              figure.highest, kRawRatioTarget, ratio <= kRawRatioTarget ? "met" : "not met");
}

// Every page of the class behind progID, exported through it; and the pages imported through it.
inline std::vector<std::string> engineExport(const char* progID, const std::string& source) {
  quillane::ObjectRef itemType = quillane::CreateObject(progID);
  std::vector<std::string> pages;
  std::string stamp;
  for (;;) {
    std::vector<quillane::Variant> args{props(source), "", kPerPage, stamp, "", ""};
    if (!quillane::CBool(itemType->Call("Export", args))) throw std::runtime_error("export: " + quillane::CStr(args[5]));
    stamp = quillane::CStr(args[3]);
    if (stamp == kNothingLeft) break;
    pages.push_back(quillane::CStr(args[1]));
  }
  return pages;
}

inline void engineImport(const char* progID, const std::string& target, const std::vector<std::string>& pages) {
  quillane::ObjectRef itemType = quillane::CreateObject(progID);
  for (const std::string& page : pages) {
    std::vector<quillane::Variant> args{props(target), page, ""};
    if (!quillane::CBool(itemType->Call("Import", args))) throw std::runtime_error("import: " + quillane::CStr(args[2]).substr(0, 2000));
  }
}

// ---- the raw road of an item class ----

// The raw export of one item class of the account set: pages of kPerPage rows in stamp order, each
// record with the common keys, what detail(itemID, xml) writes for its detail row, and its bar codes.
// Each page reads in one read transaction, as an export call of the engine holds its reads, so that
// the highest stamp, the page and its links are read as they stood together and no statement takes
// and drops a read of its own.
inline std::vector<std::string> rawItemExport(Db& db, int itemClassID, const char* recordName,
                                              const std::function<void(std::int64_t, Writer&)>& detail) {
  const std::string cls = std::to_string(itemClassID);
  Stmt maximum(db, ("SELECT MAX(FModifyTime) FROM t_Item WHERE FItemClassID=" + cls + " AND FDeleted=0 AND FItemID<>0").c_str());
  Stmt page(db, ("SELECT FItemID, FNumber, FName, FParentID, FLevel, FDetail, UUID, FDeleted, FModifyTime FROM t_Item "
                 "WHERE FSystemType=1 AND FModifyTime>?1 AND FItemClassID=" + cls +
                 " AND FItemID<>0 ORDER BY FModifyTime LIMIT ?2").c_str());
  Stmt parent(db, ("SELECT FNumber, FName, UUID FROM t_Item WHERE FItemID=?1 AND FItemClassID=" + cls).c_str());
  Stmt barCodes(db, ("SELECT FBarCode, FRemark FROM t_BarCode WHERE FTypeID=" + cls + " AND FItemID=?1").c_str());
  Stmt holdReads(db, "BEGIN"), endReads(db, "COMMIT");
  std::vector<std::string> pages;
  std::vector<unsigned char> stamp(8, 0);
  for (;;) {
    holdReads.run();
    maximum.firstInteger();
    page.bindBlob(1, stamp).bind(2, kPerPage);
    Writer xml(recordName);
    int rows = 0;
    std::int64_t lastParent = 0;
    std::string parentNumber, parentName, parentUUID;
    while (page.step()) {
      ++rows;
      xml.start(recordName);
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
      detail(page.integer(0), xml);
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
    endReads.run();
    if (rows == 0) break;
    pages.push_back(xml.finish());
  }
  return pages;
}

// What the raw import hands the detail step of one detail record.
struct RawRecord {
  std::int64_t id, parent;
  std::string number, shortNumber, name;
  xmlNode* node;
};

// The raw import of the pages into the item class and its detail table: each record in a transaction of
// its own that takes the write lock at its start, as the engine's do, its item row matched by number or
// inserted with an empty detail row, detail(record) writing the detail row of a detail record (a group
// loses its row), the item row updated, the descendants renumbered and the bar codes replaced. Every
// statement, the transaction's own included, is prepared once per call.
inline void rawItemImport(Db& db, int itemClassID, const std::string& table, const std::vector<std::string>& pages,
                          const std::function<void(const RawRecord&)>& detail) {
  const std::string cls = std::to_string(itemClassID);
  Stmt byNumberAndName(db, ("SELECT FItemID FROM t_Item WHERE FItemClassID=" + cls + " AND FNumber=?1 AND FName=?2").c_str());
  Stmt byNumber(db, ("SELECT FItemID, FName, FDetail FROM t_Item WHERE FItemClassID=" + cls + " AND FNumber=?1").c_str());
  Stmt newItem(db, ("INSERT INTO t_Item (FItemClassID,FLevel,FDetail,FParentID,FNumber,FName) VALUES (" + cls +
                    ",1,1,0,?1,?2)").c_str());
  Stmt newDetail(db, ("INSERT INTO " + table + " (FItemID,FNumber,FName) VALUES (?1,?2,?3)").c_str());
  Stmt dropDetail(db, ("DELETE FROM " + table + " WHERE FItemID=?1").c_str());
  Stmt updateItem(db, ("UPDATE t_Item SET FNumber=?2, FFullNumber=?2, FShortNumber=?3, FName=?4, FParentID=?5, "
                       "FDetail=?6, FLevel=?7, FDeleted=?8, FSystemType=1, UUID=?9 WHERE FItemClassID=" + cls +
                       " AND FItemID=?1").c_str());
  Stmt parentIsGroup(db, ("UPDATE t_Item SET FDetail=0 WHERE FItemID=?1 AND FItemID<>0 AND FItemClassID=" + cls).c_str());
  // The rows below a number, as a range of the number index: "n." <= FNumber < "n/" under NOCASE is
  // exactly the numbers that start with "n.". (A LIKE with a bound pattern would be compiled again for
  // every record.)
  Stmt fullNumbers(db, ("UPDATE t_Item SET FFullNumber=FNumber WHERE FNumber >= ?1 AND FNumber < ?2 AND FItemClassID=" + cls).c_str());
  Stmt detailNumbers(db, ("UPDATE " + table + " SET FNumber=i.F1 FROM (SELECT FNumber F1, FItemID FID1 FROM t_Item "
                          "WHERE FNumber >= ?1 AND FNumber < ?2 AND FItemClassID=" + cls + ") i WHERE FItemID=i.FID1").c_str());
  Stmt detailParent(db, ("UPDATE " + table + " SET FParentID=?2 WHERE FItemID=?1").c_str());
  Stmt dropBarCodes(db, ("DELETE FROM t_BarCode WHERE FTypeID=" + cls + " AND FItemID=?1").c_str());
  Stmt newBarCode(db, ("INSERT INTO t_BarCode (FTypeID,FItemID,FBarCode,FRemark) VALUES (" + cls + ",?1,?2,?3)").c_str());
  Stmt begin(db, "BEGIN IMMEDIATE"), commit(db, "COMMIT");
  for (const std::string& page : pages) {
    xmlDoc* doc = xmlReadMemory(page.data(), static_cast<int>(page.size()), nullptr, nullptr, XML_PARSE_NONET);
    if (!doc) throw std::runtime_error("raw import: not a document");
    for (xmlNode* r = xmlDocGetRootElement(doc)->children; r; r = r->next) {
      if (r->type != XML_ELEMENT_NODE) continue;
      std::string number = text(r, "Number"), name = text(r, "Name");
      bool isDetail = text(r, "IsDetail") != "0";
      begin.run();
      std::int64_t parent = 0;
      if (xmlNode* p = child(r, "Parent")) parent = byNumberAndName.bind(1, text(p, "Number")).bind(2, text(p, "Name")).firstInteger();
      std::int64_t id = byNumber.bind(1, number).firstInteger();
      if (id == 0) {
        newItem.bind(1, number).bind(2, name).run();
        id = sqlite3_last_insert_rowid(db.handle());
        if (isDetail) newDetail.bind(1, id).bind(2, number).bind(3, name).run();
      }
      std::string shortNumber = number.substr(number.rfind('.') + 1);
      if (isDetail)
        detail(RawRecord{id, parent, number, shortNumber, name, r});
      else
        dropDetail.bind(1, id).run();
      updateItem.bind(1, id).bind(2, number).bind(3, shortNumber).bind(4, name).bind(5, parent).bind(6, isDetail ? 1 : 0)
          .bind(7, std::atoi(text(r, "Level").c_str())).bind(8, std::atoi(text(r, "IsDelete").c_str()))
          .bind(9, text(r, "UUID")).run();
      parentIsGroup.bind(1, parent).run();
      fullNumbers.bind(1, number + ".").bind(2, number + "/").run();
      detailNumbers.bind(1, number + ".").bind(2, number + "/").run();
      detailParent.bind(1, id).bind(2, parent).run();
      dropBarCodes.bind(1, id).run();
      for (xmlNode* b = r->children; b; b = b->next)
        if (b->type == XML_ELEMENT_NODE && xmlStrcmp(b->name, BAD_CAST "BarCodes") == 0)
          newBarCode.bind(1, id).bind(2, text(b, "BarCode")).bind(3, text(b, "Remark")).run();
      commit.run();
    }
    xmlFreeDoc(doc);
  }
}

// ---- one run ----

// The durability settings the raw road writes with: its journal mode and synchronous setting.
inline std::string rawSettings(const std::string& path) {
  Db db(path);
  Stmt mode(db, "PRAGMA journal_mode"), synchronous(db, "PRAGMA synchronous");
  std::string text = mode.step() ? mode.text(0) : "?";
  return "journal mode " + text + ", synchronous " + (synchronous.step() ? synchronous.text(0) : "?");
}

// The same as the engine's own connection component sees them.
inline std::string engineSettings(const std::string& path) {
  quillane::ObjectRef connection = quillane::CreateObject("VLMConnection.Connection");
  connection->Let("ConnString", quillane::Variant(quillane::accountset::ConnectString(path)));
  auto value = [&](const char* pragma) {
    std::vector<quillane::Variant> args{std::string(pragma)};
    quillane::ObjectRef rs = connection->Call("GetAnyRecordSet", args).object();
    std::vector<quillane::Variant> column{quillane::Variant(std::int32_t{0})};
    return quillane::CStr(rs->Invoke("Fields", quillane::InvokeKind::Get, column).object()->Get("Value"));
  };
  std::string text = "journal mode " + value("PRAGMA journal_mode") + ", synchronous " + value("PRAGMA synchronous");
  std::vector<quillane::Variant> none;
  connection->Call("CloseConn", none);
  return text;
}

// An item type's benchmark: its class, its records and links, and its raw road.
struct ItemBench {
  const char* progID;
  std::int32_t dataType;  // the facade's ItemObject of the class, for the program's own paging
  int records;  // the class's records the source holds, groups included, unless the command line says
  std::function<std::string(int records)> caption;         // printed first
  std::function<void(Db&, int offset)> writeLinkTargets;  // under identifiers moved by offset
  std::function<void(Db&, int records)> writeRecords;
  std::function<std::vector<std::string>(const std::string& source)> rawExport;
  std::function<void(const std::string& target, const std::vector<std::string>& pages)> rawImport;
  // Throws when the account set does not hold the records the import was to write.
  std::function<void(const std::string& path, const char* who, int records)> expect;
};

// The program's bulk export of the class: every page of 100 (the program's default) through the
// facade into one file, as `quillane export --bulk` pages it.
inline void programExport(std::int32_t dataType, const std::string& source, const std::string& file) {
  quillane::ObjectRef facade = quillane::CreateObject("Quillane.clsExpImp");
  std::vector<quillane::Variant> args{props(source), dataType, file, std::int32_t{100}, "", "", ""};
  if (!quillane::CBool(facade->Call("ExportPreIOToFile", args)))
    throw std::runtime_error("bulk export: " + quillane::CStr(args[6]));
}

// The rounds of each figure. An export of the records takes a fraction of a second, so a pause of the
// machine moves one round's ratio far; an import takes seconds, its pages in turn; the bulk export of
// ten times as many takes ten times as long as the other side, which a pause may hit alone.
inline constexpr int kExportRounds = 9, kImportRounds = 3, kPagingRounds = 5;

// "<program> [records]": exports the source through the engine and the raw road, in turn for
// kExportRounds rounds; imports the pages into two new account sets per round, page by page in turn,
// for kImportRounds rounds; prints the durability settings of both sides, both rates and their ratio,
// and checks what arrived in every round. Last, the program's bulk export of ten times as many records
// is timed against that of the given count, in turn for kPagingRounds rounds: a page costs the same
// wherever it lies, so the figure stays near 10. Returns the process's exit code.
inline int Run(const ItemBench& bench, int argc, char** argv) {
  try {
    const int records = argc > 1 ? std::atoi(argv[1]) : bench.records;
    if (argc > 2 || records < 1) throw std::runtime_error(std::string("usage: ") + argv[0] + " [records]");
    std::string pattern = (std::filesystem::temp_directory_path() / "quillane-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    const std::filesystem::path folder = pattern;
    // A registry of the run's own, so that no conflict rule or schema path of the machine applies.
    setenv("QUILLANE_REGISTRY", (folder / "registry.ini").c_str(), 1);
    auto newAccountSet = [&](const std::string& name, int linkOffset) {
      std::string path = (folder / name).string();
      quillane::accountset::CreateEmpty(path);
      Db db(path);
      bench.writeLinkTargets(db, linkOffset);
      return path;
    };
    auto sourceOf = [&](const char* name, int count) {
      std::string source = newAccountSet(name, 0);
      Db db(source);
      bench.writeRecords(db, count);
      return source;
    };
    std::string source = sourceOf("source.db", records);
    std::vector<std::pair<std::string, std::string>> targets;  // of the engine and of the raw road, per round
    for (int round = 0; round < kImportRounds; ++round)
      targets.emplace_back(newAccountSet("engine" + std::to_string(round) + ".db", 7000),
                           newAccountSet("raw" + std::to_string(round) + ".db", 7000));
    std::printf("%s; pages of %d\n", bench.caption(records).c_str(), kPerPage);
    std::printf("engine: %s; raw: %s\n", engineSettings(targets[0].first).c_str(),
                rawSettings(targets[0].second).c_str());

    // Each side exports all its pages within its turn. Page by page in turn, each would evict what
    // the other holds in the processor's caches between its calls: that cost the engine, whose calls
    // touch far more memory, half its time again, and the raw road nothing. A page of an import takes
    // long enough for that not to count.
    std::vector<std::string> enginePages, rawPages;
    report("export", records, overRounds(kExportRounds, [&](int round) {
             return inTurn(round, [&] { enginePages = engineExport(bench.progID, source); },
                           [&] { rawPages = bench.rawExport(source); });
           }));
    if (enginePages.size() != rawPages.size())
      throw std::runtime_error("the engine wrote " + std::to_string(enginePages.size()) + " pages, the raw road " +
                               std::to_string(rawPages.size()));

    report("import", records, overRounds(kImportRounds, [&](int round) {
             const auto& [engineTarget, rawTarget] = targets[static_cast<std::size_t>(round)];
             Sides times;
             for (std::size_t page = 0; page < enginePages.size(); ++page)
               times += inTurn(round + static_cast<int>(page),
                               [&] { engineImport(bench.progID, engineTarget, {enginePages[page]}); },
                               [&] { bench.rawImport(rawTarget, {rawPages[page]}); });
             bench.expect(engineTarget, "the engine", records);
             bench.expect(rawTarget, "the raw baseline", records);
             return times;
           }));

    std::string larger = sourceOf("larger.db", records * 10);
    const std::string file = (folder / "bulk.xml").string();
    Figure paging = overRounds(kPagingRounds, [&](int round) {
      return inTurn(round, [&] { programExport(bench.dataType, larger, file); },
                    [&] { programExport(bench.dataType, source, file); });
    });
    std::printf("paging  the program's bulk export of %d records takes %.1f times as long as that of %d (%.2f s "
                "against %.2f s; median of %d rounds in turn, rounds %.1f-%.1f)\n",
                records * 10, paging.ratio, records, paging.measured, paging.against, paging.rounds, paging.lowest,
                paging.highest);

    std::filesystem::remove_all(folder);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
  }
}

}  // namespace bench
