// A bulk import through the SAX road: a generated file of one item type (UTF-16 LE with a byte-order mark,
// as bulk files are) is cut into batches of 100 records by the splitter and each batch is imported into
// an empty account set through the type's class ("split" as the last argument: each batch is only loaded
// into a DOM, which measures the road without the database). Prints records per second and the
// process's peak memory, which must not grow with the file. The raw baseline is plain libxml2 SAX over
// the same file writing each record with the raw import's statements into an empty account set.
//
//   sax_import_bench [MiB] [split]               departments, 1 GiB unless MiB says otherwise
//   sax_import_bench material [records] [split]  materials with every column and link, the widest
//                                                record, 20,000 unless records says otherwise
#include <libxml/parser.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "accountset/accountset.h"
#include "bench_support.h"
#include "exchange/clsSAXParse.h"
#include "platform/automation/automation.h"
#include "platform/xml/DOMDocument.h"
#include "platform/xml/SAXXMLReader.h"

namespace {

using quillane::CStr;
using quillane::Variant;

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One item type of the bench: its class and record element, and the text of its n-th record.
struct BenchType {
  const char* progID;
  const char* recordName;
  std::function<std::string(long n)> record;
};

BenchType departments() {
  return {"Quillane.clsDepartment", "Department", [](long n) {
            std::string k = std::to_string(n);
            return "<Name>部门 R&amp;D " + k + "</Name><Number>B" + k + "</Number><Level>1</Level><IsDetail>1</IsDetail>"
                   "<UUID>BENCH-" + k + "</UUID>";
          }};
}

// A material's own elements as the library exports them: the first detail of a small sample account
// set, every column filled and every link resolved. Its number, name and UUID change per record.
BenchType materials(const std::filesystem::path& dir) {
  const std::string sample = (dir / "sample.db").string();
  quillane::accountset::CreateSample(sample, 1);
  std::vector<Variant> args{"ConnectString={" + quillane::accountset::ConnectString(sample) + "};UserID=16;AcctType=GY",
                            "", std::int32_t{0}, "", "", ""};
  if (!quillane::CBool(quillane::CreateObject("Quillane.clsMaterial")->Call("Export", args)))
    throw std::runtime_error("sample export: " + CStr(args[5]));
  const std::string page = CStr(args[1]);
  const std::size_t from = page.find("</IsDelete><Model>"), to = page.find("<BarCodes>", from);
  if (from == std::string::npos || to == std::string::npos) throw std::runtime_error("no material with its columns");
  const std::string own = page.substr(from + std::string("</IsDelete>").size(), to - from - std::string("</IsDelete>").size());
  return {"Quillane.clsMaterial", "Material", [own](long n) {
            std::string k = std::to_string(n);
            return "<Name>物料 " + k + "</Name><Number>M" + k + "</Number><Level>1</Level><IsDetail>1</IsDetail><UUID>BENCH-" +
                   k + "</UUID><IsDelete>0</IsDelete>" + own;
          }};
}

// Writes records until the file reaches the size in bytes or holds the count; returns the number of
// records.
long generate(const BenchType& type, const std::string& path, std::uintmax_t bytes, long count) {
  std::ofstream out(path, std::ios::binary);
  auto write = [&out](const std::string& text) {
    std::vector<unsigned char> units = quillane::Utf8ToUtf16Le(text);
    out.write(reinterpret_cast<const char*>(units.data()), static_cast<std::streamsize>(units.size()));
  };
  out.write("\xFF\xFE", 2);
  write(std::string("<?xml version=\"1.0\" encoding=\"UTF-16\"?><Root VelmoraNameSpace=\"") + type.recordName + "\">");
  long records = 0;
  while (count > 0 ? records < count : static_cast<std::uintmax_t>(out.tellp()) < bytes)
    write(std::string("<") + type.recordName + ">" + type.record(++records) + "</" + type.recordName + ">");
  write("</Root>");
  return records;
}

// The raw baseline: plain libxml2 SAX over the same file, each record's elements gathered as text and
// written with the raw import's statements (prepared once, each record in a transaction of its own):
// the item row matched by number or inserted with its detail row, then updated, and the numbers of its
// descendants renumbered. A material's own columns are left out: the baseline writes its item and
// detail rows only.
class RawSaxImport {
 public:
  RawSaxImport(const std::string& target, const std::string& detailTable, int itemClassID)
      : db_(target),
        cls_(std::to_string(itemClassID)),
        byNumber_(db_, ("SELECT FItemID FROM t_Item WHERE FItemClassID=" + cls_ + " AND FNumber=?1").c_str()),
        newItem_(db_, ("INSERT INTO t_Item (FItemClassID,FLevel,FDetail,FParentID,FNumber,FName) VALUES (" + cls_ +
                       ",1,1,0,?1,?2)").c_str()),
        newDetail_(db_, ("INSERT INTO " + detailTable + " (FItemID,FNumber,FName) VALUES (?1,?2,?3)").c_str()),
        updateItem_(db_, ("UPDATE t_Item SET FNumber=?2, FFullNumber=?2, FShortNumber=?2, FName=?3, FLevel=?4, "
                          "FDetail=?5, FSystemType=1, UUID=?6 WHERE FItemClassID=" + cls_ + " AND FItemID=?1").c_str()),
        fullNumbers_(db_, ("UPDATE t_Item SET FFullNumber=FNumber WHERE FNumber LIKE ?1 ESCAPE '\\' AND FItemClassID=" +
                           cls_).c_str()) {}

  void parse(const std::string& path) {
    xmlSAXHandler handler{};
    handler.initialized = XML_SAX2_MAGIC;
    handler.startElementNs = [](void* self, const xmlChar* name, const xmlChar*, const xmlChar*, int, const xmlChar**,
                                int, int, const xmlChar**) { static_cast<RawSaxImport*>(self)->start(name); };
    handler.endElementNs = [](void* self, const xmlChar*, const xmlChar*, const xmlChar*) {
      static_cast<RawSaxImport*>(self)->end();
    };
    handler.characters = [](void* self, const xmlChar* text, int length) {
      static_cast<RawSaxImport*>(self)->text_.append(reinterpret_cast<const char*>(text), static_cast<std::size_t>(length));
    };
    if (xmlSAXUserParseFile(&handler, this, path.c_str()) != 0) throw std::runtime_error("baseline parse failed");
  }
  long records() const { return records_; }

 private:
  void start(const xmlChar* name) {
    if (++depth_ == 3) element_ = reinterpret_cast<const char*>(name);
    text_.clear();
  }
  void end() {
    if (depth_ == 3) fields_[element_] = text_;
    if (depth_ == 2) write();
    --depth_;
  }
  void write() {
    const std::string number = fields_["Number"], name = fields_["Name"];
    db_.exec("BEGIN");
    std::int64_t id = byNumber_.bind(1, number).firstInteger();
    if (id == 0) {
      newItem_.bind(1, number).bind(2, name).run();
      id = sqlite3_last_insert_rowid(db_.handle());
      newDetail_.bind(1, id).bind(2, number).bind(3, name).run();
    }
    updateItem_.bind(1, id).bind(2, number).bind(3, name).bind(4, std::atoi(fields_["Level"].c_str()))
        .bind(5, fields_["IsDetail"] != "0" ? 1 : 0).bind(6, fields_["UUID"]).run();
    fullNumbers_.bind(1, number + ".%").run();
    db_.exec("COMMIT");
    fields_.clear();
    ++records_;
  }

  bench::Db db_;
  std::string cls_;
  bench::Stmt byNumber_, newItem_, newDetail_, updateItem_, fullNumbers_;
  int depth_ = 0;
  std::string element_, text_;
  std::map<std::string, std::string> fields_;
  long records_ = 0;
};

void baseline(const std::string& path, const std::string& target, bool material) {
  auto start = std::chrono::steady_clock::now();
  RawSaxImport raw(target, material ? "t_ICItem" : "t_Department", material ? 4 : 2);
  raw.parse(path);
  const double seconds = secondsSince(start);
  std::printf("libxml2 SAX + raw statements:  %8.1f s, %.0f records/s\n", seconds, raw.records() / seconds);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  const bool splitOnly = !words.empty() && words.back() == "split";
  if (splitOnly) words.pop_back();
  const bool material = !words.empty() && words.front() == "material";
  if (material) words.erase(words.begin());
  const std::uintmax_t size = words.empty() ? (material ? 20000 : 1024) : std::strtoull(words[0].c_str(), nullptr, 10);
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "quillane-sax-bench";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const BenchType type = material ? materials(dir) : departments();
  const std::string file = (dir / "bulk.xml").string(), target = (dir / "target.db").string();
  quillane::accountset::CreateEmpty(target);
  const std::string props = "ConnectString={" + quillane::accountset::ConnectString(target) + "};UserID=16;AcctType=GY";

  const long records = material ? generate(type, file, 0, static_cast<long>(size)) : generate(type, file, size * 1024 * 1024, 0);
  std::printf("file: %ju MiB, %ld records of %s\n", std::filesystem::file_size(file) / (1024 * 1024), records,
              type.recordName);
  const std::string rawTarget = (dir / "raw.db").string();
  quillane::accountset::CreateEmpty(rawTarget);
  baseline(file, rawTarget, material);

  quillane::ObjectRef itemType = quillane::CreateObject(type.progID);
  auto splitter = std::make_shared<quillane::clsSAXParse>();
  long batches = 0;
  splitter->Advise([&](std::string_view event, quillane::DispId, quillane::Arguments args) {
    if (event != "HandleXML") return;
    if (splitOnly) {
      quillane::DOMDocument batch;
      if (!batch.loadXML(CStr(args[0]))) args[1] = Variant(batch.parseError()->reason());
    } else {
      std::vector<Variant> call{props, args[0], "", std::int32_t{1}};
      itemType->Call("Import", call);
      args[1] = call[2];
    }
    if (++batches % 1000 == 0) std::fprintf(stderr, "%ld batches, peak %ld MiB\n", batches, bench::peakMemoryMiB());
  });
  auto start = std::chrono::steady_clock::now();
  quillane::SAXXMLReader reader;
  reader.putContentHandler(splitter);
  reader.putErrorHandler(splitter);
  reader.parseURL(file);
  const double seconds = secondsSince(start);
  std::printf(splitOnly ? "SAX road (split + DOM load):   %8.1f s, %.0f records/s, peak memory %ld MiB\n"
                        : "SAX road (split + import):     %8.1f s, %.0f records/s, peak memory %ld MiB\n",
              seconds,
              records / seconds, bench::peakMemoryMiB());
  if (!splitter->strError.empty()) std::printf("errors:\n%s", splitter->strError.substr(0, 2000).c_str());
  std::filesystem::remove_all(dir);
  return splitter->strError.empty() ? 0 : 1;
}
